// The calibration map: built from a camera model (identity, radial
// distortion against a double-precision reference), the remap of raw and
// RGB frames, the map file and its damaged forms, the exports.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include "ColourCamera.h"
#include "acquisition/CalibrationMap.h"
#include "platform/WideText.h"

namespace {

// K = (fx 0 cx / 0 fy cy / 0 0 1) and the distortion.
std::vector<float> Model(float fx, float fy, float cx, float cy, float k1) {
    return {fx, 0, cx, 0, fy, cy, 0, 0, 1, k1, 0, 0, 0, 0};
}

TEST(CalibrationMapTest, UndistortedModelGivesTheIdentity) {
    CCalibrationMap map;
    const std::vector<float> model = Model(500, 400, 20, 10, 0);
    ASSERT_TRUE(map.BuildFromModel(model.data(), 40, 30));
    EXPECT_EQ(map.MapHeader().nFractionBits, 10u);
    EXPECT_EQ(map.MapHeader().nXSize, 40u * 30 * 2);
    for (size_t k = 0; k < 40 * 30; ++k) {
        ASSERT_EQ(map.SourceColumn(k), k % 40) << k;
        ASSERT_EQ(map.SourceRow(k), k / 40) << k;
        ASSERT_EQ(map.SourceColumnFraction(k), 0);
        ASSERT_EQ(map.SourceRowFraction(k), 0);
    }
    std::vector<uint8_t> frame(40 * 30 * 3);
    for (size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<uint8_t>(i * 7);
    }
    const std::vector<uint8_t> before = frame;
    map.SetCapture(true);
    map.ApplyRgb(frame.data(), 40, 30, 24);
    EXPECT_EQ(frame, before);
}

TEST(CalibrationMapTest, RadialDistortionMatchesTheReference) {
    CCalibrationMap map;
    const double fx = 60, fy = 50, cx = 31.5, cy = 23.5, k1 = -0.2;
    const std::vector<float> model = Model(60, 50, 31.5f, 23.5f, -0.2f);
    ASSERT_TRUE(map.BuildFromModel(model.data(), 64, 48));
    const int kPixels[][2] = {{0, 0}, {63, 47}, {10, 40}, {50, 5}, {32, 24}, {1, 46}};
    for (const auto& p : kPixels) {
        const int j = p[0], i = p[1];
        const double x = (j - cx) / fx, y = (i - cy) / fy;
        const double r2 = x * x + y * y;
        const double u = fx * x * (1 + k1 * r2) + cx;
        const double v = fy * y * (1 + k1 * r2) + cy;
        const size_t k = static_cast<size_t>(i) * 64 + j;
        SCOPED_TRACE(k);
        EXPECT_EQ(map.SourceColumn(k), static_cast<int>(u));
        EXPECT_NEAR(map.SourceColumnFraction(k), (u - std::floor(u)) * 1024, 1.0);
        EXPECT_EQ(map.SourceRow(k), static_cast<int>(v));
        EXPECT_NEAR(map.SourceRowFraction(k), (v - std::floor(v)) * 1024, 1.0);
    }
}

TEST(CalibrationMapTest, UnusableModelsGiveNoMap) {
    CCalibrationMap map;
    std::vector<float> singular = Model(0, 50, 1, 1, 0);
    EXPECT_FALSE(map.BuildFromModel(singular.data(), 8, 8));
    std::vector<float> infinite = Model(50, 50, 1, 1, 0);
    infinite[9] = INFINITY;
    EXPECT_FALSE(map.BuildFromModel(infinite.data(), 8, 8));
    EXPECT_FALSE(map.Present());
}

TEST(CalibrationMapTest, RemapInterpolatesAndBlanksOutsidePixels) {
    // A shift by half a pixel to the right and beyond the bottom edge.
    CCalibrationMap map;
    const std::vector<float> model = Model(1, 1, 0, 0, 0);
    ASSERT_TRUE(map.BuildFromModel(model.data(), 4, 4));
    const std::string path = ScratchPath("shifted.map");
    {
        // The same map as a file, every source half a column right and one
        // row down.
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        auto put = [&](uint32_t v, int n) {
            for (int b = 0; b < n; ++b) {
                file.put(static_cast<char>(v >> (8 * b)));
            }
        };
        put(0x4D43, 2);
        put(0x0100, 2);
        put(4, 4);
        put(4, 4);
        put(2, 4);  // fraction bits
        put(32, 4);
        put(32, 4);
        for (int k = 0; k < 16; ++k)
            put(k % 4, 2);
        for (int k = 0; k < 16; ++k)
            put(2, 2);  // half a column
        for (int k = 0; k < 16; ++k)
            put(k / 4 + 1, 2);
        for (int k = 0; k < 16; ++k)
            put(0, 2);
    }
    ASSERT_EQ(map.LoadFile(path.c_str()), RET_SUCCESS);
    std::vector<uint8_t> raw = {0,  10, 20,  30,  40,  50,  60,  70,
                                80, 90, 100, 110, 120, 130, 140, 150};
    map.ApplyRaw(raw.data(), 4, 4);
    // Raw frames use the row fraction only (0 here): the pixel one row down;
    // the last row's sources lie outside.
    const std::vector<uint8_t> rawExpected = {40,  50,  60,  70,  80, 90, 100, 110,
                                              120, 130, 140, 150, 0,  0,  0,   0};
    EXPECT_EQ(raw, rawExpected);
    std::vector<uint8_t> rgb(16 * 3);
    for (int k = 0; k < 16; ++k) {
        rgb[3 * k] = rgb[3 * k + 1] = rgb[3 * k + 2] = static_cast<uint8_t>(10 * k);
    }
    map.ApplyRgb(rgb.data(), 4, 4, 24);
    // Half way to the right neighbour, except in the last column (copied).
    EXPECT_EQ(rgb[0], 45);
    EXPECT_EQ(rgb[3 * 2], 65);
    EXPECT_EQ(rgb[3 * 3], 70);
    EXPECT_EQ(rgb[3 * 12], 0);
    // Nearest-pixel mode takes the source as it is.
    map.SetMode(0);
    std::vector<uint8_t> nearest = {0,  10, 20,  30,  40,  50,  60,  70,
                                    80, 90, 100, 110, 120, 130, 140, 150};
    map.ApplyRaw(nearest.data(), 4, 4);
    EXPECT_EQ(nearest, rawExpected);
    // A frame of another size passes unchanged.
    std::vector<uint8_t> other(5 * 4, 9);
    map.ApplyRaw(other.data(), 5, 4);
    EXPECT_EQ(other, std::vector<uint8_t>(5 * 4, 9));
    std::remove(path.c_str());
}

TEST(CalibrationMapTest, DamagedFilesAreRefusedAndKeepTheMap) {
    const std::string path = ScratchPath("damaged.map");
    auto write = [&](uint16_t magic, uint16_t version, uint32_t w, uint32_t h, uint32_t bits,
                     uint32_t xs, uint32_t ys, size_t nData) {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        auto put = [&](uint32_t v, int n) {
            for (int b = 0; b < n; ++b) {
                file.put(static_cast<char>(v >> (8 * b)));
            }
        };
        put(magic, 2);
        put(version, 2);
        put(w, 4);
        put(h, 4);
        put(bits, 4);
        put(xs, 4);
        put(ys, 4);
        for (size_t i = 0; i < nData; ++i) {
            file.put(0);
        }
    };
    const struct {
        uint16_t magic, version;
        uint32_t w, h, bits, xs, ys;
        size_t nData;
        int nRet;
    } kCases[] = {
        {0x4D43, 0x0100, 4, 4, 10, 32, 32, 128, RET_SUCCESS},
        {0x4D44, 0x0100, 4, 4, 10, 32, 32, 128, RET_VERSIONERROR},
        {0x4D43, 0x0101, 4, 4, 10, 32, 32, 128, RET_VERSIONERROR},
        {0x4D43, 0x0100, 4, 4, 16, 32, 32, 128, RET_VERSIONERROR},      // fraction bits
        {0x4D43, 0x0100, 400, 400, 10, 32, 32, 128, RET_VERSIONERROR},  // arrays too small
        {0x4D43, 0x0100, 4, 4, 10, 32, 32, 100, RET_VERSIONERROR},      // file too short
        {0x4D43, 0x0100, 4, 4, 10, 32, 32, 129, RET_VERSIONERROR},      // file too long
        {0x4D43, 0x0100, 4, 4, 10, 32, 32, 10, RET_VERSIONERROR},
    };
    CCalibrationMap map;
    const std::vector<float> model = Model(1, 1, 0, 0, 0);
    ASSERT_TRUE(map.BuildFromModel(model.data(), 8, 8));
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nData);
        write(c.magic, c.version, c.w, c.h, c.bits, c.xs, c.ys, c.nData);
        CCalibrationMap target;
        ASSERT_TRUE(target.BuildFromModel(model.data(), 8, 8));
        EXPECT_EQ(target.LoadFile(path.c_str()), c.nRet);
        EXPECT_EQ(target.MapHeader().nWidth, c.nRet == RET_SUCCESS ? 4u : 8u);
    }
    std::remove(path.c_str());
    EXPECT_EQ(map.LoadFile(path.c_str()), RET_FAIL);
    EXPECT_TRUE(map.Present());
}

