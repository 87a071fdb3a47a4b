// The register map the IMX250, IMX265 and IMX287 chips share: HMAX at
// 0x214, a 20-bit frame length VMAX at 0x210 and shutter line SHS at 0x28D,
// VIRTUAL_SVS extra frames at 0x290 (exposure (VIRTUAL_SVS + 1) x VMAX - SHS
// lines of HMAX clocks), gain at 0x404 (0.1 dB steps), the window at
// 0x510-0x517 (13-bit columns, 12-bit rows) and flip and mirror in 0x20E.
#pragma once

#include <map>

#include "byte_register_chip.h"

namespace usbcam {

class Imx250FamilyChip : public ByteRegisterChip {
  public:
    int adcBits() const override { return 12; }
    SensorReadout readout() const override;

  protected:
    // The full frame of width x height with frame overhead lines, 100 lines
    // of 1000 clocks. Unused bits of the 20-bit quantities' top registers
    // read set, and with junkInWindowTops those of the window, gain and
    // black level too.
    Imx250FamilyChip(int width, int height, int frameOverhead, bool junkInWindowTops)
        : width_(width),
          height_(height),
          frameOverhead_(frameOverhead),
          junkInWindowTops_(junkInWindowTops) {}
    std::map<uint16_t, uint16_t> powerOnValues() const override;

  private:
    int width_, height_, frameOverhead_;
    bool junkInWindowTops_;
};

}  // namespace usbcam
