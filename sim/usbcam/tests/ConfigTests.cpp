// The configuration file: sections per driver number, keys, defaults and
// errors.
#include <cstdlib>
#include <fstream>

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
        "[camera0]\ndevice_type = 110\n",  // no simulated chip
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
