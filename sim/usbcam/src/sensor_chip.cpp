#include "sensor_chip.h"

#include <mutex>

namespace usbcam {

namespace {
struct ChipTable {
    std::mutex mutex;
    std::map<int, SensorChipFactory> byType;
};

ChipTable& chipTable() {
    static ChipTable table;
    return table;
}
}  // namespace

bool RegisterBankChip::readRegister(uint16_t address, uint16_t* value) const {
    auto it = regs_.find(address);
    if (it == regs_.end()) {
        return false;
    }
    *value = it->second;
    return true;
}

bool RegisterBankChip::writeRegister(uint16_t address, uint16_t value) {
    auto it = regs_.find(address);
    if (it == regs_.end()) {
        return false;
    }
    it->second = value;
    afterWrite(address, value);
    return true;
}

std::vector<uint16_t> RegisterBankChip::registerAddresses() const {
    std::vector<uint16_t> out;
    out.reserve(regs_.size());
    for (const auto& entry : regs_) {
        out.push_back(entry.first);
    }
    return out;
}

uint16_t RegisterBankChip::reg(uint16_t address) const {
    auto it = regs_.find(address);
    return it == regs_.end() ? 0 : it->second;
}

SensorChipRegistrar::SensorChipRegistrar(std::initializer_list<int> deviceTypes,
                                         SensorChipFactory factory) {
    ChipTable& table = chipTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    for (int type : deviceTypes) {
        table.byType[type] = factory;
    }
}

std::unique_ptr<SensorChip> makeSensorChip(int deviceType) {
    ChipTable& table = chipTable();
    SensorChipFactory factory = nullptr;
    {
        std::lock_guard<std::mutex> lock(table.mutex);
        auto it = table.byType.find(deviceType);
        if (it != table.byType.end()) {
            factory = it->second;
        }
    }
    if (!factory) {
        return nullptr;
    }
    std::unique_ptr<SensorChip> chip = factory();
    chip->powerOn();
    return chip;
}

}  // namespace usbcam
