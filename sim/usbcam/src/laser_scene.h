// The laser-profile camera's scene: a laser line over a height profile that
// moves with every trigger signal, and the 3D parameter block its memory
// holds from the factory.
#pragma once

#include <cstdint>

#include "eeprom.h"

namespace usbcam {

// Level of the pixels away from the line.
constexpr uint8_t kLaserBackground = 8;

// Array row of the laser line's centre at array column x for signal s.
int laserLineRow(int x, uint32_t signal);
// Sample of array pixel (x, y) for signal s (8-bit level).
uint8_t laserSample(int x, int y, uint32_t signal);
// Writes the 3D block at its address, where the memory has room for it.
void seedLaserBlock(Eeprom& eeprom);

}  // namespace usbcam
