// AVI recording on an opened simulated camera: preview recordings read back
// by the RIFF rules and compared with the frames the preview callback saw,
// the compressor options in the registry, explicit recordings, and the ways a
// recording ends.
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "OpenedCamera.h"
#include "RiffReader.h"
#include "TestScratch.h"
#include "acquisition/recording/AviFrameQueue.h"
#include "acquisition/recording/AviMappedFrames.h"
#include "acquisition/recording/AviRecording.h"
#include "acquisition/recording/ZDQReg.h"
#include "platform/AviWriter.h"
#include "platform/Registry.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr size_t kFrameBytes = static_cast<size_t>(kWidth) * kHeight;

uint64_t Hash(const void* pData, size_t nBytes) {
    uint64_t h = 1469598103934665603ull;
    const auto* p = static_cast<const uint8_t*>(pData);
    for (size_t i = 0; i < nBytes; ++i) {
        h = (h ^ p[i]) * 1099511628211ull;
    }
    return h;
}

// What the preview callback saw: for every call, the frame's hash, whether a
// recording ran and the preview's status at that moment.
struct Seen {
    std::mutex mutex;
    struct Call {
        uint64_t nHash;
        bool bRecording;
        int nStatus;
    };
    std::vector<Call> calls;
    CDevice* pDevice = nullptr;
    std::atomic<int> nRecorded{0};
    std::atomic<int> nCalls{0};

    std::vector<uint64_t> AllHashes() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<uint64_t> hashes;
        for (const Call& call : calls) {
            hashes.push_back(call.nHash);
        }
        return hashes;
    }
    std::vector<uint64_t> RecordedHashes() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<uint64_t> hashes;
        for (const Call& call : calls) {
            if (call.bRecording && call.nStatus == 1) {
                hashes.push_back(call.nHash);
            }
        }
        return hashes;
    }
};

// Runs on the drawing thread inside the drawing lock, as the recording's
// write does: the recording seen here is the one the write sees.
void OnFrame(unsigned char* pData, int nWidth, int nHeight, int nBitCount, void* pContext) {
    Seen& seen = *static_cast<Seen*>(pContext);
    // The device itself, not the exports: the manager may be going away
    // meanwhile (the device's own stop waits for this thread).
    const bool bRecording = seen.pDevice->Recording();
    const int nStatus = seen.pDevice->PreviewStatus();
    const uint64_t nHash = Hash(pData, static_cast<size_t>(nWidth) * nHeight * nBitCount / 8);
    {
        std::lock_guard<std::mutex> lock(seen.mutex);
        seen.calls.push_back(Seen::Call{nHash, bRecording, nStatus});
    }
    if (bRecording && nStatus == 1) {
        ++seen.nRecorded;
    }
    ++seen.nCalls;
}

struct ChooserLog {
    std::atomic<int> nCalls{0};
    uint32_t dwFlags = 0;
    bool bCancel = false;
    uint32_t fccHandler = plat::kFourCCUncompressed;
};

bool Choose(plat::AviCompressOptions& options, uint32_t dwFlags, void* pUser) {
    ChooserLog& log = *static_cast<ChooserLog*>(pUser);
    ++log.nCalls;
    log.dwFlags = dwFlags;
    options.fccType = plat::kFourCCVideo;
    options.fccHandler = log.fccHandler;
    options.dwQuality = 7500;
    options.format = {1, 2, 3};
    return !log.bCancel;
}

const char* const kDwordNames[] = {"fccType",   "fccHandler",       "dwKeyFrameEvery",
                                   "dwQuality", "dwBytesPerSecond", "dwFlags",
                                   "cbFormat",  "cbParms",          "dwInterleaveEvery"};

// The file may grow no further than a limit for the process; a write beyond
// it fails (the signal it raises is ignored meanwhile).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t nBytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// A hook that holds a writer's thread until it is let go: a file that takes
// no frames meanwhile.
class WriterGate {
  public:
    void Hold() {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_nWaiting;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_bOpen; });
        --m_nWaiting;
    }
    void Open() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bOpen = true;
        m_changed.notify_all();
    }
    bool Waiting() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_nWaiting > 0; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bOpen = false;
    int m_nWaiting = 0;
};

class RecordingTest : public OpenedCameraTest {
  protected:
    void SetUp() override {
        OpenedCameraTest::SetUp();
        m_folder = testutil::FreshFolder();
        m_registryFile = m_folder + "/registry.reg";
        setenv("VARNU_REGISTRY", m_registryFile.c_str(), 1);
        plat::SetAviCompressorChooser(Choose, &m_chooser);
    }
    void TearDown() override {
        ZDQ_UnInit();
        CAviRecording::SetWriterHooks(CAviRecording::WriterHooks{});
        plat::SetAviCompressorChooser(nullptr, nullptr);
        unsetenv("VARNU_REGISTRY");
        OpenedCameraTest::TearDown();
    }

