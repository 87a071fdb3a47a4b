// The capability sections of the SDK's ini file: two sections per camera
// model and version that override the presets value by value, and their
// write-back at close so that a user gets a complete section to edit.
//
//   "<model>_<firmware major>.<minor>_CAP_BASE": the pixel clock and the
//       sensor (bits 0-21), hardware and firmware words;
//   "<model>_<FPGA major>.<minor>_CAP_FPGA": the FPGA word and bmResolution.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "CapabilityPresets.h"
#include "DeviceCapability.h"

// The ini file as the capability sections use it: values by section and key,
// with private-profile semantics (a missing file, section or key gives the
// default; an integer parse stops at the first non-digit).
class CapabilityIniStore {
  public:
    virtual ~CapabilityIniStore() = default;
    virtual int ReadInt(std::string_view section, std::string_view key, int defaultValue) const = 0;
    virtual std::string ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const = 0;
    // False when the file could not be written.
    virtual bool WriteString(std::string_view section, std::string_view key,
                             std::string_view value) const = 0;
};

// Section names (at most 63 characters).
std::string CapBaseSectionName(std::int32_t deviceType, CapVersion firmware);
std::string CapFpgaSectionName(std::int32_t deviceType, CapVersion fpga);

// Overrides every value of the section that the file holds; a missing key
// leaves its value unchanged. A one-bit key stores 1 for any non-zero value,
// a multi-bit key its value masked to the field's width. A pixel clock that
// is not a positive finite number (zero, negative, not a number) is ignored,
// so the clock period always stays finite.
void ReadCapBaseFromIni(DeviceCapability& cap, const CapabilityIniStore& ini,
                        std::int32_t deviceType, CapVersion firmware);
void ReadCapFpgaFromIni(DeviceCapability& cap, const CapabilityIniStore& ini,
                        std::int32_t deviceType, CapVersion fpga);

// Writes every key of the section in its order, creating file, section and
// keys as needed. A key that fails to write does not stop the others; the
// result is false when any key failed.
bool WriteCapBaseToIni(const DeviceCapability& cap, const CapabilityIniStore& ini,
                       std::int32_t deviceType, CapVersion firmware);
bool WriteCapFpgaToIni(const DeviceCapability& cap, const CapabilityIniStore& ini,
                       std::int32_t deviceType, CapVersion fpga);

// The pixel clock as the ini holds it: three decimals, "48.000".
std::string FormatPixClk(float pixClkMHz);
