#include "capability/CapabilityIni.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "capability/CapabilityKeyLists.h"
#include "capability/DeviceType.h"

namespace {

constexpr std::size_t kMaxSectionName = 63;
// The clock text is read into a buffer of 32 characters.
constexpr std::size_t kMaxClockText = 31;
constexpr std::string_view kPixClkKey = "fPixClkMHz";

std::string ModelName(std::int32_t deviceType) {
    std::string name;
    for (const wchar_t* p = DeviceTypeName(deviceType); *p != L'\0'; ++p) {
        name.push_back(*p < 0x80 ? static_cast<char>(*p) : '?');
    }
    return name;
}

std::string SectionName(std::int32_t deviceType, CapVersion version, const char* suffix) {
    char buffer[kMaxSectionName + 1];
    std::snprintf(buffer, sizeof buffer, "%s_%d.%d_%s", ModelName(deviceType).c_str(),
                  version.major, version.minor, suffix);
    return buffer;
}

// A decimal floating-point number at the start of the text (after blanks);
// 0 when the text does not start with one. Independent of the C locale.
float ParseClock(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    // from_chars takes a minus sign but not a plus sign.
    if (pos < text.size() && text[pos] == '+') {
        ++pos;
    }
    float value = 0.0f;
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc{}) {
        return 0.0f;
    }
    return value;
}

bool UsableClock(float mhz) {
    return std::isfinite(mhz) && mhz > 0.0f && std::isfinite(DeviceCapability::ClockPeriod(mhz));
}

void ReadField(DeviceCapability& cap, const plat::Ini& ini, std::string_view section,
               const CapField& field) {
    const int current = static_cast<int>(cap.Get(field));
    const int value = ini.ReadInt(section, field.key, current);
    cap.Set(field, static_cast<std::uint64_t>(static_cast<unsigned int>(value)));
}

template <typename List>
void ReadFields(DeviceCapability& cap, const plat::Ini& ini, std::string_view section,
                const List& fields) {
    for (const CapField* field : fields) {
        ReadField(cap, ini, section, *field);
    }
}

bool WriteField(const DeviceCapability& cap, const plat::Ini& ini, std::string_view section,
                const CapField& field) {
    return ini.WriteString(section, field.key, std::to_string(cap.Get(field)));
}

template <typename List>
bool WriteFields(const DeviceCapability& cap, const plat::Ini& ini, std::string_view section,
                 const List& fields) {
    bool ok = true;
    for (const CapField* field : fields) {
        ok = WriteField(cap, ini, section, *field) && ok;
    }
    return ok;
}

}  // namespace

std::string CapBaseSectionName(std::int32_t deviceType, CapVersion firmware) {
    return SectionName(deviceType, firmware, "CAP_BASE");
}

std::string CapFpgaSectionName(std::int32_t deviceType, CapVersion fpga) {
    return SectionName(deviceType, fpga, "CAP_FPGA");
}

std::string FormatPixClk(float pixClkMHz) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer,
                                      static_cast<double>(pixClkMHz), std::chars_format::fixed, 3);
    if (result.ec != std::errc{}) {
        return "0.000";
    }
    return std::string(buffer, result.ptr);
}

void ReadCapBaseFromIni(DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                        CapVersion firmware) {
    const std::string section = CapBaseSectionName(deviceType, firmware);

    const std::string defaultText = FormatPixClk(cap.fPixClkMHz);
    std::string text = ini.ReadString(section, kPixClkKey, defaultText);
    if (text.empty()) {
        text = defaultText;
    }
    text.resize(std::min(text.size(), kMaxClockText));
    const float clock = ParseClock(text);
    if (UsableClock(clock)) {
        cap.SetPixClk(clock);
    }

    ReadFields(cap, ini, section, capkeys::kSensorFlags);
    ReadFields(cap, ini, section, capkeys::kHardware);
    ReadFields(cap, ini, section, capkeys::kFirmware);
}

void ReadCapFpgaFromIni(DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                        CapVersion fpga) {
    const std::string section = CapFpgaSectionName(deviceType, fpga);
    ReadFields(cap, ini, section, capkeys::kFpgaTriggerModes);
    ReadField(cap, ini, section, FpgaCap::bmTriggerModeHighLowFixFramerate);
    ReadFields(cap, ini, section, capkeys::kFpgaFunctions);
    ReadField(cap, ini, section, SensorCap::bmResolution);
}

bool WriteCapBaseToIni(const DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                       CapVersion firmware) {
    const std::string section = CapBaseSectionName(deviceType, firmware);
    bool ok = ini.WriteString(section, kPixClkKey, FormatPixClk(cap.fPixClkMHz));
    ok = WriteFields(cap, ini, section, capkeys::kSensorFlags) && ok;
    ok = WriteFields(cap, ini, section, capkeys::kHardware) && ok;
    ok = WriteFields(cap, ini, section, capkeys::kFirmware) && ok;
    return ok;
}

bool WriteCapFpgaToIni(const DeviceCapability& cap, const plat::Ini& ini, std::int32_t deviceType,
                       CapVersion fpga) {
    const std::string section = CapFpgaSectionName(deviceType, fpga);
    bool ok = WriteFields(cap, ini, section, capkeys::kFpgaTriggerModes);
    ok = WriteField(cap, ini, section, FpgaCap::bmTriggerModeHighLowFixFramerate) && ok;
    ok = WriteFields(cap, ini, section, capkeys::kFpgaFunctions) && ok;
    ok = WriteField(cap, ini, section, SensorCap::bmResolution) && ok;
    return ok;
}
