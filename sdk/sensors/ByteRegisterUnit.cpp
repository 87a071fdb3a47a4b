#include "sensors/ByteRegisterUnit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {
// One transfer of frames never exceeds this many bytes.
constexpr int64_t kMaxTransferBytes = 16777216;
}  // namespace

CByteRegisterUnit::CByteRegisterUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                                     CLog* const& rpLog, SensorState& state,
                                     plat::CriticalSection& busLock, int32_t nDeviceType,
                                     Layout layout)
    : m_Vendor(vendor),
      m_Capability(capability),
      m_rpLog(rpLog),
      m_State(state),
      m_BusLock(busLock),
      m_nDeviceType(nDeviceType),
      m_Layout(std::move(layout)),
      m_byShadow(m_Layout.registers.size(), 0) {}

int CByteRegisterUnit::SlotOf(uint16_t wAddress) const {
    const auto it = std::find_if(m_Layout.registers.begin(), m_Layout.registers.end(),
                                 [wAddress](const Register& r) { return r.wAddress == wAddress; });
    return it != m_Layout.registers.end() ? static_cast<int>(it - m_Layout.registers.begin()) : -1;
}

uint8_t CByteRegisterUnit::Byte(uint16_t wAddress) const {
    const int nSlot = SlotOf(wAddress);
    return nSlot >= 0 ? m_byShadow[static_cast<size_t>(nSlot)] : 0;
}

uint8_t CByteRegisterUnit::KeptBits(uint16_t wAddress) const {
    const int nSlot = SlotOf(wAddress);
    return nSlot >= 0 ? m_Layout.registers[static_cast<size_t>(nSlot)].byKeep : 0;
}

void CByteRegisterUnit::SetByte(uint16_t wAddress, uint8_t byValue) {
    const int nSlot = SlotOf(wAddress);
    if (nSlot >= 0) {
        m_byShadow[static_cast<size_t>(nSlot)] = byValue;
    }
}

uint32_t CByteRegisterUnit::Value(Quantity quantity) const {
    uint32_t nValue = 0;
    for (int i = 0; i < quantity.nBytes; ++i) {
        const uint16_t wAddress = static_cast<uint16_t>(quantity.wLow + i);
        const int nSlot = SlotOf(wAddress);
        if (nSlot >= 0) {
            const uint8_t byKeep = m_Layout.registers[static_cast<size_t>(nSlot)].byKeep;
            nValue |=
                uint32_t{static_cast<uint8_t>(m_byShadow[static_cast<size_t>(nSlot)] & byKeep)}
                << (8 * i);
        }
    }
    return nValue;
}

int CByteRegisterUnit::ReadRegisters() {
    std::fill(m_byShadow.begin(), m_byShadow.end(), uint8_t{0});
    for (uint16_t wAddress : m_Layout.readOrder) {
        uint16_t wValue = 0;
        const int nRet = m_Vendor.VendorCmd_RdSensorX(wAddress, &wValue);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        SetByte(wAddress, static_cast<uint8_t>(wValue & 0xFF));
    }
    return RET_SUCCESS;
}

void CByteRegisterUnit::LogRegisters() const {
    if (m_Layout.dump.empty()) {
        return;
    }
    const std::wstring unit = m_Layout.pszUnit;
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             (L"ZDQAPI::++++ZDQLOG_OUTPUT_" + unit + L"_RELATE_REG_VALUE++++.").c_str());
    for (const DumpLine& line : m_Layout.dump) {
        std::wstring name = std::wstring(line.pszName) + L":";
        if (name.size() < static_cast<size_t>(m_Layout.nDumpNameColumns)) {
            name.append(static_cast<size_t>(m_Layout.nDumpNameColumns) - name.size(), L' ');
        }
        uint32_t nRaw = 0;
        for (int i = 0; i < line.quantity.nBytes; ++i) {
            nRaw |= uint32_t{Byte(static_cast<uint16_t>(line.quantity.wLow + i))} << (8 * i);
        }
        LogPrint(m_rpLog, LOGLEVEL_NORMAL,
                 (L"ZDQAPI::" + unit + L"REG_" + name + L"0x%04x").c_str(), nRaw);
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             (L"ZDQAPI::----ZDQLOG_OUTPUT_" + unit + L"_RELATE_REG_VALUE----.").c_str());
    if (m_Layout.bDumpRule) {
        LogPrint(m_rpLog, LOGLEVEL_NORMAL, std::wstring(59, L'=').c_str());
    }
}

