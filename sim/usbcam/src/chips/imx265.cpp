// IMX265: 2064 x 1544 CMOS sensor of the IMX250 register map; frames are
// 32 lines longer than the window.
#include "imx250_family_chip.h"

namespace usbcam {
namespace {

class Imx265 final : public Imx250FamilyChip {
  public:
    Imx265() : Imx250FamilyChip(2064, 1544, 32, false) {}
};

const SensorChipRegistrar kRegistrar({119, 120}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Imx265>();
});

}  // namespace
}  // namespace usbcam
