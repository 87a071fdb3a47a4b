#include "sensors/MultiFrameShutterUnit.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "ZDQApi.h"
#include "common/OutParam.h"

CMultiFrameShutterUnit::CMultiFrameShutterUnit(CVendorRequests& vendor,
                                               const DeviceCapability& capability,
                                               CLog* const& rpLog, SensorState& state,
                                               plat::CriticalSection& busLock, int32_t nDeviceType,
                                               Layout layout, const Map& map)
    : CByteRegisterUnit(vendor, capability, rpLog, state, busLock, nDeviceType, std::move(layout)),
      m_Map(map) {}

int CMultiFrameShutterUnit::Init() {
    m_State.roi = m_Map.roi;
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    UpdateStrobePulse();
    LogRegisters();
    UpdateCurrentExposureTime();
    return RET_SUCCESS;
}

int64_t CMultiFrameShutterUnit::Lines() const {
    return (int64_t{Value(m_Map.svs)} + 1) * Vmax() - Value(m_Map.shs);
}

void CMultiFrameShutterUnit::UpdateCurrentExposureTime() {
    m_State.fExposureTime = static_cast<float>(LineTime(Hmax()) * static_cast<double>(Lines()));
}

int CMultiFrameShutterUnit::WriteExposure(int64_t nLines) {
    // A frame length of 0 (a chip not yet programmed) counts as one line.
    const int64_t nFrame = std::max<uint32_t>(Vmax(), 1);
    const int64_t n = std::max<int64_t>(std::min(nLines, nFrame * 65536), 1);
    m_State.fRequestedExposureTime = static_cast<float>(LineTime(Hmax()) * static_cast<double>(n));
    const int64_t nRest = n % nFrame;
    const int64_t nShs = nRest == 0 ? 0 : nFrame - nRest;
    const int64_t nSvs = std::min<int64_t>(nRest == 0 ? n / nFrame - 1 : n / nFrame, 0xFFFF);
    const int nRet = WriteValue(m_Map.svs, static_cast<uint32_t>(nSvs));
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return WriteValue(m_Map.shs, static_cast<uint32_t>(nShs));
}

int CMultiFrameShutterUnit::SetExposureLines(int64_t nLines) {
    if (!m_Map.bExposureUnderBusLock) {
        return WriteExposure(nLines);
    }
    plat::CriticalSectionLock bus(m_BusLock);
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++%ls_SetExposureLines EnterCriticalSection",
             UnitName());
    const int nRet = WriteExposure(nLines);
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::--%ls_SetExposureLines LeaveCriticalSection",
             UnitName());
    return nRet;
}

int CMultiFrameShutterUnit::SetExposureTime(float fMs) {
    // The request is kept as whole lines (SetExposureLines).
    return SetExposureLines(ExposureTimeToLines(fMs));
}

int CMultiFrameShutterUnit::ReapplyExposureTime() {
    return SetExposureLines(ExposureTimeToLines(m_State.fRequestedExposureTime));
}

int CMultiFrameShutterUnit::GetExposureLines(int* pLines) const {
    SetOut(pLines, std::min<int64_t>(Lines(), INT32_MAX));
    return RET_SUCCESS;
}

int CMultiFrameShutterUnit::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, 1);
    SetOut(pMax, std::min<int64_t>(MaxLines(), INT32_MAX));
    return RET_SUCCESS;
}

float CMultiFrameShutterUnit::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(LineTime(Hmax()) * static_cast<double>(nLines));
}

int64_t CMultiFrameShutterUnit::ExposureTimeToLines(float fMs) const {
    return TimeToLines(fMs, Hmax(), 1);
}

int CMultiFrameShutterUnit::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(1));
    SetOut(pMax, ExposureLinesToTime(MaxLines()));
    return RET_SUCCESS;
}

int CMultiFrameShutterUnit::UpdateStrobePulse() {
    return WriteValue(m_Map.pulse1Dn,
                      static_cast<uint32_t>(std::clamp<int64_t>(Lines(), 0, 0xFFFF)));
}

int CMultiFrameShutterUnit::UpdateVMAX() {
    return WriteValue(m_Map.vmax, Value(m_Map.height) + FrameOverheadLines());
}

void CMultiFrameShutterUnit::OnRegisterWritten(uint16_t wAddress) {
    if (Covers(m_Map.hmax, wAddress) || Covers(m_Map.vmax, wAddress)) {
        // The exposure time stays what was asked for.
        ReapplyExposureTime();
    } else if (Covers(m_Map.shs, wAddress) || Covers(m_Map.svs, wAddress)) {
        UpdateStrobePulse();
        UpdateCurrentExposureTime();
    } else if (Covers(m_Map.width, wAddress)) {
        UpdateHMAX();
    } else if (Covers(m_Map.height, wAddress)) {
        UpdateVMAX();
    }
}

