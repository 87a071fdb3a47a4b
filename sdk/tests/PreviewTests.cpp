// The preview on opened simulated cameras: frames reach a window of the
// window-system stand-in and the preview callbacks, with both engines; pause,
// capture during a preview, stop and restart, window changes, frame rates,
// the ring size.
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "OpenedCamera.h"
#include "capability/DeviceCapability.h"
#include "platform/NamedClaim.h"
#include "platform/Time.h"
#include "usb/DriverNames.h"
#include "window/PlatWindow.h"

namespace {

// What a window and a preview callback received.
struct Received {
    std::mutex mutex;
    std::atomic<int> nWindowFrames{0};
    int nWindowWidth = 0, nWindowHeight = 0, nWindowX = 0, nWindowBits = 0;
    std::atomic<int> nCallbackFrames{0};
    int nWidth = 0, nHeight = 0, nBitCount = 0;
    std::vector<uint8_t> lastFrame;
    void* pContext = nullptr;
};

void WindowSink(void* pUser, const PlatBitmapInfo* pInfo, const void* /*pBits*/, int x, int /*y*/,
                int nWidth, int nHeight) {
    Received& r = *static_cast<Received*>(pUser);
    std::lock_guard<std::mutex> lock(r.mutex);
    r.nWindowWidth = nWidth;
    r.nWindowHeight = nHeight;
    r.nWindowX = x;
    r.nWindowBits = pInfo->bmiHeader.biBitCount;
    ++r.nWindowFrames;
}

void OnFrame(unsigned char* pData, int nWidth, int nHeight, int nBitCount, void* pContext) {
    Received& r = *static_cast<Received*>(pContext);
    std::lock_guard<std::mutex> lock(r.mutex);
    r.nWidth = nWidth;
    r.nHeight = nHeight;
    r.nBitCount = nBitCount;
    r.lastFrame.assign(pData, pData + static_cast<size_t>(nWidth) * nHeight * nBitCount / 8);
    r.pContext = pContext;
    ++r.nCallbackFrames;
}

class PreviewTest : public OpenedCameraTest, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        OpenedCameraTest::SetUp();
        m_window = platwin_register(WindowSink, &m_received);
        ASSERT_NE(m_window, 0u);
    }
    void TearDown() override {
        ZDQ_UnInit();
        platwin_unregister(m_window);
        OpenedCameraTest::TearDown();
    }

    // Opens the station's camera with a 640 x 480 preview drawn into a
    // 320 x 240 rectangle of the window and a callback.
    CDevice& OpenWithPreviewWindow(int nType = kTypeMono1280) {
        CDevice& device = Open(nType);
        EXPECT_EQ(ZDQ_PreviewSetFieldOfView(0, 100, 100, 640, 480, 0, 0), RET_SUCCESS);
        EXPECT_EQ(ZDQ_PreviewSetMode(0, 0), RET_SUCCESS);
        EXPECT_EQ(ZDQ_PreviewSetPos(0, m_window, 10, 20, 320, 240), RET_SUCCESS);
        EXPECT_EQ(ZDQ_PreviewSetCallback(0, OnFrame, &m_received), RET_SUCCESS);
        return device;
    }

    int Start() { return ZDQ_PreviewStartEx(0, true, GetParam()); }
    int Stop() { return ZDQ_PreviewStartEx(0, false, GetParam()); }
    bool FramesArrive(int nMore = 3) {
        const int nWindow = m_received.nWindowFrames, nCallback = m_received.nCallbackFrames;
        return WaitFor([&] {
            return m_received.nWindowFrames >= nWindow + nMore &&
                   m_received.nCallbackFrames >= nCallback + nMore;
        });
    }

    PlatWindow m_window = 0;
    Received m_received;
};

