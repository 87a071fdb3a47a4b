#include "sensors/AR0130.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

using R = CAR0130;

constexpr uint16_t kReadOrder[] = {R::X_ADDR_START,
                                   R::Y_ADDR_START,
                                   R::Y_ADDR_END,
                                   R::X_ADDR_END,
                                   R::FRAME_LENGTH_LINES,
                                   R::LINE_LENGTH_PCK,
                                   R::COARSE_INTEGRATION_TIME,
                                   R::FINE_INTEGRATION_TIME,
                                   R::DIGITAL_BINNING,
                                   R::READ_MODE,
                                   R::FLASH,
                                   R::GREEN1_GAIN,
                                   R::BLUE_GAIN,
                                   R::RED_GAIN,
                                   R::GREEN2_GAIN,
                                   R::GLOBAL_GAIN,
                                   R::Y_ODD_INC,
                                   R::VT_PIX_CLK_DIV,
                                   R::DATA_PEDESTAL,
                                   R::EMBEDDED_DATA_CTRL,
                                   R::RESET_REGISTER,
                                   R::AE_CTRL_REG,
                                   R::AE_LUMA_TARGET_REG,
                                   R::AE_MAX_EXPOSURE_REG,
                                   R::AE_MIN_EXPOSURE_REG,
                                   R::AE_ROI_X_START_OFFSET,
                                   R::AE_ROI_Y_START_OFFSET,
                                   R::AE_ROI_X_SIZE,
                                   R::AE_ROI_Y_SIZE,
                                   R::DIGITAL_TEST};
constexpr uint16_t kRestoreOrder[] = {R::RESET_REGISTER,
                                      R::VT_PIX_CLK_DIV,
                                      R::DATA_PEDESTAL,
                                      R::EMBEDDED_DATA_CTRL,
                                      R::X_ADDR_START,
                                      R::Y_ADDR_START,
                                      R::Y_ADDR_END,
                                      R::X_ADDR_END,
                                      R::LINE_LENGTH_PCK,
                                      R::COARSE_INTEGRATION_TIME,
                                      R::FINE_INTEGRATION_TIME,
                                      R::DIGITAL_BINNING,
                                      R::READ_MODE,
                                      R::FLASH,
                                      R::GLOBAL_GAIN,
                                      R::RED_GAIN,
                                      R::GREEN1_GAIN,
                                      R::GREEN2_GAIN,
                                      R::BLUE_GAIN,
                                      R::Y_ODD_INC,
                                      R::AE_CTRL_REG,
                                      R::AE_LUMA_TARGET_REG,
                                      R::AE_MAX_EXPOSURE_REG,
                                      R::AE_MIN_EXPOSURE_REG,
                                      R::AE_ROI_X_START_OFFSET,
                                      R::AE_ROI_Y_START_OFFSET,
                                      R::AE_ROI_X_SIZE,
                                      R::AE_ROI_Y_SIZE,
                                      R::DIGITAL_TEST};

CRegisterSensorUnit::Layout AR0130Layout() {
    CRegisterSensorUnit::Layout layout;
    layout.registers.assign(std::begin(kReadOrder), std::end(kReadOrder));
    layout.readOrder = layout.registers;
    layout.restoreOrder.assign(std::begin(kRestoreOrder), std::end(kRestoreOrder));
    layout.readOnly = {R::RESET_REGISTER, R::DATA_PEDESTAL, R::VT_PIX_CLK_DIV,
                       R::EMBEDDED_DATA_CTRL};
    layout.bWideAddress = true;
    return layout;
}

