// The colour path in a running preview: settings, tables, cubes and the map
// changed by the application's thread while the preview converts frames
// (run under ThreadSanitizer as well).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <vector>

#include "ColourCamera.h"
#include "platform/WideText.h"

namespace {

std::atomic<int> g_nFrames{0};

void CountFrame(unsigned char*, int, int, int, void*) {
    ++g_nFrames;
}

void OnGains(float*, void*) {}

// The last frame handed to a preview callback.
struct LastFrame {
    std::mutex mutex;
    std::atomic<int> nFrames{0};
    int nBitCount = 0;
    std::vector<uint8_t> bytes;
};

void KeepFrame(unsigned char* pData, int nWidth, int nHeight, int nBitCount, void* pContext) {
    LastFrame& last = *static_cast<LastFrame*>(pContext);
    std::lock_guard<std::mutex> lock(last.mutex);
    last.nBitCount = nBitCount;
    last.bytes.assign(pData, pData + static_cast<size_t>(nWidth) * nHeight * nBitCount / 8);
    ++last.nFrames;
}

// Writes an identity calibration map file for a frame of nWidth x nHeight.
void WriteIdentityMap(const std::string& path, uint32_t nWidth, uint32_t nHeight) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    auto put = [&](uint32_t v, int n) {
        for (int b = 0; b < n; ++b) {
            file.put(static_cast<char>(v >> (8 * b)));
        }
    };
    const uint32_t nSize = nWidth * nHeight * 2;
    put(0x4D43, 2);
    put(0x0100, 2);
    put(nWidth, 4);
    put(nHeight, 4);
    put(10, 4);
    put(nSize, 4);
    put(nSize, 4);
    for (uint32_t k = 0; k < nWidth * nHeight; ++k)
        put(k % nWidth, 2);
    for (uint32_t k = 0; k < nWidth * nHeight; ++k)
        put(0, 2);
    for (uint32_t k = 0; k < nWidth * nHeight; ++k)
        put(k / nWidth, 2);
    for (uint32_t k = 0; k < nWidth * nHeight; ++k)
        put(0, 2);
}

class ColourPreviewTest : public ColourCameraTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ColourPreviewTest, SettingsChangeWhileFramesAreConverted) {
    OpenColour();
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 128, 96, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewSetCallback(0, CountFrame, nullptr), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalanceAutoSetCallBack(0, OnGains, nullptr), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AWBShowRegion(0, true), RET_SUCCESS);
    const std::string path = ScratchPath("preview-identity.map");
    WriteIdentityMap(path, 128, 96);
    const std::wstring map = plat::WideFromUtf8(path);
    g_nFrames = 0;
    ASSERT_EQ(ZDQ_PreviewStartEx(0, true, GetParam()), RET_SUCCESS);
    const float fGains[3] = {1.5f, 1.0f, 0.75f};
    const float fMatrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 12; ++i) {
        const int nFrames = g_nFrames;
        ASSERT_EQ(ZDQ_WhiteBalanceSet(0, i % 9), RET_SUCCESS);
        ZDQ_WhiteBalanceMatrixSet(0, const_cast<float*>(fGains));
        ASSERT_EQ(ZDQ_ColorCorrectionSet(0, i % 3), RET_SUCCESS);
        ZDQ_ColorCorrectionMatrixSet(0, const_cast<float*>(fMatrix));
        ASSERT_EQ(ZDQ_ColorCorrectSet(0, i % 5, 180, 180, 180), RET_SUCCESS);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED_SHIFT, i), RET_SUCCESS);
        ASSERT_EQ(ZDQ_AWBSetRegion(0, i, i, 64, 48), RET_SUCCESS);
        ASSERT_EQ(ZDQ_AWBStart(0, i % 2 == 0, 2, 120, 120, 120), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewSetCalibration(0, i % 2 == 0), RET_SUCCESS);
        ASSERT_EQ(ZDQ_BayerSetMode(0, i % 4), RET_SUCCESS);
        ASSERT_EQ(ZDQ_LoadCalibrationMapFile(0, i % 3 == 0 ? nullptr : map.c_str()), RET_SUCCESS);
        if (i == 4) {
            // Each cube is rebuilt once, at the next frame.
            ASSERT_EQ(ZDQ_HueSaturationSetEnable(0, true), RET_SUCCESS);
            ASSERT_EQ(ZDQ_HueSaturationSet(0, 0, 30, 0, 0), RET_SUCCESS);
            ASSERT_EQ(ZDQ_SetParam(0, ZDQ_SATURATION, 40), RET_SUCCESS);
        }
        ASSERT_TRUE(WaitFor([&] { return g_nFrames > nFrames; })) << "frames go on";
    }
    ASSERT_EQ(ZDQ_PreviewStartEx(0, false, GetParam()), RET_SUCCESS);
    std::remove(path.c_str());
}

// Raw frames are shown as they were caught, colour frames converted: a
// change between the two while frames are shown hands the callback frames of
// the new kind, and a pause keeps the frame drawn last, whichever kind.
TEST_P(ColourPreviewTest, RawAndColourOutputChangeWhileFramesAreShown) {
    OpenColour();
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 128, 96, 0, 0), RET_SUCCESS);
    LastFrame last;
    ASSERT_EQ(ZDQ_PreviewSetCallback(0, KeepFrame, &last), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewStartEx(0, true, GetParam()), RET_SUCCESS);
    for (const int nMode : {0, 1, 0, 1, 0}) {
        ASSERT_EQ(ZDQ_PreviewSetMode(0, nMode), RET_SUCCESS);
        int nBits = 0;
        ASSERT_TRUE(WaitFor([&] {
            std::lock_guard<std::mutex> lock(last.mutex);
            nBits = last.nBitCount;
            return (nMode == 0) == (nBits == 8);
        })) << "output mode "
            << nMode;
        const int nFrames = last.nFrames;
        ASSERT_TRUE(WaitFor([&] { return last.nFrames > nFrames + 2; }));
        ASSERT_EQ(ZDQ_PreviewPause(0, true), RET_SUCCESS);
        const int nPaused = last.nFrames;
        ASSERT_TRUE(WaitFor([&] { return last.nFrames > nPaused; })) << "drawn again";
        std::vector<uint8_t> paused(128 * 96 * 4);
        int nWidth = 0, nHeight = 0, nPausedBits = 0;
        ASSERT_EQ(ZDQ_PreviewGetPausedDataEx(0, paused.data(), &nWidth, &nHeight, &nPausedBits),
                  RET_SUCCESS);
        {
            std::lock_guard<std::mutex> lock(last.mutex);
            EXPECT_EQ(nPausedBits, last.nBitCount);
            paused.resize(last.bytes.size());
            EXPECT_TRUE(paused == last.bytes) << "output mode " << nMode;
        }
        ASSERT_EQ(ZDQ_PreviewPause(0, false), RET_SUCCESS);
    }
    ASSERT_EQ(ZDQ_PreviewStartEx(0, false, GetParam()), RET_SUCCESS);
}

INSTANTIATE_TEST_SUITE_P(Engines, ColourPreviewTest, ::testing::Values(false, true));

}  // namespace
