#include "sensors/Sensor3096.h"

#include <algorithm>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "sensors/FpgaStrobe.h"

namespace {

using Unit = CByteRegisterUnit;

constexpr uint16_t kGainRange = 0x21B;
constexpr Unit::Quantity kGain{0x21F, 2};
constexpr Unit::Quantity kFrameLength{0x22C, 3};
constexpr Unit::Quantity kLineLength{0x22F, 2};
constexpr Unit::Quantity kShutterStart{0x234, 3};
constexpr Unit::Quantity kExtraFrames{0x241, 2};
constexpr Unit::Quantity kLineCount{0x237, 2};
constexpr Unit::Quantity kColStart{0x39C, 2};
constexpr Unit::Quantity kWidth{0x39E, 2};
constexpr Unit::Quantity kRowStart{0x3A0, 2};
constexpr Unit::Quantity kHeight{0x3A2, 2};
constexpr uint16_t kFlipMirror = 0x20F;
constexpr uint16_t kReadout = 0x20E;
constexpr uint16_t kReadout2 = 0x210;
constexpr uint16_t kReadout3 = 0x20D;

constexpr int kFpgaExposureLow = 35;
constexpr int kFpgaLineLength = 37;
constexpr int kFpgaFrameLength = 38;
constexpr int kFpgaWidth = 1;
constexpr int kFpgaHeight = 2;

constexpr int64_t kMinCountedLines = 7;
constexpr int64_t kMaxCountedLines = 65535;

Unit::Layout Sensor3096Layout(bool bCountsLines) {
    Unit::Layout layout;
    layout.pszUnit = L"Sensor3096";
    layout.registers = {
        {0x21B},
        {0x21F},
        {0x220, 0x01, 0x01},
        {0x22C},
        {0x22D},
        {0x22E, 0x01, 0x01},
        {0x22F},
        {0x230},
        {0x234},
        {0x235},
        {0x236, 0x01, 0x01},
        {0x241},
        {0x242, 0x03, 0x03},
        {0x237},
        {0x238},
        {0x39C},
        {0x39D, 0x07, 0x07},
        {0x39E},
        {0x39F, 0x0F, 0x0F},
        {0x3A0},
        {0x3A1, 0x0F, 0x0F},
        {0x3A2},
        {0x3A3, 0x1F, 0x1F},
        {kFlipMirror},
        {0x215},
        {0x216, 0x0F, 0x0F},
        {kReadout},
        {kReadout2},
        {kReadout3},
    };
    layout.readOrder = {0x21B, 0x21F, 0x220, 0x22C, 0x22D, 0x22E, 0x22F, 0x230};
    if (bCountsLines) {
        layout.readOrder.insert(layout.readOrder.end(), {0x237, 0x238});
    } else {
        layout.readOrder.insert(layout.readOrder.end(), {0x234, 0x235, 0x236, 0x241, 0x242});
    }
    layout.readOrder.insert(layout.readOrder.end(),
                            {0x39C, 0x39D, 0x39E, 0x39F, 0x3A0, 0x3A1, 0x3A2, 0x3A3, kFlipMirror,
                             0x215, 0x216, kReadout, kReadout2, kReadout3});
    // The gain range select is read once and never written back.
    layout.restoreOrder.assign(layout.readOrder.begin() + 1, layout.readOrder.end());
    return layout;
}

int ModeDivisor(int nMode) {
    static constexpr int kDivisor[5] = {1, 2, 3, 4, 8};
    return kDivisor[nMode];
}

}  // namespace

CSensor3096::CSensor3096(CVendorRequests& vendor, const DeviceCapability& capability,
                         CLog* const& rpLog, SensorState& state, plat::CriticalSection& busLock,
                         ISensorHost& host, int32_t nDeviceType)
    : CByteRegisterUnit(vendor, capability, rpLog, state, busLock, nDeviceType,
                        Sensor3096Layout(nDeviceType == 121)),
      m_Host(host) {}

