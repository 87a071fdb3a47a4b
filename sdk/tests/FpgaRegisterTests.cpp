// The FPGA register layer against a simulated camera: gates, shadows,
// read-all and write-back, colour registers and the watermark.
#include <cstring>

#include "SimCamera.h"

namespace {

constexpr int kMonoType = 5;
constexpr int kColourType = 4;

class FpgaTest : public SimTest {
  protected:
    void Open(int nType = kMonoType) {
        Plug(0, CameraProfile(nType, 2));
        ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
        camera.transport.SetIdentity(DeviceIdentity{nType, 2, 0x0100});
        if (nType == kMonoType) {
            camera.capability.Set(SensorCap::bmMono, 1);
        }
        mlsim_journal_clear(0);
    }
    // Every direct-access bit of the register table.
    void AllowEverything() {
        for (const CapField* pField : {&FpgaCap::bmGetWorkingMode,
                                       &FpgaCap::bmSetTriggerDelay,
                                       &FpgaCap::bmGetTriggerDelay,
                                       &FpgaCap::bmStrobeDelay,
                                       &FpgaCap::bmSetMultiFramesNum,
                                       &FpgaCap::bmGetMultiFramesNum,
                                       &FpgaCap::bmSetColorMode,
                                       &FpgaCap::bmGetColorMode,
                                       &FpgaCap::bmSetAwbMatrix,
                                       &FpgaCap::bmGetAwbMatrix,
                                       &FpgaCap::bmSetCcmMatrix,
                                       &FpgaCap::bmGetCcmMatrix,
                                       &FpgaCap::bmSetTriggerFixFrameRate,
                                       &FpgaCap::bmGetTriggerFixFrameRate,
                                       &FpgaCap::bmGpioNormal,
                                       &FpgaCap::bmIoFilter,
                                       &FpgaCap::bmWorkingModeEx,
                                       &FpgaCap::bmWaterMarkMode,
                                       &FpgaCap::bmExposureLine,
                                       &FpgaCap::bmFixFrameRateWide,
                                       &FpgaCap::bm3DRegisters,
                                       &FirmwareCap::bmGetVersionStatus}) {
            camera.capability.Set(*pField, 1);
        }
    }
    size_t Sent() const { return VendorJournal(0).size(); }
    uint16_t SimRegister(uint16_t wRegister) const {
        uint16_t wValue = 0;
        mlsim_fpga_read(0, wRegister, &wValue);
        return wValue;
    }

    CameraLayers camera{"fpga.log"};
};

}  // namespace

TEST(FpgaReadAddress, MapsRegisterNumbers) {
    EXPECT_EQ(FpgaReadAddress(0), 0xFF);
    EXPECT_EQ(FpgaReadAddress(5), 0x85);
    EXPECT_EQ(FpgaReadAddress(111), 0xEF);
    EXPECT_EQ(FpgaReadAddress(112), 112);
    EXPECT_EQ(FpgaReadAddress(128), 128);
    EXPECT_EQ(FpgaReadAddress(241), 241);
}

TEST_F(FpgaTest, WriteEqualToShadowSendsNothing) {
    Open();
    AllowEverything();
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(9, 0x0105), RET_SUCCESS);
    uint8_t bChanged = 0;
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(9, 0x0105, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 0);
    EXPECT_EQ(Sent(), 1u);
    EXPECT_EQ(SimRegister(9), 0x0105);
    // A register without a shadow is written every time.
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(100, 7), RET_SUCCESS);
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(100, 7), RET_SUCCESS);
    EXPECT_EQ(Sent(), 3u);
}

TEST_F(FpgaTest, WorkingModeOneShotBitIsNeverRemembered) {
    Open();
    int nResyncs = 0;
    camera.fpga.onWorkingModeWritten = [&] { ++nResyncs; };
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(0, 0x1100), RET_SUCCESS);
    EXPECT_EQ(camera.fpga.Shadows().WorkingMode, 0x1000);
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(0, 0x1100), RET_SUCCESS);
    const std::vector<MlSimJournalEntry> sent = VendorJournal(0);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].request, 0xCE);  // register 0 always through the working-mode request
    EXPECT_EQ(sent[1].value, 0x1100);
    EXPECT_EQ(nResyncs, 2);
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(0, 0x1000), RET_SUCCESS);
    EXPECT_EQ(VendorJournal(0).size(), 2u);
}

