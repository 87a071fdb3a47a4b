// Typed vendor requests against the simulated cameras: what goes on the
// wire, what comes back, and the camera's own register files.
#include <cstring>
#include <functional>

#include "SimCamera.h"

namespace {

constexpr int kMonoType = 5;

class VendorTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        MlSimProfile profile = CameraProfile(kMonoType, 9, 0x0302);
        profile.eeprom_kind = 1;  // 256 KiB: block requests
        Plug(0, profile);
        ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
        camera.transport.SetIdentity(DeviceIdentity{kMonoType, 9, 0x0302});
        mlsim_journal_clear(0);
    }
    CameraLayers camera{"vendor.log"};
};

struct WireCase {
    const char* pszName;
    std::function<int(CVendorRequests&)> send;
    uint8_t byType, byRequest;
    uint16_t wValue, wIndex, wLength;
};

}  // namespace

TEST_F(VendorTest, EachRequestPutsItsSetupPacketOnTheWire) {
    uint16_t w = 0;
    uint8_t b = 0;
    int n = 0;
    uint8_t block[4] = {};
    const uint8_t lut[3] = {1, 2, 3};
    const uint16_t gamma[2] = {0x1234, 0x0FFF};
    camera.capability.Set(FpgaCap::bmLutDownload, 1);
    camera.capability.Set(FpgaCap::bmGammaLutDownload, 1);
    camera.capability.Set(FirmwareCap::bmResetDevice, 1);
    camera.capability.Set(FirmwareCap::bmSendPktEnd, 1);
    camera.capability.Set(FirmwareCap::bmReconnect, 1);
    camera.capability.Set(FirmwareCap::bmGetVersionStatus, 1);
    const WireCase kCases[] = {
        {"RdSensor", [&](CVendorRequests& v) { return v.VendorCmd_RdSensor(0x1203, &w); }, 0xC0,
         0xC2, 0x03, 0, 3},
        {"RdSensorX", [&](CVendorRequests& v) { return v.VendorCmd_RdSensorX(0x0009, &w); }, 0xC0,
         0xC2, 0x0009, 0, 3},
        {"WrSensor", [&](CVendorRequests& v) { return v.VendorCmd_WrSensor(0x109, 0x0400); }, 0xC0,
         0xC3, 0x09, 0x0400, 3},
        {"WrSensorX", [&](CVendorRequests& v) { return v.VendorCmd_WrSensorX(0x0009, 0x0400); },
         0xC0, 0xC3, 0x0009, 0x0400, 3},
        {"RdFpga", [&](CVendorRequests& v) { return v.VendorCmd_RdFpga(0x89, &w); }, 0xC0, 0x2A,
         0x89, 0, 3},
        {"RdFpgaVersion", [&](CVendorRequests& v) { return v.VendorCmd_RdFpga(128, &w); }, 0xC0,
         0x2A, 128, 0, 3},
        {"WrFpga", [&](CVendorRequests& v) { return v.VendorCmd_WrFpga(9, 0xBEEF); }, 0xC0, 0x2B, 9,
         0xBEEF, 3},
        {"ResetFpga", [&](CVendorRequests& v) { return v.VendorCmd_ResetFpga(5); }, 0x40, 0x29, 0,
         1, 0},
        {"ResetFx2", [&](CVendorRequests& v) { return v.VendorCmd_ResetFx2(false); }, 0x40, 0xA0,
         0xE600, 0, 1},
        {"RdFx2Reg", [&](CVendorRequests& v) { return v.VendorCmd_RdFx2Reg(0xE601, &b); }, 0xC0,
         0xC0, 0xE601, 0, 2},
        {"WrFx2Reg", [&](CVendorRequests& v) { return v.VendorCmd_WrFx2Reg(0xE601, 0x5A); }, 0xC0,
         0xC1, 0xE601, 0x5A, 1},
        {"RdFx2Sfr", [&](CVendorRequests& v) { return v.VendorCmd_RdFx2Sfr(0xB0, &b); }, 0xC0, 0xCA,
         0xB0, 0, 2},
        {"WrFx2Sfr", [&](CVendorRequests& v) { return v.VendorCmd_WrFx2Sfr(0xB5, 0x0F); }, 0xC0,
         0xCB, 0xB5, 0x0F, 1},
        {"RdEEPROM", [&](CVendorRequests& v) { return v.VendorCmd_RdEEPROM(0x0123, &b); }, 0xC0,
         0xC4, 0x0123, 0, 2},
        {"WrEEPROM", [&](CVendorRequests& v) { return v.VendorCmd_WrEEPROM(0x0123, 0x77); }, 0xC0,
         0xC5, 0x0123, 0x77, 1},
        {"RdEEPROMEx", [&](CVendorRequests& v) { return v.VendorCmd_RdEEPROMEx(0x1234, &b); }, 0xC0,
         0xD2, 0, 0x1234, 2},
        {"WrEEPROMEx", [&](CVendorRequests& v) { return v.VendorCmd_WrEEPROMEx(0x1234, 0x66); },
         0x40, 0xD3, 0, 0x66, 4},
        {"RdEEPROMExEx",
         [&](CVendorRequests& v) { return v.VendorCmd_RdEEPROMExEx(0x10, 4, block); }, 0xC0, 0xD4,
         0, 0x10, 4},
        {"WrEEPROMExEx",
         [&](CVendorRequests& v) { return v.VendorCmd_WrEEPROMExEx(0x10, block, 4); }, 0x40, 0xD5,
         0, 0x10, 4},
        {"SetWorkingMode", [&](CVendorRequests& v) { return v.VendorCmd_SetWorkingMode(0x1000); },
         0xC0, 0xCE, 0x1000, 0, 1},
        {"GetWorkingMode", [&](CVendorRequests& v) { return v.VendorCmd_GetWorkingMode(&w); }, 0xC0,
         0xCF, 0, 0, 3},
        {"SetTriggerDelay", [&](CVendorRequests& v) { return v.VendorCmd_SetTriggerDelay(300); },
         0xC0, 0xD6, 300, 0, 1},
        {"GetTriggerDelay", [&](CVendorRequests& v) { return v.VendorCmd_GetTriggerDelay(&w); },
         0xC0, 0xD8, 0, 0, 3},
        {"StartFrame", [&](CVendorRequests& v) { return v.VendorCmd_StartFrame(); }, 0xC0, 0xC8, 0,
         0, 1},
        {"StartAcq", [&](CVendorRequests& v) { return v.VendorCmd_StartAcq(); }, 0xC0, 0xEC, 0, 0,
         1},
        {"StopAcq", [&](CVendorRequests& v) { return v.VendorCmd_StopAcq(); }, 0xC0, 0xED, 0, 0, 1},
        {"GetDeviceInformation",
         [&](CVendorRequests& v) { return v.VendorCmd_GetDeviceInformation(&n, nullptr, &w); },
         0xC0, 0xC9, 0, 0, 5},
        {"UsbState", [&](CVendorRequests& v) { return v.VendorCmd_UsbState(&n); }, 0xC0, 0xEE, 0, 0,
         2},
        {"ResetDevice", [&](CVendorRequests& v) { return v.VendorCmd_ResetDevice(); }, 0xC0, 0xDB,
         0, 0, 1},
        {"SendPktEnd", [&](CVendorRequests& v) { return v.VendorCmd_SendPktEnd(); }, 0xC0, 0xE2, 0,
         0, 1},
        {"ReconnectDevice", [&](CVendorRequests& v) { return v.VendorCmd_ReconnectDevice(); }, 0xC0,
         0xE8, 0, 0, 1},
        {"WriteLut", [&](CVendorRequests& v) { return v.VendorCmd_WriteLut(64, lut, 3); }, 0x40,
         0xDD, 64, 0, 3},
        {"WriteGammaLut",
         [&](CVendorRequests& v) { return v.VendorCmd_WriteGammaLut(32, gamma, 2); }, 0x40, 0xE9,
         32, 0, 4},
        {"WrAD9923AReg",
         [&](CVendorRequests& v) { return v.VendorCmd_WrAD9923AReg(0x0012, 0x00ABCDEF); }, 0x40,
         0x27, 0, 0, 6},
        {"VendorCmdEx", [&](CVendorRequests& v) { return v.VendorCmdEx(0xC9, 1, 2, 5, block); },
         0xC0, 0xC9, 1, 2, 5},
    };
    for (const WireCase& c : kCases) {
        mlsim_journal_clear(0);
        std::memset(block, 0, sizeof(block));
        uint8_t wide[8] = {};
        if (std::strcmp(c.pszName, "VendorCmdEx") == 0) {
            EXPECT_EQ(camera.vendor.VendorCmdEx(0xC9, 1, 2, 5, wide), RET_SUCCESS);
        } else {
            EXPECT_EQ(c.send(camera.vendor), RET_SUCCESS) << c.pszName;
        }
        const std::vector<MlSimJournalEntry> sent = VendorJournal(0);
        ASSERT_EQ(sent.size(), 1u) << c.pszName;
        EXPECT_EQ(sent[0].request_type, c.byType) << c.pszName;
        EXPECT_EQ(sent[0].request, c.byRequest) << c.pszName;
        EXPECT_EQ(sent[0].value, c.wValue) << c.pszName;
        EXPECT_EQ(sent[0].index, c.wIndex) << c.pszName;
        EXPECT_EQ(sent[0].length, c.wLength) << c.pszName;
    }
}

