#include "sensors/IMX290.h"

#include <algorithm>
#include <mutex>

#include "ZDQApi.h"
#include "common/OutParam.h"

namespace {

using Unit = CByteRegisterUnit;

constexpr Unit::Quantity kHmax{0x21C, 2};
constexpr Unit::Quantity kVmax{0x218, 3};
constexpr Unit::Quantity kShs{0x220, 3};
constexpr Unit::Quantity kGain{0x214, 1};
constexpr Unit::Quantity kBlackLevel{0x20A, 2};
constexpr Unit::Quantity kWindowOb{0x23A, 1};
constexpr Unit::Quantity kColStart{0x240, 2};
constexpr Unit::Quantity kRowStart{0x23C, 2};
constexpr Unit::Quantity kWidth{0x242, 2};
constexpr Unit::Quantity kHeight{0x23E, 2};
constexpr Unit::Quantity kOutHeight{0x618, 2};
constexpr Unit::Quantity kOutWidth{0x672, 2};
constexpr uint16_t kReverse = 0x207;
constexpr uint32_t kEighteenBits = 0x3FFFF;
constexpr uint32_t kWindowBits = 0x7FF;

Unit::Layout Imx290Layout() {
    Unit::Layout layout;
    layout.pszUnit = L"IMX290";
    layout.readOrder = {0x21C, 0x21D, 0x218, 0x219, 0x21A, 0x220, 0x221, 0x222, 0x214,
                        0x20A, 0x20B, 0x23A, 0x240, 0x241, 0x23C, 0x23D, 0x242, 0x243,
                        0x23E, 0x23F, 0x618, 0x619, 0x672, 0x673, 0x207};
    for (uint16_t wAddress : layout.readOrder) {
        layout.registers.push_back({wAddress});
    }
    layout.restoreOrder = layout.readOrder;
    layout.dump = {{L"HMAX", kHmax},
                   {L"VMAX", kVmax},
                   {L"SHS", kShs},
                   {L"GAIN", kGain},
                   {L"BLKLEVEL", kBlackLevel},
                   {L"WINWV_OB", kWindowOb},
                   {L"ROIPH1", kColStart},
                   {L"ROIPV1", kRowStart},
                   {L"ROIWH1", kWidth},
                   {L"ROIWV1", kHeight},
                   {L"Y_OUT_SIZE", kOutHeight},
                   {L"X_OUT_SIZE", kOutWidth},
                   {L"REVERSE", {kReverse, 1}}};
    layout.bDumpRule = false;
    return layout;
}

}  // namespace

CIMX290::CIMX290(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType)
    : CByteRegisterUnit(vendor, capability, rpLog, state, busLock, nDeviceType, Imx290Layout()) {}

int CIMX290::Init() {
    m_State.roi = {0, 0, 368, 304, 1944, 1096};
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    LogRegisters();
    UpdateCurrentExposureTime();
    return RET_SUCCESS;
}

uint32_t CIMX290::Hmax() const {
    return Value(kHmax);
}
uint32_t CIMX290::Vmax() const {
    return Value(kVmax) & kEighteenBits;
}
uint32_t CIMX290::Shs() const {
    return Value(kShs) & kEighteenBits;
}

int64_t CIMX290::Lines() const {
    return int64_t{Vmax()} - Shs() - 1;
}

void CIMX290::UpdateCurrentExposureTime() {
    // Between the frame length and the shutter writes the two may not yet
    // agree: no exposure is shorter than none.
    m_State.fExposureTime =
        static_cast<float>(LineTime(Hmax()) * static_cast<double>(std::max<int64_t>(Lines(), 0)));
}