struct DumpLine {
    uint16_t wAddress;
    const wchar_t* pszName;
};
constexpr DumpLine kDump[] = {
    {R::X_ADDR_START, L"X_ADDR_START"},
    {R::Y_ADDR_START, L"Y_ADDR_START"},
    {R::Y_ADDR_END, L"Y_ADDR_END"},
    {R::X_ADDR_END, L"X_ADDR_END"},
    {R::FRAME_LENGTH_LINES, L"FRAME_LENGTH_LINES"},
    {R::LINE_LENGTH_PCK, L"LINE_LENGTH_PCK"},
    {R::COARSE_INTEGRATION_TIME, L"COARSE_INTEGRATION_TIME"},
    {R::FINE_INTEGRATION_TIME, L"FINE_INTEGRATION_TIME"},
    {R::DIGITAL_BINNING, L"DIGITAL_BINNING"},
    {R::READ_MODE, L"READ_MODE"},
    {R::FLASH, L"FLASH"},
    {R::GREEN1_GAIN, L"GREEN1_GAIN"},
    {R::BLUE_GAIN, L"BLUE_GAIN"},
    {R::RED_GAIN, L"RED_GAIN"},
    {R::GREEN2_GAIN, L"GREEN2_GAIN"},
    {R::GLOBAL_GAIN, L"GLOBAL_GAIN"},
    {R::Y_ODD_INC, L"Y_ODD_INC"},
    {R::AE_CTRL_REG, L"AE_CTRL_REG"},
    {R::AE_LUMA_TARGET_REG, L"AE_LUMA_TARGET_REG"},
    {R::AE_MAX_EXPOSURE_REG, L"AE_MAX_EXPOSURE_REG"},
    {R::AE_MIN_EXPOSURE_REG, L"AE_MIN_EXPOSURE_REG"},
    {R::DIGITAL_TEST, L"DIGITAL_TEST"},
    {R::AE_ROI_X_START_OFFSET, L"AE_ROI_X_START_OFFSET"},
    {R::AE_ROI_Y_START_OFFSET, L"AE_ROI_Y_START_OFFSET"},
    {R::AE_ROI_X_SIZE, L"AE_ROI_X_SIZE"},
    {R::AE_ROI_Y_SIZE, L"AE_ROI_Y_SIZE"},
};
// A dump line's name and colon are padded to this width.
constexpr size_t kDumpNameColumns = 25;

uint16_t ClampedGain(int nGain) {
    return static_cast<uint16_t>(std::clamp(nGain, CAR0130::kMinGain, CAR0130::kMaxGain));
}

}  // namespace

CAR0130::CAR0130(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state)
    : CAR0130(vendor, capability, rpLog, state, L"AR0130", RoiLimits{0, 2, 320, 2, 1280, 960}) {}

CAR0130::CAR0130(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, const wchar_t* pszUnit, RoiLimits roi)
    : CRegisterSensorUnit(vendor, capability, rpLog, state, AR0130Layout()),
      m_pszUnit(pszUnit),
      m_Roi(roi) {}

int CAR0130::Init() {
    m_State.roi = m_Roi;
    int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    nRet = Write(DIGITAL_TEST, static_cast<uint16_t>(Shadow(DIGITAL_TEST) & ~0x0080));
    UpdateExposureTime();
    return nRet;
}

void CAR0130::LogRegisters() const {
    const std::wstring unit = m_pszUnit;
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             (L"ZDQAPI::++++ZDQLOG_OUTPUT_" + unit + L"_RELATE_REG_VALUE++++.").c_str());
    for (const DumpLine& line : kDump) {
        std::wstring name = std::wstring(line.pszName) + L":";
        name.append(kDumpNameColumns - std::min(kDumpNameColumns, name.size()), L' ');
        LogPrint(m_rpLog, LOGLEVEL_NORMAL,
                 (L"ZDQAPI::" + unit + L"REG_" + name + L"0x%04x").c_str(), Shadow(line.wAddress));
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             (L"ZDQAPI::----ZDQLOG_OUTPUT_" + unit + L"_RELATE_REG_VALUE----.").c_str());
}

int CAR0130::Write(uint16_t wAddress, uint16_t wValue, uint8_t* pbWritten) {
    m_nFollowUp = RET_SUCCESS;
    const int nRet = WriteRegister(wAddress, wValue, pbWritten);
    return nRet != RET_SUCCESS ? nRet : m_nFollowUp;
}

void CAR0130::OnRegisterWritten(uint16_t wAddress, uint16_t /*wValue*/) {
    switch (wAddress) {
        case Y_ADDR_END:
            // The chip lengthens its frame to hold the new window.
            m_nFollowUp = RereadRegister(FRAME_LENGTH_LINES);
            break;
        case COARSE_INTEGRATION_TIME:
            // ... and to hold a longer exposure.
            m_nFollowUp = RereadRegister(FRAME_LENGTH_LINES);
            if (m_nFollowUp == RET_SUCCESS) {
                UpdateExposureTime();
            }
            break;
        case LINE_LENGTH_PCK:
        case FINE_INTEGRATION_TIME:
            UpdateExposureTime();
            break;
        default:
            break;
    }
}

uint16_t CAR0130::EngineLines() const {
    uint16_t wLines = 0;
    return ReadChip(AE_COARSE_INTEGRATION_TIME, &wLines) == RET_SUCCESS ? wLines : 0;
}

int32_t CAR0130::CurrentLines() const {
    return EngineRunning() ? EngineLines() : Shadow(COARSE_INTEGRATION_TIME);
}

