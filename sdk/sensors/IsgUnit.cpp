#include "sensors/IsgUnit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"
#include "sensors/FpgaStrobe.h"

namespace {

using Unit = CByteRegisterUnit;

constexpr int kFpgaColumnStart = 43;
constexpr int kFpgaColumnWidth = 44;

const CIsgUnit::Map kIsg1307 = {
    L"ISG1307",
    /*wGain*/ 0x1E,
    /*start*/ {0x15B, 2, 12},
    /*rows*/ {0x159, 2, 12},
    /*exposure*/ {0x194, 3, 24},
    /*wFlip*/ 0x185,
    /*byFlipBit*/ 0x40,
    /*bFlipBitSetWhenFlipped*/ false,
    /*nMaxExposureLines*/ 32767,
    /*roi*/ {0, 0, 160, 1, 1280, 1024},
    /*bCropsColumns*/ true,
};
// Its three exposure bytes hold 24 bits: longer counts clamp there.
const CIsgUnit::Map kIsg4006A = {
    L"ISG4006A",
    /*wGain*/ 0x17,
    /*start*/ {0x10E, 2, 12},
    /*rows*/ {0x10C, 2, 12},
    /*exposure*/ {0x146, 3, 24},
    /*wFlip*/ 0x138,
    /*byFlipBit*/ 0x40,
    /*bFlipBitSetWhenFlipped*/ false,
    /*nMaxExposureLines*/ 0xFFFFFF,
    /*roi*/ {0, 0, 8, 1, 2048, 2048},
    /*bCropsColumns*/ true,
};
const CIsgUnit::Map kIsg4006 = {
    L"ISG4006",
    /*wGain*/ 0x05,
    /*start*/ {0x3C, 2, 13},
    /*rows*/ {0x3A, 2, 13},
    /*exposure*/ {0x32, 4, 27},
    /*wFlip*/ 0x60,
    /*byFlipBit*/ 0x01,
    /*bFlipBitSetWhenFlipped*/ true,
    /*nMaxExposureLines*/ 67108863,
    /*roi*/ {0, 0, 2040, 1, 2040, 2048},
    /*bCropsColumns*/ false,
};

Unit::Layout LayoutOf(const wchar_t* pszUnit, std::vector<uint16_t> readOrder,
                      std::vector<uint16_t> restoreOrder,
                      std::vector<std::pair<const wchar_t*, uint16_t>> dump, bool bDumpRule) {
    Unit::Layout layout;
    layout.pszUnit = pszUnit;
    for (uint16_t wAddress : readOrder) {
        layout.registers.push_back({wAddress});
    }
    layout.readOrder = std::move(readOrder);
    layout.restoreOrder = std::move(restoreOrder);
    for (const auto& [pszName, wAddress] : dump) {
        layout.dump.push_back({pszName, {wAddress, 1}});
    }
    layout.nDumpNameColumns = 23;
    layout.bDumpRule = bDumpRule;
    return layout;
}

Unit::Layout Isg1307Layout() {
    return LayoutOf(L"ISG1307", {347, 346, 345, 344, 30, 404, 403, 402, 389, 406},
                    {347, 346, 345, 344, 30, 404, 403, 402, 389},
                    {{L"START1_LSB", 347},
                     {L"START1_MSB", 346},
                     {L"NUM_LINES_LSB", 345},
                     {L"NUM_LINES_MSB", 344},
                     {L"PGA", 30},
                     {L"EXP_TIME0", 404},
                     {L"EXP_TIME1", 403},
                     {L"EXP_TIME2", 402},
                     {L"R_MIRROR", 389},
                     {L"MODE", 406}},
                    false);
}

Unit::Layout Isg4006ALayout() {
    return LayoutOf(L"ISG4006A", {270, 269, 268, 267, 23, 326, 325, 324, 312},
                    {270, 269, 268, 267, 23, 326, 325, 324, 312},
                    {{L"START1_LSB", 270},
                     {L"START1_MSB", 269},
                     {L"NUM_LINES_LSB", 268},
                     {L"NUM_LINES_MSB", 267},
                     {L"PGA", 23},
                     {L"EXP_TIME0", 326},
                     {L"EXP_TIME1", 325},
                     {L"EXP_TIME2", 324},
                     {L"MIRROR", 312}},
                    true);
}

Unit::Layout Isg4006Layout() {
    return LayoutOf(L"ISG4006", {60, 59, 58, 57, 5, 29, 28, 50, 49, 48, 47, 96},
                    {60, 59, 58, 57, 5, 29, 28, 50, 49, 48, 47, 96},
                    {{L"START1_LSB", 60},
                     {L"START1_MSB", 59},
                     {L"NUM_LINES_LSB", 58},
                     {L"NUM_LINES_MSB", 57},
                     {L"PGA", 5},
                     {L"ADC_RGE_GAINCTRL_LSB", 29},
                     {L"ADC_RGE_GAINCTRL_MSB", 28},
                     {L"EXP_TIME0", 50},
                     {L"EXP_TIME1", 49},
                     {L"EXP_TIME2", 48},
                     {L"EXP_TIME3", 47},
                     {L"R_MIRROR", 96}},
                    true);
}

}  // namespace

