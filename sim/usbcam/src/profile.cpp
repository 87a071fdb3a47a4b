// Default profile of a simulated camera for a device type: the parts the
// model fixes (FPGA fitted, memory kind, pixel clock, colour) and neutral
// identity values.
#include <cstring>
#include <map>
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
    static const std::set<int> kLarge = {
        52,  53,  54,  55,  56,  57,  58,  59,  62,  63,  64,  65,  72,  73,  74,  86,  87,
        88,  89,  92,  93,  94,  95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106,
        107, 108, 109, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123};
    static const std::set<int> kMedium = {11, 17, 18, 27, 32, 39, 40, 41, 42, 46, 47, 48,
                                          49, 50, 51, 66, 67, 68, 76, 79, 80, 90, 91};
    if (kLarge.count(type)) {
        return 1;
    }
    return kMedium.count(type) ? 2 : 0;
}

// Pixel clocks of the models whose capability preset names one (the other
// models run at 48 MHz).
double presetPixelClock(int type) {
    static const std::map<int, double> kClock = {
        {17, 50.6},   {18, 50.6},   {25, 96.0},   {26, 96.0},  {27, 96.0},   {36, 27.0},
        {37, 27.0},   {46, 15.0},   {47, 15.0},   {48, 36.0},  {49, 36.0},   {50, 28.0},
        {51, 28.0},   {54, 160.0},  {55, 120.0},  {58, 57.0},  {59, 57.0},   {60, 27.0},
        {61, 27.0},   {62, 99.0},   {63, 99.0},   {64, 57.0},  {65, 57.0},   {74, 120.0},
        {79, 50.6},   {80, 50.6},   {90, 15.0},   {91, 15.0},  {108, 320.0}, {109, 320.0},
        {111, 400.0}, {112, 400.0}, {117, 600.0}, {118, 600.0}};
    const auto it = kClock.find(type);
    return it != kClock.end() ? it->second : 0.0;
}

double modelPixelClock(int type) {
    if (presetPixelClock(type) > 0.0) {
        return presetPixelClock(type);
    }
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
    out->onchip_engine = 1;
}
