#include "sensors/CcdAD9923A.h"

#include <algorithm>
#include <cmath>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"
#include "sensors/ColumnBlockFov.h"

namespace {

// What Init writes into the front end.
constexpr uint32_t kStartVgaGain = 180;
constexpr uint32_t kStartClampLevel = 0;
constexpr uint32_t kStartCdsGain = 1;
constexpr uint32_t kStartFrameCount = 0x1000;
constexpr uint32_t kStartShutterPosition = 0x1000;

constexpr int kMaxVgaGain = 1023;
constexpr int kMaxClampLevel = 1023;
constexpr int kMaxCdsGain = 3;

}  // namespace

bool CCcdAD9923A::ModelOf(int32_t nDeviceType, Model& model) {
    switch (nDeviceType) {
        case 46:
        case 47:
            model = Model{1068, 1790, 1360, 1024, 0, 0x42C000};
            return true;
        case 48:
        case 49:
            model = Model{1493, 1920, 1628, 1236, 1, 0x5D5000};
            return true;
        case 50:
        case 51:
            model = Model{1068, 1790, 1360, 1024, 1, 0x42C000};
            return true;
        case 90:
        case 91:
            model = Model{2136, 1790, 1360, 1024, 0, 0x858000};
            return true;
        default:
            return false;
    }
}

CCcdAD9923A::CCcdAD9923A(CVendorRequests& vendor, const DeviceCapability& capability,
                         SensorState& state, ISensorHost& host, int32_t nDeviceType)
    : m_Vendor(vendor),
      m_Capability(capability),
      m_State(state),
      m_Host(host),
      m_nDeviceType(nDeviceType) {
    ModelOf(nDeviceType, m_Model);
}

CCcdAD9923A::Slot* CCcdAD9923A::SlotOf(uint16_t wRegister) {
    for (Slot& slot : m_Shadow) {
        if (slot.wRegister == wRegister) {
            return &slot;
        }
    }
    return nullptr;
}

uint32_t CCcdAD9923A::Shadow(uint16_t wRegister) const {
    for (const Slot& slot : m_Shadow) {
        if (slot.wRegister == wRegister) {
            return slot.nValue;
        }
    }
    return 0;
}

int CCcdAD9923A::WriteStartUpValues() {
    for (Slot& slot : m_Shadow) {
        slot.nValue = 0;
    }
    const Slot kDirect[] = {{VGA_GAIN, kStartVgaGain},
                            {CLAMP_LEVEL, kStartClampLevel},
                            {CDS_GAIN, kStartCdsGain},
                            {FRAME_COUNT, kStartFrameCount}};
    for (const Slot& write : kDirect) {
        const int nRet = m_Vendor.VendorCmd_WrAD9923AReg(write.wRegister, write.nValue);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        // Kept, so the restore and the gain getters see what the front end
        // holds.
        SlotOf(write.wRegister)->nValue = write.nValue;
    }
    return WrReg(SHUTTER_POSITION, kStartShutterPosition);
}

int CCcdAD9923A::Init() {
    if (m_Model.nLinesPerFrame == 0) {
        return RET_NOTSUPPORT;
    }
    const RoiLimits roi{0, 0, m_Model.nWidth, m_Model.nHeight, m_Model.nWidth, m_Model.nHeight};
    // Types 46 and 47 take their window limits only once the front end runs.
    const bool bLimitsAfter = m_nDeviceType == 46 || m_nDeviceType == 47;
    if (!bLimitsAfter) {
        m_State.roi = roi;
    }
    const int nRet = WriteStartUpValues();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_State.roi = roi;
    UpdateExposureTime();
    return RET_SUCCESS;
}

uint32_t CCcdAD9923A::SentShutterPosition(uint32_t nValue) const {
    // Counted from the other end of the frame, as a plain number of lines.
    return Inverted() ? m_Model.nLinesPerFrame - (nValue >> 12) : nValue;
}

