// The operations of the sensor's own automatic exposure, under the device's
// sensor lock. None of the sensors served here (the MT9M001 and the 2592x1944
// and 2048x1536 families) has an automatic exposure of its own: every type
// answers RET_NOTSUPPORT.
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

int CDevice::SensorAECSetEnable(bool /*bEnable*/) {
    SensorGuard guard(m_SensorLock);
    return RET_NOTSUPPORT;
}

int CDevice::SensorAECGetEnable(bool* pbEnable) {
    SensorGuard guard(m_SensorLock);
    ClearOut(pbEnable);
    return RET_NOTSUPPORT;
}

int CDevice::SensorAECSetRange(uint16_t /*wMinLines*/, uint16_t /*wMaxLines*/) {
    SensorGuard guard(m_SensorLock);
    return RET_NOTSUPPORT;
}

int CDevice::SensorAECGetRange(uint16_t* /*pMinLines*/, uint16_t* /*pMaxLines*/) {
    SensorGuard guard(m_SensorLock);
    return RET_NOTSUPPORT;
}

int CDevice::SensorAECGetCur(uint16_t* /*pLines*/) {
    SensorGuard guard(m_SensorLock);
    return RET_NOTSUPPORT;
}

int CDevice::SensorAECSetTarget(int /*nTarget*/) {
    SensorGuard guard(m_SensorLock);
    return RET_NOTSUPPORT;
}
