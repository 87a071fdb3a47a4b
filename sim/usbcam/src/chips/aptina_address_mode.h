// Address-mode registers of the 2592 and 2048 families: bits 0-2 the skip
// code (0, 1, 2, 3, 7 for 1, 2, 3, 4, 8), bits 4-5 the bin code.
#pragma once

#include <cstdint>

namespace usbcam {

inline int addressModeSkip(uint16_t mode) {
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

inline int addressModeBin(uint16_t mode) {
    return ((mode >> 4) & 3) + 1;
}

}  // namespace usbcam
