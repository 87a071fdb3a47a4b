// Settings kept in the camera's memory, against simulated cameras of the
// three memory kinds: the parameter block (its pieces on the bus, the
// version gates, the round trip through a power cycle), the stored LUT and
// gamma LUT, the FPGA's gains and matrix, and what the opening reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "LutFileFixture.h"
#include "OpenedCamera.h"

namespace {

// Models by memory kind: a 2592 x 1944 colour camera with kind 1 (256 KiB,
// every stored item), a monochrome 2592 x 1944 camera with kind 2 and the
// FPGA's trigger modes, a 10-bit 2048 x 1536 colour camera with kind 2, and
// the station's camera with kind 0.
constexpr int kTypeKind1 = 52;
constexpr int kTypeKind2 = 32;
constexpr int kType10BitKind2 = 40;
constexpr int kTypeKind0 = kTypeMono2592;

constexpr uint32_t kKind1Block = 0x3F080;
constexpr uint32_t kKind2Block = 0x3A80;
constexpr uint32_t kKind2LutLength = 0x28F0;
constexpr uint32_t kKind2Lut = 0x2900;

std::vector<MlSimJournalEntry> Requests(uint8_t byRequest) {
    std::vector<MlSimJournalEntry> found;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (entry.request == byRequest) {
            found.push_back(entry);
        }
    }
    return found;
}

std::vector<uint8_t> SimMemory(uint32_t nAddress, uint32_t nLength) {
    std::vector<uint8_t> bytes(nLength);
    mlsim_eeprom_read(0, nAddress, bytes.data(), nLength);
    return bytes;
}

// A parameter block written field by field at the offsets of its layout.
struct Block {
    std::array<uint8_t, 200> bytes{};

    Block(int nMajor, int nMinor) {
        bytes[0] = 'P';
        bytes[1] = 'S';
        bytes[2] = static_cast<uint8_t>(nMinor);
        bytes[3] = static_cast<uint8_t>(nMajor);
    }
    void Put(uint32_t nOffset, uint32_t nValue, int nBytes) {
        for (int i = 0; i < nBytes; ++i) {
            bytes[nOffset + i] = static_cast<uint8_t>(nValue >> (8 * i));
        }
    }
    void PutWindow(uint32_t nOffset, int nWhich) {
        int nCol = 0, nRow = 0, nCols = 0, nRows = 0, nAmCol = 0, nAmRow = 0;
        if (nWhich == kPreviewFov) {
            ZDQ_PreviewGetFieldOfView(0, &nCol, &nRow, &nCols, &nRows, &nAmCol, &nAmRow);
        } else {
            ZDQ_CaptureGetFieldOfView(0, &nCol, &nRow, &nCols, &nRows, &nAmCol, &nAmRow);
        }
        for (int i = 0; i < 5; ++i) {
            const int nValue[] = {nCol, nRow, nCols, nRows, nAmCol};
            Put(nOffset + 4 * i, static_cast<uint32_t>(nValue[i]), 4);
        }
    }
};

int Param(ZDQ_PARAM param) {
    int nValue = -1;
    EXPECT_EQ(ZDQ_GetParam(0, param, &nValue), RET_SUCCESS);
    return nValue;
}

class CameraMemoryTest : public OpenedCameraTest {};

TEST_F(CameraMemoryTest, Kind1BlockGoesOutInPiecesThatNeverCrossAPage) {
    Open(kTypeKind1);
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_ParamProgram(0), RET_SUCCESS);
    const std::vector<MlSimJournalEntry> writes = Requests(0xD5);
    struct Piece {
        uint32_t nAddress, nLength;
    };
    const Piece expected[] = {{0x3F080, 64}, {0x3F0C0, 64}, {0x3F100, 64}, {0x3F140, 8}};
    ASSERT_EQ(writes.size(), std::size(expected));
    for (size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(writes[i].request_type, 0x40);
        EXPECT_EQ(uint32_t(writes[i].value) << 16 | writes[i].index, expected[i].nAddress);
        EXPECT_EQ(writes[i].length, expected[i].nLength);
    }
    const std::vector<uint8_t> head = SimMemory(kKind1Block, 4);
    EXPECT_EQ(head, (std::vector<uint8_t>{'P', 'S', 10, 1}));

    // Read back the same way.
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_LoadParamFromCamera(0), RET_SUCCESS);
    const std::vector<MlSimJournalEntry> reads = Requests(0xD4);
    ASSERT_EQ(reads.size(), std::size(expected));
    for (size_t i = 0; i < reads.size(); ++i) {
        EXPECT_EQ(uint32_t(reads[i].value) << 16 | reads[i].index, expected[i].nAddress);
        EXPECT_EQ(reads[i].length, expected[i].nLength);
    }

    EXPECT_EQ(ZDQ_ParamErase(0), RET_SUCCESS);
    EXPECT_EQ(SimMemory(kKind1Block, 200), std::vector<uint8_t>(200, 0));
    EXPECT_EQ(ZDQ_LoadParamFromCamera(0), RET_FATALERROR);
}

