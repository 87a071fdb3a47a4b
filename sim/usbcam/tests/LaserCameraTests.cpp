// The laser-profile camera: its factory 3D block, the laser line of each
// trigger signal and the watermark's signal count with skipped signals.
#include <cstring>
#include <vector>

#include "laser3d_control.h"
#include "raw_driver.h"

namespace usbcam_test {
namespace {

class LaserCameraTest : public SimTest {};

constexpr int kType = 53;  // 2592 x 1944 monochrome, memory kind 1

MlSimProfile laserProfile() {
    MlSimProfile profile{};
    mlsim_profile_default(kType, &profile);
    profile.content = MLSIM_CONTENT_LASER;
    return profile;
}

uint32_t watermark(const std::vector<uint8_t>& frame) {
    return static_cast<uint32_t>(frame[6] | frame[7] << 8 | frame[16] << 16 | frame[17] << 24);
}

TEST_F(LaserCameraTest, MemoryHoldsTheFactoryBlock) {
    plugAndOpen(0, laserProfile());
    uint8_t block[LASER3D_BLOCK_BYTES] = {};
    ASSERT_EQ(mlsim_eeprom_read(0, 0x3F900, block, sizeof block), 1);
    EXPECT_EQ(block[0], LASER3D_MAGIC);
    int32_t area[4] = {};
    std::memcpy(area, block + LASER3D_AT_COLUMN, sizeof area);
    EXPECT_EQ(area[0], 256);
    EXPECT_EQ(area[2], 2048);
    EXPECT_EQ(area[3], 256);
    float zPerRow = 0;
    std::memcpy(&zPerRow, block + LASER3D_AT_Z_PER_ROW, sizeof zPerRow);
    EXPECT_FLOAT_EQ(zPerRow, 0.05f);

    // Another content, or memory without room, has no block.
    MlSimProfile plain = laserProfile();
    plain.content = MLSIM_CONTENT_PATTERN;
    plugAndOpen(1, plain);
    ASSERT_EQ(mlsim_eeprom_read(1, 0x3F900, block, sizeof block), 1);
    EXPECT_NE(block[0], LASER3D_MAGIC);
}

TEST_F(LaserCameraTest, LineMovesWithTheSignalAndTheWatermarkCountsSignals) {
    MlUsbHandle h = plugAndOpen(0, laserProfile());
    writeFpga(h, 34, 1);
    const int width = 2592, height = 1944;
    std::vector<uint8_t> frame(static_cast<size_t>(width) * height);
    const auto centreRow = [](int x, uint32_t s) {
        return 40 + static_cast<int>((x / 8 + s) % 64);
    };
    uint32_t expected = 0;
    for (uint32_t skip : {0u, 0u, 2u, 0u}) {
        mlsim_skip_signals(0, skip);
        ASSERT_EQ(readFrame(h, frame).bytes, frame.size());
        expected += 1 + skip;
        EXPECT_EQ(watermark(frame), expected);
        for (int x : {100, 517, 2047}) {
            const int row = centreRow(x, expected);
            EXPECT_EQ(frame[static_cast<size_t>(row) * width + x], 250) << x;
            EXPECT_EQ(frame[static_cast<size_t>(row + 1) * width + x], 120) << x;
            EXPECT_EQ(frame[static_cast<size_t>(row - 1) * width + x], 120) << x;
            EXPECT_EQ(frame[static_cast<size_t>(row + 2) * width + x], 8) << x;
        }
    }
}

}  // namespace
}  // namespace usbcam_test
