// The segmented line sensors on simulated cameras: the black-level
// calibration at open and after a failed frame read, the register writes of
// exposure, gain and black level, the line-sensor exports, and the segment
// split of the raw chain.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "OpenedCamera.h"
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/Library.h"
#include "platform/WideText.h"

namespace {

constexpr int kDR2KTwoSegments = 98;
constexpr int kDR2KOneSegment = 99;
constexpr int kDR4KTwoSegments = 101;

uint16_t ChipRegister(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1);
    return wValue;
}

uint16_t FpgaRegister(uint16_t wRegister) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_fpga_read(0, wRegister, &wValue), 1);
    return wValue;
}

// The values written to a sensor register, in order, from the journal.
std::vector<uint16_t> SensorWrites(uint16_t wAddress) {
    std::vector<uint16_t> values;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (entry.request == 0xC3 && entry.value == wAddress) {
            values.push_back(entry.index);
        }
    }
    return values;
}

// Sensor registers written, in order (0x70 and 0x71 only).
std::vector<uint16_t> TimingWriteOrder() {
    std::vector<uint16_t> order;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (entry.request == 0xC3 && (entry.value == 0x70 || entry.value == 0x71)) {
            order.push_back(entry.value);
        }
    }
    return order;
}

class LineSensorTest : public OpenedCameraTest {
  protected:
    // Plugs a line-sensor camera with a dark model and opens it (the open
    // calibrates every segment).
    CDevice& OpenLine(int nType, int nBase, int nSlope, bool bBright) {
        Plug(0, CameraProfile(nType));
        EXPECT_EQ(mlsim_line_sensor_set_dark(0, nBase, nSlope, bBright ? 1 : 0), 1);
        EXPECT_EQ(ZDQ_Init(), RET_SUCCESS);
        CDevice* pDevice = FrameGetDevice(0);
        EXPECT_NE(pDevice, nullptr);
        return *pDevice;
    }

    static int Level(int nSegment) {
        int nLevel = -1;
        EXPECT_EQ(ZDQ_AWAIBA_GetBlackLevel(0, nSegment, &nLevel), RET_SUCCESS);
        return nLevel;
    }

    static std::vector<uint8_t> Capture(CDevice& device) {
        std::vector<uint8_t> frame(device.Fov(kCaptureFov).ulTotalBytes);
        EXPECT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        return frame;
    }
};

struct CalibrationCase {
    const char* name;
    int nType;
    int nBase, nSlope;
    bool bBright;
    int nLevel;  // every segment's level after the open
};

class LineSensorCalibrationTest : public LineSensorTest,
                                  public ::testing::WithParamInterface<CalibrationCase> {};

// The dark level is base - slope x level; the search takes the level before
// the first one whose mean is 65 or less, and writes it + 2.
TEST_P(LineSensorCalibrationTest, OpenCalibratesEverySegment) {
    const CalibrationCase& c = GetParam();
    CDevice& device = OpenLine(c.nType, c.nBase, c.nSlope, c.bBright);
    int nSegments = 0;
    ASSERT_EQ(ZDQ_AWAIBA_GetSegmentNum(0, &nSegments), RET_SUCCESS);
    for (int s = 0; s < nSegments; ++s) {
        EXPECT_EQ(Level(s), c.nLevel) << "segment " << s;
        EXPECT_EQ(ChipRegister(static_cast<uint16_t>(s * 16 + 4)), c.nLevel) << "segment " << s;
    }
    // The calibration flag is cleared and the FPGA left as it was.
    EXPECT_EQ(ChipRegister(0x72) & 0x0100, 0);
    EXPECT_EQ(FpgaRegister(8), device.Fpga().Shadows().wMultiFrameNum);
    EXPECT_NE(FpgaRegister(8), 8);
    EXPECT_EQ(FpgaRegister(0), device.Fpga().Shadows().WorkingMode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineSensorCalibrationTest,
    ::testing::Values(
        // 425 - 3 x 120 = 65 first reaches the threshold: 119 + 2.
        CalibrationCase{"DR2K_OneSegment", kDR2KOneSegment, 425, 3, false, 121},
        // Already dark at level 100: 99 + 2.
        CalibrationCase{"DR2K_DarkAtOnce", kDR2KOneSegment, 300, 3, false, 101},
        // Never dark: 158 + 2.
        CalibrationCase{"DR2K_AlwaysBright", kDR2KOneSegment, 425, 3, true, 160},
        // DR4K measures each segment's own pixels.
        CalibrationCase{"DR4K_TwoSegments", kDR4KTwoSegments, 425, 3, false, 121}),
    [](const ::testing::TestParamInfo<CalibrationCase>& info) { return info.param.name; });

TEST_F(LineSensorTest, SearchThatNeverEndsLogsNotFound) {
    const std::string folder = ScratchPath("line-sensor-not-found");
    std::filesystem::remove_all(folder);
    g_bLogEnable = 1;
    SetLogFolder(plat::WideFromUtf8(folder).c_str());
    OpenLine(kDR2KOneSegment, 425, 3, true);
    ZDQ_UnInit();  // closes the device log
    g_bLogEnable = 0;
    SetLogFolder(L"");
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream content;
        content << file.rdbuf();
        text += content.str();
    }
    const size_t nNotFound = text.find("ZDQAPI::DR2K_AutoBlackLevel Not Find BlackLevel.");
    ASSERT_NE(nNotFound, std::string::npos);
    EXPECT_NE(text.find("ZDQAPI::DR2K_AutoBlackLevel Find BlackLevel = 158.", nNotFound),
              std::string::npos);
    EXPECT_NE(text.find("ZDQAPI::++DR2K_AutoBlackLevelSeg. ( SegIndex = 0 )"), std::string::npos);
    EXPECT_NE(text.find("ZDQAPI::--DR2K_AutoBlackLevelSeg"), std::string::npos);
}

