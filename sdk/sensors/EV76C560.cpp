#include "sensors/EV76C560.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

using R = CEV76C560;

constexpr uint16_t kReadOrder[] = {4,  6,  7,  14, 17, 18, 19, 20,  21, 26,
                                   10, 54, 55, 73, 11, 8,  9,  118, 58};
constexpr uint16_t kRestoreOrder[] = {4, 6, 7, 14, 17, 10, 54, 55, 11, 26, 18, 19, 20, 21, 118, 58};

CRegisterSensorUnit::Layout EV76C560Layout() {
    CRegisterSensorUnit::Layout layout;
    layout.registers.assign(std::begin(kReadOrder), std::end(kReadOrder));
    layout.readOrder = layout.registers;
    layout.restoreOrder.assign(std::begin(kRestoreOrder), std::end(kRestoreOrder));
    layout.readOnly = {R::CLK_CFG, R::PLL_CFG, R::PIXTIME_READ_WIDTH};
    return layout;
}

struct DumpLine {
    uint16_t wAddress;
    const wchar_t* pszName;
};
constexpr DumpLine kDump[] = {
    {R::LINE_CFG, L"LINE_CFG"},
    {R::MISCEL1, L"MISCEL1"},
    {R::MISCEL2, L"MISCEL2"},
    {R::ROI1_T_INT_LL, L"ROI1_T_INT_LL"},
    {R::ROI1_DIG_ANA_GAIN, L"ROI1_DIG_ANA_GAIN"},
    {R::ROI1_OL_1, L"ROI1_OL_1"},
    {R::ROI1_H_1, L"ROI1_H_1"},
    {R::ROI1_OC_1, L"ROI1_OC_1"},
    {R::ROI1_W_1, L"ROI1_W_1"},
    {R::ROI1_SUBS_V_H, L"ROI1_SUBS_V_H"},
    {R::CHAIN_CFG, L"CHAIN_CFG"},
    {R::DIG_GAIN_GB_GR, L"DIG_GAIN_GB_GR"},
    {R::DIG_GAIN_B_R, L"DIG_GAIN_B_R"},
    {R::PIXTIME_READ_WIDTH, L"PIXTIME_READ_WIDTH"},
    {R::CTRL_CFG, L"CTRL_CFG"},
    {R::CLK_CFG, L"CLK_CFG"},
    {R::PLL_CFG, L"PLL_CFG"},
    {R::LINE_MODE, L"LINE_MODE"},
    {R::PRG_OSC, L"PRG_OSC"},
};
// A dump line's name and colon are padded to this width.
constexpr size_t kDumpNameColumns = 23;

// The subsampling code of the addressing modes 0 .. 4.
constexpr uint8_t kSubsamplingCode[5] = {0x00, 0x08, 0x10, 0x18, 0x38};
int ModeOfSubsamplingCode(uint8_t byCode) {
    for (int nMode = 0; nMode < 5; ++nMode) {
        if (kSubsamplingCode[nMode] == byCode) {
            return nMode;
        }
    }
    return 0;
}

// A line mode of n lines below this uses a fixed line scaled by the
// oscillator.
constexpr int kShortLineModeLines = 112;

}  // namespace

double CEV76C560::ClockPeriodOf(uint16_t wClkCfg, uint16_t wPllCfg, uint16_t wPrgOsc) {
    const double fOscillator = 1.0 / (1e-13 * 5340400.0 / ((wPrgOsc & 0x7F) + 36) + 1e-9 * 3.4);
    const double fPll = ((wPllCfg & 0xFF) + 1) * 2.0 /
                        ((((wPllCfg >> 8) & 0x1F) + 1) * 2.0 * (((wPllCfg >> 13) & 3) + 1)) *
                        96000000.0;
    const int nSource = (wClkCfg & 0x1000) != 0 ? (wClkCfg >> 10) & 3 : (wClkCfg >> 8) & 3;
    const double kSources[4] = {0.0, 96000000.0, fOscillator, fPll};
    const int nDivider = (wClkCfg >> 4) & 0xF;
    const double fHz = kSources[nSource] / (nDivider != 0 ? nDivider : 1);
    return fHz > 0.0 ? 1000.0 / fHz : 0.0;
}

