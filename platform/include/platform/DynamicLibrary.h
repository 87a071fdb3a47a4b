// A shared library loaded by name at run time: lib<name>.so from the folder
// of the module that asks for it (the library beside the caller), else from
// the system's library search path.
#pragma once

#include <memory>
#include <string>

namespace plat {

class DynamicLibrary {
  public:
    // Opens lib<name>.so, first in the folder of the module containing
    // anchor, then by name through the system's search path; null when
    // neither finds a loadable library. *pError (may be null) gets the
    // loader's text of the last failure.
    static std::unique_ptr<DynamicLibrary> Open(const std::string& name, const void* anchor,
                                                std::string* pError = nullptr);
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    // Unloads the library: no function of it may run any more.
    ~DynamicLibrary();

    // The address of an exported symbol, or null.
    void* Symbol(const char* symbol) const;
    // The file the library was loaded from (as found).
    const std::string& Path() const { return m_path; }

  private:
    DynamicLibrary(void* handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}

    void* m_handle;
    std::string m_path;
};

}  // namespace plat
