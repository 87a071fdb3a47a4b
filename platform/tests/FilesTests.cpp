// Module directory, recursive folder creation and files written whole.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

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

// ---- Files written whole ------------------------------------------------------

const std::string kOld(3000, 'o');

std::string NewContent() {
    std::string content;
    for (int i = 0; i < 100000; ++i) {
        content += static_cast<char>('a' + i % 26);
    }
    return content;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// Runs the write in a child process under a file-size limit below the new
// content's size. With the limit's signal ignored the write fails (EFBIG);
// with its default the child is killed in the middle of the write, as a
// program that ends while it writes. The write's result, or -1 when killed.
int WriteUnderSizeLimit(const std::string& path, const std::string& content, bool killed) {
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limit);
        signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
        _exit(plat::WriteWholeFile(path, content.data(), content.size()));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Files in `folder` besides `name`.
std::vector<std::string> OthersIn(const std::string& folder, const std::string& name) {
    std::vector<std::string> others;
    for (const std::string& file : testutil::FilesIn(folder)) {
        if (file != name) {
            others.push_back(file);
        }
    }
    return others;
}

// Takes write permission away from `path` (and gives it back), also for
// root, whom permission bits do not bind: then the file or folder is made
// immutable. False when that cannot be done here.
bool Unwritable(const std::string& path, bool on) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    const mode_t keep = S_ISDIR(info.st_mode) ? 0700 : 0640;
    // An immutable file's mode cannot change: the mode before the flag goes
    // on, and after it is off.
    if (on) {
        chmod(path.c_str(), keep & 0555);
    }
    bool done = true;
    if (geteuid() == 0) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) {
            close(fd);
        }
    }
    if (!on) {
        chmod(path.c_str(), keep);
    }
    return done;
}

struct CutWrite {
    const char* label;
    // Makes the fault in `folder` and writes `path`; the result and whether a
    // temporary file may stay behind (a program that ended mid-write).
    std::function<int(const std::string& folder, const std::string& path)> write;
    int expected;  // -1: the writer was killed
    bool leftoverAllowed;
};

TEST(WholeFileTest, AFailedOrCutWriteLeavesTheOldFileByteForByte) {
    const std::string content = NewContent();
    const CutWrite cases[] = {
        {"file-size limit",
         [&](const std::string&, const std::string& path) {
             return WriteUnderSizeLimit(path, content, false);
         },
         EFBIG, false},
        {"killed by the file-size limit mid-write",
         [&](const std::string&, const std::string& path) {
             return WriteUnderSizeLimit(path, content, true);
         },
         -1, true},
        {"folder not writable",
         [&](const std::string& folder, const std::string& path) {
             if (!Unwritable(folder, true)) {
                 ADD_FAILURE() << "the folder could not be made unwritable";
             }
             const int result = plat::WriteWholeFile(path, content.data(), content.size());
             Unwritable(folder, false);
             return result == EACCES || result == EPERM ? EACCES : result;
         },
         EACCES, false},
        {"file not writable",
         [&](const std::string&, const std::string& path) {
             if (!Unwritable(path, true)) {
                 ADD_FAILURE() << "the file could not be made unwritable";
             }
             const int result = plat::WriteWholeFile(path, content.data(), content.size());
             Unwritable(path, false);
             return result == EACCES || result == EPERM ? EACCES : result;
         },
         EACCES, false},
        {"a picture name taken",
         [&](const std::string&, const std::string& path) {
             return plat::WriteWholeFile(path, content.data(), content.size(),
                                         {plat::WholeFileMode::CreateNew});
         },
         EEXIST, false},
    };
    for (const CutWrite& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string folder = testutil::FreshFolder();
        const std::string path = folder + "/picture.tif";
        testutil::WriteFile(path, kOld);
        chmod(path.c_str(), 0640);
        EXPECT_EQ(c.write(folder, path), c.expected);
        EXPECT_EQ(testutil::ReadFile(path), kOld);
        EXPECT_EQ(ModeOf(path), 0640u);
        if (!c.leftoverAllowed) {
            EXPECT_TRUE(OthersIn(folder, "picture.tif").empty());
        }
    }
}

TEST(WholeFileTest, AWholeWriteReplacesOrCreatesWithItsPermissions) {
    const std::string folder = testutil::FreshFolder();
    const std::string content = NewContent();
    const std::string kept = folder + "/kept.ini";
    testutil::WriteFile(kept, kOld);
    chmod(kept.c_str(), 0604);
    ASSERT_EQ(plat::WriteWholeFile(kept, content.data(), content.size()), 0);
    EXPECT_EQ(testutil::ReadFile(kept), content);
    EXPECT_EQ(ModeOf(kept), 0604u);

    const std::string secret = folder + "/secret.ini";
    ASSERT_EQ(plat::WriteWholeFile(secret, "t", 1, {plat::WholeFileMode::Replace, 0600}), 0);
    EXPECT_EQ(ModeOf(secret), 0600u);

    const mode_t mask = umask(022);
    const std::string fresh = folder + "/fresh.tif";
    ASSERT_EQ(plat::WriteWholeFile(fresh, content.data(), content.size(),
                                   {plat::WholeFileMode::CreateNew}),
              0);
    umask(mask);
    EXPECT_EQ(testutil::ReadFile(fresh), content);
    EXPECT_EQ(ModeOf(fresh), 0644u);
    ASSERT_EQ(plat::WriteWholeFile(folder + "/empty", "", 0), 0);
    EXPECT_EQ(testutil::ReadFile(folder + "/empty"), "");
    EXPECT_EQ(OthersIn(folder, "").size(), 4u);
}

// A link to the file stays a link: the file it names gets the content.
TEST(WholeFileTest, ALinkStaysALinkAndItsFileIsReplaced) {
    const std::string folder = testutil::FreshFolder();
    mkdir((folder + "/real").c_str(), 0700);
    const std::string real = folder + "/real/option.ini";
    testutil::WriteFile(real, kOld);
    const std::string link = folder + "/option.ini";
    ASSERT_EQ(symlink("real/option.ini", link.c_str()), 0);
    ASSERT_TRUE(plat::ReplaceFileAtomically(link, "new"));
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(testutil::ReadFile(real), "new");
    EXPECT_EQ(testutil::FilesIn(folder + "/real"), std::vector<std::string>{"option.ini"});
}

TEST(WholeFileTest, AFolderOrSpecialFileIsNotWrittenOver) {
    const std::string folder = testutil::FreshFolder();
    const std::string directory = folder + "/store.ini";
    mkdir(directory.c_str(), 0700);
    EXPECT_EQ(plat::WriteWholeFile(directory, "x", 1), EISDIR);
    const std::string fifo = folder + "/fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(plat::WriteWholeFile(fifo, "x", 1), EINVAL);
    struct stat info {};
    ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(OthersIn(folder, "").size(), 2u);
}

}  // namespace
