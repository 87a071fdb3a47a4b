// The device's blanking, sensor-mode and binning operations: each selects the
// sensor unit of the device type under the device's sensor lock; a type
// whose unit has no such setting gets RET_NOTSUPPORT.
#include <mutex>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "device/Device.h"
#include "device/OutParam.h"

namespace {
using SensorGuard = std::lock_guard<plat::CriticalSection>;

struct BlankRange {
    int nMin, nMax;
};
struct BlankRanges {
    BlankRange horizontal;  // clocks
    BlankRange vertical;    // rows
};
constexpr BlankRanges kMT9M001Blank{{9, 2047}, {25, 2047}};
constexpr BlankRanges k2048Blank{{21, 2047}, {3, 2047}};
constexpr BlankRanges k2592Blank{{0, 4095}, {8, 2047}};

// The blanking limits of a unit, or null for a unit without blanking.
const BlankRanges* BlankRangesOf(SensorUnit unit) {
    switch (unit) {
        case SensorUnit::MT9M001:
            return &kMT9M001Blank;
        case SensorUnit::Sensor2048Family:
            return &k2048Blank;
        case SensorUnit::Sensor2592Family:
            return &k2592Blank;
        default:
            return nullptr;
    }
}

int WriteRange(const BlankRange& range, int* pMin, int* pMax) {
    SetOut(pMin, range.nMin);
    SetOut(pMax, range.nMax);
    return RET_SUCCESS;
}
}  // namespace

int CDevice::SensorGetHorizontalBlankRange(int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    const BlankRanges* pRanges = BlankRangesOf(SensorUnitOf(m_nDeviceType));
    return pRanges != nullptr ? WriteRange(pRanges->horizontal, pMin, pMax) : RET_NOTSUPPORT;
}

int CDevice::SensorGetVerticalBlankRange(int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    const BlankRanges* pRanges = BlankRangesOf(SensorUnitOf(m_nDeviceType));
    return pRanges != nullptr ? WriteRange(pRanges->vertical, pMin, pMax) : RET_NOTSUPPORT;
}

int CDevice::SensorSetHorizontalBlank(int nClocks) {
    SensorGuard guard(m_SensorLock);
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return pUnit->SetHorizontalBlank(nClocks);
    }
    if (SensorUnitOf(m_nDeviceType) == SensorUnit::MT9M001) {
        return m_MT9M001.SetHorizontalBlank(nClocks);
    }
    return RET_NOTSUPPORT;
}

int CDevice::SensorSetVerticalBlank(int nRows) {
    SensorGuard guard(m_SensorLock);
    if (CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        return pUnit->SetVerticalBlank(nRows);
    }
    if (SensorUnitOf(m_nDeviceType) == SensorUnit::MT9M001) {
        return m_MT9M001.SetVerticalBlank(nRows);
    }
    return RET_NOTSUPPORT;
}

int CDevice::SensorGetHorizontalBlank(int* pClocks) {
    SensorGuard guard(m_SensorLock);
    if (pClocks == nullptr) {
        return RET_PARAMERROR;
    }
    if (const CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        *pClocks = pUnit->GetHorizontalBlank();
        return RET_SUCCESS;
    }
    if (SensorUnitOf(m_nDeviceType) == SensorUnit::MT9M001) {
        *pClocks = m_MT9M001.GetHorizontalBlank();
        return RET_SUCCESS;
    }
    return RET_NOTSUPPORT;
}

int CDevice::SensorGetVerticalBlank(int* pRows) {
    SensorGuard guard(m_SensorLock);
    if (pRows == nullptr) {
        return RET_PARAMERROR;
    }
    if (const CRegisterFamilyUnit* pUnit = FamilyUnit()) {
        *pRows = pUnit->GetVerticalBlank();
        return RET_SUCCESS;
    }
    if (SensorUnitOf(m_nDeviceType) == SensorUnit::MT9M001) {
        *pRows = m_MT9M001.GetVerticalBlank();
        return RET_SUCCESS;
    }
    return RET_NOTSUPPORT;
}

int CDevice::SensorModeSet(int nMode) {
    SensorGuard guard(m_SensorLock);
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::Sensor2592Family) {
        return RET_NOTSUPPORT;
    }
    return m_Sensor2592.SetSensorMode(nMode);
}

int CDevice::SensorModeGet(int* pMode) {
    SensorGuard guard(m_SensorLock);
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::Sensor2592Family) {
        return RET_NOTSUPPORT;
    }
    return m_Sensor2592.GetSensorMode(pMode);
}

int CDevice::SensorGetBinRange(int* pMin, int* pMax) {
    SensorGuard guard(m_SensorLock);
    if (FamilyUnit() == nullptr) {
        return RET_NOTSUPPORT;
    }
    SetOut(pMin, 0);
    SetOut(pMax, 1);
    return RET_SUCCESS;
}

int CDevice::SensorGetBin(int* pbOn) {
    SensorGuard guard(m_SensorLock);
    if (pbOn == nullptr) {
        return RET_PARAMERROR;
    }
    const CRegisterFamilyUnit* pUnit = FamilyUnit();
    if (pUnit == nullptr) {
        return RET_NOTSUPPORT;
    }
    *pbOn = pUnit->Binning() ? 1 : 0;
    return RET_SUCCESS;
}

int CDevice::SensorSetBin(bool bOn) {
    SensorGuard guard(m_SensorLock);
    CRegisterFamilyUnit* pUnit = FamilyUnit();
    return pUnit != nullptr ? pUnit->SetBinning(bOn) : RET_NOTSUPPORT;
}