TEST_F(VendorTest, RepliesDecodeIntoTheCamerasValues) {
    // Sensor and FPGA values are big-endian, working mode and delay
    // little-endian: each read must match the simulator's register file.
    ASSERT_EQ(camera.vendor.VendorCmd_WrSensor(0x09, 0x0321), RET_SUCCESS);
    uint16_t wSim = 0;
    ASSERT_EQ(mlsim_sensor_read(0, 0x09, &wSim), 1);
    EXPECT_EQ(wSim, 0x0321);
    uint16_t wValue = 0;
    EXPECT_EQ(camera.vendor.VendorCmd_RdSensor(0x09, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x0321);
    ASSERT_EQ(camera.vendor.VendorCmd_WrFpga(4, 0x1234), RET_SUCCESS);
    ASSERT_EQ(mlsim_fpga_read(0, 4, &wSim), 1);
    EXPECT_EQ(wSim, 0x1234);
    EXPECT_EQ(camera.vendor.VendorCmd_RdFpga(4 | 0x80, &wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x1234);
    ASSERT_EQ(camera.vendor.VendorCmd_SetWorkingMode(0x1012), RET_SUCCESS);
    ASSERT_EQ(mlsim_fpga_read(0, 0, &wSim), 1);
    EXPECT_EQ(wSim, 0x1012);
    EXPECT_EQ(camera.vendor.VendorCmd_GetWorkingMode(&wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x1012);
    ASSERT_EQ(camera.vendor.VendorCmd_SetTriggerDelay(0x0203), RET_SUCCESS);
    EXPECT_EQ(camera.vendor.VendorCmd_GetTriggerDelay(&wValue), RET_SUCCESS);
    EXPECT_EQ(wValue, 0x0203);
    int nType = 0;
    int nSerial = 0;
    uint16_t wFirmware = 0;
    EXPECT_EQ(camera.vendor.VendorCmd_GetDeviceInformation(&nType, &nSerial, &wFirmware),
              RET_SUCCESS);
    EXPECT_EQ(nType, kMonoType);
    EXPECT_EQ(nSerial, 9);
    EXPECT_EQ(wFirmware, 0x0302);
    ASSERT_EQ(camera.vendor.VendorCmd_WrFx2Sfr(0xB5, 0x0F), RET_SUCCESS);
    uint8_t byValue = 0;
    EXPECT_EQ(camera.vendor.VendorCmd_RdFx2Sfr(0xB5, &byValue), RET_SUCCESS);
    EXPECT_EQ(byValue, 0x0F);
    ASSERT_EQ(camera.vendor.VendorCmd_WrAD9923AReg(0x0012, 0x00ABCDEF), RET_SUCCESS);
    uint32_t nFrontEnd = 0;
    ASSERT_EQ(mlsim_ad9923a_read(0, 0x0012, &nFrontEnd), 1);
    EXPECT_EQ(nFrontEnd, 0x00ABCDEFu);
    ASSERT_EQ(camera.vendor.VendorCmd_ResetFx2(true), RET_SUCCESS);
    EXPECT_EQ(mlsim_cpu_reset_state(0), 1);
    ASSERT_EQ(camera.vendor.VendorCmd_ResetFx2(false), RET_SUCCESS);
    EXPECT_EQ(mlsim_cpu_reset_state(0), 0);
    camera.capability.Set(FpgaCap::bmGammaLutDownload, 1);
    const uint16_t gamma[2] = {0x1234, 0x0FFF};
    ASSERT_EQ(camera.vendor.VendorCmd_WriteGammaLut(100, gamma, 2), RET_SUCCESS);
    std::vector<uint16_t> table(4096);
    ASSERT_EQ(mlsim_gamma_lut_read(0, table.data()), 1);
    EXPECT_EQ(table[100], 0x1234);
    EXPECT_EQ(table[101], 0x0FFF);
    EXPECT_NE(camera.LogText().find("ZDQAPI::--VendorCmd_RdSensor Success. ( Address = "
                                    "0x09(009), Value = 0x0321(00801)"),
              std::string::npos);
}

TEST_F(VendorTest, NonZeroStatusFailsEveryStatusRequestWriteFpgaIncluded) {
    uint16_t w = 0;
    uint8_t b = 0;
    const struct {
        uint8_t byRequest;
        std::function<int()> send;
    } kCases[] = {
        {0xC2, [&] { return camera.vendor.VendorCmd_RdSensor(1, &w); }},
        {0xC3, [&] { return camera.vendor.VendorCmd_WrSensor(1, 2); }},
        {0x2A, [&] { return camera.vendor.VendorCmd_RdFpga(0x89, &w); }},
        {0x2B, [&] { return camera.vendor.VendorCmd_WrFpga(9, 2); }},
        {0xC4, [&] { return camera.vendor.VendorCmd_RdEEPROM(1, &b); }},
        {0xCF, [&] { return camera.vendor.VendorCmd_GetWorkingMode(&w); }},
        {0xEC, [&] { return camera.vendor.VendorCmd_StartAcq(); }},
        {0xC9,
         [&] { return camera.vendor.VendorCmd_GetDeviceInformation(nullptr, nullptr, nullptr); }},
    };
    for (const auto& c : kCases) {
        mlsim_fault_clear(0);
        mlsim_fault_add(0, MLSIM_FAULT_STATUS, c.byRequest, 0, 1, 3);
        EXPECT_EQ(c.send(), RET_FAIL) << std::hex << int(c.byRequest);
    }
    // The refused FPGA write left the register as it was.
    uint16_t wSim = 0xFFFF;
    ASSERT_EQ(mlsim_fpga_read(0, 9, &wSim), 1);
    EXPECT_EQ(wSim, 0);
}

TEST_F(VendorTest, GatesRefuseWithoutTraffic) {
    const uint8_t lut[65] = {};
    uint16_t w = 0xAAAA;
    const struct {
        const char* pszName;
        std::function<int()> send;
        int nExpected;
    } kCases[] = {
        {"ResetDevice", [&] { return camera.vendor.VendorCmd_ResetDevice(); }, RET_NOTSUPPORT},
        {"SendPktEnd", [&] { return camera.vendor.VendorCmd_SendPktEnd(); }, RET_NOTSUPPORT},
        {"Reconnect", [&] { return camera.vendor.VendorCmd_ReconnectDevice(); }, RET_NOTSUPPORT},
        {"FrameAck", [&] { return camera.vendor.VendorCmd_FrameAck(); }, RET_NOTSUPPORT},
        {"WriteLut", [&] { return camera.vendor.VendorCmd_WriteLut(0, lut, 1); }, RET_NOTSUPPORT},
        {"Version", [&] { return camera.vendor.VendorCmd_RdFpga(128, &w); }, RET_NOTSUPPORT},
        {"VersionEx", [&] { return camera.vendor.VendorCmd_RdFpga(241, &w); }, RET_NOTSUPPORT},
        {"NullOut", [&] { return camera.vendor.VendorCmd_RdSensor(1, nullptr); }, RET_PARAMERROR},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(c.send(), c.nExpected) << c.pszName;
    }
    EXPECT_EQ(w, 0);  // the FPGA read clears its output first
    camera.capability.Set(FirmwareCap::bmReadFpgaDead, 1);
    EXPECT_EQ(camera.vendor.VendorCmd_RdFpga(0x89, &w), RET_NOTSUPPORT);
    camera.capability.Set(FpgaCap::bmLutDownload, 1);
    EXPECT_EQ(camera.vendor.VendorCmd_WriteLut(0, lut, 65), RET_PARAMERROR);
    EXPECT_TRUE(VendorJournal(0).empty());
    EXPECT_NE(camera.LogText().find("ZDQAPI::--VendorCmd_ResetDevice Success. ( Not Support! )"),
              std::string::npos);
    camera.transport.Close();
    EXPECT_EQ(camera.vendor.VendorCmd_WriteLut(0, lut, 64), RET_DEVICECLOSED);
    EXPECT_EQ(camera.vendor.VendorCmd_ResetFx3(), RET_DEVICECLOSED);
}

TEST_F(VendorTest, EepromBlocksSplitAtPageBoundaries) {
    const struct {
        uint32_t nAddress, nLength;
        std::vector<std::pair<uint32_t, uint16_t>> requests;  // address, length
    } kCases[] = {
        {0x1F0, 0x30, {{0x1F0, 0x10}, {0x200, 0x20}}},
        {0x200, 0x100, {{0x200, 0x100}}},
        {0x200, 0x101, {{0x200, 0x100}, {0x300, 1}}},
        {0x2FF, 0x202, {{0x2FF, 1}, {0x300, 0x100}, {0x400, 0x100}, {0x500, 1}}},
    };
    for (const auto& c : kCases) {
        std::vector<uint8_t> data(c.nLength);
        for (uint32_t i = 0; i < c.nLength; ++i) {
            data[i] = static_cast<uint8_t>(i * 7 + 1);
        }
        for (bool bWrite : {true, false}) {
            mlsim_journal_clear(0);
            std::vector<uint8_t> readBack(c.nLength);
            const int nRet =
                bWrite
                    ? camera.vendor.VendorCmd_WrEEPROMExEx(c.nAddress, data.data(), c.nLength)
                    : camera.vendor.VendorCmd_RdEEPROMExEx(c.nAddress, c.nLength, readBack.data());
            EXPECT_EQ(nRet, RET_SUCCESS);
            std::vector<std::pair<uint32_t, uint16_t>> seen;
            for (const MlSimJournalEntry& entry : VendorJournal(0)) {
                seen.emplace_back(uint32_t(entry.value) << 16 | entry.index, entry.length);
            }
            EXPECT_EQ(seen, c.requests) << std::hex << c.nAddress << " " << c.nLength;
            if (!bWrite) {
                EXPECT_EQ(readBack, data);
            }
        }
        std::vector<uint8_t> stored(c.nLength);
        ASSERT_EQ(mlsim_eeprom_read(0, c.nAddress, stored.data(), c.nLength), 1);
        EXPECT_EQ(stored, data);
    }
}

TEST_F(VendorTest, EepromBlockStopsAtTheFirstFailedPage) {
    std::vector<uint8_t> data(0x30, 0x5C);
    std::vector<uint8_t> before(0x30);
    ASSERT_EQ(mlsim_eeprom_read(0, 0x1F0, before.data(), 0x30), 1);
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0xD5, 1, 1, 0);
    EXPECT_EQ(camera.vendor.VendorCmd_WrEEPROMExEx(0x1F0, data.data(), 0x30), RET_FAIL);
    std::vector<uint8_t> after(0x30);
    ASSERT_EQ(mlsim_eeprom_read(0, 0x1F0, after.data(), 0x30), 1);
    EXPECT_TRUE(std::equal(after.begin(), after.begin() + 0x10, data.begin()));
    EXPECT_TRUE(std::equal(after.begin() + 0x10, after.end(), before.begin() + 0x10));
    mlsim_fault_clear(0);
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0xD4, 0, 1, 0);
    mlsim_journal_clear(0);
    EXPECT_EQ(camera.vendor.VendorCmd_RdEEPROMExEx(0x1F0, 0x30, after.data()), RET_FAIL);
    EXPECT_EQ(VendorJournal(0).size(), 1u);
}
