#include "imx250_family_chip.h"

#include <algorithm>

namespace usbcam {

SensorReadout Imx250FamilyChip::readout() const {
    SensorReadout out;
    out.arrayWidth = width_;
    out.arrayHeight = height_;
    out.colStart = static_cast<int>(field(0x510, 2, 13));
    out.rowStart = static_cast<int>(field(0x512, 2, 12));
    out.width = static_cast<int>(field(0x514, 2, 13));
    out.height = static_cast<int>(field(0x516, 2, 12));
    out.flip = (reg(0x20E) & 0x01) != 0;
    out.mirror = (reg(0x20E) & 0x02) != 0;
    const uint32_t vmax = field(0x210, 3, 20);
    const long long lines = (static_cast<long long>(field(0x290, 2, 16)) + 1) * vmax -
                            static_cast<long long>(field(0x28D, 3, 20));
    out.lineClocks = std::max<uint32_t>(field(0x214, 2, 16), 1);
    out.exposureClocks = static_cast<double>(std::max<long long>(lines, 1)) * out.lineClocks;
    out.blankRows = std::max(static_cast<int>(vmax) - out.height, 0);
    const double gain = decibelTenthsGain(field(0x404, 2, 9));
    std::fill(std::begin(out.gain), std::end(out.gain), gain);
    return out;
}

std::map<uint16_t, uint16_t> Imx250FamilyChip::powerOnValues() const {
    const int vmax = height_ + frameOverhead_;
    const int shs = vmax - 100;
    const auto lo = [](int v) { return static_cast<uint16_t>(v & 0xFF); };
    const auto hi = [](int v) { return static_cast<uint16_t>((v >> 8) & 0xFF); };
    const uint16_t windowJunk = junkInWindowTops_ ? 0xE0 : 0x00;
    return {{0x20E, 0x00},
            {0x210, lo(vmax)},
            {0x211, hi(vmax)},
            {0x212, 0xF0},
            {0x214, lo(1000)},
            {0x215, hi(1000)},
            {0x226, 0x00},
            {0x229, 0x00},
            {0x26D, 0x00},
            {0x270, 0x00},
            {0x271, 0x00},
            {0x272, 0xF0},
            {0x274, 0x00},
            {0x275, 0x00},
            {0x276, 0xF0},
            {0x28D, lo(shs)},
            {0x28E, hi(shs)},
            {0x28F, 0xF0},
            {0x290, 0x00},
            {0x291, 0x00},
            {0x404, 0x00},
            {0x405, static_cast<uint16_t>(junkInWindowTops_ ? 0xFE : 0x00)},
            {0x454, 0xF0},
            {0x455, static_cast<uint16_t>(windowJunk)},
            {0x510, 0x00},
            {0x511, windowJunk},
            {0x512, 0x00},
            {0x513, static_cast<uint16_t>(junkInWindowTops_ ? 0xF0 : 0x00)},
            {0x514, lo(width_)},
            {0x515, static_cast<uint16_t>(hi(width_) | windowJunk)},
            {0x516, lo(height_)},
            {0x517, static_cast<uint16_t>(hi(height_) | (junkInWindowTops_ ? 0xF0 : 0x00))}};
}

}  // namespace usbcam
