// The shared world's lens focus as the blur of the gel scene: a camera that
// names a world file blurs like a camera with the radius the focus gives.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

class WorldTest : public SimTest {
  protected:
    std::string scratch(const std::string& name) {
        return ::testing::TempDir() + "world_test_" + std::to_string(::getpid()) + "_" + name;
    }
    static void writeWorld(const std::string& path, double focus, double rate, long long ageMs) {
        const long long now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::system_clock::now().time_since_epoch())
                                  .count();
        std::ofstream out(path + ".new");
        out << "epoch_ms=" << now - ageMs << "\nmotion=" << (rate != 0 ? "focus-in" : "none")
            << "\nfocus=" << focus << "\nfocus_rate=" << rate << "\n";
        out.close();
        std::rename((path + ".new").c_str(), path.c_str());
    }
    std::vector<uint8_t> frame(int slot) {
        MlUsbHandle handle = mlusb_open(devicePath(slot).c_str());
        EXPECT_NE(handle, nullptr);
        handles_.push_back(handle);
        std::vector<uint8_t> buffer(1280 * 1024);
        EXPECT_EQ(readFrame(handle, buffer).bytes, buffer.size());
        return buffer;
    }
};

TEST_F(WorldTest, FocusDistanceFromTheSharpPositionIsTheBlurRadius) {
    const std::string world = scratch("world.txt");
    const std::string config = scratch("cameras.ini");
    {
        std::ofstream out(config);
        out << "[camera0]\ndevice_type = 1\nscene = gel\nworld_file = " << world
            << "\nsharp_focus = 300\nfocus_per_blur_pixel = 20\n"
            << "[camera1]\ndevice_type = 1\nscene = gel\nblur = 10\n";
    }
    std::remove(world.c_str());
    ASSERT_EQ(mlsim_load_config(config.c_str()), 2);

    // No world yet: the configured blur (none).
    mlsim_set_blur(1, 0);
    EXPECT_TRUE(frame(0) == frame(1));

    writeWorld(world, 500.0, 0.0, 0);  // 200 units away: radius 10
    mlsim_set_blur(1, 10);
    EXPECT_TRUE(frame(0) == frame(1));

    // A lens moving at 1 unit a second from 190 ten seconds ago stands at 200
    // now (radius 5); the rate is extrapolated without a new file.
    writeWorld(world, 190.0, 1.0, 10000);
    mlsim_set_blur(1, 5);
    EXPECT_TRUE(frame(0) == frame(1));

    writeWorld(world, 300.0, 0.0, 0);
    mlsim_set_blur(1, 0);
    EXPECT_TRUE(frame(0) == frame(1));
}

TEST_F(WorldTest, BadWorldKeysAreRefused) {
    const std::string config = scratch("bad.ini");
    for (const char* line : {"sharp_focus = 1001", "sharp_focus = x", "focus_per_blur_pixel = 0"}) {
        std::ofstream(config) << "[camera0]\ndevice_type = 1\n" << line << "\n";
        EXPECT_EQ(mlsim_load_config(config.c_str()), -1) << line;
    }
}

}  // namespace
}  // namespace usbcam_test