class CalibrationExportTest : public ColourCameraTest {};

TEST_F(CalibrationExportTest, FlagsModeAndRemovingTheMap) {
    OpenColour(kFpgaWithoutColour);
    int nMode = 0;
    ASSERT_EQ(ZDQ_GetCalibrationMapMode(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 1);
    ASSERT_EQ(ZDQ_SetCalibrationMapMode(0, 5), RET_SUCCESS);
    ASSERT_EQ(ZDQ_GetCalibrationMapMode(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 5);
    bool bOn = true;
    ASSERT_EQ(ZDQ_PreviewGetCalibration(0, &bOn), RET_SUCCESS);
    EXPECT_FALSE(bOn);
    ASSERT_EQ(ZDQ_CaptureSetCalibration(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureGetCalibration(0, &bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    EXPECT_EQ(ZDQ_LoadCalibrationMapFile(0, nullptr), RET_SUCCESS);
    const std::wstring missing = plat::WideFromUtf8(ScratchPath("missing.map"));
    EXPECT_EQ(ZDQ_LoadCalibrationMapFile(0, missing.c_str()), RET_FAIL);
    // Without a map the frames pass unchanged.
    const Rgb c = Centre(CapturePatch(2, 1));
    EXPECT_EQ(c.r, ChartByte(ChartPatch(2, 1).r));
}

// A thread that holds the raw post lock and then takes the Bayer lock (an
// automatic-exposure callback calling a colour setter) is not held up by a
// map change: the change never waits for one lock while holding the other.
TEST_F(CalibrationExportTest, AMapChangeNeverHoldsTheBayerLockWhileWaitingForTheRawPostLock) {
    CDevice& device = OpenColour(kFpgaWithoutColour);
    std::atomic<bool> bRawPostHeld{false};
    std::atomic<bool> bGotBayer{false};
    std::thread callback([&] {
        std::lock_guard<plat::CriticalSection> rawPost(device.RawPostLock());
        bRawPostHeld = true;
        // Time for the map change to reach its locks.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        for (int i = 0; i < 1000 && !bGotBayer; ++i) {
            if (device.BayerLock().TryEnter()) {
                device.BayerLock().Leave();
                bGotBayer = true;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
    });
    while (!bRawPostHeld) {
        std::this_thread::yield();
    }
    EXPECT_EQ(ZDQ_LoadCalibrationMapFile(0, nullptr), RET_SUCCESS);
    callback.join();
    EXPECT_TRUE(bGotBayer);
}

TEST_F(CalibrationExportTest, RawCaptureOfAMonochromeCameraIsRemapped) {
    Open(kTypeMono2592);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 64, 48, 0, 0), RET_SUCCESS);
    const std::string path = ScratchPath("row-down.map");
    {
        // Every pixel takes the pixel one row below it.
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        auto put = [&](uint32_t v, int n) {
            for (int b = 0; b < n; ++b) {
                file.put(static_cast<char>(v >> (8 * b)));
            }
        };
        put(0x4D43, 2);
        put(0x0100, 2);
        put(64, 4);
        put(48, 4);
        put(10, 4);
        put(64 * 48 * 2, 4);
        put(64 * 48 * 2, 4);
        for (int k = 0; k < 64 * 48; ++k)
            put(k % 64, 2);
        for (int k = 0; k < 64 * 48; ++k)
            put(0, 2);
        for (int k = 0; k < 64 * 48; ++k)
            put(k / 64 + 1, 2);
        for (int k = 0; k < 64 * 48; ++k)
            put(0, 2);
    }
    const std::wstring wide = plat::WideFromUtf8(path);
    ASSERT_EQ(ZDQ_LoadCalibrationMapFile(0, wide.c_str()), RET_SUCCESS);
    std::vector<uint8_t> plain(64 * 48), mapped(64 * 48);
    ASSERT_EQ(ZDQ_CaptureRawData(0, plain.data()), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetCalibration(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureRawData(0, mapped.data()), RET_SUCCESS);
    // The pattern of the next frame is one higher everywhere.
    for (int r = 0; r < 48; ++r) {
        for (int c = 0; c < 64; ++c) {
            const uint8_t expected =
                r == 47 ? 0 : static_cast<uint8_t>(plain[(r + 1) * 64 + c] + 1);
            ASSERT_EQ(mapped[r * 64 + c], expected) << r << ", " << c;
        }
    }
    std::remove(path.c_str());
}

TEST_F(CalibrationExportTest, RecordInTheCameraGivesTheMapAtOpen) {
    CDevice& device = OpenColour(kFpgaWithoutColour);
    EXPECT_FALSE(device.CalibrationMap().Present()) << "an erased memory holds no record";
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 64, 48, 0, 0), RET_SUCCESS);
    const std::vector<float> model = Model(60, 50, 31.5f, 23.5f, -0.2f);
    ASSERT_EQ(ZDQ_CalibrationProgram(0, model.data()), RET_SUCCESS);
    std::vector<float> back(14, 0.0f);
    ASSERT_EQ(ZDQ_CalibrationReadout(0, reinterpret_cast<unsigned char*>(back.data())),
              RET_SUCCESS);
    EXPECT_EQ(back, model);
    EXPECT_EQ(ZDQ_CalibrationProgram(0, nullptr), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_CalibrationReadout(0, nullptr), RET_PARAMERROR);
    ZDQ_UnInit();
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    ASSERT_TRUE(pDevice->CalibrationMap().Present());
    EXPECT_EQ(pDevice->CalibrationMap().MapHeader().nWidth, 64u);
    EXPECT_EQ(pDevice->CalibrationMap().MapHeader().nHeight, 48u);
    // A count above 14 is refused and the data left as it is.
    uint8_t header[16] = {};
    const uint32_t nHeaderAddress = 0x3A20;  // memory kind 2
    ASSERT_EQ(mlsim_eeprom_read(0, nHeaderAddress, header, 16), 1);
    header[12] = 15;
    ASSERT_EQ(mlsim_eeprom_write(0, nHeaderAddress, header, 16), 1);
    std::vector<uint8_t> untouched(56, 0xAB);
    EXPECT_EQ(ZDQ_CalibrationReadout(0, untouched.data()), RET_ILLEGALOPERATION);
    EXPECT_EQ(untouched, std::vector<uint8_t>(56, 0xAB));
    header[0] = 0;
    ASSERT_EQ(mlsim_eeprom_write(0, nHeaderAddress, header, 16), 1);
    EXPECT_EQ(ZDQ_CalibrationReadout(0, untouched.data()), RET_VERSIONERROR);
    // Monochrome station cameras keep their parameters in a small memory
    // without the record.
    ZDQ_UnInit();
    mlsim_unplug_all();
    Open(kTypeMono2592);
    EXPECT_EQ(ZDQ_CalibrationReadout(0, untouched.data()), RET_NOTSUPPORT);
}

}  // namespace
