#include "sensors/MT9M001.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

constexpr uint16_t kReadOrder[] = {2, 1, 4, 3, 5, 6, 12, 9, 45, 44, 43, 46, 53, 30, 32, 98, 95};
// ShutterDelay is never written back.
constexpr uint16_t kRestoreOrder[] = {2, 1, 4, 3, 5, 6, 9, 53, 45, 44, 43, 46, 30, 32, 98, 95};

CRegisterSensorUnit::Layout MT9M001Layout() {
    CRegisterSensorUnit::Layout layout;
    layout.registers.assign(std::begin(kReadOrder), std::end(kReadOrder));
    layout.readOrder = layout.registers;
    layout.restoreOrder.assign(std::begin(kRestoreOrder), std::end(kRestoreOrder));
    layout.readOnly = {CMT9M001::ShutterDelay};
    return layout;
}

struct DumpLine {
    uint16_t wAddress;
    const wchar_t* pszFormat;
};
constexpr DumpLine kDump[] = {
    {CMT9M001::ColumnStart, L"ZDQAPI::MT9M001REG_ColumnStart:     0x%04x"},
    {CMT9M001::RowStart, L"ZDQAPI::MT9M001REG_RowStart:        0x%04x"},
    {CMT9M001::ColumnSize, L"ZDQAPI::MT9M001REG_ColumnSize:      0x%04x"},
    {CMT9M001::RowSize, L"ZDQAPI::MT9M001REG_RowSize:         0x%04x"},
    {CMT9M001::HorizontalBlank, L"ZDQAPI::MT9M001REG_HorizontalBlank: 0x%04x"},
    {CMT9M001::VerticalBlank, L"ZDQAPI::MT9M001REG_VerticalBlank:   0x%04x"},
    {CMT9M001::ShutterDelay, L"ZDQAPI::MT9M001REG_ShutterDelay:    0x%04x"},
    {CMT9M001::ShutterWidth, L"ZDQAPI::MT9M001REG_ShutterWidth:    0x%04x"},
    {CMT9M001::RedGain, L"ZDQAPI::MT9M001REG_RedGain:         0x%04x"},
    {CMT9M001::BlueGain, L"ZDQAPI::MT9M001REG_BlueGain:        0x%04x"},
    {CMT9M001::Green1Gain, L"ZDQAPI::MT9M001REG_Green1Gain:      0x%04x"},
    {CMT9M001::Green2Gain, L"ZDQAPI::MT9M001REG_Green2Gain:      0x%04x"},
    {CMT9M001::GlobalGain, L"ZDQAPI::MT9M001REG_GlobalGain:      0x%04x"},
    {CMT9M001::ReadMode1, L"ZDQAPI::MT9M001REG_ReadMode1:       0x%04x"},
    {CMT9M001::ReadMode2, L"ZDQAPI::MT9M001REG_ReadMode2:       0x%04x"},
    {CMT9M001::CalCtrl, L"ZDQAPI::MT9M001REG_CalCtrl:         0x%04x"},
    {CMT9M001::CalThreshold, L"ZDQAPI::MT9M001REG_CalThreshold:    0x%04x"},
};

int32_t ClampLines(int64_t nLines) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(nLines, CMT9M001::kMinExposureLines, CMT9M001::kMaxExposureLines));
}

}  // namespace

CMT9M001::CMT9M001(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state)
    : CRegisterSensorUnit(vendor, capability, rpLog, state, MT9M001Layout()) {}

int CMT9M001::Init() {
    m_State.roi = RoiLimits{20, 12, 1, 1, 1280, 1024};
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_State.fExposureTime = ExposureLinesToTime(Shadow(ShutterWidth) & 0x3FFF);
    return RET_SUCCESS;
}

