// The sensor operations of CDevice: each selects the sensor unit of the
// device type and calls it, under the device's sensor lock. A type whose unit
// does not serve an operation gets RET_NOTSUPPORT.
#include <algorithm>
#include <mutex>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "device/Device.h"
#include "device/OutParam.h"

namespace {
using SensorGuard = std::lock_guard<plat::CriticalSection>;

}  // namespace

bool CDevice::IsMono() const {
    return m_Capability.Has(SensorCap::bmMono);
}

CRegisterFamilyUnit* CDevice::FamilyUnit() {
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::Sensor2048Family:
            return &m_Sensor2048;
        case SensorUnit::Sensor2592Family:
            return &m_Sensor2592;
        default:
            return nullptr;
    }
}

int CDevice::SensorInit() {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return m_MT9M001.Init();
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            return FamilyUnit()->Init();
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
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            m_Fpga.Fpga_WriteRelateRegValue();
            return FamilyUnit()->RestoreRegisters() == RET_SUCCESS ? RET_RECOVERY_SUCCESS
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
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            nRet = FamilyUnit()->SetExposureLines(nLines);
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
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            return FamilyUnit()->SetExposureTime(fMs);
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetExposureLines(int* pLines) {
    SensorGuard guard(m_SensorLock);
    SetOut(pLines, 0);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            SetOut(pLines, m_MT9M001.GetExposureLines());
            return RET_SUCCESS;
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            SetOut(pLines, FamilyUnit()->GetExposureLines());
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetExposureLinesRange(int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    SetOut(pMin, 0);
    SetOut(pMax, 0);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            SetOut(pMin, CMT9M001::kMinExposureLines);
            SetOut(pMax, CMT9M001::kMaxExposureLines);
            return RET_SUCCESS;
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            SetOut(pMin, CRegisterFamilyUnit::kMinExposureLines);
            SetOut(pMax, FamilyUnit()->MaxExposureLines());
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

float CDevice::SensorExposureLinesToTime(int nLines) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return m_MT9M001.ExposureLinesToTime(nLines);
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            return FamilyUnit()->ExposureLinesToTime(nLines);
        default:
            return 0.0f;
    }
}

int64_t CDevice::SensorExposureTimeToLines(float fMs) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return m_MT9M001.ExposureTimeToLines(fMs);
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            return FamilyUnit()->ExposureTimeToLines(fMs);
        default:
            return 0;
    }
}

