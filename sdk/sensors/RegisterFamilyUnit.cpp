#include "sensors/RegisterFamilyUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "ZDQApi.h"
#include "common/OutParam.h"

CRegisterFamilyUnit::CRegisterFamilyUnit(CVendorRequests& vendor,
                                         const DeviceCapability& capability, CLog* const& rpLog,
                                         SensorState& state, Layout layout, RoiLimits roi,
                                         int64_t nMaxExposureLines, const AddressModeCodes& codes,
                                         std::vector<uint16_t> gainTable)
    : CRegisterSensorUnit(vendor, capability, rpLog, state, std::move(layout)),
      m_Roi(roi),
      m_nMaxExposureLines(nMaxExposureLines),
      m_Codes(codes),
      m_wGainTable(std::move(gainTable)) {}

int CRegisterFamilyUnit::Init() {
    m_State.roi = m_Roi;
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_State.fExposureTime = ExposureLinesToTime(GetExposureLines());
    AfterInit();
    return RET_SUCCESS;
}

void CRegisterFamilyUnit::OnRegisterWritten(uint16_t wAddress, uint16_t /*wValue*/) {
    if (wAddress == ShutterWidthUpper || wAddress == ShutterWidthLower) {
        m_State.fExposureTime = ExposureLinesToTime(GetExposureLines());
    } else if (ChangesLineTime(wAddress)) {
        ReapplyExposureTime();
    }
}

int64_t CRegisterFamilyUnit::ClampLines(int64_t nLines) const {
    return std::clamp<int64_t>(nLines, kMinExposureLines, m_nMaxExposureLines);
}

int64_t CRegisterFamilyUnit::GetExposureLines() const {
    return static_cast<int64_t>(Shadow(ShutterWidthUpper)) * 65536 + Shadow(ShutterWidthLower);
}

int CRegisterFamilyUnit::SetExposureLines(int64_t nLines) {
    const int64_t nClamped = ClampLines(nLines);
    const int nRet = WriteRegister(ShutterWidthUpper, UpperExposureWord(nClamped));
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return WriteRegister(ShutterWidthLower, static_cast<uint16_t>(nClamped & 0xFFFF));
}

int CRegisterFamilyUnit::SetExposureTime(float fMs) {
    m_State.fRequestedExposureTime = fMs;
    return SetExposureLines(ExposureTimeToLines(fMs));
}

void CRegisterFamilyUnit::ReapplyExposureTime() {
    // A failed write leaves the shadow as it was; the next change retries.
    SetExposureLines(ExposureTimeToLines(m_State.fRequestedExposureTime));
}

uint16_t CRegisterFamilyUnit::GainTableValue(int nStep) const {
    return m_wGainTable[static_cast<size_t>(std::clamp(nStep, 0, MaxGainStep()))];
}

int CRegisterFamilyUnit::GainStepOf(uint16_t wValue) const {
    const auto it = std::find(m_wGainTable.begin(), m_wGainTable.end(), wValue);
    return it != m_wGainTable.end() ? static_cast<int>(it - m_wGainTable.begin()) : 0;
}