void CMT9M001::LogRegisters() const {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++++ZDQLOG_OUTPUT_MT9M001_RELATE_REG_VALUE++++.");
    for (const DumpLine& line : kDump) {
        LogPrint(m_rpLog, LOGLEVEL_NORMAL, line.pszFormat, Shadow(line.wAddress));
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::----ZDQLOG_OUTPUT_MT9M001_RELATE_REG_VALUE----.");
}

void CMT9M001::OnRegisterWritten(uint16_t wAddress, uint16_t wValue) {
    switch (wAddress) {
        case ShutterWidth:
            m_State.fExposureTime = ExposureLinesToTime(wValue & 0x3FFF);
            break;
        case ColumnSize:
        case HorizontalBlank:
        case ReadMode1:
        case ReadMode2:
            ReapplyExposureTime();  // the line time changed
            break;
        default:
            break;
    }
}

// Line time in pixel clocks: the window width (after column skipping) plus
// the horizontal blanking plus a fixed overhead, at least what the shutter
// delay needs.
int32_t CMT9M001::LineTimeClocks() const {
    int32_t nWidth = Shadow(ColumnSize) & 0x7FF;
    const uint16_t wMode1 = Shadow(ReadMode1);
    const uint16_t wMode2 = Shadow(ReadMode2);
    if (wMode2 & 0x0008) {
        nWidth = nWidth / 4 * 2 + 1;
    } else if (wMode1 & 0x0004) {
        nWidth = nWidth / 8 * 2 + 1;
    } else if (wMode1 & 0x0010) {
        nWidth = nWidth / 16 * 2 + 1;
    }
    const int32_t nBlank = std::max<int32_t>(Shadow(HorizontalBlank) & 0x7FF, 19);
    int32_t nLine = nWidth + nBlank + 226;
    const int32_t nDelay = ShutterDelayClocks();
    if (nDelay > (nLine - 548) / 4) {
        nLine = 4 * nDelay + 548;
    }
    return nLine;
}

float CMT9M001::ExposureLinesToTime(int64_t nLines) const {
    const int64_t nClocks =
        static_cast<int64_t>(nLines) * LineTimeClocks() - ShutterDelayClocks() - 180;
    return static_cast<float>(nClocks) * m_Capability.T;
}

int64_t CMT9M001::ExposureTimeToLines(float fMs) const {
    const float fClocks = fMs / m_Capability.T + static_cast<float>(ShutterDelayClocks()) + 180.0f;
    const float fLines = fClocks / static_cast<float>(LineTimeClocks());
    // Saturate rather than overflow for absurd times; callers clamp anyway.
    return SaturatedCast<int64_t>(static_cast<double>(fLines) + 0.5);
}

int CMT9M001::SetExposureLines(int32_t nLines) {
    return WriteRegister(ShutterWidth, static_cast<uint16_t>(ClampLines(nLines)));
}

int CMT9M001::SetExposureTime(float fMs) {
    const int nRet =
        WriteRegister(ShutterWidth, static_cast<uint16_t>(ClampLines(ExposureTimeToLines(fMs))));
    m_State.fRequestedExposureTime = fMs;
    return nRet;
}

int32_t CMT9M001::GetExposureLines() const {
    return Shadow(ShutterWidth) & 0x3FFF;
}

int CMT9M001::ReapplyExposureTime() {
    return WriteRegister(
        ShutterWidth,
        static_cast<uint16_t>(ClampLines(ExposureTimeToLines(m_State.fRequestedExposureTime))));
}

uint16_t CMT9M001::GainTableValue(int nStep) {
    nStep = std::clamp(nStep, 0, kMaxGainStep);
    return static_cast<uint16_t>(nStep <= 24 ? 8 + nStep : 81 + (nStep - 25));
}

int CMT9M001::GainStepOf(uint16_t wRegister) {
    const uint16_t wLow = wRegister & 0x7F;
    for (int nStep = 0; nStep <= kMaxGainStep; ++nStep) {
        if (GainTableValue(nStep) == wLow) {
            return nStep;
        }
    }
    return 0;
}

int CMT9M001::SetGain(int nStep) {
    const uint16_t wValue = GainTableValue(ClampedGainStep(nStep));
    // Every register is written even after a failure; the first failure is
    // reported.
    int nFirstFailure = RET_SUCCESS;
    for (uint16_t wAddress : {RedGain, Green1Gain, Green2Gain, BlueGain, GlobalGain}) {
        const int nRet = WriteRegister(wAddress, wValue);
        if (nFirstFailure == RET_SUCCESS) {
            nFirstFailure = nRet;
        }
    }
    return nFirstFailure;
}

int CMT9M001::SetBlackLevel(int nLevel) {
    uint16_t wCtrl = Shadow(CalCtrl);
    switch (std::clamp(nLevel, 0, kMaxBlackLevel)) {
        case 0:
            wCtrl = static_cast<uint16_t>((wCtrl & ~0x0005) | 0x0002);
            break;
        case 1:
            wCtrl = static_cast<uint16_t>((wCtrl & ~0x0003) | 0x0004);
            break;
        case 2:
            wCtrl = static_cast<uint16_t>(wCtrl & ~0x0007);
            break;
        default:  // 3
            wCtrl = static_cast<uint16_t>(wCtrl | 0x0001);
            break;
    }
    return WriteRegister(CalCtrl, wCtrl);
}

int CMT9M001::GetBlackLevel() const {
    const uint16_t wCtrl = Shadow(CalCtrl);
    if (wCtrl & 0x0001) {
        return 3;
    }
    if ((wCtrl & 0x0006) == 0x0004) {
        return 1;
    }
    return (wCtrl & 0x0007) == 0 ? 2 : 0;  // level 0 sets bit 1
}

int CMT9M001::SetBlackLevelThreshold(bool bManualOff, int nLow, int nHigh) {
    nLow = std::clamp(nLow, 0, 63);
    nHigh = std::max(std::clamp(nHigh, 0, 127), nLow);
    if (Shadow(CalCtrl) & 0x0003) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wThreshold = Shadow(CalThreshold);
    const uint16_t wValue =
        bManualOff
            ? static_cast<uint16_t>(wThreshold & 0x7F7F)
            : static_cast<uint16_t>((nLow & 0x3F) | (wThreshold & 0x40) | (nHigh << 8) | 0x8080);
    return WriteRegister(CalThreshold, wValue);
}

int CMT9M001::SetHorizontalBlank(int nClocks) {
    return WriteRegister(HorizontalBlank,
                         static_cast<uint16_t>(nClocks < 2048 ? std::max(nClocks, 9) : 2047));
}

int CMT9M001::SetVerticalBlank(int nRows) {
    return WriteRegister(VerticalBlank,
                         static_cast<uint16_t>(nRows < 2048 ? std::max(nRows, 25) : 2047));
}

namespace {

// New read modes for one addressing mode: the mode's skip bits cleared, then
// the one for the mode set. False for a mode the sensor cannot do.
bool AddrModeBits(int nMode, uint16_t& wMode1, uint16_t& wMode2, uint16_t wSkip2, uint16_t wSkip4,
                  uint16_t wSkip8) {
    wMode1 = static_cast<uint16_t>(wMode1 & ~(wSkip4 | wSkip8));
    wMode2 = static_cast<uint16_t>(wMode2 & ~wSkip2);
    switch (nMode) {
        case 0:
            return true;
        case 1:
            wMode2 |= wSkip2;
            return true;
        case 3:
            wMode1 |= wSkip4;
            return true;
        case 4:
            wMode1 |= wSkip8;
            return true;
        default:
            return false;
    }
}

}  // namespace

int CMT9M001::SetRowAddrMode(int nMode, uint8_t* pbWritten) {
    uint16_t wMode1 = Shadow(ReadMode1);
    uint16_t wMode2 = Shadow(ReadMode2);
    if (!AddrModeBits(nMode, wMode1, wMode2, 0x0010, 0x0008, 0x0020)) {
        return RET_NOTSUPPORT;
    }
    const int nRet = WriteRegister(ReadMode1, wMode1, pbWritten);
    return nRet != RET_SUCCESS ? nRet : WriteRegister(ReadMode2, wMode2, pbWritten);
}

int CMT9M001::SetColumnAddrMode(int nMode, uint8_t* pbWritten) {
    uint16_t wMode1 = Shadow(ReadMode1);
    uint16_t wMode2 = Shadow(ReadMode2);
    if (!AddrModeBits(nMode, wMode1, wMode2, 0x0008, 0x0004, 0x0010)) {
        return RET_NOTSUPPORT;
    }
    const int nRet = WriteRegister(ReadMode1, wMode1, pbWritten);
    return nRet != RET_SUCCESS ? nRet : WriteRegister(ReadMode2, wMode2, pbWritten);
}

int CMT9M001::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                       int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    return CheckFovWith(FovRules{}, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow,
                        pMultiFrames, b16BitOutput);
}

