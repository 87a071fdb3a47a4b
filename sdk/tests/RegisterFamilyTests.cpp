// The 2592 x 1944 and 2048 x 1536 sensor units against their simulated
// chips: start-up reads, write-through, exposure, gains, windows, binning,
// strobe and sensor mode, restore after a power cycle, and the dispatch.
#include <climits>
#include <cmath>

#include "SimCamera.h"
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "capability/CapabilityPresets.h"
#include "sensors/Sensor2048Family.h"
#include "sensors/Sensor2592Family.h"

namespace {

using R = CRegisterFamilyUnit;
constexpr uint8_t kRdSensor = 0xC2;
constexpr uint8_t kWrSensor = 0xC3;
constexpr int kType2592 = 9;  // monochrome 2592 x 1944
constexpr int kType2048 = 3;  // colour 2048 x 1536

std::vector<std::pair<uint16_t, uint16_t>> SensorRequests(int nSlot, uint8_t byRequest) {
    std::vector<std::pair<uint16_t, uint16_t>> requests;
    for (const MlSimJournalEntry& entry : VendorJournal(nSlot)) {
        if (entry.request == byRequest) {
            requests.emplace_back(entry.value, entry.index);
        }
    }
    return requests;
}

std::vector<uint16_t> Addresses(const std::vector<std::pair<uint16_t, uint16_t>>& requests) {
    std::vector<uint16_t> addresses;
    for (const auto& request : requests) {
        addresses.push_back(request.first);
    }
    return addresses;
}

uint16_t Chip(int nSlot, uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(nSlot, wAddress, &wValue), 1) << wAddress;
    return wValue;
}

template <typename Unit>
class FamilyTest : public SimTest {
  protected:
    void Open(int nType) {
        Plug(0, CameraProfile(nType));
        SetModelCapability(layers.capability, nType, CapVersion{1, 0});
        ASSERT_EQ(layers.transport.Open(), RET_SUCCESS);
        layers.transport.SetIdentity(DeviceIdentity{nType, 1, 0x0100});
    }

    CameraLayers layers;
    SensorState state;
    Unit unit{layers.vendor, layers.capability, layers.pLog, state};
};

class Sensor2592Test : public FamilyTest<CSensor2592Family> {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        Open(kType2592);
    }
};

class Sensor2048Test : public FamilyTest<CSensor2048Family> {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        Open(kType2048);
    }
};

TEST_F(Sensor2592Test, InitReadsInOrderAndDerivesTheExposureOfTheFullFrame) {
    // The full window without skipping or binning, blank 0, delay 0.
    for (auto reg : {std::pair<uint16_t, uint16_t>{R::ColumnSize, 2591},
                     {R::HorizontalBlank, 0},
                     {R::ShutterDelay, 0},
                     {R::RowAddressMode, 0},
                     {R::ColumnAddressMode, 0},
                     {R::ShutterWidthUpper, 0},
                     {R::ShutterWidthLower, 1944}}) {
        mlsim_sensor_write(0, reg.first, reg.second);
    }
    mlsim_journal_clear(0);
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    EXPECT_EQ(Addresses(SensorRequests(0, kRdSensor)),
              (std::vector<uint16_t>{2, 1, 4, 3, 34, 35, 9, 8, 12, 45, 44, 43, 46, 30, 32, 5, 6}));
    EXPECT_TRUE(SensorRequests(0, kWrSensor).empty());
    for (uint16_t wAddress : Addresses(SensorRequests(0, kRdSensor))) {
        EXPECT_EQ(unit.Shadow(wAddress), Chip(0, wAddress)) << wAddress;
    }
    EXPECT_EQ(unit.Shadow(R::GlobalGain), 0) << "written only";
    EXPECT_EQ(state.roi.nColumnOffset, 16);
    EXPECT_EQ(state.roi.nRowOffset, 54);
    EXPECT_EQ(state.roi.nMaxWidth, 2592);
    EXPECT_EQ(state.roi.nMaxHeight, 1944);
    EXPECT_EQ(unit.HalfLineClocks(), 1932);
    EXPECT_EQ(unit.ShutterOverheadClocks(), 213);
    EXPECT_NEAR(state.fExposureTime, 7511190.0 * layers.capability.T, 1e-3);
    EXPECT_EQ(unit.GetExposureLines(), 1944);
}

