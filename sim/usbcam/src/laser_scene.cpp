#include "laser_scene.h"

#include <cstdlib>
#include <cstring>

#include "laser3d_control.h"

namespace usbcam {

namespace {
constexpr uint32_t kBlockAddress = 0x3F900;
constexpr int kLineBase = 40;
constexpr int kLineSpan = 64;
constexpr int kColumnsPerStep = 8;
constexpr uint8_t kCentre = 250, kFlank = 120;

void putI32(uint8_t* p, int32_t v) {
    std::memcpy(p, &v, sizeof v);
}
void putF32(uint8_t* p, float v) {
    std::memcpy(p, &v, sizeof v);
}
}  // namespace

int laserLineRow(int x, uint32_t signal) {
    return kLineBase +
           static_cast<int>((static_cast<uint32_t>(x / kColumnsPerStep) + signal) % kLineSpan);
}

uint8_t laserSample(int x, int y, uint32_t signal) {
    const int d = std::abs(y - laserLineRow(x, signal));
    return d == 0 ? kCentre : d == 1 ? kFlank : kLaserBackground;
}

void seedLaserBlock(Eeprom& eeprom) {
    if (eeprom.size() < kBlockAddress + LASER3D_BLOCK_BYTES) {
        return;
    }
    uint8_t block[LASER3D_BLOCK_BYTES] = {};
    block[0] = LASER3D_MAGIC;
    putI32(block + LASER3D_AT_COLUMN, 256);
    putI32(block + LASER3D_AT_ROW, 0);
    putI32(block + LASER3D_AT_WIDTH, 2048);
    putI32(block + LASER3D_AT_HEIGHT, 256);
    block[LASER3D_AT_FLIP] = 0;
    putF32(block + LASER3D_AT_Z0, 0.0f);
    putF32(block + LASER3D_AT_Z_PER_ROW, 0.05f);
    const float range[4] = {0.0f, 2048.0f, 0.0f, 12.8f};
    for (int i = 0; i < 4; ++i) {
        putF32(block + LASER3D_AT_RANGE + 4 * i, range[i]);
    }
    for (uint32_t i = 0; i < LASER3D_BLOCK_BYTES; ++i) {
        eeprom.writeByte(kBlockAddress + i, block[i]);
    }
}

}  // namespace usbcam
