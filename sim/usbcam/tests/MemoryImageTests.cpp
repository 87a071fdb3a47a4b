// The memory image file of a configured camera: loaded when the camera is
// plugged, written when it is unplugged and when the process ends.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

constexpr uint32_t kMemoryBytes = 256 * 1024;  // memory kind 1
constexpr uint32_t kBlockAddress = 0x3F080;

class MemoryImageTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        const char* scratch = std::getenv("VARNU_TEST_SCRATCH");
        folder_ = (scratch ? std::string(scratch) : std::string("/tmp")) + "/memory_image_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::system(("rm -rf '" + folder_ + "' && mkdir -p '" + folder_ + "'").c_str());
        config_ = folder_ + "/cameras.ini";
        // A relative image path is taken from the configuration's folder.
        std::ofstream(config_) << "[camera0]\ndevice_type = 9\neeprom_kind = 1\n"
                                  "memory_file = camera0.mem\n";
    }

    std::string image() const {
        std::ifstream in(folder_ + "/camera0.mem", std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    static std::vector<uint8_t> read(uint32_t address, uint32_t length) {
        std::vector<uint8_t> bytes(length);
        EXPECT_EQ(mlsim_eeprom_read(0, address, bytes.data(), length), 1);
        return bytes;
    }

    std::string folder_;
    std::string config_;
};

TEST_F(MemoryImageTest, WrittenAtUnplugAndLoadedAtTheNextPlug) {
    ASSERT_EQ(mlsim_load_config(config_.c_str()), 1);
    EXPECT_EQ(read(kBlockAddress, 2), (std::vector<uint8_t>{0xFF, 0xFF})) << "no image: erased";
    const uint8_t block[] = {'P', 'S', 1, 10};
    ASSERT_EQ(mlsim_eeprom_write(0, kBlockAddress, block, 4), 1);
    mlsim_unplug_all();
    const std::string file = image();
    ASSERT_EQ(file.size(), kMemoryBytes);
    EXPECT_EQ(file.substr(kBlockAddress, 4), std::string("PS\x01\x0A"));
    EXPECT_EQ(static_cast<uint8_t>(file[0]), 0xFF);

    ASSERT_EQ(mlsim_load_config(config_.c_str()), 1);
    EXPECT_EQ(read(kBlockAddress, 4), std::vector<uint8_t>(block, block + 4));
}

TEST_F(MemoryImageTest, AFileOfAnotherSizeIsNotLoadedAndIsReplaced) {
    std::ofstream(folder_ + "/camera0.mem") << std::string(100, 'x');
    ASSERT_EQ(mlsim_load_config(config_.c_str()), 1);
    EXPECT_EQ(read(0, 4), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    mlsim_unplug_all();
    EXPECT_EQ(image().size(), kMemoryBytes);
}

TEST_F(MemoryImageTest, ASecondProcessSeesWhatTheFirstProgrammed) {
    // The writer plugs the configuration, writes one byte and ends without
    // unplugging: the image is written as the process ends.
    const std::string command = std::string(MEMORY_IMAGE_WRITER_PATH) + " '" + config_ + "' " +
                                std::to_string(kBlockAddress) + " 90";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(mlsim_load_config(config_.c_str()), 1);
    EXPECT_EQ(read(kBlockAddress, 1), (std::vector<uint8_t>{90}));
}

}  // namespace
}  // namespace usbcam_test
