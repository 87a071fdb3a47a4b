// The capability sections of the SDK's ini file: two sections per camera
// model and version that override the presets value by value, and their
// write-back at close so that a user gets a complete section to edit.
//
//   "<model>_<firmware major>.<minor>_CAP_BASE": the pixel clock and the
//       sensor (bits 0-21), hardware and firmware words;
//   "<model>_<FPGA major>.<minor>_CAP_FPGA": the FPGA word and bmResolution.
//
// The file is the SDK's ini file (ZDQApi.ini beside the library), read and
// written with the private-profile rules of plat::Ini.
#pragma once

#include <cstdint>
#include <string>

#include "capability/CapabilityPresets.h"
#include "capability/DeviceCapability.h"
#include "platform/Ini.h"

// Section names (at most 63 characters).
std::string CapBaseSectionName(std::int32_t deviceType, CapVersion firmware);
std::string CapFpgaSectionName(std::int32_t deviceType, CapVersion fpga);

// Overrides every value of the section that the file holds; a missing key
// leaves its value unchanged. A one-bit key stores 1 for any non-zero value,
// a multi-bit key its value masked to the field's width. A pixel clock that
// is not a positive finite number (zero, negative, not a number) is ignored,
// so the clock period always stays finite.
void ReadCapBaseFromIni(DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                        CapVersion firmware);
void ReadCapFpgaFromIni(DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                        CapVersion fpga);

// Writes every key of the section in its order, creating file, section and
// keys as needed. A key that fails to write does not stop the others; the
// result is false when any key failed.
bool WriteCapBaseToIni(const DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                       CapVersion firmware);
bool WriteCapFpgaToIni(const DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                       CapVersion fpga);

// The pixel clock as the ini holds it: three decimals, "48.000".
std::string FormatPixClk(float pixClkMHz);