TEST_F(CameraMemoryTest, Kind0KeepsSingleBytesOnly) {
    CDevice& device = Open(kTypeKind0);
    EXPECT_EQ(ZDQ_ParamProgram(0), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ParamErase(0), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_LoadParamFromCamera(0), RET_NOTSUPPORT);
    unsigned char description[16] = {};
    EXPECT_EQ(ZDQ_SerialsDescReadout(0, description), RET_NOTSUPPORT);

    EXPECT_EQ(ZDQ_SetSerials(0, 0x1A7), RET_SUCCESS);
    EXPECT_EQ(SimMemory(8191, 1)[0], 0xA7);
    unsigned char bySerial = 0;
    EXPECT_EQ(ZDQ_GetSerials(0, &bySerial), RET_SUCCESS);
    EXPECT_EQ(bySerial, 0xA7);
    EXPECT_EQ(ZDQ_GetSerials(0, nullptr), RET_PARAMERROR);

    // The working mode as two single bytes, low byte first.
    unsigned short wMode = 0;
    EXPECT_EQ(ZDQ_WorkingModeProgram(0, 0x1234), RET_NOTSUPPORT);
    device.Capability().Set(FirmwareCap::bmProgramWorkingMode, 1);
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_WorkingModeProgram(0, 0x1234), RET_SUCCESS);
    EXPECT_EQ(Requests(0xC5).size(), 2u);
    EXPECT_EQ(SimMemory(8176, 2), (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(ZDQ_WorkingModeReadout(0, &wMode), RET_SUCCESS);
    EXPECT_EQ(wMode, 0x1234);
    EXPECT_EQ(ZDQ_WorkingModeReadout(0, nullptr), RET_PARAMERROR);
}

// What a stored block changes, by its version: the fields a version does
// not carry stay as they were.
struct GateCase {
    int nMajor, nMinor;
    int nResult;
    bool bSteps1To5;   // exposure lines
    bool bTrigger;     // mode bits (trigger mode 1)
    int nMethod;       // trigger method read back
    bool bTimeOut;     // capture time-out
    bool bContrast;    // contrast
    int nSensitivity;  // sensitivity read back
};

class ParamBlockVersionTest : public CameraMemoryTest,
                              public ::testing::WithParamInterface<GateCase> {};

TEST_P(ParamBlockVersionTest, AppliesTheFieldsItsVersionCarries) {
    const GateCase& c = GetParam();
    Open(kTypeKind2);
    const int nLinesBefore = Param(ZDQ_EXPOSURE_LINES);
    Block block(c.nMajor, c.nMinor);
    block.PutWindow(4, kPreviewFov);
    block.PutWindow(24, kCaptureFov);
    block.Put(44, static_cast<uint32_t>(nLinesBefore / 2), 4);
    // Trigger mode 1 with method 2 in the layout of minors 4-6 (method in
    // bits 2-3), which today's layout reads as method 1.
    block.Put(160, 0x0009, 2);
    block.Put(162, 1234, 4);
    block.Put(169, 20, 4);
    block.Put(185, 3, 1);
    ASSERT_EQ(mlsim_eeprom_write(0, kKind2Block, block.bytes.data(), 200), 1);

    EXPECT_EQ(ZDQ_LoadParamFromCamera(0), c.nResult);
    EXPECT_EQ(Param(ZDQ_EXPOSURE_LINES), c.bSteps1To5 ? nLinesBefore / 2 : nLinesBefore);
    int nMode = -1, nMethod = -1, nSensitivity = -1;
    ZDQ_TriggerModeGet(0, &nMode);
    ZDQ_TriggerMethodGet(0, &nMethod);
    ZDQ_SensitivityGetMode(0, &nSensitivity);
    EXPECT_EQ(nMode, c.bTrigger ? 1 : 0);
    EXPECT_EQ(nMethod, c.nMethod);
    unsigned int nTimeOut = 0;
    ZDQ_CaptureGetTimeOut(0, &nTimeOut);
    EXPECT_EQ(nTimeOut, c.bTimeOut ? 1234u : 5000u);
    EXPECT_EQ(Param(ZDQ_CONTRAST), c.bContrast ? 20 : 0);
    EXPECT_EQ(nSensitivity, c.nSensitivity);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, ParamBlockVersionTest,
    ::testing::Values(GateCase{0, 9, RET_FATALERROR, false, false, 0, false, false, 0},
                      GateCase{1, 2, RET_FATALERROR, false, false, 0, false, false, 0},
                      GateCase{1, 3, RET_SUCCESS, true, false, 0, false, false, 0},
                      GateCase{1, 5, RET_SUCCESS, true, true, 2, true, false, 0},
                      GateCase{1, 7, RET_SUCCESS, true, true, 1, true, true, 0},
                      GateCase{1, 10, RET_SUCCESS, true, true, 1, true, true, 3},
                      GateCase{2, 0, RET_SUCCESS, true, true, 1, true, true, 3}));

// A sensor with an AE window of its own stores that window, as the chip
// took it (even values), in place of the region as it was given.
TEST_F(CameraMemoryTest, TheStoredAeRegionIsTheSensorsOwnWindowWhereItHasOne) {
    CDevice& device = Open(17);
    ASSERT_EQ(ZDQ_AESetRegion(0, 11, 21, 101, 81), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ParamProgram(0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AESetRegion(0, 0, 0, 64, 64), RET_SUCCESS);
    ASSERT_EQ(ZDQ_LoadParamFromCamera(0), RET_SUCCESS);
    const FrameRegion region = device.AutoExposure().Region();
    EXPECT_EQ(region.x, 10);
    EXPECT_EQ(region.y, 20);
    EXPECT_EQ(region.width, 100);
    EXPECT_EQ(region.height, 80);
}

TEST_F(CameraMemoryTest, SettingsSurviveAPowerCycleThroughTheBlock) {
    Open(kTypeKind2);
    const int nLines = Param(ZDQ_EXPOSURE_LINES) / 3;
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, nLines), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 20), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_FLIP, 0), RET_SUCCESS);  // a monochrome camera opens flipped
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_CONTRAST, -40), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GAMMA, 3), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetTimeOut(0, 777), RET_SUCCESS);
    ASSERT_EQ(ZDQ_TriggerMethodSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AESetRegion(0, 10, 20, 300, 200), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AESetTarget(0, 90), RET_SUCCESS);
    const int nRed = Param(ZDQ_RED);
    ASSERT_EQ(ZDQ_ParamProgram(0), RET_SUCCESS);

    ZDQ_UnInit();
    ASSERT_EQ(mlsim_unplug(0), 1);
    ASSERT_EQ(mlsim_replug(0, 0), 1);  // registers at power-on, memory kept
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);

    EXPECT_EQ(Param(ZDQ_EXPOSURE_LINES), nLines);
    EXPECT_EQ(Param(ZDQ_RED), nRed);
    EXPECT_EQ(Param(ZDQ_FLIP), 0);
    EXPECT_EQ(Param(ZDQ_CONTRAST), -40);
    EXPECT_EQ(Param(ZDQ_GAMMA), 3);
    int nCol = -1, nRow = -1, nCols = 0, nRows = 0;
    ZDQ_PreviewGetFieldOfView(0, &nCol, &nRow, &nCols, &nRows, nullptr, nullptr);
    EXPECT_EQ(nCols, 640);
    EXPECT_EQ(nRows, 480);
    unsigned int nTimeOut = 0;
    ZDQ_CaptureGetTimeOut(0, &nTimeOut);
    EXPECT_EQ(nTimeOut, 777u);
    int nMethod = -1;
    ZDQ_TriggerMethodGet(0, &nMethod);
    EXPECT_EQ(nMethod, 1);
    int x = 0, y = 0, nWidth = 0, nHeight = 0;
    ZDQ_AEGetRegion(0, &x, &y, &nWidth, &nHeight, nullptr);
    EXPECT_EQ((std::array<int, 4>{x, y, nWidth, nHeight}), (std::array<int, 4>{10, 20, 300, 200}));
    bool bStarted = true;
    int nMaxCount = 0, nTarget = 0;
    ZDQ_AEGetStatusEx(0, &bStarted, &nMaxCount, &nTarget);
    EXPECT_EQ(nTarget, 90);
}

