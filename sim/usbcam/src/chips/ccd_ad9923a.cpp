// CCD cameras through an AD9923A analogue front end with timing generator.
// The CCD has no registers of its own; the camera's front-end registers
// (written by the AD9923A requests) set its exposure and gains:
//   register 99 bits 0-11: whole frames F of the exposure beyond the last;
//   register 100: where in the last frame the exposure starts, as a field S
//     in bits 12-23 counted from the frame's end, or, on the models whose
//     timing generator counts from the frame's start, as the plain line
//     number N - S;
//   exposure: (F + 1) x N - S lines of the model's line length;
//   register 5 bits 0-9: VGA gain (180 is the level the scene is made for),
//   register 4 bits 0-1: CDS gain, doubling the signal per step above 1.
// The window is the whole CCD.
#include <algorithm>
#include <memory>

#include "../sensor_chip.h"

namespace usbcam {
namespace {

class CcdAd9923a final : public RegisterBankChip {
  public:
    CcdAd9923a(int width, int height, int linesPerFrame, int clocksPerLine, bool startCounted)
        : width_(width),
          height_(height),
          linesPerFrame_(linesPerFrame),
          clocksPerLine_(clocksPerLine),
          startCounted_(startCounted) {}

    int adcBits() const override { return 12; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = out.width = width_;
        out.arrayHeight = out.height = height_;
        out.lineClocks = clocksPerLine_;
        out.blankRows = std::max(linesPerFrame_ - height_, 0);
        return out;
    }

    void applyFrontEnd(SensorReadout& out,
                       const std::map<uint16_t, uint32_t>& frontEnd) const override {
        const auto value = [&frontEnd](uint16_t reg) {
            const auto it = frontEnd.find(reg);
            return it != frontEnd.end() ? it->second : 0u;
        };
        const long long frames = value(99) & 0xFFF;
        const long long field = startCounted_ ? linesPerFrame_ - static_cast<long long>(value(100))
                                              : (value(100) >> 12) & 0xFFF;
        const long long lines = (frames + 1) * linesPerFrame_ - field;
        out.exposureClocks = std::max<double>(static_cast<double>(lines) * clocksPerLine_, 1);
        const double cds =
            (value(4) & 3) >= 1 ? static_cast<double>(1 << ((value(4) & 3) - 1)) : 0.5;
        std::fill(std::begin(out.gain), std::end(out.gain), (value(5) & 0x3FF) / 180.0 * cds);
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override { return {}; }

  private:
    const int width_;
    const int height_;
    const int linesPerFrame_;
    const int clocksPerLine_;
    const bool startCounted_;
};

// Models 46 to 49 count the shutter position from the frame's start.
const SensorChipRegistrar k1360Start({46, 47}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<CcdAd9923a>(1360, 1024, 1068, 1790, true);
});
const SensorChipRegistrar k1628Start({48, 49}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<CcdAd9923a>(1628, 1236, 1493, 1920, true);
});
const SensorChipRegistrar k1360({50, 51}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<CcdAd9923a>(1360, 1024, 1068, 1790, false);
});
const SensorChipRegistrar k1360Long({90, 91}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<CcdAd9923a>(1360, 1024, 2136, 1790, false);
});

}  // namespace
}  // namespace usbcam