int CMultiFrameShutterUnit::SetStrobeEnable(bool bOn) {
    const uint8_t byTout = Byte(m_Map.wToutSel);
    const uint8_t byTrig = Byte(m_Map.wTrigToutSel);
    const uint8_t byPulse = Byte(m_Map.wPulse1Set);
    int nRet =
        WriteRegister(m_Map.wToutSel, static_cast<uint8_t>(bOn ? byTout | 0x03 : byTout & ~0x03));
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    nRet = WriteRegister(m_Map.wTrigToutSel,
                         static_cast<uint8_t>((byTrig & ~0x07) | (bOn ? 0x01 : 0x00)));
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return WriteRegister(m_Map.wPulse1Set,
                         static_cast<uint8_t>(bOn ? byPulse | 0x02 : byPulse & ~0x02));
}

int CMultiFrameShutterUnit::GetStrobeEnable(bool* pbOn) const {
    SetOut(pbOn, (Byte(m_Map.wToutSel) & 0x03) == 0x03 && (Byte(m_Map.wTrigToutSel) & 0x07) == 1 &&
                     (Byte(m_Map.wPulse1Set) & 0x02) != 0);
    return RET_SUCCESS;
}

int CMultiFrameShutterUnit::SetStrobeInvert(bool bInvert) {
    const uint8_t byPulse = Byte(m_Map.wPulse1Set);
    return WriteRegister(m_Map.wPulse1Set,
                         static_cast<uint8_t>(bInvert ? byPulse | 0x04 : byPulse & ~0x04));
}

int CMultiFrameShutterUnit::GetStrobeInvert(bool* pbInvert) const {
    SetOut(pbInvert, (Byte(m_Map.wPulse1Set) & 0x04) != 0);
    return RET_SUCCESS;
}

int CMultiFrameShutterUnit::SetReverseBit(uint8_t byBit, bool bOn) {
    const uint8_t byReverse = Byte(m_Map.wReverse);
    return WriteRegister(m_Map.wReverse,
                         static_cast<uint8_t>(bOn ? byReverse | byBit : byReverse & ~byBit));
}

int CMultiFrameShutterUnit::GetFlip(bool* pbFlip) const {
    SetOut(pbFlip, (Byte(m_Map.wReverse) & 0x01) != 0);
    return RET_SUCCESS;
}

int CMultiFrameShutterUnit::GetMirror(bool* pbMirror) const {
    SetOut(pbMirror, (Byte(m_Map.wReverse) & 0x02) != 0);
    return RET_SUCCESS;
}

int CMultiFrameShutterUnit::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, kMaxGain);
    return RET_SUCCESS;
}

int CMultiFrameShutterUnit::SetGain(GainColour /*colour*/, int nGain) {
    return WriteValue(m_Map.gain, static_cast<uint32_t>(std::clamp(nGain, 0, kMaxGain)));
}

int CMultiFrameShutterUnit::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, Value(m_Map.gain));
    return RET_SUCCESS;
}

uint32_t CMultiFrameShutterUnit::FieldMax(Quantity quantity) const {
    uint32_t nMax = 0;
    for (int i = 0; i < quantity.nBytes; ++i) {
        nMax |= uint32_t{KeptBits(static_cast<uint16_t>(quantity.wLow + i))} << (8 * i);
    }
    return nMax;
}

int CMultiFrameShutterUnit::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight,
                                   int /*nAmCol*/, int /*nAmRow*/, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    const auto field = [this](int nValue, Quantity quantity) {
        return static_cast<uint32_t>(
            std::clamp<int64_t>(nValue, 0, static_cast<int64_t>(FieldMax(quantity))));
    };
    int nRet = WriteValue(m_Map.colStart, field(nColStart, m_Map.colStart));
    if (nRet == RET_SUCCESS) {
        nRet = WriteValue(m_Map.rowStart, field(nRowStart, m_Map.rowStart));
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteValue(m_Map.width, field(nWidth, m_Map.width), pbChanged);
    }
    if (nRet == RET_SUCCESS) {
        nRet = WriteValue(m_Map.height, field(nHeight, m_Map.height), pbChanged);
    }
    return nRet;
}

int CMultiFrameShutterUnit::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum,
                                         bool b16BitData) const {
    fov = MakeFieldOfView(static_cast<int>(Value(m_Map.colStart)),
                          static_cast<int>(Value(m_Map.rowStart)),
                          static_cast<int>(Value(m_Map.width)),
                          static_cast<int>(Value(m_Map.height)), 0, 0, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
