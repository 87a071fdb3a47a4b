#include "sensors/SpiSensor1280.h"

#include <algorithm>
#include <cmath>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"
#include "sensors/ColumnBlockFov.h"

namespace {

using R = CSpiSensor1280;

constexpr uint16_t kReadOrder[] = {197, 256, 257, 258, 192, 194, 199, 200, 201, 202, 203, 205};
constexpr uint16_t kRestoreOrder[] = {256, 257, 258, 192, 194, 199, 200, 201, 202, 203, 205};

CRegisterSensorUnit::Layout SpiLayout() {
    CRegisterSensorUnit::Layout layout;
    layout.registers.assign(std::begin(kReadOrder), std::end(kReadOrder));
    layout.readOrder = layout.registers;
    layout.restoreOrder.assign(std::begin(kRestoreOrder), std::end(kRestoreOrder));
    layout.readOnly = {R::EXTRA_LINES};
    layout.bWideAddress = true;
    return layout;
}

constexpr int kFpgaWorkingMode = 0;
constexpr uint16_t kMonoSubsampling = 0x2000;
constexpr uint16_t kColourSubsampling = 0x4000;

}  // namespace

CSpiSensor1280::CSpiSensor1280(CVendorRequests& vendor, const DeviceCapability& capability,
                               CLog* const& rpLog, SensorState& state, ISensorHost& host)
    : CRegisterSensorUnit(vendor, capability, rpLog, state, SpiLayout()), m_Host(host) {}

int CSpiSensor1280::Init() {
    m_State.roi = RoiLimits{0, 0, 8, 1, 1280, 1024};
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    UpdateExposureTime();
    return RET_SUCCESS;
}

void CSpiSensor1280::OnRegisterWritten(uint16_t wAddress, uint16_t /*wValue*/) {
    switch (wAddress) {
        case EXPOSURE_UNIT:
            UpdateFrameLength();
            UpdateExposureTime();
            break;
        case COLUMNS:
        case FIRST_ROW:
        case LAST_ROW:
            UpdateFrameLength();
            break;
        case EXPOSURE:
            UpdateExposureTime();
            break;
        default:
            break;
    }
}

void CSpiSensor1280::UpdateExposureTime() {
    m_State.fExposureTime = static_cast<float>(UnitTime() * Shadow(EXPOSURE));
}

void CSpiSensor1280::UpdateFrameLength() {
    const double fUnit = UnitTime();
    if (!(fUnit > 0.0)) {
        return;  // an exposure unit of no clocks never divides
    }
    const uint16_t wColumns = Shadow(COLUMNS);
    const double fRows =
        (Shadow(EXTRA_LINES) & 0xFF) + (Shadow(LAST_ROW) & 0x3FF) - (Shadow(FIRST_ROW) & 0x3FF) + 1;
    const double fWidth = ((wColumns >> 8) - (wColumns & 0xFF)) * 8.0 + 8.0;
    const double fLength =
        ((fWidth * 0.25 * m_Capability.T + 0.002212) * fRows + 0.43933) / fUnit + 0.5;
    WriteRegister(FRAME_LENGTH,
                  static_cast<uint16_t>(std::clamp(std::trunc(fLength), 0.0, 65535.0)));
}

float CSpiSensor1280::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(UnitTime() * static_cast<double>(nLines));
}

int64_t CSpiSensor1280::ExposureTimeToLines(float fMs) const {
    const double fUnit = UnitTime();
    if (!(fUnit > 0.0) || !(fMs > 0.0f)) {
        return kMinExposureLines;
    }
    return SaturatedCast<int64_t>(std::trunc(double{fMs} / fUnit + 0.5));
}

int CSpiSensor1280::SetExposureLines(int nLines) {
    return WriteRegister(
        EXPOSURE, static_cast<uint16_t>(std::clamp(nLines, kMinExposureLines, kMaxExposureLines)));
}

int CSpiSensor1280::SetExposureTime(float fMs) {
    m_State.fRequestedExposureTime = fMs;
    return WriteRegister(
        EXPOSURE, static_cast<uint16_t>(std::clamp<int64_t>(ExposureTimeToLines(fMs),
                                                            kMinExposureLines, kMaxExposureLines)));
}