int CCcdAD9923A::WrReg(uint16_t wRegister, uint32_t nValue) {
    Slot* pSlot = SlotOf(wRegister);
    if (pSlot == nullptr) {
        return RET_NOTSUPPORT;
    }
    if (pSlot->nValue == nValue) {
        return RET_SUCCESS;
    }
    const uint32_t nSent = wRegister == SHUTTER_POSITION ? SentShutterPosition(nValue) : nValue;
    const int nRet = m_Vendor.VendorCmd_WrAD9923AReg(wRegister, nSent);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    pSlot->nValue = wRegister == SHUTTER_POSITION && Inverted()
                        ? ((m_Model.nLinesPerFrame - nSent) << 12) & 0xFFF000
                        : nValue;
    if (wRegister == FRAME_COUNT || wRegister == SHUTTER_POSITION) {
        UpdateExposureTime();
    }
    return RET_SUCCESS;
}

int CCcdAD9923A::RestoreRegisters() {
    for (uint16_t wRegister : {VGA_GAIN, CLAMP_LEVEL, CDS_GAIN, SHUTTER_POSITION, FRAME_COUNT}) {
        const uint32_t nValue = Shadow(wRegister);
        const int nRet = m_Vendor.VendorCmd_WrAD9923AReg(
            wRegister, wRegister == SHUTTER_POSITION ? SentShutterPosition(nValue) : nValue);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CCcdAD9923A::GetExposureLines(int* pLines) const {
    const int64_t nLines = int64_t{(Shadow(FRAME_COUNT) & 0xFFF) + 1} * m_Model.nLinesPerFrame -
                           ((Shadow(SHUTTER_POSITION) >> 12) & 0xFFF);
    SetOut(pLines, nLines);
    return RET_SUCCESS;
}

void CCcdAD9923A::UpdateExposureTime() {
    int nLines = 0;
    GetExposureLines(&nLines);
    m_State.fExposureTime = ExposureLinesToTime(nLines);
}

int CCcdAD9923A::GetExposureTime(float* pMs) const {
    SetOut(pMs, m_State.fExposureTime);
    return RET_SUCCESS;
}

float CCcdAD9923A::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(static_cast<double>(nLines) * LineTime());
}

int64_t CCcdAD9923A::ExposureTimeToLines(float fMs) const {
    if (!(LineTime() > 0.0) || !(fMs > 0.0f)) {
        return m_Model.nMinLines;
    }
    return SaturatedCast<int64_t>(std::trunc(double{fMs} / LineTime() + 0.5));
}

int CCcdAD9923A::SetExposureLines(int nLines) {
    // Whole frames and the lines of the last one; the frame count's 12 bits
    // hold up to N x 4096 - 1 lines.
    const uint32_t N = m_Model.nLinesPerFrame;
    const int64_t nLongest = int64_t{N} * 4096 - 1;
    const uint32_t n = static_cast<uint32_t>(std::clamp<int64_t>(nLines, 0, nLongest));
    const uint32_t q = n / N;
    const uint32_t r = n % N;
    const int nRet = WrReg(SHUTTER_POSITION, ((N - r) << 12) & 0xFFF000);
    return nRet != RET_SUCCESS ? nRet : WrReg(FRAME_COUNT, q & 0xFFF);
}

int CCcdAD9923A::SetExposureTime(float fMs) {
    m_State.fRequestedExposureTime = fMs;
    return SetExposureLines(
        static_cast<int>(std::clamp<int64_t>(ExposureTimeToLines(fMs), 0, m_Model.nMaxLines)));
}

int CCcdAD9923A::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, m_Model.nMinLines);
    SetOut(pMax, m_Model.nMaxLines);
    return RET_SUCCESS;
}

int CCcdAD9923A::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(m_Model.nMinLines));
    SetOut(pMax, ExposureLinesToTime(m_Model.nMaxLines));
    return RET_SUCCESS;
}