TEST_F(FpgaTest, FailedWriteKeepsTheShadow) {
    Open();
    AllowEverything();
    mlsim_fault_add(0, MLSIM_FAULT_STATUS, 0x2B, 0, 1, 1);
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(9, 0x0007), RET_FAIL);
    EXPECT_EQ(camera.fpga.Shadows().ColorMode, 0);
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(9, 0x0007), RET_SUCCESS);  // sent again
    EXPECT_EQ(SimRegister(9), 0x0007);
}

TEST_F(FpgaTest, GatesRefuseWithTheirLinesAndNoTraffic) {
    Open();
    uint16_t wValue = 0;
    const struct {
        int nRegister;
        bool bRead;
        const char* pszLine;
    } kCases[] = {
        {9, true, "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_COLOR_MODE! )"},
        {31, false, "ZDQAPI::--Fpga_WrReg. ( Not Support FPGAREG_IO_FILTER! )"},
        {17, false, "ZDQAPI::--Fpga_WrReg. ( Not Support FPGAREG_AWB! )"},
        {20, true, "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CCM! )"},
        {34, true, "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_WATERMARK_MODE! )"},
        {66, true, "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CAP_XXX setting! )"},
        {67, false, "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CAP_XXX setting! )"},
        {69, false, "ZDQAPI::--Fpga_WrReg. ( Not Support FPGAREG_FIXED_FRAME_RATE_EXT! )"},
        {128, true, "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_VERSION_STATUS! Set to 0x0000 )"},
        {241, true,
         "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_VERSION_STATUS_EX! Set to 0x0000 )"},
    };
    for (const auto& c : kCases) {
        const int nRet = c.bRead ? camera.fpga.Fpga_RdReg(c.nRegister, &wValue)
                                 : camera.fpga.Fpga_WrReg(c.nRegister, 1);
        EXPECT_EQ(nRet, RET_NOTSUPPORT) << c.nRegister;
        EXPECT_NE(camera.LogText().find(c.pszLine), std::string::npos) << c.pszLine;
    }
    EXPECT_EQ(Sent(), 0u);
    // Reading a frame-count register the FPGA cannot return reports 1.
    EXPECT_EQ(camera.fpga.Fpga_RdReg(8, &wValue), RET_NOTSUPPORT);
    EXPECT_EQ(wValue, 1);
    camera.capability.Set(FirmwareCap::bmReadFpgaDead, 1);
    EXPECT_EQ(camera.fpga.Fpga_RdReg(4, &wValue), RET_NOTSUPPORT);
    EXPECT_NE(camera.LogText().find("ZDQAPI::--Fpga_RdReg. ( Not Support READ_FPGA! )"),
              std::string::npos);
    EXPECT_EQ(camera.fpga.Fpga_RdReg(4, nullptr), RET_PARAMERROR);
    EXPECT_EQ(Sent(), 0u);
}

TEST_F(FpgaTest, FixedFrameRateReadWithoutReadBackWritesNothing) {
    Open();
    camera.capability.Set(FpgaCap::bmSetTriggerFixFrameRate, 1);
    uint16_t wValue = 0xFFFF;
    EXPECT_EQ(camera.fpga.Fpga_RdReg(28, &wValue), RET_NOTSUPPORT);
    EXPECT_EQ(wValue, 0);
    EXPECT_EQ(Sent(), 0u);
    EXPECT_EQ(SimRegister(28), 0);
    // A zero period is written as 1 unless the wide range is there.
    EXPECT_EQ(camera.fpga.Fpga_WrReg(28, 0), RET_SUCCESS);
    EXPECT_EQ(SimRegister(28), 1);
}

