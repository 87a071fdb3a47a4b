// The framed commands of the multi-fluorescence dark room: its four light
// sources and its filter wheel.
#pragma once

#include <QList>

namespace FluorescenceCommand {
// Switches the red, green, blue and near-infrared sources.
constexpr int Light = 0xF3;
// Moves the filter wheel to one position.
constexpr int FilterWheel = 0xF1;
}  // namespace FluorescenceCommand

// The data bytes of the light frame that leaves only `lightType` (a
// Mult_LightType) lit, or all sources off for MultNoLight. Any other value is
// the fatal message "Unknow Mult_LightType.".
QList<int> multLightCommandData(int lightType);

// The data byte of the filter frame that moves the wheel to `filterType` (a
// FilterType). Any other value is the fatal message "Unknow FilterType.".
int filterCommandData(int filterType);
