// The IMX290 unit against the simulated chip: the frame-stretching exposure,
// the window in the low 11 bits of its registers, gain and the limits.
#include "ByteRegisterTestSupport.h"
#include "ZDQApi.h"
#include "sensors/IMX290.h"

namespace {

uint32_t ChipVmax() {
    return Chip(0x218, 3, 0x3FFFF);
}
uint32_t ChipShs() {
    return Chip(0x220, 3, 0x3FFFF);
}

class IMX290Test : public ByteRegisterUnitTest {
  protected:
    void SetUp() override {
        ByteRegisterUnitTest::SetUp();
        PlugType(115);
        unit = MakeUnit<CIMX290>(115);
        ASSERT_EQ(unit->Init(), RET_SUCCESS);
    }
    std::unique_ptr<CIMX290> unit;
};

TEST_F(IMX290Test, InitReadsTheFrameAndTheExposure) {
    EXPECT_EQ(unit->Hmax(), 1100u);
    EXPECT_EQ(unit->Vmax(), 1117u);
    EXPECT_EQ(unit->Lines(), 100);
    EXPECT_NEAR(state.fExposureTime, 1100.0 * 100 / 148500.0, 1e-5);
    FieldOfView fov{};
    ASSERT_EQ(unit->GetFovLimits(fov, 2, true), RET_SUCCESS);
    EXPECT_EQ(fov.nColStart, 0) << "bit 11 of ROIPH1 is not the window's";
    EXPECT_EQ(fov.nColSize, 1944);
    EXPECT_EQ(fov.nRowSize, 1096);
    EXPECT_EQ(fov.nHeight, 2192);
    EXPECT_EQ(fov.ulTotalBytes, 1944u * 2192 * 2);
    EXPECT_NE(layers.LogText().find("ZDQAPI::IMX290REG_WINWV_OB:         0x0018"),
              std::string::npos);
}

TEST_F(IMX290Test, LongExposuresStretchTheFrame) {
    struct Case {
        int64_t nLines;
        uint32_t nVmax, nShs;
    } const cases[] = {
        {100, 1117, 1016}, {1115, 1117, 1}, {1116, 1118, 1},
        {2000, 2002, 1},   {0, 1117, 1115}, {300000, 262143, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unit->SetExposureLines(c.nLines), RET_SUCCESS);
        EXPECT_EQ(ChipVmax(), c.nVmax) << c.nLines;
        EXPECT_EQ(ChipShs(), c.nShs) << c.nLines;
        EXPECT_EQ(unit->Lines(), c.nVmax - c.nShs - 1);
        MlSimFrameInfo info{};
        mlsim_frame_info(0, &info);
        EXPECT_NEAR(info.exposure_ms, state.fExposureTime, state.fExposureTime * 1e-5);
    }
}

TEST_F(IMX290Test, ANewHeightKeepsTheLineCount) {
    ASSERT_EQ(unit->SetExposureLines(700), RET_SUCCESS);
    ASSERT_EQ(unit->SetFov(0, 0, 1944, 600, 0, 0, nullptr), RET_SUCCESS);
    EXPECT_EQ(ChipVmax(), 700u + 2) << "600 + 8 + 13 is shorter than the exposure";
    EXPECT_EQ(unit->Lines(), 700);
    ASSERT_EQ(unit->SetExposureLines(100), RET_SUCCESS);
    EXPECT_EQ(ChipVmax(), 621u);
    EXPECT_EQ(ChipShs(), 520u);
}

TEST_F(IMX290Test, TheWindowKeepsTheUpperBitsOfItsRegisters) {
    uint8_t bChanged = 0;
    ASSERT_EQ(unit->SetFov(100, 40, 1000, 800, 0, 0, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 1);
    EXPECT_EQ(Chip(0x240, 2, 0xFFFF), 0x0800u | 100);
    EXPECT_EQ(Chip(0x242, 2, 0xFFFF), 0x4000u | 1000);
    EXPECT_EQ(Chip(0x23E, 2, 0xFFFF), 800u);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 1000);
    EXPECT_EQ(info.height, 800);
    EXPECT_EQ(info.col_start, 100);
    EXPECT_EQ(info.row_start, 40);
    // Values beyond 11 bits clamp instead of spilling into the others.
    ASSERT_EQ(unit->SetFov(-5, 5000, 0, 0, 0, 0, nullptr), RET_SUCCESS);
    EXPECT_EQ(Chip(0x240, 2, 0xFFFF), 0x0800u);
    EXPECT_EQ(Chip(0x23C, 2, 0xFFFF), 0x07FFu);
}

TEST_F(IMX290Test, CheckTestsOnlyTheColumnModeAndAlignsToFour) {
    int nCol = 1, nRow = 1, nWidth = 369, nHeight = 303;
    uint16_t wFrames = 100;
    ASSERT_EQ(unit->CheckFov(nCol, nRow, nWidth, nHeight, 0, 3, &wFrames, false), RET_SUCCESS);
    EXPECT_EQ(nCol, 4);
    EXPECT_EQ(nRow, 4);
    EXPECT_EQ(nWidth, 372);
    EXPECT_EQ(nHeight, 304);
    EXPECT_EQ(wFrames, 100);
    EXPECT_EQ(unit->CheckFov(nCol, nRow, nWidth, nHeight, 2, 0, nullptr, false), RET_NOTSUPPORT);
}

TEST_F(IMX290Test, GainClampsTo210AndFlipAndMirrorAreTheReverseBits) {
    for (const auto& c : {std::pair<int, uint32_t>{300, 210}, {-1, 0}, {77, 77}}) {
        ASSERT_EQ(unit->SetGain(CSensorUnit::GainColour::Blue, c.first), RET_SUCCESS);
        EXPECT_EQ(Chip(0x214, 1, 0xFF), c.second);
    }
    ASSERT_EQ(unit->SetMirror(true), RET_SUCCESS);
    bool bOn = false;
    EXPECT_EQ(unit->GetMirror(&bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    EXPECT_EQ(Chip(0x207, 1, 0xFF), 2u);
    EXPECT_EQ(unit->SetStrobeEnable(true), RET_NOTSUPPORT);
}

}  // namespace