TEST_F(CameraMemoryTest, ColourSettingsSurviveAPowerCycleThroughTheBlock) {
    Open(kTypeKind1);
    float fGains[3] = {1.25f, 1.0f, 1.75f};
    float fMatrix[9] = {1.5f, -0.25f, -0.25f, -0.125f, 1.25f, -0.125f, 0.0f, -0.5f, 1.5f};
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 4), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalanceMatrixSet(0, fGains), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalanceAutoSet(0, 17), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 2), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectionMatrixSet(0, fMatrix), RET_SUCCESS);
    ASSERT_EQ(ZDQ_BayerSetMode(0, 9), RET_SUCCESS);
    ASSERT_EQ(ZDQ_FilterSetMode(0, 2), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreviewSetCalibration(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ParamProgram(0), RET_SUCCESS);

    ZDQ_UnInit();
    ASSERT_EQ(mlsim_unplug(0), 1);
    ASSERT_EQ(mlsim_replug(0, 0), 1);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);

    int nMode = -1;
    ZDQ_WhiteBalanceGet(0, &nMode);
    EXPECT_EQ(nMode, 4);
    float fBack[9] = {};
    ZDQ_WhiteBalanceMatrixGet(0, fBack);
    EXPECT_EQ(std::vector<float>(fBack, fBack + 3), std::vector<float>(fGains, fGains + 3));
    int nThreshold = 0;
    ZDQ_WhiteBalanceAutoGet(0, &nThreshold);
    EXPECT_EQ(nThreshold, 17);
    ZDQ_ColorCorrectionGet(0, &nMode);
    EXPECT_EQ(nMode, 2);
    ZDQ_ColorCorrectionMatrixGet(0, fBack);
    EXPECT_EQ(std::vector<float>(fBack, fBack + 9), std::vector<float>(fMatrix, fMatrix + 9));
    ZDQ_BayerGetMode(0, &nMode);
    EXPECT_EQ(nMode, 9);
    ZDQ_FilterGetMode(0, &nMode);
    EXPECT_EQ(nMode, 2);
    bool bOn = false;
    ZDQ_PreviewGetCalibration(0, &bOn);
    EXPECT_TRUE(bOn);
}