    // The station's camera with a 640 x 480 raw preview and the callback.
    void OpenWithPreview(bool bParallel) {
        m_seen.pDevice = &Open(kTypeMono1280);
        ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewSetMode(0, 0), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewSetCallback(0, OnFrame, &m_seen), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewStartEx(0, true, bParallel), RET_SUCCESS);
    }
    bool Recorded(int nMore) {
        const int nTarget = m_seen.nRecorded + nMore;
        return WaitFor([&] { return m_seen.nRecorded >= nTarget; });
    }
    bool Called(int nMore) {
        const int nTarget = m_seen.nCalls + nMore;
        return WaitFor([&] { return m_seen.nCalls >= nTarget; });
    }
    std::wstring File(const char* pszName) const {
        return plat::WideFromUtf8(m_folder + "/" + pszName);
    }
    testutil::AviFileContent Read(const char* pszName) const {
        return testutil::ParseAvi(testutil::ReadFile(m_folder + "/" + pszName));
    }
    static bool Recording() {
        bool bRecording = true;
        EXPECT_EQ(ZDQ_RecordStatusGet(0, &bRecording), RET_SUCCESS);
        return bRecording;
    }
    static std::vector<uint64_t> FrameHashes(const testutil::AviFileContent& avi) {
        std::vector<uint64_t> hashes;
        for (const testutil::AviChunk& frame : avi.frames) {
            hashes.push_back(Hash(frame.data.data(), frame.data.size()));
        }
        return hashes;
    }
    // Every frame written was shown, in the order shown.
    static bool ShownInOrder(const std::vector<uint64_t>& written,
                             const std::vector<uint64_t>& shown) {
        size_t nShown = 0;
        for (uint64_t nHash : written) {
            while (nShown < shown.size() && shown[nShown] != nHash) {
                ++nShown;
            }
            if (nShown == shown.size()) {
                return false;
            }
        }
        return true;
    }
    static void ExpectIndexOfKeyFrames(const testutil::AviFileContent& avi) {
        ASSERT_EQ(avi.index.size(), avi.frames.size());
        for (size_t i = 0; i < avi.index.size(); ++i) {
            EXPECT_EQ(avi.index[i].id, "00db");
            EXPECT_EQ(avi.index[i].dwFlags, 0x10u) << i;
            EXPECT_EQ(avi.nMoviOffset + avi.index[i].dwOffset, avi.frames[i].nOffset) << i;
            EXPECT_EQ(avi.index[i].dwSize, avi.frames[i].data.size()) << i;
        }
    }

    std::string m_folder;
    std::string m_registryFile;
    Seen m_seen;
    ChooserLog m_chooser;
};

class PreviewRecordingTest : public RecordingTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PreviewRecordingTest, TheFileHoldsEveryFrameShownWhileRecording) {
    OpenWithPreview(GetParam());
    ASSERT_TRUE(Called(3));
    ASSERT_EQ(ZDQ_RecordStartEx(0, true, 12.5f, File("preview.avi").c_str(), false), RET_SUCCESS);
    EXPECT_TRUE(Recording());
    ASSERT_TRUE(Recorded(10));
    ASSERT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS);
    EXPECT_FALSE(Recording());
    ASSERT_TRUE(Called(3));  // the preview goes on

    const auto avi = Read("preview.avi");
    ASSERT_TRUE(avi.bValid) << avi.error;
    // Frames shown while the writer was behind are left out, no others.
    const std::vector<uint64_t> recorded = m_seen.RecordedHashes();
    EXPECT_TRUE(ShownInOrder(FrameHashes(avi), recorded));
    EXPECT_EQ(avi.frames.size() + m_seen.pDevice->RecordLeftOut(), recorded.size());
    EXPECT_EQ(avi.dwTotalFrames, avi.frames.size());
    EXPECT_EQ(avi.dwLength, avi.frames.size());
    EXPECT_EQ(avi.fccType, "vids");
    EXPECT_EQ(avi.dwRate, 1250u);
    EXPECT_EQ(avi.dwScale, 100u);
    EXPECT_EQ(avi.dwWidth, static_cast<uint32_t>(kWidth));
    EXPECT_EQ(avi.dwHeight, static_cast<uint32_t>(kHeight));
    EXPECT_EQ(avi.dwStreamSuggestedBufferSize, kFrameBytes);
    EXPECT_EQ(avi.rcFrame[0], 0);
    EXPECT_EQ(avi.rcFrame[2], kWidth);
    EXPECT_EQ(avi.rcFrame[3], kHeight);
    // The stream format is the preview's BITMAPINFO with its grey palette.
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    const auto* pInfo = reinterpret_cast<const char*>(pDevice->BitmapInfo());
    EXPECT_EQ(avi.format, std::string(pInfo, 40 + 4 * 256));
    for (const testutil::AviChunk& frame : avi.frames) {
        EXPECT_EQ(frame.id, "00db");
        EXPECT_EQ(frame.data.size(), kFrameBytes);
    }
    ExpectIndexOfKeyFrames(avi);
}

