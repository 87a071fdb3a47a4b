#include "sensors/RegisterSensorUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "ZDQApi.h"
#include "common/OutParam.h"

namespace {
// One transfer of frames never exceeds this many bytes.
constexpr uint32_t kMaxTransferBytes = 16777216;
}  // namespace

CRegisterSensorUnit::CRegisterSensorUnit(CVendorRequests& vendor,
                                         const DeviceCapability& capability, CLog* const& rpLog,
                                         SensorState& state, Layout layout)
    : m_Vendor(vendor),
      m_Capability(capability),
      m_rpLog(rpLog),
      m_State(state),
      m_Layout(std::move(layout)),
      m_wShadow(m_Layout.registers.size(), 0) {}

int CRegisterSensorUnit::SlotOf(uint16_t wAddress) const {
    const auto it = std::find(m_Layout.registers.begin(), m_Layout.registers.end(), wAddress);
    return it != m_Layout.registers.end() ? static_cast<int>(it - m_Layout.registers.begin()) : -1;
}

uint16_t CRegisterSensorUnit::Shadow(uint16_t wAddress) const {
    const int nSlot = SlotOf(wAddress);
    return nSlot >= 0 ? m_wShadow[static_cast<size_t>(nSlot)] : 0;
}

void CRegisterSensorUnit::SetShadow(uint16_t wAddress, uint16_t wValue) {
    const int nSlot = SlotOf(wAddress);
    if (nSlot >= 0) {
        m_wShadow[static_cast<size_t>(nSlot)] = wValue;
    }
}

int CRegisterSensorUnit::ReadChip(uint16_t wAddress, uint16_t* pValue) const {
    return m_Layout.bWideAddress ? m_Vendor.VendorCmd_RdSensorX(wAddress, pValue)
                                 : m_Vendor.VendorCmd_RdSensor(wAddress, pValue);
}

int CRegisterSensorUnit::SendRegister(uint16_t wAddress, uint16_t wValue) {
    return m_Layout.bWideAddress ? m_Vendor.VendorCmd_WrSensorX(wAddress, wValue)
                                 : m_Vendor.VendorCmd_WrSensor(wAddress, wValue);
}

int CRegisterSensorUnit::RereadRegister(uint16_t wAddress) {
    uint16_t wValue = 0;
    const int nRet = ReadChip(wAddress, &wValue);
    if (nRet == RET_SUCCESS) {
        SetShadow(wAddress, wValue);
    }
    return nRet;
}

int CRegisterSensorUnit::ReadRegisters() {
    std::fill(m_wShadow.begin(), m_wShadow.end(), 0);
    for (uint16_t wAddress : m_Layout.readOrder) {
        uint16_t wValue = 0;
        const int nRet = ReadChip(wAddress, &wValue);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        SetShadow(wAddress, wValue);
    }
    LogRegisters();
    return RET_SUCCESS;
}

int CRegisterSensorUnit::WriteRegister(uint16_t wAddress, uint16_t wValue, uint8_t* pbWritten) {
    const int nSlot = SlotOf(wAddress);
    const auto& readOnly = m_Layout.readOnly;
    if (nSlot < 0 || std::find(readOnly.begin(), readOnly.end(), wAddress) != readOnly.end()) {
        return RET_NOTSUPPORT;
    }
    uint16_t& wShadow = m_wShadow[static_cast<size_t>(nSlot)];
    if (wShadow == wValue) {
        return RET_SUCCESS;
    }
    const int nRet = SendRegister(wAddress, wValue);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    wShadow = wValue;
    if (pbWritten != nullptr) {
        *pbWritten = 1;
    }
    OnRegisterWritten(wAddress, wValue);
    return RET_SUCCESS;
}