TEST_F(FpgaTest, FallbacksForWorkingModeTriggerDelayAndFrameCount) {
    Open();
    ASSERT_EQ(mlsim_fpga_write(0, 0, 0x1010), 1);
    ASSERT_EQ(mlsim_fpga_write(0, 3, 0x0222), 1);
    uint16_t wValue = 0;
    EXPECT_EQ(camera.fpga.Fpga_RdReg(0, &wValue), RET_SUCCESS);  // through C0/CF
    EXPECT_EQ(wValue, 0x1010);
    EXPECT_EQ(camera.fpga.Fpga_RdReg(3, &wValue), RET_SUCCESS);  // through C0/D8
    EXPECT_EQ(wValue, 0x0222);
    EXPECT_EQ(camera.fpga.Fpga_WrReg(3, 0x0333), RET_SUCCESS);  // through C0/D6
    EXPECT_EQ(SimRegister(3), 0x0333);
    const std::vector<MlSimJournalEntry> sent = VendorJournal(0);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].request, 0xCF);
    EXPECT_EQ(sent[1].request, 0xD8);
    EXPECT_EQ(sent[2].request, 0xD6);
    camera.capability.Set(FpgaCap::bmGetMultiFramesNum, 1);
    EXPECT_EQ(camera.fpga.Fpga_RdReg(8, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 1);  // the FPGA answers 0
}

TEST_F(FpgaTest, RegisterWritesLandInTheCamerasRegisterFile) {
    Open();
    AllowEverything();
    const struct {
        int nRegister;
        uint16_t wValue;
    } kWrites[] = {{4, 0x0040},  {9, 0x0903},  {16, 0x1000}, {22, 0xF000},
                   {28, 0x0222}, {29, 0x0101}, {31, 0x0010}, {33, 0x0001},
                   {35, 0x1234}, {36, 0x0001}, {65, 0x0011}, {69, 0x0300}};
    for (const auto& w : kWrites) {
        EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(w.nRegister, w.wValue), RET_SUCCESS);
        EXPECT_EQ(SimRegister(w.nRegister), w.wValue) << w.nRegister;
        EXPECT_EQ(*camera.fpga.ShadowOf(w.nRegister), w.wValue);
        uint16_t wRead = 0;
        EXPECT_EQ(camera.fpga.Fpga_RdReg(w.nRegister, &wRead), RET_SUCCESS);
        EXPECT_EQ(wRead, w.wValue) << w.nRegister;
    }
}

TEST_F(FpgaTest, ReadAllThenWriteBackAfterAPowerCycle) {
    Open();
    AllowEverything();
    camera.capability.Set(FirmwareCap::bmGetVersionStatus, 1);
    const struct {
        uint16_t wRegister, wValue;
    } kValues[] = {{0, 0x1010},  {3, 0x0020},  {4, 0x0030},  {8, 0x0002},  {9, 0x0001},
                   {17, 0x1111}, {25, 0x2222}, {28, 0x0444}, {29, 0x0001}, {31, 0x0005},
                   {34, 0x0001}, {36, 0x0007}, {66, 0x0066}, {69, 0x0069}};
    for (const auto& v : kValues) {
        ASSERT_EQ(mlsim_fpga_write(0, v.wRegister, v.wValue), 1);
    }
    EXPECT_EQ(camera.fpga.Fpga_ReadRelateRegValue(), RET_SUCCESS);
    for (const auto& v : kValues) {
        EXPECT_EQ(*camera.fpga.ShadowOf(v.wRegister), v.wValue) << v.wRegister;
    }
    EXPECT_EQ(camera.fpga.Shadows().Version, SimRegister(128));
    EXPECT_NE(camera.LogText().find("ZDQAPI::++++ZDQLOG_OUTPUT_FPGA_RELATE_REG_VALUE++++."),
              std::string::npos);
    EXPECT_NE(camera.LogText().find("ZDQAPI::wTriggerDelay:                32"), std::string::npos);
    // The camera loses its registers in a power cycle; the write-back restores them.
    ASSERT_EQ(mlsim_unplug(0), 1);
    ASSERT_EQ(mlsim_replug(0, 1), 1);
    ASSERT_EQ(camera.transport.ReleaseLostDevice(), RET_SUCCESS);
    ASSERT_EQ(camera.transport.FindLostDevice(), RET_SUCCESS);
    EXPECT_EQ(camera.fpga.Fpga_WriteRelateRegValue(), RET_SUCCESS);
    for (const auto& v : kValues) {
        uint16_t wValue = 0;
        ASSERT_EQ(mlsim_fpga_read(1, v.wRegister, &wValue), 1);
        EXPECT_EQ(wValue, v.wValue) << v.wRegister;
    }
}