TEST_F(Sensor2048Test, InitReadsInOrderAndDerivesTheExposure) {
    for (auto reg : {std::pair<uint16_t, uint16_t>{R::ColumnSize, 2047},
                     {R::HorizontalBlank, 21},
                     {R::RowAddressMode, 0},
                     {R::ColumnAddressMode, 0},
                     {R::ShutterWidthLower, 1000}}) {
        mlsim_sensor_write(0, reg.first, reg.second);
    }
    mlsim_journal_clear(0);
    ASSERT_EQ(unit.SetBinning(true), RET_SUCCESS);  // Init clears the flag
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    EXPECT_FALSE(unit.Binning());
    std::vector<uint16_t> reads = Addresses(SensorRequests(0, kRdSensor));
    EXPECT_EQ(reads,
              (std::vector<uint16_t>{2, 1, 4, 3, 34, 35, 5, 6, 12, 9, 8, 45, 44, 43, 46, 30, 32}));
    EXPECT_EQ(unit.LineClocks(), 2438);
    for (int64_t nLines : {1, 1000, 65535}) {
        EXPECT_NEAR(unit.ExposureLinesToTime(nLines),
                    (2438.0 * static_cast<double>(nLines) - 199.0) * layers.capability.T, 1e-3);
    }
    EXPECT_EQ(state.roi.nColumnOffset, 32);
    EXPECT_EQ(state.roi.nMaxWidth, 2048);
    EXPECT_EQ(state.roi.nMaxHeight, 1536);
}

TEST_F(Sensor2592Test, ExposureLandsInTheTwoShutterRegisters) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    const float fMs = unit.ExposureLinesToTime(100000);
    ASSERT_EQ(unit.SetExposureTime(fMs), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ShutterWidthUpper), 1);
    EXPECT_EQ(Chip(0, R::ShutterWidthLower), 100000 - 65536);
    EXPECT_EQ(unit.GetExposureLines(), 100000);
    EXPECT_FLOAT_EQ(state.fExposureTime, fMs);
    EXPECT_FLOAT_EQ(state.fRequestedExposureTime, fMs);

    // A non-positive time gives one line, never the longest exposure.
    for (float fBad : {0.0f, -5.0f, NAN}) {
        ASSERT_EQ(unit.SetExposureTime(fBad), RET_SUCCESS);
        EXPECT_EQ(unit.GetExposureLines(), 1) << fBad;
    }
    ASSERT_EQ(unit.SetExposureTime(1e30f), RET_SUCCESS);
    EXPECT_EQ(unit.GetExposureLines(), CSensor2592Family::kMaxExposureLines);
    EXPECT_EQ(Chip(0, R::ShutterWidthUpper), 0x7FFF);

    // A failed upper write leaves the lower word unwritten.
    mlsim_journal_clear(0);
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, kWrSensor, 0, 1, 0);
    EXPECT_NE(unit.SetExposureLines(70000), RET_SUCCESS);
    EXPECT_EQ(SensorRequests(0, kWrSensor).size(), 1u);
    EXPECT_EQ(unit.GetExposureLines(), CSensor2592Family::kMaxExposureLines);
}

TEST_F(Sensor2048Test, ExposureBeyondSixteenBitsClampsAndWritesNoUpperBits) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    ASSERT_EQ(unit.SetExposureTime(unit.ExposureLinesToTime(70000)), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ShutterWidthLower), 65535);
    EXPECT_EQ(Chip(0, R::ShutterWidthUpper), 0);
    EXPECT_EQ(unit.GetExposureLines(), 65535);
    EXPECT_FLOAT_EQ(state.fExposureTime, unit.ExposureLinesToTime(65535));
}