CIsgUnit::CIsgUnit(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
                   int32_t nDeviceType, const Map& map, Layout layout,
                   std::vector<uint16_t> readOnly)
    : CByteRegisterUnit(vendor, capability, rpLog, state, busLock, nDeviceType, std::move(layout)),
      m_Map(map),
      m_Host(host),
      m_ReadOnly(std::move(readOnly)) {}

int CIsgUnit::Init() {
    const std::wstring unit = m_Map.pszUnit;
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, (L"ZDQAPI::++" + unit + L"_Init.").c_str());
    m_State.roi = m_Map.roi;
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        LogPrint(
            m_rpLog, LOGLEVEL_ERROR,
            (L"ZDQAPI::--" + unit + L"_Init " + unit + L"_Sensor_RdRelatedRegValue Fail!").c_str());
        return nRet;
    }
    LogRegisters();
    m_State.fExposureTime = ExposureLinesToTime(FieldValue(m_Map.exposure));
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, (L"ZDQAPI::--" + unit + L"_Init Success.").c_str());
    return RET_SUCCESS;
}

int CIsgUnit::Write(uint16_t wAddress, uint8_t byValue, uint8_t* pbChanged) {
    if (std::find(m_ReadOnly.begin(), m_ReadOnly.end(), wAddress) != m_ReadOnly.end()) {
        return RET_NOTSUPPORT;
    }
    return WriteRegister(wAddress, byValue, pbChanged);
}

uint32_t CIsgUnit::FieldValue(const Field& field) const {
    uint32_t nValue = 0;
    for (int i = 0; i < field.nBytes; ++i) {
        nValue |= uint32_t{Byte(static_cast<uint16_t>(field.wLow - i))} << (8 * i);
    }
    return nValue & ((1u << field.nBits) - 1);
}

int CIsgUnit::WriteField(const Field& field, uint32_t nValue, uint8_t* pbChanged) {
    for (int i = 0; i < field.nBytes; ++i) {
        const uint16_t wAddress = static_cast<uint16_t>(field.wLow - i);
        // The bits of the top byte above the field are kept as read.
        const int nFieldBits = std::clamp(field.nBits - 8 * i, 0, 8);
        const uint8_t byMask = static_cast<uint8_t>((1u << nFieldBits) - 1);
        const uint8_t byValue =
            static_cast<uint8_t>((Byte(wAddress) & ~byMask) | ((nValue >> (8 * i)) & byMask));
        const int nRet = Write(wAddress, byValue, pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

bool CIsgUnit::IsExposureByte(uint16_t wAddress) const {
    return wAddress <= m_Map.exposure.wLow &&
           wAddress > m_Map.exposure.wLow - m_Map.exposure.nBytes;
}

void CIsgUnit::OnRegisterWritten(uint16_t wAddress) {
    if (IsExposureByte(wAddress)) {
        m_State.fExposureTime = ExposureLinesToTime(FieldValue(m_Map.exposure));
    }
}

float CIsgUnit::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(LineTime() * static_cast<double>(nLines));
}

int64_t CIsgUnit::ExposureTimeToLines(float fMs) const {
    if (!(LineTime() > 0.0) || !(fMs > 0.0f)) {
        return 1;
    }
    return SaturatedCast<int64_t>(std::trunc(double{fMs} / LineTime() + 0.5));
}

int CIsgUnit::SetExposureLines(int nLines) {
    const int64_t nClamped = std::clamp<int64_t>(nLines, 1, m_Map.nMaxExposureLines);
    m_State.fRequestedExposureTime = ExposureLinesToTime(nClamped);
    return WriteField(m_Map.exposure, static_cast<uint32_t>(nClamped));
}

int CIsgUnit::SetExposureTime(float fMs) {
    const int64_t nLines =
        std::clamp<int64_t>(ExposureTimeToLines(fMs), 1, m_Map.nMaxExposureLines);
    const int nRet = SetExposureLines(static_cast<int>(nLines));
    m_State.fRequestedExposureTime = fMs;
    return nRet;
}

int CIsgUnit::GetExposureLines(int* pLines) const {
    SetOut(pLines, FieldValue(m_Map.exposure));
    return RET_SUCCESS;
}

int CIsgUnit::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, 1);
    SetOut(pMax, m_Map.nMaxExposureLines);
    return RET_SUCCESS;
}