CEV76C560::CEV76C560(CVendorRequests& vendor, const DeviceCapability& capability,
                     CLog* const& rpLog, SensorState& state, const ISensorHost& host,
                     int32_t nDeviceType)
    : CRegisterSensorUnit(vendor, capability, rpLog, state, EV76C560Layout()),
      m_Host(host),
      m_nDeviceType(nDeviceType),
      m_fT(capability.T) {}

int CEV76C560::Init() {
    const bool bLarge =
        m_nDeviceType == 64 || m_nDeviceType == 65 || m_nDeviceType == 83 || m_nDeviceType == 84;
    m_State.roi = bLarge ? RoiLimits{6, 6, 16, 1, 1600, 1200} : RoiLimits{6, 6, 16, 1, 1280, 1024};
    m_fT = m_Capability.T;
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    UpdateExposureTime();
    return RET_SUCCESS;
}

void CEV76C560::LogRegisters() const {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++++ZDQLOG_OUTPUT_EV76C560_RELATE_REG_VALUE++++.");
    for (const DumpLine& line : kDump) {
        std::wstring name = std::wstring(line.pszName) + L":";
        name.append(kDumpNameColumns - std::min(kDumpNameColumns, name.size()), L' ');
        LogPrint(m_rpLog, LOGLEVEL_NORMAL, (L"ZDQAPI::EV76C560REG_" + name + L"0x%04x").c_str(),
                 Shadow(line.wAddress));
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::----ZDQLOG_OUTPUT_EV76C560_RELATE_REG_VALUE----.");
}

void CEV76C560::OnRegisterWritten(uint16_t wAddress, uint16_t /*wValue*/) {
    switch (wAddress) {
        case PRG_OSC: {
            // A setting that selects no clock keeps the period it had.
            const double fT = ClockPeriodOf(Shadow(CLK_CFG), Shadow(PLL_CFG), Shadow(PRG_OSC));
            if (fT > 0.0) {
                m_fT = fT;
            }
            UpdateExposureTime();
            break;
        }
        case LINE_CFG:
        case ROI1_T_INT_LL:
            UpdateExposureTime();
            break;
        default:
            break;
    }
}

void CEV76C560::UpdateExposureTime() {
    const double fLine = LineClocks() * m_fT;
    m_State.fExposureTime = static_cast<float>(LineMode() ? fLine : fLine * Shadow(ROI1_T_INT_LL));
}

float CEV76C560::ExposureLinesToTime(int64_t nLines) const {
    const double fLine = LineClocks() * m_fT;
    return static_cast<float>(LineMode() ? fLine : fLine * static_cast<double>(nLines));
}

int64_t CEV76C560::ExposureTimeToLines(float fMs) const {
    if (LineMode()) {
        return Shadow(LINE_CFG) & 0x7FF;
    }
    const double fLine = LineClocks() * m_fT;
    if (!(fLine > 0.0) || !(fMs > 0.0f)) {
        return 0;
    }
    return SaturatedCast<int64_t>(std::trunc(double{fMs} / fLine + 0.5));
}

int CEV76C560::SetExposureLines(int nLines) {
    if (!LineMode()) {
        return WriteRegister(ROI1_T_INT_LL,
                             static_cast<uint16_t>(std::clamp(nLines, 0, kMaxNormalLines)));
    }
    nLines = std::clamp(nLines, 0, kMaxLineModeLines);
    const uint16_t wOsc = Shadow(PRG_OSC);
    const uint16_t wLine = Shadow(LINE_CFG);
    if (nLines >= kShortLineModeLines) {
        WriteRegister(PRG_OSC, static_cast<uint16_t>((wOsc & ~0x003F) | 0x0040));
        return WriteRegister(LINE_CFG, static_cast<uint16_t>((wLine & ~0x07FF) | nLines));
    }
    // A short exposure: a line of 112 x 8 clocks, its duration scaled by the
    // oscillator setting.
    WriteRegister(PRG_OSC, static_cast<uint16_t>((wOsc & ~0x007F) | (~nLines & 0x7F)));
    return WriteRegister(LINE_CFG, static_cast<uint16_t>((Shadow(LINE_CFG) & 0xF870) | 0x0070));
}

int CEV76C560::SetExposureTime(float fMs) {
    m_State.fRequestedExposureTime = fMs;
    const int64_t nLines = LineMode() ? Shadow(LINE_CFG) & 0x7FF : ExposureTimeToLines(fMs);
    return SetExposureLines(static_cast<int>(std::clamp<int64_t>(nLines, 0, kMaxNormalLines)));
}

int CEV76C560::GetExposureLines(int* pLines) const {
    SetOut(pLines, LineMode() ? Shadow(LINE_CFG) & 0x7FF : Shadow(ROI1_T_INT_LL));
    return RET_SUCCESS;
}

int CEV76C560::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, LineMode() ? kMaxLineModeLines : kMaxNormalLines);
    return RET_SUCCESS;
}