// A pause or a resume may come between a frame's callback and its write, so
// the file is compared with what the callback saw with that much leeway.
TEST_P(PreviewRecordingTest, APausedPreviewWritesNothingAndTheIndexGoesOn) {
    OpenWithPreview(GetParam());
    ASSERT_EQ(ZDQ_RecordStart(0, true, 25.0f, File("paused.avi").c_str()), RET_SUCCESS);
    ASSERT_TRUE(Recorded(5));
    ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
    const int nRedraws = GetParam() ? 10 : 2;
    ASSERT_TRUE(Called(nRedraws));  // the paused frame is drawn again and again
    const uint64_t nPausedHash = m_seen.AllHashes().back();
    ASSERT_EQ(ZDQ_PreviewPause(0, false), RET_SUCCESS);
    ASSERT_TRUE(Recorded(5));
    ASSERT_EQ(ZDQ_PreviewStartEx(0, false, GetParam()), RET_SUCCESS);
    EXPECT_FALSE(Recording()) << "a preview stop ends the recording";

    const auto avi = Read("paused.avi");
    ASSERT_TRUE(avi.bValid) << avi.error;
    const std::vector<uint64_t> written = FrameHashes(avi);
    const std::vector<uint64_t> shown = m_seen.AllHashes();
    EXPECT_TRUE(ShownInOrder(written, shown));
    // The paused frame is in the file once (one more at the resume at most),
    // not once for every time it was drawn.
    EXPECT_LE(std::count(written.begin(), written.end(), nPausedHash), 2);
    const long nRecorded = static_cast<long>(m_seen.RecordedHashes().size());
    EXPECT_NEAR(static_cast<long>(written.size() + m_seen.pDevice->RecordLeftOut()), nRecorded, 2);
    for (const testutil::AviChunk& frame : avi.frames) {
        EXPECT_EQ(frame.data.size(), kFrameBytes) << "no dropped frames";
    }
    ExpectIndexOfKeyFrames(avi);
}

INSTANTIATE_TEST_SUITE_P(Engines, PreviewRecordingTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Parallel" : "Serial"; });

TEST_F(RecordingTest, StartsAreRefusedWithoutPreviewAtTooLowARateAndWhileRecording) {
    Open(kTypeMono1280);
    EXPECT_EQ(ZDQ_RecordStart(0, true, 10.0f, File("a.avi").c_str()), RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ_RecordStartEx(0, true, 10.0f, File("a.avi").c_str(), false),
              RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS) << "nothing to stop";
    const uint8_t frame[4] = {};
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame, 0, 2, 2, 8), RET_NOTSUPPORT);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewStart(0, true), RET_SUCCESS);
    EXPECT_EQ(ZDQ_RecordStart(0, true, 0.005f, File("a.avi").c_str()), RET_FAIL);
    EXPECT_EQ(ZDQ_RecordStartExEx(0, true, 0.005f, 2, 2, 8, File("a.avi").c_str(), true), RET_FAIL);
    EXPECT_EQ(ZDQ_RecordStart(0, true, 10.0f, nullptr), RET_FAIL);
    EXPECT_EQ(ZDQ_RecordStart(0, true, 10.0f, File("missing/a.avi").c_str()), RET_FAIL);
    EXPECT_FALSE(Recording());
    ASSERT_EQ(ZDQ_RecordStart(0, true, 0.01f, File("b.avi").c_str()), RET_SUCCESS);
    EXPECT_EQ(ZDQ_RecordStart(0, true, 10.0f, File("c.avi").c_str()), RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ_RecordStartExEx(0, true, 10.0f, 2, 2, 8, File("c.avi").c_str(), true),
              RET_ILLEGALOPERATION);
    ASSERT_EQ(ZDQ_PreviewStart(0, false), RET_SUCCESS);
    EXPECT_FALSE(Recording());
    std::vector<std::string> files = testutil::FilesIn(m_folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"b.avi", "registry.reg"}));
    EXPECT_EQ(Read("b.avi").dwRate, 1u);
}

TEST_F(RecordingTest, TheFirstRecordingFromTheRegistryChoosesAndStoresTheOptions) {
    OpenWithPreview(false);
    ASSERT_EQ(ZDQ_RecordStartEx(0, true, 10.0f, File("first.avi").c_str(), false), RET_SUCCESS);
    EXPECT_EQ(m_chooser.nCalls, 1);
    EXPECT_EQ(m_chooser.dwFlags, 7u);
    ASSERT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS);

    const plat::Registry registry(m_registryFile);
    const std::string key = "SOFTWARE\\Morlane\\ZDQAPI\\Compossor";
    EXPECT_EQ(CZDQReg::KeyPath(), key);
    for (const char* pszName : kDwordNames) {
        const auto value = registry.QueryValue(key, pszName);
        ASSERT_TRUE(value.has_value()) << pszName;
        EXPECT_EQ(value->type, plat::RegistryType::Dword) << pszName;
    }
    EXPECT_EQ(registry.QueryValue(key, "dwQuality")->Dword(), 7500u);
    EXPECT_EQ(registry.QueryValue(key, "fccHandler")->Dword(), plat::kFourCCUncompressed);
    EXPECT_EQ(registry.QueryValue(key, "cbFormat")->Dword(), 3u);
    EXPECT_EQ(registry.QueryValue(key, "lpFormat")->data, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(registry.QueryValue(key, "lpParms")->type, plat::RegistryType::Binary);

    // The next one takes the stored options without the chooser.
    ASSERT_EQ(ZDQ_RecordStartEx(0, true, 10.0f, File("second.avi").c_str(), false), RET_SUCCESS);
    EXPECT_EQ(m_chooser.nCalls, 1);
    // A dialog recording always chooses.
    ASSERT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS);
    ASSERT_EQ(ZDQ_RecordStart(0, true, 10.0f, File("third.avi").c_str()), RET_SUCCESS);
    EXPECT_EQ(m_chooser.nCalls, 2);
    EXPECT_EQ(m_chooser.dwFlags, 0u);
}