TEST_F(LineSensorTest, FailureInCalibrationIsReportedAndRestoresTheFpga) {
    const struct {
        const char* what;
        int32_t nKind, nMatch;
        uint32_t nSkip;
    } faults[] = {
        // The first read settles the stream; the search's second read fails.
        {"frame read", MLSIM_FAULT_READ_IO_ERROR, MLSIM_MATCH_ANY, 2},
        // A sensor write of the preset is refused by the camera.
        {"register write", MLSIM_FAULT_STATUS, 0xC3, 3},
    };
    for (const auto& c : faults) {
        CDevice& device = OpenLine(kDR2KOneSegment, 425, 3, false);
        const uint16_t wMode = FpgaRegister(0);
        const uint16_t wFrames = FpgaRegister(8);
        mlsim_fault_add(0, c.nKind, c.nMatch, c.nSkip, 1, 1);
        EXPECT_NE(ZDQ_AWAIBA_AutoBlackLevel(0, 0), RET_SUCCESS) << c.what;
        EXPECT_EQ(FpgaRegister(0), wMode) << c.what;
        EXPECT_EQ(FpgaRegister(8), wFrames) << c.what;
        EXPECT_EQ(device.Fpga().Shadows().wMultiFrameNum, wFrames);
        // The bus lock was released: another thread gets through.
        std::atomic<int> nOther{0};
        std::thread other([&] { nOther = ZDQ_AWAIBA_SetBlackLevel(0, 0, 50); });
        other.join();
        EXPECT_EQ(nOther.load(), RET_SUCCESS) << c.what;
        EXPECT_EQ(ChipRegister(4), 50) << c.what;
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(LineSensorTest, ExposureKeepsTheLinePeriodAboveTheExposure) {
    CDevice& device = OpenLine(kDR2KOneSegment, 425, 3, false);
    ASSERT_EQ(device.SensorSetExposureLines(2000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x70), 2000);
    EXPECT_EQ(ChipRegister(0x71), 2090);

    mlsim_journal_clear(0);
    ASSERT_EQ(device.SensorSetExposureLines(500), RET_SUCCESS);  // shrinks: 0x70 first
    EXPECT_EQ(TimingWriteOrder(), (std::vector<uint16_t>{0x70, 0x71}));
    EXPECT_EQ(ChipRegister(0x71), 1058);

    mlsim_journal_clear(0);
    ASSERT_EQ(device.SensorSetExposureLines(3000), RET_SUCCESS);  // grows: 0x71 first
    EXPECT_EQ(TimingWriteOrder(), (std::vector<uint16_t>{0x71, 0x70}));
    EXPECT_EQ(ChipRegister(0x71), 3090);

    ASSERT_EQ(device.SensorSetExposureLines(100), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x70), 171);
    EXPECT_EQ(ChipRegister(0x71), 1058);
    float fMs = 0;
    ASSERT_EQ(device.SensorGetExposureTime(&fMs), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMs, 171 / (80.0f * 1000.0f));
}

TEST_F(LineSensorTest, TriggerModeSetsTheSensorsTriggerFlag) {
    CDevice& device = OpenLine(kDR2KOneSegment, 425, 3, false);
    device.Capability().Set(FpgaCap::bmTriggerModeExternal, 1);
    ASSERT_EQ(ZDQ_TriggerModeSet(0, 1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x72) & 1, 1);
    // A calibration runs in free run and leaves the trigger as it was.
    ASSERT_EQ(ZDQ_AWAIBA_AutoBlackLevel(0, 0), RET_SUCCESS);
    EXPECT_EQ(FpgaRegister(0) & 0x1003, 0x0001);
    EXPECT_EQ(ChipRegister(0x72) & 1, 1);
    ASSERT_EQ(ZDQ_TriggerModeSet(0, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x72) & 1, 0);
}

TEST_F(LineSensorTest, SegmentGainAndBlackLevelWithTheLoadStrobe) {
    OpenLine(kDR2KTwoSegments, 425, 3, false);
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_AWAIBA_SetGain(0, 1, 10), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x13), 245);
    // The segment's control register follows with the strobe bit.
    const std::vector<uint16_t> strobes = SensorWrites(0x11);
    ASSERT_EQ(strobes.size(), 1u);
    EXPECT_EQ(strobes[0] & 1, 1);
    int nGain = -1;
    ASSERT_EQ(ZDQ_AWAIBA_GetGain(0, 1, &nGain), RET_SUCCESS);
    EXPECT_EQ(nGain, 10);

    ASSERT_EQ(ZDQ_AWAIBA_SetGain(0, 0, 300), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x03), 0);
    ASSERT_EQ(ZDQ_AWAIBA_GetGain(0, 0, &nGain), RET_SUCCESS);
    EXPECT_EQ(nGain, 255);
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_AWAIBA_SetGain(0, 0, 300), RET_SUCCESS);  // unchanged: nothing sent
    EXPECT_TRUE(SensorWrites(0x03).empty());

    ASSERT_EQ(ZDQ_AWAIBA_SetBlackLevel(0, 1, -1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x14), 255);
    EXPECT_EQ(Level(1), 255);

    const struct { int nSegment; } outside[] = {{2}, {-1}};
    for (const auto& c : outside) {
        EXPECT_EQ(ZDQ_AWAIBA_SetBlackLevel(0, c.nSegment, 10), RET_NOTSUPPORT);
        EXPECT_EQ(ZDQ_AWAIBA_SetGain(0, c.nSegment, 10), RET_NOTSUPPORT);
        int nOut = 7;
        EXPECT_EQ(ZDQ_AWAIBA_GetGain(0, c.nSegment, &nOut), RET_NOTSUPPORT);
        EXPECT_EQ(nOut, 0);
        EXPECT_EQ(ZDQ_AWAIBA_AutoBlackLevel(0, c.nSegment), RET_NOTSUPPORT);
    }
    EXPECT_EQ(ZDQ_AWAIBA_GetGain(0, 0, nullptr), RET_PARAMERROR);

    // The black level parameter sets every segment and reads segment 0.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLACKLEVEL, 90), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x04), 90);
    EXPECT_EQ(ChipRegister(0x14), 90);
    int nMin = -1, nMax = -1;
    ASSERT_EQ(ZDQ_AWAIBA_GetBlackLevelRange(0, 0, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 255);
}

