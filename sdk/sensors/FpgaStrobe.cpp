#include "sensors/FpgaStrobe.h"

#include "ZDQApi.h"
#include "common/OutParam.h"

namespace {
constexpr int kIoMode = 29;
constexpr uint16_t kStrobeOff = 0x0300;
constexpr uint16_t kStrobeInvert = 0x4000;
}  // namespace

int FpgaStrobeEnableSet(ISensorHost& host, const DeviceCapability& capability, bool bOn) {
    if (!capability.Has(SensorCap::bmFlashEnable)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wMode = host.FpgaShadow(kIoMode);
    return host.FpgaWrite(kIoMode,
                          static_cast<uint16_t>(bOn ? wMode & ~kStrobeOff : wMode | kStrobeOff));
}

int FpgaStrobeEnableGet(const ISensorHost& host, const DeviceCapability& capability, bool* pbOn) {
    if (!capability.Has(SensorCap::bmFlashEnable)) {
        return RET_NOTSUPPORT;
    }
    SetOut(pbOn, (host.FpgaShadow(kIoMode) & kStrobeOff) == 0);
    return RET_SUCCESS;
}

int FpgaStrobeInvertSet(ISensorHost& host, const DeviceCapability& capability, bool bInvert) {
    if (!capability.Has(SensorCap::bmFlashInvert)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wMode = host.FpgaShadow(kIoMode);
    return host.FpgaWrite(
        kIoMode, static_cast<uint16_t>(bInvert ? wMode | kStrobeInvert : wMode & ~kStrobeInvert));
}

int FpgaStrobeInvertGet(const ISensorHost& host, const DeviceCapability& capability,
                        bool* pbInvert) {
    if (!capability.Has(SensorCap::bmFlashInvert)) {
        return RET_NOTSUPPORT;
    }
    SetOut(pbInvert, (host.FpgaShadow(kIoMode) & kStrobeInvert) != 0);
    return RET_SUCCESS;
}
