// The sensor operations of CDevice: each forwards to the device's sensor
// unit under the device's sensor lock. The unit answers RET_NOTSUPPORT to
// what its chip does not have.
#include <mutex>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "common/OutParam.h"
#include "device/Device.h"
#include "sensors/SensorUnitFactory.h"

namespace {
using Colour = CSensorUnit::GainColour;
}  // namespace

bool CDevice::IsMono() const {
    return m_Capability.Has(SensorCap::bmMono);
}

int CDevice::SensorInit() {
    plat::CriticalSectionLock guard(m_SensorLock);
    m_pSensorUnit =
        MakeSensorUnit({m_Vendor, m_Capability, m_pLog, m_Sensor, BusLock(), *this, m_nDeviceType});
    return m_pSensorUnit->Init();
}

int CDevice::SensorRestoreRegs() {
    plat::CriticalSectionLock guard(m_SensorLock);
    const SensorUnit unit = SensorUnitOf(m_nDeviceType);
    if (unit == SensorUnit::DR2K || unit == SensorUnit::DR4K) {
        // The line sensors keep no register list to restore.
        m_Fpga.Fpga_WriteRelateRegValue();
        return RET_RECOVERY_SUCCESS;
    }
    if (unit == SensorUnit::None) {
        return RET_NOTSUPPORT;
    }
    m_Fpga.Fpga_WriteRelateRegValue();
    return m_pSensorUnit->RestoreRegisters() == RET_SUCCESS ? RET_RECOVERY_SUCCESS
                                                            : RET_RECOVERY_FAIL;
}

int CDevice::SensorSetExposureLines(int nLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    const int nRet = m_pSensorUnit->SetExposureLines(nLines);
    if (nRet != RET_NOTSUPPORT) {
        m_Sensor.fRequestedExposureTime = m_Sensor.fExposureTime;
    }
    return nRet;
}

int CDevice::SensorSetExposureTime(float fMs) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetExposureTime(fMs);
}

int CDevice::SensorGetExposureLines(int* pLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    SetOut(pLines, 0);
    return m_pSensorUnit->GetExposureLines(pLines);
}

int CDevice::SensorGetExposureLinesRange(int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    SetOut(pMin, 0);
    SetOut(pMax, 0);
    return m_pSensorUnit->GetExposureLinesRange(pMin, pMax);
}

float CDevice::SensorExposureLinesToTime(int nLines) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->ExposureLinesToTime(nLines);
}

int64_t CDevice::SensorExposureTimeToLines(float fMs) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->ExposureTimeToLines(fMs);
}

int CDevice::SensorGetExposureTimeRange(float* pMin, float* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    SetOut(pMin, 0.0f);
    SetOut(pMax, 0.0f);
    return m_pSensorUnit->GetExposureTimeRange(pMin, pMax);
}

int CDevice::SensorGetExposureTime(float* pMs) {
    plat::CriticalSectionLock guard(m_SensorLock);
    SetOut(pMs, 0.0f);
    return m_pSensorUnit->GetExposureTime(pMs);
}

int CDevice::SensorFlashEnableSet(bool bOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetStrobeEnable(bOn);
}

int CDevice::SensorFlashEnableGet(bool* pbOn) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetStrobeEnable(pbOn);
}

int CDevice::SensorGetBlackLevelRange(int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetBlackLevelRange(pMin, pMax);
}

int CDevice::SensorGetBlackLevel(int* pLevel) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (pLevel == nullptr) {
        return RET_PARAMERROR;
    }
    return m_pSensorUnit->GetBlackLevel(pLevel);
}

int CDevice::SensorSetBlackLevel(int nLevel) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetBlackLevel(nLevel);
}

int CDevice::SensorSetFlip(bool bFlip) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (!m_Capability.Has(SensorCap::bmFlip)) {
        // Flipped in software: the rows of the raw frame swap, which moves
        // the Bayer pattern as a flip in the sensor does.
        m_bFlip = bFlip;
        UpdateBayerModeForFlipMirror();
        return RET_SUCCESS;
    }
    const int nRet = m_pSensorUnit->SetFlip(bFlip);
    if (nRet == RET_SUCCESS) {
        m_bFlip = bFlip;
        UpdateBayerModeForFlipMirror();
    }
    return nRet;
}