int CEV76C560::GetExposureTimeRange(float* pMin, float* pMax) const {
    const float fLine = static_cast<float>(LineClocks() * m_fT);
    SetOut(pMin, LineMode() ? fLine : 0.0f);
    SetOut(pMax, LineMode() ? fLine : ExposureLinesToTime(kMaxNormalLines));
    return RET_SUCCESS;
}

int CEV76C560::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxGain);
    return RET_SUCCESS;
}

int CEV76C560::SetGain(GainColour colour, int nGain) {
    const uint16_t g = static_cast<uint16_t>(std::clamp(nGain, 0, kMaxGain));
    if (m_Capability.Has(SensorCap::bmMono)) {
        return WriteRegister(ROI1_DIG_ANA_GAIN,
                             static_cast<uint16_t>((Shadow(ROI1_DIG_ANA_GAIN) & 0xFF00) | g));
    }
    const uint16_t wBlueRed = Shadow(DIG_GAIN_B_R);
    switch (colour) {
        case GainColour::Red:
            return WriteRegister(DIG_GAIN_B_R, static_cast<uint16_t>((wBlueRed & 0xFF00) | g));
        case GainColour::Green:
            return WriteRegister(DIG_GAIN_GB_GR, static_cast<uint16_t>(g << 8 | g));
        default:
            return WriteRegister(DIG_GAIN_B_R, static_cast<uint16_t>((wBlueRed & 0x00FF) | g << 8));
    }
}

int CEV76C560::GetGain(GainColour colour, int* pGain) const {
    if (m_Capability.Has(SensorCap::bmMono)) {
        SetOut(pGain, Shadow(ROI1_DIG_ANA_GAIN) & 0xFF);
    } else if (colour == GainColour::Red) {
        SetOut(pGain, Shadow(DIG_GAIN_B_R) & 0xFF);
    } else if (colour == GainColour::Green) {
        SetOut(pGain, Shadow(DIG_GAIN_GB_GR) & 0xFF);
    } else {
        SetOut(pGain, Shadow(DIG_GAIN_B_R) >> 8);
    }
    return RET_SUCCESS;
}

int CEV76C560::SetBit(uint16_t wAddress, uint16_t wBit, bool bOn, uint8_t* pbWritten) {
    const uint16_t wValue = Shadow(wAddress);
    return WriteRegister(wAddress, static_cast<uint16_t>(bOn ? wValue | wBit : wValue & ~wBit),
                         pbWritten);
}

int CEV76C560::SetStrobeEnable(bool bOn) {
    const uint16_t wCtrl = Shadow(CTRL_CFG) & ~0x00C0;
    return WriteRegister(CTRL_CFG, static_cast<uint16_t>(bOn ? wCtrl | 0x0040 : wCtrl));
}