class StoredLutTest : public CameraMemoryTest {
  protected:
    // The 10-bit kind-2 camera, able to take a LUT download.
    CDevice& Open10Bit() {
        CDevice& device = Open(kType10BitKind2);
        device.Capability().Set(FpgaCap::bmLutDownload, 1);
        return device;
    }
};

TEST_F(StoredLutTest, TableOfTheSensorsSizeIsStoredAndLoaded) {
    Open10Bit();
    std::vector<uint8_t> lut(4096);
    for (size_t i = 0; i < lut.size(); ++i) {
        lut[i] = static_cast<uint8_t>(i * 7);
    }
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_LutDataProgram(0, lut.data(), 4096), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_LutDataProgram(0, nullptr, 1024), RET_PARAMERROR);
    EXPECT_TRUE(Requests(0xD5).empty());

    ASSERT_EQ(ZDQ_LutDataProgram(0, lut.data(), 1024), RET_SUCCESS);
    for (const MlSimJournalEntry& entry : Requests(0xD5)) {
        EXPECT_LE(entry.length, 64);
    }
    EXPECT_EQ(SimMemory(kKind2Lut, 1024), std::vector<uint8_t>(lut.begin(), lut.begin() + 1024));
    EXPECT_EQ(SimMemory(kKind2LutLength, 2), (std::vector<uint8_t>{0x00, 0x04}));
    std::vector<uint8_t> fpgaLut(4096);
    mlsim_lut_read(0, fpgaLut.data());
    EXPECT_TRUE(std::equal(lut.begin(), lut.begin() + 1024, fpgaLut.begin()));

    std::vector<uint8_t> back(1024, 0);
    int nLength = 0;
    EXPECT_EQ(ZDQ_LutDataReadout(0, nullptr, &nLength), RET_SUCCESS);
    EXPECT_EQ(nLength, 1024);
    EXPECT_EQ(ZDQ_LutDataReadout(0, back.data(), &nLength), RET_SUCCESS);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), lut.begin()));
    unsigned short wLength = 0;
    EXPECT_EQ(ZDQ_LutInfoReadout(0, &wLength), RET_SUCCESS);
    EXPECT_EQ(wLength, 1024);

    // A stored length other than the sensor's table.
    ASSERT_EQ(ZDQ_LutInfoProgram(0, 512), RET_SUCCESS);
    EXPECT_EQ(ZDQ_LutDataReadout(0, back.data(), &nLength), RET_FAIL);
    // The gamma LUT has no place in a kind-2 memory.
    std::vector<unsigned short> gamma(1024);
    EXPECT_EQ(ZDQ_GammaLutDataProgram(0, gamma.data(), 1024), RET_NOTSUPPORT);
}