TEST_F(Sensor2592Test, WriteThroughSendsNothingForAnUnchangedValue) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    mlsim_journal_clear(0);
    EXPECT_EQ(unit.WriteRegister(R::VerticalBlank, unit.Shadow(R::VerticalBlank)), RET_SUCCESS);
    EXPECT_EQ(unit.WriteRegister(7, 1), RET_NOTSUPPORT) << "not in the list";
    EXPECT_TRUE(VendorJournal(0).empty());

    // GlobalGain sets the colour gains in the chip, so their shadows follow.
    ASSERT_EQ(unit.WriteRegister(R::GlobalGain, 0x0160), RET_SUCCESS);
    for (uint16_t wColour : {R::RedGain, R::BlueGain, R::Green1Gain, R::Green2Gain}) {
        EXPECT_EQ(unit.Shadow(wColour), 0x0160);
        EXPECT_EQ(Chip(0, wColour), 0x0160);
    }
    mlsim_journal_clear(0);
    EXPECT_EQ(unit.SetColourGain(41, {R::RedGain}), RET_SUCCESS);
    EXPECT_TRUE(VendorJournal(0).empty());

    // A failed write keeps the shadow.
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, kWrSensor, 0, 1, 0);
    EXPECT_NE(unit.WriteRegister(R::VerticalBlank, 100), RET_SUCCESS);
    EXPECT_NE(unit.Shadow(R::VerticalBlank), 100);
}

TEST_F(Sensor2048Test, ShutterDelayAndGlobalGainCannotBeWritten) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    mlsim_journal_clear(0);
    EXPECT_EQ(unit.WriteRegister(R::ShutterDelay, 5), RET_NOTSUPPORT);
    EXPECT_EQ(unit.WriteRegister(R::GlobalGain, 5), RET_NOTSUPPORT);
    EXPECT_TRUE(VendorJournal(0).empty());
}

TEST_F(Sensor2592Test, ShutterDelayKeepsTheRequestedTimeAndRewritesTheLines) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    ASSERT_EQ(unit.SetExposureTime(100.0f), RET_SUCCESS);
    const int64_t nBefore = unit.GetExposureLines();
    ASSERT_EQ(unit.WriteRegister(R::ShutterDelay, 1400), RET_SUCCESS);
    EXPECT_FLOAT_EQ(state.fRequestedExposureTime, 100.0f);
    EXPECT_NE(unit.GetExposureLines(), nBefore);
    EXPECT_EQ(unit.GetExposureLines(), unit.ExposureTimeToLines(100.0f));
    EXPECT_EQ(Chip(0, R::ShutterWidthLower), unit.GetExposureLines() & 0xFFFF);
}

TEST(FamilyGainTables, StepsAndReadBack) {
    DeviceCapability capability;
    SensorState state;
    CLog* pLog = nullptr;
    CUsbTransport transport{pLog};
    CVendorRequests vendor{transport, capability};
    CSensor2592Family unit2592{vendor, capability, pLog, state};
    CSensor2048Family unit2048{vendor, capability, pLog, state};
    struct Case {
        const CRegisterFamilyUnit& unit;
        int nStep;
        uint16_t wValue;
    };
    const Case kCases[] = {
        {unit2592, 0, 8},        {unit2592, 24, 32},      {unit2592, 25, 81},
        {unit2592, 40, 96},      {unit2592, 41, 0x0160},  {unit2592, 55, 0x0F60},
        {unit2592, 56, 0x1160},  {unit2592, 153, 0x7860}, {unit2592, 200, 0x7860},
        {unit2592, -4, 8},       {unit2048, 43, 0x0360},  {unit2048, 44, 0x0360},
        {unit2048, 160, 0x7860}, {unit2048, 200, 0x7860},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(c.unit.GainTableValue(c.nStep), c.wValue) << c.nStep;
    }
    EXPECT_EQ(unit2592.MaxGainStep(), 153);
    EXPECT_EQ(unit2048.MaxGainStep(), 160);
    EXPECT_EQ(unit2592.GainStepOf(0x1160), 56);
    EXPECT_EQ(unit2048.GainStepOf(0x0360), 43) << "the first of equal steps";
    EXPECT_EQ(unit2048.GainStepOf(0x7860), 160) << "the last step reads back";
    EXPECT_EQ(unit2592.GainStepOf(0x1060), 0) << "a value outside the table";
}

