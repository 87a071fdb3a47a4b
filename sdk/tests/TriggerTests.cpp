// Trigger modes, trigger method, delays, the fixed frame rate, the trigger
// signal period and the line-scan start controls, against a simulated
// 2592 x 1944 camera with an FPGA; captures that wait for their trigger.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "OpenedCamera.h"
#include "window/PlatWindow.h"

namespace {

uint16_t SimRegister(uint16_t wRegister) {
    uint16_t wValue = 0;
    mlsim_fpga_read(0, wRegister, &wValue);
    return wValue;
}

// Values the simulator received for one FPGA register: register 0 through
// the working-mode request (0xCE), the others through the FPGA write (0x2B).
std::vector<uint16_t> FpgaWrites(uint16_t wRegister) {
    std::vector<uint16_t> values;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (wRegister == 0 && entry.request == 0xCE) {
            values.push_back(entry.value);
        } else if (entry.request == 0x2B && (entry.value & 0xFF) == wRegister) {
            values.push_back(entry.index);
        }
    }
    return values;
}

class TriggerTest : public OpenedCameraTest {
  protected:
    // The camera of the tests with the FPGA capabilities a test names.
    CDevice& OpenWith(std::initializer_list<const CapField*> capabilities,
                      int nStep = MLSIM_FRAME_STEP_50US, int nTiming = MLSIM_TIMING_INSTANT) {
        MlSimProfile profile = CameraProfile(kType2592WithFpga);
        profile.frame_rate_step = nStep;
        profile.timing = nTiming;
        CDevice& device = Open(profile);
        for (const CapField* pField : capabilities) {
            device.Capability().Set(*pField, 1);
        }
        return device;
    }

