// MT9M031: 1280 x 960 sensor with an on-chip automatic exposure engine; the
// active array starts 2 columns and 4 rows into the window registers.
#include <memory>

#include "ar0130_type_chip.h"

namespace usbcam {
namespace {

const SensorChipRegistrar kRegistrar({62, 63, 79, 80}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Ar0130TypeChip>(2, 4);
});

}  // namespace
}  // namespace usbcam
