// Automatic exposure and the focus measure as the station runs them, on the
// simulator's gel scene: a preview with the AE and focus callbacks.
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "OpenedCamera.h"
#include "sensors/MT9M001.h"

namespace {

struct AeRun {
    std::mutex mutex;
    std::vector<int> statuses;
    std::atomic<bool> bEnded{false};
    std::atomic<int> nSuccess{-1};
    std::atomic<int> nExposureMs{0};
};

void OnAe(bool bSuccess, int nExposureMs, void* pContext) {
    AeRun& run = *static_cast<AeRun*>(pContext);
    run.nSuccess = bSuccess ? 1 : 0;
    run.nExposureMs = nExposureMs;
}

void OnAeEx(int nStatus, int /*nExposureMs*/, void* pContext) {
    AeRun& run = *static_cast<AeRun*>(pContext);
    std::lock_guard<std::mutex> lock(run.mutex);
    run.statuses.push_back(nStatus);
    if (nStatus != 4) {
        run.bEnded = true;
    }
}

// Mean grey level of a captured frame.
double MeanOfCapture(int nWidth, int nHeight) {
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    EXPECT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    double dSum = 0;
    for (uint8_t v : frame) {
        dSum += v;
    }
    return dSum / static_cast<double>(frame.size());
}

class AutoExposureSceneTest : public OpenedCameraTest {
  protected:
    // The station's camera on the gel scene, previewing 640 x 512 of it.
    void OpenOnTheScene() {
        MlSimProfile profile = CameraProfile(kTypeMono1280);
        profile.content = MLSIM_CONTENT_SCENE;
        Open(profile);
        ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 320, 256, 640, 512, 0, 0), RET_SUCCESS);
        ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 320, 256, 640, 512, 0, 0), RET_SUCCESS);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 8), RET_SUCCESS);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 5), RET_SUCCESS);
        ASSERT_EQ(ZDQ_AESetCallback(0, OnAe, &m_run), RET_SUCCESS);
        ASSERT_EQ(ZDQ_AESetCallbackEx(0, OnAeEx, &m_run), RET_SUCCESS);
    }

    AeRun m_run;
};

TEST_F(AutoExposureSceneTest, ConvergesOnTheGelScene) {
    OpenOnTheScene();
    // The centre of the gel is mostly dark background: at the station's gain
    // its mean would reach the target only past the longest exposure the AE
    // may choose, so the chip's highest gain (8x).
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 40), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewStartEx(0, true, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AEStart(0, true, 20, 30), RET_SUCCESS);
    ASSERT_TRUE(WaitFor([&] { return m_run.bEnded.load(); }));
    EXPECT_EQ(m_run.nSuccess, 1);
    {
        std::lock_guard<std::mutex> lock(m_run.mutex);
        EXPECT_EQ(m_run.statuses.back(), 0);
        EXPECT_GE(m_run.statuses.size(), 2u) << "it had to change the exposure";
    }
    bool bStarted = true;
    ASSERT_EQ(ZDQ_AEGetStatusEx(0, &bStarted, nullptr, nullptr), RET_SUCCESS);
    EXPECT_FALSE(bStarted) << "a limited run ends by itself";
    int nMs = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE, &nMs), RET_SUCCESS);
    EXPECT_EQ(nMs, m_run.nExposureMs);
    EXPECT_GT(nMs, 5);
    // A still capture with the converged exposure sits within 10 of the
    // target (the capture pauses the preview around it).
    EXPECT_NEAR(MeanOfCapture(640, 512), 30.0, 10.5);
    ASSERT_EQ(ZDQ_PreviewStart(0, false), RET_SUCCESS);
}

TEST_F(AutoExposureSceneTest, ADarkSceneEndsAtTheLongestExposure) {
    OpenOnTheScene();
    // No gain in the chip: only the black level is left.
    ASSERT_EQ(mlsim_sensor_write(0, CMT9M001::Green1Gain, 0), 1);
    ASSERT_EQ(ZDQ_PreviewStart(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AEStart(0, true, 20, 30), RET_SUCCESS);
    ASSERT_TRUE(WaitFor([&] { return m_run.bEnded.load(); }));
    {
        std::lock_guard<std::mutex> lock(m_run.mutex);
        EXPECT_EQ(m_run.statuses.back(), 3) << "wanted beyond the bound, and already there";
    }
    int nLines = 0, nMin = 0, nMax = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE_LINES, &nLines), RET_SUCCESS);
    ASSERT_EQ(ZDQ_GetParamRange(0, ZDQ_EXPOSURE_LINES, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nLines, nMax);
    ASSERT_EQ(ZDQ_PreviewStart(0, false), RET_SUCCESS);
}

std::atomic<int> g_nFocus{-1};
void OnFocus(int nValue, void* /*pContext*/) {
    g_nFocus = nValue;
}

// A lens sweep through the focus at the station's first-start exposure and
// gain (300 ms, 2x: the bands bright but unclipped) and at two thirds of it.
TEST_F(AutoExposureSceneTest, TheFocusMeasurePeaksWhereTheBlurIsSmallest) {
    OpenOnTheScene();
    ASSERT_EQ(ZDQ_AFSetCallback(0, OnFocus, nullptr), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AFStart(0, true), RET_SUCCESS);
    std::vector<uint8_t> frame(640 * 512);
    for (int nExposureMs : {300, 200}) {
        SCOPED_TRACE(nExposureMs);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, nExposureMs), RET_SUCCESS);
        // Blur 6 .. 0 .. 6.
        const int kBlur[] = {6, 4, 2, 1, 0, 1, 2, 4, 6};
        std::vector<int> values;
        for (int nBlur : kBlur) {
            ASSERT_EQ(mlsim_set_blur(0, nBlur), 1);
            g_nFocus = -1;
            ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
            ASSERT_GE(g_nFocus, 0);
            values.push_back(g_nFocus);
        }
        const size_t nPeak = std::max_element(values.begin(), values.end()) - values.begin();
        EXPECT_EQ(kBlur[nPeak], 0);
        for (size_t i = 1; i <= 4; ++i) {
            EXPECT_LT(values[i - 1], values[i]) << "sharper towards the focus";
            EXPECT_GT(values[4 + i - 1], values[4 + i]) << "blurrier away from it";
        }
    }
}

}  // namespace