TEST_P(PreviewTest, FramesReachTheWindowAndTheCallback) {
    CDevice& device = OpenWithPreviewWindow();
    ASSERT_EQ(Start(), RET_SUCCESS);
    int nStatus = -1;
    bool bParallel = !GetParam();
    ASSERT_EQ(ZDQ_PreviewGetStatusEx(0, &nStatus, &bParallel), RET_SUCCESS);
    EXPECT_EQ(nStatus, 1);
    EXPECT_EQ(bParallel, GetParam());
    EXPECT_EQ(Start(), RET_FAIL) << "a running preview does not start twice";
    ASSERT_TRUE(FramesArrive());
    EXPECT_EQ(device.ActiveFov(), kPreviewFov);
    {
        std::lock_guard<std::mutex> lock(m_received.mutex);
        EXPECT_EQ(m_received.nWindowWidth, 320);
        EXPECT_EQ(m_received.nWindowHeight, 240);
        EXPECT_EQ(m_received.nWindowX, 10);
        EXPECT_EQ(m_received.nWindowBits, 8);
        EXPECT_EQ(m_received.nWidth, 640);
        EXPECT_EQ(m_received.nHeight, 480);
        EXPECT_EQ(m_received.nBitCount, 8);
        EXPECT_EQ(m_received.pContext, &m_received);
        // A frame of the pattern: each row steps by one, rows by three.
        const std::vector<uint8_t>& f = m_received.lastFrame;
        ASSERT_EQ(f.size(), 640u * 480);
        EXPECT_EQ(static_cast<uint8_t>(f[1] - f[0]), 1);
        EXPECT_EQ(static_cast<uint8_t>(f[0] - f[640]), 3) << "the sensor flips";
    }
    // A frame counts as shown once its drawing is over, just after the
    // window and the callback saw it.
    int nCaught = 0, nShown = 0;
    EXPECT_TRUE(WaitFor([&] {
        return ZDQ_GetPreviewFrameCount(0, &nCaught, &nShown) == RET_SUCCESS && nCaught >= 3 &&
               nShown >= 3;
    })) << "caught "
        << nCaught << ", shown " << nShown;

    ASSERT_EQ(Stop(), RET_SUCCESS);
    EXPECT_EQ(device.ActiveFov(), kCaptureFov);
    const int nAfterStop = m_received.nCallbackFrames;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(m_received.nCallbackFrames, nAfterStop) << "no callback after a stop returns";
    ASSERT_EQ(ZDQ_PreviewGetStatus(0, &nStatus), RET_SUCCESS);
    EXPECT_EQ(nStatus, 0);
    EXPECT_EQ(Stop(), RET_SUCCESS) << "stopping a stopped preview";
    // The callback set before the stop comes back with the next start.
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

TEST_P(PreviewTest, PauseKeepsTheLastFrame) {
    CDevice& device = OpenWithPreviewWindow();
    EXPECT_EQ(ZDQ_PreviewPause(0, true), RET_ILLEGALOPERATION) << "nothing runs";
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    std::vector<uint8_t> paused(640 * 480);
    EXPECT_EQ(ZDQ_PreviewGetPausedData(0, paused.data()), RET_FAIL) << "running";
    EXPECT_EQ(ZDQ_PreviewPause(0, false), RET_ILLEGALOPERATION) << "not paused";
    ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
    int nStatus = 0;
    ZDQ_PreviewGetStatus(0, &nStatus);
    EXPECT_EQ(nStatus, 2);
    // A paused preview keeps its window: a preview window set is refused, a
    // capture window set is only stored.
    EXPECT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_PreviewSetFieldOfViewEx(0, 0, 0, 320, 240, 0, 0, 1), RET_NOTSUPPORT);
    EXPECT_EQ(device.Fov(kPreviewFov).nWidth, 640);
    EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    EXPECT_EQ(device.Fov(kCaptureFov).nWidth, 320);
    EXPECT_EQ(device.ActiveFov(), kPreviewFov);
    float fRate = 1.0f;
    EXPECT_EQ(ZDQ_PreviewGetFrameRate(0, &fRate), RET_NOTSUPPORT);
    EXPECT_EQ(fRate, 0.0f);
    int nCaught = 0;
    ZDQ_GetPreviewFrameCount(0, &nCaught, nullptr);
    const uint64_t nSent = FramesSent();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(FramesSent(), nSent) << "a paused preview catches nothing";
    // The paused frame is drawn again while paused (the serial engine about
    // once a second).
    const int nShown = m_received.nCallbackFrames;
    ASSERT_TRUE(WaitFor([&] { return m_received.nCallbackFrames > nShown; }));
    int nWidth = 0, nHeight = 0, nBits = 0;
    ASSERT_EQ(ZDQ_PreviewGetPausedDataEx(0, paused.data(), &nWidth, &nHeight, &nBits), RET_SUCCESS);
    EXPECT_EQ(nWidth, 640);
    EXPECT_EQ(nHeight, 480);
    EXPECT_EQ(nBits, 8);
    {
        std::lock_guard<std::mutex> lock(m_received.mutex);
        EXPECT_TRUE(paused == m_received.lastFrame) << "the paused frame is the last one shown";
    }
    EXPECT_EQ(ZDQ_PreviewGetPausedData(0, nullptr), RET_PARAMERROR);
    ASSERT_EQ(ZDQ_PreviewPause(0, false), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

TEST_P(PreviewTest, CaptureDuringThePreview) {
    CDevice& device = OpenWithPreviewWindow();
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 1280, 1024, 0, 0), RET_SUCCESS);
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    std::vector<uint8_t> frame(1280 * 1024);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        // A whole frame of the capture window: the pattern's steps.
        EXPECT_EQ(static_cast<uint8_t>(frame[1] - frame[0]), 1);
        EXPECT_EQ(static_cast<uint8_t>(frame[0] - frame[1280]), 3);
        EXPECT_EQ(static_cast<uint8_t>(frame[1280 * 1023 + 600] - frame[1280 * 1023 + 599]), 1);
        EXPECT_EQ(device.ActiveFov(), kPreviewFov) << "the preview window is back";
        int nStatus = 0;
        ZDQ_PreviewGetStatus(0, &nStatus);
        EXPECT_EQ(nStatus, 1) << "the preview runs on";
        ASSERT_TRUE(FramesArrive(2));
    }
    ASSERT_EQ(Stop(), RET_SUCCESS);
    // After the stop the capture window is active: no pause is needed.
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
}