int CSensor3096::Init() {
    m_State.roi = {0, 0, 376, 320, 3096, 2080};
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_bGain510 = Byte(kGainRange) != 0;
    UpdateCurrentExposureTime();
    return RET_SUCCESS;
}

uint32_t CSensor3096::LineLength() const {
    return Value(kLineLength);
}
uint32_t CSensor3096::FrameLength() const {
    return Value(kFrameLength);
}
bool CSensor3096::TwoByTwo() const {
    return (Byte(kReadout) & 0x3F) == 0x23;
}

int64_t CSensor3096::Lines() const {
    if (CountsLines()) {
        return Value(kLineCount);
    }
    return (int64_t{Value(kExtraFrames)} + 1) * FrameLength() - Value(kShutterStart);
}

void CSensor3096::UpdateCurrentExposureTime() {
    m_State.fExposureTime = static_cast<float>(LineTime(LineLength()) *
                                               static_cast<double>(std::max<int64_t>(Lines(), 0)));
}

int CSensor3096::WriteCountedFrameLength() {
    const uint32_t nFrame =
        std::max<uint32_t>(Value(kHeight) + 30, static_cast<uint32_t>(Value(kLineCount)));
    const int nRet = WriteValue(kFrameLength, nFrame);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return m_Host.FpgaWrite(kFpgaFrameLength,
                            static_cast<uint16_t>(std::min<uint32_t>(nFrame, 0xFFFF)));
}

int CSensor3096::SetExposureLines(int64_t nLines) {
    if (CountsLines()) {
        const int64_t n = std::clamp(nLines, kMinCountedLines, kMaxCountedLines);
        m_State.fRequestedExposureTime =
            static_cast<float>(LineTime(LineLength()) * static_cast<double>(n));
        int nRet = WriteValue(kLineCount, static_cast<uint32_t>(n));
        if (nRet == RET_SUCCESS) {
            nRet = m_Host.FpgaWrite(kFpgaExposureLow, static_cast<uint16_t>(n));
        }
        return nRet == RET_SUCCESS ? WriteCountedFrameLength() : nRet;
    }
    // A frame length of 0 (a chip not yet programmed) counts as one line.
    const int64_t nFrame = std::max<uint32_t>(FrameLength(), 1);
    const int64_t n = std::max<int64_t>(std::min(nLines, nFrame * 1024), 1);
    m_State.fRequestedExposureTime =
        static_cast<float>(LineTime(LineLength()) * static_cast<double>(n));
    const int64_t nRest = n % nFrame;
    const int64_t nShutter = nRest == 0 ? 0 : nFrame - nRest;
    const int64_t nExtra = std::min<int64_t>(nRest == 0 ? n / nFrame - 1 : n / nFrame, 1023);
    const int nRet = WriteValue(kExtraFrames, static_cast<uint32_t>(nExtra));
    return nRet == RET_SUCCESS ? WriteValue(kShutterStart, static_cast<uint32_t>(nShutter)) : nRet;
}

int CSensor3096::SetExposureTime(float fMs) {
    return SetExposureLines(ExposureTimeToLines(fMs));
}

int CSensor3096::ReapplyExposureTime() {
    return SetExposureLines(ExposureTimeToLines(m_State.fRequestedExposureTime));
}

int CSensor3096::UpdateLineLength() {
    return WriteValue(kLineLength, TwoByTwo() ? 556 : Value(kWidth) / 4 + 401);
}

int CSensor3096::UpdateFrameLength() {
    return WriteValue(kFrameLength, Value(kHeight) + (TwoByTwo() ? 500 : 30));
}

void CSensor3096::OnRegisterWritten(uint16_t wAddress) {
    if (Covers(kShutterStart, wAddress) || Covers(kExtraFrames, wAddress) ||
        Covers(kLineCount, wAddress)) {
        UpdateCurrentExposureTime();
    } else if (CountsLines()) {
        // The window and the frame of 121 follow SetFov's own steps.
        if (Covers(kLineLength, wAddress)) {
            UpdateCurrentExposureTime();
        }
    } else if (Covers(kFrameLength, wAddress) || Covers(kLineLength, wAddress)) {
        ReapplyExposureTime();
    } else if (Covers(kWidth, wAddress)) {
        UpdateLineLength();
    } else if (Covers(kHeight, wAddress)) {
        UpdateFrameLength();
    } else if (wAddress == kReadout) {
        UpdateLineLength();
        UpdateFrameLength();
    }
}

