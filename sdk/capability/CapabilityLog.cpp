#include "capability/CapabilityLog.h"

#include <algorithm>

#include "capability/CapabilityKeyLists.h"

namespace {

// The value of a field line stands after this many characters; the longest
// key of each block is followed by one blank.
constexpr std::size_t kSensorHardwareColumn = 39;
constexpr std::size_t kFpgaColumn = 37;

// The hardware block lists bmOPT2 before the snap-button bits.
constexpr const CapField* kHardwareDumpOrder[] = {
    &HardwareCap::bmIo,         &HardwareCap::bmPD0_7,   &HardwareCap::bmPD2_3,
    &HardwareCap::bmPD0_3,      &HardwareCap::bmPE0_3,   &HardwareCap::bmPD2_5,
    &HardwareCap::bmPD2_7,      &HardwareCap::bmPD6,     &HardwareCap::bmOPT2,
    &HardwareCap::bmSnapIo0,    &HardwareCap::bmSnapPC2, &HardwareCap::bmSnapPA1,
    &HardwareCap::bmHasFpga,    &HardwareCap::bmHasFifo, &HardwareCap::bmHasTmp101,
    &HardwareCap::bmE2PRomType,
};

std::wstring FieldLine(const DeviceCapability& cap, const CapField& field, std::size_t column) {
    std::wstring line = L"ZDQAPI::";
    for (const char* p = field.key; *p != '\0'; ++p) {
        line.push_back(static_cast<wchar_t>(*p));
    }
    line.push_back(L':');
    line.resize(std::max(column, line.size() + 1), L' ');
    line += std::to_wstring(cap.Get(field));
    return line;
}

template <typename List>
void AddFields(std::vector<std::wstring>& lines, const DeviceCapability& cap, const List& fields,
               std::size_t column) {
    for (const CapField* field : fields) {
        lines.push_back(FieldLine(cap, *field, column));
    }
}

}  // namespace

std::vector<std::wstring> CapabilityDumpLines(const DeviceCapability& cap) {
    std::vector<std::wstring> lines;
    lines.push_back(L"ZDQAPI::++++Sensor Capability++++.");
    AddFields(lines, cap, capkeys::kSensorFlags, kSensorHardwareColumn);
    lines.push_back(FieldLine(cap, SensorCap::bmResolution, kSensorHardwareColumn));
    lines.push_back(L"ZDQAPI::----Sensor Capability----.");

    lines.push_back(L"ZDQAPI::++++Hardware Capability++++.");
    AddFields(lines, cap, kHardwareDumpOrder, kSensorHardwareColumn);
    lines.push_back(L"ZDQAPI::----Hardware Capability----.");

    lines.push_back(L"ZDQAPI::++++Fpga Capability++++.");
    AddFields(lines, cap, capkeys::kFpgaTriggerModes, kFpgaColumn);
    AddFields(lines, cap, capkeys::kFpgaFunctions, kFpgaColumn);
    lines.push_back(L"ZDQAPI::----Fpga Capability----.");
    return lines;
}
