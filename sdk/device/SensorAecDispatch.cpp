// The operations of the sensor's own automatic exposure and gain, its ADC's
// companding and a CCD's front-end gains, forwarded to the sensor unit under
// the device's sensor lock.
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

int CDevice::SensorAECGetTarget(int* pTarget) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECGetTarget(pTarget);
}

int CDevice::SensorAECSetWindow(int x, int y, int nWidth, int nHeight) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECSetWindow(x, y, nWidth, nHeight);
}

int CDevice::SensorAECGetWindow(int* x, int* y, int* pWidth, int* pHeight) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AECGetWindow(x, y, pWidth, pHeight);
}

int CDevice::SensorAGCSetEnable(bool bEnable) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AGCSetEnable(bEnable);
}

int CDevice::SensorAGCGetEnable(bool* pbEnable) {
    SensorGuard guard(m_SensorLock);
    ClearOut(pbEnable);
    return m_pSensorUnit->AGCGetEnable(pbEnable);
}

int CDevice::SensorAGCSetMax(uint16_t wMaxStep) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AGCSetMax(wMaxStep);
}

int CDevice::SensorAGCGetMax(uint16_t* pMaxStep) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AGCGetMax(pMaxStep);
}

int CDevice::SensorAGCGetCur(uint16_t* pStep) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->AGCGetCur(pStep);
}

int CDevice::SensorSetCompanding(bool bOn) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->SetCompanding(bOn);
}

int CDevice::SensorGetCompanding(int* pbOn) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->GetCompanding(pbOn);
}

int CDevice::SensorGetFrontEndRange(CSensorUnit::FrontEnd which, int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->GetFrontEndRange(which, pMin, pMax);
}

int CDevice::SensorSetFrontEnd(CSensorUnit::FrontEnd which, int nValue) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->SetFrontEnd(which, nValue);
}

int CDevice::SensorGetFrontEnd(CSensorUnit::FrontEnd which, int* pValue) {
    SensorGuard guard(m_SensorLock);
    return m_pSensorUnit->GetFrontEnd(which, pValue);
}