TEST_F(Sensor2592Test, FieldOfViewTakesTheBinnedAddressModeCodes) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    uint8_t bChanged = 9;
    ASSERT_EQ(unit.SetFov(100, 86, 1280, 1024, 1, 1, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 1);
    ASSERT_EQ(unit.SetFov(100, 86, 1280, 1024, 1, 1, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 0) << "the same window again writes nothing";
    FieldOfView fov{};
    unit.GetFovLimits(fov, 3, true);
    EXPECT_EQ(fov.nColStart, 100);
    EXPECT_EQ(fov.nRowStart, 86);
    EXPECT_EQ(fov.nColSize, 1280);
    EXPECT_EQ(fov.nRowSize, 1024);
    EXPECT_EQ(fov.AmCol, 1);
    EXPECT_EQ(fov.AmRow, 1);
    EXPECT_EQ(fov.nWidth, 640);
    EXPECT_EQ(fov.nHeight, 512 * 3);
    EXPECT_EQ(fov.ulTotalBytes, 640u * 512 * 3 * 2);
    EXPECT_EQ(Chip(0, R::ColumnStart), 116);
    EXPECT_EQ(Chip(0, R::RowStart), 140);
    EXPECT_EQ(Chip(0, R::ColumnSize), 1279);
    EXPECT_EQ(Chip(0, R::RowSize), 1023);
    EXPECT_EQ(Chip(0, R::RowAddressMode), 0x11);
    EXPECT_EQ(Chip(0, R::ColumnAddressMode), 0x11);
    ASSERT_EQ(unit.SetFov(0, 0, 1200, 900, 2, 3, nullptr), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ColumnAddressMode), 0x02);
    EXPECT_EQ(Chip(0, R::RowAddressMode), 0x33);
    EXPECT_EQ(unit.SetFov(0, 0, 1200, 900, 5, 0, nullptr), RET_PARAMERROR);
}

TEST_F(Sensor2048Test, BinningChoosesTheCodesAndTheColumnOffset) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    ASSERT_EQ(unit.SetBinning(true), RET_SUCCESS);
    EXPECT_TRUE(unit.Binning());
    ASSERT_EQ(unit.SetFov(200, 100, 1024, 768, 1, 1, nullptr), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ColumnStart), 234);
    EXPECT_EQ(Chip(0, R::RowStart), 120);
    EXPECT_EQ(Chip(0, R::ColumnAddressMode), 0x11);
    // Binning off rewrites the codes of the current modes.
    ASSERT_EQ(unit.SetBinning(false), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ColumnAddressMode), 0x01);
    EXPECT_EQ(Chip(0, R::RowAddressMode), 0x01);
    ASSERT_EQ(unit.SetFov(200, 100, 1024, 768, 1, 1, nullptr), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ColumnAddressMode), 0x01);
    ASSERT_EQ(unit.SetFov(200, 100, 1024, 768, 0, 0, nullptr), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ColumnStart), 232);
    for (int nAmCol : {0, 1, 3, 4}) {
        ASSERT_EQ(unit.SetFov(200, 100, 1024, 768, nAmCol, 0, nullptr), RET_SUCCESS);
        FieldOfView fov{};
        unit.GetFovLimits(fov, 1, false);
        EXPECT_EQ(fov.nColStart, 200) << "the column offset of mode " << nAmCol;
        EXPECT_EQ(fov.AmCol, nAmCol);
        EXPECT_EQ(fov.nRowStart, 100);
    }

    // Values beyond the window fields (12 bits for the column start, 11 for
    // the others) clamp to them.
    ASSERT_EQ(unit.SetFov(INT_MAX, INT_MIN, INT_MAX, INT_MIN, 0, 0, nullptr), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ColumnStart), 0xFFF);
    EXPECT_EQ(Chip(0, R::RowStart), 0);
    EXPECT_EQ(Chip(0, R::ColumnSize), 0x7FF);
    EXPECT_EQ(Chip(0, R::RowSize), 0);

    // A failed write leaves the flag as it was.
    ASSERT_EQ(unit.SetFov(200, 100, 1024, 768, 1, 1, nullptr), RET_SUCCESS);
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, kWrSensor, 0, 1, 0);
    EXPECT_NE(unit.SetBinning(true), RET_SUCCESS);
    EXPECT_FALSE(unit.Binning());
}