int CIsgUnit::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(1));
    SetOut(pMax, ExposureLinesToTime(m_Map.nMaxExposureLines));
    return RET_SUCCESS;
}

int CIsgUnit::SetFlip(bool bFlip) {
    const bool bSet = bFlip == m_Map.bFlipBitSetWhenFlipped;
    const uint8_t byValue = Byte(m_Map.wFlip);
    return Write(m_Map.wFlip, static_cast<uint8_t>(bSet ? byValue | m_Map.byFlipBit
                                                        : byValue & ~m_Map.byFlipBit));
}

int CIsgUnit::GetFlip(bool* pbFlip) const {
    const bool bSet = (Byte(m_Map.wFlip) & m_Map.byFlipBit) != 0;
    SetOut(pbFlip, bSet == m_Map.bFlipBitSetWhenFlipped);
    return RET_SUCCESS;
}

int CIsgUnit::CheckAlignedFov(int nColumnAlign, int nRowAlign, int& nColStart, int& nRowStart,
                              int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                              uint16_t* pMultiFrames, bool b16BitData) const {
    if (nAmCol < 0 || nAmCol > 4 || nAmRow < 0 || nAmRow > 4) {
        return RET_PARAMERROR;
    }
    // Nothing between the chip and the frame skips or bins.
    if (nAmCol != 0 || nAmRow != 0) {
        return RET_NOTSUPPORT;
    }
    const RoiLimits& roi = m_State.roi;
    AlignUpAndClamp(nColStart, nWidth, nColumnAlign, roi.nMinWidth, roi.nMaxWidth);
    AlignUpAndClamp(nRowStart, nHeight, nRowAlign, roi.nMinHeight, roi.nMaxHeight);
    LimitMultiFrames(pMultiFrames, nWidth, nHeight, b16BitData);
    return RET_SUCCESS;
}

int CIsgUnit::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int /*nAmCol*/,
                     int /*nAmRow*/, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    const uint32_t nFieldMax = (1u << m_Map.start.nBits) - 1;
    const auto field = [nFieldMax](int n) {
        return static_cast<uint32_t>(std::clamp<int64_t>(n, 0, nFieldMax));
    };
    int nRet = WriteField(m_Map.start, field(nRowStart), pbChanged);
    if (nRet == RET_SUCCESS) {
        nRet = WriteField(m_Map.rows, field(nHeight), pbChanged);
    }
    if (nRet != RET_SUCCESS || !m_Map.bCropsColumns) {
        return nRet;
    }
    nRet = m_Host.FpgaWrite(kFpgaColumnStart,
                            static_cast<uint16_t>(std::clamp(nColStart, 0, 0xFFFF)), pbChanged);
    return nRet != RET_SUCCESS
               ? nRet
               : m_Host.FpgaWrite(kFpgaColumnWidth,
                                  static_cast<uint16_t>(std::clamp(nWidth, 0, 0xFFFF)), pbChanged);
}

int CIsgUnit::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    const RoiLimits& roi = m_State.roi;
    int nCol = 0;
    int nWidth = roi.nMaxWidth;
    if (m_Map.bCropsColumns && m_Host.FpgaShadow(kFpgaColumnWidth) != 0) {
        nCol = m_Host.FpgaShadow(kFpgaColumnStart);
        nWidth = m_Host.FpgaShadow(kFpgaColumnWidth);
    }
    const int nRows = static_cast<int>(FieldValue(m_Map.rows));
    fov = MakeFieldOfView(nCol, static_cast<int>(FieldValue(m_Map.start)), nWidth,
                          nRows != 0 ? nRows : roi.nMaxHeight, 0, 0, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}

