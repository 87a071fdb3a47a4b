// The MT9M001 sensor unit against the simulated chip: register shadows, the
// read order at start, write-through, exposure and gain.
#include <climits>
#include <utility>

#include "SimCamera.h"
#include "ZDQApi.h"
#include "capability/CapabilityPresets.h"
#include "sensors/MT9M001.h"

namespace {

constexpr uint8_t kRdSensor = 0xC2;
constexpr uint8_t kWrSensor = 0xC3;

class MT9M001Test : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        Plug(0, CameraProfile(5));
        SetModelCapability(layers.capability, 5, CapVersion{1, 0});
        ASSERT_EQ(layers.transport.Open(), RET_SUCCESS);
    }

    // The sensor requests of one kind since the journal was last cleared, as
    // (address, value) pairs.
    static std::vector<std::pair<uint16_t, uint16_t>> SensorRequests(uint8_t byRequest) {
        std::vector<std::pair<uint16_t, uint16_t>> requests;
        for (const MlSimJournalEntry& entry : VendorJournal(0)) {
            if (entry.request == byRequest) {
                requests.emplace_back(entry.value, entry.index);
            }
        }
        return requests;
    }

    static uint16_t Chip(uint16_t wAddress) {
        uint16_t wValue = 0;
        EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1);
        return wValue;
    }

    // The chip's window for the worked example: 1280 columns, no skipping,
    // blanking 19 and no shutter delay, so a line lasts 1524 pixel clocks.
    static void SetExampleWindow() {
        mlsim_sensor_write(0, CMT9M001::ColumnSize, 1279);
        mlsim_sensor_write(0, CMT9M001::HorizontalBlank, 19);
        mlsim_sensor_write(0, CMT9M001::ShutterDelay, 0);
        mlsim_sensor_write(0, CMT9M001::ReadMode1, 0);
        mlsim_sensor_write(0, CMT9M001::ReadMode2, 0);
    }

    CameraLayers layers{"mt9m001.log"};
    SensorState state;
    CMT9M001 unit{layers.vendor, layers.capability, layers.pLog, state};
};

TEST_F(MT9M001Test, InitReadsTheRegistersInOrderAndDerivesTheExposure) {
    SetExampleWindow();
    mlsim_sensor_write(0, CMT9M001::ShutterWidth, 1000);
    mlsim_journal_clear(0);
    ASSERT_EQ(unit.Init(), RET_SUCCESS);

    std::vector<uint16_t> order;
    for (const auto& request : SensorRequests(kRdSensor)) {
        order.push_back(request.first);
    }
    EXPECT_EQ(order,
              (std::vector<uint16_t>{2, 1, 4, 3, 5, 6, 12, 9, 45, 44, 43, 46, 53, 30, 32, 98, 95}));
    for (uint16_t wAddress : order) {
        EXPECT_EQ(unit.Shadow(wAddress), Chip(wAddress)) << wAddress;
    }
    EXPECT_TRUE(SensorRequests(kWrSensor).empty()) << "no start-up values are written";
    EXPECT_EQ(state.roi.nColumnOffset, 20);
    EXPECT_EQ(state.roi.nRowOffset, 12);
    EXPECT_EQ(state.roi.nMaxWidth, 1280);
    EXPECT_EQ(state.roi.nMaxHeight, 1024);
    EXPECT_FLOAT_EQ(state.fExposureTime, 1523820.0f * layers.capability.T);

    const std::string log = layers.LogText();
    EXPECT_NE(log.find("ZDQAPI::++++ZDQLOG_OUTPUT_MT9M001_RELATE_REG_VALUE++++."),
              std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::MT9M001REG_ColumnSize:      0x04ff"), std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::MT9M001REG_HorizontalBlank: 0x0013"), std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::----ZDQLOG_OUTPUT_MT9M001_RELATE_REG_VALUE----."),
              std::string::npos);
}