void CAR0130::UpdateExposureTime() {
    m_State.fExposureTime = ExposureLinesToTime(CurrentLines());
}

float CAR0130::ExposureLinesToTime(int64_t nLines) const {
    const int64_t nClocks = nLines * Shadow(LINE_LENGTH_PCK) + Shadow(FINE_INTEGRATION_TIME);
    return static_cast<float>(nClocks) * m_Capability.T;
}

int64_t CAR0130::ExposureTimeToLines(float fMs) const {
    const uint16_t wLine = Shadow(LINE_LENGTH_PCK);
    if (wLine == 0 || !(fMs > 0.0f)) {
        return kMinExposureLines;  // a line of no clocks never divides
    }
    const double fLines =
        (double{fMs} / m_Capability.T - Shadow(FINE_INTEGRATION_TIME)) / wLine + 0.5;
    return SaturatedCast<int64_t>(std::trunc(fLines));
}

int CAR0130::WriteLines(int64_t nLines) {
    return Write(COARSE_INTEGRATION_TIME, static_cast<uint16_t>(std::clamp<int64_t>(
                                              nLines, kMinExposureLines, kMaxExposureLines)));
}

int CAR0130::SetExposureLines(int nLines) {
    if (EngineRunning()) {
        return RET_ILLEGALOPERATION;
    }
    return WriteLines(nLines);
}

int CAR0130::SetExposureTime(float fMs) {
    if (EngineRunning()) {
        return RET_ILLEGALOPERATION;
    }
    m_State.fRequestedExposureTime = fMs;
    return WriteLines(ExposureTimeToLines(fMs));
}

int CAR0130::GetExposureLines(int* pLines) const {
    SetOut(pLines, CurrentLines());
    return RET_SUCCESS;
}

int CAR0130::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinExposureLines);
    SetOut(pMax, kMaxExposureLines);
    return RET_SUCCESS;
}

int CAR0130::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(kMinExposureLines));
    SetOut(pMax, ExposureLinesToTime(kMaxExposureLines));
    return RET_SUCCESS;
}

int CAR0130::GetExposureTime(float* pMs) const {
    SetOut(pMs, EngineRunning() ? ExposureLinesToTime(EngineLines()) : m_State.fExposureTime);
    return RET_SUCCESS;
}

int CAR0130::AECSetEnable(bool bEnable) {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wCtrl = Shadow(AE_CTRL_REG);
    if (((wCtrl & 1) != 0) == bEnable) {
        return RET_SUCCESS;
    }
    // The engine's last exposure becomes the manual one, so the picture
    // keeps its brightness when the engine stops; when the chip cannot tell
    // it, the manual exposure stays as it was.
    uint16_t wEngineLines = 0;
    const bool bHandOver =
        !bEnable && ReadChip(AE_COARSE_INTEGRATION_TIME, &wEngineLines) == RET_SUCCESS;
    const int nRet = Write(AE_CTRL_REG, static_cast<uint16_t>(bEnable ? wCtrl | 1 : wCtrl & ~1));
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (bHandOver) {
        WriteLines(wEngineLines);
    }
    return RET_SUCCESS;
}

int CAR0130::AECGetEnable(bool* pbEnable) const {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    SetOut(pbEnable, (Shadow(AE_CTRL_REG) & 1) != 0);
    return RET_SUCCESS;
}

int CAR0130::AECSetRange(uint16_t wMin, uint16_t wMax) {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    const int nRet = Write(AE_MIN_EXPOSURE_REG, wMin);
    return nRet != RET_SUCCESS ? nRet : Write(AE_MAX_EXPOSURE_REG, wMax);
}

int CAR0130::AECGetRange(uint16_t* pMin, uint16_t* pMax) const {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    SetOut(pMin, Shadow(AE_MIN_EXPOSURE_REG));
    SetOut(pMax, Shadow(AE_MAX_EXPOSURE_REG));
    return RET_SUCCESS;
}

int CAR0130::AECGetCur(uint16_t* pLines) {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    uint16_t wLines = 0;
    const int nRet = ReadChip(AE_COARSE_INTEGRATION_TIME, &wLines);
    SetOut(pLines, wLines);
    return nRet;
}

int CAR0130::AECSetTarget(int nTarget) {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    // The register holds the target in its 12 upper bits.
    return Write(AE_LUMA_TARGET_REG, static_cast<uint16_t>(std::clamp(nTarget, 0, 0xFFF) << 4));
}

int CAR0130::AECGetTarget(int* pTarget) const {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    SetOut(pTarget, Shadow(AE_LUMA_TARGET_REG) >> 4);
    return RET_SUCCESS;
}