// A register the FPGA refuses during the write-back does not stop it: the
// registers after it are written all the same, and the refusal is the
// result.
TEST_F(FpgaTest, WriteBackGoesOnPastARefusedRegisterAndReportsIt) {
    Open();
    AllowEverything();
    const struct {
        uint16_t wRegister, wValue;
    } kValues[] = {{4, 0x0030}, {9, 0x0001}, {17, 0x1111}, {25, 0x2222}, {36, 0x0007}};
    for (const auto& v : kValues) {
        ASSERT_EQ(camera.fpga.Fpga_WrRelateReg(v.wRegister, v.wValue), RET_SUCCESS);
    }
    ASSERT_EQ(mlsim_unplug(0), 1);
    ASSERT_EQ(mlsim_replug(0, 1), 1);
    ASSERT_EQ(camera.transport.ReleaseLostDevice(), RET_SUCCESS);
    ASSERT_EQ(camera.transport.FindLostDevice(), RET_SUCCESS);
    // Register 4 is the first written through the FPGA write request after
    // the trigger delay: the FPGA refuses it.
    ASSERT_EQ(mlsim_fault_add(1, MLSIM_FAULT_STATUS, 0x2B, 1, 1, 1), 1);
    EXPECT_EQ(camera.fpga.Fpga_WriteRelateRegValue(), RET_FAIL);
    for (const auto& v : kValues) {
        uint16_t wValue = 0;
        ASSERT_EQ(mlsim_fpga_read(1, v.wRegister, &wValue), 1);
        EXPECT_EQ(wValue, v.wRegister == 4 ? 0 : v.wValue) << v.wRegister;
    }
}

TEST_F(FpgaTest, ColourRegistersOnAColourCamera) {
    Open(kColourType);
    AllowEverything();
    camera.capability.Set(FpgaCap::bmAwbPresettings, 1);
    EXPECT_EQ(camera.fpga.Fpga_AwbSetMatrix(1.5f, 1.0f, 0.25f), RET_SUCCESS);
    EXPECT_EQ(SimRegister(9), 0x0007);
    EXPECT_EQ(SimRegister(16), 0x1800);
    EXPECT_EQ(SimRegister(18), 0x0400);
    float fR = 0, fG = 0, fB = 0;
    EXPECT_EQ(camera.fpga.Fpga_AwbGetMatrix(&fR, &fG, &fB), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fR, 1.5f);
    EXPECT_FLOAT_EQ(fB, 0.25f);
    EXPECT_EQ(camera.fpga.Fpga_AwbSetPresetting(3), RET_SUCCESS);
    EXPECT_EQ(SimRegister(9), 3 * 8 + 1);
    const float fMatrix[9] = {1.0f, -0.5f, 0, 0, 1.0f, 0, 0, 0, 2.0f};
    EXPECT_EQ(camera.fpga.Fpga_CcmSetMatrix(fMatrix), RET_SUCCESS);
    EXPECT_EQ(SimRegister(9), (3 * 8 + 1) | 0x700);
    EXPECT_EQ(SimRegister(20), 0xF800);
    float fBack[9] = {};
    EXPECT_EQ(camera.fpga.Fpga_CcmGetMatrix(fBack), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fBack[1], -0.5f);
    EXPECT_FLOAT_EQ(fBack[8], 2.0f);
    EXPECT_EQ(camera.fpga.Fpga_CcmDisable(), RET_SUCCESS);
    EXPECT_EQ(SimRegister(9) & 0x100, 0);
}