int CMT9M001::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
                     uint8_t* pbChanged) {
    if (pbChanged != nullptr) {
        *pbChanged = 0;
    }
    // The window registers hold 11 bits.
    constexpr uint16_t kWindowFieldMax = 0x7FF;
    const struct {
        uint16_t wAddress;
        int64_t nValue;
    } kWindow[] = {
        {ColumnStart, int64_t{nColStart} + m_State.roi.nColumnOffset},
        {RowStart, int64_t{nRowStart} + m_State.roi.nRowOffset},
        {ColumnSize, int64_t{nWidth} - 1},
        {RowSize, int64_t{nHeight} - 1},
    };
    for (const auto& reg : kWindow) {
        const int nRet =
            WriteRegister(reg.wAddress, WindowField(reg.nValue, kWindowFieldMax), pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    const int nRet = SetRowAddrMode(nAmRow, pbChanged);
    return nRet != RET_SUCCESS ? nRet : SetColumnAddrMode(nAmCol, pbChanged);
}

namespace {
// The addressing mode of the read-mode bits: skip 2 in ReadMode2, skip 4 and
// skip 8 in ReadMode1.
int AddrModeOf(uint16_t wMode1, uint16_t wMode2, uint16_t wSkip2, uint16_t wSkip4,
               uint16_t wSkip8) {
    if ((wMode2 & wSkip2) != 0) {
        return 1;
    }
    if ((wMode1 & wSkip4) != 0) {
        return 3;
    }
    return (wMode1 & wSkip8) != 0 ? 4 : 0;
}
}  // namespace

int CMT9M001::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    const uint16_t wMode1 = Shadow(ReadMode1);
    const uint16_t wMode2 = Shadow(ReadMode2);
    fov = MakeFieldOfView(
        (Shadow(ColumnStart) & 0x7FF) - m_State.roi.nColumnOffset,
        (Shadow(RowStart) & 0x7FF) - m_State.roi.nRowOffset, (Shadow(ColumnSize) & 0x7FF) + 1,
        (Shadow(RowSize) & 0x7FF) + 1, AddrModeOf(wMode1, wMode2, 0x0008, 0x0004, 0x0010),
        AddrModeOf(wMode1, wMode2, 0x0010, 0x0008, 0x0020), usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}

int CMT9M001::GetExposureLines(int* pLines) const {
    SetOut(pLines, GetExposureLines());
    return RET_SUCCESS;
}

int CMT9M001::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinExposureLines);
    SetOut(pMax, kMaxExposureLines);
    return RET_SUCCESS;
}

