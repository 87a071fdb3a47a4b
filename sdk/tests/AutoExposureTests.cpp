// The automatic exposure against a fake camera whose scene answers every
// exposure with a known mean grey level, driven frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "ZDQApi.h"
#include "acquisition/AutoExposure.h"

namespace {

// A camera with a line time of 0.01 ms (1000 ms = 100000 lines), exposures
// up to 2^20 lines and, when asked, an automatic exposure of its own.
class FakeCamera : public IAutoExposureCamera {
  public:
    static constexpr float kLineTimeMs = 0.01f;

    int AEGetExposureLines() override { return nLines; }
    void AESetExposureLines(int nNewLines) override {
        nLines = nNewLines;
        linesSet.push_back(nNewLines);
    }
    int AEGetExposureMs() override { return static_cast<int>(nLines * kLineTimeMs + 0.5f); }
    int AECSetEnable(bool bEnable) override {
        if (!bHasOnChipAE) {
            return RET_NOTSUPPORT;
        }
        bOnChipAE = bEnable;
        return RET_SUCCESS;
    }
    int AECGetEnable(bool* pbEnable) override {
        *pbEnable = false;
        if (!bHasOnChipAE) {
            return RET_NOTSUPPORT;
        }
        *pbEnable = bOnChipAE;
        return RET_SUCCESS;
    }
    int AECSetRange(uint16_t wMin, uint16_t wMax) override {
        if (!bHasOnChipAE) {
            return RET_NOTSUPPORT;
        }
        wOnChipMin = wMin;
        wOnChipMax = wMax;
        return RET_SUCCESS;
    }
    int AECGetRange(uint16_t* pMin, uint16_t* pMax) override {
        if (!bHasOnChipAE) {
            return RET_NOTSUPPORT;
        }
        *pMin = wOnChipMin;
        *pMax = wOnChipMax;
        return RET_SUCCESS;
    }
    int AECSetTarget(int nTarget) override {
        nOnChipTarget = nTarget;
        return bHasOnChipAE ? RET_SUCCESS : RET_NOTSUPPORT;
    }
    int AEGetExposureTimeRange(float* pMin, float* pMax) override {
        *pMin = AEExposureLinesToTime(1);
        *pMax = AEExposureLinesToTime(nMaxLines);
        return RET_SUCCESS;
    }
    float AEExposureLinesToTime(int n) override { return static_cast<float>(n) * kLineTimeMs; }
    int64_t AEExposureTimeToLines(float fMs) override {
        return static_cast<int64_t>(std::llround(fMs / kLineTimeMs));
    }
    CLog* AELog() override { return nullptr; }

    int nLines = 1000;
    int nMaxLines = 1 << 20;
    std::vector<int> linesSet;
    bool bHasOnChipAE = false;
    bool bOnChipAE = false;
    uint16_t wOnChipMin = 2;
    uint16_t wOnChipMax = 900;
    int nOnChipTarget = 0;
};

constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 12;

// What the callbacks saw, in order: the frame, the callback and its values.
struct CallbackCall {
    int nFrame;
    bool bEx;
    int nValue;  // bSuccess (0/1) or the status
    int nExposureMs;
    bool operator==(const CallbackCall& o) const {
        return nFrame == o.nFrame && bEx == o.bEx && nValue == o.nValue &&
               nExposureMs == o.nExposureMs;
    }
};

class AutoExposureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_ae.Init(kFrameWidth, kFrameHeight);
        m_ae.SetCallback(&AutoExposureTest::OnAE, this);
        m_ae.SetCallbackEx(&AutoExposureTest::OnAEEx, this);
    }

    static void OnAE(bool bSuccess, int nExposureMs, void* lpContext) {
        auto* self = static_cast<AutoExposureTest*>(lpContext);
        self->m_calls.push_back({self->m_nFrame, false, bSuccess ? 1 : 0, nExposureMs});
    }
    static void OnAEEx(int nStatus, int nExposureMs, void* lpContext) {
        auto* self = static_cast<AutoExposureTest*>(lpContext);
        self->m_calls.push_back({self->m_nFrame, true, nStatus, nExposureMs});
        self->m_statuses.push_back(nStatus);
    }

    // One frame of the scene at the camera's exposure, uniform at the grey
    // level the scene gives.
    void Frame() {
        const int nGrey = m_scene(m_camera.nLines);
        m_frame.assign(kFrameWidth * kFrameHeight, static_cast<uint8_t>(nGrey));
        m_ae.RawData8_Do_3A_AE(m_frame.data(), kFrameWidth, kFrameHeight, false);
        ++m_nFrame;
    }
    // Frames until AE stops, at most nMaxFrames.
    void RunUntilStopped(int nMaxFrames) {
        for (int i = 0; i < nMaxFrames && m_ae.Started(); ++i) {
            Frame();
        }
    }

    // Mean grey = k x lines, clipped to 255.
    static std::function<int(int)> Linear(double k) {
        return [k](int nLines) { return static_cast<int>(std::min(255.0, k * nLines)); };
    }
    static std::function<int(int)> Constant(int nGrey) {
        return [nGrey](int) { return nGrey; };
    }

    FakeCamera m_camera;
    CAutoExposure m_ae{m_camera};
    std::function<int(int)> m_scene = Linear(0.05);
    std::vector<uint8_t> m_frame;
    int m_nFrame = 0;
    std::vector<CallbackCall> m_calls;
    std::vector<int> m_statuses;
};

