#include "sensors/MT9V034.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

using R = CMT9V034;

constexpr uint16_t kReadOrder[] = {1,   2,   4,   3,  11, 53, 5,   6,  175,
                                   172, 173, 171, 27, 13, 28, 213, 194};
constexpr uint16_t kRestoreOrder[] = {1,   2,   4,   3,   11, 53, 5,  6,
                                      175, 172, 173, 171, 27, 13, 28, 194};

CRegisterSensorUnit::Layout MT9V034Layout() {
    CRegisterSensorUnit::Layout layout;
    layout.registers.assign(std::begin(kReadOrder), std::end(kReadOrder));
    layout.readOrder = layout.registers;
    layout.restoreOrder.assign(std::begin(kRestoreOrder), std::end(kRestoreOrder));
    layout.readOnly = {R::FINE_SHUTTER_WIDTH_TOTAL};
    return layout;
}

struct DumpLine {
    uint16_t wAddress;
    const wchar_t* pszName;
};
constexpr DumpLine kDump[] = {
    {R::COLUMN_START_CONTEXTA, L"COLUMN_START_CONTEXTA"},
    {R::ROW_START_CONTEXTA, L"ROW_START_CONTEXTA"},
    {R::WINDOW_WIDTH_CONTEXTA, L"WINDOW_WIDTH_CONTEXTA"},
    {R::WINDOW_HEIGHT_CONTEXTA, L"WINDOW_HEIGHT_CONTEXTA"},
    {R::VERTICAL_BLANKING_CONTEXTA, L"VERTICAL_BLANKING_CONTEXTA"},
    {R::HORIZONTAL_BLANKING_CONTEXTA, L"HORIZONTAL_BLANKING_CONTEXTA"},
    {R::ANALOG_GAIN, L"ANALOG_GAIN"},
    {R::COARSE_SHUTTER_WIDTH_TOTAL_CONTEXTA, L"COARSE_SHUTTER_WIDTH_TOTAL_CONTEXTA"},
    {R::MAXIMUM_SHUTTER_WIDTH, L"MAXIMUM_SHUTTER_WIDTH"},
    {R::AEC_AGC_ENABLE, L"AEC_AGC_ENABLE"},
    {R::MAX_ANALOG_GAIN, L"MAX_ANALOG_GAIN"},
    {R::LED_OUT_CTRL, L"LED_OUT_CTRL"},
    {R::READ_MODE_CONTEXTA, L"READ_MODE_CONTEXTA"},
    {R::ADC_RESOLUTION_CONTROL, L"ADC_RESOLUTION_CONTROL"},
    {R::FINE_SHUTTER_WIDTH_TOTAL, L"FINE_SHUTTER_WIDTH_TOTAL"},
    {R::ANALOG_CONTROLS, L"ANALOG_CONTROLS"},
};
// A dump line's name and colon are padded to this width.
constexpr size_t kDumpNameColumns = 37;

constexpr int kMinHorizontalBlank = 61, kMaxHorizontalBlank = 1023;
constexpr int kMinVerticalBlank = 3, kMaxVerticalBlank = 32288;
// The longest exposure and the highest gain code the chip's engines take.
constexpr uint16_t kMaxEngineLines = 2047;
constexpr int kMaxGainCode = 64;

// The read-mode code of an addressing mode: 0 full, 1 bin 2, 2 bin 4.
int ReadModeCode(int nMode) {
    return nMode == 0 ? 0 : nMode == 1 ? 1 : nMode == 3 ? 2 : -1;
}
int ModeOfReadModeCode(int nCode) {
    return nCode == 1 ? 1 : nCode == 2 ? 3 : 0;
}

uint16_t GainCode(int nStep) {
    return static_cast<uint16_t>(nStep <= R::kMaxGainStep ? std::max(nStep, 0) + R::kGainCodeOffset
                                                          : kMaxGainCode);
}

}  // namespace

CMT9V034::CMT9V034(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state)
    : CRegisterSensorUnit(vendor, capability, rpLog, state, MT9V034Layout()) {}

int CMT9V034::Init() {
    m_State.roi = RoiLimits{1, 4, 1, 1, 752, 480};
    int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    nRet = WriteRegister(ANALOG_CONTROLS, static_cast<uint16_t>(Shadow(ANALOG_CONTROLS) | 0x0080));
    LogDump();
    m_State.fExposureTime = ExposureLinesToTime(Shadow(COARSE_SHUTTER_WIDTH_TOTAL_CONTEXTA));
    // The unit starts with the chip's engines off.
    WriteRegister(AEC_AGC_ENABLE, static_cast<uint16_t>(Shadow(AEC_AGC_ENABLE) & ~0x0003));
    return nRet;
}

