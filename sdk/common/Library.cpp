#include "common/Library.h"

#include "platform/ModuleDirectory.h"
#include "platform/WideText.h"

CIni* g_pIni = nullptr;
unsigned char g_bIniOutput = 0;

std::wstring GetModuleDirectory() {
    return plat::WideFromUtf8(
        plat::ModuleDirectoryOf(reinterpret_cast<const void*>(&GetModuleDirectory)));
}
