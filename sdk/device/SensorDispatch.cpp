// The sensor operations of CDevice: each selects the sensor unit of the
// device type and calls it, under the device's sensor lock.
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"
#include "sensors/DeviceType.h"

int CDevice::SensorInit() {
    std::lock_guard<plat::CriticalSection> guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorRestoreRegs() {
    std::lock_guard<plat::CriticalSection> guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::DR2K:
        case SensorUnit::DR4K:
            // The line sensors keep no register list to restore.
            m_Fpga.Fpga_WriteRelateRegValue();
            return RET_RECOVERY_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}
