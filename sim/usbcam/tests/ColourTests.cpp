// The colour chart and the FPGA's colour processing of a colour camera, as
// the control header defines them.
#include <cmath>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

constexpr int kWidth = 2592, kHeight = 1944;

// Channel (0 red, 1 green, 2 blue) of array pixel (x, y) of a GRBG mosaic.
int channelAt(int x, int y) {
    if ((y & 1) == 0) {
        return (x & 1) == 0 ? 1 : 0;
    }
    return (x & 1) == 0 ? 2 : 1;
}

// The chart's reflectance of a channel at array pixel (x, y).
double reflectance(int x, int y, int channel) {
    const int column = x * 6 / kWidth, row = y * 2 / kHeight;
    if (row == 0) {
        return (column + 1) / 8.0;
    }
    const bool high[6][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}};
    return high[column][channel] ? 0.7 : 0.15;
}

// The 8-bit sample of a level (12-bit ADC, default output path).
int sample(double level) {
    return static_cast<int>(std::floor(std::fmin(std::fmax(level, 0.0), 1.0) * 4095.0)) >> 4;
}

class ColourTest : public SimTest {
  protected:
    MlUsbHandle openChartCamera() {
        MlSimProfile p = profileOf(41);
        p.fpga_version = 0x0500;
        p.content = MLSIM_CONTENT_CHART;
        return plugAndOpen(0, p);
    }
    static uint16_t fpga(uint16_t reg) {
        uint16_t v = 0;
        mlsim_fpga_read(0, reg, &v);
        return v;
    }
};

const int kProbes[][2] = {{10, 10},     {11, 10},     {10, 11},     {900, 20},
                          {1301, 1001}, {2000, 1500}, {2591, 1943}, {433, 973}};

TEST_F(ColourTest, ChartUnderAnIlluminant) {
    MlUsbHandle h = openChartCamera();
    const double tint[3] = {1.25, 1.0, 0.8};
    ASSERT_EQ(mlsim_set_illuminant(0, tint[0], tint[1], tint[2]), 1);
    EXPECT_EQ(mlsim_set_illuminant(0, -1, 1, 1), 0);
    std::vector<uint8_t> frame(kWidth * kHeight);
    ASSERT_EQ(readFrame(h, frame).bytes, frame.size());
    for (const auto& p : kProbes) {
        const int c = channelAt(p[0], p[1]);
        EXPECT_EQ(frame[p[1] * kWidth + p[0]], sample(reflectance(p[0], p[1], c) * tint[c]))
            << p[0] << ", " << p[1];
    }
}

TEST_F(ColourTest, FpgaGainsAndMatrixActOnTheMosaic) {
    MlUsbHandle h = openChartCamera();
    ASSERT_EQ(mlsim_set_illuminant(0, 1.25, 1.0, 0.8), 1);
    // Automatic once: grey world of the chart, the inverse tint.
    writeFpga(h, 9, 1 | 1 << 1);
    EXPECT_EQ(fpga(16), static_cast<uint16_t>(0.8 * 4096));
    EXPECT_EQ(fpga(17), 4096);
    EXPECT_EQ(fpga(18), static_cast<uint16_t>(1.25 * 4096));
    // Preset 1 of the matrix next to preset 0 of the gains.
    writeFpga(h, 9, 1 | 0x100 | 1 << 11);
    EXPECT_EQ(fpga(16), static_cast<uint16_t>(1.25 * 4096));
    EXPECT_EQ(fpga(19), static_cast<uint16_t>(1.25 * 4096));
    EXPECT_EQ(fpga(20), static_cast<uint16_t>(static_cast<int16_t>(-1024)));  // -0.25
    const double gains[3] = {1.25, 1.0, 1.5};
    const double m[9] = {1.25, -0.25, 0, 0, 1.25, -0.25, -0.25, 0, 1.25};
    std::vector<uint8_t> frame(kWidth * kHeight);
    ASSERT_EQ(readFrame(h, frame).bytes, frame.size());
    for (const auto& p : kProbes) {
        double in[3];
        for (int c = 0; c < 3; ++c) {
            in[c] = reflectance(p[0], p[1], c) * (c == 0 ? 1.25 : c == 1 ? 1.0 : 0.8) * gains[c];
        }
        const int c = channelAt(p[0], p[1]);
        const double out = m[3 * c] * in[0] + m[3 * c + 1] * in[1] + m[3 * c + 2] * in[2];
        EXPECT_EQ(frame[p[1] * kWidth + p[0]], sample(out)) << p[0] << ", " << p[1];
    }
    // User gains of registers 16-18 are kept as written.
    writeFpga(h, 16, 2048);
    writeFpga(h, 9, 7);
    EXPECT_EQ(fpga(16), 2048);
    ASSERT_EQ(readFrame(h, frame).bytes, frame.size());
    EXPECT_EQ(frame[10 * kWidth + 11], sample(reflectance(11, 10, 0) * 1.25 * 0.5));
}

}  // namespace
}  // namespace usbcam_test
