#include "capability/DeviceCapability.h"

void DeviceCapability::SetPixClk(float pixClkMHz) {
    fPixClkMHz = pixClkMHz;
    T = ClockPeriod(pixClkMHz);
}

std::uint64_t DeviceCapability::Get(const CapField& field) const {
    std::uint64_t word = 0;
    switch (field.word) {
        case CapWord::Fpga:
            word = FpgaCapability;
            break;
        case CapWord::Firmware:
            word = FirmwareCapability;
            break;
        case CapWord::Hardware:
            word = HardwareCapability;
            break;
        case CapWord::Sensor:
            word = SensorCapability;
            break;
    }
    return (word >> field.shift) & field.LowMask();
}

namespace {

template <typename Word>
void StoreField(Word& word, const CapField& field, std::uint64_t value) {
    const std::uint64_t stored =
        field.width == 1 ? (value != 0 ? 1 : 0) : (value & field.LowMask());
    const std::uint64_t updated = (std::uint64_t{word} & ~field.Mask()) | (stored << field.shift);
    word = static_cast<Word>(updated);
}

}  // namespace

void DeviceCapability::Set(const CapField& field, std::uint64_t value) {
    switch (field.word) {
        case CapWord::Fpga:
            StoreField(FpgaCapability, field, value);
            break;
        case CapWord::Firmware:
            StoreField(FirmwareCapability, field, value);
            break;
        case CapWord::Hardware:
            StoreField(HardwareCapability, field, value);
            break;
        case CapWord::Sensor:
            StoreField(SensorCapability, field, value);
            break;
    }
}