TEST_F(LineSensorTest, WindowIsTheWholeLineAndFramesStack) {
    CDevice& device = OpenLine(kDR4KTwoSegments, 425, 3, false);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 0, 0, 4096, 1, 0, 0), RET_SUCCESS);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 100, 3, 1000, 7, 0, 0), RET_FAIL) << "would be adjusted";
    ASSERT_EQ(ZDQ_CaptureSetFieldOfViewEx(0, 100, 3, 1000, 7, 0, 0, 8), RET_SUCCESS);
    const FieldOfView& fov = device.Fov(kCaptureFov);
    EXPECT_EQ(std::vector<int>({fov.nColStart, fov.nRowStart, fov.nWidth, fov.nHeight}),
              std::vector<int>({0, 0, 4096, 8}));
    const std::vector<uint8_t> frame = Capture(device);
    ASSERT_EQ(frame.size(), 8u * 4096u);
    const int nDark = 425 - 3 * Level(0);
    for (int f = 0; f < 8; ++f) {
        EXPECT_EQ(frame[static_cast<size_t>(f) * 4096], nDark) << "frame " << f;
    }
}

TEST_F(LineSensorTest, ExportsOnACameraWithoutALineSensor) {
    Open(kTypeMono1280);
    unsigned char byUsed = 7;
    EXPECT_EQ(ZDQ_AWAIBA_IsUsed(0, &byUsed), RET_SUCCESS);
    EXPECT_EQ(byUsed, 0);
    int nSegments = 7;
    EXPECT_EQ(ZDQ_AWAIBA_GetSegmentNum(0, &nSegments), RET_SUCCESS);
    EXPECT_EQ(nSegments, 0);
    int nMin = 7, nMax = 7;
    EXPECT_EQ(ZDQ_AWAIBA_GetGainRange(0, 0, &nMin, &nMax), RET_NOTSUPPORT);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 0);
    EXPECT_EQ(ZDQ_AWAIBA_SetGain(0, 0, 10), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_AWAIBA_SetBlackLevel(0, 0, 10), RET_NOTSUPPORT);
    int nLevel = 7;
    EXPECT_EQ(ZDQ_AWAIBA_GetBlackLevel(0, 0, &nLevel), RET_NOTSUPPORT);
    EXPECT_EQ(nLevel, 0);
    EXPECT_EQ(ZDQ_AWAIBA_AutoBlackLevel(0, 0), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_AWAIBA_IsUsed(0, nullptr), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_AWAIBA_IsUsed(1, &byUsed), RET_DEVICENOTINIT);
}

