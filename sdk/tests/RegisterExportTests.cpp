// The register-access exports on an opened MT9M001 camera with an FPGA:
// sensor, FPGA and controller registers, vendor requests, EEPROM, GPIO, snap
// button, watermark and strobe, each checked against the simulated camera's
// own registers, memory and request journal; the driver link's close and
// reopen; and the call-log lines every export writes.
#include <filesystem>
#include <functional>
#include <regex>

#include "SimCamera.h"
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/Log.h"
#include "platform/WideText.h"
#include "sensors/MT9M001.h"

namespace {

constexpr int kSlot = 0;

uint16_t SimSensor(uint16_t wAddress) {
    uint16_t wValue = 0xDEAD;
    EXPECT_EQ(mlsim_sensor_read(kSlot, wAddress, &wValue), 1);
    return wValue;
}

uint16_t SimFpga(uint16_t wRegister) {
    uint16_t wValue = 0xDEAD;
    EXPECT_EQ(mlsim_fpga_read(kSlot, wRegister, &wValue), 1);
    return wValue;
}

// Type 1 (an MT9M001 model) with an FPGA and a block EEPROM; the tests give it the FPGA
// capabilities they need after it opened.
class RegisterExportTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        MlSimProfile profile = CameraProfile(1, 7, 0x0305);
        profile.fpga_version = 0x1203;
        profile.has_fpga = 1;
        profile.eeprom_kind = 2;  // 16 KiB, with block transfers
        Plug(kSlot, profile);
        ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
        m_pDevice = FrameGetDevice(kSlot);
        ASSERT_NE(m_pDevice, nullptr);
        mlsim_journal_clear(kSlot);
    }
    void TearDown() override {
        ZDQ_UnInit();
        SimTest::TearDown();
    }

    void Grant(const CapField& field) { m_pDevice->Capability().Set(field, 1); }
    size_t RequestsSent() const { return VendorJournal(kSlot).size(); }

    CDevice* m_pDevice = nullptr;
};

TEST_F(RegisterExportTest, SensorRegistersAndRawVendorRequestsReachTheChip) {
    EXPECT_EQ(ZDQ_WrSensorReg(kSlot, CMT9M001::Green1Gain, 0x0025), RET_SUCCESS);
    EXPECT_EQ(SimSensor(CMT9M001::Green1Gain), 0x0025);

    ASSERT_EQ(mlsim_sensor_write(kSlot, CMT9M001::VerticalBlank, 0x0123), 1);
    unsigned short wValue = 0;
    EXPECT_EQ(ZDQ_RdSensorReg(kSlot, CMT9M001::VerticalBlank, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x0123);
    EXPECT_EQ(ZDQ_RdSensorReg(kSlot, CMT9M001::VerticalBlank, nullptr), RET_PARAMERROR);

    // The sensor read request as the caller spells it: status, then the
    // value high byte first.
    mlsim_journal_clear(kSlot);
    SetupPacket packet{0xC0, 0xC2, CMT9M001::VerticalBlank, 0, 3};
    unsigned char reply[3] = {0xFF, 0xFF, 0xFF};
    EXPECT_EQ(ZDQ_VendorCmd(kSlot, &packet, reply), RET_SUCCESS);
    EXPECT_EQ(reply[0], 0);
    EXPECT_EQ((reply[1] << 8) | reply[2], 0x0123);
    const auto journal = VendorJournal(kSlot);
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].request, 0xC2);
    EXPECT_EQ(journal[0].value, CMT9M001::VerticalBlank);
}

