// Built-in capability presets of the camera models: the model preset (pixel
// clock, sensor, hardware and firmware words, refined by the firmware
// version) and the FPGA preset (FPGA word, refined by the FPGA version and for
// a few models by the firmware version).
#pragma once

#include <cstdint>

#include "capability/DeviceCapability.h"

// A firmware or FPGA version: major in the high byte, minor in the low byte
// of the camera's 16-bit version.
struct CapVersion {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;

    static constexpr CapVersion FromWord(std::uint16_t version) {
        return CapVersion{static_cast<std::uint8_t>(version >> 8),
                          static_cast<std::uint8_t>(version & 0xFF)};
    }
};

// Clears the four capability words, then applies the model preset of the
// type and its firmware rows. A type without a model preset keeps the words
// at 0 and runs at the default pixel clock of 48 MHz.
void SetModelCapability(DeviceCapability& cap, std::int32_t deviceType, CapVersion firmware);

// Applies the FPGA preset of the type: the FPGA word and, in some rows, the
// sensor word and the pixel clock. The FPGA word also receives every bit the
// type's sensor unit relies on. A type without an FPGA preset changes
// nothing.
void SetFpgaCapability(DeviceCapability& cap, std::int32_t deviceType, CapVersion firmware,
                       CapVersion fpga);
