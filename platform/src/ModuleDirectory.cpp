#include "platform/ModuleDirectory.h"

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <stdlib.h>
#include <unistd.h>

namespace plat {

namespace {

// Full path of the module whose link map is given: the program itself has an
// empty name in the map, libraries have the name they were loaded by.
std::string ModulePath(const link_map* module) {
    char buffer[PATH_MAX];
    if (module->l_name == nullptr || module->l_name[0] == '\0') {
        const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (length <= 0) {
            return {};
        }
        buffer[length] = '\0';
        return buffer;
    }
    if (realpath(module->l_name, buffer) != nullptr) {
        return buffer;
    }
    return module->l_name;
}

}  // namespace

std::string ModuleDirectoryOf(const void* address) {
    Dl_info info{};
    link_map* module = nullptr;
    if (address == nullptr ||
        dladdr1(address, &info, reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) == 0 ||
        module == nullptr) {
        return {};
    }
    std::string path = ModulePath(module);
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    path.resize(slash + 1);
    return path;
}

}  // namespace plat