int CSensor3096::OnUnlistedWrite(uint16_t wAddress, uint8_t byValue) {
    return m_Vendor.VendorCmd_WrSensorX(wAddress, byValue);
}

int CSensor3096::GetExposureLines(int* pLines) const {
    SetOut(pLines, std::min<int64_t>(Lines(), INT32_MAX));
    return RET_SUCCESS;
}

int CSensor3096::GetExposureLinesRange(int* pMin, int* pMax) const {
    if (CountsLines()) {
        SetOut(pMin, kMinCountedLines);
        SetOut(pMax, kMaxCountedLines);
    } else {
        SetOut(pMin, 1);
        SetOut(pMax, int64_t{FrameLength()} << 10);
    }
    return RET_SUCCESS;
}

float CSensor3096::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(LineTime(LineLength()) * static_cast<double>(nLines));
}

int64_t CSensor3096::ExposureTimeToLines(float fMs) const {
    const int64_t nLines = TimeToLines(fMs, LineLength(), 1);
    return CountsLines() && nLines < kMinCountedLines ? 1 : nLines;
}

int CSensor3096::GetExposureTimeRange(float* pMin, float* pMax) const {
    if (CountsLines()) {
        SetOut(pMin, ExposureLinesToTime(kMinCountedLines));
        SetOut(pMax, ExposureLinesToTime(kMaxCountedLines));
    } else {
        SetOut(pMin, ExposureLinesToTime(1));
        SetOut(pMax, ExposureLinesToTime(int64_t{FrameLength()} * 1024));
    }
    return RET_SUCCESS;
}

int CSensor3096::SetReadoutBit(uint8_t byBit, bool bOn) {
    const uint8_t byMode = Byte(kFlipMirror);
    if (((byMode & byBit) != 0) == bOn) {
        return RET_SUCCESS;
    }
    return WriteRegister(kFlipMirror, static_cast<uint8_t>(bOn ? byMode | byBit : byMode & ~byBit));
}

int CSensor3096::SetFlip(bool bFlip) {
    return CountsLines() ? RET_NOTSUPPORT : SetReadoutBit(0x01, bFlip);
}

int CSensor3096::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Byte(kFlipMirror) & 0x01) != 0);
    return RET_SUCCESS;
}

int CSensor3096::SetMirror(bool bMirror) {
    return SetReadoutBit(0x02, bMirror);
}

int CSensor3096::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Byte(kFlipMirror) & 0x02) != 0);
    return RET_SUCCESS;
}

int CSensor3096::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, m_bGain510 ? 510 : 480);
    return RET_SUCCESS;
}

int CSensor3096::SetGain(GainColour /*colour*/, int nGain) {
    return WriteValue(kGain, static_cast<uint32_t>(std::clamp(nGain, 0, m_bGain510 ? 510 : 480)));
}

int CSensor3096::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, Value(kGain));
    return RET_SUCCESS;
}

int CSensor3096::SetStrobeEnable(bool bOn) {
    return FpgaStrobeEnableSet(m_Host, m_Capability, bOn);
}
int CSensor3096::GetStrobeEnable(bool* pbOn) const {
    return FpgaStrobeEnableGet(m_Host, m_Capability, pbOn);
}
int CSensor3096::SetStrobeInvert(bool bInvert) {
    return FpgaStrobeInvertSet(m_Host, m_Capability, bInvert);
}
int CSensor3096::GetStrobeInvert(bool* pbInvert) const {
    return FpgaStrobeInvertGet(m_Host, m_Capability, pbInvert);
}

