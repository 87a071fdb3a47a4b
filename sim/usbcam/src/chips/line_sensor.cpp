// Segmented line sensors DR2K (2048 pixels) and DR4K (4096 pixels): 8-bit
// ADC, 8-bit register addresses. Segment s owns the registers s x 16 + 1 to
// s x 16 + 10 (1 control, 2 mode, 3 gain inverted, 4 black level, 5
// calibration, 6-10 analogue settings); 0x70 is the exposure in clocks,
// 0x71 the line period, 0x72 the trigger and calibration flags.
//
// A segment's writes take effect at its load strobe (its control register
// written with bit 0 set), which copies the segment's registers into the
// read-out. The segments are interleaved on the line: with two segments the
// even pixels are segment 0 and the odd ones segment 1; with four, the first
// half of the line holds segments 0 and 1 that way and the second half 2
// and 3. With no light on the sensor every pixel of a segment shows the
// segment's dark level.
#include <algorithm>
#include <array>
#include <map>
#include <memory>

#include "line_sensor_chip.h"

namespace usbcam {
namespace {

constexpr uint16_t kExposure = 0x70;
constexpr uint16_t kLinePeriod = 0x71;
constexpr uint16_t kFlags = 0x72;
constexpr int kRegistersPerSegment = 10;

class LineSensor final : public LineSensorChip {
  public:
    LineSensor(int width, int lines, int segments)
        : width_(width), lines_(lines), segments_(segments) {}

    int adcBits() const override { return 8; }

    void powerOn() override {
        regs_.clear();
        for (int s = 0; s < segments_; ++s) {
            const uint16_t values[kRegistersPerSegment] = {0x10, 0x00, 0xFF, 100,  0x00,
                                                           0x20, 0x40, 0x08, 0x7F, 0x00};
            for (int r = 0; r < kRegistersPerSegment; ++r) {
                regs_[static_cast<uint16_t>(s * 16 + 1 + r)] = values[r];
            }
            loaded_[static_cast<size_t>(s)] = 100;
        }
        regs_[kExposure] = 2000;
        regs_[kLinePeriod] = 2090;
        regs_[kFlags] = 0;
    }

    bool readRegister(uint16_t address, uint16_t* value) const override {
        auto it = regs_.find(address);
        if (it == regs_.end()) {
            return false;
        }
        *value = it->second;
        return true;
    }

    bool writeRegister(uint16_t address, uint16_t value) override {
        auto it = regs_.find(address);
        if (it == regs_.end()) {
            return false;
        }
        const bool global = address >= kExposure;
        it->second = global ? value : static_cast<uint16_t>(value & 0xFF);
        const int segment = address >> 4;
        if (!global && (address & 0x0F) == 1 && (value & 1) != 0) {
            loaded_[static_cast<size_t>(segment)] = regs_[static_cast<uint16_t>(segment * 16 + 4)];
        }
        return true;
    }

    std::vector<uint16_t> registerAddresses() const override {
        std::vector<uint16_t> out;
        for (const auto& entry : regs_) {
            out.push_back(entry.first);
        }
        return out;
    }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = out.width = width_;
        out.arrayHeight = out.height = lines_;
        out.lineClocks = std::max<uint16_t>(regs_.at(kLinePeriod), 1);
        out.exposureClocks = std::max<uint16_t>(regs_.at(kExposure), 1);
        return out;
    }

    std::shared_ptr<const std::vector<uint16_t>> columnLevels() const override {
        auto levels = std::make_shared<std::vector<uint16_t>>(static_cast<size_t>(width_));
        for (int c = 0; c < width_; ++c) {
            (*levels)[static_cast<size_t>(c)] =
                static_cast<uint16_t>(bright_ ? 255 : darkLevel(segmentOf(c)));
        }
        return levels;
    }

    void setDarkModel(int base, int slope, bool alwaysBright) override {
        base_ = base;
        slope_ = slope;
        bright_ = alwaysBright;
    }

  private:
    int segmentOf(int column) const {
        if (segments_ == 1) {
            return 0;
        }
        const int half = segments_ == 4 && column >= width_ / 2 ? 2 : 0;
        return half + (column & 1);
    }

    int darkLevel(int segment) const {
        const long long level =
            static_cast<long long>(base_) -
            static_cast<long long>(slope_) * loaded_[static_cast<size_t>(segment)];
        return static_cast<int>(std::clamp<long long>(level, 0, 255));
    }

    const int width_;
    const int lines_;
    const int segments_;
    std::map<uint16_t, uint16_t> regs_;
    std::array<uint16_t, 4> loaded_{};
    // The default model reaches the dark level 65 at black level 120.
    int base_ = 425;
    int slope_ = 3;
    bool bright_ = false;
};

const SensorChipRegistrar kDr2kTwoLines({98}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<LineSensor>(2048, 2, 2);
});
const SensorChipRegistrar kDr2kOneLine({99}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<LineSensor>(2048, 1, 1);
});
const SensorChipRegistrar kDr4kTwoLines({100}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<LineSensor>(4096, 2, 4);
});
const SensorChipRegistrar kDr4kOneLine({101}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<LineSensor>(4096, 1, 2);
});

}  // namespace
}  // namespace usbcam
