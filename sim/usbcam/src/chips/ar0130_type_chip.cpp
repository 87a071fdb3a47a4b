#include "ar0130_type_chip.h"

#include <algorithm>

namespace usbcam {

std::map<uint16_t, uint16_t> Ar0130TypeChip::powerOnValues() const {
    // The full 1280 x 960 array, 1650 clocks a row, the engine fitted and
    // off with a luma target of 1280 (an 8-bit level of 80).
    const uint16_t x0 = static_cast<uint16_t>(columnOffset_);
    const uint16_t y0 = static_cast<uint16_t>(rowOffset_);
    return {{Y_ADDR_START, y0},
            {X_ADDR_START, x0},
            {Y_ADDR_END, static_cast<uint16_t>(y0 + 959)},
            {X_ADDR_END, static_cast<uint16_t>(x0 + 1279)},
            {FRAME_LENGTH_LINES, 960 + kMinBlankRows},
            {LINE_LENGTH_PCK, 1650},
            {COARSE_INTEGRATION_TIME, 16},
            {FINE_INTEGRATION_TIME, 0},
            {RESET_REGISTER, 0x10D8},
            {DATA_PEDESTAL, 0x00C8},
            {VT_PIX_CLK_DIV, 0x0006},
            {DIGITAL_BINNING, 0},
            {READ_MODE, 0},
            {FLASH, 0},
            {GREEN1_GAIN, 32},
            {BLUE_GAIN, 32},
            {RED_GAIN, 32},
            {GREEN2_GAIN, 32},
            {GLOBAL_GAIN, 32},
            {EMBEDDED_DATA_CTRL, static_cast<uint16_t>(engineFitted_ ? 0x1982 : 0x1802)},
            {Y_ODD_INC, 1},
            {DIGITAL_TEST, 0x0080},
            {AE_CTRL_REG, 0x0010},
            {AE_LUMA_TARGET_REG, 0x0500},
            {AE_MAX_EXPOSURE_REG, 960},
            {AE_MIN_EXPOSURE_REG, 1},
            {AE_ROI_X_START_OFFSET, 0},
            {AE_ROI_Y_START_OFFSET, 0},
            {AE_ROI_X_SIZE, 1280},
            {AE_ROI_Y_SIZE, 960},
            {AE_COARSE_INTEGRATION_TIME, 16}};
}

bool Ar0130TypeChip::writeRegister(uint16_t address, uint16_t value) {
    // The engine's row count is its own: writes leave it.
    if (address == AE_COARSE_INTEGRATION_TIME) {
        return true;
    }
    return RegisterBankChip::writeRegister(address, value);
}

int Ar0130TypeChip::outputRows() const {
    const int rows = reg(Y_ADDR_END) - reg(Y_ADDR_START) + 1;
    const int skip = (reg(DIGITAL_BINNING) & 3) == 2 ? 2 : (reg(Y_ODD_INC) + 1) / 2;
    return std::max(rows, 0) / std::max(skip, 1);
}

void Ar0130TypeChip::afterWrite(uint16_t address, uint16_t value) {
    switch (address) {
        case Y_ADDR_START:
        case Y_ADDR_END:
        case Y_ODD_INC:
        case DIGITAL_BINNING:
        case COARSE_INTEGRATION_TIME:
            // The frame holds the window's rows and the exposure.
            setReg(FRAME_LENGTH_LINES,
                   static_cast<uint16_t>(std::min(
                       65535, std::max(outputRows() + kMinBlankRows,
                                       static_cast<int>(reg(COARSE_INTEGRATION_TIME)) + 1))));
            break;
        case AE_CTRL_REG:
            if ((value & 1) != 0) {
                // The engine starts from the exposure now set.
                setReg(AE_COARSE_INTEGRATION_TIME, reg(COARSE_INTEGRATION_TIME));
            }
            break;
        default:
            break;
    }
}

bool Ar0130TypeChip::engineRunning() const {
    return (reg(EMBEDDED_DATA_CTRL) & 0x0180) != 0 && (reg(AE_CTRL_REG) & 1) != 0;
}

void Ar0130TypeChip::onFrame() {
    if (!engineRunning()) {
        return;
    }
    const int lo = std::max<int>(reg(AE_MIN_EXPOSURE_REG), 1);
    const int hi = std::max<int>(reg(AE_MAX_EXPOSURE_REG), lo);
    const int goal = std::clamp(reg(AE_LUMA_TARGET_REG) / kLumaPerLine, lo, hi);
    const int now = reg(AE_COARSE_INTEGRATION_TIME);
    int next = now + (goal - now) / 2;
    if (next == now && now != goal) {
        next += goal > now ? 1 : -1;
    }
    setReg(AE_COARSE_INTEGRATION_TIME, static_cast<uint16_t>(std::clamp(next, lo, hi)));
}

SensorReadout Ar0130TypeChip::readout() const {
    SensorReadout out;
    out.arrayWidth = 1280;
    out.arrayHeight = 960;
    out.colStart = reg(X_ADDR_START) - columnOffset_;
    out.rowStart = reg(Y_ADDR_START) - rowOffset_;
    out.width = std::max(reg(X_ADDR_END) - reg(X_ADDR_START) + 1, 0);
    out.height = std::max(reg(Y_ADDR_END) - reg(Y_ADDR_START) + 1, 0);
    if ((reg(DIGITAL_BINNING) & 3) == 2) {
        out.colSkip = out.rowSkip = 2;
        out.colBin = out.rowBin = 2;
    } else {
        out.rowSkip = std::max((reg(Y_ODD_INC) + 1) / 2, 1);
    }
    out.flip = (reg(READ_MODE) & 0x8000) != 0;
    out.mirror = (reg(READ_MODE) & 0x4000) != 0;
    out.lineClocks = std::max<int>(reg(LINE_LENGTH_PCK), 1);
    const long long lines =
        engineRunning() ? reg(AE_COARSE_INTEGRATION_TIME) : reg(COARSE_INTEGRATION_TIME);
    out.exposureClocks = std::max<double>(
        static_cast<double>(lines) * out.lineClocks + reg(FINE_INTEGRATION_TIME), 1);
    out.blankRows = std::max(static_cast<int>(reg(FRAME_LENGTH_LINES)) - out.outputHeight(), 0);
    // Colour gains in 32nds.
    out.gain[0] = reg(RED_GAIN) / 32.0;
    out.gain[1] = reg(GREEN1_GAIN) / 32.0;
    out.gain[2] = reg(GREEN2_GAIN) / 32.0;
    out.gain[3] = reg(BLUE_GAIN) / 32.0;
    return out;
}

}  // namespace usbcam