int CCcdAD9923A::GetGainRange(int* pMin, int* pMax) const {
    return GetFrontEndRange(FrontEnd::VgaGain, pMin, pMax);
}

namespace {
CSensorUnit::FrontEnd FrontEndOf(CSensorUnit::GainColour colour) {
    return colour == CSensorUnit::GainColour::Red     ? CSensorUnit::FrontEnd::VgaGain
           : colour == CSensorUnit::GainColour::Green ? CSensorUnit::FrontEnd::ClampLevel
                                                      : CSensorUnit::FrontEnd::CdsGain;
}
}  // namespace

int CCcdAD9923A::SetGain(GainColour colour, int nGain) {
    return SetFrontEnd(FrontEndOf(colour), nGain);
}

int CCcdAD9923A::GetGain(GainColour colour, int* pGain) const {
    return GetFrontEnd(FrontEndOf(colour), pGain);
}

int CCcdAD9923A::GetFrontEndRange(FrontEnd which, int* pMin, int* pMax) const {
    SetOut(pMin, which == FrontEnd::VgaGain ? 1 : 0);
    SetOut(pMax, which == FrontEnd::CdsGain ? kMaxCdsGain : kMaxVgaGain);
    return RET_SUCCESS;
}

int CCcdAD9923A::SetFrontEnd(FrontEnd which, int nValue) {
    switch (which) {
        case FrontEnd::VgaGain:
            return WrReg(VGA_GAIN, (Shadow(VGA_GAIN) & ~0x3FFu) |
                                       static_cast<uint32_t>(std::clamp(nValue, 1, kMaxVgaGain)));
        case FrontEnd::ClampLevel:
            return WrReg(CLAMP_LEVEL,
                         (Shadow(CLAMP_LEVEL) & ~0x3FFu) |
                             static_cast<uint32_t>(std::clamp(nValue, 0, kMaxClampLevel)));
        default:
            return WrReg(CDS_GAIN, (Shadow(CDS_GAIN) & ~0x3u) |
                                       static_cast<uint32_t>(std::clamp(nValue, 0, kMaxCdsGain)));
    }
}

int CCcdAD9923A::GetFrontEnd(FrontEnd which, int* pValue) const {
    SetOut(pValue, which == FrontEnd::VgaGain      ? Shadow(VGA_GAIN) & 0x3FF
                   : which == FrontEnd::ClampLevel ? Shadow(CLAMP_LEVEL) & 0x3FF
                                                   : Shadow(CDS_GAIN) & 3);
    return RET_SUCCESS;
}

int CCcdAD9923A::SetWorkingModeBit(uint16_t wBit, bool bOn) {
    if (!HasFpgaStrobe()) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wMode = m_Host.FpgaShadow(0);
    return m_Host.FpgaWrite(0, static_cast<uint16_t>(bOn ? wMode | wBit : wMode & ~wBit));
}

int CCcdAD9923A::GetWorkingModeBit(uint16_t wBit, bool* pbOn) const {
    if (!HasFpgaStrobe()) {
        return RET_NOTSUPPORT;
    }
    SetOut(pbOn, (m_Host.FpgaShadow(0) & wBit) != 0);
    return RET_SUCCESS;
}

int CCcdAD9923A::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                          int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    return CheckColumnBlockFov(m_Capability, m_State.roi, nColStart, nRowStart, nWidth, nHeight,
                               nAmCol, nAmRow, pMultiFrames, b16BitOutput);
}

int CCcdAD9923A::SetFov(int /*nColStart*/, int /*nRowStart*/, int /*nWidth*/, int /*nHeight*/,
                        int /*nAmCol*/, int /*nAmRow*/, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    return RET_SUCCESS;
}

int CCcdAD9923A::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    fov = MakeFieldOfView(0, 0, m_State.roi.nMaxWidth, m_State.roi.nMaxHeight, 0, 0,
                          usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
