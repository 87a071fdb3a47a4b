// Every export resolves by name in the installed library, with the argument
// list its header declares; the decorated export carries the colour argument
// list in its symbol.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "test_catalogue.h"

namespace bayer_test {
namespace {

struct Library {
    void* handle = dlopen("libMT_ZDQBayerFilter_x64.so", RTLD_NOW | RTLD_LOCAL);
    ~Library() {
        if (handle != nullptr) {
            dlclose(handle);
        }
    }
};

TEST(ExportTable, EveryNameResolvesToTheLinkedFunction) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    for (const auto& e : colour_exports()) {
        const std::string symbol =
            e.family == Family::kLaplacian2 ? "_Z22ZDQCFA_Laplacian2_RGGBPhiiS_t" : e.name;
        void* address = dlsym(lib.handle, symbol.c_str());
        EXPECT_NE(address, nullptr) << symbol;
        EXPECT_EQ(address, reinterpret_cast<void*>(e.fn)) << symbol;
    }
    for (const auto& e : grey_exports()) {
        void* address = dlsym(lib.handle, e.name);
        EXPECT_NE(address, nullptr) << e.name;
        EXPECT_EQ(address, reinterpret_cast<void*>(e.fn)) << e.name;
    }
    EXPECT_EQ(colour_exports().size() + grey_exports().size(), 99u);
}

TEST(ExportTable, DecoratedNameIsNotAlsoExportedPlain) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    EXPECT_EQ(dlsym(lib.handle, "ZDQCFA_Laplacian2_RGGB"), nullptr);
}

}  // namespace
}  // namespace bayer_test