int CDevice::SensorGetExposureTimeRange(float* pMin, float* pMax) {
    SensorGuard guard(m_SensorLock);
    SetOut(pMin, 0.0f);
    SetOut(pMax, 0.0f);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            SetOut(pMin, m_MT9M001.ExposureLinesToTime(CMT9M001::kMinExposureLines));
            SetOut(pMax, m_MT9M001.ExposureLinesToTime(CMT9M001::kMaxExposureLines));
            return RET_SUCCESS;
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family: {
            const CRegisterFamilyUnit* pUnit = FamilyUnit();
            SetOut(pMin, pUnit->ExposureLinesToTime(CRegisterFamilyUnit::kMinExposureLines));
            SetOut(pMax, pUnit->ExposureLinesToTime(pUnit->MaxExposureLines()));
            return RET_SUCCESS;
        }
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetExposureTime(float* pMs) {
    SensorGuard guard(m_SensorLock);
    SetOut(pMs, 0.0f);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            SetOut(pMs, m_Sensor.fExposureTime);
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorFlashEnableSet(bool bOn) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001: {
            const uint16_t wMode = m_MT9M001.Shadow(CMT9M001::ReadMode1);
            return m_MT9M001.WriteRegister(
                CMT9M001::ReadMode1, static_cast<uint16_t>(bOn ? wMode | 0x0200 : wMode & ~0x0200));
        }
        case SensorUnit::Sensor2592Family:
            return m_Sensor2592.SetStrobeEnable(bOn);
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorFlashEnableGet(bool* pbOn) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            SetOut(pbOn, (m_MT9M001.Shadow(CMT9M001::ReadMode1) & 0x0200) != 0);
            return RET_SUCCESS;
        case SensorUnit::Sensor2592Family:
            SetOut(pbOn, m_Sensor2592.StrobeEnabled());
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetBlackLevelRange(int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            SetOut(pMin, 0);
            SetOut(pMax, CMT9M001::kMaxBlackLevel);
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetBlackLevel(int* pLevel) {
    SensorGuard guard(m_SensorLock);
    if (pLevel == nullptr) {
        return RET_PARAMERROR;
    }
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            *pLevel = m_MT9M001.GetBlackLevel();
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorSetFlip(bool bFlip) {
    SensorGuard guard(m_SensorLock);
    if (!m_Capability.Has(SensorCap::bmFlip)) {
        // Flipped in software: the rows of the raw frame swap, which moves
        // the Bayer pattern as a flip in the sensor does.
        m_bFlip = bFlip;
        UpdateBayerModeForFlipMirror();
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
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            nRet = FamilyUnit()->SetReadMode2Bit(CRegisterFamilyUnit::kFlipBit, bFlip);
            break;
        default:
            break;
    }
    if (nRet == RET_SUCCESS) {
        m_bFlip = bFlip;
        UpdateBayerModeForFlipMirror();
    }
    return nRet;
}

int CDevice::SensorSetMirror(bool bMirror) {
    SensorGuard guard(m_SensorLock);
    if (!m_Capability.Has(SensorCap::bmMirror)) {
        m_bMirror = bMirror;
        UpdateBayerModeForFlipMirror();
        return RET_SUCCESS;
    }
    CRegisterFamilyUnit* pUnit = FamilyUnit();
    if (pUnit == nullptr) {
        return RET_NOTSUPPORT;
    }
    const int nRet = pUnit->SetReadMode2Bit(CRegisterFamilyUnit::kMirrorBit, bMirror);
    if (nRet == RET_SUCCESS) {
        m_bMirror = bMirror;
        UpdateBayerModeForFlipMirror();
    }
    return nRet;
}

int CDevice::SensorGetMirror(bool* pbMirror) {
    SensorGuard guard(m_SensorLock);
    if (pbMirror == nullptr) {
        return RET_PARAMERROR;
    }
    if (!m_Capability.Has(SensorCap::bmMirror)) {
        *pbMirror = m_bMirror;
        return RET_SUCCESS;
    }
    const CRegisterFamilyUnit* pUnit = FamilyUnit();
    if (pUnit == nullptr) {
        return RET_NOTSUPPORT;
    }
    *pbMirror =
        (pUnit->Shadow(CRegisterFamilyUnit::ReadMode2) & CRegisterFamilyUnit::kMirrorBit) != 0;
    return RET_SUCCESS;
}

// Bayer modes come in groups of four; flipping swaps the rows of the 2 x 2
// cell, mirroring its columns, unless the sensor keeps the pattern itself.
void CDevice::UpdateBayerModeForFlipMirror() {
    const int x = m_nBayerMode % 4;
    const int b0 = m_nBayerMode - x;
    const bool bKeepOnFlip = m_Capability.Has(SensorCap::bmNoNeedChangeBayerWhenFlip);
    const bool bKeepOnMirror = m_Capability.Has(SensorCap::bmNoNeedChangeBayerWhenMirror);
    const int nFlipped = bKeepOnFlip ? m_nBayerMode : b0 + (x ^ 1);
    const int nMirrored = bKeepOnMirror ? m_nBayerMode : b0 + (3 - x);
    if (m_bFlip && m_bMirror) {
        if (bKeepOnFlip && bKeepOnMirror) {
            m_nBayerModeEffective = m_nBayerMode;
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
        m_nBayerModeEffective = m_nBayerMode;
    }
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
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            *pbFlip = (FamilyUnit()->Shadow(CRegisterFamilyUnit::ReadMode2) &
                       CRegisterFamilyUnit::kFlipBit) != 0;
            return RET_SUCCESS;
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorGetGainRange(int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            SetOut(pMin, 0);
            SetOut(pMax, CMT9M001::kMaxGainStep);
            return RET_SUCCESS;
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            SetOut(pMin, 0);
            SetOut(pMax, FamilyUnit()->MaxGainStep());
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
    const uint16_t wValue = CMT9M001::GainTableValue(CMT9M001::ClampedGainStep(nGain));
    int nFirstFailure = RET_SUCCESS;
    for (uint16_t wRegister : registers) {
        const int nRet = m_MT9M001.WriteRegister(wRegister, wValue);
        if (nFirstFailure == RET_SUCCESS) {
            nFirstFailure = nRet;
        }
    }
    return nFirstFailure;
}

int CDevice::MT9M001GetColourGain(int* pGain, uint16_t wRegister) const {
    if (pGain != nullptr) {
        *pGain = CMT9M001::GainStepOf(
            m_MT9M001.Shadow(IsMono() ? uint16_t{CMT9M001::GlobalGain} : wRegister));
    }
    return RET_SUCCESS;
}

// GlobalGain exists on the 2592 family only; the 2048 family's monochrome
// cameras take the colour registers like its colour cameras.
int CDevice::FamilySetColourGain(CRegisterFamilyUnit& unit, int nGain,
                                 const std::vector<uint16_t>& registers) {
    if (IsMono() && &unit == &m_Sensor2592) {
        return unit.SetColourGain(nGain, {CRegisterFamilyUnit::GlobalGain});
    }
    return unit.SetColourGain(nGain, registers);
}

int CDevice::FamilyGetColourGain(CRegisterFamilyUnit& unit, int* pGain, uint16_t wRegister) const {
    const bool bGlobal = IsMono() && &unit == &m_Sensor2592;
    SetOut(pGain, unit.GainStepOf(unit.Shadow(bGlobal ? uint16_t{CRegisterFamilyUnit::GlobalGain}
                                                      : wRegister)));
    return RET_SUCCESS;
}

int CDevice::SensorSetRedGain(int nGain) {
    SensorGuard guard(m_SensorLock);
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return FamilySetColourGain(*pUnit, nGain, {CRegisterFamilyUnit::RedGain});
    }
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001SetColourGain(nGain, {CMT9M001::RedGain});
}

int CDevice::SensorSetGreenGain(int nGain) {
    SensorGuard guard(m_SensorLock);
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return FamilySetColourGain(
            *pUnit, nGain, {CRegisterFamilyUnit::Green1Gain, CRegisterFamilyUnit::Green2Gain});
    }
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001SetColourGain(nGain, {CMT9M001::Green1Gain, CMT9M001::Green2Gain});
}

int CDevice::SensorSetBlueGain(int nGain) {
    SensorGuard guard(m_SensorLock);
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return FamilySetColourGain(*pUnit, nGain, {CRegisterFamilyUnit::BlueGain});
    }
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
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return FamilyGetColourGain(*pUnit, pGain, CRegisterFamilyUnit::RedGain);
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
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return FamilyGetColourGain(*pUnit, pGain, CRegisterFamilyUnit::Green1Gain);
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
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return FamilyGetColourGain(*pUnit, pGain, CRegisterFamilyUnit::BlueGain);
    }
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return MT9M001GetColourGain(pGain, CMT9M001::BlueGain);
}

int CDevice::SensorSetBlackLevel(int nLevel) {
    SensorGuard guard(m_SensorLock);
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    return m_MT9M001.SetBlackLevel(nLevel);
}
