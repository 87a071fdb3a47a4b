// SDK logging: line format, levels, cutting, system error texts, the debug
// channel, concurrent writers, log file names, device logs and the log
// exports.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TestScratch.h"
#include "ZDQApi.h"
#include "common/Log.h"
#include "device/Device.h"
#include "platform/DebugOutput.h"
#include "platform/ErrorText.h"
#include "platform/WideText.h"

namespace {

// Texts of the log lines: every line is "<stamp>: <text>\r\n" and the texts
// LogPrint writes end in "\n".
std::vector<std::string> LineTexts(const std::string& content) {
    static const std::regex line(R"((\d{4})-(\d{2})-(\d{2}) (\d{2})-(\d{2})-(\d{2})-(\d{4}): )");
    std::vector<std::string> texts;
    size_t start = 0;
    while (start < content.size()) {
        const size_t end = content.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "line without CR LF: " << content.substr(start);
            break;
        }
        const std::string whole = content.substr(start, end - start);
        std::smatch m;
        if (!std::regex_search(whole, m, line, std::regex_constants::match_continuous)) {
            ADD_FAILURE() << "line without time stamp: " << whole;
        } else {
            texts.push_back(whole.substr(m.length(0)));
        }
        start = end + 2;
    }
    return texts;
}

// A fresh scratch folder per test, and the debug channel and message boxes
// captured.
class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const char* root = std::getenv("VARNU_TEST_SCRATCH");
        m_folder = std::string(root != nullptr ? root : "/tmp") + "/" + info->name();
        ASSERT_EQ(std::system(("rm -rf '" + m_folder + "'").c_str()), 0);
        ASSERT_EQ(mkdir(m_folder.c_str(), 0755), 0);
        plat::SetDebugHook([this](const std::wstring& text) { m_debug.push_back(text); });
        plat::SetMessageBoxHook([this](const std::wstring& text, const std::wstring& caption) {
            m_boxes.emplace_back(caption, text);
        });
    }
    void TearDown() override {
        plat::SetDebugHook({});
        plat::SetMessageBoxHook({});
    }
    std::wstring Wide(const std::string& path) const { return plat::WideFromUtf8(path); }

    std::string m_folder;
    std::vector<std::wstring> m_debug;
    std::vector<std::pair<std::wstring, std::wstring>> m_boxes;
};

TEST_F(LogTest, LinesCarryTheLocalTimeAndEndInLfCrLfAsUtf8) {
    const std::string path = m_folder + "/a.log";
    {
        CLog log(Wide(path));
        ASSERT_TRUE(log.IsOpen());
        EXPECT_EQ(LogPrint(&log, LOGLEVEL_NORMAL, L"ZDQAPI::++ZDQ_DeviceClose(%d).", 3), 0);
        EXPECT_EQ(LogPrint(&log, LOGLEVEL_NORMAL, L"Folder = %ls", L"gr\u00fcn"), 0);
    }
    const std::string content = testutil::ReadFile(path);
    const std::regex format(
        R"(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2}-\d{4}: ZDQAPI::\+\+ZDQ_DeviceClose\(3\)\.\n\r\n)"
        R"(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2}-\d{4}: Folder = gr\xc3\xbcn\n\r\n)");
    EXPECT_TRUE(std::regex_match(content, format)) << content;
    const plat::LocalTime now = plat::GetLocalTime();
    EXPECT_EQ(content.substr(0, 4), std::to_string(now.year));
}

TEST_F(LogTest, AppendsToAnExistingFile) {
    const std::string path = m_folder + "/a.log";
    { std::ofstream(path, std::ios::binary) << "kept\r\n"; }
    {
        CLog log(Wide(path));
        LogPrint(&log, LOGLEVEL_NORMAL, L"new");
    }
    const std::string content = testutil::ReadFile(path);
    EXPECT_EQ(content.substr(0, 6), "kept\r\n");
    EXPECT_EQ(LineTexts(content.substr(6)), std::vector<std::string>{"new\n"});
}

TEST_F(LogTest, NegativeLevelsAreDroppedAndLevelZeroIsWritten) {
    const std::string path = m_folder + "/a.log";
    struct Case {
        int level;
        int result;
        bool written;
    };
    const Case cases[] = {{-1, 1, false},
                          {-5, 1, false},
                          {0, 0, true},
                          {LOGLEVEL_NORMAL, 0, true},
                          {LOGLEVEL_ERROR, 0, true}};
    CLog log(Wide(path));
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        EXPECT_EQ(LogPrint(&log, c.level, L"level %d", c.level), c.result) << c.level;
        if (c.written) {
            expected.push_back("level " + std::to_string(c.level) + "\n");
        }
    }
    EXPECT_EQ(LineTexts(testutil::ReadFile(path)), expected);
}