TEST_F(RecordingTest, AKeyWithoutQualityGetsItAsZeroAndIsNotStoredBack) {
    const plat::Registry registry(m_registryFile);
    const std::string key = CZDQReg::KeyPath();
    ASSERT_TRUE(registry.CreateKey(key));
    for (const char* pszName : kDwordNames) {
        if (std::string(pszName) != "dwQuality") {
            ASSERT_TRUE(registry.SetValue(key, pszName, plat::RegistryValue::FromDword(0)));
        }
    }
    registry.SetValue(key, "fccHandler", plat::RegistryValue::FromDword(plat::kFourCCUncompressed));
    registry.SetValue(key, "dwKeyFrameEvery", plat::RegistryValue::FromDword(9));
    registry.SetValue(key, "cbParms", plat::RegistryValue::FromDword(2));
    OpenWithPreview(false);
    ASSERT_EQ(ZDQ_RecordStartEx(0, true, 10.0f, File("q.avi").c_str(), false), RET_SUCCESS);
    EXPECT_EQ(m_chooser.nCalls, 0);
    ASSERT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS);
    EXPECT_EQ(registry.QueryValue(key, "dwQuality")->Dword(), 0u);
    EXPECT_EQ(registry.QueryValue(key, "dwKeyFrameEvery")->Dword(), 9u);
    // Missing binary blocks are created zero-filled at their stored sizes.
    EXPECT_EQ(registry.QueryValue(key, "lpParms")->data, (std::vector<uint8_t>{0, 0}));
    EXPECT_TRUE(registry.QueryValue(key, "lpFormat")->data.empty());
    EXPECT_TRUE(Read("q.avi").bValid);
}

TEST_F(RecordingTest, OptionsThatCannotBeUsedLeaveNoFile) {
    OpenWithPreview(false);
    m_chooser.bCancel = true;
    EXPECT_EQ(ZDQ_RecordStart(0, true, 10.0f, File("cancel.avi").c_str()), RET_FAIL);
    m_chooser.bCancel = false;
    m_chooser.fccHandler = plat::FourCC('X', 'V', 'I', 'D');  // no such compressor here
    EXPECT_EQ(ZDQ_RecordStart(0, true, 10.0f, File("codec.avi").c_str()), RET_FAIL);
    EXPECT_FALSE(Recording());
    EXPECT_TRUE(testutil::FilesIn(m_folder).empty()) << "neither a file nor a key";
    // A stored option block larger than any compressor's is refused.
    const plat::Registry registry(m_registryFile);
    ASSERT_TRUE(registry.CreateKey(CZDQReg::KeyPath()));
    registry.SetValue(CZDQReg::KeyPath(), "cbFormat", plat::RegistryValue::FromDword(0xFFFFFFFF));
    EXPECT_EQ(ZDQ_RecordStartEx(0, true, 10.0f, File("huge.avi").c_str(), false), RET_FAIL);
    EXPECT_FALSE(testutil::FileExists(m_folder + "/huge.avi"));
}

TEST_F(RecordingTest, AnExplicitRecordingTakesTheCallersFramesAtTheirPositions) {
    Open(kTypeMono1280);
    EXPECT_EQ(ZDQ_RecordStartExEx(0, true, 5.0f, 0, 8, 24, File("x.avi").c_str(), true),
              RET_PARAMERROR);
    EXPECT_EQ(ZDQ_RecordStartExEx(0, true, 5.0f, 16, 8, 12, File("x.avi").c_str(), true),
              RET_PARAMERROR);
    ASSERT_EQ(ZDQ_RecordStartExEx(0, true, 5.0f, 16, 8, 24, File("x.avi").c_str(), true),
              RET_SUCCESS);
    std::vector<uint8_t> frame(16 * 8 * 3);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint8_t>(i);
    }
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, nullptr, 0, 16, 8, 24), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 0, 16, 8, 32), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 0, 16, 8, 24), RET_SUCCESS);
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 1, 16, 8, 24), RET_SUCCESS);
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 3, 16, 8, 24), RET_SUCCESS);
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 2, 16, 8, 24), RET_FAIL) << "written";
    EXPECT_TRUE(Recording()) << "a refused position does not end the recording";
    ASSERT_EQ(ZDQ_RecordStartExEx(0, false, 0.0f, 0, 0, 0, nullptr, false), RET_SUCCESS);

    const auto avi = Read("x.avi");
    ASSERT_TRUE(avi.bValid) << avi.error;
    EXPECT_EQ(avi.dwRate, 500u);
    EXPECT_EQ(avi.dwTotalFrames, 4u);
    ASSERT_EQ(avi.frames.size(), 4u);
    const std::string expected(frame.begin(), frame.end());
    EXPECT_EQ(avi.frames[0].data, expected);
    EXPECT_EQ(avi.frames[1].data, expected);
    EXPECT_TRUE(avi.frames[2].data.empty()) << "a skipped position is a dropped frame";
    EXPECT_EQ(avi.frames[3].data, expected);
    // A 24-bit format of its own: 40 bytes, no palette.
    ASSERT_EQ(avi.format.size(), 40u);
    EXPECT_EQ(testutil::RiffU32(avi.format, 4), 16u);
    EXPECT_EQ(testutil::RiffU32(avi.format, 8), 8u);
    EXPECT_EQ(testutil::RiffU32(avi.format, 20), frame.size());
}

