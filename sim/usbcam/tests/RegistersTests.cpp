// Register access through the camera protocol: sensor, FPGA, working mode,
// trigger delay, EEPROM of the three kinds, controller ports, LUT downloads.
#include "raw_driver.h"

namespace usbcam_test {
namespace {

class RegistersTest : public SimTest {};

TEST_F(RegistersTest, SensorPowerOnValuesDescribeTheFullFrame) {
    struct Case {
        int type;
        int width;
        int height;
        uint16_t colStart;  // register 2 at power-on
        uint16_t rowStart;  // register 1
    } cases[] = {{1, 1280, 1024, 20, 12}, {9, 2592, 1944, 16, 54}, {3, 2048, 1536, 32, 20}};
    int slot = 0;
    for (const Case& c : cases) {
        MlUsbHandle h = plugAndOpen(slot, profileOf(c.type));
        EXPECT_EQ(readSensor(h, 2), c.colStart) << c.type;
        EXPECT_EQ(readSensor(h, 1), c.rowStart) << c.type;
        EXPECT_EQ(readSensor(h, 4) + 1, c.width) << c.type;
        EXPECT_EQ(readSensor(h, 3) + 1, c.height) << c.type;
        MlSimFrameInfo info;
        ASSERT_EQ(mlsim_frame_info(slot, &info), 1);
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.col_start, 0);
        EXPECT_EQ(info.row_start, 0);
        ++slot;
    }
}

TEST_F(RegistersTest, ChipsHoldTheRegistersTheirUnitsUse) {
    struct Case {
        int type;
        std::vector<uint16_t> registers;
    } cases[] = {
        {1, {1, 2, 3, 4, 5, 6, 9, 11, 12, 30, 32, 43, 44, 45, 46, 53, 95, 98}},
        {9, {1, 2, 3, 4, 5, 6, 8, 9, 11, 12, 30, 32, 34, 35, 43, 44, 45, 46, 53}},
        {3, {1, 2, 3, 4, 5, 6, 8, 9, 11, 12, 30, 32, 34, 35, 43, 44, 45, 46}},
    };
    int slot = 0;
    for (const Case& c : cases) {
        plugAndOpen(slot, profileOf(c.type));
        std::vector<uint16_t> got(64);
        got.resize(mlsim_sensor_registers(slot, got.data(), 64));
        EXPECT_EQ(got, c.registers) << c.type;
        ++slot;
    }
}

TEST_F(RegistersTest, ExposureAndWindowDecodeFromTheChipRegisters) {
    struct Write {
        uint16_t address;
        uint16_t value;
    };
    struct Window {
        int colStart, rowStart, width, height, colSkip, rowSkip;
    };
    const Window full1280 = {0, 0, 1280, 1024, 1, 1};
    const Window full2592 = {0, 0, 2592, 1944, 1, 1};
    const Window full2048 = {0, 0, 2048, 1536, 1, 1};
    struct Case {
        const char* what;
        int type;
        std::vector<Write> writes;
        double exposureClocks;  // 0: not checked
        Window window;
    } cases[] = {
        // 1280 columns, blanking 9 (counts as 19), no delay: 1524 clocks a row.
        {"MT9M001", 1, {{0x05, 9}, {0x09, 1000}}, 1000.0 * 1524 - 180, full1280},
        // A row never lasts under 548 clocks.
        {"MT9M001 window, skip 4",
         1,
         {{0x02, 120}, {0x01, 62}, {0x04, 639}, {0x03, 479}, {0x1E, 0x800C}, {0x09, 10}},
         10.0 * 548 - 180,
         {100, 50, 640, 480, 4, 4}},
        // Full 2592 window: rows of 3864 clocks, 2 x 213 clocks of overhead.
        {"2592 family", 9, {{0x08, 0}, {0x09, 1944}}, 3864.0 * 1944 - 426, full2592},
        {"2592 upper word", 9, {{0x08, 1}, {0x09, 0}}, 3864.0 * 65536 - 426, full2592},
        // Full 2048 window, blanking 21: rows of 2438 clocks.
        {"2048 family", 3, {{0x09, 100}}, 2438.0 * 100 - 199, full2048},
        {"2048 skip 2", 3, {{0x23, 0x01}, {0x02, 34 + 64}}, 0, {64, 0, 2048, 1536, 2, 1}},
    };
    int slot = 0;
    for (const Case& c : cases) {
        MlSimProfile p = profileOf(c.type);
        MlUsbHandle h = plugAndOpen(slot, p);
        for (const Write& w : c.writes) {
            writeSensor(h, w.address, w.value);
        }
        MlSimFrameInfo info;
        ASSERT_EQ(mlsim_frame_info(slot, &info), 1);
        if (c.exposureClocks > 0) {
            EXPECT_NEAR(info.exposure_ms, c.exposureClocks / (p.pixel_clock_mhz * 1000.0), 1e-6)
                << c.what;
        }
        const Window& w = c.window;
        EXPECT_EQ(info.col_start, w.colStart) << c.what;
        EXPECT_EQ(info.row_start, w.rowStart) << c.what;
        EXPECT_EQ(info.window_width, w.width) << c.what;
        EXPECT_EQ(info.window_height, w.height) << c.what;
        EXPECT_EQ(info.col_skip, w.colSkip) << c.what;
        EXPECT_EQ(info.row_skip, w.rowSkip) << c.what;
        EXPECT_EQ(info.width, w.width / w.colSkip) << c.what;
        ++slot;
    }
}

TEST_F(RegistersTest, SensorReplyIsStatusThenBigEndianValue) {
    MlUsbHandle h = plugAndOpen(0, profileOf(1));
    writeSensor(h, 0x09, 0x1234);
    VendorReply r = vendorIn(h, 0xC2, 0x09, 0, 3);
    ASSERT_EQ(r.ok, 1);
    EXPECT_EQ(r.data, (std::vector<uint8_t>{0, 0x12, 0x34}));
    uint16_t chip = 0;
    ASSERT_EQ(mlsim_sensor_read(0, 0x09, &chip), 1);
    EXPECT_EQ(chip, 0x1234);

    // A register the chip lacks answers status 1, for reads and writes.
    VendorReply missing = vendorIn(h, 0xC2, 0x77, 0, 3);
    ASSERT_EQ(missing.ok, 1);
    EXPECT_EQ(missing.data[0], 1);
    EXPECT_EQ(vendorIn(h, 0xC3, 0x77, 5, 3).data[0], 1);
}

TEST_F(RegistersTest, GlobalGainSetsTheColourGains) {
    MlUsbHandle h = plugAndOpen(0, profileOf(9));
    writeSensor(h, 0x35, 0x0160);
    for (uint16_t reg : {0x2B, 0x2C, 0x2D, 0x2E}) {
        EXPECT_EQ(readSensor(h, reg), 0x0160) << reg;
    }
    MlSimFrameInfo info;
    mlsim_frame_info(0, &info);
    EXPECT_DOUBLE_EQ(info.gain, 8.0 * 1.125);  // 2 x 32/8 analogue, 1 + 1/8 digital
}

TEST_F(RegistersTest, FpgaReadAddressesAndVersion) {
    MlSimProfile p = profileOf(52);
    p.fpga_version = 0x0605;
    MlUsbHandle h = plugAndOpen(0, p);
    writeFpga(h, 5, 0xBEEF);
    writeFpga(h, 112, 0x0102);
    auto readAt = [&](uint8_t address) {
        VendorReply r = vendorIn(h, 0x2A, address, 0, 3);
        EXPECT_EQ(r.ok, 1);
        EXPECT_EQ(r.data[0], 0);
        return static_cast<uint16_t>(r.data[1] << 8 | r.data[2]);
    };
    EXPECT_EQ(readAt(0x85), 0xBEEF);
    EXPECT_EQ(readAt(112), 0x0102);
    EXPECT_EQ(readAt(0x88), 1) << "one frame per transfer at power-on";
    EXPECT_EQ(readAt(128) >> 8, 6 * 32 + 5 * 4);
    mlsim_set_trigger_status(0, 2);
    EXPECT_EQ(readAt(128) & 0x0C, 0x08);

    MlSimProfile big = profileOf(52);
    big.fpga_version = 0x1828;  // 24.40 does not fit the version byte
    MlUsbHandle h2 = plugAndOpen(1, big);
    VendorReply version = vendorIn(h2, 0x2A, 128, 0, 3);
    EXPECT_EQ(version.data[1], 224);
    VendorReply extended = vendorIn(h2, 0x2A, 241, 0, 3);
    EXPECT_EQ(extended.data[1] << 8 | extended.data[2], 0x1828);

    // A camera without an FPGA answers status 1.
    MlUsbHandle h3 = plugAndOpen(2, profileOf(9));
    EXPECT_EQ(vendorIn(h3, 0x2A, 0xFF, 0, 3).data[0], 1);
    EXPECT_EQ(vendorIn(h3, 0x2B, 9, 1, 3).data[0], 1);
}

TEST_F(RegistersTest, WorkingModeAndTriggerDelayAreLittleEndian) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    ASSERT_EQ(vendorIn(h, 0xCE, 0x1810, 0, 1).data[0], 0);
    VendorReply mode = vendorIn(h, 0xCF, 0, 0, 3);
    EXPECT_EQ(mode.data, (std::vector<uint8_t>{0, 0x10, 0x18}));
    VendorReply viaFpga = vendorIn(h, 0x2A, 0xFF, 0, 3);
    EXPECT_EQ(viaFpga.data[1] << 8 | viaFpga.data[2], 0x1810);

