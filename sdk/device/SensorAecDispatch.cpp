// The operations of the sensor's own automatic exposure, forwarded to the
// sensor unit under the device's sensor lock.
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

int CDevice::SensorAECSetEnable(bool bEnable) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECSetEnable(bEnable);
}

int CDevice::SensorAECGetEnable(bool* pbEnable) {
    SensorGuard guard(m_SensorLock);
    ClearOut(pbEnable);
    return m_pSensorUnit->AECGetEnable(pbEnable);
}

int CDevice::SensorAECSetRange(uint16_t wMinLines, uint16_t wMaxLines) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECSetRange(wMinLines, wMaxLines);
}

int CDevice::SensorAECGetRange(uint16_t* pMinLines, uint16_t* pMaxLines) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECGetRange(pMinLines, pMaxLines);
}

int CDevice::SensorAECGetCur(uint16_t* pLines) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECGetCur(pLines);
}

int CDevice::SensorAECSetTarget(int nTarget) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECSetTarget(nTarget);
}
