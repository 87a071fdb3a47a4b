#include "camera.h"

#include "laser_scene.h"

#include <algorithm>
#include <cstring>

namespace usbcam {

namespace {

constexpr uint16_t kUsbVendor = 0x04B4;
constexpr uint16_t kCameraProduct = 0x1003;
constexpr uint16_t kBootLoaderProduct = 0x8613;
constexpr int kFrameBufferFrames = 4;

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
    if (chip_) {
        chip_->fitEngine(profile.onchip_engine != 0);
        chip_->powerOn();
        chip_->seedFpga(fpga_);
    }
    for (size_t i = 0; i < gammaLut_.size(); ++i) {
        gammaLut_[i] = static_cast<uint16_t>(i);
        lut_[i] = static_cast<uint8_t>(i >> 4);
    }
    if (profile.content == MLSIM_CONTENT_LASER) {
        seedLaserBlock(eeprom_);
    }
}

void Camera::powerCycle() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (chip_) {
        chip_->powerOn();
    }
    fpga_.powerOn();
    if (chip_) {
        chip_->seedFpga(fpga_);
    }
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

void Camera::portReset() {
    std::lock_guard<std::mutex> lock(mutex_);
    triggeredFrames_ = 0;
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
    if (!chip_) {
        return SensorReadout();
    }
    SensorReadout out = chip_->readout();
    chip_->applyFpgaTiming(out, fpga_);
    chip_->applyFrontEnd(out, frontEnd_);
    if (chip_->fpgaCropsOutput()) {
        // The FPGA passes on a window of what the chip sends: size in
        // registers 1 and 2, offset in 43 and 44, in output pixels; a size of
        // 0 passes everything.
        const auto crop = [](int& start, int& size, int skip, int offset, int want) {
            if (want <= 0 || skip <= 0) {
                return;
            }
            const int sent = size / skip;
            offset = std::min(offset, sent);
            start += offset * skip;
            size = std::min(want, sent - offset) * skip;
        };
        crop(out.colStart, out.width, out.colSkip, fpga_.read(43), fpga_.read(1));
        crop(out.rowStart, out.height, out.rowSkip, fpga_.read(44), fpga_.read(2));
    }
    return out;
}

double Camera::clockMHzLocked(const SensorReadout& readout) const {
    return readout.pixelClockMHz > 0 ? readout.pixelClockMHz : profile_.pixel_clock_mhz;
}

double Camera::exposureMsLocked(const SensorReadout& readout) const {
    return readout.exposureClocks / (clockMHzLocked(readout) * 1000.0);
}

double Camera::framePeriodMsLocked(const SensorReadout& readout, int frames) const {
    double readoutMs = (readout.outputHeight() + readout.blankRows) * readout.lineClocks /
                       (clockMHzLocked(readout) * 1000.0);
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
ReadPlan Camera::planRead() {
    std::lock_guard<std::mutex> lock(mutex_);
    ReadPlan plan;
    int mode = triggerModeLocked();
    if (startModeLocked()) {
        plan.release = ReadPlan::ByStart;
    } else if (mode == 1) {
        plan.release = ReadPlan::ByExternalTrigger;
    } else if (mode == 2) {
        plan.release = ReadPlan::BySoftwareTrigger;
    }
    plan.needsTrigger = plan.release != ReadPlan::Free;
    plan.timing = profile_.timing;
    plan.periodMs = framePeriodMsLocked(readoutLocked(), framesPerTransferLocked());
    if (mode == 3 || mode == 4) {
        plan.periodMs = std::max(plan.periodMs, fixedPeriodMsLocked());
    }
    plan.triggerDelayMs = fpga_.read(3) / 1000.0;
    return plan;
}

bool Camera::startModeLocked() const {
    return (fpga_.read(65) & 0xFF) != 0;
}

double Camera::fixedPeriodMsLocked() const {
    const uint32_t low = fpga_.read(28);
    switch (profile_.frame_rate_step) {
        case MLSIM_FRAME_STEP_132MHZ: {
            const uint32_t count = static_cast<uint32_t>(fpga_.read(69)) << 16 | low;
            return std::max<uint32_t>(count, 1) / 132000.0;
        }
        case MLSIM_FRAME_STEP_1US:
            return std::max<uint32_t>(low, 1) / 1000.0;
        default:
            return std::max<uint32_t>(low, 1) * 0.05;
    }
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
    FrameSpec layout;
    int blur = 0;
    std::shared_ptr<WorldFocus> world;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        layout.readout = readoutLocked();
        layout.frames = framesPerTransferLocked();
        for (int i = 0; chip_ && i < layout.frames; ++i) {
            chip_->onFrame();
        }
        uint16_t mode = fpga_.workingMode();
        layout.bytesPerSample = (mode & 0x0010) ? 2 : 1;
        layout.sensitivity = (mode >> 5) & 7;
        layout.lutOn = (mode & 0x0800) != 0;
        layout.gammaOn = (fpga_.read(33) & 1) != 0;
        layout.watermark = (fpga_.read(34) & 1) != 0;
        layout.adcBits = std::clamp(profile_.adc_bits, 8, 16);
        layout.content = profile_.content;
        layout.colour = profile_.colour != 0;
        layout.bayerPattern = profile_.bayer_pattern & 3;
        layout.exposureMs = exposureMsLocked(layout.readout);
        layout.lut = lut_;
        layout.gamma = gammaLut_;
        layout.firstFrameNumber = framesSent_;
        framesSent_ += static_cast<uint64_t>(layout.frames);
        layout.transferNumber = transfersSent_++;
        signals_ += 1 + signalsToSkip_;
        signalsToSkip_ = 0;
        layout.signal = signals_;
        layout.timeUs = microsSincePlug();
        lastFrame_ = std::chrono::steady_clock::now();
        layout.triggers = triggers_;
        layout.chipLevels = chip_ ? chip_->columnLevels() : nullptr;
        layout.colourStage = settleColourLocked(true);
        std::copy_n(illuminant_, 3, layout.illuminant);
        blur = blur_;
        world = world_;
    }
    if (world) {
        blur = world->blurRadius(blur);
    }
    if (layout.content == MLSIM_CONTENT_SCENE) {
        layout.scene = scene_.get(layout.readout.arrayWidth, layout.readout.arrayHeight, blur);
    }
    return layout;
}

void Camera::fpgaWriteLocked(uint16_t reg, uint16_t value) {
    fpga_.write(reg, value);
    if (reg == 9) {
        settleColourLocked(false);
    }
}

ColourStage Camera::settleColourLocked(bool bAutoStep) {
    if (!profile_.colour || !profile_.has_fpga) {
        return ColourStage{};
    }
    double means[3];
    contentMeans(profile_.content, illuminant_, means);
    return settleColourRegisters(fpga_, means, bAutoStep);
}

void Camera::frameInfo(MlSimFrameInfo* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    SensorReadout ro = readoutLocked();
    std::memset(out, 0, sizeof(*out));
    out->width = ro.outputWidth();
    out->height = ro.outputHeight();
    out->frames_per_transfer = framesPerTransferLocked();
    out->bytes_per_sample = (fpga_.workingMode() & 0x0010) ? 2 : 1;
    FrameSpec layout;
    layout.readout = ro;
    layout.frames = out->frames_per_transfer;
    layout.bytesPerSample = out->bytes_per_sample;
    out->transfer_bytes = layout.transferBytes();
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
    if (triggerModeLocked() >= 3) {
        out->frame_period_ms = std::max(out->frame_period_ms, fixedPeriodMsLocked());
    }
    out->frames_sent = framesSent_;
    out->streaming = streaming_ ? 1 : 0;
    out->trigger_mode = triggerModeLocked();
}

}  // namespace usbcam