    // Bit 8 is a one-shot command and never stays set.
    ASSERT_EQ(vendorIn(h, 0xCE, 0x0110, 0, 1).data[0], 0);
    EXPECT_EQ(vendorIn(h, 0xCF, 0, 0, 3).data[2], 0x00);
    writeFpga(h, 0, 0x0111);
    uint16_t reg0 = 0;
    mlsim_fpga_read(0, 0, &reg0);
    EXPECT_EQ(reg0, 0x0011);

    ASSERT_EQ(vendorIn(h, 0xD6, 0xA55A, 0, 1).data[0], 0);
    EXPECT_EQ(vendorIn(h, 0xD8, 0, 0, 3).data, (std::vector<uint8_t>{0, 0x5A, 0xA5}));
    uint16_t reg3 = 0;
    mlsim_fpga_read(0, 3, &reg3);
    EXPECT_EQ(reg3, 0xA55A);
}

TEST_F(RegistersTest, FpgaIoStatusKeepsTheInputPin) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    mlsim_set_gpio_input(0, 1);
    writeFpga(h, 30, 0x0100);
    VendorReply r = vendorIn(h, 0x2A, 30 | 0x80, 0, 3);
    EXPECT_EQ(r.data[1] << 8 | r.data[2], 0x0101);
    writeFpga(h, 30, 0x0000);
    mlsim_set_gpio_input(0, 0);
    r = vendorIn(h, 0x2A, 30 | 0x80, 0, 3);
    EXPECT_EQ(r.data[1] << 8 | r.data[2], 0x0000);
}

