// The firmware's vendor requests: what the camera does with each request of
// its protocol, and its journal of them.
#include <algorithm>
#include <cstring>

#include "camera.h"

namespace usbcam {

namespace {

constexpr uint16_t kCpuControlRegister = 0xE600;

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

}  // namespace

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
    // A memory block request of no bytes never reaches the memory: the
    // firmware answers it with nothing to transfer, whatever is fitted.
    const bool bEmptyBlock = setup.length == 0 && (setup.request == 0xD4 || setup.request == 0xD5);
    if (in == isOutRequest(setup.request) || (!bEmptyBlock && !hasPartFor(setup.request))) {
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
                if (chip_) {
                    chip_->seedFpga(fpga_);
                }
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
            } else if (reg == 65) {
                writeCaptureMode(setup.index, outcome);
            } else {
                fpgaWriteLocked(reg, setup.index);
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
            outcome.releaseFrame = triggerModeLocked() == 2 && !startModeLocked();
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
            eeprom_.readBlock(address32, data, setup.length);
            outcome.transferred = setup.length;
            break;
        case 0xD5:
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

bool Camera::hasPartFor(uint8_t request) const {
    switch (request) {
        case 0xD4:  // EEPROM block read
        case 0xD5:  // EEPROM page write
            return eeprom_.supportsBlocks();
        case 0xDD:  // LUT loads go to the FPGA
        case 0xE9:
            return profile_.has_fpga != 0;
        default:
            return true;
    }
}

void Camera::writeWorkingMode(uint16_t value, VendorOutcome& outcome) {
    if (value & 0x0100) {
        // One-shot command: empty the frame buffer; never stored.
        triggeredFrames_ = 0;
        outcome.emptyFrameBuffer = true;
    }
    fpga_.write(0, static_cast<uint16_t>(value & ~0x0100));
}

void Camera::writeCaptureMode(uint16_t value, VendorOutcome& outcome) {
    // Bit 15 is the software start pulse; it is not stored.
    fpga_.write(65, static_cast<uint16_t>(value & 0x7FFF));
    outcome.releaseFrame = (value & 0x8000) != 0 && startModeLocked();
}

void Camera::resetFirmware(VendorOutcome& outcome) {
    streaming_ = false;
    triggeredFrames_ = 0;
    outcome.abortReads = true;
    outcome.emptyFrameBuffer = true;
}

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

}  // namespace usbcam
