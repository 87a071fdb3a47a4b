#include "flat_field_scene.h"

#include <algorithm>

namespace usbcam {

double FlatFieldScene::dark(int x, int y) const {
    return full * (4 + ((7 * x + 3 * y) & 7)) / 255.0;
}

double FlatFieldScene::vignetting(int x, int y) const {
    const double halfW = arrayWidth / 2.0;
    const double halfH = arrayHeight / 2.0;
    const double dx = (x - halfW) / halfW;
    const double dy = (y - halfH) / halfH;
    return 1.0 - 0.6 * (dx * dx + dy * dy) / 2.0;
}

uint32_t FlatFieldScene::sample(int x, int y) const {
    if (isHot(x, y)) {
        return static_cast<uint32_t>(full);
    }
    const double v = dark(x, y) + light * vignetting(x, y);
    return static_cast<uint32_t>(std::min(v, full));
}

}  // namespace usbcam