int CSpiSensor1280::GetExposureLines(int* pLines) const {
    SetOut(pLines, Shadow(EXPOSURE));
    return RET_SUCCESS;
}

int CSpiSensor1280::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinExposureLines);
    SetOut(pMax, kMaxExposureLines);
    return RET_SUCCESS;
}

int CSpiSensor1280::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(kMinExposureLines));
    SetOut(pMax, ExposureLinesToTime(kMaxExposureLines));
    return RET_SUCCESS;
}

int CSpiSensor1280::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 1);
    SetOut(pMax, 4095);
    return RET_SUCCESS;
}

int CSpiSensor1280::SetGain(GainColour /*colour*/, int nGain) {
    return WriteRegister(GAIN, static_cast<uint16_t>(std::clamp(nGain, 1, 4095)));
}

int CSpiSensor1280::GetGain(GainColour /*colour*/, int* pGain) const {
    SetOut(pGain, Shadow(GAIN));
    return RET_SUCCESS;
}

int CSpiSensor1280::SetControlBit(uint16_t wBit, bool bOn) {
    const uint16_t wControl = Shadow(CONTROL);
    return WriteRegister(CONTROL, static_cast<uint16_t>(bOn ? wControl | wBit : wControl & ~wBit));
}

int CSpiSensor1280::AECGetEnable(bool* pbEnable) const {
    SetOut(pbEnable, (Shadow(CONTROL) & 0x0400) != 0);
    return RET_SUCCESS;
}

int CSpiSensor1280::GetBinRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 1);
    return RET_SUCCESS;
}

int CSpiSensor1280::GetBin(int* pbOn) const {
    SetOut(pbOn, (Shadow(CONTROL) & 0x0100) != 0 ? 1 : 0);
    return RET_SUCCESS;
}

int CSpiSensor1280::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                             int nAmRow, uint16_t* pMultiFrames, bool b16BitOutput) const {
    return CheckColumnBlockFov(m_Capability, m_State.roi, nColStart, nRowStart, nWidth, nHeight,
                               nAmCol, nAmRow, pMultiFrames, b16BitOutput);
}

int CSpiSensor1280::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int /*nAmCol*/,
                           int nAmRow, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    const int64_t nFirstBlock = std::clamp<int64_t>(nColStart / 8, 0, 0xFF);
    const int64_t nLastBlock = std::clamp<int64_t>((int64_t{nColStart} + nWidth) / 8 - 1, 0, 0xFF);
    const struct {
        uint16_t wAddress;
        uint16_t wValue;
    } kWindow[] = {
        {COLUMNS, static_cast<uint16_t>(nLastBlock << 8 | nFirstBlock)},
        {FIRST_ROW, WindowField(nRowStart, 0x3FF)},
        {LAST_ROW, WindowField(int64_t{nRowStart} + nHeight - 1, 0x3FF)},
    };
    for (const auto& reg : kWindow) {
        const int nRet = WriteRegister(reg.wAddress, reg.wValue, pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    if (nAmRow == 0 || nAmRow == 1) {
        const uint16_t wControl = Shadow(CONTROL) & ~0x0180;
        const int nRet = WriteRegister(
            CONTROL, static_cast<uint16_t>(nAmRow == 1 ? wControl | 0x0180 : wControl), pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    // The FPGA takes the subsampled pattern too.
    uint16_t wMode = m_Host.FpgaShadow(kFpgaWorkingMode) & 0x1FFF;
    if (nAmRow != 0) {
        wMode |= m_Capability.Has(SensorCap::bmMono) ? kMonoSubsampling : kColourSubsampling;
    }
    return m_Host.FpgaWrite(kFpgaWorkingMode, wMode, pbChanged);
}

int CSpiSensor1280::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum,
                                 bool b16BitData) const {
    const uint16_t wColumns = Shadow(COLUMNS);
    const int nMode = (Shadow(CONTROL) & 0x0080) != 0 ? 1 : 0;
    fov = MakeFieldOfView((wColumns & 0xFF) * 8, Shadow(FIRST_ROW) & 0x3FF,
                          ((wColumns >> 8) - (wColumns & 0xFF)) * 8 + 8,
                          (Shadow(LAST_ROW) & 0x3FF) - (Shadow(FIRST_ROW) & 0x3FF) + 1, nMode,
                          nMode, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