TEST_F(RegisterExportTest, FpgaRegistersFollowTheirCapabilitiesAndLeaveTheShadows) {
    // Without the colour-mode capabilities nothing is sent.
    unsigned short wValue = 0xFFFF;
    EXPECT_EQ(ZDQ_WrFpgaReg(kSlot, 9, 0x0101), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_RdFpgaReg(kSlot, 9, &wValue), RET_NOTSUPPORT);
    EXPECT_EQ(RequestsSent(), 0u);
    EXPECT_EQ(ZDQ_RdFpgaReg(kSlot, 9, nullptr), RET_PARAMERROR);

    Grant(FpgaCap::bmSetColorMode);
    Grant(FpgaCap::bmGetColorMode);
    EXPECT_EQ(ZDQ_WrFpgaReg(kSlot, 9, 0x0101), RET_SUCCESS);
    EXPECT_EQ(SimFpga(9), 0x0101);
    EXPECT_EQ(m_pDevice->Fpga().Shadows().ColorMode, 0) << "the export keeps the shadow";
    ASSERT_EQ(mlsim_fpga_write(kSlot, 9, 0x0A07), 1);
    EXPECT_EQ(ZDQ_RdFpgaReg(kSlot, 9, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x0A07);

    // An FPGA that answers 0 frames per transfer means one.
    Grant(FpgaCap::bmGetMultiFramesNum);
    ASSERT_EQ(mlsim_fpga_write(kSlot, 8, 0), 1);
    EXPECT_EQ(ZDQ_RdFpgaReg(kSlot, 8, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 1);

    // The Ex forms reach any register as numbered.
    EXPECT_EQ(ZDQ_WrFpgaRegEx(kSlot, 70, 0x5A5A), RET_SUCCESS);
    EXPECT_EQ(SimFpga(70), 0x5A5A);
    ASSERT_EQ(mlsim_fpga_write(kSlot, 71, 0x1234), 1);
    EXPECT_EQ(ZDQ_RdFpgaRegEx(kSlot, 71, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x1234);
}

TEST_F(RegisterExportTest, EepromBytesAndBlocksMatchTheCameraMemory) {
    int nType = -1;
    EXPECT_EQ(ZDQ_EEPROMTypeGet(kSlot, &nType), RET_SUCCESS);
    EXPECT_EQ(nType, static_cast<int>(m_pDevice->Capability().Get(HardwareCap::bmE2PRomType)));
    EXPECT_EQ(ZDQ_EEPROMTypeGet(kSlot, nullptr), RET_PARAMERROR);

    EXPECT_EQ(ZDQ_WrEEPROM(kSlot, 0x0102, 0xA5), RET_SUCCESS);
    uint8_t byStored = 0;
    ASSERT_EQ(mlsim_eeprom_read(kSlot, 0x0102, &byStored, 1), 1);
    EXPECT_EQ(byStored, 0xA5);

    // A block across a page boundary, written by the camera's side.
    std::vector<uint8_t> block(300);
    for (size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    ASSERT_EQ(mlsim_eeprom_write(kSlot, 0x01F0, block.data(), block.size()), 1);
    std::vector<uint8_t> read(block.size(), 0);
    EXPECT_EQ(ZDQ_RdEEPROMExEx(kSlot, 0x01F0, read.size(), read.data()), RET_SUCCESS);
    EXPECT_EQ(read, block);
    EXPECT_EQ(ZDQ_RdEEPROMExEx(kSlot, 0x01F0, 0, nullptr), RET_SUCCESS) << "nothing to read";
    unsigned char byValue = 0;
    EXPECT_EQ(ZDQ_RdEEPROM(kSlot, 0x01F0 + 20, &byValue), RET_SUCCESS);
    EXPECT_EQ(byValue, block[20]);
}

TEST_F(RegisterExportTest, GpioAndSnapButtonOnTheFpgaRegisters) {
    Grant(FpgaCap::bmGpioNormal);
    Grant(FpgaCap::bmIoFilter);
    EXPECT_EQ(ZDQ_GpioOutStatusSet(kSlot, 1), RET_ILLEGALOPERATION) << "output mode is not 1";
    EXPECT_EQ(ZDQ_GpioOutModeSet(kSlot, 1), RET_SUCCESS);
    EXPECT_EQ((SimFpga(29) >> 8) & 3, 1);
    EXPECT_EQ(ZDQ_GpioOutStatusSet(kSlot, 1), RET_SUCCESS);
    EXPECT_EQ(SimFpga(30) & 0x0100, 0x0100);
    EXPECT_EQ(ZDQ_GpioFilterSet(kSlot, 0x0321), RET_SUCCESS);
    EXPECT_EQ(SimFpga(31), 0x0321);
    unsigned short wFilter = 0;
    EXPECT_EQ(ZDQ_GpioFilterGet(kSlot, &wFilter), RET_SUCCESS);
    EXPECT_EQ(wFilter, 0x0321);

    ASSERT_EQ(mlsim_set_gpio_input(kSlot, 1), 1);
    unsigned char byStatus = 0;
    EXPECT_EQ(ZDQ_GpioInStatusGet(kSlot, &byStatus), RET_SUCCESS);
    EXPECT_EQ(byStatus, 3) << "input level high, output level high";

    // The snap button is read through the GPIO input once its mode is 1.
    ASSERT_EQ(mlsim_set_gpio_input(kSlot, 0), 1);
    int nPressed = -1;
    EXPECT_EQ(ZDQ_SnapButtonStatus(kSlot, &nPressed), RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ_GpioInModeSet(kSlot, 1), RET_SUCCESS);
    EXPECT_EQ(SimFpga(29) & 3, 1);
    EXPECT_EQ(ZDQ_SnapButtonStatus(kSlot, &nPressed), RET_SUCCESS);
    EXPECT_EQ(nPressed, 0);
    ASSERT_EQ(mlsim_set_snap_button(kSlot, 1), 1);
    EXPECT_EQ(ZDQ_SnapButtonStatus(kSlot, &nPressed), RET_SUCCESS);
    EXPECT_EQ(nPressed, 1);
    EXPECT_EQ(ZDQ_SnapButtonStatus(kSlot, nullptr), RET_PARAMERROR);
}

// Without the FPGA's I/O registers the GPIO exports use the controller's
// port D pins 2 and 3, and the snap button its pin 0 of the layout (pin 2).
TEST_F(RegisterExportTest, GpioAndSnapButtonOnTheControllersPortPins) {
    for (const CapField* pLayout :
         {&HardwareCap::bmPD0_7, &HardwareCap::bmPD0_3, &HardwareCap::bmPE0_3,
          &HardwareCap::bmPD2_5, &HardwareCap::bmPD2_7, &HardwareCap::bmPD6}) {
        m_pDevice->Capability().Set(*pLayout, 0);
    }
    for (const CapField* pSnap :
         {&HardwareCap::bmSnapIo0, &HardwareCap::bmSnapPC2, &HardwareCap::bmSnapPA1}) {
        m_pDevice->Capability().Set(*pSnap, 0);
    }
    Grant(HardwareCap::bmIo);
    Grant(HardwareCap::bmPD2_3);

    EXPECT_EQ(ZDQ_GpioSetDirection(kSlot, 2), RET_SUCCESS);
    unsigned char bySfr = 0;
    EXPECT_EQ(ZDQ_RdFx2Sfr(kSlot, 0xB5, &bySfr), RET_SUCCESS);
    EXPECT_EQ(bySfr, 0x08) << "direction bit 1 on pin 3 of port D";
    unsigned char byDirection = 0;
    EXPECT_EQ(ZDQ_GpioGetDirection(kSlot, &byDirection), RET_SUCCESS);
    EXPECT_EQ(byDirection, 2);

    ASSERT_EQ(mlsim_set_port_input(kSlot, 0xB0, 0x04), 1);  // pin 2 high, the rest low
    EXPECT_EQ(ZDQ_GpioSetStatus(kSlot, 2), RET_SUCCESS);    // output pin 3 high
    unsigned char byStatus = 0;
    EXPECT_EQ(ZDQ_GpioGetStatus(kSlot, &byStatus), RET_SUCCESS);
    EXPECT_EQ(byStatus, 3);
    EXPECT_EQ(ZDQ_GpioInStatusGet(kSlot, &byStatus), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_GpioOutStatusSet(kSlot, 1), RET_ILLEGALOPERATION);

    int nPressed = -1;
    EXPECT_EQ(ZDQ_SnapButtonStatus(kSlot, &nPressed), RET_NOTSUPPORT) << "no snap pin";
    Grant(HardwareCap::bmSnapIo0);
    EXPECT_EQ(ZDQ_SnapButtonStatus(kSlot, &nPressed), RET_SUCCESS);
    EXPECT_EQ(nPressed, 0) << "pin 2 reads 1";
    ASSERT_EQ(mlsim_set_port_input(kSlot, 0xB0, 0x00), 1);
    EXPECT_EQ(ZDQ_SnapButtonStatus(kSlot, &nPressed), RET_SUCCESS);
    EXPECT_EQ(nPressed, 1);
}

TEST_F(RegisterExportTest, WatermarkSwitchAndModeShareRegister34) {
    EXPECT_EQ(ZDQ_WaterMarkSetEnable(kSlot, 1), RET_NOTSUPPORT);
    Grant(FpgaCap::bmWaterMarkMode);
    EXPECT_EQ(ZDQ_WaterMarkSetEnable(kSlot, 5), RET_SUCCESS);
    EXPECT_EQ(ZDQ_WaterMarkSetMode(kSlot, 6), RET_SUCCESS);
    EXPECT_EQ(SimFpga(34), 0x0005) << "bit 0 on, mode 6 & 3 = 2 in bits 1-2";
    unsigned char bEnable = 0;
    int nMode = -1;
    EXPECT_EQ(ZDQ_WaterMarkGetEnable(kSlot, &bEnable), RET_SUCCESS);
    EXPECT_EQ(ZDQ_WaterMarkGetMode(kSlot, &nMode), RET_SUCCESS);
    EXPECT_EQ(bEnable, 1);
    EXPECT_EQ(nMode, 2);
    // No frame was read, so there is no watermark to report.
    unsigned short wNumber = 0;
    EXPECT_EQ(ZDQ_WaterMarkGetInfo(kSlot, &wNumber, nullptr, nullptr), RET_FAIL);

    mlsim_journal_clear(kSlot);
    EXPECT_EQ(ZDQ_WaterMarkSetMode(kSlot, 2), RET_SUCCESS);
    EXPECT_EQ(RequestsSent(), 0u) << "an unchanged register is not written again";
    EXPECT_EQ(ZDQ_WaterMarkSetEnable(kSlot, 0), RET_SUCCESS);
    EXPECT_EQ(SimFpga(34), 0x0004);
    EXPECT_EQ(ZDQ_WaterMarkGetInfo(kSlot, &wNumber, nullptr, nullptr), RET_NOTSUPPORT);
}

TEST_F(RegisterExportTest, StrobeEnableIsReadModeBit9AndTheSensorHasNoPolarityOrMode) {
    const uint16_t wReadMode = SimSensor(CMT9M001::ReadMode1);
    EXPECT_EQ(ZDQ_FlashEnableSet(kSlot, 1), RET_SUCCESS);
    EXPECT_EQ(SimSensor(CMT9M001::ReadMode1), wReadMode | 0x0200);
    unsigned char bEnable = 0;
    EXPECT_EQ(ZDQ_FlashEnableGet(kSlot, &bEnable), RET_SUCCESS);
    EXPECT_EQ(bEnable, 1);
    EXPECT_EQ(ZDQ_FlashEnableGet(kSlot, nullptr), RET_SUCCESS);

    // Polarity and mode are not offered: RET_NOTSUPPORT with nothing sent
    // and the outs cleared.
    mlsim_journal_clear(kSlot);
    unsigned char bInvert = 0xFF;
    int nMode = -1;
    EXPECT_EQ(ZDQ_FlashInvertSet(kSlot, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_FlashInvertGet(kSlot, &bInvert), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_FlashSetMode(kSlot, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_FlashGetMode(kSlot, &nMode), RET_NOTSUPPORT);
    EXPECT_EQ(bInvert, 0);
    EXPECT_EQ(nMode, 0);
    EXPECT_EQ(RequestsSent(), 0u);

    // The combined setter succeeds on the enable alone; the combined query
    // reports the enable state but fails for the missing mode.
    EXPECT_EQ(ZDQ_FlashControlSet(kSlot, 0, 1, 2), RET_SUCCESS);
    EXPECT_EQ(SimSensor(CMT9M001::ReadMode1), wReadMode & ~0x0200);
    bEnable = bInvert = 0xFF;
    nMode = -1;
    EXPECT_EQ(ZDQ_FlashControlGet(kSlot, &bEnable, &bInvert, &nMode), RET_NOTSUPPORT);
    EXPECT_EQ(bEnable, 0);
    EXPECT_EQ(bInvert, 0);
    EXPECT_EQ(nMode, 0);
    EXPECT_EQ(ZDQ_FlashEnableSet(kSlot, 1), RET_SUCCESS);
    EXPECT_EQ(ZDQ_FlashControlGet(kSlot, &bEnable, nullptr, nullptr), RET_NOTSUPPORT);
    EXPECT_EQ(bEnable, 1);

    // A failed enable write is the combined setter's result.
    mlsim_fault_add(kSlot, MLSIM_FAULT_STATUS, MLSIM_MATCH_ANY, 0, 1, 1);
    EXPECT_NE(ZDQ_FlashControlSet(kSlot, 0, 0, 0), RET_SUCCESS);
    EXPECT_EQ(SimSensor(CMT9M001::ReadMode1), wReadMode | 0x0200);
    bEnable = 0;
    EXPECT_EQ(ZDQ_FlashEnableGet(kSlot, &bEnable), RET_SUCCESS);
    EXPECT_EQ(bEnable, 1) << "the shadow keeps the value the camera has";
}

TEST_F(RegisterExportTest, FrameRestartNeedsItsCapability) {
    EXPECT_EQ(ZDQ_FrameRestart(kSlot), RET_NOTSUPPORT);
    EXPECT_EQ(RequestsSent(), 0u);
    Grant(SensorCap::bmFrameRestart);
    EXPECT_EQ(ZDQ_FrameRestart(kSlot), RET_SUCCESS);
    const auto journal = VendorJournal(kSlot);
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].request, 0xC3) << "a sensor register write";
    EXPECT_EQ(journal[0].value, 11) << "the sensor's restart register";
    EXPECT_EQ(journal[0].index, 1);
}

TEST_F(RegisterExportTest, CloseReleasesTheCameraAndOpenClaimsItAgain) {
    EXPECT_EQ(ZDQ_Close(kSlot), RET_SUCCESS);
    unsigned short wValue = 0;
    EXPECT_EQ(ZDQ_RdSensorReg(kSlot, CMT9M001::RowStart, &wValue), RET_DEVICECLOSED);
    EXPECT_EQ(ZDQ_FlashEnableSet(kSlot, 1), RET_DEVICECLOSED);
    EXPECT_EQ(RequestsSent(), 0u);
    EXPECT_EQ(ZDQ_Open(kSlot), RET_SUCCESS);
    ASSERT_EQ(mlsim_sensor_write(kSlot, CMT9M001::RowStart, 0x000C), 1);
    EXPECT_EQ(ZDQ_RdSensorReg(kSlot, CMT9M001::RowStart, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x000C);
    EXPECT_EQ(m_pDevice, FrameGetDevice(kSlot)) << "the device object stays in its slot";
}

// The user-call log while it is on: an entry line with the index and a leave
// line with the result for every export, also when the export fails.
TEST_F(RegisterExportTest, EveryExportWritesItsCallLogLines) {
    const std::string logPath = ScratchPath("register-export-calls.log");
    std::remove(logPath.c_str());
    g_pLog = new CLog(plat::WideFromUtf8(logPath));
    unsigned short w = 0;
    unsigned char b = 0;
    int n = 0;
    const struct {
        const char* name;
        std::function<int()> call;
        int nExpected;
    } kCalls[] = {
        {"ZDQ_WrSensorReg", [] { return ZDQ_WrSensorReg(kSlot, CMT9M001::RedGain, 8); }, 1},
        {"ZDQ_RdSensorReg", [&] { return ZDQ_RdSensorReg(kSlot, CMT9M001::RedGain, &w); }, 1},
        {"ZDQ_RdFpgaReg", [&] { return ZDQ_RdFpgaReg(kSlot, 9, &w); }, -3},
        {"ZDQ_FrameRestart", [] { return ZDQ_FrameRestart(kSlot); }, -3},
        {"ZDQ_EEPROMTypeGet", [&] { return ZDQ_EEPROMTypeGet(kSlot, &n); }, 1},
        {"ZDQ_EEPROMTypeGet", [] { return ZDQ_EEPROMTypeGet(kSlot, nullptr); }, -1},
        {"ZDQ_RdEEPROM", [&] { return ZDQ_RdEEPROM(kSlot, 0, &b); }, 1},
        {"ZDQ_GpioOutModeGet", [&] { return ZDQ_GpioOutModeGet(kSlot, &n); }, 1},
        {"ZDQ_SnapButtonStatus", [&] { return ZDQ_SnapButtonStatus(kSlot, &n); }, -3},
        {"ZDQ_WaterMarkGetMode", [&] { return ZDQ_WaterMarkGetMode(kSlot, &n); }, 1},
        {"ZDQ_FlashEnableSet", [] { return ZDQ_FlashEnableSet(kSlot, 1); }, 1},
        {"ZDQ_FlashEnableGet", [&] { return ZDQ_FlashEnableGet(kSlot, &b); }, 1},
        {"ZDQ_FlashInvertSet", [] { return ZDQ_FlashInvertSet(kSlot, 1); }, -3},
        {"ZDQ_FlashInvertGet", [&] { return ZDQ_FlashInvertGet(kSlot, &b); }, -3},
        {"ZDQ_FlashSetMode", [] { return ZDQ_FlashSetMode(kSlot, 1); }, -3},
        {"ZDQ_FlashGetMode", [&] { return ZDQ_FlashGetMode(kSlot, &n); }, -3},
        {"ZDQ_FlashControlSet", [] { return ZDQ_FlashControlSet(kSlot, 1, 0, 0); }, 1},
        {"ZDQ_FlashControlGet", [&] { return ZDQ_FlashControlGet(kSlot, &b, &b, &n); }, -3},
        {"ZDQ_Close", [] { return ZDQ_Close(kSlot); }, 1},
        {"ZDQ_RdSensorReg", [&] { return ZDQ_RdSensorReg(kSlot, 1, &w); }, -17},
        {"ZDQ_Open", [] { return ZDQ_Open(kSlot); }, 1},
    };
    std::vector<std::string> expected;
    for (const auto& c : kCalls) {
        EXPECT_EQ(c.call(), c.nExpected) << c.name;
        expected.push_back(std::string("ZDQAPI::++") + c.name + "(0).");
        expected.push_back(std::string("ZDQAPI::--") + c.name + ". Ret(" +
                           std::to_string(c.nExpected) + ")");
    }
    delete g_pLog;
    g_pLog = nullptr;

    std::ifstream file(logPath, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    const std::string text = content.str();
    std::vector<std::string> lines;
    const std::regex line(
        R"(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2}-\d{4}: (ZDQAPI::(\+\+|--)ZDQ_[^\n]*)\n)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line);
         it != std::sregex_iterator(); ++it) {
        lines.push_back((*it)[1].str());
    }
    EXPECT_EQ(lines, expected);
}

// The same camera with its device log on, which the FPGA layer writes its
// refusals to.
class RegisterExportDeviceLogTest : public RegisterExportTest {
  protected:
    void SetUp() override {
        m_logFolder = ScratchPath("register-export-device-log");
        std::filesystem::remove_all(m_logFolder);
        g_bLogEnable = 1;
        SetLogFolder(plat::WideFromUtf8(m_logFolder).c_str());
        RegisterExportTest::SetUp();
    }
    void TearDown() override {
        RegisterExportTest::TearDown();
        g_bLogEnable = 0;
        SetLogFolder(L"");
    }

    std::string DeviceLogText() const {
        std::string text;
        for (const auto& entry : std::filesystem::directory_iterator(m_logFolder)) {
            std::ifstream file(entry.path(), std::ios::binary);
            std::stringstream content;
            content << file.rdbuf();
            text += content.str();
        }
        return text;
    }

    std::string m_logFolder;
};

TEST_F(RegisterExportDeviceLogTest, RefusedFpgaAccessesSendNothingAndLogTheirRegister) {
    // The fixed frame rate can be set but not read back: the read refuses
    // and leaves the camera's register as it is.
    Grant(FpgaCap::bmSetTriggerFixFrameRate);
    ASSERT_EQ(mlsim_fpga_write(kSlot, 28, 55), 1);
    unsigned short w = 0xFFFF;
    const struct {
        std::function<int()> call;
        const char* line;
    } kRefusals[] = {
        {[&] { return ZDQ_RdFpgaReg(kSlot, 9, &w); },
         "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_COLOR_MODE! )"},
        {[] { return ZDQ_WrFpgaReg(kSlot, 31, 4); },
         "ZDQAPI::--Fpga_WrReg. ( Not Support FPGAREG_IO_FILTER! )"},
        {[&] { return ZDQ_RdFpgaReg(kSlot, 28, &w); },
         "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_FIXED_FRAME_RATE! )"},
        {[&] { return ZDQ_RdFpgaReg(kSlot, 66, &w); },
         "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CAP_XXX setting! )"},
        {[] { return ZDQ_WrFpgaReg(kSlot, 67, 4); },
         "ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CAP_XXX setting! )"},
    };
    for (const auto& refusal : kRefusals) {
        // Only what the call adds counts: the opening logs refusals too.
        const size_t nBefore = DeviceLogText().size();
        EXPECT_EQ(refusal.call(), RET_NOTSUPPORT) << refusal.line;
        EXPECT_NE(DeviceLogText().find(refusal.line, nBefore), std::string::npos) << refusal.line;
    }
    EXPECT_EQ(RequestsSent(), 0u);
    EXPECT_EQ(SimFpga(28), 55);

    // A fixed frame rate of 0 is sent as 1 unless the FPGA takes the wide
    // range.
    EXPECT_EQ(ZDQ_WrFpgaReg(kSlot, 28, 0), RET_SUCCESS);
    EXPECT_EQ(SimFpga(28), 1);
    Grant(FpgaCap::bmFixFrameRateWide);
    EXPECT_EQ(ZDQ_WrFpgaReg(kSlot, 28, 0), RET_SUCCESS);
    EXPECT_EQ(SimFpga(28), 0);
}

}  // namespace
