// Load and unload hooks of libZDQApi64u: the library reads its ini file
// beside itself and starts the user-call log when [Manage] LogEnable is on.
// The device manager is left alone at unload: ZDQ_UnInit owns it.
#include <new>

#include "common/Library.h"
#include "common/Log.h"

namespace {

__attribute__((constructor)) void ZDQApiAttach() {
    // Loading succeeds whatever happens here: without its ini the library
    // works with the defaults, without its log it works unlogged.
    try {
        g_pIni = new CIni(GetModuleDirectory() + L"ZDQApi.ini");
        g_bLogEnable = g_pIni->GetInt(L"Manage", L"LogEnable", 0) != 0 ? 1 : 0;
        g_bIniOutput = g_pIni->GetInt(L"Manage", L"IniOutput", 0) != 0 ? 1 : 0;
        ZDQLOG_Init(g_bLogEnable != 0);
    } catch (const std::bad_alloc&) {
    }
}

__attribute__((destructor)) void ZDQApiDetach() {
    delete g_pLog;
    g_pLog = nullptr;
    delete g_pIni;
    g_pIni = nullptr;
}

}  // namespace
