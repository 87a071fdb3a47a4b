// The global-reset shutter and the pre-exposure of CDevice, forwarded to the
// sensor unit under the device's sensor lock; units without a global-reset
// shutter answer RET_NOTSUPPORT.
#include <mutex>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "device/Device.h"

int CDevice::GlobalResetShutterSet(bool bOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    m_byGlobalResetRequest = bOn ? 1 : 0;
    return m_pSensorUnit->SetGlobalResetShutter(bOn);
}

int CDevice::GlobalResetShutterGet(bool* pbOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetGlobalResetShutter(pbOn);
}

int CDevice::SensorPreExposureRangeGet(int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetPreExposureRange(pMin, pMax);
}

int CDevice::SensorPreExposureLinesSet(int nLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetPreExposureLines(nLines);
}

int CDevice::SensorPreExposureLinesGet(int* pLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetPreExposureLines(pLines);
}

int CDevice::SensorPreExposureTimeSet(float fMs) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetPreExposureTime(fMs);
}

int CDevice::SensorPreExposureTimeGet(float* pMs) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetPreExposureTime(pMs);
}
