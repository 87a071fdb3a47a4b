#include "sensors/Sensor30xxFamily.h"

#include <algorithm>
#include <cmath>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

using R = CSensor30xxFamily;

constexpr uint16_t kReadOrder[] = {R::X_ADDR_START,
                                   R::Y_ADDR_START,
                                   R::X_ADDR_END,
                                   R::Y_ADDR_END,
                                   R::X_ODD_INC,
                                   R::Y_ODD_INC,
                                   R::LINE_LENGTH_PCK,
                                   R::COARSE_INTEGRATION_TIME,
                                   R::FINE_INTEGRATION_TIME,
                                   R::RED_GAIN,
                                   R::BLUE_GAIN,
                                   R::GREENR_GAIN,
                                   R::GREENB_GAIN,
                                   R::READ_MODE,
                                   R::STROBE_CTRL,
                                   R::RESET_REGISTER,
                                   R::FLASH};
constexpr uint16_t kRestoreOrder[] = {R::X_ADDR_START,
                                      R::X_ADDR_END,
                                      R::Y_ADDR_START,
                                      R::Y_ADDR_END,
                                      R::X_ODD_INC,
                                      R::Y_ODD_INC,
                                      R::COARSE_INTEGRATION_TIME,
                                      R::RED_GAIN,
                                      R::BLUE_GAIN,
                                      R::GREENR_GAIN,
                                      R::GREENB_GAIN,
                                      R::READ_MODE,
                                      R::STROBE_CTRL,
                                      R::FLASH};

CRegisterSensorUnit::Layout Sensor30xxLayout() {
    CRegisterSensorUnit::Layout layout;
    layout.registers.assign(std::begin(kReadOrder), std::end(kReadOrder));
    layout.readOrder = layout.registers;
    layout.restoreOrder.assign(std::begin(kRestoreOrder), std::end(kRestoreOrder));
    layout.readOnly = {R::RESET_REGISTER, R::LINE_LENGTH_PCK};
    layout.bWideAddress = true;
    return layout;
}

// The window limits of the family's types; false for a type without them.
bool RoiOf(int32_t nType, RoiLimits& roi) {
    switch (nType) {
        case 13:
        case 25:
        case 43:
            roi = RoiLimits{0, 8, 1, 8, 3488, 2616};
            return true;
        case 14:
        case 26:
        case 44:
        case 54:
        case 75:
            roi = RoiLimits{8, 8, 1, 1, 3856, 2764};
            return true;
        case 27:
        case 45:
        case 55:
        case 74:
            roi = RoiLimits{8, 32, 1, 1, 4608, 3288};
            return true;
        default:
            return false;
    }
}

// The skip code of an addressing mode: 1 full, 3 skip 2, 7 skip 4.
int SkipCode(int nMode) {
    return nMode == 0 ? 1 : nMode == 1 ? 3 : nMode == 3 ? 7 : -1;
}
int ModeOfSkipCode(int nCode) {
    return nCode == 3 ? 1 : nCode == 7 ? 3 : 0;
}

}  // namespace

CSensor30xxFamily::CSensor30xxFamily(CVendorRequests& vendor, const DeviceCapability& capability,
                                     CLog* const& rpLog, SensorState& state, int32_t nDeviceType)
    : CRegisterSensorUnit(vendor, capability, rpLog, state, Sensor30xxLayout()),
      m_nDeviceType(nDeviceType) {}

int CSensor30xxFamily::Init() {
    if (!RoiOf(m_nDeviceType, m_State.roi)) {
        return RET_NOTSUPPORT;
    }
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_State.fExposureTime = ProgrammedExposureTime();
    SetBit(READ_MODE, 0x4000, false);
    return RET_SUCCESS;
}

void CSensor30xxFamily::OnRegisterWritten(uint16_t wAddress, uint16_t /*wValue*/) {
    switch (wAddress) {
        case Y_ADDR_START:
        case Y_ADDR_END:
            RereadRegister(LINE_LENGTH_PCK);
            break;
        case X_ADDR_END:
        case X_ODD_INC:
        case Y_ODD_INC:
            // The chip's new line length changes the lines of the time asked
            // for.
            RereadRegister(LINE_LENGTH_PCK);
            ReapplyExposureTime();
            break;
        case COARSE_INTEGRATION_TIME:
        case FINE_INTEGRATION_TIME:
            m_State.fExposureTime = ProgrammedExposureTime();
            break;
        default:
            break;
    }
}

