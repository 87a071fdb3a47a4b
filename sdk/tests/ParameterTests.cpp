// Camera parameters on opened simulated cameras: ranges, the values read
// back, what lands in the chip, the process tables, the capability query.
#include <climits>
#include <cmath>

#include "OpenedCamera.h"
#include "acquisition/ProcessTables.h"
#include "capability/DeviceCapability.h"
#include "sensors/MT9M001.h"

namespace {

class ParameterTest : public OpenedCameraTest {};

uint16_t Chip(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1);
    return wValue;
}

TEST(ProcessTables, TablesFollowTheirFormulas) {
    // Contrast -128 flattens everything to mid grey; 127 nearly doubles the
    // slope around 128; brightness scales; gamma 0 is the identity.
    const auto flat = CProcessTables::ContrastTable(-128);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(flat[i], 128) << i;
    }
    const auto steep = CProcessTables::ContrastTable(127);
    EXPECT_EQ(steep[0], 0);
    EXPECT_EQ(steep[127], 127);  // 128 + (-1 * 255) / 128 truncates toward zero
    EXPECT_EQ(steep[129], 129);
    EXPECT_EQ(steep[192], 255);
    const auto contrast10 = CProcessTables::ContrastTable(10);
    EXPECT_EQ(contrast10[0], 0);      // 128 - 138 = -10
    EXPECT_EQ(contrast10[100], 98);   // 128 + (-28 * 138) / 128 = 128 - 30
    EXPECT_EQ(contrast10[200], 205);  // 128 + (72 * 138) / 128 = 128 + 77
    const auto brightness25 = CProcessTables::BrightnessTable(25);
    EXPECT_EQ(brightness25[100], 119);  // 100 * 153 / 128
    EXPECT_EQ(brightness25[250], 255);
    const auto gamma0 = CProcessTables::GammaTable(0);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(gamma0[i], i);
    }
    for (int g : {-9, 5, 9}) {
        const auto table = CProcessTables::GammaTable(g);
        const float e = 1.0f - static_cast<float>(g) / 10.0f;
        for (int i : {0, 1, 64, 128, 255}) {
            const float v = std::pow((static_cast<float>(i) + 0.5f) / 256.0f, e) * 256.0f - 0.5f;
            EXPECT_EQ(table[i], static_cast<int>(v)) << g << " " << i;
        }
    }
}

TEST(ProcessTables, SettersClampAndCompare) {
    CProcessTables tables;
    uint8_t frame[3] = {10, 128, 250};
    EXPECT_EQ(tables.SetContrast(0), 1);
    tables.Apply(frame, 3);
    EXPECT_EQ(frame[0], 10) << "all settings 0: frames untouched";
    EXPECT_EQ(tables.SetContrast(300), 1);
    EXPECT_EQ(tables.Contrast(), 127);
    EXPECT_EQ(tables.SetGamma(12), 1);
    EXPECT_EQ(tables.Gamma(), 9);
    EXPECT_EQ(tables.SetBrightness(-500), 1);
    EXPECT_EQ(tables.Brightness(), -128);
    tables.Apply(frame, 3);
    EXPECT_EQ(frame[0], 0) << "brightness -128 maps everything to 0";
    EXPECT_EQ(frame[2], 0);
    // The three apply in the order gamma, contrast, brightness.
    CProcessTables order;
    order.SetGamma(-5);
    order.SetContrast(40);
    order.SetBrightness(20);
    uint8_t sample[1] = {77};
    order.Apply(sample, 1);
    const auto g = CProcessTables::GammaTable(-5);
    const auto c = CProcessTables::ContrastTable(40);
    const auto b = CProcessTables::BrightnessTable(20);
    EXPECT_EQ(sample[0], b[c[g[77]]]);
}

TEST_F(ParameterTest, TheStationsParametersLandInTheChip) {
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 300), RET_SUCCESS);
    const int64_t nLines = device.SensorExposureTimeToLines(300.0f);
    EXPECT_EQ(Chip(CMT9M001::ShutterWidth), std::min<int64_t>(nLines, 0x3FFF));
    int nMs = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE, &nMs), RET_SUCCESS);
    EXPECT_NEAR(nMs, 300, 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 8), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::GlobalGain) & 0x7F, CMT9M001::GainTableValue(8));
    int nGain = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_RED, &nGain), RET_SUCCESS);
    EXPECT_EQ(nGain, 8);
    for (auto param : {ZDQ_CONTRAST, ZDQ_BRIGHTNESS, ZDQ_GAMMA}) {
        ASSERT_EQ(ZDQ_SetParam(0, param, 7), RET_SUCCESS);
        int v = 0;
        ASSERT_EQ(ZDQ_GetParam(0, param, &v), RET_SUCCESS);
        EXPECT_EQ(v, 7);
    }
    // Mirror in software (no chip traffic), flip in the chip.
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_MIRROR, 1), RET_SUCCESS);
    EXPECT_TRUE(VendorJournal(0).empty());
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_FLIP, 0), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::ReadMode2) & 0x8000, 0);
    int v = -1;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_MIRROR, &v), RET_SUCCESS);
    EXPECT_EQ(v, 1);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_FLIP, &v), RET_SUCCESS);
    EXPECT_EQ(v, 0);
}

