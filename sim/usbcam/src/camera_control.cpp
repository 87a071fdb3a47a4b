// Test control of a camera: content, timing, pins, registers, memory and the
// journal.
#include <algorithm>
#include <cstring>

#include "camera.h"
#include "chips/line_sensor_chip.h"

namespace usbcam {

namespace {
constexpr size_t kJournalLimit = 65536;
}  // namespace

void Camera::setContent(int content) {
    std::lock_guard<std::mutex> lock(mutex_);
    profile_.content = content;
}

void Camera::setTiming(int timing) {
    std::lock_guard<std::mutex> lock(mutex_);
    profile_.timing = timing;
}

void Camera::setBlur(int radius) {
    std::lock_guard<std::mutex> lock(mutex_);
    blur_ = std::clamp(radius, 0, 256);
}

void Camera::setIlluminant(const double rgb[3]) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::copy_n(rgb, 3, illuminant_);
}

void Camera::setWorldFocus(std::shared_ptr<WorldFocus> world) {
    std::lock_guard<std::mutex> lock(mutex_);
    world_ = std::move(world);
}

bool Camera::setPortInput(int sfr, uint8_t levels) {
    std::lock_guard<std::mutex> lock(mutex_);
    int port = portIndex(sfr);
    if (port < 0) {
        return false;
    }
    ports_.input[port] = levels;
    return true;
}

void Camera::setSnapButton(bool pressed) {
    std::lock_guard<std::mutex> lock(mutex_);
    int port = portIndex(profile_.snap_port);
    if (port >= 0) {
        uint8_t bit = static_cast<uint8_t>(1u << (profile_.snap_bit & 7));
        ports_.input[port] =
            static_cast<uint8_t>(pressed ? ports_.input[port] & ~bit : ports_.input[port] | bit);
    }
    fpga_.setInputLevel(pressed);
}

void Camera::setGpioInput(bool level) {
    std::lock_guard<std::mutex> lock(mutex_);
    fpga_.setInputLevel(level);
}

void Camera::setTriggerStatus(int bits) {
    std::lock_guard<std::mutex> lock(mutex_);
    fpga_.setTriggerStatus(bits);
}

void Camera::countExternalTrigger() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++triggers_;
}

void Camera::skipSignals(uint32_t count) {
    std::lock_guard<std::mutex> lock(mutex_);
    signalsToSkip_ += count;
}

bool Camera::setLineSensorDark(int base, int slope, bool alwaysBright) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto* line = dynamic_cast<LineSensorChip*>(chip_.get());
    if (line == nullptr) {
        return false;
    }
    line->setDarkModel(base, slope, alwaysBright);
    return true;
}

bool Camera::sensorRead(uint16_t address, uint16_t* value) {
    std::lock_guard<std::mutex> lock(mutex_);
    return chip_ && chip_->readRegister(address, value);
}

bool Camera::sensorWrite(uint16_t address, uint16_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    return chip_ && chip_->writeRegister(address, value);
}

std::vector<uint16_t> Camera::sensorRegisters() {
    std::lock_guard<std::mutex> lock(mutex_);
    return chip_ ? chip_->registerAddresses() : std::vector<uint16_t>();
}

uint16_t Camera::fpgaRead(uint16_t reg) {
    std::lock_guard<std::mutex> lock(mutex_);
    return fpga_.read(reg);
}

void Camera::fpgaWrite(uint16_t reg, uint16_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    fpgaWriteLocked(reg, value);
}

void Camera::eepromRead(uint32_t address, uint8_t* data, uint32_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    eeprom_.readBlock(address, data, length);
}

void Camera::eepromWrite(uint32_t address, const uint8_t* data, uint32_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (uint32_t i = 0; i < length; ++i) {
        eeprom_.writeByte(address + i, data[i]);
    }
}

void Camera::lutRead(uint8_t* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::copy(lut_.begin(), lut_.end(), out);
}

void Camera::gammaLutRead(uint16_t* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::copy(gammaLut_.begin(), gammaLut_.end(), out);
}

int Camera::cpuResetState() {
    std::lock_guard<std::mutex> lock(mutex_);
    return cpuReset_;
}

bool Camera::ad9923aRead(uint16_t address, uint32_t* value) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = frontEnd_.find(address);
    *value = it == frontEnd_.end() ? 0 : it->second;
    return true;
}

void Camera::journal(MlSimJournalEntry entry, const uint8_t* data, uint32_t length) {
    std::lock_guard<std::mutex> lock(mutex_);
    appendJournalLocked(entry, data, length);
}

void Camera::appendJournalLocked(MlSimJournalEntry entry, const uint8_t* data, uint32_t length) {
    entry.time_us = microsSincePlug();
    entry.data_length = std::min<uint32_t>(length, sizeof(entry.data));
    if (data && entry.data_length > 0) {
        std::memcpy(entry.data, data, entry.data_length);
    }
    journal_.push_back(entry);
    if (journal_.size() > kJournalLimit) {
        journal_.pop_front();
    }
}

uint32_t Camera::journalCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<uint32_t>(journal_.size());
}

bool Camera::journalGet(uint32_t i, MlSimJournalEntry* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i >= journal_.size()) {
        return false;
    }
    *out = journal_[i];
    return true;
}

void Camera::journalClear() {
    std::lock_guard<std::mutex> lock(mutex_);
    journal_.clear();
}

}  // namespace usbcam