TEST_P(PreviewTest, WindowChangesWhileRunning) {
    OpenWithPreviewWindow();
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    // A new preview window restarts the preview with frames of its size.
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    int nStatus = 0;
    ZDQ_PreviewGetStatus(0, &nStatus);
    EXPECT_EQ(nStatus, 1);
    ASSERT_TRUE(WaitFor([&] {
        std::lock_guard<std::mutex> lock(m_received.mutex);
        return m_received.nWidth == 320 && m_received.nHeight == 240;
    }));
    // An empty rectangle draws nothing; callbacks go on.
    ASSERT_EQ(ZDQ_PreviewSetPos(0, m_window, 0, 0, 0, 240), RET_SUCCESS);
    // A frame already being drawn when the rectangle changed may still reach the window:
    // two more callbacks mean it has passed.
    const int nBefore = m_received.nCallbackFrames;
    ASSERT_TRUE(WaitFor([&] { return m_received.nCallbackFrames >= nBefore + 2; }));
    const int nWindow = m_received.nWindowFrames;
    const int nCallback = m_received.nCallbackFrames;
    ASSERT_TRUE(WaitFor([&] { return m_received.nCallbackFrames >= nCallback + 3; }));
    EXPECT_EQ(m_received.nWindowFrames, nWindow);
    // A window closed while the preview draws into it draws nothing more.
    ASSERT_EQ(ZDQ_PreviewSetPos(0, m_window, 0, 0, 100, 100), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive(1));
    ASSERT_EQ(platwin_unregister(m_window), 1);
    const int nClosed = m_received.nWindowFrames;
    ASSERT_TRUE(WaitFor([&] { return m_received.nCallbackFrames >= nCallback + 10; }));
    EXPECT_EQ(m_received.nWindowFrames, nClosed);
    ASSERT_EQ(Stop(), RET_SUCCESS);
    m_window = 0;
}

