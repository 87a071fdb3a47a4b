#include "register_family_chip.h"

namespace usbcam {

std::map<uint16_t, uint16_t> RegisterFamilyChip::withFamilyPowerOn(
    std::map<uint16_t, uint16_t> own) {
    own.insert({{VerticalBlank, 25},
                {FrameRestart, 0},
                {ShutterDelay, 0},
                {Green1Gain, 8},
                {BlueGain, 8},
                {RedGain, 8},
                {Green2Gain, 8}});
    return own;
}

void RegisterFamilyChip::afterWrite(uint16_t address, uint16_t value) {
    if (address == GlobalGain) {
        setReg(Green1Gain, value);
        setReg(BlueGain, value);
        setReg(RedGain, value);
        setReg(Green2Gain, value);
    } else if (address == FrameRestart) {
        setReg(FrameRestart, 0);
    }
}

void RegisterFamilyChip::decodeOrientation(SensorReadout& out) const {
    uint16_t mode2 = reg(ReadMode2);
    out.flip = (mode2 & 0x8000) != 0;
    out.mirror = (mode2 & 0x4000) != 0;
}

void RegisterFamilyChip::decodeAddressModes(SensorReadout& out) const {
    uint16_t rowMode = reg(RowAddressMode);
    uint16_t colMode = reg(ColumnAddressMode);
    out.colSkip = addressModeSkip(colMode);
    out.rowSkip = addressModeSkip(rowMode);
    out.colBin = addressModeBin(colMode);
    out.rowBin = addressModeBin(rowMode);
}

void RegisterFamilyChip::decodeGains(SensorReadout& out, double (*gainFactor)(uint16_t)) const {
    out.gain[0] = gainFactor(reg(RedGain));
    out.gain[1] = gainFactor(reg(Green1Gain));
    out.gain[2] = gainFactor(reg(Green2Gain));
    out.gain[3] = gainFactor(reg(BlueGain));
}

double familyAnalogueGain(uint16_t value) {
    return (value & 0x3F) / 8.0 * ((value & 0x40) ? 2.0 : 1.0);
}

double familyGainFactor(uint16_t value) {
    double digital = 1.0 + ((value >> 8) & 0x7F) / 8.0;
    return familyAnalogueGain(value) * digital;
}

int addressModeSkip(uint16_t mode) {
    switch (mode & 7) {
        case 1:
            return 2;
        case 2:
            return 3;
        case 3:
            return 4;
        case 7:
            return 8;
        default:
            return 1;
    }
}

int addressModeBin(uint16_t mode) {
    return ((mode >> 4) & 3) + 1;
}

}  // namespace usbcam