TEST_F(LogTest, LongTextsAreCutToFitWithTheirLineFeedAndTerminator) {
    const std::string path = m_folder + "/a.log";
    CLog log(Wide(path));
    for (const size_t length : {2000u, 1023u, 1022u, 10u}) {
        const std::wstring text(length, L'x');
        LogPrint(&log, LOGLEVEL_NORMAL, L"%ls", text.c_str());
    }
    const std::vector<std::string> texts = LineTexts(testutil::ReadFile(path));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], std::string(1022, 'x') + "\n") << "1022 + line feed + terminator = 1024";
    EXPECT_EQ(texts[1], std::string(1022, 'x') + "\n");
    EXPECT_EQ(texts[2], std::string(1022, 'x') + "\n");
    EXPECT_EQ(texts[3], std::string(10, 'x') + "\n");
}

TEST_F(LogTest, NullLogAndUnopenedFileWriteNothing) {
    EXPECT_EQ(LogPrint(nullptr, LOGLEVEL_NORMAL, L"x"), 1);
    EXPECT_EQ(LogLastError(nullptr, LOGLEVEL_ERROR), 1);
    const std::string path = m_folder + "/missing/a.log";
    CLog log(Wide(path));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(LogPrint(&log, LOGLEVEL_NORMAL, L"x"), 1);
    EXPECT_EQ(log.WriteSystemError(2, LOGLEVEL_ERROR), 1);
    EXPECT_FALSE(testutil::FileExists(path));
    EXPECT_TRUE(m_debug.empty());
}

TEST_F(LogTest, LastErrorIsWrittenWithTheSystemTextEndingItsOwnLine) {
    const std::string path = m_folder + "/a.log";
    CLog log(Wide(path));
    plat::SetLastError(plat::kErrorOperationAborted);
    EXPECT_EQ(LogLastError(&log, LOGLEVEL_ERROR), 0);
    plat::SetLastError(plat::kErrorGenFailure);
    EXPECT_EQ(LogLastError(&log, LOGLEVEL_FRAME), 1);
    EXPECT_EQ(LogLastError(&log, LOGLEVEL_ERROR), 0);
    EXPECT_EQ(LineTexts(testutil::ReadFile(path)),
              (std::vector<std::string>{
                  "The I/O operation has been aborted because of either a thread exit or an "
                  "application request.",
                  "A device attached to the system is not functioning."}));
}

TEST_F(LogTest, LogsWithoutFileGoToMessageBoxesOrTheDebugChannel) {
    CLog boxes(L"", false, true);
    CLog debug(L"", false, false);
    EXPECT_EQ(boxes.Write(L"shown", LOGLEVEL_ERROR), 0);
    EXPECT_EQ(debug.Write(L"sent", LOGLEVEL_NORMAL), 0);
    EXPECT_EQ(debug.Write(L"dropped", LOGLEVEL_FRAME), 1);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].first, L"Error");
    EXPECT_EQ(m_boxes[0].second, L"shown");
    EXPECT_EQ(m_debug, std::vector<std::wstring>{L"sent"});
}

TEST_F(LogTest, DebugPrintDropsLowLevelsCutsLongTextsAndShowsBoxes) {
    DebugPrint(false, 9, L"dropped");
    DebugPrint(false, LOGLEVEL_NORMAL, L"value %d", 5);
    const std::wstring longText(300, L'y');
    DebugPrint(false, LOGLEVEL_ERROR, L"%ls", longText.c_str());
    DebugPrint(true, LOGLEVEL_ERROR, L"boxed %ls", L"text");
    EXPECT_EQ(m_debug, (std::vector<std::wstring>{L"value 5", std::wstring(255, L'y')}));
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].first, L"ZDQDBG OUTPUT");
    EXPECT_EQ(m_boxes[0].second, L"boxed text");
}

TEST_F(LogTest, ConcurrentWritersNeverInterleaveLines) {
    const std::string path = m_folder + "/a.log";
    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    {
        CLog log(Wide(path));
        std::vector<std::thread> writers;
        for (int t = 0; t < kThreads; ++t) {
            writers.emplace_back([&log, t] {
                for (int i = 0; i < kLines; ++i) {
                    LogPrint(&log, LOGLEVEL_NORMAL, L"writer %d line %04d %ls", t, i,
                             L"with some text to make lines long enough to overlap");
                }
            });
        }
        for (auto& writer : writers) {
            writer.join();
        }
    }
    const std::regex text(
        R"(writer (\d) line (\d{4}) with some text to make lines long enough to overlap\n)");
    std::set<std::pair<int, int>> seen;
    for (const std::string& line : LineTexts(testutil::ReadFile(path))) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, text)) << line;
        seen.emplace(std::stoi(m[1]), std::stoi(m[2]));
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}

TEST(LogNameTest, FileNamesCarryIdentityAndCreationTime) {
    const plat::LocalTime t{2026, 3, 0, 7, 8, 9, 5, 42};
    EXPECT_EQ(UserCallLogName(t), L"ZDQLOG_USERCALL_03070809050042.log");
    EXPECT_EQ(DeviceLogName(33, 7, 0x0102, t), L"ZDQLOG_33_7_0x0102_03070809050042.log");
    EXPECT_EQ(DeviceLogName(85, 0, 0, t), L"ZDQLOG_85_0_0x0000_03070809050042.log");
}

class DeviceLogTest : public LogTest {
  protected:
    DeviceLogTest() : m_device(0, m_opened) {}
    bool m_opened = true;
    CDevice m_device;
};

