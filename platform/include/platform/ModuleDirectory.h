// Folder of the loaded module (shared library or program) that contains an
// address, so a library finds the files installed beside itself.
#pragma once

#include <string>

namespace plat {

// The folder ending in '/', or an empty string when no loaded module
// contains the address.
std::string ModuleDirectoryOf(const void* address);

}  // namespace plat
