// The strobe polarity and mode operations of CDevice and the combined strobe
// query, under the device's sensor lock. Of the sensor units the device runs,
// the MT9M001 switches its strobe on and off only (SensorFlashEnableSet): it
// has neither a polarity nor a mode, so every type answers RET_NOTSUPPORT to
// those and the combined query reports the enable state with that result.
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"

namespace {
using SensorGuard = std::lock_guard<plat::CriticalSection>;

template <typename T>
void ClearOut(T* pOut) {
    if (pOut != nullptr) {
        *pOut = T{};
    }
}
}  // namespace

int CDevice::SensorFlashInvertSet(bool /*bInvert*/) {
    return RET_NOTSUPPORT;
}

int CDevice::SensorFlashInvertGet(bool* pbInvert) {
    ClearOut(pbInvert);
    return RET_NOTSUPPORT;
}

int CDevice::SensorFlashSetMode(int /*nMode*/) {
    return RET_NOTSUPPORT;
}

int CDevice::SensorFlashGetMode(int* pMode) {
    ClearOut(pMode);
    return RET_NOTSUPPORT;
}

int CDevice::SensorFlashControlGet(bool* pbOn, bool* pbInvert, int* pMode) {
    // One lock over the three reads, so they describe one state.
    SensorGuard guard(m_SensorLock);
    ClearOut(pbOn);
    const int nEnable = SensorFlashEnableGet(pbOn);
    const int nInvert = SensorFlashInvertGet(pbInvert);
    const int nMode = SensorFlashGetMode(pMode);
    if (nEnable != RET_SUCCESS) {
        return nEnable;
    }
    return nInvert != RET_SUCCESS ? nInvert : nMode;
}
