#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

#include "platform/ModuleDirectory.h"

namespace plat {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& name, const void* anchor,
                                                     std::string* pError) {
    const std::string file = "lib" + name + ".so";
    const std::string beside = ModuleDirectoryOf(anchor);
    for (const std::string& path : {beside.empty() ? std::string() : beside + file, file}) {
        if (path.empty()) {
            continue;
        }
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) {
            return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle, path));
        }
        if (pError != nullptr) {
            const char* text = dlerror();
            *pError = text != nullptr ? text : "";
        }
    }
    return nullptr;
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(m_handle);
}

void* DynamicLibrary::Symbol(const char* symbol) const {
    return symbol != nullptr ? dlsym(m_handle, symbol) : nullptr;
}

}  // namespace plat