TEST_F(RecordingTest, AFailedWriteEndsTheRecordingAndKeepsTheFramesBeforeIt) {
    Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_RecordStartExEx(0, true, 5.0f, 100, 100, 8, File("full.avi").c_str(), true),
              RET_SUCCESS);
    std::vector<uint8_t> frame(100 * 100, 0x5A);
    ASSERT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 0, 100, 100, 8), RET_SUCCESS);
    {
        FileSizeLimit limit(testutil::ReadFile(m_folder + "/full.avi").size() + 5000);
        EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 1, 100, 100, 8), RET_FAIL);
        EXPECT_FALSE(Recording());
    }
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), 2, 100, 100, 8), RET_NOTSUPPORT);
    const auto avi = Read("full.avi");
    ASSERT_TRUE(avi.bValid) << avi.error;
    ASSERT_EQ(avi.frames.size(), 1u);
    EXPECT_EQ(avi.frames[0].data, std::string(frame.begin(), frame.end()));
}

TEST_F(RecordingTest, AFailedPreviewWriteEndsTheRecordingAndThePreviewGoesOn) {
    OpenWithPreview(false);
    ASSERT_EQ(ZDQ_RecordStart(0, true, 10.0f, File("cut.avi").c_str()), RET_SUCCESS);
    ASSERT_TRUE(Recorded(2));
    // Paused, the file does not grow once the writer thread has written the frames
    // queued before the pause: then room for one more frame and a half.
    ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
    size_t nSize = 0;
    for (int nSteady = 0, nPolls = 0; nSteady < 3 && nPolls < 100; ++nPolls) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const size_t nNow = testutil::ReadFile(m_folder + "/cut.avi").size();
        nSteady = nNow == nSize ? nSteady + 1 : 0;
        nSize = nNow;
    }
    {
        FileSizeLimit limit(nSize + kFrameBytes * 3 / 2);
        ASSERT_EQ(ZDQ_PreviewPause(0, false), RET_SUCCESS);
        ASSERT_TRUE(WaitFor([] { return !Recording(); }));
    }
    ASSERT_TRUE(Called(3));
    const auto avi = Read("cut.avi");
    ASSERT_TRUE(avi.bValid) << avi.error;
    // The frames before the one whose write failed, and that one not.
    const std::vector<uint64_t> written = FrameHashes(avi);
    EXPECT_GE(written.size(), 3u);
    EXPECT_TRUE(ShownInOrder(written, m_seen.AllHashes()));
    EXPECT_LE(avi.nFileSize, nSize + kFrameBytes * 3 / 2);
    ExpectIndexOfKeyFrames(avi);
}

// A preview recording into a file in memory goes through the file's
// mapping: the shown frames are in it in order, and once the file cannot
// grow (the process's limit leaves room for five frames) the recording ends
// with the frames before and the file closed.
TEST_F(RecordingTest, APreviewRecordingInMemoryHoldsTheShownFramesUntilItsFileCannotGrow) {
    const std::string folder = testutil::FreshMemoryFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "no folder in memory";
    }
    OpenWithPreview(true);
    ASSERT_TRUE(Called(3));
    const size_t nHeaders = 172 + 40 + 4 * 256 + 12;
    const size_t nChunk = 8 + kFrameBytes;
    {
        FileSizeLimit limit(nHeaders + 5 * nChunk + nChunk / 2);
        ASSERT_EQ(
            ZDQ_RecordStart(0, true, 25.0f, plat::WideFromUtf8(folder + "/memory.avi").c_str()),
            RET_SUCCESS);
        ASSERT_TRUE(WaitFor([] { return !Recording(); }));
    }
    ASSERT_TRUE(Called(3));  // the preview goes on
    const auto avi = testutil::ParseAvi(testutil::ReadFile(folder + "/memory.avi"));
    ASSERT_TRUE(avi.bValid) << avi.error;
    const std::vector<uint64_t> recorded = m_seen.RecordedHashes();
    // The sixth frame taken ended the recording; frames shown before the
    // helpers had their pages were left out.
    ASSERT_GE(recorded.size(), 6u);
    EXPECT_EQ(avi.frames.size(), 5u);
    EXPECT_TRUE(ShownInOrder(FrameHashes(avi), recorded));
    EXPECT_EQ(avi.dwTotalFrames, 5u);
    EXPECT_EQ(avi.nFileSize, nHeaders + 5 * nChunk + 8 + 5 * 16);
    ExpectIndexOfKeyFrames(avi);
}