TEST_F(AutoExposureTest, InitialStateWithoutAnAutomaticExposureOfTheSensor) {
    EXPECT_FALSE(m_ae.Started());
    EXPECT_FALSE(m_ae.OnChipAE());
    EXPECT_EQ(m_ae.MaxCount(), 10);
    EXPECT_EQ(m_ae.Target(), 128);
    EXPECT_EQ(m_ae.Region(), (FrameRegion{0, 0, kFrameWidth, kFrameHeight}));
    EXPECT_FALSE(m_ae.RegionShown());
    EXPECT_EQ(m_ae.PeakAveRatio(), 0.0f);
    EXPECT_EQ(m_ae.ExposureLineMin(), 1u);
    EXPECT_EQ(m_ae.ExposureLineMax(), 100000u) << "the lines of 1000 ms";
    EXPECT_FLOAT_EQ(m_ae.ExposureTimeMin(), FakeCamera::kLineTimeMs);
    EXPECT_FLOAT_EQ(m_ae.ExposureTimeMax(), 1000.0f);

    // A sensor whose longest exposure is shorter bounds the steps itself.
    m_camera.nMaxLines = 50000;
    m_ae.Init(kFrameWidth, kFrameHeight);
    EXPECT_EQ(m_ae.ExposureLineMax(), 50000u);
    EXPECT_FLOAT_EQ(m_ae.ExposureTimeMax(), 500.0f);
}

TEST_F(AutoExposureTest, InitialStateWithTheSensorsOwnExposureRunning) {
    m_camera.bHasOnChipAE = true;
    m_camera.bOnChipAE = true;
    m_ae.Init(kFrameWidth, kFrameHeight);
    EXPECT_TRUE(m_ae.Started());
    EXPECT_TRUE(m_ae.OnChipAE());
    EXPECT_EQ(m_ae.MaxCount(), -1);
    EXPECT_EQ(m_ae.ExposureLineMin(), 2u);
    EXPECT_EQ(m_ae.ExposureLineMax(), 900u);
    EXPECT_FLOAT_EQ(m_ae.ExposureTimeMin(), 2 * FakeCamera::kLineTimeMs);
    EXPECT_FLOAT_EQ(m_ae.ExposureTimeMax(), 900 * FakeCamera::kLineTimeMs);
}

// 1000 lines give 50; the ratio 128 / 50 asks for 2560 lines, which give
// exactly the target. The two frames after the change are skipped.
TEST_F(AutoExposureTest, ConvergesInOneStepAndMeasuresEveryThirdFrameAfterAChange) {
    m_ae.StartEx(true);
    RunUntilStopped(20);
    EXPECT_FALSE(m_ae.Started());
    EXPECT_EQ(m_camera.linesSet, std::vector<int>{2560});
    const std::vector<CallbackCall> expected = {
        {0, true, CAutoExposure::kChanged, 26},  // AECallback is not called on a change
        {3, false, 1, 26},
        {3, true, CAutoExposure::kSuccess, 26},
    };
    EXPECT_EQ(m_calls, expected);
    EXPECT_EQ(m_nFrame, 4);
}