TEST_F(MT9M001Test, InitStopsAtTheFirstFailingRead) {
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, kRdSensor, 3, 1, 0);
    EXPECT_EQ(unit.Init(), RET_FAIL);
    EXPECT_EQ(SensorRequests(kRdSensor).size(), 4u);
    EXPECT_EQ(unit.Shadow(CMT9M001::RowSize), 0) << "no value is invented";
}

TEST_F(MT9M001Test, WritesGoThroughTheShadow) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    mlsim_journal_clear(0);
    EXPECT_EQ(unit.WriteRegister(CMT9M001::ShutterDelay, 5), RET_NOTSUPPORT);
    EXPECT_EQ(unit.WriteRegister(7, 5), RET_NOTSUPPORT);
    EXPECT_TRUE(VendorJournal(0).empty());

    // The chip changed behind the SDK's back: an unchanged shadow still sends
    // nothing.
    const uint16_t wShadow = unit.Shadow(CMT9M001::VerticalBlank);
    mlsim_sensor_write(0, CMT9M001::VerticalBlank, static_cast<uint16_t>(wShadow + 1));
    EXPECT_EQ(unit.WriteRegister(CMT9M001::VerticalBlank, wShadow), RET_SUCCESS);
    EXPECT_TRUE(VendorJournal(0).empty());

    EXPECT_EQ(unit.WriteRegister(CMT9M001::VerticalBlank, 300), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::VerticalBlank), 300);
    EXPECT_EQ(unit.Shadow(CMT9M001::VerticalBlank), 300);

    mlsim_fault_add(0, MLSIM_FAULT_STATUS, kWrSensor, 0, 1, 1);
    EXPECT_EQ(unit.WriteRegister(CMT9M001::VerticalBlank, 400), RET_FAIL);
    EXPECT_EQ(unit.Shadow(CMT9M001::VerticalBlank), 300) << "a failed write keeps the shadow";
}

TEST_F(MT9M001Test, ExposureTimeToLinesClampsAndKeepsTheTimeOverLineTimeChanges) {
    SetExampleWindow();
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    const float T = layers.capability.T;
    EXPECT_FLOAT_EQ(unit.ExposureLinesToTime(1000), 1523820.0f * T);

    const struct {
        float fMs;
        int32_t nLines;
    } kCases[] = {
        {1523820.0f * T, 1000},
        {100000.0f, CMT9M001::kMaxExposureLines},
        {0.0f, 1},
        {-5.0f, 1},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(unit.SetExposureTime(c.fMs), RET_SUCCESS) << c.fMs;
        EXPECT_EQ(unit.GetExposureLines(), c.nLines) << c.fMs;
        EXPECT_EQ(Chip(CMT9M001::ShutterWidth), c.nLines) << c.fMs;
        EXPECT_FLOAT_EQ(state.fExposureTime, unit.ExposureLinesToTime(c.nLines)) << c.fMs;
    }
    EXPECT_EQ(unit.SetExposureLines(20000), RET_SUCCESS);
    EXPECT_EQ(unit.GetExposureLines(), CMT9M001::kMaxExposureLines);
    EXPECT_EQ(unit.SetExposureLines(0), RET_SUCCESS);
    EXPECT_EQ(unit.GetExposureLines(), 1);

    // A longer line keeps the requested time with fewer lines.
    ASSERT_EQ(unit.SetExposureTime(1523820.0f * T), RET_SUCCESS);
    ASSERT_EQ(unit.GetExposureLines(), 1000);
    ASSERT_EQ(unit.WriteRegister(CMT9M001::HorizontalBlank, 19 + 1524), RET_SUCCESS);
    EXPECT_EQ(unit.GetExposureLines(), 500);
    EXPECT_EQ(Chip(CMT9M001::ShutterWidth), 500);
    EXPECT_NEAR(state.fExposureTime, 1523820.0f * T, 200 * T);

    // Vertical blanking and the window height leave the exposure alone.
    mlsim_journal_clear(0);
    ASSERT_EQ(unit.WriteRegister(CMT9M001::VerticalBlank, 77), RET_SUCCESS);
    ASSERT_EQ(unit.WriteRegister(CMT9M001::RowSize, 511), RET_SUCCESS);
    for (const auto& request : SensorRequests(kWrSensor)) {
        EXPECT_NE(request.first, CMT9M001::ShutterWidth);
    }
}