// A caller's frame is refused while the preview records: the preview's
// recording goes on, and its file holds only shown frames, in order.
TEST_F(RecordingTest, ACallersFrameIsRefusedWhileThePreviewRecords) {
    OpenWithPreview(true);
    ASSERT_EQ(ZDQ_RecordStart(0, true, 25.0f, File("own.avi").c_str()), RET_SUCCESS);
    ASSERT_TRUE(Recorded(3));
    const std::vector<uint8_t> frame(kFrameBytes, 0xA5);
    for (const int nPosition : {0, 1, 100000}) {
        SCOPED_TRACE(nPosition);
        EXPECT_EQ(ZDQ_RecordAddOneFrame(0, frame.data(), nPosition, kWidth, kHeight, 8), RET_FAIL);
        EXPECT_TRUE(Recording());
    }
    ASSERT_TRUE(Recorded(3));
    EXPECT_TRUE(Recording());
    ASSERT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS);
    const auto avi = Read("own.avi");
    ASSERT_TRUE(avi.bValid) << avi.error;
    const std::vector<uint64_t> written = FrameHashes(avi);
    EXPECT_GE(written.size(), 6u - std::min<size_t>(6, m_seen.pDevice->RecordLeftOut()));
    EXPECT_TRUE(ShownInOrder(written, m_seen.RecordedHashes()));
    EXPECT_EQ(std::count(written.begin(), written.end(), Hash(frame.data(), frame.size())), 0);
    ExpectIndexOfKeyFrames(avi);
}

// The longest a setter may wait while the recording's file is slow.
constexpr auto kLongestWait = std::chrono::milliseconds(150);

// The calls of another thread while a colour preview records to a slow file:
// a callback setter (the drawing lock) and a colour setter (the colour lock);
// the longest is kept.
struct CallsMeanwhile {
    std::chrono::steady_clock::duration longest{};
    int nCalls = 0;