TEST_F(AutoExposureTest, AMeanExactlyTenFromTheTargetIsInRange) {
    const struct {
        int nGrey;
        int nStatus;
    } kCases[] = {{117, 4}, {118, 0}, {128, 0}, {138, 0}, {139, 4}};
    for (const auto& c : kCases) {
        m_statuses.clear();
        m_scene = Constant(c.nGrey);
        m_ae.StartEx(true);
        Frame();
        EXPECT_EQ(m_statuses, std::vector<int>{c.nStatus}) << "grey " << c.nGrey;
        EXPECT_EQ(m_ae.Started(), c.nStatus == 4) << "grey " << c.nGrey;
    }
}

TEST_F(AutoExposureTest, ContinuousRunMeasuresEveryFrameOnceInRange) {
    m_ae.SetMaxCount(-1);
    m_ae.StartEx(true);
    for (int i = 0; i < 10; ++i) {
        Frame();
    }
    EXPECT_EQ(m_statuses, (std::vector<int>{4, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_TRUE(m_ae.Started());
}

// A scene that hardly answers (a mean of 139 whatever the exposure) needs a
// change on every measured frame.
TEST_F(AutoExposureTest, LimitedRunStopsAtItsMaximumCountOfChanges) {
    const struct {
        bool bStartWithCount;
        int nChanges;
    } kCases[] = {{false, 10}, {true, 60}};
    for (const auto& c : kCases) {
        m_camera.linesSet.clear();
        m_statuses.clear();
        m_camera.nLines = 50000;
        m_scene = Constant(139);
        if (c.bStartWithCount) {
            m_ae.Start(true, 20, 128);
            EXPECT_EQ(m_ae.MaxCount(), 60);
        } else {
            m_ae.StartEx(true);
        }
        RunUntilStopped(1000);
        EXPECT_EQ(m_camera.linesSet.size(), static_cast<size_t>(c.nChanges));
        ASSERT_FALSE(m_statuses.empty());
        EXPECT_EQ(m_statuses.back(), CAutoExposure::kMaxCountReached);
        EXPECT_EQ(m_ae.Counter(), 3 * c.nChanges);
        EXPECT_EQ(m_nFrame, 3 * c.nChanges + 1);
        m_nFrame = 0;
    }
}

TEST_F(AutoExposureTest, BlackFrameDrivesTheExposureToTheUpperBound) {
    for (const bool bContinuous : {false, true}) {
        m_camera.linesSet.clear();
        m_statuses.clear();
        m_camera.nLines = 1000;
        m_scene = Constant(0);
        m_ae.SetMaxCount(bContinuous ? -1 : 10);
        m_ae.StartEx(true);
        for (int i = 0; i < 6; ++i) {
            Frame();
        }
        EXPECT_EQ(m_camera.linesSet, std::vector<int>{100000});
        if (bContinuous) {
            EXPECT_EQ(m_statuses, (std::vector<int>{4, 7, 7, 7}));
            EXPECT_TRUE(m_ae.Started());
        } else {
            EXPECT_EQ(m_statuses, (std::vector<int>{4, 3}));
            EXPECT_FALSE(m_ae.Started());
        }
    }
}

// Below 641 lines the scene is too dark (60), from 641 on too bright (200).
TEST_F(AutoExposureTest, OneLineStepsThatKeepReversingEndTheRun) {
    m_scene = [](int nLines) { return nLines >= 641 ? 200 : 60; };
    m_ae.StartEx(true);
    RunUntilStopped(100);
    // A ratio step to 640 (0.64 x 1000), the crossing turns to one-line
    // steps, the third reversal ends the run.
    EXPECT_EQ(m_camera.linesSet, (std::vector<int>{640, 641, 640, 641}));
    EXPECT_EQ(m_statuses, (std::vector<int>{4, 4, 4, 4, CAutoExposure::kWaving}));
    EXPECT_FALSE(m_ae.Started());
}

TEST_F(AutoExposureTest, ContinuousRunGoesOnAfterTheStepsKeptReversing) {
    m_scene = [](int nLines) { return nLines >= 641 ? 200 : 60; };
    m_ae.SetMaxCount(-1);
    m_ae.StartEx(true);
    for (int i = 0; i < 15; ++i) {
        Frame();
    }
    EXPECT_EQ(m_statuses, (std::vector<int>{4, 4, 4, 4, 6, 4}));
    // After status 6 the direction history is gone and the very next frame
    // steps again.
    EXPECT_EQ(m_camera.linesSet, (std::vector<int>{640, 641, 640, 641, 640}));
    EXPECT_TRUE(m_ae.Started());
}

// Below 1000 lines the scene stays too dark (60): after the crossing the
// one-line steps all go up, and after the seventh a ratio step follows; it
// crosses the target again and one-line steps resume.
TEST_F(AutoExposureTest, ManyOneLineStepsOneWayReturnToRatioSteps) {
    m_camera.nLines = 1000;
    m_scene = [](int nLines) { return nLines >= 1000 ? 200 : 60; };
    m_ae.SetMaxCount(-1);
    m_ae.StartEx(true);
    for (int i = 0; i < 3 * 10; ++i) {
        Frame();
    }
    const int nRatioStep = static_cast<int>(647.0f * (128.0f / 60.0f));
    ASSERT_GE(m_camera.linesSet.size(), 10u);
    EXPECT_EQ(
        std::vector<int>(m_camera.linesSet.begin(), m_camera.linesSet.begin() + 10),
        (std::vector<int>{640, 641, 642, 643, 644, 645, 646, 647, nRatioStep, nRatioStep - 1}));
}

TEST_F(AutoExposureTest, PeakAverageRatioIsClampedAndWeighsSaturatedPixels) {
    const struct {
        float fSet;
        float fStored;
    } kClamps[] = {{-0.5f, 0.0f}, {2.0f, 1.0f}, {0.25f, 0.25f}, {NAN, 0.0f}};
    for (const auto& c : kClamps) {
        m_ae.SetPeakAveRatio(c.fSet);
        EXPECT_EQ(m_ae.PeakAveRatio(), c.fStored) << c.fSet;
    }
    // Half the frame saturated, half black: a mean of 127.5 unweighted,
    // 255 with full weight.
    std::vector<uint8_t> frame(kFrameWidth * kFrameHeight, 0);
    std::fill(frame.begin(), frame.begin() + frame.size() / 2, 255);
    const struct {
        float fRatio;
        int nStatus;
        std::vector<int> linesSet;
    } kCases[] = {{0.0f, 0, {}}, {1.0f, 4, {static_cast<int>(1000.0f * (128.0f / 255.0f))}}};
    for (const auto& c : kCases) {
        m_camera.nLines = 1000;
        m_camera.linesSet.clear();
        m_statuses.clear();
        m_ae.SetPeakAveRatio(c.fRatio);
        m_ae.StartEx(true);
        m_ae.RawData8_Do_3A_AE(frame.data(), kFrameWidth, kFrameHeight, false);
        EXPECT_EQ(m_statuses, std::vector<int>{c.nStatus}) << c.fRatio;
        EXPECT_EQ(m_camera.linesSet, c.linesSet) << c.fRatio;
    }
}

TEST_F(AutoExposureTest, SensorsOwnExposureInChargeTakesNoStep) {
    m_camera.bHasOnChipAE = true;
    m_ae.Init(kFrameWidth, kFrameHeight);
    m_ae.SetCallback(&AutoExposureTest::OnAE, this);
    m_ae.SetCallbackEx(&AutoExposureTest::OnAEEx, this);
    m_ae.SetMaxCount(5);
    EXPECT_EQ(m_ae.MaxCount(), -1) << "a sensor with its own AE runs on";

    m_ae.StartEx(true);
    EXPECT_TRUE(m_camera.bOnChipAE);
    EXPECT_TRUE(m_ae.OnChipAE());
    for (int i = 0; i < 5; ++i) {
        Frame();
    }
    EXPECT_EQ(m_statuses, std::vector<int>(5, CAutoExposure::kChanged));
    for (const CallbackCall& call : m_calls) {
        EXPECT_TRUE(call.bEx) << "AECallback is never called";
    }
    EXPECT_TRUE(m_camera.linesSet.empty());
    EXPECT_EQ(m_ae.Counter(), 0);

    // Switching the sensor's AE off hands the steps back to the software,
    // within the sensor's AE bounds (2 .. 900 lines).
    EXPECT_EQ(m_ae.AECSetEnable(false), RET_SUCCESS);
    EXPECT_FALSE(m_ae.OnChipAE());
    Frame();
    EXPECT_EQ(m_camera.linesSet, std::vector<int>{900});

    m_ae.StartEx(false);
    EXPECT_FALSE(m_ae.Started());
    EXPECT_FALSE(m_camera.bOnChipAE);
    EXPECT_FALSE(m_ae.OnChipAE());
}

TEST_F(AutoExposureTest, StartSetsCountAndTargetAndStartsAFreshRun) {
    m_scene = Constant(117);
    m_ae.StartEx(true);
    Frame();
    EXPECT_EQ(m_ae.Counter(), 1);
    m_ae.Start(true, 4, 30);
    EXPECT_EQ(m_ae.MaxCount(), 12);
    EXPECT_EQ(m_ae.Target(), 30);
    EXPECT_EQ(m_ae.Counter(), 0);
    EXPECT_TRUE(m_ae.Started());
    m_ae.StartEx(false);
    EXPECT_FALSE(m_ae.Started());
    EXPECT_EQ(m_ae.MaxCount(), 12);
    EXPECT_EQ(m_ae.Target(), 30);
    // Counts beyond the int range saturate.
    m_ae.Start(false, std::numeric_limits<int>::max(), 128);
    EXPECT_EQ(m_ae.MaxCount(), std::numeric_limits<int>::max());
    m_ae.Start(false, std::numeric_limits<int>::min(), 128);
    EXPECT_EQ(m_ae.MaxCount(), std::numeric_limits<int>::min());
    EXPECT_EQ(m_ae.SetTarget(90), RET_SUCCESS);
    EXPECT_EQ(m_ae.Target(), 90);
    EXPECT_EQ(m_camera.nOnChipTarget, 90) << "offered to the sensor's own AE too";
}

TEST_F(AutoExposureTest, ExposureTimeRangeIsNarrowedToTheSensorsRange) {
    m_camera.bHasOnChipAE = true;
    const int nSensorMaxLines = m_camera.nMaxLines;
    const float fSensorMax = m_camera.AEExposureLinesToTime(nSensorMaxLines);
    const struct {
        float fMin, fMax;
        float fStoredMin, fStoredMax;
        uint32_t nLineMin, nLineMax;
        uint16_t wOnChipMin, wOnChipMax;
    } kCases[] = {
        {0.5f, 20.0f, 0.5f, 20.0f, 50, 2000, 50, 2000},
        {-3.0f, 1e9f, 0.01f, fSensorMax, 1, static_cast<uint32_t>(nSensorMaxLines), 1, 0xFFFF},
        {NAN, NAN, 0.01f, fSensorMax, 1, static_cast<uint32_t>(nSensorMaxLines), 1, 0xFFFF},
        {30.0f, 10.0f, 30.0f, 10.0f, 3000, 1000, 3000, 1000},  // kept as given
    };
    for (const auto& c : kCases) {
        m_ae.SetExposureTimeRange(c.fMin, c.fMax);
        EXPECT_FLOAT_EQ(m_ae.ExposureTimeMin(), c.fStoredMin) << c.fMin;
        EXPECT_FLOAT_EQ(m_ae.ExposureTimeMax(), c.fStoredMax) << c.fMax;
        EXPECT_EQ(m_ae.ExposureLineMin(), c.nLineMin) << c.fMin;
        EXPECT_EQ(m_ae.ExposureLineMax(), c.nLineMax) << c.fMax;
        EXPECT_EQ(m_camera.wOnChipMin, c.wOnChipMin) << c.fMin;
        EXPECT_EQ(m_camera.wOnChipMax, c.wOnChipMax) << c.fMax;
    }
}

TEST_F(AutoExposureTest, StepsStayWithinTheLineBounds) {
    m_ae.SetExposureTimeRange(5.0f, 15.0f);  // 500 .. 1500 lines
    const struct {
        int nGrey;
        int nTarget;
        std::vector<int> linesSet;
    } kCases[] = {
        {10, 128, {1500}},  // 12800 lines wanted
        {250, 10, {500}},   // 40 lines wanted
        {50, -100, {500}},  // a negative target wants fewer than 0 lines
    };
    for (const auto& c : kCases) {
        m_camera.nLines = 1000;
        m_camera.linesSet.clear();
        m_scene = Constant(c.nGrey);
        m_ae.Start(true, 10, c.nTarget);
        Frame();
        EXPECT_EQ(m_camera.linesSet, c.linesSet) << c.nGrey;
    }
}

TEST_F(AutoExposureTest, FramesWithoutPixelsAreNotMeasured) {
    m_ae.StartEx(true);
    m_frame.assign(1, 0);
    m_ae.RawData8_Do_3A_AE(m_frame.data(), 0, kFrameHeight, false);
    m_ae.RawData8_Do_3A_AE(m_frame.data(), kFrameWidth, 0, false);
    m_ae.RawData8_Do_3A_AE(nullptr, kFrameWidth, kFrameHeight, false);
    EXPECT_TRUE(m_calls.empty());
    EXPECT_EQ(m_ae.Counter(), 0);

    // A frame of one pixel is measured whole.
    m_frame.assign(1, 50);
    m_ae.RawData8_Do_3A_AE(m_frame.data(), 1, 1, false);
    EXPECT_EQ(m_ae.RealRegion(), (FrameRegion{0, 0, 1, 1}));
    EXPECT_EQ(m_camera.linesSet, std::vector<int>{2560});
}

// Regions clamped to a 16 x 12 frame with a margin of 3, as measured.
TEST_F(AutoExposureTest, RegionIsClampedToEachFrame) {
    const struct {
        FrameRegion set;
        bool bRowsBottomUp;
        FrameRegion real;
    } kCases[] = {
        {{2, 1, 5, 4}, false, {2, 1, 5, 4}},        {{2, 1, 5, 4}, true, {2, 7, 5, 4}},
        {{100, 100, 10, 10}, false, {13, 9, 3, 3}},  // beyond the bottom-right corner
        {{100, 100, 10, 10}, true, {13, 0, 3, 3}},  {{-5, -5, 0, -7}, false, {0, 0, 3, 3}},
        {{-5, -5, 0, -7}, true, {0, 9, 3, 3}},      {{10, 8, 1000, 1000}, false, {10, 8, 6, 4}},
        {{0, 0, 16, 12}, true, {0, 0, 16, 12}},
    };
    for (const auto& c : kCases) {
        m_ae.SetRegion(c.set);
        m_ae.StartEx(true);
        m_frame.assign(kFrameWidth * kFrameHeight, 128);
        m_ae.RawData8_Do_3A_AE(m_frame.data(), kFrameWidth, kFrameHeight, c.bRowsBottomUp);
        const FrameRegion real = m_ae.RealRegion();
        EXPECT_EQ(real, c.real) << c.set.x << ", " << c.set.y << ", " << c.set.width << ", "
                                << c.set.height << (c.bRowsBottomUp ? " bottom-up" : "");
    }
}

// Only the region's pixels count: a bright 3 x 3 corner in a black frame.
TEST_F(AutoExposureTest, RegionBeyondTheCornerMeasuresTheCornersPixels) {
    for (const bool bRowsBottomUp : {false, true}) {
        m_statuses.clear();
        std::vector<uint8_t> frame(kFrameWidth * kFrameHeight, 0);
        const int nFirstRow = bRowsBottomUp ? 0 : kFrameHeight - 3;
        for (int nRow = nFirstRow; nRow < nFirstRow + 3; ++nRow) {
            for (int nColumn = kFrameWidth - 3; nColumn < kFrameWidth; ++nColumn) {
                frame[nRow * kFrameWidth + nColumn] = 128;
            }
        }
        m_ae.SetRegion({500, 500, 40, 40});
        m_ae.StartEx(true);
        m_ae.RawData8_Do_3A_AE(frame.data(), kFrameWidth, kFrameHeight, bRowsBottomUp);
        EXPECT_EQ(m_statuses, std::vector<int>{CAutoExposure::kSuccess}) << bRowsBottomUp;
    }
}

}  // namespace