void CMT9V034::LogDump() const {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++++ZDQLOG_OUTPUT_MT9V034_RELATE_REG_VALUE++++.");
    for (const DumpLine& line : kDump) {
        std::wstring name = std::wstring(line.pszName) + L":";
        name.append(kDumpNameColumns - std::min(kDumpNameColumns, name.size()), L' ');
        LogPrint(m_rpLog, LOGLEVEL_NORMAL, (L"ZDQAPI::MT9V034REG_" + name + L"0x%04x").c_str(),
                 Shadow(line.wAddress));
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::----ZDQLOG_OUTPUT_MT9V034_RELATE_REG_VALUE----.");
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, std::wstring(59, L'=').c_str());
}

void CMT9V034::OnRegisterWritten(uint16_t wAddress, uint16_t wValue) {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             L"ZDQAPI::--MT9V034_Sensor_WrRelatedRegValue:   Address: 0x%02x, Value = 0x%04x",
             wAddress, wValue);
    switch (wAddress) {
        case COARSE_SHUTTER_WIDTH_TOTAL_CONTEXTA:
            m_State.fExposureTime = ExposureLinesToTime(wValue);
            break;
        case WINDOW_WIDTH_CONTEXTA:
        case READ_MODE_CONTEXTA:
            // The chip raises the blanking the new line needs.
            RereadRegister(HORIZONTAL_BLANKING_CONTEXTA);
            ReapplyExposureTime();
            break;
        case HORIZONTAL_BLANKING_CONTEXTA:
            ReapplyExposureTime();
            break;
        default:
            break;
    }
}

uint32_t CMT9V034::LineClocks() const {
    return (Shadow(WINDOW_WIDTH_CONTEXTA) & 0x3FFu) +
           (Shadow(HORIZONTAL_BLANKING_CONTEXTA) & 0x3FFu);
}

float CMT9V034::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(double{m_Capability.T} * LineClocks() *
                              static_cast<uint16_t>(nLines & 0xFFFF));
}

int64_t CMT9V034::ExposureTimeToLines(float fMs) const {
    const double fLine = double{m_Capability.T} * LineClocks();
    if (!(fLine > 0.0) || !(fMs > 0.0f)) {
        return kMinExposureLines;
    }
    return SaturatedCast<int64_t>(std::trunc(double{fMs} / fLine + 0.5));
}

int CMT9V034::SetExposureLines(int nLines) {
    const int32_t nClamped = std::clamp(nLines, kMinExposureLines, kMaxExposureLines);
    m_State.fRequestedExposureTime = ExposureLinesToTime(nClamped);
    return WriteRegister(COARSE_SHUTTER_WIDTH_TOTAL_CONTEXTA, static_cast<uint16_t>(nClamped));
}

int CMT9V034::SetExposureTime(float fMs) {
    const int64_t nLines =
        std::clamp<int64_t>(ExposureTimeToLines(fMs), kMinExposureLines, kMaxExposureLines);
    const int nRet = SetExposureLines(static_cast<int>(nLines));
    // The time asked for is kept, so a later line-time change keeps it.
    m_State.fRequestedExposureTime = fMs;
    return nRet;
}

int CMT9V034::ReapplyExposureTime() {
    return SetExposureTime(m_State.fRequestedExposureTime);
}

int CMT9V034::GetExposureLines(int* pLines) const {
    SetOut(pLines, Shadow(COARSE_SHUTTER_WIDTH_TOTAL_CONTEXTA));
    return RET_SUCCESS;
}

int CMT9V034::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinExposureLines);
    SetOut(pMax, kMaxExposureLines);
    return RET_SUCCESS;
}

int CMT9V034::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(kMinExposureLines));
    SetOut(pMax, ExposureLinesToTime(kMaxExposureLines));
    return RET_SUCCESS;
}

int CMT9V034::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxGainStep);
    return RET_SUCCESS;
}

int CMT9V034::SetGain(GainColour /*colour*/, int nGain) {
    if (AgcRunning()) {
        return RET_ILLEGALOPERATION;
    }
    return WriteRegister(ANALOG_GAIN, GainCode(nGain));
}

