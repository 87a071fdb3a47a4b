// The operations of the sensor's own automatic exposure and gain, its ADC's
// companding and a CCD's front-end gains, forwarded to the sensor unit under
// the device's sensor lock.
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

int CDevice::SensorAECSetEnable(bool bEnable) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECSetEnable(bEnable);
}

int CDevice::SensorAECGetEnable(bool* pbEnable) {
    plat::CriticalSectionLock guard(m_SensorLock);
    ClearOut(pbEnable);
    return m_pSensorUnit->AECGetEnable(pbEnable);
}

int CDevice::SensorAECSetRange(uint16_t wMinLines, uint16_t wMaxLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECSetRange(wMinLines, wMaxLines);
}

int CDevice::SensorAECGetRange(uint16_t* pMinLines, uint16_t* pMaxLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECGetRange(pMinLines, pMaxLines);
}

int CDevice::SensorAECGetCur(uint16_t* pLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECGetCur(pLines);
}

int CDevice::SensorAECSetTarget(int nTarget) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECSetTarget(nTarget);
}

int CDevice::SensorAECGetTarget(int* pTarget) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECGetTarget(pTarget);
}

int CDevice::SensorAECSetWindow(int x, int y, int nWidth, int nHeight) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECSetWindow(x, y, nWidth, nHeight);
}

int CDevice::SensorAECGetWindow(int* x, int* y, int* pWidth, int* pHeight) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AECGetWindow(x, y, pWidth, pHeight);
}

int CDevice::SensorAGCSetEnable(bool bEnable) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AGCSetEnable(bEnable);
}

int CDevice::SensorAGCGetEnable(bool* pbEnable) {
    plat::CriticalSectionLock guard(m_SensorLock);
    ClearOut(pbEnable);
    return m_pSensorUnit->AGCGetEnable(pbEnable);
}

int CDevice::SensorAGCSetMax(uint16_t wMaxStep) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AGCSetMax(wMaxStep);
}

int CDevice::SensorAGCGetMax(uint16_t* pMaxStep) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AGCGetMax(pMaxStep);
}

int CDevice::SensorAGCGetCur(uint16_t* pStep) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->AGCGetCur(pStep);
}

int CDevice::SensorSetCompanding(bool bOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetCompanding(bOn);
}

int CDevice::SensorGetCompanding(int* pbOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetCompanding(pbOn);
}

int CDevice::SensorGetFrontEndRange(CSensorUnit::FrontEnd which, int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetFrontEndRange(which, pMin, pMax);
}

int CDevice::SensorSetFrontEnd(CSensorUnit::FrontEnd which, int nValue) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetFrontEnd(which, nValue);
}

int CDevice::SensorGetFrontEnd(CSensorUnit::FrontEnd which, int* pValue) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetFrontEnd(which, pValue);
}