int CMT9M001::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(kMinExposureLines));
    SetOut(pMax, ExposureLinesToTime(kMaxExposureLines));
    return RET_SUCCESS;
}

int CMT9M001::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxGainStep);
    return RET_SUCCESS;
}

namespace {
std::vector<uint16_t> ColourGainRegisters(CSensorUnit::GainColour colour) {
    switch (colour) {
        case CSensorUnit::GainColour::Red:
            return {CMT9M001::RedGain};
        case CSensorUnit::GainColour::Green:
            return {CMT9M001::Green1Gain, CMT9M001::Green2Gain};
        default:
            return {CMT9M001::BlueGain};
    }
}
}  // namespace

int CMT9M001::SetGain(GainColour colour, int nGain) {
    if (m_Capability.Has(SensorCap::bmMono)) {
        return SetGain(nGain);
    }
    const uint16_t wValue = GainTableValue(ClampedGainStep(nGain));
    for (uint16_t wRegister : ColourGainRegisters(colour)) {
        WriteRegister(wRegister, wValue);
    }
    return RET_SUCCESS;
}

int CMT9M001::GetGain(GainColour colour, int* pGain) const {
    const uint16_t wRegister = m_Capability.Has(SensorCap::bmMono)
                                   ? uint16_t{GlobalGain}
                                   : ColourGainRegisters(colour).front();
    SetOut(pGain, GainStepOf(Shadow(wRegister)));
    return RET_SUCCESS;
}

int CMT9M001::GetHorizontalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, 9);
    SetOut(pMax, 2047);
    return RET_SUCCESS;
}

int CMT9M001::GetVerticalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, 25);
    SetOut(pMax, 2047);
    return RET_SUCCESS;
}

int CMT9M001::GetHorizontalBlank(int* pClocks) const {
    SetOut(pClocks, GetHorizontalBlank());
    return RET_SUCCESS;
}

int CMT9M001::GetVerticalBlank(int* pRows) const {
    SetOut(pRows, GetVerticalBlank());
    return RET_SUCCESS;
}

int CMT9M001::SetStrobeEnable(bool bOn) {
    const uint16_t wMode = Shadow(ReadMode1);
    return WriteRegister(ReadMode1, static_cast<uint16_t>(bOn ? wMode | 0x0200 : wMode & ~0x0200));
}

int CMT9M001::GetStrobeEnable(bool* pbOn) const {
    SetOut(pbOn, (Shadow(ReadMode1) & 0x0200) != 0);
    return RET_SUCCESS;
}

int CMT9M001::SetFlip(bool bFlip) {
    const uint16_t wMode = Shadow(ReadMode2);
    return WriteRegister(ReadMode2,
                         static_cast<uint16_t>(bFlip ? wMode | 0x8000 : wMode & ~0x8000));
}

int CMT9M001::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Shadow(ReadMode2) & 0x8000) != 0);
    return RET_SUCCESS;
}

int CMT9M001::GetBlackLevel(int* pLevel) const {
    SetOut(pLevel, GetBlackLevel());
    return RET_SUCCESS;
}

int CMT9M001::GetBlackLevelRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxBlackLevel);
    return RET_SUCCESS;
}

int CMT9M001::GetBlackLevelThresholds(bool* pbAutomatic, int* pLow, int* pHigh) const {
    if ((Shadow(CalCtrl) & 0x0003) != 0) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wThreshold = Shadow(CalThreshold);
    SetOut(pbAutomatic, (wThreshold & 0x0080) == 0);
    SetOut(pLow, wThreshold & 0x3F);
    SetOut(pHigh, (wThreshold >> 8) & 0x7F);
    return RET_SUCCESS;
}

int CMT9M001::SetBlackLevelThresholds(bool bAutomatic, int nLow, int nHigh) {
    // Clearing the manual bit (bit 7) hands the thresholds to the chip.
    return SetBlackLevelThreshold(bAutomatic, nLow, nHigh);
}
