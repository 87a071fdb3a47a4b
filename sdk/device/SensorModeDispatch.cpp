// The device's blanking, sensor-mode and binning operations: each forwards to
// the sensor unit under the device's sensor lock; a unit without such a
// setting answers RET_NOTSUPPORT.
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"

int CDevice::SensorGetHorizontalBlankRange(int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetHorizontalBlankRange(pMin, pMax);
}

int CDevice::SensorGetVerticalBlankRange(int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetVerticalBlankRange(pMin, pMax);
}

int CDevice::SensorSetHorizontalBlank(int nClocks) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetHorizontalBlank(nClocks);
}

int CDevice::SensorSetVerticalBlank(int nRows) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetVerticalBlank(nRows);
}

int CDevice::SensorGetHorizontalBlank(int* pClocks) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (pClocks == nullptr) {
        return RET_PARAMERROR;
    }
    return m_pSensorUnit->GetHorizontalBlank(pClocks);
}

int CDevice::SensorGetVerticalBlank(int* pRows) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (pRows == nullptr) {
        return RET_PARAMERROR;
    }
    return m_pSensorUnit->GetVerticalBlank(pRows);
}

int CDevice::SensorModeSet(int nMode) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetSensorMode(nMode);
}

int CDevice::SensorModeGet(int* pMode) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetSensorMode(pMode);
}

int CDevice::SensorGetBinRange(int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetBinRange(pMin, pMax);
}

int CDevice::SensorGetBin(int* pbOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (pbOn == nullptr) {
        return RET_PARAMERROR;
    }
    return m_pSensorUnit->GetBin(pbOn);
}

int CDevice::SensorSetBin(bool bOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetBin(bOn);
}
