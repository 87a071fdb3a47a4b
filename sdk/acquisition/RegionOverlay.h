// Region overlays of the preview: the measured regions of automatic
// exposure, focus and white balance are shown darkened in the frames drawn.
#pragma once

#include <cstdint>

// Grey levels a pixel of a shown region loses.
constexpr int kRegionDarkening = 10;

// Darkens a region of a bottom-up frame of nWidth x nHeight pixels with
// nBitCount bits per pixel (8, 24 or 32; rows padded to 4 bytes): every
// colour byte of each pixel inside the region loses 10, down to 0 at most
// (the fourth byte of 32-bit pixels is kept). The region (x, y from the
// picture's top-left corner) is clipped to the frame: x into 0 .. width - 1,
// the width into 1 .. width and shortened to end at the right edge, the same
// for y and the height. Nothing outside the region changes; other bit counts
// leave the frame as it is.
void DarkenRegion(uint8_t* pData, int32_t nWidth, int32_t nHeight, int32_t nBitCount, int32_t x,
                  int32_t y, int32_t nRegionWidth, int32_t nRegionHeight);