TEST_F(ParameterTest, RangesOfAMonochromeCamera) {
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 1000, 800, 0, 0), RET_SUCCESS);
    const struct {
        ZDQ_PARAM param;
        int nResult, nMin, nMax;
    } kCases[] = {
        {ZDQ_RED, RET_SUCCESS, 0, 47},
        {ZDQ_GAMMA, RET_SUCCESS, -9, 9},
        {ZDQ_CAPTURE_COLUMNSTART, RET_SUCCESS, 0, 280},
        {ZDQ_CAPTURE_ROWSTART, RET_SUCCESS, 0, 224},
        {ZDQ_HORIZONTALBLANK, RET_SUCCESS, 9, 2047},
        {ZDQ_VERTICALBLANK, RET_SUCCESS, 25, 2047},
        {ZDQ_FLIP, RET_SUCCESS, 0, 1},
        {ZDQ_CONTRAST, RET_SUCCESS, -128, 127},
        {ZDQ_RED_SHIFT, RET_SUCCESS, -255, 255},
        {ZDQ_EXPOSURE_LINES, RET_SUCCESS, 1, 0x3FFF},
        {ZDQ_SATURATION, RET_NOTSUPPORT, 0, 0},
        {ZDQ_VGAGAIN, RET_NOTSUPPORT, 0, 0},
        {ZDQ_COMPANDING, RET_NOTSUPPORT, 0, 0},
        {ZDQ_TRIGGERDELAY, RET_NOTSUPPORT, 0, 0},
        {ZDQ_TRIGGER_MODE, RET_SUCCESS, 0, 3},
        {ZDQ_TRIGGER_METHOD, RET_NOTSUPPORT, 0, 0},
        {ZDQ_BLACKLEVEL, RET_SUCCESS, 0, 3},
        {ZDQ_BLACKLEVEL_THRESHOLD_AUTO, RET_SUCCESS, 0, 1},
        {ZDQ_BLACKLEVEL_THRESHOLD_LO, RET_SUCCESS, 0, 63},
        {ZDQ_BLACKLEVEL_THRESHOLD_UPPER, RET_SUCCESS, 0, 127},
        {static_cast<ZDQ_PARAM>(33), RET_NOTSUPPORT, 0, 0},
        {static_cast<ZDQ_PARAM>(-1), RET_NOTSUPPORT, 0, 0},
    };
    for (const auto& c : kCases) {
        int nMin = 99, nMax = 99;
        EXPECT_EQ(ZDQ_GetParamRange(0, c.param, &nMin, &nMax), c.nResult) << c.param;
        EXPECT_EQ(nMin, c.nMin) << c.param;
        EXPECT_EQ(nMax, c.nMax) << c.param;
    }
    int nMin = 0, nMax = 0;
    ASSERT_EQ(ZDQ_GetParamRange(0, ZDQ_EXPOSURE, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, static_cast<int>(device.SensorExposureLinesToTime(0x3FFF)));
    EXPECT_EQ(ZDQ_GetParamRange(0, ZDQ_RED, nullptr, &nMax), RET_PARAMERROR);
    int v = 5;
    EXPECT_EQ(ZDQ_GetParam(0, static_cast<ZDQ_PARAM>(40), &v), RET_NOTSUPPORT);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(ZDQ_GetParam(0, ZDQ_RED, nullptr), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_SetParam(0, static_cast<ZDQ_PARAM>(33), 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_SetParam(3, ZDQ_RED, 1), RET_DEVICENOTINIT);
}

TEST_F(ParameterTest, ExposureReadsRoundedToWholeMilliseconds) {
    CDevice& device = Open(kTypeMono2592);
    // Lines whose time lies nearest 9.5 ms.
    const int64_t nLines = device.SensorExposureTimeToLines(9.5f);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, static_cast<int>(nLines)), RET_SUCCESS);
    float fMs = 0;
    ASSERT_EQ(ZDQ_ExposureTimeGet(0, &fMs), RET_SUCCESS);
    int nMs = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE, &nMs), RET_SUCCESS);
    EXPECT_EQ(nMs, static_cast<int>(fMs + 0.5f));
    EXPECT_EQ(ZDQ_ExposureTimeGet(0, nullptr), RET_PARAMERROR);
    ASSERT_EQ(ZDQ_ExposureTimeSet(0, 40.0f), RET_SUCCESS);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE, &nMs), RET_SUCCESS);
    EXPECT_EQ(nMs, 40);
}