TEST_F(DeviceLogTest, LogSetCreatesTheFolderAndALogNamedAfterTheDevice) {
    EXPECT_FALSE(m_opened) << "no camera opens yet";
    const std::string folder = m_folder + "/logs/a";
    EXPECT_EQ(m_device.LogSet(true, Wide(folder).c_str()), RET_SUCCESS);
    ASSERT_NE(m_device.Log(), nullptr);
    const std::vector<std::string> files = testutil::FilesIn(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0], std::regex(R"(ZDQLOG_0_0_0x0000_\d{14}\.log)")))
        << files[0];
    EXPECT_EQ(plat::Utf8FromWide(m_device.Log()->Path()), folder + "/" + files[0]);
    EXPECT_EQ(plat::Utf8FromWide(g_szLogFolder), folder);
    EXPECT_EQ(m_debug, (std::vector<std::wstring>{
                           L"ZDQAPI::Create Log Folder = " + Wide(folder) + L" Success",
                           L"ZDQAPI::ZDQLOG_Init = " + m_device.Log()->Path() + L" Success"}));
}

TEST_F(DeviceLogTest, AnOpenLogIsNeverMovedButStopAndStartMovesIt) {
    const std::string first = m_folder + "/first";
    const std::string second = m_folder + "/second/deeper";
    ASSERT_EQ(m_device.LogSet(true, Wide(first).c_str()), RET_SUCCESS);
    CLog* const log = m_device.Log();
    EXPECT_EQ(m_device.LogSet(true, Wide(second).c_str()), RET_SUCCESS);
    EXPECT_EQ(m_device.Log(), log);
    EXPECT_FALSE(testutil::FileExists(second)) << "the folder of a log already open is ignored";

    EXPECT_EQ(m_device.LogSet(false, nullptr), RET_SUCCESS);
    EXPECT_EQ(m_device.Log(), nullptr);
    EXPECT_EQ(m_device.LogSet(true, Wide(second).c_str()), RET_SUCCESS);
    ASSERT_NE(m_device.Log(), nullptr);
    EXPECT_EQ(testutil::FilesIn(second).size(), 1u);
    EXPECT_EQ(testutil::FilesIn(first).size(), 1u) << "the old file stays";
}

TEST_F(DeviceLogTest, FolderThatCannotBeCreatedGivesFailAndNoLog) {
    { std::ofstream(m_folder + "/file") << "x"; }
    const std::string folder = m_folder + "/file/logs";
    EXPECT_EQ(m_device.LogSet(true, Wide(folder).c_str()), RET_FAIL);
    EXPECT_EQ(m_device.Log(), nullptr);
    EXPECT_EQ(m_debug, std::vector<std::wstring>{L"ZDQAPI::Create Log Folder = " + Wide(folder) +
                                                 L" Fail!"});
}

TEST_F(LogTest, DestroyedDeviceClosesItsLogWithTheUnInitLines) {
    const std::string folder = m_folder + "/logs";
    {
        bool opened = true;
        CDevice device(0, opened);
        ASSERT_EQ(device.LogSet(true, Wide(folder).c_str()), RET_SUCCESS);
    }
    const std::vector<std::string> files = testutil::FilesIn(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(
        LineTexts(testutil::ReadFile(folder + "/" + files[0])),
        (std::vector<std::string>{"ZDQAPI::++Device UnInit.\n", "ZDQAPI::--Device UnInit.\n"}));
}

TEST(LogExportsTest, LogSetAndLogGetWorkWithoutInitAndKeepTheLowByte) {
    unsigned char enable = 7;
    wchar_t folder[ZDQ_LOGFOLDER_LENGTH];
    EXPECT_EQ(ZDQ_LogSet(1, L"/var/log/zdq"), RET_SUCCESS);
    EXPECT_EQ(ZDQ_LogGet(&enable, folder), RET_SUCCESS);
    EXPECT_EQ(enable, 1);
    EXPECT_STREQ(folder, L"/var/log/zdq");
    EXPECT_FALSE(std::ifstream("/var/log/zdq").good()) << "LogSet creates folders only for logs";

    EXPECT_EQ(ZDQ_LogSet(0x100, nullptr), RET_SUCCESS);
    EXPECT_EQ(ZDQ_LogGet(&enable, folder), RET_SUCCESS);
    EXPECT_EQ(enable, 0);
    EXPECT_STREQ(folder, L"/var/log/zdq") << "a null folder keeps the folder";

    const std::wstring longFolder(400, L'f');
    EXPECT_EQ(ZDQ_LogSet(2, longFolder.c_str()), RET_SUCCESS);
    EXPECT_EQ(ZDQ_LogGet(nullptr, folder), RET_SUCCESS);
    EXPECT_EQ(std::wstring(folder), longFolder.substr(0, ZDQ_LOGFOLDER_LENGTH - 1));
    EXPECT_EQ(g_pLog, nullptr) << "the user-call log is not started by LogSet";
    EXPECT_EQ(ZDQ_LogSet(0, nullptr), RET_SUCCESS);
}

}  // namespace
