// The field-of-view check of the sensors whose window columns come in blocks
// (the SPI-style 1280 x 1024 unit) and of the CCD cameras, whose window is
// fixed (minimum = maximum, so every window clamps to it).
#pragma once

#include <cstdint>

#include "capability/DeviceCapability.h"
#include "sensors/SensorState.h"

// Aligns and clamps a field of view in place: RET_PARAMERROR when the column
// and row modes differ or lie outside 0 .. 4, RET_NOTSUPPORT for a mode the
// sensor lacks. The column start is rounded up to a multiple of 16 and the
// width to a multiple of 8; on a colour sensor the row start and height up
// to even; sizes clamp to the limits and starts into the largest window.
// pMultiFrames (may be null) is cut so one transfer stays within 16 MiB;
// b16BitData doubles the bytes per pixel.
int CheckColumnBlockFov(const DeviceCapability& capability, const RoiLimits& roi, int& nColStart,
                        int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                        uint16_t* pMultiFrames, bool b16BitData);