// Setting the window the preview already has does not wait for the frame
// being read: the catching thread holds the raw-post lock for a whole
// exposure, and a page shown again sets the window it has.
TEST_P(PreviewTest, SettingTheWindowItHasDoesNotWaitOutTheExposure) {
    MlSimProfile profile = CameraProfile(kTypeMono2592);
    profile.timing = MLSIM_TIMING_REALTIME;
    Open(profile);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewSetPos(0, m_window, 0, 0, 320, 240), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewSetCallback(0, OnFrame, &m_received), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 1500), RET_SUCCESS);
    int nExposure = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE, &nExposure), RET_SUCCESS);
    ASSERT_GE(nExposure, 1000);
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive(1));
    // The read of the next frame has begun.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 500);
    ASSERT_TRUE(FramesArrive(1));
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

TEST_P(PreviewTest, TheExCallbackDrawsOnTheShownFrame) {
    OpenWithPreviewWindow();
    ASSERT_EQ(ZDQ_PreviewSetCallbackEx(
                  0,
                  [](ZDQMemoryDC* pDC, unsigned char*, int, int, int, void*) {
                      std::memset(pDC->pBits, 0xEE, static_cast<size_t>(pDC->nStride));
                  },
                  nullptr),
              RET_SUCCESS);
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
    const int nShown = m_received.nCallbackFrames;
    ASSERT_TRUE(WaitFor([&] { return m_received.nCallbackFrames > nShown; }));
    std::vector<uint8_t> paused(640 * 480);
    ASSERT_EQ(ZDQ_PreviewGetPausedData(0, paused.data()), RET_SUCCESS);
    EXPECT_EQ(paused[0], 0xEE);
    EXPECT_EQ(paused[639], 0xEE);
    // The pattern moves from frame to frame, so any one byte of it may be
    // 0xEE: the second row is told apart by its steps of one.
    EXPECT_EQ(static_cast<uint8_t>(paused[641] - paused[640]), 1)
        << "only the first row was drawn on";
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

TEST_P(PreviewTest, SixteenBitFramesArePackedForThePreview) {
    // A 12-bit converter; packing a sample shifts it right by 4.
    MlSimProfile profile = CameraProfile(kType2592WithFpga);
    profile.adc_bits = 12;
    CDevice& device = Open(profile);
    device.Capability().Set(FpgaCap::bm16BitsTransfer, 1);
    device.Capability().Set(SensorCap::bmResolution, 12);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewSetCallback(0, OnFrame, &m_received), RET_SUCCESS);
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive(0) && WaitFor([&] { return m_received.nCallbackFrames > 0; }));
    ASSERT_EQ(ZDQ_SetData16Bits(0, true), RET_SUCCESS) << "the preview restarts around it";
    int nStatus = 0;
    ZDQ_PreviewGetStatus(0, &nStatus);
    EXPECT_EQ(nStatus, 1);
    const int nBefore = m_received.nCallbackFrames;
    ASSERT_TRUE(WaitFor([&] { return m_received.nCallbackFrames >= nBefore + 3; }));
    {
        std::lock_guard<std::mutex> lock(m_received.mutex);
        const std::vector<uint8_t>& f = m_received.lastFrame;
        ASSERT_EQ(f.size(), 640u * 480);
        EXPECT_EQ(static_cast<uint8_t>(f[1] - f[0]), 1) << "samples shifted back to bytes";
        EXPECT_EQ(static_cast<uint8_t>(f[0] - f[640]), 3);
    }
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

// Calls from the preview's own callback that would start, stop or pause the
// preview, or stop or pause it around their work: each is refused and
// changes nothing.
struct Reentry {
    std::atomic<int> nFrames{0};
    std::atomic<bool> bDone{false};
    std::vector<int> results;
};