    // A small capture window, so the read-out is short.
    static void SmallCaptureWindow() {
        ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 64, 48, 0, 0), RET_SUCCESS);
        ASSERT_EQ(ZDQ_CaptureSetTimeOut(0, 20000), RET_SUCCESS);
    }

    // Captures one frame on another thread; Wait gives its result.
    struct PendingCapture {
        explicit PendingCapture(size_t nBytes)
            : buffer(nBytes), thread([this] {
                  result = ZDQ_CaptureRawData(0, buffer.data());
                  done = true;
              }) {}
        ~PendingCapture() {
            if (thread.joinable()) {
                thread.join();
            }
        }
        int Wait() {
            thread.join();
            return result;
        }
        std::vector<uint8_t> buffer;
        std::atomic<bool> done{false};
        int result = 0;
        std::thread thread;
    };

    // True once the simulator holds a frame read of the camera.
    static bool ReadPending() {
        for (const MlSimJournalEntry& entry : Journal(0)) {
            if (entry.kind == MLSIM_JOURNAL_READ) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(TriggerTest, ModesNeedTheirCapabilitiesAndSetTheWorkingModeBits) {
    struct Case {
        int nMode;
        const CapField* pCapability;
        uint16_t wBits;  // b0, b1, b12
    };
    const Case cases[] = {
        {1, &FpgaCap::bmTriggerModeExternal, 0x0001},
        {2, &FpgaCap::bmTriggerModeSoftware, 0x1000},
        {3, &FpgaCap::bmTriggerModeFixedFrameRate, 0x1001},
        {4, &FpgaCap::bmTriggerModeHighLowFixFramerate, 0x1003},
    };
    CDevice& device = OpenWith({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nMode);
        device.Capability().Set(*c.pCapability, 0);
        mlsim_journal_clear(0);
        EXPECT_EQ(ZDQ_TriggerModeSet(0, c.nMode), RET_NOTSUPPORT);
        EXPECT_TRUE(FpgaWrites(0).empty());
        device.Capability().Set(*c.pCapability, 1);
        ASSERT_EQ(ZDQ_TriggerModeSet(0, c.nMode), RET_SUCCESS);
        EXPECT_EQ(SimRegister(0) & 0x1003, c.wBits);
        int nMode = -1;
        ASSERT_EQ(ZDQ_TriggerModeGet(0, &nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, c.nMode);
        ASSERT_EQ(ZDQ_TriggerModeSet(0, 0), RET_SUCCESS);
        EXPECT_EQ(SimRegister(0) & 0x1003, 0);
    }
    EXPECT_EQ(ZDQ_TriggerModeSet(0, 5), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_TriggerModeSet(0, -1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_TriggerModeGet(0, nullptr), RET_PARAMERROR);
}

TEST_F(TriggerTest, ModeReadBackPatterns) {
    struct Case {
        uint16_t wBits;
        int nWithout47, nWith47;
    };
    const Case cases[] = {
        {0x0000, 0, 0}, {0x0001, 1, 1}, {0x1000, 2, 2}, {0x1001, 3, 3},
        {0x1003, 3, 4}, {0x0003, 1, 3}, {0x1002, 2, 3}, {0x0002, 0, 3},
    };
    CDevice& device = OpenWith({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wBits);
        device.Fpga().Shadows().WorkingMode = c.wBits;
        int nMode = -1;
        device.Capability().Set(FpgaCap::bmTriggerModeHighLowFixFramerate, 0);
        ASSERT_EQ(ZDQ_TriggerModeGet(0, &nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, c.nWithout47);
        device.Capability().Set(FpgaCap::bmTriggerModeHighLowFixFramerate, 1);
        ASSERT_EQ(ZDQ_TriggerModeGet(0, &nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, c.nWith47);
    }
}

TEST_F(TriggerTest, MethodsAndDelays) {
    CDevice& device = OpenWith({&FpgaCap::bmSetTriggerDelay, &FpgaCap::bmStrobeDelay});
    const CapField* methods[4] = {&FpgaCap::bmTriggerMethodNegedge,
                                  &FpgaCap::bmTriggerMethodPosedge, &FpgaCap::bmTriggerMethodHig,
                                  &FpgaCap::bmTriggerMethodLow};
    for (int nMethod = 0; nMethod < 4; ++nMethod) {
        SCOPED_TRACE(nMethod);
        device.Capability().Set(*methods[nMethod], 0);
        EXPECT_EQ(ZDQ_TriggerMethodSet(0, nMethod), RET_NOTSUPPORT);
        device.Capability().Set(*methods[nMethod], 1);
        ASSERT_EQ(ZDQ_TriggerMethodSet(0, nMethod), RET_SUCCESS);
        EXPECT_EQ((SimRegister(0) >> 9) & 3, nMethod);
        int nRead = -1;
        ASSERT_EQ(ZDQ_TriggerMethodGet(0, &nRead), RET_SUCCESS);
        EXPECT_EQ(nRead, nMethod);
    }
    // A method outside 0-3 is written with its low two bits, untested.
    device.Capability().Set(FpgaCap::bmTriggerMethodPosedge, 0);
    ASSERT_EQ(ZDQ_TriggerMethodSet(0, 5), RET_SUCCESS);
    EXPECT_EQ((SimRegister(0) >> 9) & 3, 1);

    unsigned short usMin = 1, usMax = 0;
    ASSERT_EQ(ZDQ_TriggerDelayGetRange(0, &usMin, &usMax), RET_SUCCESS);
    EXPECT_EQ(usMin, 0);
    EXPECT_EQ(usMax, 65535);
    ASSERT_EQ(ZDQ_TriggerDelaySet(0, 0x12345), RET_SUCCESS);
    ASSERT_EQ(ZDQ_StrobeDelaySet(0, 700), RET_SUCCESS);
    EXPECT_EQ(SimRegister(3), 0x2345);
    EXPECT_EQ(SimRegister(4), 700);
    unsigned short usDelay = 0;
    ASSERT_EQ(ZDQ_StrobeDelayGet(0, &usDelay), RET_SUCCESS);
    EXPECT_EQ(usDelay, 700);
    ASSERT_EQ(ZDQ_TriggerDelayGet(0, &usDelay), RET_SUCCESS);
    EXPECT_EQ(usDelay, 0x2345);
    device.Capability().Set(FpgaCap::bmStrobeDelay, 0);
    EXPECT_EQ(ZDQ_StrobeDelayGetRange(0, &usMin, &usMax), RET_NOTSUPPORT);
    ASSERT_EQ(ZDQ_Close(0), RET_SUCCESS);
    EXPECT_EQ(ZDQ_TriggerDelaySet(0, 1), RET_DEVICECLOSED);
    EXPECT_EQ(ZDQ_StrobeDelaySet(0, 1), RET_DEVICECLOSED);
}

TEST_F(TriggerTest, FixedFrameRateEncodingsOfTheThreeStepKinds) {
    struct Case {
        const CapField* pStep;  // null: the 50-microsecond FPGA
        int nSimStep;
        float fFps;
        int nResult;
        uint16_t wReg28, wReg69;
        float fReadBack;
    };
    const Case cases[] = {
        {nullptr, MLSIM_FRAME_STEP_50US, 30.0f, RET_SUCCESS, 666, 0, 30.03f},
        {nullptr, MLSIM_FRAME_STEP_50US, 0.2f, RET_PARAMERROR, 0, 0, 0},
        {nullptr, MLSIM_FRAME_STEP_50US, 20001.0f, RET_PARAMERROR, 0, 0, 0},
        {&FpgaCap::bmFixeFrameRateStep1uS, MLSIM_FRAME_STEP_1US, 30.0f, RET_SUCCESS, 33333, 0,
         30.0003f},
        {&FpgaCap::bmFixeFrameRateStep1uS, MLSIM_FRAME_STEP_1US, 15.0f, RET_PARAMERROR, 0, 0, 0},
        {&FpgaCap::bmFixeFrameRateStep1uS, MLSIM_FRAME_STEP_1US, 20.0f, RET_SUCCESS, 50000, 0,
         20.0f},
        // 132 MHz / 30 = 4400000 = 67 x 65536 + 9088.
        {&FpgaCap::bmFixFrameRateWide, MLSIM_FRAME_STEP_132MHZ, 30.0f, RET_SUCCESS, 9088, 67,
         30.0f},
        {&FpgaCap::bmFixFrameRateWide, MLSIM_FRAME_STEP_132MHZ, 0.5f, RET_PARAMERROR, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fFps);
        CDevice& device =
            OpenWith({&FpgaCap::bmSetTriggerFixFrameRate, &FpgaCap::bmGetTriggerFixFrameRate,
                      &FpgaCap::bmTriggerModeFixedFrameRate},
                     c.nSimStep);
        if (c.pStep != nullptr) {
            device.Capability().Set(*c.pStep, 1);
        }
        EXPECT_EQ(ZDQ_SetFixedFrameRateEx(0, c.fFps), c.nResult);
        EXPECT_EQ(SimRegister(28), c.wReg28);
        EXPECT_EQ(SimRegister(69), c.wReg69);
        float fFps = 0;
        bool bEnabled = false;
        if (c.nResult == RET_SUCCESS) {
            ASSERT_EQ(ZDQ_GetFixedFrameRate(0, &bEnabled, &fFps), RET_SUCCESS);
            EXPECT_TRUE(bEnabled);
            EXPECT_NEAR(fFps, c.fReadBack, 0.005);
            // The simulated FPGA runs its fixed-rate modes at that period,
            // never faster than the read-out of the whole sensor.
            ASSERT_EQ(ZDQ_SetFixedFrameRateEx(0, 16.0f), RET_SUCCESS);
            ASSERT_EQ(ZDQ_TriggerModeSet(0, 3), RET_SUCCESS);
            MlSimFrameInfo info{};
            mlsim_frame_info(0, &info);
            const double dReadOutMs = info.frame_period_ms;
            EXPECT_GT(dReadOutMs, 62.5);
            SmallCaptureWindow();
            mlsim_frame_info(0, &info);
            EXPECT_NEAR(info.frame_period_ms, 62.5, 0.01);
        } else {
            EXPECT_EQ(ZDQ_GetFixedFrameRate(0, &bEnabled, &fFps), RET_FAIL);
            EXPECT_FALSE(bEnabled);
        }
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(TriggerTest, FixedFrameRateRangesAndCapability) {
    CDevice& device = OpenWith({});
    float fMin = 0, fMax = 0;
    ASSERT_EQ(ZDQ_GetFixedFrameRateRang(0, &fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, 0.30518043f);
    EXPECT_FLOAT_EQ(fMax, 20000.0f);
    device.Capability().Set(FpgaCap::bmFixeFrameRateStep1uS, 1);
    ASSERT_EQ(ZDQ_GetFixedFrameRateRang(0, &fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, 15.259022f);
    EXPECT_FLOAT_EQ(fMax, 1000000.0f);
    device.Capability().Set(FpgaCap::bmFixFrameRateWide, 1);
    ASSERT_EQ(ZDQ_GetFixedFrameRateRang(0, &fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, 1.0f);
    // Neither fixed-rate capability: nothing written.
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_SetFixedFrameRate(0, true, 30.0f), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_GetFixedFrameRateEx(0, &fMin), RET_NOTSUPPORT);
    EXPECT_TRUE(FpgaWrites(28).empty());
}

TEST_F(TriggerTest, TriggerSignalPeriod) {
    OpenWith({});
    float fMin = 0, fMax = 0;
    ASSERT_EQ(ZDQ_TriggerSignalPeriodGetRange(0, &fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, 0.003968254f);
    EXPECT_FLOAT_EQ(fMax, 255.0f);
    ASSERT_EQ(ZDQ_TriggerSignalPeriodSet(0, 2.75f), RET_SUCCESS);
    EXPECT_EQ(SimRegister(53), 0x02C0);
    float fPeriod = 0;
    ASSERT_EQ(ZDQ_TriggerSignalPeriodGet(0, &fPeriod), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fPeriod, 2.75f);
    ASSERT_EQ(ZDQ_TriggerSignalPeriodSet(0, 255.5f), RET_SUCCESS);
    EXPECT_EQ(SimRegister(53), 0xFF80);
    // Too short, a whole part above 255, not a number: refused, unchanged.
    for (float fBad : {0.005f, 256.0f, 1000.0f, std::nanf("")}) {
        EXPECT_EQ(ZDQ_TriggerSignalPeriodSet(0, fBad), RET_PARAMERROR);
    }
    EXPECT_EQ(SimRegister(53), 0xFF80);
    EXPECT_EQ(ZDQ_TriggerSignalPeriodGet(0, nullptr), RET_SUCCESS);
}

TEST_F(TriggerTest, LineScanStartControls) {
    CDevice& device = OpenWith({});
    int nMode = 0;
    unsigned short usValue = 0;
    EXPECT_EQ(ZDQ_StartEndModeSet(0, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_StartEndModeGet(0, &nMode), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_CaptureStartDelayGet(0, &usValue), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_CaptureSoftwareStart(0), RET_NOTSUPPORT);
    device.Capability().Set(FpgaCap::bm3DRegisters, 1);
    // Bits 8-14 are kept; the mode goes to the low byte.
    mlsim_fpga_write(0, 65, 0x0500);
    device.Fpga().Shadows().wCap[0] = 0x0500;
    struct Case {
        int nMode;
        uint8_t byLow;
        int nReadBack;
    };
    const Case cases[] = {{1, 0x02, 1}, {2, 0x42, 2}, {3, 0xA2, 3}, {4, 0xD2, 4},
                          {5, 0x01, 5}, {0, 0x00, 0}, {7, 0x00, 0}, {2, 0x42, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nMode);
        ASSERT_EQ(ZDQ_StartEndModeSet(0, c.nMode), RET_SUCCESS);
        EXPECT_EQ(SimRegister(65), 0x0500 | c.byLow);
        ASSERT_EQ(ZDQ_StartEndModeGet(0, &nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, c.nReadBack);
    }
    ASSERT_EQ(ZDQ_CaptureStartDelaySet(0, 0x10007), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureStartFilterSet(0, 9), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureMultiLineSet(0, 12), RET_SUCCESS);
    EXPECT_EQ(SimRegister(67), 7);
    EXPECT_EQ(SimRegister(66), 9);
    EXPECT_EQ(SimRegister(68), 12);
    ASSERT_EQ(ZDQ_CaptureStartDelayGet(0, &usValue), RET_SUCCESS);
    EXPECT_EQ(usValue, 7);
    ASSERT_EQ(ZDQ_CaptureStartFilterGet(0, &usValue), RET_SUCCESS);
    EXPECT_EQ(usValue, 9);
    ASSERT_EQ(ZDQ_CaptureMultiLineGet(0, &usValue), RET_SUCCESS);
    EXPECT_EQ(usValue, 12);
    unsigned short usMin = 1, usMax = 0;
    ASSERT_EQ(ZDQ_CaptureMultiLineRange(0, &usMin, &usMax), RET_SUCCESS);
    EXPECT_EQ(usMax, 65535);
    // The start pulse goes out each time; the shadow never keeps it.
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_CaptureSoftwareStart(0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSoftwareStart(0), RET_SUCCESS);
    EXPECT_EQ(FpgaWrites(65), (std::vector<uint16_t>{0x8542, 0x8542}));
    EXPECT_EQ(device.Fpga().Shadows().wCap[0], 0x0542);
}

TEST_F(TriggerTest, CapturesWaitForTheirTriggerOrStart) {
    CDevice& device = OpenWith({&FpgaCap::bmTriggerModeExternal, &FpgaCap::bmTriggerModeSoftware,
                                &FpgaCap::bm3DRegisters});
    SmallCaptureWindow();
    const size_t nBytes = 64 * 48;
    // External trigger: no frame until the trigger comes.
    ASSERT_EQ(ZDQ_TriggerModeSet(0, 1), RET_SUCCESS);
    {
        mlsim_journal_clear(0);
        PendingCapture capture(nBytes);
        ASSERT_TRUE(WaitFor(ReadPending));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(capture.done);
        mlsim_trigger(0);
        EXPECT_EQ(capture.Wait(), RET_SUCCESS);
    }
    // Software trigger: the frame comes after the start-frame request.
    ASSERT_EQ(ZDQ_TriggerModeSet(0, 2), RET_SUCCESS);
    {
        mlsim_journal_clear(0);
        PendingCapture capture(nBytes);
        ASSERT_TRUE(WaitFor(ReadPending));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(capture.done);
        SetupPacket startFrame{0xC0, 0xC8, 0, 0, 1};
        unsigned char byStatus = 0xFF;
        ASSERT_EQ(ZDQ_VendorCmd(0, &startFrame, &byStatus), RET_SUCCESS);
        EXPECT_EQ(capture.Wait(), RET_SUCCESS);
    }
    std::vector<uint8_t> buffer(nBytes);
    // A start/end mode: frames only after a start, the software pulse or the
    // start signal; a trigger does not start.
    ASSERT_EQ(ZDQ_TriggerModeSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_StartEndModeSet(0, 1), RET_SUCCESS);
    for (bool bPulse : {true, false}) {
        SCOPED_TRACE(bPulse);
        mlsim_journal_clear(0);
        PendingCapture capture(nBytes);
        ASSERT_TRUE(WaitFor(ReadPending));
        mlsim_trigger(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(capture.done);
        if (bPulse) {
            EXPECT_EQ(ZDQ_CaptureSoftwareStart(0), RET_SUCCESS);
        } else {
            mlsim_start_signal(0);
        }
        EXPECT_EQ(capture.Wait(), RET_SUCCESS);
    }
    // With no trigger at all the capture times out.
    ASSERT_EQ(ZDQ_StartEndModeSet(0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetTimeOutEx(0, 100, false), RET_SUCCESS);
    EXPECT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_TIMEOUT);
    (void)device;
}

TEST_F(TriggerTest, RealTimeFramesKeepTheFixedPeriodAndTheTriggerDelay) {
    OpenWith({&FpgaCap::bmTriggerModeExternal, &FpgaCap::bmTriggerModeFixedFrameRate,
              &FpgaCap::bmSetTriggerFixFrameRate, &FpgaCap::bmSetTriggerDelay},
             MLSIM_FRAME_STEP_50US, MLSIM_TIMING_REALTIME);
    SmallCaptureWindow();
    std::vector<uint8_t> buffer(64 * 48);
    ASSERT_EQ(ZDQ_SetFixedFrameRateEx(0, 20.0f), RET_SUCCESS);  // 50 ms
    ASSERT_EQ(ZDQ_TriggerModeSet(0, 3), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_SUCCESS);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_SUCCESS);
    }
    // Four periods at least; the read-out of this window is far shorter.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(190));
    // A triggered frame comes the trigger delay (microseconds) after its
    // trigger.
    ASSERT_EQ(ZDQ_TriggerModeSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_TriggerDelaySet(0, 60000), RET_SUCCESS);
    mlsim_journal_clear(0);
    PendingCapture capture(buffer.size());
    ASSERT_TRUE(WaitFor(ReadPending));
    const auto trigger = std::chrono::steady_clock::now();
    mlsim_trigger(0);
    EXPECT_EQ(capture.Wait(), RET_SUCCESS);
    EXPECT_GE(std::chrono::steady_clock::now() - trigger, std::chrono::milliseconds(58));
}

TEST_F(TriggerTest, APreviewStopsAndRestartsAroundAModeChange) {
    const PlatWindow window = platwin_register(
        [](void*, const PlatBitmapInfo*, const void*, int, int, int, int) {}, nullptr);
    ASSERT_NE(window, 0u);
    // A preview start empties the camera's frame buffer (register 0 bit 8).
    const auto starts = [] {
        int nStarts = 0;
        for (uint16_t wValue : FpgaWrites(0)) {
            nStarts += (wValue & 0x0100) != 0 ? 1 : 0;
        }
        return nStarts;
    };
    // Type 32 is one of the types whose preview runs on through the change.
    for (const auto& [nType, nRestarts] : {std::pair{kTypeMono2592, 1}, std::pair{32, 0}}) {
        for (bool bParallel : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "type " << nType << " parallel " << bParallel);
            CDevice& device = Open(nType);
            device.Capability().Set(FpgaCap::bmTriggerMethodPosedge, 1);
            device.Capability().Set(FpgaCap::bmEmptyFrameBuffer, 1);
            ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 64, 48, 0, 0), RET_SUCCESS);
            ASSERT_EQ(ZDQ_PreviewSetPos(0, window, 0, 0, 64, 48), RET_SUCCESS);
            ASSERT_EQ(ZDQ_PreviewStartEx(0, true, bParallel), RET_SUCCESS);
            const uint64_t nSent = FramesSent();
            ASSERT_TRUE(WaitFor([&] { return FramesSent() > nSent + 3; }));
            mlsim_journal_clear(0);
            ASSERT_EQ(ZDQ_TriggerMethodSet(0, 1), RET_SUCCESS);
            EXPECT_EQ(starts(), nRestarts);
            int nStatus = 0;
            bool bRunsParallel = !bParallel;
            ASSERT_EQ(ZDQ_PreviewGetStatusEx(0, &nStatus, &bRunsParallel), RET_SUCCESS);
            EXPECT_EQ(nStatus, 1);
            EXPECT_EQ(bRunsParallel, bParallel);
            const uint64_t nAfter = FramesSent();
            EXPECT_TRUE(WaitFor([&] { return FramesSent() > nAfter + 3; }));
            // The method it has already: nothing stops.
            mlsim_journal_clear(0);
            ASSERT_EQ(ZDQ_TriggerMethodSet(0, 1), RET_SUCCESS);
            EXPECT_EQ(starts(), 0);
            ASSERT_EQ(ZDQ_PreviewStartEx(0, false, bParallel), RET_SUCCESS);
            ZDQ_UnInit();
            mlsim_unplug_all();
        }
    }
    platwin_unregister(window);
}

}  // namespace
