#include "camera.h"

#include <algorithm>
#include <cstring>

namespace usbcam {

namespace {

constexpr uint16_t kUsbVendor = 0x04B4;
constexpr uint16_t kCameraProduct = 0x1003;
constexpr uint16_t kBootLoaderProduct = 0x8613;
constexpr uint16_t kCpuControlRegister = 0xE600;
constexpr size_t kJournalLimit = 65536;
constexpr int kFrameBufferFrames = 4;

// Requests whose data stage goes from host to device.
bool isOutRequest(uint8_t request) {
    switch (request) {
        case 0x27:
        case 0x29:
        case 0xA0:
        case 0xD3:
        case 0xD5:
        case 0xD7:
        case 0xDD:
        case 0xE9:
            return true;
        default:
            return false;
    }
}

uint32_t fpgaFramesValue(uint16_t reg8) {
    return reg8 == 0 ? 1 : reg8;
}

}  // namespace

Camera::Camera(const MlSimProfile& profile, std::unique_ptr<SensorChip> chip)
    : profile_(profile),
      chip_(std::move(chip)),
      fpga_(profile.fpga_version),
      eeprom_(profile.eeprom_kind),
      plugTime_(std::chrono::steady_clock::now()),
      lastFrame_(plugTime_) {
    for (size_t i = 0; i < gammaLut_.size(); ++i) {
        gammaLut_[i] = static_cast<uint16_t>(i);
        lut_[i] = static_cast<uint8_t>(i >> 4);
    }
}

void Camera::powerCycle() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (chip_) {
        chip_->powerOn();
    }
    fpga_.powerOn();
    ports_ = Ports();
    controllerRegs_.clear();
    sfrs_.clear();
    frontEnd_.clear();
    cpuReset_ = -1;
    streaming_ = false;
    triggeredFrames_ = 0;
    plugTime_ = std::chrono::steady_clock::now();
    lastFrame_ = plugTime_;
}

void Camera::descriptor(uint8_t out[18]) const {
    auto put16 = [out](int offset, uint16_t value) {
        out[offset] = static_cast<uint8_t>(value);
        out[offset + 1] = static_cast<uint8_t>(value >> 8);
    };
    std::memset(out, 0, 18);
    out[0] = 18;       // bLength
    out[1] = 1;        // device descriptor
    put16(2, 0x0200);  // USB 2.0
    out[4] = 0xFF;     // vendor-specific class and protocol
    out[6] = 0xFF;
    out[7] = 64;  // control packet size
    put16(8, kUsbVendor);
    put16(10, bootLoader() ? kBootLoaderProduct : kCameraProduct);
    put16(12, bootLoader() ? 0 : profile_.firmware_version);
    out[14] = bootLoader() ? 0 : 1;  // manufacturer and product strings
    out[15] = bootLoader() ? 0 : 2;
    out[17] = 1;  // one configuration
}