int CEV76C560::GetStrobeEnable(bool* pbOn) const {
    SetOut(pbOn, (Shadow(CTRL_CFG) & 0xFF) >= 64);
    return RET_SUCCESS;
}

int CEV76C560::GetStrobeInvert(bool* pbInvert) const {
    SetOut(pbInvert, (Shadow(MISCEL2) & 0x4000) != 0);
    return RET_SUCCESS;
}

int CEV76C560::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Shadow(MISCEL2) & 0x0040) != 0);
    return RET_SUCCESS;
}

int CEV76C560::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Shadow(MISCEL2) & 0x0080) != 0);
    return RET_SUCCESS;
}

int CEV76C560::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                        int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    // The row mode's subsampling serves both directions.
    if (nAmCol < 0 || nAmCol > 4 || nAmCol != nAmRow) {
        return RET_PARAMERROR;
    }
    FovRules rules;
    rules.bEvenStarts = !m_Capability.Has(SensorCap::bmMono);  // whole Bayer cells
    return CheckFovWith(rules, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow, pMultiFrames,
                        b16BitOutput);
}

int CEV76C560::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int /*nAmCol*/,
                      int nAmRow, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    if (nAmRow >= 0 && nAmRow < 5) {
        const uint16_t byCode = kSubsamplingCode[nAmRow];
        for (int nShift : {0, 8}) {
            const uint16_t wSubs = static_cast<uint16_t>(
                (Shadow(ROI1_SUBS_V_H) & ~(0x00FF << nShift)) | (byCode << nShift));
            const int nRet = WriteRegister(ROI1_SUBS_V_H, wSubs, pbChanged);
            if (nRet != RET_SUCCESS) {
                return nRet;
            }
        }
    }
    const struct {
        uint16_t wAddress;
        int64_t nValue;
        bool bChanges;  // the frame's size follows it
    } kWindow[] = {
        {ROI1_OC_1, int64_t{nColStart} + m_State.roi.nColumnOffset, false},
        {ROI1_OL_1, int64_t{nRowStart} + m_State.roi.nRowOffset, false},
        {ROI1_W_1, nWidth, true},
        {ROI1_H_1, nHeight, true},
    };
    for (const auto& reg : kWindow) {
        const int nRet = WriteRegister(reg.wAddress, WindowField(reg.nValue, 0x7FF),
                                       reg.bChanges ? pbChanged : nullptr);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CEV76C560::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    const uint16_t wSubs = Shadow(ROI1_SUBS_V_H);
    const int nAmCol = ModeOfSubsamplingCode(static_cast<uint8_t>(wSubs >> 8));
    const int nAmRow = ModeOfSubsamplingCode(static_cast<uint8_t>(wSubs & 0xFF));
    // Firmware of the large sensor that reports a subsampled window 4 pixels
    // short.
    const uint16_t wFirmware = m_Host.FirmwareVersionWord();
    const bool bShortReport =
        (m_nDeviceType == 64 || m_nDeviceType == 65 || m_nDeviceType == 83 ||
         m_nDeviceType == 84) &&
        (wFirmware == 0x0703 || wFirmware == 0x0720 || wFirmware == 0x0802 || wFirmware == 0x0803);
    const int nColSize = (Shadow(ROI1_W_1) & 0x7FF) + (bShortReport && nAmCol != 0 ? 4 : 0);
    const int nRowSize = (Shadow(ROI1_H_1) & 0x7FF) + (bShortReport && nAmRow != 0 ? 4 : 0);
    fov = MakeFieldOfView((Shadow(ROI1_OC_1) & 0x7FF) - m_State.roi.nColumnOffset,
                          (Shadow(ROI1_OL_1) & 0x7FF) - m_State.roi.nRowOffset, nColSize, nRowSize,
                          nAmCol, nAmRow, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