int CDevice::SensorSetMirror(bool bMirror) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (!m_Capability.Has(SensorCap::bmMirror)) {
        m_bMirror = bMirror;
        UpdateBayerModeForFlipMirror();
        return RET_SUCCESS;
    }
    const int nRet = m_pSensorUnit->SetMirror(bMirror);
    if (nRet == RET_SUCCESS) {
        m_bMirror = bMirror;
        UpdateBayerModeForFlipMirror();
    }
    return nRet;
}

int CDevice::SensorGetFlip(bool* pbFlip) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (pbFlip == nullptr) {
        return RET_PARAMERROR;
    }
    if (!m_Capability.Has(SensorCap::bmFlip)) {
        *pbFlip = m_bFlip;
        return RET_SUCCESS;
    }
    return m_pSensorUnit->GetFlip(pbFlip);
}

int CDevice::SensorGetMirror(bool* pbMirror) {
    plat::CriticalSectionLock guard(m_SensorLock);
    if (pbMirror == nullptr) {
        return RET_PARAMERROR;
    }
    if (!m_Capability.Has(SensorCap::bmMirror)) {
        *pbMirror = m_bMirror;
        return RET_SUCCESS;
    }
    return m_pSensorUnit->GetMirror(pbMirror);
}

// Bayer modes come in groups of four; flipping swaps the rows of the 2 x 2
// cell, mirroring its columns, unless the sensor keeps the pattern itself.
void CDevice::UpdateBayerModeForFlipMirror() {
    // Flip and mirror keep the pattern's bit count, so the output format stays.
    const int nMode = m_nBayerMode;
    const int x = nMode % 4;
    const int b0 = nMode - x;
    const bool bKeepOnFlip = m_Capability.Has(SensorCap::bmNoNeedChangeBayerWhenFlip);
    const bool bKeepOnMirror = m_Capability.Has(SensorCap::bmNoNeedChangeBayerWhenMirror);
    const int nFlipped = bKeepOnFlip ? nMode : b0 + (x ^ 1);
    const int nMirrored = bKeepOnMirror ? nMode : b0 + (3 - x);
    if (m_bFlip && m_bMirror) {
        if (bKeepOnFlip && bKeepOnMirror) {
            m_nBayerModeEffective = nMode;
        } else if (bKeepOnFlip) {
            m_nBayerModeEffective = nMirrored;
        } else if (bKeepOnMirror) {
            m_nBayerModeEffective = nFlipped;
        } else {
            m_nBayerModeEffective = b0 + (x ^ 2);
        }
    } else if (m_bFlip) {
        m_nBayerModeEffective = nFlipped;
    } else if (m_bMirror) {
        m_nBayerModeEffective = nMirrored;
    } else {
        m_nBayerModeEffective = nMode;
    }
}

int CDevice::SensorGetGainRange(int* pMin, int* pMax) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetGainRange(pMin, pMax);
}

int CDevice::SensorSetRedGain(int nGain) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetGain(Colour::Red, nGain);
}

int CDevice::SensorSetGreenGain(int nGain) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetGain(Colour::Green, nGain);
}

int CDevice::SensorSetBlueGain(int nGain) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetGain(Colour::Blue, nGain);
}

int CDevice::SensorGetRedGain(int* pGain) {
    plat::CriticalSectionLock guard(m_SensorLock);
    SetOut(pGain, 0);
    return m_pSensorUnit->GetGain(Colour::Red, pGain);
}

int CDevice::SensorGetGreenGain(int* pGain) {
    plat::CriticalSectionLock guard(m_SensorLock);
    SetOut(pGain, 0);
    return m_pSensorUnit->GetGain(Colour::Green, pGain);
}

int CDevice::SensorGetBlueGain(int* pGain) {
    plat::CriticalSectionLock guard(m_SensorLock);
    SetOut(pGain, 0);
    return m_pSensorUnit->GetGain(Colour::Blue, pGain);
}