TEST_F(StoredLutTest, LutFilesMustHoldTheSensorsTable) {
    Open10Bit();
    struct FileCase {
        const char* pszName;
        LutFileLayout layout;
        int nResult;
    };
    LutFileLayout twelveBit;
    LutFileLayout shortData;
    shortData.byPower = 10;
    shortData.nLength = 1024;
    shortData.nDataEntries = 1000;
    LutFileLayout gammaType = shortData;
    gammaType.cType = 'C';
    gammaType.nDataEntries = 1024;
    LutFileLayout good = gammaType;
    good.cType = 'A';
    const FileCase cases[] = {{"twelve-bit.lut", twelveBit, RET_ILLEGALOPERATION},
                              {"short.lut", shortData, RET_FAIL},
                              {"gamma-type.lut", gammaType, RET_ILLEGALOPERATION},
                              {"good.lut", good, RET_SUCCESS}};
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::wstring file = WriteLutFile(c.pszName, c.layout);
        EXPECT_EQ(ZDQ_LutFileProgram(0, file.c_str()), c.nResult);
    }
    EXPECT_EQ(SimMemory(kKind2Lut, 2), (std::vector<uint8_t>{255, 255}));
    EXPECT_EQ(SimMemory(kKind2Lut + 1023, 1)[0], 255 - 1023 / 16);
    EXPECT_EQ(ZDQ_LutFileProgram(0, nullptr), RET_PARAMERROR);
}

TEST_F(StoredLutTest, GammaLutIsWrittenInThirtyTwoEntriesAndReadInSixtyFour) {
    CDevice& device = Open(kTypeKind1);  // 12-bit
    device.Capability().Set(FpgaCap::bmGammaLutDownload, 1);
    std::vector<unsigned short> gamma(4096);
    for (size_t i = 0; i < gamma.size(); ++i) {
        gamma[i] = static_cast<unsigned short>(4095 - i);
    }
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_GammaLutDataProgram(0, gamma.data(), 4096), RET_SUCCESS);
    const std::vector<MlSimJournalEntry> writes = Requests(0xD5);
    ASSERT_EQ(writes.size(), 128u);
    EXPECT_EQ(uint32_t(writes[1].value) << 16 | writes[1].index, 0x31040u);
    EXPECT_EQ(writes[1].length, 64);

    mlsim_journal_clear(0);
    std::vector<unsigned short> back(4096, 0);
    int nEntries = 0;
    ASSERT_EQ(ZDQ_GammaLutDataReadout(0, back.data(), &nEntries), RET_SUCCESS);
    EXPECT_EQ(nEntries, 4096);
    EXPECT_EQ(back, gamma);
    const std::vector<MlSimJournalEntry> reads = Requests(0xD4);
    ASSERT_EQ(reads.size(), 64u);
    EXPECT_EQ(reads[0].length, 128);

    const std::wstring lutTypeFile = WriteLutFile("lut-type.lut", LutFileLayout{});
    EXPECT_EQ(ZDQ_GammaLutFileProgram(0, lutTypeFile.c_str()), RET_PARAMERROR);
    LutFileLayout gammaFile;
    gammaFile.cType = 'C';
    EXPECT_EQ(ZDQ_GammaLutFileProgram(0, WriteLutFile("gamma.lut", gammaFile).c_str()),
              RET_SUCCESS);
}