TEST_F(FpgaTest, ColourRegistersRefused) {
    Open(kColourType);
    camera.capability.Set(FpgaCap::bmGetCcmMatrix, 1);  // read-back without the matrix
    float fMatrix[9];
    EXPECT_EQ(camera.fpga.Fpga_CcmGetMatrix(fMatrix), RET_NOTSUPPORT);
    EXPECT_EQ(camera.fpga.Fpga_AwbDisable(), RET_NOTSUPPORT);
    camera.capability.Set(SensorCap::bmMono, 1);
    camera.capability.Set(FpgaCap::bmSetColorMode, 1);
    EXPECT_EQ(camera.fpga.Fpga_AwbDisable(), RET_NOTSUPPORT);
    EXPECT_EQ(Sent(), 0u);
}

TEST_F(FpgaTest, TriggerAndIoStatus) {
    Open();
    camera.fpga.SetVersions(0x0100);
    camera.capability.Set(FirmwareCap::bmGetVersionStatus, 1);
    camera.capability.Set(FpgaCap::bmGpioNormal, 1);
    int nStatus = -1;
    EXPECT_EQ(camera.fpga.TriggerStatusGet(&nStatus), RET_SUCCESS);
    EXPECT_EQ(nStatus, 0);
    mlsim_set_trigger_status(0, 2);
    EXPECT_EQ(camera.fpga.TriggerStatusGet(&nStatus), RET_SUCCESS);
    EXPECT_EQ(nStatus, 1);
    mlsim_set_gpio_input(0, 1);
    EXPECT_EQ(camera.fpga.Fpga_WrRelateReg(30, 0x0100), RET_SUCCESS);
    uint8_t byIo = 0;
    EXPECT_EQ(camera.fpga.Fpga_IoStatusGet(&byIo), RET_SUCCESS);
    EXPECT_EQ(byIo, 3);
    camera.fpga.SetVersions(0);
    EXPECT_EQ(camera.fpga.TriggerStatusGet(&nStatus), RET_NOTSUPPORT);
}

TEST_F(FpgaTest, WaterMarkFromTheFrameHead) {
    Open();
    camera.capability.Set(FpgaCap::bmWaterMarkMode, 1);
    uint16_t wNumber = 0;
    EXPECT_EQ(camera.fpga.WaterMarkGetInfo(&wNumber, nullptr, nullptr), RET_NOTSUPPORT);
    EXPECT_EQ(camera.fpga.WaterMarkSetEnable(1), RET_SUCCESS);
    EXPECT_EQ(camera.fpga.WaterMarkSetMode(2), RET_SUCCESS);
    EXPECT_EQ(SimRegister(34), 0x0005);
    int nMode = 0;
    EXPECT_EQ(camera.fpga.WaterMarkGetMode(&nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 2);
    EXPECT_EQ(camera.fpga.WaterMarkGetInfo(&wNumber, nullptr, nullptr), RET_FAIL);  // no frame
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    std::vector<uint8_t> frame(info.transfer_bytes);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(camera.transport.ReadFrame(FrameReadMethod::ReadFile, frame.data(),
                                             info.transfer_bytes, nullptr),
                  RET_SUCCESS);
    }
    camera.fpga.StoreWaterMarkHead(frame.data(), info.transfer_bytes);
    EXPECT_EQ(camera.fpga.WaterMarkGetInfo(&wNumber, nullptr, nullptr), RET_SUCCESS);
    EXPECT_EQ(wNumber, 2);
    int nNumber = -1, nValue4 = -1;
    uint16_t wValue5 = 0xFFFF;
    EXPECT_EQ(camera.fpga.WaterMarkGetInfoEx(&nNumber, nullptr, nullptr, &nValue4, &wValue5),
              RET_SUCCESS);
    EXPECT_EQ(nNumber, 2);
    EXPECT_EQ(nValue4, 0);
    EXPECT_EQ(wValue5, 0);
    camera.capability.Set(FpgaCap::bmWaterMarkInfoEx, 1);
    EXPECT_EQ(camera.fpga.WaterMarkGetInfoEx(&nNumber, nullptr, nullptr, &nValue4, &wValue5),
              RET_SUCCESS);
    EXPECT_GT(nValue4, 0);  // the exposure in microseconds
}
