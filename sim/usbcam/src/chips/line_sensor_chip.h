// The segmented line sensors (device types 98-101): one or two lines of 2048
// or 4096 pixels a frame, read out in segments with their own registers.
#pragma once

#include "../sensor_chip.h"

namespace usbcam {

class LineSensorChip : public SensorChip {
  public:
    // Dark level of a segment: base - slope x its loaded black level,
    // limited to 0 .. 255; alwaysBright makes every sample 255.
    virtual void setDarkModel(int base, int slope, bool alwaysBright) = 0;
};

}  // namespace usbcam