    void Run(Seen& seen, std::chrono::milliseconds during) {
        const auto end = std::chrono::steady_clock::now() + during;
        while (std::chrono::steady_clock::now() < end) {
            const auto t0 = std::chrono::steady_clock::now();
            EXPECT_EQ(ZDQ_PreviewSetCallback(0, OnFrame, &seen), RET_SUCCESS);
            EXPECT_EQ(ZDQ_BayerSetMode(0, 0), RET_SUCCESS);
            longest = std::max(longest, std::chrono::steady_clock::now() - t0);
            ++nCalls;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

void SleepHook(void* pUser) {
    std::this_thread::sleep_for(std::chrono::milliseconds(*static_cast<int*>(pUser)));
}

void HoldHook(void* pUser) {
    static_cast<WriterGate*>(pUser)->Hold();
}

// The recording's file on disk (the writer thread) or in memory (the
// mapping's helpers).
class SlowWriterTest : public RecordingTest, public ::testing::WithParamInterface<bool> {
  protected:
    std::string Folder() {
        if (!GetParam()) {
            return m_folder;
        }
        return testutil::FreshMemoryFolder();
    }
    // A colour preview of 640 x 480 drawn in 24 bits, serial: its drawing
    // holds the colour lock.
    void OpenColourPreview() {
        m_seen.pDevice = &Open(kTypeColour1280);
        ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewSetMode(0, 1), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewSetCallback(0, OnFrame, &m_seen), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewStart(0, true), RET_SUCCESS);
        ASSERT_TRUE(Called(3));
    }
    static size_t ColourFrameBytes() { return kFrameBytes * 3; }
};

// Every write takes 0.6 s: the shown frames the writer cannot take are left
// out, the calls of another thread do not wait for the file, and the stop
// writes the frames taken into a complete file.
TEST_P(SlowWriterTest, FramesTheWriterCannotTakeAreLeftOutAndNothingWaitsForIt) {
    const std::string folder = Folder();
    if (folder.empty()) {
        GTEST_SKIP() << "no folder in memory";
    }
    int nDelayMs = 600;
    CAviRecording::WriterHooks hooks;
    hooks.pfBeforeWrite = SleepHook;
    hooks.pUser = &nDelayMs;
    hooks.nStallMs = 60000;
    CAviRecording::SetWriterHooks(hooks);
    OpenColourPreview();
    const std::string path = folder + "/slow.avi";
    ASSERT_EQ(ZDQ_RecordStart(0, true, 25.0f, plat::WideFromUtf8(path).c_str()), RET_SUCCESS);
    CallsMeanwhile calls;
    calls.Run(m_seen, std::chrono::milliseconds(1500));
    EXPECT_LT(calls.longest, kLongestWait);
    ASSERT_TRUE(Called(3)) << "the drawing goes on";
    EXPECT_TRUE(Recording());
    EXPECT_GT(m_seen.pDevice->RecordLeftOut(), 0u);
    ASSERT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS);
    const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
    ASSERT_TRUE(avi.bValid) << avi.error;
    EXPECT_GE(avi.frames.size(), 1u);
    EXPECT_TRUE(ShownInOrder(FrameHashes(avi), m_seen.RecordedHashes()));
    for (const testutil::AviChunk& frame : avi.frames) {
        EXPECT_EQ(frame.data.size(), ColourFrameBytes());
    }
    ExpectIndexOfKeyFrames(avi);
}

// A writer that takes no frame for the stall bound (its file hangs) ends the
// recording without holding anything up; once the file goes on, the frames
// taken are written and the file is closed by itself.
TEST_P(SlowWriterTest, AWriterStuckPastTheBoundEndsTheRecordingWithTheFramesTaken) {
    const std::string folder = Folder();
    if (folder.empty()) {
        GTEST_SKIP() << "no folder in memory";
    }
    WriterGate gate;
    CAviRecording::WriterHooks hooks;
    hooks.pfBeforeWrite = HoldHook;
    hooks.pUser = &gate;
    hooks.nStallMs = 300;
    CAviRecording::SetWriterHooks(hooks);
    OpenColourPreview();
    const std::string path = folder + "/stuck.avi";
    ASSERT_EQ(ZDQ_RecordStart(0, true, 25.0f, plat::WideFromUtf8(path).c_str()), RET_SUCCESS);
    ASSERT_TRUE(gate.Waiting());
    CallsMeanwhile calls;
    calls.Run(m_seen, std::chrono::milliseconds(1200));
    EXPECT_LT(calls.longest, kLongestWait);
    // Ended, though the file is not closed yet: a new recording may not
    // start, the status says it runs until the file is closed.
    EXPECT_TRUE(Recording());
    EXPECT_EQ(ZDQ_RecordAddOneFrame(0, m_seen.AllHashes().data(), 0, 1, 1, 8), RET_NOTSUPPORT);
    gate.Open();
    ASSERT_TRUE(WaitFor([] { return !Recording(); }));
    ASSERT_TRUE(Called(3)) << "the preview goes on";
    const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
    ASSERT_TRUE(avi.bValid) << avi.error;
    EXPECT_LE(avi.frames.size(), GetParam() ? CAviMappedFrames::kAhead : CAviFrameQueue::kBuffers);
    EXPECT_TRUE(ShownInOrder(FrameHashes(avi), m_seen.RecordedHashes()));
    ExpectIndexOfKeyFrames(avi);
    // A new recording starts after it.
    hooks = CAviRecording::WriterHooks{};
    CAviRecording::SetWriterHooks(hooks);
    ASSERT_EQ(ZDQ_RecordStart(0, true, 25.0f, plat::WideFromUtf8(folder + "/next.avi").c_str()),
              RET_SUCCESS);
    ASSERT_TRUE(Recorded(3));
    ASSERT_EQ(ZDQ_RecordStart(0, false, 0.0f, nullptr), RET_SUCCESS);
    EXPECT_TRUE(testutil::ParseAvi(testutil::ReadFile(folder + "/next.avi")).bValid);
}

INSTANTIATE_TEST_SUITE_P(Files, SlowWriterTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "InMemory" : "OnDisk"; });

