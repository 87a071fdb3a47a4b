#include "sensors/GlobalResetUnit.h"

#include <algorithm>
#include <utility>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "sensors/FpgaStrobe.h"

namespace {
constexpr int kFpgaWorkingMode = 0;
constexpr int kFpgaExposureLow = 35;
constexpr int kFpgaExposureHigh = 36;
constexpr int kFpgaFrameLength = 38;
constexpr int kFpgaPreExposureStart = 50;
constexpr int kFpgaPreExposureLength = 51;
constexpr int kFpgaExposureEnd = 52;
constexpr uint16_t kMaxPreExposureLines = 0xFFF5;
constexpr uint32_t kSettleMs = 50;

uint16_t Saturated16(int64_t nValue) {
    return static_cast<uint16_t>(std::clamp<int64_t>(nValue, 0, 0xFFFF));
}
}  // namespace

CGlobalResetUnit::CGlobalResetUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                                   CLog* const& rpLog, SensorState& state,
                                   plat::CriticalSection& busLock, ISensorHost& host,
                                   int32_t nDeviceType, Layout layout)
    : CByteRegisterUnit(vendor, capability, rpLog, state, busLock, nDeviceType, std::move(layout)),
      m_Host(host) {}

bool CGlobalResetUnit::TriggerState() const {
    return (m_Host.FpgaShadow(kFpgaWorkingMode) & 0x1001) != 0;
}

int64_t CGlobalResetUnit::MaxLines() const {
    return HasGlobalReset() ? kMaxGlobalResetLines : int64_t{m_nFrameLength} * 65536;
}

int64_t CGlobalResetUnit::LinesOfRegisters() const {
    if (!HasGlobalReset()) {
        return (int64_t{Value(kSvr)} + 1) * m_nFrameLength - Value(kShr);
    }
    if (TriggerState()) {
        return int64_t{m_Host.FpgaShadow(kFpgaExposureLow)} |
               (int64_t{m_Host.FpgaShadow(kFpgaExposureHigh)} << 16);
    }
    // A frame length the FPGA was never given is the sensor's. (Only the
    // reading counts it so: a shadow set to it would make the first real
    // write of that value look unchanged, and the FPGA would never get it.)
    const uint16_t wFrame = m_Host.FpgaShadow(kFpgaFrameLength);
    return int64_t{wFrame != 0 ? wFrame : m_nFrameLength} - Value(kShr) + 1;
}

int64_t CGlobalResetUnit::Lines() const {
    return LinesOfRegisters();
}

void CGlobalResetUnit::UpdateExposureTime() {
    m_State.fExposureTime = static_cast<float>(LineTime(m_nLineLength) *
                                               static_cast<double>(std::max<int64_t>(Lines(), 0)));
}

