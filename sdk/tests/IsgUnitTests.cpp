// The ISG units (ISG1307, ISG4006A, ISG4006) on opened simulated cameras:
// gain bytes, flip polarities, exposure fields and their clamps, windows of
// chip rows and FPGA-cropped columns, the ISG1307's FPGA strobe.
#include "OpenedCamera.h"

namespace {

constexpr uint8_t kWrSensorX = 0xC3;

uint8_t ChipByte(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1) << std::hex << wAddress;
    return static_cast<uint8_t>(wValue);
}

// A field whose low byte is at wLow and higher bytes below it.
uint32_t ChipField(uint16_t wLow, int nBytes) {
    uint32_t nValue = 0;
    for (int i = 0; i < nBytes; ++i) {
        nValue |= uint32_t{ChipByte(static_cast<uint16_t>(wLow - i))} << (8 * i);
    }
    return nValue;
}

size_t SensorWrites() {
    size_t n = 0;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        n += entry.request == kWrSensorX ? 1 : 0;
    }
    return n;
}

class IsgTest : public OpenedCameraTest {};

TEST_F(IsgTest, GainGoesToThePgaByteOnlyWhenItChanges) {
    Open(117);
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 4), RET_SUCCESS);
    EXPECT_EQ(ChipByte(0x1E) & 0x1F, 4);
    EXPECT_EQ(SensorWrites(), 1u);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GREEN, 4), RET_SUCCESS);
    EXPECT_EQ(SensorWrites(), 1u) << "the same gain sends nothing";
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 99), RET_SUCCESS);
    EXPECT_EQ(ChipByte(0x1E) & 0x1F, 31);
    ZDQ_UnInit();
    mlsim_unplug_all();

    Open(108);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 5), RET_SUCCESS);
    EXPECT_EQ(ChipByte(0x05) & 0x1E, 10) << "twice the step in bits 1-4";
    int nGain = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_RED, &nGain), RET_SUCCESS);
    EXPECT_EQ(nGain, 5);
    ZDQ_UnInit();
    mlsim_unplug_all();

    Open(111);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 20), RET_SUCCESS);
    EXPECT_EQ(ChipByte(0x17) & 0x1F, 15);
}

TEST_F(IsgTest, FlipPolarities) {
    Open(117);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_FLIP, 1), RET_SUCCESS);
    EXPECT_EQ(ChipByte(0x185) & 0x40, 0) << "ISG1307: bit 6 cleared when flipped";
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_FLIP, 0), RET_SUCCESS);
    EXPECT_EQ(ChipByte(0x185) & 0x40, 0x40);
    ZDQ_UnInit();
    mlsim_unplug_all();

    Open(108);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_FLIP, 1), RET_SUCCESS);
    EXPECT_EQ(ChipByte(0x60) & 0x01, 1) << "ISG4006: bit 0 set when flipped";
    int nFlip = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_FLIP, &nFlip), RET_SUCCESS);
    EXPECT_EQ(nFlip, 1);
}

TEST_F(IsgTest, ExposureFieldsClampNeverWrap) {
    const struct {
        int nType, nLines;
        uint16_t wLow;
        int nBytes;
        uint32_t nMask, nWritten;
    } kCases[] = {
        {117, 40000, 0x194, 3, 0xFFFFFF, 32767},
        {108, 0, 0x32, 4, 0x7FFFFFF, 1},
        {109, 70000000, 0x32, 4, 0x7FFFFFF, 67108863},
        {112, 20000000, 0x146, 3, 0xFFFFFF, 0xFFFFFF},
        {111, 123456, 0x146, 3, 0xFFFFFF, 123456},
    };
    for (const auto& c : kCases) {
        Open(c.nType);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, c.nLines), RET_SUCCESS);
        EXPECT_EQ(ChipField(c.wLow, c.nBytes) & c.nMask, c.nWritten) << c.nType;
        int nLines = 0;
        ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE_LINES, &nLines), RET_SUCCESS);
        EXPECT_EQ(static_cast<uint32_t>(nLines), c.nWritten);
        if (c.nBytes == 4) {
            EXPECT_EQ(ChipByte(0x2F) & 0xF8, 0xF8) << "EXP_TIME3 bits 3-7 kept";
        }
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(IsgTest, WindowsCropColumnsInTheFpgaAndRowsInTheChip) {
    const struct {
        int nType, nCol, nRow, nWidth, nHeight;
        int nAlignedCol, nAlignedRow, nAlignedWidth, nAlignedHeight;
    } kCases[] = {
        {117, 101, 50, 639, 479, 104, 52, 640, 480},
        {118, -8, 1000, 400, 100, 0, 924, 400, 100},  // pulled back inside
        {112, 9, 3, 1000, 1001, 16, 4, 1000, 1004},
        {109, 40, 8, 100, 200, 0, 8, 2040, 200},  // the width is fixed
    };
    for (const auto& c : kCases) {
        Open(c.nType);
        ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, c.nCol, c.nRow, c.nWidth, c.nHeight, 0, 0),
                  RET_SUCCESS)
            << c.nType;
        int nWidth = 0, nHeight = 0;
        ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
        EXPECT_EQ(nWidth, c.nAlignedWidth) << c.nType;
        EXPECT_EQ(nHeight, c.nAlignedHeight) << c.nType;
        std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
        ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        MlSimFrameInfo info{};
        ASSERT_EQ(mlsim_frame_info(0, &info), 1);
        EXPECT_EQ(info.width, c.nAlignedWidth) << c.nType;
        EXPECT_EQ(info.height, c.nAlignedHeight);
        EXPECT_EQ(info.col_start, c.nAlignedCol);
        EXPECT_EQ(info.row_start, c.nAlignedRow);
        // Nothing in these cameras skips or bins.
        EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 1, 1), RET_NOTSUPPORT);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(IsgTest, Isg1307StrobeInFpgaRegister29) {
    Open(117);
    ASSERT_EQ(ZDQ_FlashEnableSet(0, 0), RET_SUCCESS);
    uint16_t wIo = 0;
    ASSERT_EQ(mlsim_fpga_read(0, 29, &wIo), 1);
    EXPECT_EQ(wIo & 0x0300, 0x0300);
    ASSERT_EQ(ZDQ_FlashEnableSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_FlashInvertSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(mlsim_fpga_read(0, 29, &wIo), 1);
    EXPECT_EQ(wIo & 0x4300, 0x4000);
}

}  // namespace