CISG1307::CISG1307(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
                   int32_t nDeviceType)
    : CIsgUnit(vendor, capability, rpLog, state, busLock, host, nDeviceType, kIsg1307,
               Isg1307Layout(), {/*MODE*/ 406}) {}

double CISG1307::LineTime() const {
    // 321 / (pixel clock / 10) microseconds.
    return 321.0 / (double{m_Capability.fPixClkMHz} / 10.0) / 1000.0;
}

int CISG1307::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 31);
    return RET_SUCCESS;
}

int CISG1307::SetGain(GainColour /*colour*/, int nGain) {
    return Write(m_Map.wGain,
                 static_cast<uint8_t>((Byte(m_Map.wGain) & ~0x1F) | std::clamp(nGain, 0, 31)));
}

int CISG1307::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, Byte(m_Map.wGain));
    return RET_SUCCESS;
}

int CISG1307::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                       int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
    if (!ModeAllowed(nAmCol)) {
        return RET_NOTSUPPORT;
    }
    return CheckAlignedFov(4, 4, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow,
                           pMultiFrames, b16BitData);
}

int CISG1307::SetStrobeEnable(bool bOn) {
    return FpgaStrobeEnableSet(m_Host, m_Capability, bOn);
}

int CISG1307::GetStrobeEnable(bool* pbOn) const {
    return FpgaStrobeEnableGet(m_Host, m_Capability, pbOn);
}

int CISG1307::SetStrobeInvert(bool bInvert) {
    return FpgaStrobeInvertSet(m_Host, m_Capability, bInvert);
}

int CISG1307::GetStrobeInvert(bool* pbInvert) const {
    return FpgaStrobeInvertGet(m_Host, m_Capability, pbInvert);
}

CISG4006A::CISG4006A(CVendorRequests& vendor, const DeviceCapability& capability,
                     CLog* const& rpLog, SensorState& state, plat::CriticalSection& busLock,
                     ISensorHost& host, int32_t nDeviceType)
    : CIsgUnit(vendor, capability, rpLog, state, busLock, host, nDeviceType, kIsg4006A,
               Isg4006ALayout()) {}

int CISG4006A::Init() {
    const int nRet = CIsgUnit::Init();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    // Unflipped.
    Write(m_Map.wFlip, static_cast<uint8_t>(Byte(m_Map.wFlip) | m_Map.byFlipBit));
    return RET_SUCCESS;
}

int CISG4006A::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 15);
    return RET_SUCCESS;
}

int CISG4006A::SetGain(GainColour /*colour*/, int nGain) {
    return Write(m_Map.wGain,
                 static_cast<uint8_t>((Byte(m_Map.wGain) & ~0x1F) | std::clamp(nGain, 0, 15)));
}

int CISG4006A::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, Byte(m_Map.wGain) & 0x1F);
    return RET_SUCCESS;
}

int CISG4006A::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                        int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
    return CheckAlignedFov(8, 4, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow,
                           pMultiFrames, b16BitData);
}

CISG4006::CISG4006(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
                   int32_t nDeviceType)
    : CIsgUnit(vendor, capability, rpLog, state, busLock, host, nDeviceType, kIsg4006,
               Isg4006Layout()) {}

int CISG4006::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 8);
    return RET_SUCCESS;
}

int CISG4006::SetGain(GainColour /*colour*/, int nGain) {
    return Write(m_Map.wGain,
                 static_cast<uint8_t>((Byte(m_Map.wGain) & ~0x1E) | std::clamp(nGain, 0, 8) * 2));
}

int CISG4006::GetGain(GainColour /*colour*/, int* pGain) const {
    // The step as the setter wrote it, from PGA bits 1-4.
    SetOut(pGain, (Byte(m_Map.wGain) >> 1) & 0x0F);
    return RET_SUCCESS;
}

int CISG4006::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                       int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
    // As the IMX290's check: multiples of 4 (the width is fixed).
    if (!ModeAllowed(nAmCol)) {
        return RET_NOTSUPPORT;
    }
    return CheckAlignedFov(4, 4, nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow,
                           pMultiFrames, b16BitData);
}