int CGlobalResetUnit::SetExposureLines(int64_t nLines) {
    const bool bGlobalReset = HasGlobalReset();
    // SVR is 16 bits wide: the longest split exposure keeps it there.
    const int64_t nMax = bGlobalReset ? kMaxGlobalResetLines : MaxLines() - 10;
    const int64_t n = std::clamp(nLines, MinLines(), std::max(nMax, MinLines()));
    m_State.fRequestedExposureTime =
        static_cast<float>(LineTime(m_nLineLength) * static_cast<double>(n));
    const int64_t nFrame = std::max<uint32_t>(m_nFrameLength, 1);
    int64_t nSvr = 0, nShr = 0, nFpgaFrame = nFrame, nStart = 10, nEnd = 0;
    if (!bGlobalReset) {
        nSvr = (n + 9) / nFrame;
        nShr = nFrame * (nSvr + 1) - n;
    } else if (TriggerState()) {
        nStart = int64_t{m_wPreExposureLines} + 10;
        nShr = nStart;
        nEnd = (Byte(kGlobalResetRegister) & 0x01) != 0 ? n + nStart : n + nStart + nFrame;
    } else {
        nFpgaFrame = std::max(n + 9, nFrame);
        nShr = nFpgaFrame - n + 1;
        nEnd = n + m_wPreExposureLines + 10;
    }
    int nRet = WriteValue(kSvr, static_cast<uint32_t>(nSvr));
    if (nRet == RET_SUCCESS) {
        nRet = WriteValue(kShr, Saturated16(nShr));
    }
    if (nRet != RET_SUCCESS || !bGlobalReset) {
        return nRet;
    }
    const std::pair<int, uint16_t> fpga[] = {
        {kFpgaExposureLow, static_cast<uint16_t>(n & 0xFFFF)},
        {kFpgaExposureHigh, static_cast<uint16_t>(n >> 16)},
        {kFpgaFrameLength, Saturated16(nFpgaFrame)},
        {kFpgaPreExposureStart, Saturated16(nStart)},
        {kFpgaPreExposureLength, 10},
        {kFpgaExposureEnd, Saturated16(nEnd)},
    };
    for (const auto& reg : fpga) {
        nRet = m_Host.FpgaWrite(reg.first, reg.second);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    UpdateExposureTime();
    return RET_SUCCESS;
}

int CGlobalResetUnit::SetExposureTime(float fMs) {
    return SetExposureLines(ExposureTimeToLines(fMs));
}

void CGlobalResetUnit::OnRegisterWritten(uint16_t wAddress) {
    if (wAddress == kReadoutMode) {
        SetTimingOfMode(Byte(kReadoutMode));
        SetExposureLines(ExposureTimeToLines(m_State.fRequestedExposureTime));
        SetPreExposure();
    } else if (wAddress == kGlobalResetRegister) {
        SetPreExposure();
    } else if (Covers(kShr, wAddress) || Covers(kSvr, wAddress)) {
        UpdateExposureTime();
    }
}

int CGlobalResetUnit::SetPreExposure() {
    if (!PreExposureApplies()) {
        return RET_SUCCESS;
    }
    uint8_t bChanged = 0;
    const uint8_t byReset = Byte(kGlobalResetRegister);
    const bool bOn = TriggerState() && m_bGlobalReset;
    WriteRegister(kGlobalResetRegister,
                  static_cast<uint8_t>(bOn ? byReset | 0x01 : byReset & ~0x01), &bChanged);
    SetExposureLines(int64_t{m_Host.FpgaShadow(kFpgaExposureLow)} |
                     (int64_t{m_Host.FpgaShadow(kFpgaExposureHigh)} << 16));
    const int nRet = WriteModeTiming(&bChanged);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (bChanged != 0) {
        m_Host.SettleSensor(kSettleMs);
    }
    return RET_SUCCESS;
}

void CGlobalResetUnit::StorePreExposureLines(int64_t nLines) {
    m_wPreExposureLines =
        static_cast<uint16_t>(std::clamp<int64_t>(nLines, 0, kMaxPreExposureLines));
}

int CGlobalResetUnit::GetPreExposureRange(int* pMin, int* pMax) const {
    if (!HasGlobalReset()) {
        return RET_NOTSUPPORT;
    }
    SetOut(pMin, 0);
    SetOut(pMax, kMaxPreExposureLines);
    return RET_SUCCESS;
}

int CGlobalResetUnit::SetPreExposureLines(int nLines) {
    StorePreExposureLines(nLines);
    SetPreExposure();
    return RET_SUCCESS;
}

int CGlobalResetUnit::GetPreExposureLines(int* pLines) const {
    SetOut(pLines, m_wPreExposureLines);
    return RET_SUCCESS;
}

int CGlobalResetUnit::GetPreExposureTime(float* pMs) const {
    SetOut(pMs, LineTime(m_nLineLength) * m_wPreExposureLines);
    return RET_SUCCESS;
}

int CGlobalResetUnit::GetGlobalResetShutter(bool* pbOn) const {
    if (!HasGlobalReset() || !TriggerState()) {
        return RET_NOTSUPPORT;
    }
    SetOut(pbOn, m_bGlobalReset);
    return RET_SUCCESS;
}

int CGlobalResetUnit::GetExposureLines(int* pLines) const {
    SetOut(pLines, std::min<int64_t>(LinesOfRegisters(), INT32_MAX));
    return RET_SUCCESS;
}

int CGlobalResetUnit::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, MinLines());
    SetOut(pMax, std::min<int64_t>(MaxLines(), INT32_MAX));
    return RET_SUCCESS;
}

float CGlobalResetUnit::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(LineTime(m_nLineLength) * static_cast<double>(nLines));
}

int64_t CGlobalResetUnit::ExposureTimeToLines(float fMs) const {
    return TimeToLines(fMs, m_nLineLength, MinLines());
}

int CGlobalResetUnit::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(MinLines()));
    SetOut(pMax, ExposureLinesToTime(MaxLines()));
    return RET_SUCCESS;
}

int CGlobalResetUnit::SetFlip(bool bFlip) {
    const uint8_t byFlip = Byte(kFlipRegister);
    return WriteRegister(kFlipRegister,
                         static_cast<uint8_t>(bFlip ? byFlip | 0x01 : byFlip & ~0x01));
}

int CGlobalResetUnit::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Byte(kFlipRegister) & 0x01) != 0);
    return RET_SUCCESS;
}

int CGlobalResetUnit::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxGain);
    return RET_SUCCESS;
}

int CGlobalResetUnit::SetGain(GainColour /*colour*/, int nGain) {
    return WriteValue(kPgc, static_cast<uint32_t>(std::clamp(nGain, 0, kMaxGain)));
}

int CGlobalResetUnit::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, Value(kPgc));
    return RET_SUCCESS;
}

int CGlobalResetUnit::SetStrobeEnable(bool bOn) {
    return FpgaStrobeEnableSet(m_Host, m_Capability, bOn);
}
int CGlobalResetUnit::GetStrobeEnable(bool* pbOn) const {
    return FpgaStrobeEnableGet(m_Host, m_Capability, pbOn);
}
int CGlobalResetUnit::SetStrobeInvert(bool bInvert) {
    return FpgaStrobeInvertSet(m_Host, m_Capability, bInvert);
}
int CGlobalResetUnit::GetStrobeInvert(bool* pbInvert) const {
    return FpgaStrobeInvertGet(m_Host, m_Capability, pbInvert);
}