TEST_F(RegistersTest, EepromKindsSizesAndRequests) {
    struct Case {
        int kind;
        uint32_t size;
        bool blocks;
    } cases[] = {{0, 8192, false}, {1, 0x40000, true}, {2, 0x4000, true}};
    int slot = 0;
    for (const Case& c : cases) {
        MlSimProfile p = profileOf(52);
        p.eeprom_kind = c.kind;
        MlUsbHandle h = plugAndOpen(slot, p);
        EXPECT_EQ(mlsim_eeprom_size(slot), c.size);
        // Erased memory reads 0xFF; single bytes at 16-bit addresses.
        EXPECT_EQ(vendorIn(h, 0xC4, 0x1FFF, 0, 2).data, (std::vector<uint8_t>{0, 0xFF}));
        EXPECT_EQ(vendorIn(h, 0xC5, 0x1FFF, 0x5A, 1).data[0], 0);
        EXPECT_EQ(vendorIn(h, 0xC4, 0x1FFF, 0, 2).data[1], 0x5A);
        VendorReply block = vendorIn(h, 0xD4, 0, 0x1FF0, 16);
        EXPECT_EQ(block.ok, c.blocks ? 1 : 0) << "kind " << c.kind;
        ++slot;
    }

    // 32-bit addresses: D2 splits them over wValue and wIndex, D3 carries
    // them as four big-endian data bytes.
    MlUsbHandle h = handles_[1];
    VendorReply write = vendor(h, 0x40, 0xD3, 0, 0x77, 4, {0x00, 0x03, 0xFF, 0xF0});
    ASSERT_EQ(write.ok, 1);
    EXPECT_EQ(vendorIn(h, 0xD2, 0x0003, 0xFFF0, 2).data, (std::vector<uint8_t>{0, 0x77}));
    uint8_t byte = 0;
    mlsim_eeprom_read(1, 0x3FFF0, &byte, 1);
    EXPECT_EQ(byte, 0x77);
}

