// The segmented line-sensor chips: segment layout on the line, the load
// strobe, the dark model and frames stacked by FPGA register 8.
#include <vector>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

class LineSensorChipTest : public SimTest {};

TEST_F(LineSensorChipTest, SegmentsInterleaveOnTheLine) {
    struct Case {
        int type, width, lines;
        std::vector<int> segmentOfColumn;  // at columns 0, 1, width / 2, width / 2 + 1
    } cases[] = {{98, 2048, 2, {0, 1, 0, 1}},
                 {99, 2048, 1, {0, 0, 0, 0}},
                 {100, 4096, 2, {0, 1, 2, 3}},
                 {101, 4096, 1, {0, 1, 0, 1}}};
    int slot = 0;
    for (const Case& c : cases) {
        MlUsbHandle h = plugAndOpen(slot, profileOf(c.type));
        // Segment s at black level 100 + 10 s, loaded by its strobe.
        const int segments = c.type == 100 ? 4 : c.type == 99 ? 1 : 2;
        for (int s = 0; s < segments; ++s) {
            writeSensor(h, static_cast<uint16_t>(s * 16 + 4), static_cast<uint16_t>(100 + 10 * s));
            writeSensor(h, static_cast<uint16_t>(s * 16 + 1), 0x11);
        }
        std::vector<uint8_t> buffer(static_cast<size_t>(c.width) * c.lines);
        ReadResult r = readFrame(h, buffer);
        ASSERT_EQ(r.bytes, buffer.size()) << c.type;
        const int columns[4] = {0, 1, c.width / 2, c.width / 2 + 1};
        for (int i = 0; i < 4; ++i) {
            const int want = 425 - 3 * (100 + 10 * c.segmentOfColumn[static_cast<size_t>(i)]);
            EXPECT_EQ(buffer[static_cast<size_t>(columns[i])], want) << c.type << " column " << i;
            EXPECT_EQ(buffer[static_cast<size_t>((c.lines - 1) * c.width + columns[i])], want)
                << c.type << " last line";
        }
        ++slot;
    }
}

TEST_F(LineSensorChipTest, LevelTakesEffectAtTheStrobeOnly) {
    MlUsbHandle h = plugAndOpen(0, profileOf(99));
    std::vector<uint8_t> buffer(2048);
    writeSensor(h, 0x04, 120);
    readFrame(h, buffer);
    EXPECT_EQ(buffer[0], 425 - 3 * 100) << "written, not loaded";
    EXPECT_EQ(readSensor(h, 0x04), 120);
    writeSensor(h, 0x01, 0x10);  // control without the strobe bit
    readFrame(h, buffer);
    EXPECT_EQ(buffer[0], 425 - 3 * 100);
    writeSensor(h, 0x01, 0x11);
    readFrame(h, buffer);
    EXPECT_EQ(buffer[0], 425 - 3 * 120);
}

TEST_F(LineSensorChipTest, DarkModelAndStackedFrames) {
    MlUsbHandle h = plugAndOpen(0, profileOf(99));
    ASSERT_EQ(mlsim_line_sensor_set_dark(0, 50, 1, 0), 1);
    writeFpga(h, 8, 8);
    std::vector<uint8_t> buffer(8 * 2048);
    ASSERT_EQ(readFrame(h, buffer).bytes, buffer.size());
    EXPECT_EQ(buffer.front(), 0) << "below 0 is 0";
    EXPECT_EQ(buffer.back(), 0);
    ASSERT_EQ(mlsim_line_sensor_set_dark(0, 50, 1, 1), 1);
    readFrame(h, buffer);
    EXPECT_EQ(buffer.front(), 255);
    EXPECT_EQ(buffer.back(), 255);
    EXPECT_EQ(mlsim_line_sensor_set_dark(1, 50, 1, 0), 0) << "empty slot";
    plugAndOpen(1, profileOf(1));
    EXPECT_EQ(mlsim_line_sensor_set_dark(1, 50, 1, 0), 0) << "not a line sensor";
}

}  // namespace
}  // namespace usbcam_test