int CSensor30xxFamily::ChipLineLength(uint16_t* pClocks) const {
    return ReadChip(LINE_LENGTH_PCK, pClocks);
}

float CSensor30xxFamily::ProgrammedExposureTime() const {
    uint16_t wLine = 0;
    if (ChipLineLength(&wLine) != RET_SUCCESS) {
        wLine = 0;
    }
    const int64_t nClocks =
        int64_t{Shadow(COARSE_INTEGRATION_TIME)} * wLine + Shadow(FINE_INTEGRATION_TIME);
    return static_cast<float>(nClocks) * m_Capability.T;
}

float CSensor30xxFamily::ExposureLinesToTime(int64_t nLines) const {
    uint16_t wLine = 0;
    if (ChipLineLength(&wLine) != RET_SUCCESS) {
        return 0.0f;
    }
    return static_cast<float>(nLines * wLine + Shadow(FINE_INTEGRATION_TIME)) * m_Capability.T;
}

int64_t CSensor30xxFamily::ExposureTimeToLines(float fMs) const {
    const uint16_t wLine = Shadow(LINE_LENGTH_PCK);
    if (wLine == 0 || !(fMs > 0.0f)) {
        return kMinExposureLines;
    }
    return SaturatedCast<int64_t>(
        std::trunc((double{fMs} / m_Capability.T - Shadow(FINE_INTEGRATION_TIME)) / wLine + 0.5));
}

int CSensor30xxFamily::SetExposureLines(int nLines) {
    m_State.fRequestedExposureTime = ProgrammedExposureTime();
    return WriteRegister(
        COARSE_INTEGRATION_TIME,
        static_cast<uint16_t>(std::clamp(nLines, kMinExposureLines, kMaxExposureLines)));
}

int CSensor30xxFamily::SetExposureTime(float fMs) {
    const int64_t nLines =
        std::clamp<int64_t>(ExposureTimeToLines(fMs), kMinExposureLines, kMaxExposureLines);
    const int nRet = SetExposureLines(static_cast<int>(nLines));
    m_State.fRequestedExposureTime = fMs;
    return nRet;
}

int CSensor30xxFamily::ReapplyExposureTime() {
    // The time asked for stays the one to keep.
    return SetExposureTime(m_State.fRequestedExposureTime);
}

int CSensor30xxFamily::GetExposureLines(int* pLines) const {
    SetOut(pLines, Shadow(COARSE_INTEGRATION_TIME));
    return RET_SUCCESS;
}

int CSensor30xxFamily::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinExposureLines);
    SetOut(pMax, kMaxExposureLines);
    return RET_SUCCESS;
}

int CSensor30xxFamily::GetExposureTimeRange(float* pMin, float* pMax) const {
    uint16_t wLine = 0;
    const int nRet = ChipLineLength(&wLine);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    const int64_t nFine = Shadow(FINE_INTEGRATION_TIME);
    SetOut(pMin, static_cast<float>(nFine + wLine) * m_Capability.T);
    SetOut(pMax, static_cast<float>(int64_t{wLine} * kMaxExposureLines + nFine) * m_Capability.T);
    return RET_SUCCESS;
}

int CSensor30xxFamily::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxGain);
    return RET_SUCCESS;
}

int CSensor30xxFamily::SetGain(GainColour colour, int nGain) {
    const uint16_t wGain = static_cast<uint16_t>(std::clamp(nGain, 0, kMaxGain));
    switch (colour) {
        case GainColour::Red:
            return WriteRegister(RED_GAIN, wGain);
        case GainColour::Green:
            WriteRegister(GREENR_GAIN, wGain);
            return WriteRegister(GREENB_GAIN, wGain);
        default:
            return WriteRegister(BLUE_GAIN, wGain);
    }
}

int CSensor30xxFamily::GetGain(GainColour colour, int* pGain) const {
    const uint16_t wAddress = colour == GainColour::Red     ? RED_GAIN
                              : colour == GainColour::Green ? GREENR_GAIN
                                                            : BLUE_GAIN;
    SetOut(pGain, Shadow(wAddress));
    return RET_SUCCESS;
}

int CSensor30xxFamily::SetBit(uint16_t wAddress, uint16_t wBit, bool bOn) {
    const uint16_t wValue = Shadow(wAddress);
    return WriteRegister(wAddress, static_cast<uint16_t>(bOn ? wValue | wBit : wValue & ~wBit));
}