int CAR0130::AECSetWindow(int x, int y, int nWidth, int nHeight) {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    // The engine's window takes even values.
    const struct {
        uint16_t wAddress;
        int nValue;
    } kWindow[] = {{AE_ROI_X_START_OFFSET, x},
                   {AE_ROI_Y_START_OFFSET, y},
                   {AE_ROI_X_SIZE, nWidth},
                   {AE_ROI_Y_SIZE, nHeight}};
    for (const auto& reg : kWindow) {
        const int nRet = Write(reg.wAddress, static_cast<uint16_t>(reg.nValue & 0xFFFE));
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CAR0130::AECGetWindow(int* x, int* y, int* pWidth, int* pHeight) const {
    if (!EngineAvailable()) {
        return RET_NOTSUPPORT;
    }
    SetOut(x, Shadow(AE_ROI_X_START_OFFSET) & 0x7FF);
    SetOut(y, Shadow(AE_ROI_Y_START_OFFSET) & 0x3FF);
    SetOut(pWidth, Shadow(AE_ROI_X_SIZE) & 0x7FF);
    SetOut(pHeight, Shadow(AE_ROI_Y_SIZE) & 0x3FF);
    return RET_SUCCESS;
}

int CAR0130::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinGain);
    SetOut(pMax, kMaxGain);
    return RET_SUCCESS;
}

int CAR0130::SetGlobalGain(int nGain) {
    const uint16_t wGain = ClampedGain(nGain);
    for (uint16_t wAddress : {GLOBAL_GAIN, RED_GAIN, GREEN1_GAIN, GREEN2_GAIN, BLUE_GAIN}) {
        const int nRet = Write(wAddress, wGain);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CAR0130::SetGreenGain(int nGain) {
    if (m_Capability.Has(SensorCap::bmMono)) {
        return SetGlobalGain(nGain);
    }
    const uint16_t wGain = ClampedGain(nGain);
    const int nRet = Write(GREEN1_GAIN, wGain);
    return nRet != RET_SUCCESS ? nRet : Write(GREEN2_GAIN, wGain);
}

int CAR0130::SetGain(GainColour colour, int nGain) {
    if (colour == GainColour::Green) {
        return SetGreenGain(nGain);
    }
    if (m_Capability.Has(SensorCap::bmMono)) {
        return SetGlobalGain(nGain);
    }
    return Write(colour == GainColour::Red ? RED_GAIN : BLUE_GAIN, ClampedGain(nGain));
}

int CAR0130::GetGain(GainColour colour, int* pGain) const {
    const uint16_t wAddress = colour == GainColour::Red     ? RED_GAIN
                              : colour == GainColour::Green ? GREEN1_GAIN
                                                            : BLUE_GAIN;
    SetOut(pGain, Shadow(wAddress) & 0xFF);
    return RET_SUCCESS;
}

int CAR0130::SetBit(uint16_t wAddress, uint16_t wBit, bool bOn, uint8_t* pbWritten) {
    const uint16_t wValue = Shadow(wAddress);
    return Write(wAddress, static_cast<uint16_t>(bOn ? wValue | wBit : wValue & ~wBit), pbWritten);
}

int CAR0130::GetStrobeEnable(bool* pbOn) const {
    SetOut(pbOn, (Shadow(FLASH) & 0x0100) != 0);
    return RET_SUCCESS;
}

int CAR0130::GetStrobeInvert(bool* pbInvert) const {
    SetOut(pbInvert, (Shadow(FLASH) & 0x0080) != 0);
    return RET_SUCCESS;
}

int CAR0130::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Shadow(READ_MODE) & 0x8000) != 0);
    return RET_SUCCESS;
}

int CAR0130::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Shadow(READ_MODE) & 0x4000) != 0);
    return RET_SUCCESS;
}

int CAR0130::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                      int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    // One mode serves both directions: a window of two modes would not
    // have the size the camera sends.
    if (nAmCol != nAmRow) {
        return RET_PARAMERROR;
    }
    FovRules rules;
    rules.bCheckRowCapability = true;
    return CheckFovWith(rules, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow, pMultiFrames,
                        b16BitOutput);
}

