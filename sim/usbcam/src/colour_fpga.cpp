#include "colour_fpga.h"

#include <cmath>

namespace usbcam {

namespace {

constexpr uint16_t kColourRegister = 9;
constexpr uint16_t kGainRegister = 16;
constexpr uint16_t kMatrixRegister = 19;

// The FPGA's own presets (the control header lists them).
constexpr double kPresetGains[3][3] = {{1.25, 1.0, 1.5}, {1.5, 1.0, 1.25}, {1.0, 1.25, 2.0}};
constexpr double kPresetMatrices[3][9] = {
    {1.5, -0.25, -0.25, -0.25, 1.5, -0.25, -0.25, -0.25, 1.5},
    {1.25, -0.25, 0, 0, 1.25, -0.25, -0.25, 0, 1.25},
    {1, 0, 0, 0, 1, 0, 0, 0, 1},
};

uint16_t toFixed(double value) {
    double scaled = std::trunc(value * 4096.0);
    scaled = std::fmin(std::fmax(scaled, -32768.0), 32767.0);
    return static_cast<uint16_t>(static_cast<int16_t>(scaled));
}

double fromUnsignedFixed(uint16_t value) {
    return value / 4096.0;
}

double fromSignedFixed(uint16_t value) {
    return static_cast<int16_t>(value) / 4096.0;
}

}  // namespace

void ColourStage::apply(const double in[3], double out[3]) const {
    double balanced[3];
    for (int c = 0; c < 3; ++c) {
        balanced[c] = gainsOn ? in[c] * gains[c] : in[c];
    }
    for (int r = 0; r < 3; ++r) {
        out[r] = matrixOn ? matrix[3 * r] * balanced[0] + matrix[3 * r + 1] * balanced[1] +
                                matrix[3 * r + 2] * balanced[2]
                          : balanced[r];
    }
}

ColourStage settleColourRegisters(FpgaRegisters& fpga, const double contentMeans[3],
                                  bool bAutoStep) {
    ColourStage stage;
    const uint16_t mode = fpga.read(kColourRegister);
    if (mode & 1) {
        stage.gainsOn = true;
        const int kind = (mode >> 1) & 3;
        const int preset = (mode >> 3) & 0x1F;
        bool store = true;
        if (kind == 0) {
            for (int c = 0; c < 3; ++c) {
                stage.gains[c] = preset < 3 ? kPresetGains[preset][c] : 1.0;
            }
        } else if ((kind == 1 && !bAutoStep) || kind == 2) {
            // Grey world: each channel brought to the green mean.
            for (int c = 0; c < 3; ++c) {
                stage.gains[c] = contentMeans[c] > 0 ? contentMeans[1] / contentMeans[c] : 1.0;
            }
        } else {
            store = false;  // the settled or written gains stay
        }
        for (int c = 0; c < 3; ++c) {
            if (store) {
                fpga.write(kGainRegister + c, toFixed(stage.gains[c]));
            }
            stage.gains[c] = fromUnsignedFixed(fpga.read(kGainRegister + c));
        }
    }
    if (mode & 0x100) {
        const int kind = (mode >> 9) & 3;
        const int preset = (mode >> 11) & 0x1F;
        stage.matrixOn = kind == 0 || kind == 3;
        for (int i = 0; i < 9 && stage.matrixOn; ++i) {
            if (kind == 0) {
                const double value = preset < 3 ? kPresetMatrices[preset][i] : (i % 4 == 0);
                fpga.write(kMatrixRegister + i, toFixed(value));
            }
            stage.matrix[i] = fromSignedFixed(fpga.read(kMatrixRegister + i));
        }
    }
    return stage;
}

}  // namespace usbcam
