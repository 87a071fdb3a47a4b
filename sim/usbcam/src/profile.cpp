// Default profile of a simulated camera for a device type: the parts the
// model fixes (FPGA fitted, memory kind, pixel clock, colour) and neutral
// identity values.
#include <cstring>
#include <set>

#include "mlusbimager_control.h"
#include "sensor_chip.h"

namespace {

// Models built without an FPGA between sensor and USB controller.
bool modelHasFpga(int type) {
    static const std::set<int> kWithout = {0, 1, 3, 7, 8, 9, 10, 33, 34, 35, 76};
    return kWithout.count(type) == 0;
}

// Memory fitted: kind 1 (256 KiB) and kind 2 (16 KiB) on the models that
// carry them, the small 8 KiB memory elsewhere.
int modelEepromKind(int type) {
    static const std::set<int> kLarge = {52, 53, 72, 73};
    static const std::set<int> kMedium = {11, 32, 39, 40, 41, 42, 66, 67, 68, 76};
    if (kLarge.count(type)) {
        return 1;
    }
    return kMedium.count(type) ? 2 : 0;
}

double modelPixelClock(int type) {
    static const std::set<int> k96 = {52, 53, 72, 73, 96, 97, 122};
    static const std::set<int> k99 = {86,  87,  92,  93,  94,  95,  104, 105,
                                      106, 107, 113, 114, 119, 120, 121};
    if (k96.count(type)) {
        return 96.0;
    }
    if (k99.count(type)) {
        return 99.0;
    }
    if (type == 88 || type == 89) {
        return 74.25;
    }
    if (type >= 98 && type <= 101) {
        return 80.0;
    }
    if (type == 102 || type == 103 || type == 123) {
        return 72.0;
    }
    return type == 115 || type == 116 ? 148.5 : 48.0;
}

// Colour models of the simulated chips and the Bayer colour at the array's
// first pixel.
bool modelColour(int type, int* pattern) {
    static const std::set<int> kRggb = {0,  4,   33,  66,  86,  88,  92, 94,
                                        96, 102, 104, 106, 113, 115, 119};
    static const std::set<int> kGrbg = {3, 7, 35, 40, 68, 8, 10, 41, 52, 72};
    if (kRggb.count(type)) {
        *pattern = MLSIM_BAYER_RGGB;
        return true;
    }
    if (kGrbg.count(type)) {
        *pattern = MLSIM_BAYER_GRBG;
        return true;
    }
    *pattern = MLSIM_BAYER_RGGB;
    return false;
}

}  // namespace

extern "C" MLSIM_API void mlsim_profile_default(int32_t device_type, MlSimProfile* out) {
    if (!out) {
        return;
    }
    std::memset(out, 0, sizeof(*out));
    out->device_type = device_type;
    out->serial = 1;
    out->firmware_version = 0x0100;
    out->fpga_version = 0x0100;
    out->has_fpga = modelHasFpga(device_type) ? 1 : 0;
    out->driver_version = 0x08000000;
    int pattern = MLSIM_BAYER_RGGB;
    out->colour = modelColour(device_type, &pattern) ? 1 : 0;
    out->bayer_pattern = pattern;
    std::unique_ptr<usbcam::SensorChip> chip = usbcam::makeSensorChip(device_type);
    out->adc_bits = chip ? chip->adcBits() : 8;
    out->pixel_clock_mhz = modelPixelClock(device_type);
    out->eeprom_kind = modelEepromKind(device_type);
    out->boot_loader = device_type == 85 ? 1 : 0;
    out->content = MLSIM_CONTENT_PATTERN;
    out->timing = MLSIM_TIMING_INSTANT;
    out->usb_state = 1;
    out->snap_port = 0xA0;
    out->snap_bit = 2;
    out->frame_rate_step = MLSIM_FRAME_STEP_50US;
}
