// IMX287: 728 x 544 CMOS sensor of the IMX250 register map; frames are 42
// lines longer than the window.
#include "imx250_family_chip.h"

namespace usbcam {
namespace {

class Imx287 final : public Imx250FamilyChip {
  public:
    Imx287() : Imx250FamilyChip(728, 544, 42, true) {}
};

const SensorChipRegistrar kRegistrar({113, 114}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Imx287>();
});

}  // namespace
}  // namespace usbcam