int CMT9V034::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, static_cast<uint16_t>((Shadow(ANALOG_GAIN) & 0x7F) - kGainCodeOffset));
    return RET_SUCCESS;
}

int CMT9V034::GetHorizontalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinHorizontalBlank);
    SetOut(pMax, kMaxHorizontalBlank);
    return RET_SUCCESS;
}

int CMT9V034::SetHorizontalBlank(int nClocks) {
    return WriteRegister(
        HORIZONTAL_BLANKING_CONTEXTA,
        static_cast<uint16_t>(std::clamp(nClocks, kMinHorizontalBlank, kMaxHorizontalBlank)));
}

int CMT9V034::GetHorizontalBlank(int* pClocks) const {
    SetOut(pClocks, Shadow(HORIZONTAL_BLANKING_CONTEXTA) & 0x3FF);
    return RET_SUCCESS;
}

int CMT9V034::GetVerticalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinVerticalBlank);
    SetOut(pMax, kMaxVerticalBlank);
    return RET_SUCCESS;
}

int CMT9V034::SetVerticalBlank(int nRows) {
    return WriteRegister(
        VERTICAL_BLANKING_CONTEXTA,
        static_cast<uint16_t>(std::clamp(nRows, kMinVerticalBlank, kMaxVerticalBlank)));
}

int CMT9V034::GetVerticalBlank(int* pRows) const {
    SetOut(pRows, Shadow(VERTICAL_BLANKING_CONTEXTA) & 0x7FFF);
    return RET_SUCCESS;
}

int CMT9V034::SetCompanding(bool bOn) {
    const uint16_t wAdc = Shadow(ADC_RESOLUTION_CONTROL);
    return WriteRegister(ADC_RESOLUTION_CONTROL,
                         static_cast<uint16_t>(bOn ? wAdc | 0x0003 : (wAdc & ~0x0001) | 0x0002));
}

int CMT9V034::GetCompanding(int* pbOn) const {
    SetOut(pbOn, (Shadow(ADC_RESOLUTION_CONTROL) & 0x0003) == 0x0003 ? 1 : 0);
    return RET_SUCCESS;
}

int CMT9V034::GetBinRange(int* pMin, int* pMax) const {
    SetOut(pMin, 1);
    SetOut(pMax, 1);
    return RET_SUCCESS;
}

int CMT9V034::GetBin(int* pbOn) const {
    SetOut(pbOn, 1);
    return RET_SUCCESS;
}

int CMT9V034::SetBit(uint16_t wAddress, uint16_t wBit, bool bOn) {
    const uint16_t wValue = Shadow(wAddress);
    return WriteRegister(wAddress, static_cast<uint16_t>(bOn ? wValue | wBit : wValue & ~wBit));
}

int CMT9V034::GetStrobeEnable(bool* pbOn) const {
    // As the setter left it: the output is on while bit 0 is clear.
    SetOut(pbOn, (Shadow(LED_OUT_CTRL) & 0x0001) == 0);
    return RET_SUCCESS;
}

int CMT9V034::GetStrobeInvert(bool* pbInvert) const {
    SetOut(pbInvert, (Shadow(LED_OUT_CTRL) & 0x0002) != 0);
    return RET_SUCCESS;
}

int CMT9V034::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Shadow(READ_MODE_CONTEXTA) & 0x0010) != 0);
    return RET_SUCCESS;
}

int CMT9V034::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Shadow(READ_MODE_CONTEXTA) & 0x0020) != 0);
    return RET_SUCCESS;
}

int CMT9V034::AECSetEnable(bool bEnable) {
    const uint16_t wEnable = Shadow(AEC_AGC_ENABLE);
    if (((wEnable & 1) != 0) == bEnable) {
        return RET_SUCCESS;
    }
    const int nRet =
        WriteRegister(AEC_AGC_ENABLE, static_cast<uint16_t>(bEnable ? wEnable | 1 : wEnable & ~1));
    if (!bEnable) {
        // The engine's last exposure becomes the manual one.
        uint16_t wLines = 0;
        if (ReadChip(AEC_EXPOSURE_OUTPUT, &wLines) == RET_SUCCESS) {
            SetExposureLines(wLines);
        }
    }
    return nRet;
}

int CMT9V034::AECGetEnable(bool* pbEnable) const {
    SetOut(pbEnable, (Shadow(AEC_AGC_ENABLE) & 1) != 0);
    return RET_SUCCESS;
}

