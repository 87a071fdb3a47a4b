// Error texts, last error, debug channel, message boxes and wide text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "TestScratch.h"
#include "platform/DebugOutput.h"
#include "platform/ErrorText.h"
#include "platform/WideText.h"

namespace {

struct ErrorCase {
    uint32_t code;
    const wchar_t* text;
};

TEST(ErrorTextTest, KnownCodesHaveTheirSystemTextsEndingInCrLf) {
    const ErrorCase cases[] = {
        {0, L"The operation completed successfully.\r\n"},
        {2, L"The system cannot find the file specified.\r\n"},
        {6, L"The handle is invalid.\r\n"},
        {31, L"A device attached to the system is not functioning.\r\n"},
        {87, L"The parameter is incorrect.\r\n"},
        {183, L"Cannot create a file when that file already exists.\r\n"},
        {995,
         L"The I/O operation has been aborted because of either a thread exit or an "
         L"application request.\r\n"},
        {996, L"Overlapped I/O event is not in a signaled state.\r\n"},
        {997, L"Overlapped I/O operation is in progress.\r\n"},
        {1167, L"The device is not connected.\r\n"},
        {4242, L"Unknown error 4242.\r\n"},
    };
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(plat::SystemErrorText(c.code), c.text) << c.code;
    }
}

TEST(ErrorTextTest, LastErrorBelongsToTheCallingThread) {
    plat::SetLastError(997);
    uint32_t seenByOther = 1;
    std::thread other([&] {
        seenByOther = plat::GetLastError();
        plat::SetLastError(31);
    });
    other.join();
    EXPECT_EQ(seenByOther, 0u);
    EXPECT_EQ(plat::GetLastError(), 997u);
}

// Collects what reaches the debug channel while it lives.
class DebugCapture {
  public:
    DebugCapture() {
        m_previous =
            plat::SetDebugHook([this](const std::wstring& text) { m_texts.push_back(text); });
    }
    ~DebugCapture() { plat::SetDebugHook(m_previous); }
    const std::vector<std::wstring>& Texts() const { return m_texts; }

  private:
    plat::DebugHook m_previous;
    std::vector<std::wstring> m_texts;
};

TEST(DebugOutputTest, HookReceivesTextsAndRemovingItRestoresThePrevious) {
    std::vector<std::wstring> outer;
    plat::SetDebugHook([&](const std::wstring& text) { outer.push_back(text); });
    {
        DebugCapture capture;
        plat::DebugOutput(L"inner");
        EXPECT_EQ(capture.Texts(), std::vector<std::wstring>{L"inner"});
    }
    plat::DebugOutput(L"outer");
    plat::SetDebugHook({});
    EXPECT_EQ(outer, std::vector<std::wstring>{L"outer"});
}

// Runs fn with stderr sent into a file and returns what it wrote there.
template <typename Fn>
std::string CaptureStderr(Fn fn) {
    const std::string path = testutil::FreshFolder() + "/stderr.txt";
    std::fflush(stderr);
    const int saved = dup(2);
    FILE* file = std::fopen(path.c_str(), "w");
    dup2(fileno(file), 2);
    fn();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::fclose(file);
    return testutil::ReadFile(path);
}

TEST(DebugOutputTest, StderrOnlyWhenEnabledByTheEnvironment) {
    unsetenv("VARNU_DEBUG_OUTPUT");
    EXPECT_EQ(CaptureStderr([] { plat::DebugOutput(L"quiet"); }), "");
    setenv("VARNU_DEBUG_OUTPUT", "0", 1);
    EXPECT_EQ(CaptureStderr([] { plat::DebugOutput(L"quiet"); }), "");
    setenv("VARNU_DEBUG_OUTPUT", "1", 1);
    EXPECT_EQ(CaptureStderr([] { plat::DebugOutput(L"gr\u00fcn"); }), "gr\xc3\xbcn\n");
    EXPECT_EQ(CaptureStderr([] { plat::DebugOutput(L"line\n"); }), "line\n");
    unsetenv("VARNU_DEBUG_OUTPUT");
}

TEST(MessageBoxTest, DefaultGoesToTheDebugChannelAndAHookReplacesIt) {
    DebugCapture capture;
    plat::ShowMessageBox(L"Camera lost", L"Error");
    EXPECT_EQ(capture.Texts(), std::vector<std::wstring>{L"Error: Camera lost"});

    std::wstring seenText, seenCaption;
    plat::SetMessageBoxHook([&](const std::wstring& text, const std::wstring& caption) {
        seenText = text;
        seenCaption = caption;
    });
    plat::ShowMessageBox(L"hello", L"ZDQDBG OUTPUT");
    plat::SetMessageBoxHook({});
    EXPECT_EQ(seenText, L"hello");
    EXPECT_EQ(seenCaption, L"ZDQDBG OUTPUT");
    EXPECT_EQ(capture.Texts().size(), 1u) << "the hook took the second message";
}

TEST(WideTextTest, Utf8RoundTripOfEveryLength) {
    const std::wstring text = L"a\u00e9\u6f22\U0001F600z";
    const std::string utf8 = plat::Utf8FromWide(text);
    EXPECT_EQ(utf8, "a\xc3\xa9\xe6\xbc\xa2\xf0\x9f\x98\x80z");
    EXPECT_EQ(plat::WideFromUtf8(utf8), text);
}

TEST(WideTextTest, InvalidInputBecomesReplacementCharacters) {
    const std::wstring bad{static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0x110000), L'x'};
    EXPECT_EQ(plat::Utf8FromWide(bad), "\xef\xbf\xbd\xef\xbf\xbdx");
    // Lone continuation, overlong '/', truncated sequence at the end.
    EXPECT_EQ(plat::WideFromUtf8("\x80"
                                 "a\xc0\xaf"
                                 "b\xe6\xbc"),
              L"\ufffda\ufffdb\ufffd");
}

TEST(WideTextTest, FormatTakesWideStringsWithLsAndCutsToTheCapacity) {
    EXPECT_EQ(plat::FormatWide(64, L"%ls = %d (0x%04x)", L"Type", 33, 0x1234),
              L"Type = 33 (0x1234)");
    EXPECT_EQ(plat::FormatWide(6, L"%ls", L"abcdefgh"), L"abcde");
    EXPECT_EQ(plat::FormatWide(1, L"%d", 5), L"");
    EXPECT_EQ(plat::FormatWide(0, L"%d", 5), L"");
    const std::wstring longText(2000, L'x');
    EXPECT_EQ(plat::FormatWide(1024, L"%ls", longText.c_str()), longText.substr(0, 1023));
    EXPECT_EQ(plat::FormatWide(4096, L"%ls", longText.c_str()), longText);
}

}  // namespace
