#include "global_reset_chip.h"

#include <algorithm>

namespace usbcam {

void GlobalResetChip::decodeTiming(SensorReadout& out) const {
    const long long lines = (static_cast<long long>(field(0x0D, 2, 16)) + 1) * frameLines() -
                            static_cast<long long>(field(0x0B, 2, 16));
    out.lineClocks = lineClocks();
    out.exposureClocks = static_cast<double>(std::max<long long>(lines, 1)) * out.lineClocks;
    out.blankRows = std::max(frameLines() - out.outputHeight(), 0);
    out.flip = (reg(0x1A) & 0x01) != 0;
    const double gain = decibelTenthsGain(field(0x09, 2, 11));
    std::fill(std::begin(out.gain), std::end(out.gain), gain);
}

void GlobalResetChip::applyFpgaTiming(SensorReadout& out, const FpgaRegisters& fpga) const {
    const int frame = fpga.read(38);
    if (frame == 0) {
        return;
    }
    if (fpga.read(37) != 0) {
        out.lineClocks = fpga.read(37);
    }
    const bool triggered = (fpga.workingMode() & 0x1001) != 0;
    const long long lines =
        triggered
            ? static_cast<long long>(fpga.read(35)) | (static_cast<long long>(fpga.read(36)) << 16)
            : static_cast<long long>(frame) - static_cast<long long>(field(0x0B, 2, 16)) + 1;
    out.exposureClocks = static_cast<double>(std::max<long long>(lines, 1)) * out.lineClocks;
    out.blankRows = std::max(frame - out.outputHeight(), 0);
}

}  // namespace usbcam