// The frames of a mapped file in memory: pushed frames are written in order
// while helpers take the pages of the next ones; a frame whose pages are not
// there yet is refused at once and may come again; a frame whose pages
// cannot be had (past the file's limit) ends the recording, though helpers
// took the pages of frames before it after it failed, and the file closes
// with the frames before it.
TEST(AviMappedFrames, WritesInOrderRefusesFramesAheadOfItsPagesAndStopsAtAFrameWithoutPages) {
    const std::string folder = testutil::FreshMemoryFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "no folder in memory";
    }
    constexpr uint32_t kBytes = 4096 + 3;
    plat::AviStreamFormat format;
    format.nWidth = static_cast<int32_t>(kBytes);
    format.nHeight = 1;
    format.dwRate = 25;
    format.bitmapInfo.assign(40, 0);
    const uint64_t nHeaders = 172 + 40 + 12;
    const uint64_t nChunk = 8 + kBytes + 1;
    struct Case {
        uint64_t nMaxFileBytes;
        int nAccepted;
    };
    for (const Case& c :
         {Case{plat::AviWriter::kMaxFileBytes, 40}, Case{nHeaders + 5 * nChunk + 8 + 5 * 16, 5}}) {
        SCOPED_TRACE(c.nAccepted);
        const std::string path = folder + "/frames.avi";
        plat::AviWriter writer(c.nMaxFileBytes);
        ASSERT_TRUE(writer.Create(path, format));
        ASSERT_TRUE(writer.MapFrames(kBytes));
        WriterGate gate;
        CAviMappedFrames frames;
        ASSERT_TRUE(frames.Start(writer, [&] { gate.Hold(); }));
        ASSERT_TRUE(gate.Waiting());
        EXPECT_EQ(frames.Push(std::vector<uint8_t>(kBytes, 0xEE).data()),
                  CAviMappedFrames::Pushed::kNotReady);
        gate.Open();
        int nAccepted = 0;
        bool bFailed = false;
        for (int i = 0; i < 40; ++i) {
            const std::vector<uint8_t> frame(kBytes, static_cast<uint8_t>(i));
            CAviMappedFrames::Pushed pushed = CAviMappedFrames::Pushed::kNotReady;
            for (int nTries = 0; nTries < 10000 && pushed == CAviMappedFrames::Pushed::kNotReady;
                 ++nTries) {
                pushed = frames.Push(frame.data());
                if (pushed == CAviMappedFrames::Pushed::kNotReady) {
                    std::this_thread::sleep_for(std::chrono::microseconds(100));
                }
            }
            if (pushed == CAviMappedFrames::Pushed::kWritten) {
                EXPECT_FALSE(bFailed) << "no frame after a failed one";
                EXPECT_EQ(nAccepted++, i);
            } else {
                EXPECT_EQ(pushed, CAviMappedFrames::Pushed::kFailed) << i;
                bFailed = true;
            }
        }
        EXPECT_EQ(nAccepted, c.nAccepted);
        EXPECT_EQ(frames.Finish(), c.nAccepted == 40);
        EXPECT_EQ(frames.Push(std::vector<uint8_t>(kBytes).data()),
                  CAviMappedFrames::Pushed::kFailed)
            << "finished";
        ASSERT_TRUE(writer.Close());
        const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
        ASSERT_TRUE(avi.bValid) << avi.error;
        ASSERT_EQ(avi.frames.size(), static_cast<size_t>(c.nAccepted));
        for (size_t i = 0; i < avi.frames.size(); ++i) {
            EXPECT_EQ(avi.frames[i].data, std::string(kBytes, static_cast<char>(i))) << i;
        }
        EXPECT_EQ(avi.nFileSize, nHeaders + static_cast<uint64_t>(c.nAccepted) * (nChunk + 16) + 8);
    }
}

// The writer thread of a preview recording: frames are written in the order
// they came; with every buffer waiting for a writer that is stuck, a frame is
// refused at once (and the queued ones are written once it goes on); a
// failed write ends the queue.
TEST(AviFrameQueue, WritesInOrderRefusesFramesWhileFullAndStopsAtAFailedWrite) {
    struct Case {
        int nFailAt;  // the write that fails, -1: none
        int nWritten;
    };
    for (const Case& c : {Case{-1, 40}, Case{5, 5}}) {
        SCOPED_TRACE(c.nFailAt);
        std::mutex mutex;
        std::vector<uint8_t> written;
        WriterGate gate;
        CAviFrameQueue queue;
        ASSERT_TRUE(queue.Start(16, [&](const uint8_t* pFrame) {
            gate.Hold();
            std::lock_guard<std::mutex> lock(mutex);
            if (static_cast<int>(written.size()) == c.nFailAt) {
                return false;
            }
            written.push_back(pFrame[0]);
            return std::all_of(pFrame, pFrame + 16, [&](uint8_t b) { return b == pFrame[0]; });
        }));
        int nPushed = 0;
        // The writer holds the first frame; the buffers fill, then frames
        // are refused without waiting.
        for (; nPushed < static_cast<int>(CAviFrameQueue::kBuffers); ++nPushed) {
            std::vector<uint8_t> frame(16, static_cast<uint8_t>(nPushed));
            ASSERT_EQ(queue.Push(frame.data()), CAviFrameQueue::Pushed::kQueued);
        }
        ASSERT_TRUE(gate.Waiting());
        EXPECT_EQ(queue.Push(std::vector<uint8_t>(16, 0xEE).data()), CAviFrameQueue::Pushed::kFull);
        gate.Open();
        bool bFailed = false;
        for (; nPushed < 40 && !bFailed; ++nPushed) {
            std::vector<uint8_t> frame(16, static_cast<uint8_t>(nPushed));
            CAviFrameQueue::Pushed pushed = CAviFrameQueue::Pushed::kFull;
            for (int nTries = 0; nTries < 10000 && pushed == CAviFrameQueue::Pushed::kFull;
                 ++nTries) {
                pushed = queue.Push(frame.data());
                if (pushed == CAviFrameQueue::Pushed::kFull) {
                    std::this_thread::sleep_for(std::chrono::microseconds(100));
                }
            }
            bFailed = pushed == CAviFrameQueue::Pushed::kFailed;
            EXPECT_NE(pushed, CAviFrameQueue::Pushed::kFull);
        }
        EXPECT_EQ(bFailed, c.nFailAt >= 0);
        EXPECT_EQ(queue.Finish(), c.nFailAt < 0);
        std::vector<uint8_t> expected(static_cast<size_t>(c.nWritten));
        for (size_t i = 0; i < expected.size(); ++i) {
            expected[i] = static_cast<uint8_t>(i);
        }
        EXPECT_EQ(written, expected);
        EXPECT_EQ(queue.Push(written.data()), CAviFrameQueue::Pushed::kFailed);
    }
}

}  // namespace