int CByteRegisterUnit::WriteRegister(uint16_t wAddress, uint8_t byValue, uint8_t* pbChanged) {
    const int nSlot = SlotOf(wAddress);
    if (nSlot < 0) {
        return OnUnlistedWrite(wAddress, byValue);
    }
    const Register& reg = m_Layout.registers[static_cast<size_t>(nSlot)];
    uint8_t& byShadow = m_byShadow[static_cast<size_t>(nSlot)];
    if (((byShadow ^ byValue) & reg.byCompare) == 0) {
        return RET_SUCCESS;
    }
    const int nRet = m_Vendor.VendorCmd_WrSensorX(wAddress, byValue);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    byShadow = static_cast<uint8_t>((byShadow & ~reg.byKeep) | (byValue & reg.byKeep));
    SetOut(pbChanged, 1);
    OnRegisterWritten(wAddress);
    return RET_SUCCESS;
}

int CByteRegisterUnit::WriteValue(Quantity quantity, uint32_t nValue, uint8_t* pbChanged) {
    for (int i = 0; i < quantity.nBytes; ++i) {
        const int nRet = WriteRegister(static_cast<uint16_t>(quantity.wLow + i),
                                       static_cast<uint8_t>((nValue >> (8 * i)) & 0xFF), pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CByteRegisterUnit::RestoreRegisters() {
    for (uint16_t wAddress : m_Layout.restoreOrder) {
        const int nSlot = SlotOf(wAddress);
        const uint8_t byRestore =
            nSlot >= 0 ? m_Layout.registers[static_cast<size_t>(nSlot)].byRestore : 0xFF;
        const int nRet = m_Vendor.VendorCmd_WrSensorX(
            wAddress, static_cast<uint16_t>(Byte(wAddress) & byRestore));
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CByteRegisterUnit::GetExposureTime(float* pMs) const {
    SetOut(pMs, m_State.fExposureTime);
    return RET_SUCCESS;
}

bool CByteRegisterUnit::ModeAllowed(int nMode) const {
    static const CapField* const kSkipBits[5] = {nullptr, &SensorCap::bmSkip2, &SensorCap::bmSkip3,
                                                 &SensorCap::bmSkip4, &SensorCap::bmSkip8};
    return nMode < 1 || nMode > 4 || m_Capability.Has(*kSkipBits[nMode]);
}

void CByteRegisterUnit::LimitMultiFrames(uint16_t* pMultiFrames, int64_t nWidth, int64_t nHeight,
                                         bool b16BitData) {
    if (pMultiFrames == nullptr) {
        return;
    }
    const int64_t nFrameBytes = nWidth * nHeight * (b16BitData ? 2 : 1);
    const int64_t nFit = nFrameBytes > 0 ? kMaxTransferBytes / nFrameBytes : 65535;
    if (nFit < *pMultiFrames) {
        *pMultiFrames = static_cast<uint16_t>(std::min<int64_t>(nFit, 65535));
    }
    if (*pMultiFrames == 0) {
        *pMultiFrames = 1;
    }
}

int64_t CByteRegisterUnit::TimeToLines(float fMs, uint32_t nClocks, int64_t nMin) const {
    const double fLine = LineTime(nClocks);
    if (fMs < 0.0f || !(fLine > 0.0)) {
        return nMin;
    }
    const int64_t nLines = SaturatedCast<int64_t>(std::floor(double{fMs} / fLine + 0.5));
    return std::max(nLines, nMin);
}

void CByteRegisterUnit::AlignUpAndClamp(int& nStart, int& nSize, int nAlign, int nMinSize,
                                        int nMaxSize) {
    const auto alignUp = [nAlign](int64_t n) { return (n + nAlign - 1) / nAlign * nAlign; };
    const int64_t nAlignedSize = std::clamp<int64_t>(alignUp(nSize), nMinSize, nMaxSize);
    int64_t nAlignedStart = std::max<int64_t>(alignUp(nStart), 0);
    if (nAlignedStart + nAlignedSize > nMaxSize) {
        nAlignedStart = nMaxSize - nAlignedSize;
    }
    nStart = static_cast<int>(nAlignedStart);
    nSize = static_cast<int>(nAlignedSize);
}