void CallBackIntoThePreview(unsigned char* /*pData*/, int /*nWidth*/, int /*nHeight*/,
                            int /*nBitCount*/, void* pContext) {
    Reentry& r = *static_cast<Reentry*>(pContext);
    if (r.nFrames++ != 0) {
        return;
    }
    std::vector<uint8_t> frame(1280 * 1024);
    r.results = {
        ZDQ_PreviewStart(0, false),         ZDQ_PreviewStartEx(0, false, true),
        ZDQ_PreviewStartEx(0, true, false), ZDQ_PreviewPause(0, true),
        ZDQ_PreviewPause(0, false),         ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0),
        ZDQ_SetData16Bits(0, true),         ZDQ_TriggerModeSet(0, 0),
        ZDQ_CaptureRawData(0, frame.data())};
    r.bDone = true;
}

TEST_P(PreviewTest, CallsFromItsOwnCallbackThatStopOrPauseThePreviewAreRefused) {
    CDevice& device = OpenWithPreviewWindow();
    Reentry reentry;
    ASSERT_EQ(ZDQ_PreviewSetCallback(0, CallBackIntoThePreview, &reentry), RET_SUCCESS);
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(WaitFor([&] { return reentry.bDone.load(); }));
    for (size_t i = 0; i < reentry.results.size(); ++i) {
        EXPECT_EQ(reentry.results[i], RET_STREAMNOTSTOP) << "call " << i;
    }
    EXPECT_EQ(device.PreviewStatus(), PreviewState::kRunning);
    EXPECT_EQ(device.PreviewParallel(), GetParam());
    EXPECT_EQ(device.Fov(kPreviewFov).nWidth, 640);
    const int nFrames = reentry.nFrames;
    ASSERT_TRUE(WaitFor([&] { return reentry.nFrames >= nFrames + 3; })) << "the preview runs on";
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

// A paused preview that the 16-bit switch stops around it comes back paused,
// showing a frame of the new stream.
TEST_P(PreviewTest, APausedPreviewStaysPausedAcrossTheSixteenBitSwitch) {
    MlSimProfile profile = CameraProfile(kType2592WithFpga);
    profile.adc_bits = 12;
    CDevice& device = Open(profile);
    device.Capability().Set(FpgaCap::bm16BitsTransfer, 1);
    device.Capability().Set(SensorCap::bmResolution, 12);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewSetCallback(0, OnFrame, &m_received), RET_SUCCESS);
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(WaitFor([&] { return m_received.nCallbackFrames > 0; }));
    ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
    for (const bool bOn : {true, false}) {
        ASSERT_EQ(ZDQ_SetData16Bits(0, bOn), RET_SUCCESS);
        int nStatus = 0;
        ZDQ_PreviewGetStatus(0, &nStatus);
        EXPECT_EQ(nStatus, PreviewState::kPaused) << "16-bit " << bOn;
        const uint64_t nSent = FramesSent();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(FramesSent(), nSent) << "nothing is caught while paused";
        std::vector<uint8_t> paused(640 * 480);
        ASSERT_EQ(ZDQ_PreviewGetPausedData(0, paused.data()), RET_SUCCESS);
        EXPECT_EQ(static_cast<uint8_t>(paused[1] - paused[0]), 1) << "a frame of the new stream";
    }
    ASSERT_EQ(ZDQ_PreviewPause(0, false), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive(0) && WaitFor([&] { return m_received.nCallbackFrames > 3; }));
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

// A window write that fails on a running preview is what the caller learns;
// the preview runs on with the window it had.
TEST_P(PreviewTest, AFailedWindowWriteOnARunningPreviewIsReported) {
    CDevice& device = OpenWithPreviewWindow();
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    constexpr uint8_t kWrSensor = 0xC3;
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_STATUS, kWrSensor, 0, -1, 1), 1);
    EXPECT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_FAIL);
    ASSERT_EQ(mlsim_fault_clear(0), 1);
    EXPECT_EQ(device.Fov(kPreviewFov).nWidth, 640) << "the record keeps its window";
    EXPECT_EQ(device.PreviewStatus(), PreviewState::kRunning);
    ASSERT_TRUE(FramesArrive());
    ASSERT_EQ(Stop(), RET_SUCCESS);
}

