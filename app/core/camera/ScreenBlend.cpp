#include "camera/ScreenBlend.h"

void screenBlend(uint8_t* accumulated, const uint8_t* fresh, size_t count) {
    for (size_t j = 0; j < count; ++j) {
        const double value =
            (1.0 - (1.0 - fresh[j] / 255.0) * (1.0 - accumulated[j] / 255.0)) * 255.0;
        accumulated[j] = static_cast<uint8_t>(static_cast<int>(value));
    }
}
