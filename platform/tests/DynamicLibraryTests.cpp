// Loading a library by name from beside the calling module; symbols and
// failures.
#include <gtest/gtest.h>

#include <string>

#include "platform/DynamicLibrary.h"
#include "platform/ModuleDirectory.h"

namespace {

int AnchorInThisProgram() {
    return 0;
}

TEST(DynamicLibraryTest, FindsTheLibraryBesideTheCaller) {
    const void* anchor = reinterpret_cast<const void*>(&AnchorInThisProgram);
    std::unique_ptr<plat::DynamicLibrary> library =
        plat::DynamicLibrary::Open("platform_probe", anchor);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->Path(), plat::ModuleDirectoryOf(anchor) + "libplatform_probe.so");
    using Answer = int (*)();
    auto answer = reinterpret_cast<Answer>(library->Symbol("platform_probe_answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(library->Symbol("platform_probe_missing"), nullptr);
    EXPECT_EQ(library->Symbol(nullptr), nullptr);
}

TEST(DynamicLibraryTest, MissingLibraryGivesNullAndTheLoadersText) {
    std::string error;
    EXPECT_EQ(
        plat::DynamicLibrary::Open("varnu_no_such_library",
                                   reinterpret_cast<const void*>(&AnchorInThisProgram), &error),
        nullptr);
    EXPECT_NE(error.find("libvarnu_no_such_library.so"), std::string::npos) << error;
}

}  // namespace