TEST_F(MT9M001Test, GainStepsFollowTheTable) {
    // Steps outside 0 .. 47 are clamped to the nearer end.
    const struct {
        int nStep;
        uint16_t wValue;
        int nReadBack;
    } kTable[] = {{0, 8, 0},      {1, 9, 1},      {24, 32, 24}, {25, 0x51, 25},
                  {47, 0x67, 47}, {60, 0x67, 47}, {-1, 8, 0}};
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    for (const auto& c : kTable) {
        EXPECT_EQ(unit.SetGain(c.nStep), RET_SUCCESS) << c.nStep;
        for (uint16_t wRegister : {CMT9M001::RedGain, CMT9M001::Green1Gain, CMT9M001::Green2Gain,
                                   CMT9M001::BlueGain, CMT9M001::GlobalGain}) {
            EXPECT_EQ(Chip(wRegister), c.wValue) << c.nStep << " " << wRegister;
        }
        EXPECT_EQ(CMT9M001::GainStepOf(c.wValue | 0x80), c.nReadBack) << "low 7 bits only";
    }
    EXPECT_EQ(CMT9M001::GainStepOf(0x7F), 0) << "a value outside the table";
}

TEST_F(MT9M001Test, AFailedGainWriteIsReportedAndTheOthersStillApply) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, kWrSensor, 1, 1, 0);  // the second write
    EXPECT_EQ(unit.SetGain(30), RET_FAIL);
    const uint16_t wValue = CMT9M001::GainTableValue(30);
    EXPECT_NE(unit.Shadow(CMT9M001::Green1Gain), wValue);
    for (uint16_t wRegister :
         {CMT9M001::RedGain, CMT9M001::Green2Gain, CMT9M001::BlueGain, CMT9M001::GlobalGain}) {
        EXPECT_EQ(Chip(wRegister), wValue) << wRegister;
    }
}

TEST_F(MT9M001Test, RestoreReplaysTheShadowInOrder) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    mlsim_journal_clear(0);
    EXPECT_EQ(unit.RestoreRegisters(), RET_SUCCESS);
    std::vector<std::pair<uint16_t, uint16_t>> expected;
    for (uint16_t wAddress : {2, 1, 4, 3, 5, 6, 9, 53, 45, 44, 43, 46, 30, 32, 98, 95}) {
        expected.emplace_back(wAddress, unit.Shadow(wAddress));
    }
    EXPECT_EQ(SensorRequests(kWrSensor), expected);

    mlsim_journal_clear(0);
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, kWrSensor, 2, 1, 0);
    EXPECT_EQ(unit.RestoreRegisters(), RET_FAIL);
    EXPECT_EQ(SensorRequests(kWrSensor).size(), 3u) << "stops at the failing write";
}

TEST_F(MT9M001Test, BlackLevelReadsBackWhatWasSet) {
    mlsim_sensor_write(0, CMT9M001::CalCtrl, 0x0498);  // bits above 2 are kept
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    const struct {
        int nLevel;
        uint16_t wCalCtrl;
    } kCases[] = {{3, 0x0499}, {2, 0x0498}, {0, 0x049A}, {1, 0x049C}, {3, 0x049D}};
    for (const auto& c : kCases) {
        EXPECT_EQ(unit.SetBlackLevel(c.nLevel), RET_SUCCESS) << c.nLevel;
        EXPECT_EQ(Chip(CMT9M001::CalCtrl), c.wCalCtrl) << c.nLevel;
        EXPECT_EQ(unit.GetBlackLevel(), c.nLevel) << c.nLevel;
    }
    // Levels outside 0 .. 3 clamp to the nearer end.
    for (const auto& c : {std::pair<int, int>{-5, 0}, {7, 3}, {INT_MIN, 0}, {INT_MAX, 3}}) {
        EXPECT_EQ(unit.SetBlackLevel(c.first), RET_SUCCESS) << c.first;
        EXPECT_EQ(unit.GetBlackLevel(), c.second) << c.first;
    }
}