int CAR0130::WriteWindow(int nColStart, int nRowStart, int nWidth, int nHeight,
                         uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    constexpr uint16_t kFieldMax = 0xFFFF;
    const struct {
        uint16_t wAddress;
        int64_t nValue;
    } kWindow[] = {
        {X_ADDR_START, int64_t{nColStart} + m_State.roi.nColumnOffset},
        {X_ADDR_END, int64_t{nColStart} + m_State.roi.nColumnOffset + nWidth - 1},
        {Y_ADDR_START, int64_t{nRowStart} + m_State.roi.nRowOffset},
        {Y_ADDR_END, int64_t{nRowStart} + m_State.roi.nRowOffset + nHeight - 1},
    };
    for (const auto& reg : kWindow) {
        const int nRet = Write(reg.wAddress, WindowField(reg.nValue, kFieldMax), pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CAR0130::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
                    uint8_t* pbChanged) {
    const int nWindow = WriteWindow(nColStart, nRowStart, nWidth, nHeight, pbChanged);
    if (nWindow != RET_SUCCESS) {
        return nWindow;
    }
    for (int nMode : {nAmRow, nAmCol}) {
        if (nMode != 0 && nMode != 1) {
            return RET_NOTSUPPORT;
        }
        const uint16_t wBinning = Shadow(DIGITAL_BINNING) & ~0x0003;
        const int nRet =
            Write(DIGITAL_BINNING, static_cast<uint16_t>(nMode == 1 ? wBinning | 0x0002 : wBinning),
                  pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CAR0130::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    const int nMode = (Shadow(DIGITAL_BINNING) & 0x0003) == 2 ? 1 : 0;
    fov = MakeFieldOfView(Shadow(X_ADDR_START) - m_State.roi.nColumnOffset,
                          Shadow(Y_ADDR_START) - m_State.roi.nRowOffset,
                          Shadow(X_ADDR_END) - Shadow(X_ADDR_START) + 1,
                          Shadow(Y_ADDR_END) - Shadow(Y_ADDR_START) + 1, nMode, nMode,
                          usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}

CMT9M031::CMT9M031(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state)
    : CAR0130(vendor, capability, rpLog, state, L"MT9M031", RoiLimits{2, 4, 1, 1, 1280, 960}) {}

int CMT9M031::GetBin(int* pbOn) const {
    SetOut(pbOn, 1);
    return RET_SUCCESS;
}

int CMT9M031::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                       int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    const int nRet = CAR0130::CheckFov(nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow,
                                       pMultiFrames, b16BitOutput);
    if (nRet == RET_SUCCESS && (nAmRow == 3 || nAmRow == 4)) {
        return RET_NOTSUPPORT;
    }
    return nRet;
}

int CMT9M031::SetAddrMode(int nMode, uint8_t* pbWritten) {
    const uint16_t wNoBinning = Shadow(DIGITAL_BINNING) & ~0x0003;
    switch (nMode) {
        case 0:
            Write(DIGITAL_BINNING, wNoBinning, pbWritten);
            return Write(Y_ODD_INC, 1, pbWritten);
        case 1: {
            // Binning reads every row: a row skip left from an earlier mode
            // would make the frame smaller than the one the SDK reads.
            const int nRet = Write(Y_ODD_INC, 1, pbWritten);
            return nRet != RET_SUCCESS
                       ? nRet
                       : Write(DIGITAL_BINNING, static_cast<uint16_t>(wNoBinning | 0x0002),
                               pbWritten);
        }
        case 3:
            return Write(Y_ODD_INC, 7, pbWritten);
        case 4:
            return Write(Y_ODD_INC, 15, pbWritten);
        default:
            return RET_NOTSUPPORT;
    }
}

int CMT9M031::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int /*nAmCol*/,
                     int nAmRow, uint8_t* pbChanged) {
    const int nWindow = WriteWindow(nColStart, nRowStart, nWidth, nHeight, pbChanged);
    if (nWindow != RET_SUCCESS) {
        return nWindow;
    }
    return SetAddrMode(nAmRow, pbChanged);
}

int CMT9M031::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    // Binning reads every row (Y_ODD_INC 1): the binning bits tell mode 1.
    int nMode = 0;
    switch ((Shadow(DIGITAL_BINNING) & 0x0003) == 2 ? 3 : Shadow(Y_ODD_INC)) {
        case 3:
            nMode = 1;
            break;
        case 7:
            nMode = 3;
            break;
        case 15:
            nMode = 4;
            break;
        default:
            nMode = 0;
            break;
    }
    fov = MakeFieldOfView(Shadow(X_ADDR_START) - m_State.roi.nColumnOffset,
                          Shadow(Y_ADDR_START) - m_State.roi.nRowOffset,
                          Shadow(X_ADDR_END) - Shadow(X_ADDR_START) + 1,
                          Shadow(Y_ADDR_END) - Shadow(Y_ADDR_START) + 1, nMode, nMode,
                          usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
