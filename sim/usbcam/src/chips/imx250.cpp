// IMX250: 2464 x 2056 CMOS sensor of the IMX250 register map; frames are
// 38 lines longer than the window.
#include "imx250_family_chip.h"

namespace usbcam {
namespace {

class Imx250 final : public Imx250FamilyChip {
  public:
    Imx250() : Imx250FamilyChip(2464, 2056, 38, true) {}
};

const SensorChipRegistrar kRegistrar({94, 95, 104, 105}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Imx250>();
});

}  // namespace
}  // namespace usbcam