TEST_F(MT9M001Test, BlackLevelThresholdsOnlyWhileCalibrationIsNotForced) {
    mlsim_sensor_write(0, CMT9M001::CalCtrl, 0x0000);
    mlsim_sensor_write(0, CMT9M001::CalThreshold, 0x0040);  // automatic, bit 6 carried
    ASSERT_EQ(unit.Init(), RET_SUCCESS);

    EXPECT_EQ(unit.SetBlackLevelThreshold(false, 70, 10), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::CalThreshold), 0x3F | 0x40 | (63 << 8) | 0x8080)
        << "low clamped to 63, high raised to low";
    EXPECT_EQ(unit.SetBlackLevelThreshold(true, 0, 0), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::CalThreshold), (0x3F | 0x40 | (63 << 8)));

    mlsim_journal_clear(0);
    EXPECT_EQ(unit.SetBlackLevelThreshold(true, 5, 9), RET_SUCCESS);
    EXPECT_TRUE(VendorJournal(0).empty()) << "automatic thresholds stay as they are";

    ASSERT_EQ(unit.SetBlackLevel(0), RET_SUCCESS);  // CalCtrl bit 1: forced
    EXPECT_EQ(unit.SetBlackLevelThreshold(false, 5, 9), RET_NOTSUPPORT);
}

TEST_F(MT9M001Test, CheckFovAlignsAndClampsTheWindow) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    ASSERT_FALSE(layers.capability.Has(SensorCap::bmSkip3));
    const struct {
        int nCol, nRow, nWidth, nHeight, nAmCol, nAmRow;
        int nRet, nWantCol, nWantRow, nWantWidth, nWantHeight;
    } kCases[] = {
        {0, 0, 1283, 1024, 0, 0, RET_SUCCESS, 0, 0, 1280, 1024},
        {0, 0, 1001, 1001, 1, 1, RET_SUCCESS, 0, 0, 1000, 1000},
        {300, 0, 1000, 500, 0, 0, RET_SUCCESS, 280, 0, 1000, 500},
        {-5, 900, 641, 301, 0, 3, RET_SUCCESS, 0, 724, 640, 300},
        {0, 0, 0, 0, 0, 0, RET_SUCCESS, 0, 0, 1, 1},  // the minimum wins over evenness
        {0, 0, 640, 480, 5, 0, RET_PARAMERROR, 0, 0, 640, 480},
        {0, 0, 640, 480, 0, -1, RET_PARAMERROR, 0, 0, 640, 480},
        {0, 0, 640, 480, 2, 0, RET_NOTSUPPORT, 0, 0, 640, 480},
    };
    for (const auto& c : kCases) {
        int nCol = c.nCol, nRow = c.nRow, nWidth = c.nWidth, nHeight = c.nHeight;
        EXPECT_EQ(unit.CheckFov(nCol, nRow, nWidth, nHeight, c.nAmCol, c.nAmRow, nullptr, false),
                  c.nRet)
            << c.nWidth << "x" << c.nHeight;
        EXPECT_EQ(nCol, c.nWantCol);
        EXPECT_EQ(nRow, c.nWantRow);
        EXPECT_EQ(nWidth, c.nWantWidth);
        EXPECT_EQ(nHeight, c.nWantHeight);
    }

    // One transfer of frames stays within 16 MiB.
    int nCol = 0, nRow = 0, nWidth = 1280, nHeight = 1024;
    uint16_t wFrames = 20;
    ASSERT_EQ(unit.CheckFov(nCol, nRow, nWidth, nHeight, 0, 0, &wFrames, true), RET_SUCCESS);
    EXPECT_EQ(wFrames, 6);
    wFrames = 0;
    ASSERT_EQ(unit.CheckFov(nCol, nRow, nWidth, nHeight, 0, 0, &wFrames, false), RET_SUCCESS);
    EXPECT_EQ(wFrames, 1);
}