VendorOutcome Camera::vendorRequest(const SetupPacket& setup, uint8_t* data) {
    std::lock_guard<std::mutex> lock(mutex_);
    VendorOutcome outcome;
    MlSimJournalEntry entry{};
    entry.kind = MLSIM_JOURNAL_VENDOR;
    entry.code = 0x222000;
    entry.request_type = setup.requestType;
    entry.request = setup.request;
    entry.value = setup.value;
    entry.index = setup.index;
    entry.length = setup.length;
    const bool in = (setup.requestType & 0x80) != 0;
    // OUT data is journalled as it arrived, before the request may use it.
    std::vector<uint8_t> outData;
    if (!in && setup.length > 0) {
        outData.assign(data, data + std::min<uint32_t>(setup.length, sizeof(entry.data)));
    }

    FaultHit fault = faults_.next(MLSIM_FAULT_TRANSFER, MLSIM_FAULT_PENDING, setup.request);
    if (bootLoader() && setup.request != 0xA0) {
        // An unprogrammed controller answers only its built-in load request.
        outcome.kind = VendorOutcome::TransferFailed;
    } else if (cpuReset_ == 1 && setup.request != 0xA0) {
        outcome.kind = VendorOutcome::TransferFailed;  // CPU held in reset
    } else if (fault.kind == MLSIM_FAULT_TRANSFER) {
        outcome.kind = VendorOutcome::TransferFailed;
    } else if (fault.kind == MLSIM_FAULT_PENDING) {
        outcome.kind = VendorOutcome::Pending;
    } else if (fault.kind == MLSIM_FAULT_STATUS) {
        if (in && setup.length > 0) {
            data[0] = static_cast<uint8_t>(fault.param);
            outcome.transferred = setup.length;
        } else {
            outcome.kind = VendorOutcome::TransferFailed;  // nothing to carry a status
        }
    } else {
        outcome = execute(setup, data);
    }
    entry.faulted = fault.kind != 0 ? 1 : 0;
    if (in) {
        if (outcome.kind == VendorOutcome::Completed && outcome.transferred > 0) {
            if (setup.request != 0xD4) {
                entry.status = data[0];
            }
            appendJournalLocked(entry, data, outcome.transferred);
        } else {
            appendJournalLocked(entry, nullptr, 0);
        }
    } else {
        appendJournalLocked(entry, outData.data(), static_cast<uint32_t>(outData.size()));
    }
    return outcome;
}

