// The configuration file: sections per driver number, keys, defaults and
// errors.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

class ConfigTest : public SimTest {
  protected:
    std::string write(const std::string& name, const std::string& text) {
        const char* scratch = std::getenv("VARNU_TEST_SCRATCH");
        std::string path = (scratch ? std::string(scratch) + "/" : ::testing::TempDir()) + name;
        std::ofstream(path) << text;
        return path;
    }

    std::vector<uint8_t> identity(int slot) {
        MlUsbHandle h = mlusb_open(devicePath(slot).c_str());
        EXPECT_NE(h, nullptr) << slot;
        if (!h) {
            return {};
        }
        VendorReply r = vendorIn(h, 0xC9, 0, 0, 5);
        mlusb_close(h);
        return r.data;
    }
};

TEST_F(ConfigTest, CamerasOfTheFileArePlugged) {
    std::string path = write("cameras.ini",
                             "# station cameras\n"
                             "[Camera2]\n"
                             "Device_Type = 9   ; 5 MP mono\n"
                             "serial = 200\n"
                             "firmware_version = 20.20\n"
                             "adc_bits = 12\n"
                             "eeprom_kind = 1\n"
                             "timing = realtime\n"
                             "blur = 3\n"
                             "[camera31]\n"
                             "device_type = 0\n"
                             "colour = colour\n"
                             "fpga_version = none\n");
    ASSERT_EQ(mlsim_load_config(path.c_str()), 2);
    EXPECT_EQ(identity(2), (std::vector<uint8_t>{0, 9, 200, 20, 20}));
    EXPECT_EQ(identity(31), (std::vector<uint8_t>{0, 0, 1, 0, 1}));
    EXPECT_EQ(mlsim_eeprom_size(2), 0x40000u);
    EXPECT_EQ(mlsim_is_plugged(0), 0);

    // Loading again replaces what was plugged.
    std::string one = write("one.ini", "[camera0]\ndevice_type = 3\n");
    ASSERT_EQ(mlsim_load_config(one.c_str()), 1);
    EXPECT_EQ(mlsim_is_plugged(2), 0);
    EXPECT_EQ(identity(0)[1], 3);
}

TEST_F(ConfigTest, ErrorsPlugNothing) {
    const char* bad[] = {
        "[camera0]\nserial = 1\n",                     // no device type
        "[camera32]\ndevice_type = 1\n",               // no such driver number
        "[cam0]\ndevice_type = 1\n",                   // section name
        "device_type = 1\n",                           // key outside a section
        "[camera0]\ndevice_type = 1\nsrial = 2\n",     // unknown key
        "[camera0]\ndevice_type = 1\nserial = 256\n",  // out of range
        "[camera0]\ndevice_type = 1\nfirmware_version = 1.x\n",
        "[camera0]\ndevice_type = 2\n",  // no simulated chip
        "[camera0]\ndevice_type = 17\nonchip_engine = 2\n",
        "[camera0]\ndevice_type = 1\n[camera0]\ndevice_type = 3\n",
        "[camera0]\ndevice_type = 1\ntiming = slow\n",
        "[camera0]\ndevice_type = 1\nscene = photo\n",
        "[camera0]\ndevice_type = 1\ncolour = bgr\n",
        "[camera0\ndevice_type = 1\n",
    };
    int i = 0;
    for (const char* text : bad) {
        std::string path = write("bad" + std::to_string(i++) + ".ini",
                                 std::string("[camera7]\ndevice_type = 1\n") + text);
        EXPECT_EQ(mlsim_load_config(path.c_str()), -1) << text;
        EXPECT_EQ(mlsim_is_plugged(7), 0) << text;
    }
    EXPECT_EQ(mlsim_load_config("/nonexistent/cameras.ini"), -1);
}

TEST_F(ConfigTest, EveryByteRegisterModelIsKnownOnBothSidesOfItsFirmwareLimits) {
    // Type, firmware, FPGA: the global-reset models just below and at their
    // limits (firmware 20.20 and FPGA 20 for the IMX183, firmware 20 for the
    // IMX226).
    struct Camera {
        int type;
        const char* firmware;
        const char* fpga;
    } const cameras[] = {
        {86, "1.0", "1.0"},     {87, "1.0", "1.0"},     {92, "1.0", "1.0"},  {93, "1.0", "1.0"},
        {106, "1.0", "1.0"},    {107, "1.0", "1.0"},    {88, "1.0", "1.0"},  {89, "1.0", "1.0"},
        {121, "1.0", "1.0"},    {94, "1.0", "1.0"},     {95, "1.0", "1.0"},  {104, "1.0", "1.0"},
        {105, "1.0", "1.0"},    {96, "19.99", "1.0"},   {97, "20.0", "1.0"}, {122, "1.0", "1.0"},
        {102, "20.19", "19.9"}, {103, "20.20", "20.0"}, {123, "1.0", "1.0"}, {113, "1.0", "1.0"},
        {114, "1.0", "1.0"},    {115, "1.0", "1.0"},    {116, "1.0", "1.0"}, {119, "1.0", "1.0"},
        {120, "1.0", "1.0"},
    };
    std::string text;
    int slot = 0;
    for (const Camera& c : cameras) {
        text += "[camera" + std::to_string(slot++) + "]\ndevice_type = " + std::to_string(c.type) +
                "\nfirmware_version = " + c.firmware + "\nfpga_version = " + c.fpga + "\n";
    }
    ASSERT_EQ(mlsim_load_config(write("byte-register.ini", text).c_str()),
              static_cast<int>(std::size(cameras)));
    slot = 0;
    for (const Camera& c : cameras) {
        const std::vector<uint8_t> id = identity(slot);
        ASSERT_EQ(id.size(), 5u);
        EXPECT_EQ(id[1], c.type);
        // Firmware minor, then major.
        const std::string firmware = std::to_string(id[4]) + "." + std::to_string(id[3]);
        EXPECT_EQ(firmware, c.firmware);
        MlSimFrameInfo info{};
        ASSERT_EQ(mlsim_frame_info(slot, &info), 1);
        EXPECT_GT(info.width, 0) << c.type << ": the full frame at power-on";
        EXPECT_GT(info.exposure_ms, 0.0) << c.type;
        ++slot;
    }
}

TEST_F(ConfigTest, WithoutTheVariableNoCameraIsPlugged) {
    ASSERT_EQ(std::getenv("MLUSBIMAGER_CONFIG"), nullptr);
    MlSimProfile p = profileOf(1);
    mlsim_plug(0, &p);
    EXPECT_EQ(mlsim_load_config(nullptr), 0);
    for (int slot = 0; slot < MLUSB_MAX_DEVICES; ++slot) {
        EXPECT_EQ(mlsim_is_plugged(slot), 0);
    }
}

}  // namespace
}  // namespace usbcam_test