int CRegisterSensorUnit::RestoreRegisters() {
    for (uint16_t wAddress : m_Layout.restoreOrder) {
        const int nRet = SendRegister(wAddress, Shadow(wAddress));
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CRegisterSensorUnit::CheckFovWith(const FovRules& rules, int& nColStart, int& nRowStart,
                                      int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                                      uint16_t* pMultiFrames, bool b16BitOutput) const {
    if (nAmCol < 0 || nAmCol > 4 || nAmRow < 0 || nAmRow > 4) {
        return RET_PARAMERROR;
    }
    static const CapField* const kSkipBits[5] = {nullptr, &SensorCap::bmSkip2, &SensorCap::bmSkip3,
                                                 &SensorCap::bmSkip4, &SensorCap::bmSkip8};
    const auto lacks = [this](int nMode) {
        return kSkipBits[nMode] != nullptr && !m_Capability.Has(*kSkipBits[nMode]);
    };
    if (lacks(nAmCol) || (rules.bCheckRowCapability && lacks(nAmRow))) {
        return RET_NOTSUPPORT;
    }
    if (rules.bEvenStarts) {
        nColStart &= ~1;
        nRowStart &= ~1;
    }
    // In 64 bits, so that sizes and starts near the int limits are aligned,
    // rounded and clamped without wrapping.
    const RoiLimits& roi = m_State.roi;
    const int64_t nColumnAlignment = kWidthAlignment[nAmCol];
    const int64_t nRowAlignment = kModeDivisor[nAmRow];
    int64_t nColumns = int64_t{nWidth} / nColumnAlignment * nColumnAlignment;
    int64_t nRows = int64_t{nHeight} / nRowAlignment * nRowAlignment;
    nColumns = std::clamp<int64_t>((nColumns + 1) / 2 * 2, roi.nMinWidth, roi.nMaxWidth);
    nRows = std::clamp<int64_t>((nRows + 1) / 2 * 2, roi.nMinHeight, roi.nMaxHeight);
    // A start below 0 becomes 0; one whose window passes the maximum slides
    // back so that the window ends there.
    const auto fitStart = [](int64_t nStart, int64_t nSize, int64_t nMax) {
        nStart = std::max<int64_t>(nStart, 0);
        return nStart + nSize > nMax ? nMax - nSize : nStart;
    };
    nColStart = static_cast<int>(fitStart(nColStart, nColumns, roi.nMaxWidth));
    nRowStart = static_cast<int>(fitStart(nRowStart, nRows, roi.nMaxHeight));
    nWidth = static_cast<int>(nColumns);
    nHeight = static_cast<int>(nRows);
    if (pMultiFrames != nullptr) {
        const uint32_t nFrameBytes = static_cast<uint32_t>(nWidth / kModeDivisor[nAmCol]) *
                                     static_cast<uint32_t>(nHeight / kModeDivisor[nAmRow]) *
                                     (b16BitOutput ? 2u : 1u);
        const uint32_t nFit = nFrameBytes != 0 ? kMaxTransferBytes / nFrameBytes : 65535;
        if (nFit < *pMultiFrames) {
            *pMultiFrames = static_cast<uint16_t>(std::min<uint32_t>(nFit, 65535));
        }
        if (*pMultiFrames == 0) {
            *pMultiFrames = 1;
        }
    }
    return RET_SUCCESS;
}

uint16_t CRegisterSensorUnit::WindowField(int64_t nValue, uint16_t wFieldMax) {
    return static_cast<uint16_t>(std::clamp<int64_t>(nValue, 0, wFieldMax));
}

std::vector<uint16_t> LowGainSteps() {
    std::vector<uint16_t> steps;
    for (uint16_t w = 8; w <= 32; ++w) {
        steps.push_back(w);
    }
    for (uint16_t w = 81; w <= 96; ++w) {
        steps.push_back(w);
    }
    return steps;
}

int CRegisterSensorUnit::GetExposureTime(float* pMs) const {
    SetOut(pMs, m_State.fExposureTime);
    return RET_SUCCESS;
}