int CIMX290::SetExposureLines(int64_t nLines) {
    const int64_t n = std::clamp<int64_t>(nLines, 1, kMaxLines);
    m_State.fRequestedExposureTime = static_cast<float>(LineTime(Hmax()) * static_cast<double>(n));
    // The shortest frame the window allows.
    const int64_t nShortest =
        int64_t{Value(kHeight) & kWindowBits} + (Value(kWindowOb) & 0x0F) + 13;
    const bool bStretch = n > nShortest - 2;
    const int64_t nVmax = bStretch ? n + 2 : nShortest;
    const int64_t nShs = bStretch ? 1 : nShortest - n - 1;
    {
        plat::CriticalSectionLock bus(m_BusLock);
        const int nRet = WriteValue(kVmax, static_cast<uint32_t>(nVmax));
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return WriteValue(kShs, static_cast<uint32_t>(nShs));
}

int CIMX290::SetExposureTime(float fMs) {
    return SetExposureLines(ExposureTimeToLines(fMs));
}

void CIMX290::OnRegisterWritten(uint16_t wAddress) {
    if (Covers(kVmax, wAddress) || Covers(kShs, wAddress)) {
        UpdateCurrentExposureTime();
    } else if (Covers(kHeight, wAddress)) {
        // The frame follows the new height; the exposure stays.
        SetExposureLines(std::max<int64_t>(Lines(), 1));
    }
}

int CIMX290::GetExposureLines(int* pLines) const {
    SetOut(pLines, Lines());
    return RET_SUCCESS;
}

int CIMX290::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, 1);
    SetOut(pMax, kMaxLines);
    return RET_SUCCESS;
}

float CIMX290::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(LineTime(Hmax()) * static_cast<double>(nLines));
}

int64_t CIMX290::ExposureTimeToLines(float fMs) const {
    return TimeToLines(fMs, Hmax(), 1);
}

int CIMX290::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(1));
    SetOut(pMax, ExposureLinesToTime(kMaxLines));
    return RET_SUCCESS;
}

int CIMX290::SetReverseBit(uint8_t byBit, bool bOn) {
    const uint8_t byReverse = Byte(kReverse);
    return WriteRegister(kReverse,
                         static_cast<uint8_t>(bOn ? byReverse | byBit : byReverse & ~byBit));
}

int CIMX290::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Byte(kReverse) & 0x01) != 0);
    return RET_SUCCESS;
}

int CIMX290::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Byte(kReverse) & 0x02) != 0);
    return RET_SUCCESS;
}

int CIMX290::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxGain);
    return RET_SUCCESS;
}

int CIMX290::SetGain(GainColour /*colour*/, int nGain) {
    return WriteRegister(kGain.wLow, static_cast<uint8_t>(std::clamp(nGain, 0, kMaxGain)));
}

int CIMX290::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, Byte(kGain.wLow));
    return RET_SUCCESS;
}

int CIMX290::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                      int /*nAmRow*/, uint16_t* pMultiFrames, bool b16BitData) const {
    if (!ModeAllowed(nAmCol)) {
        return RET_NOTSUPPORT;
    }
    const RoiLimits& roi = m_State.roi;
    AlignUpAndClamp(nColStart, nWidth, 4, roi.nMinWidth, roi.nMaxWidth);
    AlignUpAndClamp(nRowStart, nHeight, 4, roi.nMinHeight, roi.nMaxHeight);
    LimitMultiFrames(pMultiFrames, nWidth, nHeight, b16BitData);
    return RET_SUCCESS;
}

int CIMX290::WriteWindowValue(Quantity quantity, int nValue, uint8_t* pbChanged) {
    const uint32_t nField = static_cast<uint32_t>(std::clamp<int64_t>(nValue, 0, kWindowBits));
    return WriteValue(quantity, (Value(quantity) & ~kWindowBits) | nField, pbChanged);
}

int CIMX290::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int /*nAmCol*/,
                    int /*nAmRow*/, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    int nRet = WriteWindowValue(kColStart, nColStart, nullptr);
    if (nRet == RET_SUCCESS) {
        nRet = WriteWindowValue(kRowStart, nRowStart, nullptr);
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteWindowValue(kWidth, nWidth, pbChanged);
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteWindowValue(kHeight, nHeight, pbChanged);
    }
    return nRet;
}

int CIMX290::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    fov = MakeFieldOfView(static_cast<int>(Value(kColStart) & kWindowBits),
                          static_cast<int>(Value(kRowStart) & kWindowBits),
                          static_cast<int>(Value(kWidth) & kWindowBits),
                          static_cast<int>(Value(kHeight) & kWindowBits), 0, 0, usMultiFrameNum,
                          b16BitData);
    return RET_SUCCESS;
}
