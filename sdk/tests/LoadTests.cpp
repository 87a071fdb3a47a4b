// Loading the SDK: ZDQApi.ini beside the library switches the user-call log.
// Each case copies the library and the driver library into a folder of its
// own and loads them there in a child process, as a host program would.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "TestScratch.h"

namespace {

void CopyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
    ASSERT_TRUE(in.good() && out.good()) << from << " -> " << to;
}

// What the child reports through its exit status.
enum ChildResult { kChildOk = 0, kLoadFailed = 10, kSymbolMissing, kUnexpectedResult };

// In the child: load the library from folder, make the calls whose log lines
// the test expects, read the log switch and folder, unload.
int LoadAndCall(const std::string& folder, const std::string& expectedLogFolder) {
    void* library = dlopen((folder + "/libZDQApi64u.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        return kLoadFailed;
    }
    using NoArgs = int (*)();
    using IntArg = int (*)(int);
    using LogGet = int (*)(unsigned char*, wchar_t*);
    const auto init = reinterpret_cast<NoArgs>(dlsym(library, "ZDQ_Init"));
    const auto uninit = reinterpret_cast<NoArgs>(dlsym(library, "ZDQ_UnInit"));
    const auto count = reinterpret_cast<NoArgs>(dlsym(library, "ZDQ_DeviceGetCount"));
    const auto close = reinterpret_cast<IntArg>(dlsym(library, "ZDQ_DeviceClose"));
    const auto logGet = reinterpret_cast<LogGet>(dlsym(library, "ZDQ_LogGet"));
    if (!init || !uninit || !count || !close || !logGet) {
        return kSymbolMissing;
    }
    unsigned char enable = 9;
    wchar_t logFolder[260] = L"?";
    const bool ok = init() == 1 && init() == 1 && count() == 0 && close(0) == -5 && uninit() == 1 &&
                    logGet(&enable, logFolder) == 1 &&
                    enable == (expectedLogFolder.empty() ? 0 : 1);
    char narrow[1024];
    std::wcstombs(narrow, logFolder, sizeof narrow);
    const bool folderOk = std::string(narrow) == expectedLogFolder;
    if (!folderOk) {
        std::fprintf(stderr, "log folder %s, expected %s\n", narrow, expectedLogFolder.c_str());
    }
    dlclose(library);
    return ok && folderOk ? kChildOk : kUnexpectedResult;
}

struct LoadCase {
    const char* name;
    const char* ini;  // null: no ZDQApi.ini
    bool logs;
};

class LoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadTest, IniBesideTheLibrarySwitchesTheUserCallLog) {
    const LoadCase& c = GetParam();
    const char* root = std::getenv("VARNU_TEST_SCRATCH");
    const std::string folder = std::string(root != nullptr ? root : "/tmp") + "/" + c.name;
    ASSERT_EQ(std::system(("rm -rf '" + folder + "'").c_str()), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    CopyFile(ZDQ_SDK_LIBRARY, folder + "/libZDQApi64u.so");
    CopyFile(ZDQ_DRIVER_LIBRARY, folder + "/libmlusbimager.so");
    if (c.ini != nullptr) {
        std::ofstream(folder + "/ZDQApi.ini", std::ios::binary) << c.ini;
    }
    const std::string logFolder = folder + "/ZDQApiLog";

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(LoadAndCall(folder, c.logs ? logFolder : ""));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), kChildOk);

    const std::vector<std::string> logs = testutil::FilesIn(logFolder);
    if (!c.logs) {
        EXPECT_TRUE(logs.empty());
        EXPECT_NE(access(logFolder.c_str(), F_OK), 0) << "no log folder either";
        return;
    }
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_TRUE(std::regex_match(logs[0], std::regex(R"(ZDQLOG_USERCALL_\d{14}\.log)"))) << logs[0];
    const std::string content = testutil::ReadFile(logFolder + "/" + logs[0]);
    const char* const expected[] = {
        "ZDQAPI::++ZDQ_Init.",           "ZDQAPI::--ZDQ_Init. Ret(1)",
        "ZDQAPI::++ZDQ_Init.",  // a second ZDQ_Init logs no leave line
        "ZDQAPI::++ZDQ_DeviceGetCount.", "ZDQAPI::--ZDQ_DeviceGetCount.Ret(0)",
        "ZDQAPI::++ZDQ_DeviceClose(0).", "ZDQAPI::--ZDQ_DeviceClose.Ret(-5)",
        "ZDQAPI::++ZDQ_UnInit.",         "ZDQAPI::--ZDQ_UnInit. Ret(1)",
    };
    std::string pattern;
    for (const char* text : expected) {
        pattern += R"(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2}-\d{4}: )";
        pattern += std::regex_replace(std::string(text), std::regex(R"([.+()\\])"), R"(\$&)");
        pattern += "\n\r\n";
    }
    EXPECT_TRUE(std::regex_match(content, std::regex(pattern))) << content;
}

INSTANTIATE_TEST_SUITE_P(
    Inis, LoadTest,
    ::testing::Values(LoadCase{"NoIni", nullptr, false},
                      LoadCase{"LogEnable1", "[Manage]\r\nLogEnable=1\r\n", true},
                      LoadCase{"AnyCase", "[manage]\nlogenable = 2\nIniOutput=1\n", true},
                      LoadCase{"LogEnable0", "[Manage]\r\nLogEnable=0\r\n", false},
                      LoadCase{"OtherSection", "[Other]\r\nLogEnable=1\r\n", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
