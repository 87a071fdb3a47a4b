// The window both camera models are read through and the frame sizes it gives
// by resolution index: the gel/UV preview, capture and settings share it.
#pragma once

#include <QSize>

namespace ZdqFieldOfView {

constexpr int kColumnStart = 108;
constexpr int kRowStart = 87;

// Columns x rows of the window for a machine model: 1064 x 850 on the 320,
// 2592 x 1944 on the 520 and 550, 0 x 0 otherwise.
QSize window(int machineName);
// Addressing mode for columns and rows: resolution 0 -> 0, 1 -> 1, 2 -> 3,
// 3 -> 4. Any other index is the fatal message "Unknow ZdqPelion1MResolution."
// (model 0) or "Unknow ZdqPelion5MResolution." (other models).
int addressingMode(int machineName, int resolution);
// The frame the camera then delivers: the window divided by the step of the
// mode (1, 2, 4, 8), truncated; fatal as addressingMode.
QSize frameSize(int machineName, int resolution);
// Pixels stepped over per sample at a resolution index (1, 2, 4, 8); fatal as
// addressingMode.
int addressingStep(int machineName, int resolution);

}  // namespace ZdqFieldOfView