int CMT9V034::AECSetRange(uint16_t wMin, uint16_t wMax) {
    const int nRet = WriteRegister(MAXIMUM_SHUTTER_WIDTH, std::min(wMax, kMaxEngineLines));
    return nRet != RET_SUCCESS ? nRet
                               : WriteRegister(MIN_SHUTTER_WIDTH, std::max<uint16_t>(wMin, 1));
}

int CMT9V034::AECGetRange(uint16_t* pMin, uint16_t* pMax) const {
    SetOut(pMin, Shadow(MIN_SHUTTER_WIDTH));
    SetOut(pMax, Shadow(MAXIMUM_SHUTTER_WIDTH));
    return RET_SUCCESS;
}

int CMT9V034::AECGetCur(uint16_t* pLines) {
    uint16_t wLines = 0;
    const int nRet = ReadChip(AEC_EXPOSURE_OUTPUT, &wLines);
    SetOut(pLines, wLines);
    return nRet;
}

int CMT9V034::AGCSetEnable(bool bEnable) {
    return SetBit(AEC_AGC_ENABLE, 0x0002, bEnable);
}

int CMT9V034::AGCGetEnable(bool* pbEnable) const {
    SetOut(pbEnable, AgcRunning());
    return RET_SUCCESS;
}

int CMT9V034::AGCSetMax(uint16_t wMaxStep) {
    return WriteRegister(MAX_ANALOG_GAIN, GainCode(std::min<int>(wMaxStep, kMaxGainStep)));
}

int CMT9V034::AGCGetMax(uint16_t* pMaxStep) const {
    SetOut(pMaxStep, static_cast<uint16_t>((Shadow(MAX_ANALOG_GAIN) & 0x7F) - kGainCodeOffset));
    return RET_SUCCESS;
}

int CMT9V034::AGCGetCur(uint16_t* pStep) {
    uint16_t wCode = 0;
    const int nRet = ReadChip(AGC_GAIN_OUTPUT, &wCode);
    if (nRet == RET_SUCCESS) {
        SetOut(pStep, static_cast<uint16_t>(wCode - kGainCodeOffset));
    }
    return nRet;
}

int CMT9V034::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                       int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    // The row mode serves both directions.
    if (nAmCol != nAmRow) {
        return RET_PARAMERROR;
    }
    FovRules rules;
    rules.bCheckRowCapability = true;
    return CheckFovWith(rules, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow, pMultiFrames,
                        b16BitOutput);
}

int CMT9V034::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int /*nAmCol*/,
                     int nAmRow, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    const int nCode = ReadModeCode(nAmRow);
    const struct {
        uint16_t wAddress;
        int64_t nValue;
        uint16_t wFieldMax;
        bool bChanges;  // the frame's size follows it
    } kWindow[] = {
        {COLUMN_START_CONTEXTA, int64_t{nColStart} + m_State.roi.nColumnOffset, 0x3FF, false},
        {ROW_START_CONTEXTA, int64_t{nRowStart} + m_State.roi.nRowOffset, 0x1FF, false},
        {WINDOW_WIDTH_CONTEXTA, nWidth, 0x3FF, true},
        {WINDOW_HEIGHT_CONTEXTA, nHeight, 0x1FF, true},
    };
    for (const auto& reg : kWindow) {
        const int nRet = WriteRegister(reg.wAddress, WindowField(reg.nValue, reg.wFieldMax),
                                       reg.bChanges ? pbChanged : nullptr);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    if (nCode < 0) {
        return RET_NOTSUPPORT;
    }
    for (int nShift : {2, 0}) {
        const uint16_t wMode = static_cast<uint16_t>(
            (Shadow(READ_MODE_CONTEXTA) & ~(0x0003 << nShift)) | (nCode << nShift));
        const int nRet = WriteRegister(READ_MODE_CONTEXTA, wMode, pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CMT9V034::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    const uint16_t wMode = Shadow(READ_MODE_CONTEXTA);
    fov = MakeFieldOfView((Shadow(COLUMN_START_CONTEXTA) & 0x3FF) - m_State.roi.nColumnOffset,
                          (Shadow(ROW_START_CONTEXTA) & 0x1FF) - m_State.roi.nRowOffset,
                          Shadow(WINDOW_WIDTH_CONTEXTA) & 0x3FF,
                          Shadow(WINDOW_HEIGHT_CONTEXTA) & 0x1FF,
                          ModeOfReadModeCode((wMode >> 2) & 3), ModeOfReadModeCode(wMode & 3),
                          usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