TEST_F(CameraMemoryTest, FpgaGainsAndMatrixAsFixedPoint) {
    CDevice& device = Open(kTypeKind1);
    float fGains[3] = {1.5f, 1.0f, -2.25f};
    ASSERT_EQ(ZDQ_HWBMatrixProgram(0, fGains), RET_SUCCESS);
    EXPECT_EQ(SimMemory(0x3F000, 6), (std::vector<uint8_t>{0x00, 0x18, 0x00, 0x10, 0x00, 0xDC}));
    float fBack[9] = {};
    ASSERT_EQ(ZDQ_HWBMatrixReadout(0, fBack), RET_SUCCESS);
    EXPECT_EQ(std::vector<float>(fBack, fBack + 3), std::vector<float>(fGains, fGains + 3));

    float fMatrix[9] = {100.0f, -100.0f, 0.5f, 0, 1, 0, 0, 0, 1};
    ASSERT_EQ(ZDQ_HCCMMatrixProgram(0, fMatrix), RET_SUCCESS);
    ASSERT_EQ(ZDQ_HCCMMatrixReadout(0, fBack), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fBack[0], 32767 / 4096.0f);  // saturated
    EXPECT_FLOAT_EQ(fBack[1], -8.0f);
    EXPECT_FLOAT_EQ(fBack[2], 0.5f);
    EXPECT_EQ(ZDQ_HCCMMatrixReadout(0, nullptr), RET_PARAMERROR);

    // What the FPGA uses now: gains unsigned, the matrix signed.
    mlsim_fpga_write(0, 16, 0x1000);
    mlsim_fpga_write(0, 17, 0x2000);
    mlsim_fpga_write(0, 18, 0x0800);
    mlsim_fpga_write(0, 19, 0xF000);
    device.Capability().Set(FpgaCap::bmGetAwbMatrix, 0);
    EXPECT_EQ(ZDQ_HWBMatrixUpload(0, fBack), RET_NOTSUPPORT);
    device.Capability().Set(FpgaCap::bmGetAwbMatrix, 1);
    device.Capability().Set(FpgaCap::bmGetCcmMatrix, 1);
    ASSERT_EQ(ZDQ_HWBMatrixUpload(0, fBack), RET_SUCCESS);
    EXPECT_EQ(std::vector<float>(fBack, fBack + 3), (std::vector<float>{1.0f, 2.0f, 0.5f}));
    ASSERT_EQ(ZDQ_HCCMMatrixUpload(0, fBack), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fBack[0], -1.0f);

    // A monochrome camera keeps no colour items.
    ZDQ_UnInit();
    mlsim_unplug_all();
    CDevice& mono = Open(CameraProfile(53));
    mono.Capability().Set(FirmwareCap::bmProgramColorMatrix, 1);
    EXPECT_EQ(ZDQ_HWBMatrixProgram(0, fGains), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorModeProgram(0, 1), RET_NOTSUPPORT);
}

TEST_F(CameraMemoryTest, SerialDescriptionAndWorkingModeExOfKind1) {
    Open(kTypeKind1);
    unsigned char description[16];
    for (int i = 0; i < 16; ++i) {
        description[i] = static_cast<unsigned char>('a' + i);
    }
    ASSERT_EQ(ZDQ_SerialsDescProgram(0, description), RET_SUCCESS);
    unsigned char back[16] = {};
    ASSERT_EQ(ZDQ_SerialsDescReadout(0, back), RET_SUCCESS);
    EXPECT_EQ(std::memcmp(back, description, 16), 0);
    EXPECT_EQ(ZDQ_SerialsDescReadout(0, nullptr), RET_PARAMERROR);

    ASSERT_EQ(ZDQ_WorkingModeExProgram(0, 0xABCD), RET_SUCCESS);
    unsigned char modeEx[2] = {};
    ASSERT_EQ(ZDQ_WorkingModeExReadout(0, modeEx), RET_SUCCESS);
    EXPECT_EQ(modeEx[0], 0xCD);
    EXPECT_EQ(modeEx[1], 0xAB);
    ASSERT_EQ(ZDQ_ColorModeProgram(0, 0x0102), RET_SUCCESS);
    unsigned short wColour = 0;
    ASSERT_EQ(ZDQ_ColorModeReadout(0, &wColour), RET_SUCCESS);
    EXPECT_EQ(wColour, 0x0102);
}