VendorOutcome Camera::execute(const SetupPacket& setup, uint8_t* data) {
    VendorOutcome outcome;
    const bool in = (setup.requestType & 0x80) != 0;
    if (in == isOutRequest(setup.request)) {
        outcome.kind = VendorOutcome::TransferFailed;  // the firmware stalls the pipe
        return outcome;
    }
    auto reply = [&](std::initializer_list<uint8_t> bytes) {
        uint32_t n = std::min<uint32_t>(setup.length, static_cast<uint32_t>(bytes.size()));
        std::copy(bytes.begin(), bytes.begin() + n, data);
        outcome.transferred = n;
    };
    const bool hasFpga = profile_.has_fpga != 0;
    const uint32_t address32 = static_cast<uint32_t>(setup.value) << 16 | setup.index;
    switch (setup.request) {
        case 0x27:  // AD9923A front-end register: u16 address, u32 value
            if (setup.length >= 6) {
                uint16_t address = static_cast<uint16_t>(data[0] | data[1] << 8);
                uint32_t value = static_cast<uint32_t>(data[2]) | data[3] << 8 | data[4] << 16 |
                                 static_cast<uint32_t>(data[5]) << 24;
                frontEnd_[address] = value;
            }
            outcome.transferred = setup.length;
            break;
        case 0x29:  // FPGA reset
            if (hasFpga && (setup.index & 1)) {
                fpga_.powerOn();
            }
            break;
        case 0x2A: {  // FPGA read: status, value high, value low
            if (!hasFpga) {
                reply({1, 0, 0});
                break;
            }
            uint16_t v = fpga_.read(FpgaRegisters::registerForReadAddress(setup.value & 0xFF));
            reply({0, static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
            break;
        }
        case 0x2B: {  // FPGA write
            if (!hasFpga) {
                reply({1});
                break;
            }
            uint16_t reg = setup.value & 0xFF;
            if (reg == 0) {
                writeWorkingMode(setup.index, outcome);
            } else {
                fpga_.write(reg, setup.index);
            }
            reply({0});
            break;
        }
        case 0xA0:  // controller's built-in load request
            if (setup.value == kCpuControlRegister && setup.length >= 1) {
                int previous = cpuReset_;
                cpuReset_ = data[0] & 1;
                if (previous == 1 && cpuReset_ == 0) {
                    resetFirmware(outcome);  // the firmware starts again
                }
            }
            outcome.transferred = setup.length;
            break;
        case 0xC0:
            reply({0, controllerRegs_[setup.value]});
            break;
        case 0xC1:
            controllerRegs_[setup.value] = static_cast<uint8_t>(setup.index);
            reply({0});
            break;
        case 0xC2: {  // sensor read: status, value high, value low
            uint16_t v = 0;
            if (chip_ && chip_->readRegister(setup.value, &v)) {
                reply({0, static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
            } else {
                reply({1, 0, 0});
            }
            break;
        }
        case 0xC3:
            reply({static_cast<uint8_t>(
                chip_ && chip_->writeRegister(setup.value, setup.index) ? 0 : 1)});
            break;
        case 0xC4:
            reply({0, eeprom_.readByte(setup.value)});
            break;
        case 0xC5:
            eeprom_.writeByte(setup.value, static_cast<uint8_t>(setup.index));
            reply({0});
            break;
        case 0xC8:  // start frame; in the software trigger mode it releases one
            ++triggers_;
            outcome.releaseFrame = triggerModeLocked() == 2;
            reply({0});
            break;
        case 0xC9:
            reply({0, static_cast<uint8_t>(profile_.device_type),
                   static_cast<uint8_t>(profile_.serial),
                   static_cast<uint8_t>(profile_.firmware_version),
                   static_cast<uint8_t>(profile_.firmware_version >> 8)});
            break;
        case 0xCA: {  // special-function register: ports read their pins
            uint8_t v = 0;
            int port = portIndex(setup.value);
            int enable = outputEnableIndex(setup.value);
            if (port >= 0) {
                v = static_cast<uint8_t>((ports_.latch[port] & ports_.enable[port]) |
                                         (ports_.input[port] & ~ports_.enable[port]));
            } else if (enable >= 0) {
                v = ports_.enable[enable];
            } else {
                v = sfrs_[static_cast<uint8_t>(setup.value)];
            }
            reply({0, v});
            break;
        }
        case 0xCB: {
            uint8_t v = static_cast<uint8_t>(setup.index);
            int port = portIndex(setup.value);
            int enable = outputEnableIndex(setup.value);
            if (port >= 0) {
                ports_.latch[port] = v;
            } else if (enable >= 0) {
                ports_.enable[enable] = v;
            } else {
                sfrs_[static_cast<uint8_t>(setup.value)] = v;
            }
            reply({0});
            break;
        }
        case 0xCE:
            writeWorkingMode(setup.value, outcome);
            reply({0});
            break;
        case 0xCF: {
            uint16_t v = fpga_.workingMode();
            reply({0, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
            break;
        }
        case 0xD2:
            reply({0, eeprom_.readByte(address32)});
            break;
        case 0xD3:  // address as 4 big-endian data bytes, the byte in wIndex
            if (setup.length >= 4) {
                uint32_t address =
                    static_cast<uint32_t>(data[0]) << 24 | data[1] << 16 | data[2] << 8 | data[3];
                eeprom_.writeByte(address, static_cast<uint8_t>(setup.index));
            }
            outcome.transferred = setup.length;
            break;
        case 0xD4:
            if (!eeprom_.supportsBlocks()) {
                outcome.kind = VendorOutcome::TransferFailed;
                break;
            }
            eeprom_.readBlock(address32, data, setup.length);
            outcome.transferred = setup.length;
            break;
        case 0xD5:
            if (!eeprom_.supportsBlocks()) {
                outcome.kind = VendorOutcome::TransferFailed;
                break;
            }
            eeprom_.writePage(address32, data, setup.length);
            outcome.transferred = setup.length;
            break;
        case 0xD6:
            fpga_.write(3, setup.value);
            reply({0});
            break;
        case 0xD7:  // controller reboot
            resetFirmware(outcome);
            break;
        case 0xD8: {
            uint16_t v = fpga_.read(3);
            reply({0, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
            break;
        }
        case 0xDA:  // frame acknowledge
            reply({0});
            break;
        case 0xDB:  // device reset
        case 0xE8:  // reconnect
            resetFirmware(outcome);
            reply({0});
            break;
        case 0xDD:  // 8-bit LUT bytes at a byte offset
            if (!hasFpga) {
                outcome.kind = VendorOutcome::TransferFailed;
                break;
            }
            for (uint32_t i = 0; i < setup.length; ++i) {
                lut_[(setup.value + i) % lut_.size()] = data[i];
            }
            outcome.transferred = setup.length;
            break;
        case 0xE2:  // packet end
            outcome.endPendingRead = true;
            reply({0});
            break;
        case 0xE9:  // gamma LUT: 16-bit little-endian entries at an entry offset
            if (!hasFpga) {
                outcome.kind = VendorOutcome::TransferFailed;
                break;
            }
            for (uint32_t i = 0; i + 1 < setup.length; i += 2) {
                gammaLut_[(setup.value + i / 2) % gammaLut_.size()] =
                    static_cast<uint16_t>(data[i] | data[i + 1] << 8);
            }
            outcome.transferred = setup.length;
            break;
        case 0xEC:
            streaming_ = true;
            lastFrame_ = std::chrono::steady_clock::now();
            reply({0});
            break;
        case 0xED:
            streaming_ = false;
            reply({0});
            break;
        case 0xEE:
            reply({0, static_cast<uint8_t>(profile_.usb_state)});
            break;
        default:
            outcome.kind = VendorOutcome::TransferFailed;  // unknown request: stall
            break;
    }
    return outcome;
}

void Camera::writeWorkingMode(uint16_t value, VendorOutcome& outcome) {
    if (value & 0x0100) {
        // One-shot command: empty the frame buffer; never stored.
        triggeredFrames_ = 0;
        outcome.emptyFrameBuffer = true;
    }
    fpga_.write(0, static_cast<uint16_t>(value & ~0x0100));
}

void Camera::resetFirmware(VendorOutcome& outcome) {
    streaming_ = false;
    triggeredFrames_ = 0;
    outcome.abortReads = true;
    outcome.emptyFrameBuffer = true;
    if (profile_.reset_clears_registers) {
        if (chip_) {
            chip_->powerOn();
        }
        fpga_.powerOn();
    }
}

void Camera::portReset(bool wholePort) {
    std::lock_guard<std::mutex> lock(mutex_);
    triggeredFrames_ = 0;
    if (wholePort && profile_.reset_clears_registers) {
        if (chip_) {
            chip_->powerOn();
        }
        fpga_.powerOn();
    }
}

FaultHit Camera::nextFault(int firstKind, int lastKind, int key) {
    std::lock_guard<std::mutex> lock(mutex_);
    return faults_.next(firstKind, lastKind, key);
}

void Camera::addFault(const Fault& fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.add(fault);
}

void Camera::clearFaults() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

SensorReadout Camera::readoutLocked() const {
    return chip_ ? chip_->readout() : SensorReadout();
}

double Camera::exposureMsLocked(const SensorReadout& readout) const {
    return readout.exposureClocks / (profile_.pixel_clock_mhz * 1000.0);
}

double Camera::framePeriodMsLocked(const SensorReadout& readout, int frames) const {
    double readoutMs = (readout.outputHeight() + readout.blankRows) * readout.lineClocks /
                       (profile_.pixel_clock_mhz * 1000.0);
    return frames * std::max(exposureMsLocked(readout), readoutMs);
}

int Camera::triggerModeLocked() const {
    uint16_t mode = fpga_.workingMode();
    bool b0 = mode & 0x0001;
    bool b1 = mode & 0x0002;
    bool b12 = mode & 0x1000;
    if (b0 && b12) {
        return b1 ? 4 : 3;
    }
    if (b12) {
        return 2;
    }
    return b0 ? 1 : 0;
}

int Camera::framesPerTransferLocked() const {
    return static_cast<int>(fpgaFramesValue(fpga_.read(8)));
}

uint64_t Camera::microsSincePlug() const {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - plugTime_)
                                     .count());
}

// Output-enable registers of ports A, C, D and E.
int Camera::outputEnableIndex(int sfr) {
    switch (sfr) {
        case 0xB2:
            return 0;
        case 0xB4:
            return 1;
        case 0xB5:
            return 2;
        case 0xB6:
            return 3;
        default:
            return -1;
    }
}

int Camera::portIndex(int sfr) {
    switch (sfr) {
        case 0x80:
            return 0;
        case 0xA0:
            return 1;
        case 0xB0:
            return 2;
        case 0xB1:
            return 3;
        default:
            return -1;
    }
}

ReadPlan Camera::planRead() {
    std::lock_guard<std::mutex> lock(mutex_);
    ReadPlan plan;
    int mode = triggerModeLocked();
    plan.needsTrigger = mode == 1 || mode == 2;
    plan.timing = profile_.timing;
    plan.periodMs = framePeriodMsLocked(readoutLocked(), framesPerTransferLocked());
    return plan;
}

bool Camera::takeTriggeredFrame() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (triggeredFrames_ == 0) {
        return false;
    }
    --triggeredFrames_;
    return true;
}

void Camera::storeTriggeredFrame() {
    std::lock_guard<std::mutex> lock(mutex_);
    triggeredFrames_ = std::min(triggeredFrames_ + 1, kFrameBufferFrames);
}

std::chrono::steady_clock::time_point Camera::nextFrameDue(
    std::chrono::steady_clock::time_point now, double periodMs) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double, std::milli>(periodMs));
    // The sensor runs on; a frame is ready one period after the last one
    // sent, or at once when that is past (the frame buffer holds it).
    return std::max(now, lastFrame_ + period);
}

FrameSpec Camera::beginTransfer() {
    FrameSpec spec;
    int blur = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        spec.readout = readoutLocked();
        spec.frames = framesPerTransferLocked();
        uint16_t mode = fpga_.workingMode();
        spec.bytesPerSample = (mode & 0x0010) ? 2 : 1;
        spec.sensitivity = (mode >> 5) & 7;
        spec.lutOn = (mode & 0x0800) != 0;
        spec.gammaOn = (fpga_.read(33) & 1) != 0;
        spec.watermark = (fpga_.read(34) & 1) != 0;
        spec.adcBits = std::clamp(profile_.adc_bits, 8, 16);
        spec.content = profile_.content;
        spec.colour = profile_.colour != 0;
        spec.bayerPattern = profile_.bayer_pattern & 3;
        spec.exposureMs = exposureMsLocked(spec.readout);
        spec.lut = lut_;
        spec.gamma = gammaLut_;
        spec.firstFrameNumber = framesSent_;
        framesSent_ += static_cast<uint64_t>(spec.frames);
        spec.transferNumber = transfersSent_++;
        spec.timeUs = microsSincePlug();
        lastFrame_ = std::chrono::steady_clock::now();
        spec.triggers = triggers_;
        blur = blur_;
    }
    if (spec.content == MLSIM_CONTENT_SCENE) {
        spec.scene = scene_.get(spec.readout.arrayWidth, spec.readout.arrayHeight, blur);
    }
    return spec;
}

void Camera::frameInfo(MlSimFrameInfo* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    SensorReadout ro = readoutLocked();
    std::memset(out, 0, sizeof(*out));
    out->width = ro.outputWidth();
    out->height = ro.outputHeight();
    out->frames_per_transfer = framesPerTransferLocked();
    out->bytes_per_sample = (fpga_.workingMode() & 0x0010) ? 2 : 1;
    FrameSpec spec;
    spec.readout = ro;
    spec.frames = out->frames_per_transfer;
    spec.bytesPerSample = out->bytes_per_sample;
    out->transfer_bytes = spec.transferBytes();
    out->col_start = ro.colStart;
    out->row_start = ro.rowStart;
    out->window_width = ro.width;
    out->window_height = ro.height;
    out->col_skip = ro.colSkip;
    out->row_skip = ro.rowSkip;
    out->col_bin = ro.colBin;
    out->row_bin = ro.rowBin;
    out->flip = ro.flip ? 1 : 0;
    out->mirror = ro.mirror ? 1 : 0;
    out->exposure_ms = exposureMsLocked(ro);
    out->gain = ro.gain[1];
    out->frame_period_ms = framePeriodMsLocked(ro, out->frames_per_transfer);
    out->frames_sent = framesSent_;
    out->streaming = streaming_ ? 1 : 0;
    out->trigger_mode = triggerModeLocked();
}

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
    fpga_.write(reg, value);
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
