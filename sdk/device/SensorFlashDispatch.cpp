// The strobe polarity and mode operations of CDevice and the combined strobe
// query, under the device's sensor lock. The MT9M001 switches its strobe on
// and off only (SensorFlashEnableSet): it has neither a polarity nor a mode and
// answers RET_NOTSUPPORT to those, and the combined query reports its enable
// state with that result. The 2592x1944 family keeps polarity and mode in
// ReadMode1 beside the enable bit.
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"

namespace {

template <typename T>
void ClearOut(T* pOut) {
    if (pOut != nullptr) {
        *pOut = T{};
    }
}
}  // namespace

int CDevice::SensorFlashInvertSet(bool bInvert) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetStrobeInvert(bInvert);
}

int CDevice::SensorFlashInvertGet(bool* pbInvert) {
    plat::CriticalSectionLock guard(m_SensorLock);
    ClearOut(pbInvert);
    return m_pSensorUnit->GetStrobeInvert(pbInvert);
}

int CDevice::SensorFlashSetMode(int nMode) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetStrobeMode(nMode);
}

int CDevice::SensorFlashGetMode(int* pMode) {
    plat::CriticalSectionLock guard(m_SensorLock);
    ClearOut(pMode);
    return m_pSensorUnit->GetStrobeMode(pMode);
}

int CDevice::SensorFlashControlGet(bool* pbOn, bool* pbInvert, int* pMode) {
    // One lock over the three reads, so they describe one state.
    plat::CriticalSectionLock guard(m_SensorLock);
    ClearOut(pbOn);
    const int nEnable = SensorFlashEnableGet(pbOn);
    const int nInvert = SensorFlashInvertGet(pbInvert);
    const int nMode = SensorFlashGetMode(pMode);
    if (nEnable != RET_SUCCESS) {
        return nEnable;
    }
    return nInvert != RET_SUCCESS ? nInvert : nMode;
}