TEST_F(LineSensorTest, SplitSegmentsPutsEachSegmentInItsHalf) {
    CDevice& device = OpenLine(kDR4KTwoSegments, 425, 3, false);
    unsigned char byUsed = 0;
    ASSERT_EQ(ZDQ_AWAIBA_IsUsed(0, &byUsed), RET_SUCCESS);
    EXPECT_EQ(byUsed, 1);
    // Dark levels 425 - 3 x 120 = 65 and 425 - 3 x 100 = 125.
    ASSERT_EQ(ZDQ_AWAIBA_SetBlackLevel(0, 0, 120), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AWAIBA_SetBlackLevel(0, 1, 100), RET_SUCCESS);
    const int nWidth = device.Fov(kCaptureFov).nWidth;
    ASSERT_EQ(nWidth, 4096);

    std::vector<uint8_t> frame = Capture(device);
    EXPECT_EQ(frame[0], 65);
    EXPECT_EQ(frame[1], 125);

    ASSERT_EQ(ZDQ_AWAIBA_SetSplitSegment(0, 1), RET_SUCCESS);
    unsigned char bySplit = 0;
    ASSERT_EQ(ZDQ_AWAIBA_GetSplitSegment(0, &bySplit), RET_SUCCESS);
    EXPECT_EQ(bySplit, 1);
    frame = Capture(device);
    const std::vector<uint8_t> firstHalf(frame.begin(), frame.begin() + nWidth / 2);
    const std::vector<uint8_t> secondHalf(frame.begin() + nWidth / 2, frame.begin() + nWidth);
    EXPECT_EQ(firstHalf, std::vector<uint8_t>(nWidth / 2, 65));
    EXPECT_EQ(secondHalf, std::vector<uint8_t>(nWidth / 2, 125));
}

TEST_F(LineSensorTest, FailedFrameReadMakesTheNextCatchRecalibrate) {
    CDevice& device = OpenLine(kDR2KOneSegment, 425, 3, false);
    ASSERT_EQ(Level(0), 121);
    // The scene changes: without a failed read nothing recalibrates.
    ASSERT_EQ(mlsim_line_sensor_set_dark(0, 300, 3, 0), 1);
    Capture(device);
    EXPECT_EQ(Level(0), 121);

    mlsim_fault_add(0, MLSIM_FAULT_READ_IO_ERROR, MLSIM_MATCH_ANY, 0, 1, 0);
    std::vector<uint8_t> frame(device.Fov(kCaptureFov).ulTotalBytes);
    EXPECT_NE(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    EXPECT_EQ(Level(0), 121);  // the failed catch itself does not calibrate

    Capture(device);
    EXPECT_EQ(Level(0), 101);
    // Calibrated once: the next catch leaves the levels alone.
    ASSERT_EQ(mlsim_line_sensor_set_dark(0, 425, 3, 0), 1);
    Capture(device);
    EXPECT_EQ(Level(0), 101);
}

}  // namespace