TEST_F(ParameterTest, StartParametersMoveTheWindows) {
    Open(kTypeMono2592);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 1000, 800, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_CAPTURE_COLUMNSTART, 301), RET_SUCCESS);
    int nCol = 0, nWidth = 0;
    ZDQ_CaptureGetFieldOfView(0, &nCol, nullptr, &nWidth, nullptr, nullptr, nullptr);
    EXPECT_EQ(nCol, 300) << "even starts on this sensor";
    EXPECT_EQ(nWidth, 1000);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_PREVIEW_ROWSTART, 40), RET_SUCCESS);
    int nRow = 0;
    ZDQ_PreviewGetFieldOfView(0, nullptr, &nRow, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(nRow, 40);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_CAPTURE_COLUMNSTART, &nCol), RET_SUCCESS);
    EXPECT_EQ(nCol, 300);
}

// Values outside a sensor field's range clamp to its nearer end, whatever
// their size or sign; none wraps into the field's bits.
TEST_F(ParameterTest, OutOfRangeSensorValuesClampInsteadOfWrapping) {
    constexpr int kType2048 = 3;
    const struct {
        int nType;
        ZDQ_PARAM param;
        int nValue;
        int nReadBack;
    } kCases[] = {
        {kTypeMono1280, ZDQ_EXPOSURE_LINES, 65536, 0x3FFF},
        {kTypeMono1280, ZDQ_EXPOSURE_LINES, 70000, 0x3FFF},
        {kTypeMono1280, ZDQ_EXPOSURE_LINES, INT_MAX, 0x3FFF},
        {kTypeMono1280, ZDQ_EXPOSURE_LINES, -1, 1},
        {kTypeMono1280, ZDQ_EXPOSURE_LINES, INT_MIN, 1},
        {kTypeMono1280, ZDQ_HORIZONTALBLANK, 65536 + 100, 2047},
        {kTypeMono1280, ZDQ_HORIZONTALBLANK, INT_MIN, 9},
        {kTypeMono1280, ZDQ_VERTICALBLANK, -1, 25},
        {kTypeMono1280, ZDQ_VERTICALBLANK, INT_MAX, 2047},
        {kTypeMono1280, ZDQ_BLACKLEVEL, -5, 0},
        {kTypeMono1280, ZDQ_BLACKLEVEL, 65536 + 2, 3},
        {kType2048, ZDQ_EXPOSURE_LINES, 70000, 65535},
        {kType2048, ZDQ_EXPOSURE_LINES, INT_MIN, 1},
        {kType2048, ZDQ_HORIZONTALBLANK, 65536 + 100, 2047},
        {kType2048, ZDQ_VERTICALBLANK, -1, 3},
        {kTypeMono2592, ZDQ_EXPOSURE_LINES, INT_MAX, INT_MAX},
        {kTypeMono2592, ZDQ_EXPOSURE_LINES, -1, 1},
        {kTypeMono2592, ZDQ_HORIZONTALBLANK, 65536 + 100, 4095},
        {kTypeMono2592, ZDQ_HORIZONTALBLANK, -1, 0},
        {kTypeMono2592, ZDQ_VERTICALBLANK, INT_MIN, 8},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << c.nType << " parameter " << c.param << " value " << c.nValue);
        Open(c.nType);
        ASSERT_EQ(ZDQ_SetParam(0, c.param, c.nValue), RET_SUCCESS);
        int v = 0;
        ASSERT_EQ(ZDQ_GetParam(0, c.param, &v), RET_SUCCESS);
        EXPECT_EQ(v, c.nReadBack);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

// A negative or absurd exposure time gives the shortest or the longest
// exposure; not a number gives the shortest.
TEST_F(ParameterTest, ExposureTimesOutsideTheRangeGiveTheNearestExposure) {
    const struct {
        int nType;
        float fMs;
        int nLines;
    } kCases[] = {
        {kTypeMono1280, -5.0f, 1},    {kTypeMono1280, -INFINITY, 1},
        {kTypeMono1280, NAN, 1},      {kTypeMono1280, INFINITY, 0x3FFF},
        {kTypeMono2592, -1.0e30f, 1}, {kTypeMono2592, 1.0e30f, INT_MAX},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << "type " << c.nType << " ms " << c.fMs);
        Open(c.nType);
        ASSERT_EQ(ZDQ_ExposureTimeSet(0, c.fMs), RET_SUCCESS);
        int nLines = 0;
        ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE_LINES, &nLines), RET_SUCCESS);
        EXPECT_EQ(nLines, c.nLines);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(ParameterTest, BlackLevelThresholdsOfTheMT9M001) {
    Open(kTypeMono1280);
    // Manual thresholds, then each one alone; parameter 32 is the upper one.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLACKLEVEL, 2), RET_SUCCESS);  // calibration not forced
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLACKLEVEL_THRESHOLD_AUTO, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLACKLEVEL_THRESHOLD_LO, 20), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLACKLEVEL_THRESHOLD_UPPER, 90), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::CalThreshold), (20 | 90 << 8 | 0x8080) | (Chip(95) & 0x40));
    int v = -1;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_BLACKLEVEL_THRESHOLD_UPPER, &v), RET_SUCCESS);
    EXPECT_EQ(v, 90);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_BLACKLEVEL_THRESHOLD_AUTO, &v), RET_SUCCESS);
    EXPECT_EQ(v, 0);
    // Forced calibration (level 3 sets CalCtrl bit 0) locks them.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLACKLEVEL, 3), RET_SUCCESS);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_BLACKLEVEL_THRESHOLD_LO, 5), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_GetParam(0, ZDQ_BLACKLEVEL_THRESHOLD_LO, &v), RET_NOTSUPPORT);
    ZDQ_UnInit();
    mlsim_unplug_all();
    Open(kTypeMono2592);
    int nMin = 1, nMax = 1;
    EXPECT_EQ(ZDQ_GetParamRange(0, ZDQ_BLACKLEVEL_THRESHOLD_UPPER, &nMin, &nMax), RET_NOTSUPPORT);
    EXPECT_EQ(nMin + nMax, 0);
}