int CSensor3096::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                          int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
    if (nAmCol != nAmRow || nAmCol < 0 || nAmCol > 4) {
        return RET_PARAMERROR;
    }
    if (!ModeAllowed(nAmCol)) {
        return RET_NOTSUPPORT;
    }
    // Starts round down (the window grows toward the origin), sizes up.
    nColStart = nColStart < 0 ? 0 : nColStart / 4 * 4;
    nRowStart = nRowStart < 0 ? 0 : nRowStart / 2 * 2;
    const RoiLimits& roi = m_State.roi;
    AlignUpAndClamp(nColStart, nWidth, 4, roi.nMinWidth, roi.nMaxWidth);
    AlignUpAndClamp(nRowStart, nHeight, 2, roi.nMinHeight, roi.nMaxHeight);
    LimitMultiFrames(pMultiFrames, nWidth / ModeDivisor(nAmCol), nHeight / ModeDivisor(nAmRow),
                     b16BitData);
    return RET_SUCCESS;
}

int CSensor3096::WriteReadoutMode(int nRowMode, uint8_t* pbChanged) {
    const uint8_t byMode = Byte(kReadout);
    const uint8_t byMode3 = Byte(kReadout3);
    uint8_t byNew = 0, byNew3 = 0, byNew2 = 0;
    if (nRowMode == 1) {
        byNew = static_cast<uint8_t>((byMode & 0xE3) | 0x23);
        byNew3 = static_cast<uint8_t>(byMode3 & ~0x03);
        byNew2 = 1;
    } else if (nRowMode == 0) {
        byNew = static_cast<uint8_t>(byMode & 0xC0);
        byNew3 = static_cast<uint8_t>((byMode3 & ~0x02) | 0x01);
        byNew2 = 0;
    } else {
        return RET_NOTSUPPORT;
    }
    int nRet = WriteRegister(kReadout2, byNew2, pbChanged);
    if (nRet == RET_SUCCESS) {
        nRet = WriteRegister(kReadout3, byNew3, pbChanged);
    }
    return nRet == RET_SUCCESS ? WriteRegister(kReadout, byNew, pbChanged) : nRet;
}

int CSensor3096::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int /*nAmCol*/,
                        int nAmRow, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    const auto field = [](int nValue, uint32_t nMax) {
        return static_cast<uint32_t>(std::clamp<int64_t>(nValue, 0, nMax));
    };
    int nRet = WriteValue(kColStart, field(nColStart, 0x7FF));
    if (nRet == RET_SUCCESS) {
        nRet = WriteValue(kRowStart, field(nRowStart, 0xFFF));
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteValue(kWidth, field(nWidth, 0xFFF), pbChanged);
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteValue(kHeight, field(nHeight, 0x1FFF), pbChanged);
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteReadoutMode(nAmRow, pbChanged);
    }
    if (nRet != RET_SUCCESS || !CountsLines()) {
        return nRet;
    }
    const uint32_t nWindowWidth = Value(kWidth);
    for (const auto& reg : {std::pair<int, uint32_t>{kFpgaWidth, nWindowWidth},
                            std::pair<int, uint32_t>{kFpgaHeight, Value(kHeight)}}) {
        nRet = m_Host.FpgaWrite(reg.first, static_cast<uint16_t>(reg.second));
        if (nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT) {
            return nRet;
        }
    }
    const uint32_t nLine = nWindowWidth < 1344 ? 704 : 2 * (nWindowWidth / 4) + 32;
    nRet = WriteValue(kLineLength, nLine);
    if (nRet == RET_SUCCESS) {
        nRet = m_Host.FpgaWrite(kFpgaLineLength, static_cast<uint16_t>(nLine));
    }
    if (nRet == RET_SUCCESS) {
        nRet = SetExposureLines(ExposureTimeToLines(m_State.fRequestedExposureTime));
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteCountedFrameLength();
    }
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_Host.EmptyCameraFrameBuffer();
    return RET_SUCCESS;
}

int CSensor3096::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    const int nMode = TwoByTwo() ? 1 : 0;
    fov = MakeFieldOfView(static_cast<int>(Value(kColStart)), static_cast<int>(Value(kRowStart)),
                          static_cast<int>(Value(kWidth)), static_cast<int>(Value(kHeight)), nMode,
                          nMode, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
