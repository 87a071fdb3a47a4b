// The sensor operations of CDevice: each selects the sensor unit of the
// device type and calls it, under the device's sensor lock. A type whose unit
// does not serve an operation gets RET_NOTSUPPORT.
#include <algorithm>
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"
#include "sensors/DeviceType.h"

namespace {
using SensorGuard = std::lock_guard<plat::CriticalSection>;
}

bool CDevice::IsMono() const {
    return m_Capability.Has(SensorCap::bmMono);
}

int CDevice::SensorInit() {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return m_MT9M001.Init();
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorRestoreRegs() {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            m_Fpga.Fpga_WriteRelateRegValue();
            return m_MT9M001.RestoreRegisters() == RET_SUCCESS ? RET_RECOVERY_SUCCESS
                                                               : RET_RECOVERY_FAIL;
        case SensorUnit::DR2K:
        case SensorUnit::DR4K:
            // The line sensors keep no register list to restore.
            m_Fpga.Fpga_WriteRelateRegValue();
            return RET_RECOVERY_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorSetExposureLines(int nLines) {
    SensorGuard guard(m_SensorLock);
    int nRet = RET_NOTSUPPORT;
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            nRet = m_MT9M001.SetExposureLines(nLines);
            break;
        default:
            return RET_NOTSUPPORT;
    }
    m_Sensor.fRequestedExposureTime = m_Sensor.fExposureTime;
    return nRet;
}

int CDevice::SensorSetExposureTime(float fMs) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return m_MT9M001.SetExposureTime(fMs);
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetExposureLines(int* pLines) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            if (pLines != nullptr) {
                *pLines = m_MT9M001.GetExposureLines();
            }
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorSetFlip(bool bFlip) {
    SensorGuard guard(m_SensorLock);
    if (!m_Capability.Has(SensorCap::bmFlip)) {
        m_bFlip = bFlip;
        return RET_SUCCESS;
    }
    int nRet = RET_NOTSUPPORT;
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001: {
            const uint16_t wMode = m_MT9M001.Shadow(CMT9M001::ReadMode2);
            nRet = m_MT9M001.WriteRegister(
                CMT9M001::ReadMode2,
                static_cast<uint16_t>(bFlip ? wMode | 0x8000 : wMode & ~0x8000));
            break;
        }
        default:
            break;
    }
    if (nRet == RET_SUCCESS) {
        m_bFlip = bFlip;
    }
    return nRet;
}

int CDevice::SensorGetFlip(bool* pbFlip) {
    SensorGuard guard(m_SensorLock);
    if (pbFlip == nullptr) {
        return RET_PARAMERROR;
    }
    if (!m_Capability.Has(SensorCap::bmFlip)) {
        *pbFlip = m_bFlip;
        return RET_SUCCESS;
    }
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            *pbFlip = (m_MT9M001.Shadow(CMT9M001::ReadMode2) & 0x8000) != 0;
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetGainRange(int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            if (pMin == nullptr || pMax == nullptr) {
                return RET_PARAMERROR;
            }
            *pMin = 0;
            *pMax = CMT9M001::kMaxGainStep;
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

// A monochrome camera takes one gain for all colours; a colour camera writes
// the colour's registers, each with the step's table value.
int CDevice::MT9M001SetColourGain(int nGain, std::initializer_list<uint16_t> registers) {
    if (IsMono()) {
        return m_MT9M001.SetGain(nGain);
    }
    const uint16_t wValue = CMT9M001::GainTableValue(
        std::min<int>(static_cast<uint16_t>(nGain), CMT9M001::kMaxGainStep));
    for (uint16_t wRegister : registers) {
        m_MT9M001.WriteRegister(wRegister, wValue);  // results ignored
    }
    return RET_SUCCESS;
}

int CDevice::MT9M001GetColourGain(int* pGain, uint16_t wRegister) const {
    if (pGain != nullptr) {
        *pGain = CMT9M001::GainStepOf(
            m_MT9M001.Shadow(IsMono() ? uint16_t{CMT9M001::GlobalGain} : wRegister));
    }
    return RET_SUCCESS;
}

int CDevice::SensorSetRedGain(int nGain) {
    SensorGuard guard(m_SensorLock);
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001SetColourGain(nGain, {CMT9M001::RedGain});
}

int CDevice::SensorSetGreenGain(int nGain) {
    SensorGuard guard(m_SensorLock);
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001SetColourGain(nGain, {CMT9M001::Green1Gain, CMT9M001::Green2Gain});
}

int CDevice::SensorSetBlueGain(int nGain) {
    SensorGuard guard(m_SensorLock);
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001SetColourGain(nGain, {CMT9M001::BlueGain});
}

int CDevice::SensorGetRedGain(int* pGain) {
    SensorGuard guard(m_SensorLock);
    if (pGain != nullptr) {
        *pGain = 0;
    }
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001GetColourGain(pGain, CMT9M001::RedGain);
}

int CDevice::SensorGetGreenGain(int* pGain) {
    SensorGuard guard(m_SensorLock);
    if (pGain != nullptr) {
        *pGain = 0;
    }
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001GetColourGain(pGain, CMT9M001::Green1Gain);
}

int CDevice::SensorGetBlueGain(int* pGain) {
    SensorGuard guard(m_SensorLock);
    if (pGain != nullptr) {
        *pGain = 0;
    }
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001GetColourGain(pGain, CMT9M001::BlueGain);
}