TEST_F(ParameterTest, FunctionQueryReadsTheCapabilities) {
    CDevice& device = Open(kType2592WithFpga);
    const DeviceCapability& cap = device.Capability();
    const struct {
        int nFunction;
        int nValue;
    } kCases[] = {
        {0, 1},
        {1, static_cast<int>(cap.Get(SensorCap::bmResolution))},
        {3, cap.Has(SensorCap::bmFlip) ? 1 : 0},
        {14, 0},
        {21, cap.Has(FpgaCap::bmEmptyFrameBuffer) ? 1 : 0},
        {23, cap.Has(FpgaCap::bm16BitsTransfer) ? 1 : 0},
        {41, device.FpgaVersion() != 0 ? 1 : 0},
        {51, 0},
        {52, 0},
    };
    for (const auto& c : kCases) {
        int v = -1;
        EXPECT_EQ(ZDQ_QueryFunction(0, c.nFunction, &v), RET_SUCCESS) << c.nFunction;
        EXPECT_EQ(v, c.nValue) << c.nFunction;
    }
    int v = 9;
    EXPECT_EQ(ZDQ_QueryFunction(0, 58, &v), RET_PARAMERROR);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(ZDQ_QueryFunction(0, 1, nullptr), RET_PARAMERROR);
    int nBits = 0;
    ASSERT_EQ(ZDQ_GetADCResolution(0, &nBits), RET_SUCCESS);
    EXPECT_EQ(nBits, static_cast<int>(cap.Get(SensorCap::bmResolution)));
}

TEST_F(ParameterTest, DelaysTriggerModeAndTheirCapabilities) {
    CDevice& device = Open(kType2592WithFpga);
    device.Capability().Set(FpgaCap::bmSetTriggerDelay, 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGERDELAY, 0x12345), RET_SUCCESS);
    uint16_t wValue = 0;
    mlsim_fpga_read(0, FPGAREG_TRIGGER_DELAY, &wValue);
    EXPECT_EQ(wValue, 0x2345);
    int v = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_TRIGGERDELAY, &v), RET_SUCCESS);
    EXPECT_EQ(v, 0x2345);
    // The trigger mode: refused without its capability, read back from the
    // working mode.
    device.Capability().Set(FpgaCap::bmTriggerModeSoftware, 0);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGER_MODE, 2), RET_NOTSUPPORT);
    device.Capability().Set(FpgaCap::bmTriggerModeSoftware, 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGER_MODE, 2), RET_SUCCESS);
    mlsim_fpga_read(0, FPGAREG_WORKING_MODE, &wValue);
    EXPECT_EQ(wValue & 0x1003, 0x1000);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_TRIGGER_MODE, &v), RET_SUCCESS);
    EXPECT_EQ(v, 2);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGER_MODE, 0), RET_SUCCESS);
    device.Capability().Set(FpgaCap::bmTriggerModeHighLowFixFramerate, 1);
    int nMin = 0, nMax = 0;
    ASSERT_EQ(ZDQ_GetParamRange(0, ZDQ_TRIGGER_MODE, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, 4);
    // A closed device refuses the delays.
    ASSERT_EQ(ZDQ_Close(0), RET_SUCCESS);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGERDELAY, 1), RET_DEVICECLOSED);
}

}  // namespace