TEST_F(Sensor2592Test, CheckFovMakesStartsEvenAndChecksBothModes) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    int nCol = 109, nRow = 87, nWidth = 1281, nHeight = 1025;
    ASSERT_EQ(unit.CheckFov(nCol, nRow, nWidth, nHeight, 0, 0, nullptr, false), RET_SUCCESS);
    EXPECT_EQ(nCol, 108);
    EXPECT_EQ(nRow, 86);
    EXPECT_EQ(nWidth, 1280);
    EXPECT_EQ(nHeight, 1026);
    nCol = 2000;
    nWidth = 4000;
    ASSERT_EQ(unit.CheckFov(nCol, nRow, nWidth, nHeight, 0, 0, nullptr, false), RET_SUCCESS);
    EXPECT_EQ(nWidth, 2592);
    EXPECT_EQ(nCol, 0);

    layers.capability.Set(SensorCap::bmSkip3, 0);
    EXPECT_EQ(unit.CheckFov(nCol, nRow, nWidth, nHeight, 0, 2, nullptr, false), RET_NOTSUPPORT)
        << "the row mode needs its capability too";
    EXPECT_EQ(unit.CheckFov(nCol, nRow, nWidth, nHeight, 0, 5, nullptr, false), RET_PARAMERROR);
}

TEST_F(Sensor2592Test, StrobeAndSensorModeLiveInReadModeOne) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    ASSERT_EQ(unit.SetStrobeEnable(true), RET_SUCCESS);
    ASSERT_EQ(unit.SetStrobeInvert(true), RET_SUCCESS);
    ASSERT_EQ(unit.SetStrobeMode(2), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ReadMode1) & 0x3F, 0x32);
    EXPECT_TRUE(unit.StrobeEnabled());
    EXPECT_TRUE(unit.StrobeInverted());
    int nMode = -1;
    EXPECT_EQ(unit.GetStrobeMode(&nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 2);
    ASSERT_EQ(unit.SetStrobeMode(7), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ReadMode1) & 0x0F, 0);

    struct Case {
        int nSet;
        uint16_t wBits;
        int nGet;
    };
    for (const Case& c : {Case{0, 0x0100, 0}, Case{2, 0x0180, 2}, Case{1, 0, 1}, Case{9, 0, 1}}) {
        ASSERT_EQ(unit.SetSensorMode(c.nSet), RET_SUCCESS);
        EXPECT_EQ(Chip(0, R::ReadMode1) & 0x0180, c.wBits) << c.nSet;
        EXPECT_EQ(unit.GetSensorMode(&nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, c.nGet);
    }
    ASSERT_EQ(unit.WriteRegister(R::ReadMode1, (unit.Shadow(R::ReadMode1) & ~0x0180) | 0x0080),
              RET_SUCCESS);
    EXPECT_EQ(unit.GetSensorMode(&nMode), RET_NOTSUPPORT);
    ASSERT_EQ(unit.WriteRegister(R::ReadMode1, unit.Shadow(R::ReadMode1) | 0x000F), RET_SUCCESS);
    EXPECT_EQ(unit.GetStrobeMode(&nMode), RET_NOTSUPPORT);
    EXPECT_EQ(nMode, 0);
}

TEST_F(Sensor2592Test, BlankingBounds) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    struct Case {
        int nSet, nHorizontal, nVertical;
    };
    for (const Case& c :
         {Case{5, 5, 8}, Case{3000, 3000, 2047}, Case{9000, 4095, 2047}, Case{-1, 0, 8}}) {
        ASSERT_EQ(unit.SetHorizontalBlank(c.nSet), RET_SUCCESS);
        ASSERT_EQ(unit.SetVerticalBlank(c.nSet), RET_SUCCESS);
        EXPECT_EQ(unit.GetHorizontalBlank(), c.nHorizontal) << c.nSet;
        EXPECT_EQ(unit.GetVerticalBlank(), c.nVertical) << c.nSet;
    }
}