TEST_F(CameraMemoryTest, AFailingRequestEndsTheTransferWithItsCode) {
    Open(kTypeKind1);
    // The third piece is refused: the first two stay written.
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0xD5, 2, 1, 0);
    EXPECT_NE(ZDQ_ParamProgram(0), RET_SUCCESS);
    EXPECT_EQ(SimMemory(kKind1Block, 2), (std::vector<uint8_t>{'P', 'S'}));
    EXPECT_EQ(SimMemory(0x3F100, 1)[0], 0xFF);
    ZDQ_Close(0);
    EXPECT_EQ(ZDQ_ParamProgram(0), RET_DEVICECLOSED);
    EXPECT_EQ(ZDQ_LoadParamFromCamera(0), RET_DEVICECLOSED);
}

// The stored working mode at open: bit 8 (also set in erased memory) opens
// the camera with 8-bit data, sensitivity 0 and free run.
TEST_F(CameraMemoryTest, OpeningAppliesTheStoredWorkingMode) {
    struct ModeCase {
        uint16_t wStored;
        uint16_t wRegister0After;
    };
    const uint16_t wBefore = 0x1000 | 0x00A0;  // software trigger, sensitivity 5
    for (const ModeCase& c :
         {ModeCase{0xFFFF, 0x0000}, ModeCase{0x0100, 0x0000}, ModeCase{0x0000, wBefore}}) {
        SCOPED_TRACE(c.wStored);
        Plug(0, CameraProfile(kTypeKind2));
        const uint8_t stored[2] = {static_cast<uint8_t>(c.wStored),
                                   static_cast<uint8_t>(c.wStored >> 8)};
        mlsim_eeprom_write(0, 0x3FF0, stored, 2);
        mlsim_fpga_write(0, 0, wBefore);
        ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
        ASSERT_NE(FrameGetDevice(0), nullptr);  // erased memory opens too
        uint16_t wRegister0 = 0;
        mlsim_fpga_read(0, 0, &wRegister0);
        EXPECT_EQ(wRegister0 & 0x10E3, c.wRegister0After);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(CameraMemoryTest, OpeningTakesTheStoredLutOnlyWhenItFitsTheSensor) {
    struct LutCase {
        uint16_t wStoredLength;
        bool bTaken;
    };
    for (const LutCase& c : {LutCase{1024, true}, LutCase{4096, false}}) {
        SCOPED_TRACE(c.wStoredLength);
        Plug(0, CameraProfile(kType10BitKind2));
        std::vector<uint8_t> lut(1024);
        for (size_t i = 0; i < lut.size(); ++i) {
            lut[i] = static_cast<uint8_t>(255 - i / 4);
        }
        mlsim_eeprom_write(0, kKind2Lut, lut.data(), 1024);
        const uint8_t length[2] = {static_cast<uint8_t>(c.wStoredLength),
                                   static_cast<uint8_t>(c.wStoredLength >> 8)};
        mlsim_eeprom_write(0, kKind2LutLength, length, 2);
        ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
        CDevice* pDevice = FrameGetDevice(0);
        ASSERT_NE(pDevice, nullptr);

        // 16-bit samples through the device's LUT.
        pDevice->Fpga().Shadows().WorkingMode |= WORKINGMODE_LUT_ON;
        const uint16_t samples[3] = {0, 100, 1023};
        uint8_t frame[6];
        std::memcpy(frame, samples, sizeof frame);
        pDevice->Pack16To8(frame, 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(frame[i], c.bTaken ? lut[samples[i]] : samples[i] >> 4);
        }
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

}  // namespace