TEST_F(RegistersTest, BlockWriteStaysInsideItsPage) {
    MlSimProfile p = profileOf(52);
    p.eeprom_kind = 1;
    MlUsbHandle h = plugAndOpen(0, p);
    std::vector<uint8_t> data(0x30);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<uint8_t>(i + 1);
    }
    // 0x30 bytes at 0x1F0 in one request: the last 0x20 wrap to 0x100.
    ASSERT_EQ(vendor(h, 0x40, 0xD5, 0, 0x1F0, 0x30, data, true).ok, 1);
    std::vector<uint8_t> memory(0x200);
    mlsim_eeprom_read(0, 0x100, memory.data(), 0x200);
    EXPECT_EQ(memory[0x1F0 - 0x100], 1);
    EXPECT_EQ(memory[0x1FF - 0x100], 0x10);
    EXPECT_EQ(memory[0x000], 0x11);
    EXPECT_EQ(memory[0x01F], 0x30);
    EXPECT_EQ(memory[0x100], 0xFF) << "nothing reached the next page";

    // Split at the page boundary, as a careful host sends it, it lands in place.
    ASSERT_EQ(vendor(h, 0x40, 0xD5, 0, 0x2F0, 0x10, {data.begin(), data.begin() + 16}, true).ok, 1);
    ASSERT_EQ(vendor(h, 0x40, 0xD5, 0, 0x300, 0x20, {data.begin() + 16, data.end()}, true).ok, 1);
    VendorReply back = vendorIn(h, 0xD4, 0, 0x2F0, 0x30);
    EXPECT_EQ(back.data, data);
}

TEST_F(RegistersTest, ControllerPortsReadPinsOrLatch) {
    MlSimProfile p = profileOf(1);
    p.snap_port = 0xA0;
    p.snap_bit = 2;
    MlUsbHandle h = plugAndOpen(0, p);
    EXPECT_EQ(vendorIn(h, 0xCA, 0xA0, 0, 2).data, (std::vector<uint8_t>{0, 0xFF}));
    mlsim_set_snap_button(0, 1);
    EXPECT_EQ(vendorIn(h, 0xCA, 0xA0, 0, 2).data[1], 0xFB);
    mlsim_set_snap_button(0, 0);
    EXPECT_EQ(vendorIn(h, 0xCA, 0xA0, 0, 2).data[1], 0xFF);

    // Port D: low nibble driven as outputs, high nibble from the pins.
    mlsim_set_port_input(0, 0xB0, 0x5F);
    ASSERT_EQ(vendorIn(h, 0xCB, 0xB5, 0x0F, 1).data[0], 0);
    ASSERT_EQ(vendorIn(h, 0xCB, 0xB0, 0x0A, 1).data[0], 0);
    EXPECT_EQ(vendorIn(h, 0xCA, 0xB0, 0, 2).data[1], 0x5A);
    EXPECT_EQ(vendorIn(h, 0xCA, 0xB5, 0, 2).data[1], 0x0F);

    // External-memory registers of the controller are plain bytes.
    ASSERT_EQ(vendorIn(h, 0xC1, 0xE680, 0x1234, 1).data[0], 0);
    EXPECT_EQ(vendorIn(h, 0xC0, 0xE680, 0, 2).data, (std::vector<uint8_t>{0, 0x34}));
}

TEST_F(RegistersTest, LutAndGammaLutDownloads) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    std::vector<uint8_t> bytes(64);
    for (int i = 0; i < 64; ++i) {
        bytes[i] = static_cast<uint8_t>(255 - i);
    }
    ASSERT_EQ(vendor(h, 0x40, 0xDD, 128, 0, 64, bytes, true).ok, 1);
    std::vector<uint8_t> lut(4096);
    mlsim_lut_read(0, lut.data());
    EXPECT_EQ(lut[127], 127 >> 4) << "untouched entries keep the power-on table";
    EXPECT_EQ(lut[128], 255);
    EXPECT_EQ(lut[191], 192);

    std::vector<uint8_t> entries = {0x34, 0x12, 0xFF, 0x0F};
    ASSERT_EQ(vendor(h, 0x40, 0xE9, 4000, 0, 4, entries, true).ok, 1);
    std::vector<uint16_t> gamma(4096);
    mlsim_gamma_lut_read(0, gamma.data());
    EXPECT_EQ(gamma[3999], 3999);
    EXPECT_EQ(gamma[4000], 0x1234);
    EXPECT_EQ(gamma[4001], 0x0FFF);

    // A request sent in the wrong direction stalls.
    EXPECT_EQ(vendorIn(h, 0xDD, 0, 0, 4).error, MLUSB_ERROR_GEN_FAILURE);
    EXPECT_EQ(vendorIn(h, 0x55, 0, 0, 1).error, MLUSB_ERROR_GEN_FAILURE) << "unknown request";
}

