// The flat-field scene: an evenly lit target seen through a lens that
// vignettes, over a fixed dark pattern, with hot pixels. Defined on the
// chip's array (see MLSIM_CONTENT_FLAT_FIELD in mlusbimager_control.h).
#pragma once

#include <cstdint>

namespace usbcam {

struct FlatFieldScene {
    int arrayWidth = 1;
    int arrayHeight = 1;
    double full = 255;  // largest ADC sample
    double light = 0;   // light level at the centre, in samples

    static bool isHot(int x, int y) { return x % 97 == 13 && y % 89 == 7; }
    // Dark level of an array pixel, in samples.
    double dark(int x, int y) const;
    // Relative illumination: 1 at the centre, 0.4 in the corners.
    double vignetting(int x, int y) const;
    uint32_t sample(int x, int y) const;
};

}  // namespace usbcam
