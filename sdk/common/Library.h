// Process-wide state of the library itself: where it lies, its ini file and
// its version. The load and unload hooks (LibraryEntry.cpp) set it up and
// tear it down.
#pragma once

#include <string>

#include "common/Ini.h"

// The SDK version reported by ZDQ_GetVersion and in every device log.
constexpr int kApiVersionMajor = 6;
constexpr int kApiVersionMinor = 0;
constexpr int kApiVersionRevision = 122;
constexpr int kApiVersionBuild = 55;

// Folder of the module holding the SDK, ending in '/'.
std::wstring GetModuleDirectory();

// ZDQApi.ini beside the library; null before load and after unload.
extern CIni* g_pIni;

// [Manage] IniOutput at load: the capability ini is written when a camera
// closes.
extern unsigned char g_bIniOutput;