// A stop names the other engine: the engine that runs is stopped all the
// same, its threads ended before their buffers go, and no frame is caught or
// drawn after the stop returns.
TEST_P(PreviewTest, AStopWithTheOtherEnginesFlagStopsTheRunningEngine) {
    OpenWithPreviewWindow();
    ASSERT_EQ(Start(), RET_SUCCESS);
    ASSERT_TRUE(FramesArrive());
    ASSERT_EQ(ZDQ_PreviewStartEx(0, false, !GetParam()), RET_SUCCESS);
    int nStatus = -1;
    ASSERT_EQ(ZDQ_PreviewGetStatus(0, &nStatus), RET_SUCCESS);
    EXPECT_EQ(nStatus, 0);
    int nCaught = 0, nShown = 0;
    ASSERT_EQ(ZDQ_GetPreviewFrameCount(0, &nCaught, &nShown), RET_SUCCESS);
    const int nWindowFrames = m_received.nWindowFrames;
    const int nCallbackFrames = m_received.nCallbackFrames;
    plat::SleepMs(300);
    int nCaughtLater = 0, nShownLater = 0;
    ASSERT_EQ(ZDQ_GetPreviewFrameCount(0, &nCaughtLater, &nShownLater), RET_SUCCESS);
    EXPECT_EQ(nCaughtLater, nCaught) << "no thread catches after the stop";
    EXPECT_EQ(nShownLater, nShown);
    EXPECT_EQ(m_received.nWindowFrames, nWindowFrames);
    EXPECT_EQ(m_received.nCallbackFrames, nCallbackFrames);
    // Either engine starts again on the stopped device.
    ASSERT_EQ(ZDQ_PreviewStartEx(0, true, !GetParam()), RET_SUCCESS);
    EXPECT_TRUE(FramesArrive());
    EXPECT_EQ(ZDQ_PreviewStartEx(0, false, GetParam()), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewGetStatus(0, &nStatus), RET_SUCCESS);
    EXPECT_EQ(nStatus, 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, PreviewTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("Parallel") : std::string("Serial");
                         });

class PreviewSettingsTest : public OpenedCameraTest {};

TEST_F(PreviewSettingsTest, FrameRatesAreMeasuredEveryTwoSeconds) {
    Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    float fRate = 5.0f;
    EXPECT_EQ(ZDQ_PreviewGetFrameRate(0, &fRate), RET_NOTSUPPORT);
    EXPECT_EQ(fRate, 0.0f);
    ASSERT_EQ(ZDQ_PreviewStartEx(0, true, true), RET_SUCCESS);
    float fCapture = 0.0f, fShow = 0.0f;
    ASSERT_TRUE(WaitFor([&] {
        return ZDQ_PreviewGetFrameRateEx(0, &fCapture, &fShow) == RET_SUCCESS && fCapture > 0.0f;
    }));
    EXPECT_GT(fShow, 0.0f);
    EXPECT_LE(fShow, fCapture * 1.05f + 1.0f) << "the show thread never shows more than caught";
    ASSERT_EQ(ZDQ_PreviewStart(0, false), RET_SUCCESS) << "stops the engine that runs";
    EXPECT_EQ(ZDQ_PreviewGetFrameRateEx(0, &fCapture, &fShow), RET_NOTSUPPORT);
    EXPECT_EQ(fCapture, 0.0f);
    int nCaught = 0;
    ZDQ_GetPreviewFrameCount(0, &nCaught, nullptr);
    EXPECT_GT(nCaught, 0) << "the totals stay after a stop";
}