TEST_F(RegistersTest, RequestsForAPartTheCameraLacksStall) {
    // No FPGA: LUT loads stall.
    MlUsbHandle noFpga = plugAndOpen(0, profileOf(9));
    EXPECT_EQ(vendor(noFpga, 0x40, 0xDD, 0, 0, 2, {1, 2}, true).error, MLUSB_ERROR_GEN_FAILURE);
    EXPECT_EQ(vendor(noFpga, 0x40, 0xE9, 0, 0, 2, {1, 2}, true).error, MLUSB_ERROR_GEN_FAILURE);
    // No block EEPROM: block reads and page writes stall.
    MlSimProfile single = profileOf(52);
    single.eeprom_kind = 0;
    MlUsbHandle noBlocks = plugAndOpen(1, single);
    EXPECT_EQ(vendorIn(noBlocks, 0xD4, 0, 0, 2).error, MLUSB_ERROR_GEN_FAILURE);
    EXPECT_EQ(vendor(noBlocks, 0x40, 0xD5, 0, 0, 2, {1, 2}, true).error, MLUSB_ERROR_GEN_FAILURE);
    uint8_t byte = 0;
    ASSERT_EQ(mlsim_eeprom_read(1, 0, &byte, 1), 1);
    EXPECT_EQ(byte, 0xFF) << "a stalled page write leaves the memory erased";
}

TEST_F(RegistersTest, BlockRequestsOfNoBytesSucceedWithNothingTransferred) {
    const struct {
        int kind;
        int slot;
    } cases[] = {{0, 0}, {2, 1}};
    for (const auto& c : cases) {
        MlSimProfile p = profileOf(52);
        p.eeprom_kind = c.kind;
        MlUsbHandle h = plugAndOpen(c.slot, p);
        VendorReply read = vendorIn(h, 0xD4, 0, 0x10, 0);
        EXPECT_EQ(read.ok, 1) << "kind " << c.kind;
        EXPECT_EQ(read.returned, 0u);
        VendorReply write = vendor(h, 0x40, 0xD5, 0, 0x10, 0, {}, true);
        EXPECT_EQ(write.ok, 1) << "kind " << c.kind;
        uint8_t byte = 0;
        ASSERT_EQ(mlsim_eeprom_read(c.slot, 0x10, &byte, 1), 1);
        EXPECT_EQ(byte, 0xFF) << "the memory is untouched";
    }
}

TEST_F(RegistersTest, JournalKeepsRequestsInOrder) {
    MlUsbHandle h = plugAndOpen(0, profileOf(1));
    writeSensor(h, 0x2B, 9);
    vendor(h, 0x40, 0xA0, 0xE600, 0, 1, {1});
    uint32_t returned = 0;
    mlusb_ioctl(h, MLUSB_IOCTL_RESET_PIPE, nullptr, 0, nullptr, 0, &returned, nullptr);
    ASSERT_EQ(mlsim_journal_count(0), 3u);
    MlSimJournalEntry e;
    ASSERT_EQ(mlsim_journal_get(0, 0, &e), 1);
    EXPECT_EQ(e.kind, static_cast<uint32_t>(MLSIM_JOURNAL_VENDOR));
    EXPECT_EQ(e.request, 0xC3);
    EXPECT_EQ(e.value, 0x2B);
    EXPECT_EQ(e.index, 9);
    EXPECT_EQ(e.status, 0);
    ASSERT_EQ(mlsim_journal_get(0, 1, &e), 1);
    EXPECT_EQ(e.request, 0xA0);
    EXPECT_EQ(e.data_length, 1u);
    EXPECT_EQ(e.data[0], 1);
    ASSERT_EQ(mlsim_journal_get(0, 2, &e), 1);
    EXPECT_EQ(e.kind, static_cast<uint32_t>(MLSIM_JOURNAL_CONTROL));
    EXPECT_EQ(e.code, MLUSB_IOCTL_RESET_PIPE);
    // While the CPU is held in reset only the load request is answered.
    EXPECT_EQ(vendorIn(h, 0xC9, 0, 0, 5).error, MLUSB_ERROR_GEN_FAILURE);
}

}  // namespace
}  // namespace usbcam_test