int CSensor30xxFamily::GetStrobeEnable(bool* pbOn) const {
    SetOut(pbOn, true);
    return RET_SUCCESS;
}

int CSensor30xxFamily::SetStrobeInvert(bool bInvert) {
    SetBit(FLASH, 0x0080, bInvert);
    return SetBit(STROBE_CTRL, 0x0004, !bInvert);
}

int CSensor30xxFamily::GetStrobeInvert(bool* pbInvert) const {
    SetOut(pbInvert, (Shadow(FLASH) & 0x0080) != 0);
    return RET_SUCCESS;
}

int CSensor30xxFamily::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Shadow(READ_MODE) & 0x8000) != 0);
    return RET_SUCCESS;
}

int CSensor30xxFamily::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Shadow(READ_MODE) & 0x4000) != 0);
    return RET_SUCCESS;
}

int CSensor30xxFamily::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight,
                                int nAmCol, int nAmRow, uint16_t* pMultiFrames,
                                bool b16BitOutput) const {
    nRowStart &= ~1;
    FovRules rules;
    rules.bCheckRowCapability = true;
    return CheckFovWith(rules, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow, pMultiFrames,
                        b16BitOutput);
}

int CSensor30xxFamily::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol,
                              int nAmRow, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    const RoiLimits& roi = m_State.roi;
    const struct {
        uint16_t wAddress;
        int64_t nValue;
    } kWindow[] = {
        {X_ADDR_START, int64_t{nColStart} + roi.nColumnOffset},
        {X_ADDR_END, int64_t{roi.nColumnOffset} + nColStart + nWidth - 1},
        {Y_ADDR_START, int64_t{nRowStart} + roi.nRowOffset},
        {Y_ADDR_END, int64_t{roi.nRowOffset} + nRowStart + nHeight - 1},
    };
    for (const auto& reg : kWindow) {
        const int nRet = WriteRegister(reg.wAddress, WindowField(reg.nValue, 0xFFFF), pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    const int nRet = SetRowAddrMode(nAmRow, kBinning, pbChanged);
    return nRet != RET_SUCCESS ? nRet : SetColumnAddrMode(nAmCol, kBinning, pbChanged);
}

int CSensor30xxFamily::SetRowAddrMode(int nMode, bool bBin, uint8_t* pbChanged) {
    const int nCode = SkipCode(nMode);
    if (nCode < 0) {
        return RET_NOTSUPPORT;
    }
    // The row code in bits 0-5 (the bits above the code's cleared), the
    // binning bit 10.
    uint16_t wMode = Shadow(READ_MODE);
    wMode = static_cast<uint16_t>(wMode & ~(nMode == 0 ? 0x043E : nMode == 1 ? 0x043C : 0x0438));
    if (nMode != 0 && bBin) {
        wMode |= 0x0400;
    }
    WriteRegister(Y_ODD_INC, static_cast<uint16_t>(nCode), pbChanged);
    return WriteRegister(READ_MODE, static_cast<uint16_t>(wMode | nCode), pbChanged);
}

int CSensor30xxFamily::SetColumnAddrMode(int nMode, bool bBin, uint8_t* pbChanged) {
    const int nCode = SkipCode(nMode);
    if (nCode < 0) {
        return RET_NOTSUPPORT;
    }
    // The column code in bits 6-8, the binning bit 10.
    uint16_t wMode = static_cast<uint16_t>((Shadow(READ_MODE) & ~0x05C0) | (nCode << 6));
    if (nMode != 0 && bBin) {
        wMode |= 0x0400;
    }
    const int nRet = WriteRegister(X_ODD_INC, static_cast<uint16_t>(nCode), pbChanged);
    return nRet != RET_SUCCESS ? nRet : WriteRegister(READ_MODE, wMode, pbChanged);
}

int CSensor30xxFamily::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum,
                                    bool b16BitData) const {
    const uint16_t wMode = Shadow(READ_MODE);
    fov = MakeFieldOfView(Shadow(X_ADDR_START) - m_State.roi.nColumnOffset,
                          Shadow(Y_ADDR_START) - m_State.roi.nRowOffset,
                          Shadow(X_ADDR_END) - Shadow(X_ADDR_START) + 1,
                          Shadow(Y_ADDR_END) - Shadow(Y_ADDR_START) + 1,
                          ModeOfSkipCode((wMode >> 6) & 7), ModeOfSkipCode(wMode & 0x3F),
                          usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