TEST_F(PreviewSettingsTest, BufferCountOutputModeAndPlacement) {
    Open(kTypeMono1280);
    int nCount = 0;
    ASSERT_EQ(ZDQ_GetBufferCount(0, &nCount), RET_SUCCESS);
    EXPECT_EQ(nCount, 5);
    const struct { int nSet, nGot; } kCounts[] = {{8, 8}, {0, 5}, {5000, 4096}, {-3, 5}, {1, 1}};
    for (const auto& c : kCounts) {
        ASSERT_EQ(ZDQ_SetBufferCount(0, c.nSet), RET_SUCCESS);
        ZDQ_GetBufferCount(0, &nCount);
        EXPECT_EQ(nCount, c.nGot) << c.nSet;
    }
    // A ring of one slot still previews.
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewStartEx(0, true, true), RET_SUCCESS);
    ASSERT_TRUE(WaitFor([] {
        int nShown = 0;
        ZDQ_GetPreviewFrameCount(0, nullptr, &nShown);
        return nShown >= 3;
    }));
    ASSERT_EQ(ZDQ_SetBufferCount(0, 3), RET_SUCCESS) << "restarts the running preview";
    int nStatus = 0;
    ZDQ_PreviewGetStatus(0, &nStatus);
    EXPECT_EQ(nStatus, 1);
    ASSERT_EQ(ZDQ_PreviewStartEx(0, false, true), RET_SUCCESS);

    int nMode = -1;
    ASSERT_EQ(ZDQ_PreviewGetDefaultMode(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 0);
    EXPECT_EQ(ZDQ_PreviewGetMode(0, nullptr), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_PreviewSetMode(0, 3), RET_PARAMERROR);
    ASSERT_EQ(ZDQ_PreviewSetPos(0, 77, 1, 2, 3, 4), RET_SUCCESS);
    int v[4] = {};
    ASSERT_EQ(ZDQ_PreviewGetPos(0, &v[0], &v[1], &v[2], &v[3]), RET_SUCCESS);
    EXPECT_EQ(v[0] + v[1] * 10 + v[2] * 100 + v[3] * 1000, 4321);
    EXPECT_EQ(ZDQ_PreviewStart(9, true), RET_DEVICENOTINIT);
}

// Closing the driver link while a preview runs: the preview thread's
// recovery and the close never take the handle or the claim at the same time,
// and the closed link is not recovered behind the caller's back.
TEST_F(PreviewSettingsTest, AClosedDriverLinkIsNotRecoveredByARunningPreview) {
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    for (bool bParallel : {false, true}) {
        SCOPED_TRACE(bParallel ? "parallel" : "serial");
        ASSERT_EQ(ZDQ_PreviewStartEx(0, true, bParallel), RET_SUCCESS);
        ASSERT_TRUE(WaitFor([] {
            int nCaught = 0;
            ZDQ_GetPreviewFrameCount(0, &nCaught, nullptr);
            return nCaught >= 3;
        }));
        const int nDriver = device.Transport().DriverNumber();
        ASSERT_EQ(ZDQ_Close(0), RET_SUCCESS);
        // Longer than one recovery of the preview thread.
        plat::SleepMs(2 * CBusControl::kRecoverPauseMs);
        EXPECT_FALSE(device.Transport().IsOpen());
        EXPECT_FALSE(plat::NamedClaim::Exists(CameraClaimName(nDriver)));
        unsigned short wValue = 0;
        EXPECT_EQ(ZDQ_RdSensorReg(0, 1, &wValue), RET_DEVICECLOSED);
        EXPECT_EQ(ZDQ_PreviewStartEx(0, false, bParallel), RET_SUCCESS);
        ASSERT_EQ(ZDQ_Open(0), RET_SUCCESS);
        EXPECT_TRUE(plat::NamedClaim::Exists(CameraClaimName(device.Transport().DriverNumber())));
    }
}

TEST_F(PreviewSettingsTest, ClosingTheDeviceStopsARunningPreview) {
    Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    for (bool bParallel : {false, true}) {
        ASSERT_EQ(ZDQ_PreviewStartEx(0, true, bParallel), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
        ASSERT_EQ(ZDQ_DeviceClose(0), RET_SUCCESS);
        int nStatus = 0;
        ASSERT_EQ(ZDQ_PreviewGetStatus(0, &nStatus), RET_SUCCESS) << "a new device opens";
        EXPECT_EQ(nStatus, 0);
    }
}

}  // namespace