TEST_F(MT9M001Test, SetFovWritesTheWindowAndTheAddressingModes) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    uint8_t bChanged = 0;
    EXPECT_EQ(unit.SetFov(100, 50, 640, 480, 1, 3, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 1);
    bChanged = 0;
    EXPECT_EQ(unit.SetFov(100, 50, 640, 480, 1, 3, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 0) << "the same window again writes nothing";
    FieldOfView fov{};
    unit.GetFovLimits(fov, 2, false);
    EXPECT_EQ(fov.nColStart, 100);
    EXPECT_EQ(fov.nRowStart, 50);
    EXPECT_EQ(fov.nColSize, 640);
    EXPECT_EQ(fov.nRowSize, 480);
    EXPECT_EQ(fov.AmCol, 1);
    EXPECT_EQ(fov.AmRow, 3);
    EXPECT_EQ(fov.nWidth, 320);
    EXPECT_EQ(fov.nHeight, 120 * 2);
    EXPECT_EQ(fov.ulTotalBytes, 320u * 240);
    EXPECT_EQ(Chip(CMT9M001::ColumnStart), 120);
    EXPECT_EQ(Chip(CMT9M001::RowStart), 62);
    EXPECT_EQ(Chip(CMT9M001::ColumnSize), 639);
    EXPECT_EQ(Chip(CMT9M001::RowSize), 479);
    EXPECT_EQ(Chip(CMT9M001::ReadMode2) & 0x0018, 0x0008) << "column skip 2, no row skip 2";
    EXPECT_EQ(Chip(CMT9M001::ReadMode1) & 0x003C, 0x0008) << "row skip 4";

    // Values beyond the 11-bit window fields clamp to them.
    ASSERT_EQ(unit.SetFov(INT_MAX, -20, INT_MAX, INT_MIN, 0, 0, nullptr), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::ColumnStart), 0x7FF);
    EXPECT_EQ(Chip(CMT9M001::RowStart), 0);
    EXPECT_EQ(Chip(CMT9M001::ColumnSize), 0x7FF);
    EXPECT_EQ(Chip(CMT9M001::RowSize), 0);

    mlsim_journal_clear(0);
    EXPECT_EQ(unit.SetRowAddrMode(2), RET_NOTSUPPORT);
    EXPECT_EQ(unit.SetColumnAddrMode(7), RET_NOTSUPPORT);
    EXPECT_TRUE(VendorJournal(0).empty());
    EXPECT_EQ(unit.SetColumnAddrMode(0), RET_SUCCESS);
    EXPECT_EQ(Chip(CMT9M001::ReadMode2) & 0x0008, 0);
}

TEST_F(MT9M001Test, BlankingIsClampedToTheSensorsRange) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    const struct {
        int nValue, nHorizontal, nVertical;
    } kCases[] = {{0, 9, 25}, {-4, 9, 25}, {100, 100, 100}, {2047, 2047, 2047}, {5000, 2047, 2047}};
    for (const auto& c : kCases) {
        EXPECT_EQ(unit.SetHorizontalBlank(c.nValue), RET_SUCCESS);
        EXPECT_EQ(unit.SetVerticalBlank(c.nValue), RET_SUCCESS);
        EXPECT_EQ(unit.GetHorizontalBlank(), c.nHorizontal) << c.nValue;
        EXPECT_EQ(unit.GetVerticalBlank(), c.nVertical) << c.nValue;
        EXPECT_EQ(Chip(CMT9M001::HorizontalBlank), c.nHorizontal);
    }
}

}  // namespace