int CRegisterFamilyUnit::SetColourGain(int nStep, const std::vector<uint16_t>& registers) {
    const uint16_t wValue = GainTableValue(nStep);
    for (uint16_t wRegister : registers) {
        const int nRet = WriteRegister(wRegister, wValue);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight,
                                  int nAmCol, int nAmRow, uint16_t* pMultiFrames,
                                  bool b16BitOutput) const {
    FovRules rules;
    rules.bCheckRowCapability = true;
    rules.bEvenStarts = true;
    return CheckFovWith(rules, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow, pMultiFrames,
                        b16BitOutput);
}

int CRegisterFamilyUnit::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol,
                                int nAmRow, uint8_t* pbChanged) {
    if (pbChanged != nullptr) {
        *pbChanged = 0;
    }
    if (nAmCol < 0 || nAmCol > 4 || nAmRow < 0 || nAmRow > 4) {
        return RET_PARAMERROR;
    }
    const bool bBinned = UsesBinnedCodes();
    const WindowMasks masks = RegisterMasks();
    const struct {
        uint16_t wAddress;
        uint16_t wValue;
    } kWindow[] = {
        {ColumnStart,
         WindowField(int64_t{nColStart} + ColumnStartOffset(nAmCol), masks.wColumnStart)},
        {RowStart, WindowField(int64_t{nRowStart} + m_Roi.nRowOffset, masks.wOther)},
        {ColumnSize, WindowField(int64_t{nWidth} - 1, masks.wOther)},
        {RowSize, WindowField(int64_t{nHeight} - 1, masks.wOther)},
        {RowAddressMode, (bBinned ? m_Codes.rowsBinned : m_Codes.rowsPlain)[nAmRow]},
        {ColumnAddressMode, (bBinned ? m_Codes.columnsBinned : m_Codes.columnsPlain)[nAmCol]},
    };
    for (const auto& reg : kWindow) {
        const int nRet = WriteRegister(reg.wAddress, reg.wValue, pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum,
                                      bool b16BitData) const {
    const int nAmCol = ModeOfSkipCode(Shadow(ColumnAddressMode));
    const int nAmRow = ModeOfSkipCode(Shadow(RowAddressMode));
    const WindowMasks masks = RegisterMasks();
    fov = MakeFieldOfView((Shadow(ColumnStart) & masks.wColumnStart) - ColumnStartOffset(nAmCol),
                          (Shadow(RowStart) & masks.wOther) - m_Roi.nRowOffset,
                          (Shadow(ColumnSize) & masks.wOther) + 1,
                          (Shadow(RowSize) & masks.wOther) + 1, nAmCol, nAmRow, usMultiFrameNum,
                          b16BitData);
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::ModeOfSkipCode(uint16_t wRegister) {
    switch (wRegister & 7) {
        case 1:
            return 1;
        case 2:
            return 2;
        case 3:
            return 3;
        case 7:
            return 4;
        default:
            return 0;
    }
}

int CRegisterFamilyUnit::SetBinning(bool bOn) {
    const int nRowMode = ModeOfSkipCode(Shadow(RowAddressMode));
    const int nColumnMode = ModeOfSkipCode(Shadow(ColumnAddressMode));
    int nRet =
        WriteRegister(RowAddressMode, (bOn ? m_Codes.rowsBinned : m_Codes.rowsPlain)[nRowMode]);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    nRet = WriteRegister(ColumnAddressMode,
                         (bOn ? m_Codes.columnsBinned : m_Codes.columnsPlain)[nColumnMode]);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_bBinning = bOn;
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::SetReadMode2Bit(uint16_t wBit, bool bOn) {
    const uint16_t wMode = Shadow(ReadMode2);
    return WriteRegister(ReadMode2, static_cast<uint16_t>(bOn ? wMode | wBit : wMode & ~wBit));
}

int CRegisterFamilyUnit::GetExposureLines(int* pLines) const {
    SetOut(pLines, GetExposureLines());
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinExposureLines);
    SetOut(pMax, m_nMaxExposureLines);
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(kMinExposureLines));
    SetOut(pMax, ExposureLinesToTime(m_nMaxExposureLines));
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, MaxGainStep());
    return RET_SUCCESS;
}

namespace {
std::vector<uint16_t> ColourGainRegisters(CSensorUnit::GainColour colour) {
    using R = CRegisterFamilyUnit;
    switch (colour) {
        case CSensorUnit::GainColour::Red:
            return {R::RedGain};
        case CSensorUnit::GainColour::Green:
            return {R::Green1Gain, R::Green2Gain};
        default:
            return {R::BlueGain};
    }
}
}  // namespace

int CRegisterFamilyUnit::SetGain(GainColour colour, int nGain) {
    if (UsesGlobalGain()) {
        return SetColourGain(nGain, {GlobalGain});
    }
    return SetColourGain(nGain, ColourGainRegisters(colour));
}

int CRegisterFamilyUnit::GetGain(GainColour colour, int* pGain) const {
    const uint16_t wRegister =
        UsesGlobalGain() ? uint16_t{GlobalGain} : ColourGainRegisters(colour).front();
    SetOut(pGain, GainStepOf(Shadow(wRegister)));
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetHorizontalBlank(int* pClocks) const {
    SetOut(pClocks, GetHorizontalBlank());
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetVerticalBlank(int* pRows) const {
    SetOut(pRows, GetVerticalBlank());
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetBinRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 1);
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetBin(int* pbOn) const {
    SetOut(pbOn, m_bBinning ? 1 : 0);
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Shadow(ReadMode2) & kFlipBit) != 0);
    return RET_SUCCESS;
}

int CRegisterFamilyUnit::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Shadow(ReadMode2) & kMirrorBit) != 0);
    return RET_SUCCESS;
}