TEST_F(Sensor2048Test, BlankingBounds) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    struct Case {
        int nSet, nHorizontal, nVertical;
    };
    for (const Case& c : {Case{1, 21, 3}, Case{300, 300, 300}, Case{9000, 2047, 2047}}) {
        ASSERT_EQ(unit.SetHorizontalBlank(c.nSet), RET_SUCCESS);
        ASSERT_EQ(unit.SetVerticalBlank(c.nSet), RET_SUCCESS);
        EXPECT_EQ(unit.GetHorizontalBlank(), c.nHorizontal) << c.nSet;
        EXPECT_EQ(unit.GetVerticalBlank(), c.nVertical) << c.nSet;
    }
}

// After a power cycle the restore writes every shadowed register back in
// the unit's order.
template <typename Unit>
void ExpectRestoreAfterPowerCycle(Unit& unit, CameraLayers& layers,
                                  const std::vector<uint16_t>& order) {
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    ASSERT_EQ(unit.SetFov(64, 32, 1024, 768, 1, 1, nullptr), RET_SUCCESS);
    ASSERT_EQ(unit.SetExposureLines(1234), RET_SUCCESS);
    ASSERT_EQ(unit.SetColourGain(30, {R::RedGain}), RET_SUCCESS);
    ASSERT_EQ(unit.SetVerticalBlank(100), RET_SUCCESS);
    ASSERT_EQ(mlsim_unplug(0), 1);
    ASSERT_EQ(mlsim_replug(0, 1), 1);
    ASSERT_EQ(layers.transport.ReleaseLostDevice(), RET_SUCCESS);
    ASSERT_EQ(layers.transport.FindLostDevice(), RET_SUCCESS);
    ASSERT_NE(Chip(1, R::ShutterWidthLower), 1234) << "power-on values after the cycle";
    mlsim_journal_clear(1);
    ASSERT_EQ(unit.RestoreRegisters(), RET_SUCCESS);
    EXPECT_EQ(Addresses(SensorRequests(1, kWrSensor)), order);
    for (uint16_t wAddress : order) {
        if (wAddress != R::GlobalGain) {
            EXPECT_EQ(Chip(1, wAddress), unit.Shadow(wAddress)) << wAddress;
        }
    }
}

TEST_F(Sensor2592Test, RestoreAfterAPowerCycleRewritesEveryRegister) {
    ExpectRestoreAfterPowerCycle(unit, layers,
                                 {2, 1, 4, 3, 34, 35, 9, 8, 12, 53, 45, 44, 43, 46, 30, 32, 5, 6});
}

TEST_F(Sensor2048Test, RestoreAfterAPowerCycleRewritesEveryRegister) {
    ExpectRestoreAfterPowerCycle(unit, layers,
                                 {2, 1, 4, 3, 34, 35, 5, 6, 9, 8, 45, 44, 43, 46, 30, 32});
}

// The device dispatches to the family units.
class FamilyDispatchTest : public SimTest {
  protected:
    void TearDown() override {
        ZDQ_UnInit();
        SimTest::TearDown();
    }
};

