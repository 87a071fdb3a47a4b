// AR0130: 1280 x 960 sensor with an on-chip automatic exposure engine; the
// active array starts 0 columns and 2 rows into the window registers.
#include <memory>

#include "ar0130_type_chip.h"

namespace usbcam {
namespace {

const SensorChipRegistrar kRegistrar({17, 18}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Ar0130TypeChip>(0, 2);
});

}  // namespace
}  // namespace usbcam
