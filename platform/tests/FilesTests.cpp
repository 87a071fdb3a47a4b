// Module directory and recursive folder creation.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "TestScratch.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/ModuleDirectory.h"

namespace {

std::string ProgramDirectory() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    path[n > 0 ? n : 0] = '\0';
    std::string dir = path;
    return dir.substr(0, dir.rfind('/') + 1);
}

TEST(ModuleDirectoryTest, FolderOfTheModuleHoldingTheAddressEndsInSlash) {
    static int inThisProgram = 0;
    EXPECT_EQ(plat::ModuleDirectoryOf(&inThisProgram), ProgramDirectory());
    EXPECT_EQ(plat::ModuleDirectoryOf(reinterpret_cast<const void*>(&ProgramDirectory)),
              ProgramDirectory());
    // A function of the C library lies in the C library's folder.
    const void* libcFunction = dlsym(RTLD_DEFAULT, "fopen");
    ASSERT_NE(libcFunction, nullptr);
    Dl_info info{};
    ASSERT_NE(dladdr(libcFunction, &info), 0);
    char real[PATH_MAX];
    ASSERT_NE(realpath(info.dli_fname, real), nullptr);
    std::string libcDir = real;
    EXPECT_EQ(plat::ModuleDirectoryOf(libcFunction), libcDir.substr(0, libcDir.rfind('/') + 1));
}

TEST(ModuleDirectoryTest, NoModuleGivesEmpty) {
    EXPECT_EQ(plat::ModuleDirectoryOf(nullptr), "");
    EXPECT_EQ(plat::ModuleDirectoryOf(reinterpret_cast<const void*>(16)), "");
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(CreateDirectoryTest, ResultCodesOfCreateExistAndFail) {
    const std::string root = testutil::FreshFolder();
    EXPECT_EQ(plat::CreateDirectoryRecursive(root + "/a/b/c"), plat::kErrorSuccess);
    EXPECT_TRUE(IsDirectory(root + "/a/b/c"));
    EXPECT_EQ(plat::CreateDirectoryRecursive(root + "/a/b/c"), plat::kErrorAlreadyExists);
    EXPECT_EQ(plat::CreateDirectoryRecursive(root + "/a/b/c/"), plat::kErrorAlreadyExists);
    EXPECT_EQ(plat::CreateDirectoryRecursive(root + "/a/b/d/"), plat::kErrorSuccess);
    EXPECT_EQ(plat::CreateDirectoryRecursive(root), plat::kErrorAlreadyExists);

    testutil::WriteFile(root + "/file", "x");
    EXPECT_EQ(plat::CreateDirectoryRecursive(root + "/file"), plat::kErrorDirectory);
    EXPECT_EQ(plat::CreateDirectoryRecursive(root + "/file/sub"), plat::kErrorDirectory);
    EXPECT_EQ(plat::CreateDirectoryRecursive(""), plat::kErrorInvalidParameter);
    EXPECT_EQ(plat::CreateDirectoryRecursive("/proc/varnu-no-such/x"), plat::kErrorPathNotFound);
}

}  // namespace
