// The test camera: no sensor registers; its FPGA sends frames of the size it
// reports at read addresses 129 and 130 (registers 1 and 2), 1024 x 768 at
// power-on.
#include <memory>

#include "../sensor_chip.h"

namespace usbcam {
namespace {

class TestCamChip final : public RegisterBankChip {
  public:
    int adcBits() const override { return 8; }

    SensorReadout readout() const override { return SensorReadout(); }

    void applyFpgaTiming(SensorReadout& out, const FpgaRegisters& fpga) const override {
        out.arrayWidth = out.width = fpga.read(1);
        out.arrayHeight = out.height = fpga.read(2);
        out.lineClocks = out.width > 0 ? out.width : 1;
        out.exposureClocks = out.lineClocks * (out.height > 0 ? out.height : 1);
    }

    void seedFpga(FpgaRegisters& fpga) const override {
        fpga.write(1, 1024);
        fpga.write(2, 768);
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override { return {}; }
};

const SensorChipRegistrar kRegistrar({110}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<TestCamChip>();
});

}  // namespace
}  // namespace usbcam