TEST_F(FamilyDispatchTest, OpeningAndSensorOperationsReachTheFamilyChips) {
    Plug(0, CameraProfile(kType2592));
    Plug(1, CameraProfile(kType2048));
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* p2592 = FrameGetDevice(0);
    CDevice* p2048 = FrameGetDevice(1);
    ASSERT_NE(p2592, nullptr);
    ASSERT_NE(p2048, nullptr);
    ASSERT_EQ(p2592->DeviceType(), kType2592);
    ASSERT_EQ(p2048->DeviceType(), kType2048);

    int nMin = -1, nMax = -1;
    EXPECT_EQ(p2592->SensorGetExposureLinesRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, 2147483647);
    EXPECT_EQ(p2048->SensorGetExposureLinesRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, 1);
    EXPECT_EQ(nMax, 65535);
    EXPECT_EQ(p2592->SensorGetGainRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, 153);
    EXPECT_EQ(p2048->SensorGetGainRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, 160);

    // Exposure by time lands in the shutter registers, lines keep the time.
    ASSERT_EQ(p2592->SensorSetExposureTime(500.0f), RET_SUCCESS);
    const int64_t nLines = p2592->SensorExposureTimeToLines(500.0f);
    EXPECT_EQ(Chip(0, R::ShutterWidthLower), nLines & 0xFFFF);
    EXPECT_EQ(Chip(0, R::ShutterWidthUpper), nLines >> 16);
    float fMs = 0;
    EXPECT_EQ(p2592->SensorGetExposureTime(&fMs), RET_SUCCESS);
    EXPECT_NEAR(fMs, 500.0f, 0.2f);
    ASSERT_EQ(p2048->SensorSetExposureLines(2000), RET_SUCCESS);
    EXPECT_EQ(Chip(1, R::ShutterWidthLower), 2000);
    int nGot = 0;
    EXPECT_EQ(p2048->SensorGetExposureLines(&nGot), RET_SUCCESS);
    EXPECT_EQ(nGot, 2000);

    // Monochrome 2592: every colour takes GlobalGain, which the chip copies.
    ASSERT_TRUE(p2592->Capability().Has(SensorCap::bmMono));
    ASSERT_EQ(p2592->SensorSetBlueGain(56), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::GlobalGain), 0x1160);
    EXPECT_EQ(Chip(0, R::RedGain), 0x1160);
    EXPECT_EQ(p2592->SensorGetRedGain(&nGot), RET_SUCCESS);
    EXPECT_EQ(nGot, 56);
    // Colour 2048: each colour its registers.
    ASSERT_EQ(p2048->SensorSetGreenGain(45), RET_SUCCESS);
    ASSERT_EQ(p2048->SensorSetRedGain(10), RET_SUCCESS);
    EXPECT_EQ(Chip(1, R::Green1Gain), 0x0560);
    EXPECT_EQ(Chip(1, R::Green2Gain), 0x0560);
    EXPECT_EQ(Chip(1, R::RedGain), 18);
    EXPECT_EQ(p2048->SensorGetGreenGain(&nGot), RET_SUCCESS);
    EXPECT_EQ(nGot, 45);

    bool bOn = false;
    EXPECT_EQ(p2592->SensorFlashEnableSet(true), RET_SUCCESS);
    EXPECT_EQ(p2592->SensorFlashEnableGet(&bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    EXPECT_EQ(Chip(0, R::ReadMode1) & 0x0010, 0x0010);
    EXPECT_EQ(p2048->SensorFlashEnableSet(true), RET_NOTSUPPORT);

    EXPECT_EQ(p2048->SensorRestoreRegs(), RET_RECOVERY_SUCCESS);
}

TEST_F(FamilyDispatchTest, BlankingSensorModeAndBinningPerUnit) {
    Plug(0, CameraProfile(kType2592));
    Plug(1, CameraProfile(kType2048));
    Plug(2, CameraProfile(5));  // MT9M001
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevices[3] = {FrameGetDevice(0), FrameGetDevice(1), FrameGetDevice(2)};
    for (CDevice* pDevice : pDevices) {
        ASSERT_NE(pDevice, nullptr);
    }
    struct Case {
        int nHorizontalMin, nHorizontalMax, nVerticalMin, nVerticalMax;
    };
    const Case kRanges[3] = {{0, 4095, 8, 2047}, {21, 2047, 3, 2047}, {9, 2047, 25, 2047}};
    for (int i = 0; i < 3; ++i) {
        CDevice& device = *pDevices[i];
        int nMin = -1, nMax = -1, nGot = -1;
        EXPECT_EQ(device.SensorGetHorizontalBlankRange(&nMin, &nMax), RET_SUCCESS);
        EXPECT_EQ(nMin, kRanges[i].nHorizontalMin);
        EXPECT_EQ(nMax, kRanges[i].nHorizontalMax);
        EXPECT_EQ(device.SensorGetVerticalBlankRange(&nMin, &nMax), RET_SUCCESS);
        EXPECT_EQ(nMin, kRanges[i].nVerticalMin);
        EXPECT_EQ(nMax, kRanges[i].nVerticalMax);
        ASSERT_EQ(device.SensorSetHorizontalBlank(100000), RET_SUCCESS);
        EXPECT_EQ(device.SensorGetHorizontalBlank(&nGot), RET_SUCCESS);
        EXPECT_EQ(nGot, kRanges[i].nHorizontalMax);
        EXPECT_EQ(Chip(i, R::HorizontalBlank), kRanges[i].nHorizontalMax);
        ASSERT_EQ(device.SensorSetVerticalBlank(0), RET_SUCCESS);
        EXPECT_EQ(device.SensorGetVerticalBlank(&nGot), RET_SUCCESS);
        EXPECT_EQ(nGot, kRanges[i].nVerticalMin);
        EXPECT_EQ(device.SensorGetHorizontalBlank(nullptr), RET_PARAMERROR);
    }

    int nMode = -1;
    ASSERT_EQ(pDevices[0]->SensorModeSet(2), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ReadMode1) & 0x0180, 0x0180);
    EXPECT_EQ(pDevices[0]->SensorModeGet(&nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 2);
    EXPECT_EQ(pDevices[1]->SensorModeSet(2), RET_NOTSUPPORT);
    EXPECT_EQ(pDevices[2]->SensorModeGet(&nMode), RET_NOTSUPPORT);

    int bOn = -1;
    ASSERT_EQ(pDevices[1]->SensorSetBin(true), RET_SUCCESS);
    EXPECT_EQ(pDevices[1]->SensorGetBin(&bOn), RET_SUCCESS);
    EXPECT_EQ(bOn, 1);
    EXPECT_EQ(pDevices[0]->SensorGetBin(&bOn), RET_SUCCESS);
    EXPECT_EQ(bOn, 0);
    EXPECT_EQ(pDevices[1]->SensorGetBin(nullptr), RET_PARAMERROR);
    EXPECT_EQ(pDevices[2]->SensorSetBin(true), RET_NOTSUPPORT);
    EXPECT_EQ(pDevices[2]->SensorGetBinRange(nullptr, nullptr), RET_NOTSUPPORT);
}

TEST_F(FamilyDispatchTest, StrobeExportsReachReadMode1OfThe2592Family) {
    Plug(0, CameraProfile(kType2592));
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    ASSERT_EQ(ZDQ_FlashControlSet(0, 1, 1, 2), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ReadMode1) & 0x003F, 0x0032);  // enable, invert, mode 2
    unsigned char bEnable = 0, bInvert = 0;
    int nMode = -1;
    EXPECT_EQ(ZDQ_FlashControlGet(0, &bEnable, &bInvert, &nMode), RET_SUCCESS);
    EXPECT_EQ(bEnable, 1);
    EXPECT_EQ(bInvert, 1);
    EXPECT_EQ(nMode, 2);

    // Modes other than 1 and 2 clear the mode bits; polarity goes back.
    EXPECT_EQ(ZDQ_FlashSetMode(0, 7), RET_SUCCESS);
    EXPECT_EQ(ZDQ_FlashInvertSet(0, 0), RET_SUCCESS);
    EXPECT_EQ(Chip(0, R::ReadMode1) & 0x003F, 0x0010);
    EXPECT_EQ(ZDQ_FlashGetMode(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 0);

    // A mode the SDK never sets reads as 0 and not supported.
    ASSERT_EQ(mlsim_sensor_write(0, R::ReadMode1,
                                 static_cast<uint16_t>((Chip(0, R::ReadMode1) & ~0x000F) | 0x0005)),
              1);
    ASSERT_EQ(ZDQ_UnInit(), RET_SUCCESS);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    EXPECT_EQ(ZDQ_FlashGetMode(0, &nMode), RET_NOTSUPPORT);
    EXPECT_EQ(nMode, 0);
}

}  // namespace
