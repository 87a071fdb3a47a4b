#include "sensors/Sensor2592Family.h"

#include <algorithm>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

// GlobalGain is written only: it is in the restore order (before the colour
// gains, which then keep their own values) but never read.
CRegisterSensorUnit::Layout Layout2592() {
    using R = CRegisterFamilyUnit;
    CRegisterSensorUnit::Layout layout;
    layout.readOrder = {R::ColumnStart,       R::RowStart,          R::ColumnSize,
                        R::RowSize,           R::RowAddressMode,    R::ColumnAddressMode,
                        R::ShutterWidthLower, R::ShutterWidthUpper, R::ShutterDelay,
                        R::RedGain,           R::BlueGain,          R::Green1Gain,
                        R::Green2Gain,        R::ReadMode1,         R::ReadMode2,
                        R::HorizontalBlank,   R::VerticalBlank};
    layout.registers = layout.readOrder;
    layout.registers.push_back(R::GlobalGain);
    layout.restoreOrder = {R::ColumnStart,       R::RowStart,          R::ColumnSize,
                           R::RowSize,           R::RowAddressMode,    R::ColumnAddressMode,
                           R::ShutterWidthLower, R::ShutterWidthUpper, R::ShutterDelay,
                           R::GlobalGain,        R::RedGain,           R::BlueGain,
                           R::Green1Gain,        R::Green2Gain,        R::ReadMode1,
                           R::ReadMode2,         R::HorizontalBlank,   R::VerticalBlank};
    return layout;
}

constexpr CRegisterFamilyUnit::AddressModeCodes kCodes2592 = {
    {0x00, 0x01, 0x02, 0x03, 0x07},
    {0x00, 0x01, 0x02, 0x03, 0x07},
    {0x00, 0x11, 0x22, 0x33, 0x07},
    {0x00, 0x11, 0x02, 0x33, 0x07},
};

// Steps 0-24: 8 .. 32; 25-40: 81 .. 96; then 0x60 with the multiplier k in
// the high byte, k = 1 .. 120 without the multiples of 16.
std::vector<uint16_t> GainTable2592() {
    std::vector<uint16_t> table = LowGainSteps();
    for (int k = 1; k <= 120; ++k) {
        if (k % 16 != 0) {
            table.push_back(static_cast<uint16_t>(0x60 | (k << 8)));
        }
    }
    return table;
}

}  // namespace

CSensor2592Family::CSensor2592Family(CVendorRequests& vendor, const DeviceCapability& capability,
                                     CLog* const& rpLog, SensorState& state)
    : CRegisterFamilyUnit(vendor, capability, rpLog, state, Layout2592(),
                          RoiLimits{16, 54, 1, 1, 2592, 1944}, kMaxExposureLines, kCodes2592,
                          GainTable2592()) {}

void CSensor2592Family::OnRegisterWritten(uint16_t wAddress, uint16_t wValue) {
    if (wAddress == GlobalGain) {
        // The chip sets the four colour gains from it.
        for (uint16_t wColour : {Green1Gain, BlueGain, RedGain, Green2Gain}) {
            SetShadow(wColour, wValue);
        }
        return;
    }
    CRegisterFamilyUnit::OnRegisterWritten(wAddress, wValue);
}

bool CSensor2592Family::ChangesLineTime(uint16_t wAddress) const {
    switch (wAddress) {
        case ColumnSize:
        case HorizontalBlank:
        case ShutterDelay:
        case RowAddressMode:
        case ColumnAddressMode:
            return true;
        default:
            return false;
    }
}

int32_t CSensor2592Family::HalfLineClocks() const {
    const int32_t nRowBin = (Shadow(RowAddressMode) >> 4) & 3;
    const int32_t nColumnBin = (Shadow(ColumnAddressMode) >> 4) & 3;
    const int32_t nColumnSkip = Shadow(ColumnAddressMode) & 7;
    int32_t nBase = nRowBin == 1 ? 776 : nRowBin == 3 ? 1468 : 430;
    if (nColumnBin == 0) {
        nBase += 20;
    }
    const int32_t nMinBlank = 346 * nRowBin + 410 + nBase / 2;
    const int32_t nBlank = std::max<int32_t>(nMinBlank, Shadow(HorizontalBlank) + 1);
    const int32_t nColumns = (Shadow(ColumnSize) + 1) / (2 * (nColumnSkip + 1)) + 1;
    return std::max(nBlank + nColumns, 346 * nRowBin + 486);
}

int32_t CSensor2592Family::ShutterOverheadClocks() const {
    const int32_t nRowBin = (Shadow(RowAddressMode) >> 4) & 3;
    return std::min<int32_t>(Shadow(ShutterDelay) + 1, 1504) + 212 + 208 * nRowBin;
}

float CSensor2592Family::ExposureLinesToTime(int64_t nLines) const {
    const float fT = m_Capability.T;
    const float fLine = 2.0f * static_cast<float>(HalfLineClocks()) * fT;
    return fLine * static_cast<float>(nLines) -
           2.0f * static_cast<float>(ShutterOverheadClocks()) * fT;
}

int64_t CSensor2592Family::ExposureTimeToLines(float fMs) const {
    const float fT = m_Capability.T;
    const float fLines = (2.0f * static_cast<float>(ShutterOverheadClocks()) * fT + fMs) /
                         (2.0f * static_cast<float>(HalfLineClocks()) * fT);
    return SaturatedCast<int64_t>(static_cast<double>(fLines) + 0.5);
}

int CSensor2592Family::SetHorizontalBlank(int nClocks) {
    return WriteRegister(HorizontalBlank, static_cast<uint16_t>(std::clamp(nClocks, 0, 4095)));
}

int CSensor2592Family::SetVerticalBlank(int nRows) {
    return WriteRegister(VerticalBlank, static_cast<uint16_t>(std::clamp(nRows, 8, 2047)));
}

int CSensor2592Family::SetReadMode1Bits(uint16_t wMask, uint16_t wBits) {
    return WriteRegister(ReadMode1,
                         static_cast<uint16_t>((Shadow(ReadMode1) & ~wMask) | (wBits & wMask)));
}

int CSensor2592Family::SetStrobeMode(int nMode) {
    return SetReadMode1Bits(0x000F, nMode == 1 || nMode == 2 ? static_cast<uint16_t>(nMode) : 0);
}

int CSensor2592Family::GetStrobeMode(int* pMode) const {
    const int nBits = Shadow(ReadMode1) & 0x000F;
    const bool bKnown = nBits <= 2;
    if (pMode != nullptr) {
        *pMode = bKnown ? nBits : 0;
    }
    return bKnown ? RET_SUCCESS : RET_NOTSUPPORT;
}

int CSensor2592Family::SetSensorMode(int nMode) {
    const uint16_t wBits = nMode == 0 ? 0x0100 : nMode == 2 ? 0x0180 : 0;
    return SetReadMode1Bits(0x0180, wBits);
}

int CSensor2592Family::GetSensorMode(int* pMode) const {
    int nMode = 0;
    int nRet = RET_SUCCESS;
    switch (Shadow(ReadMode1) & 0x0180) {
        case 0x0100:
            nMode = 0;
            break;
        case 0x0180:
            nMode = 2;
            break;
        case 0x0000:
            nMode = 1;
            break;
        default:
            nRet = RET_NOTSUPPORT;
            break;
    }
    if (pMode != nullptr) {
        *pMode = nMode;
    }
    return nRet;
}

int CSensor2592Family::GetHorizontalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 4095);
    return RET_SUCCESS;
}

int CSensor2592Family::GetVerticalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, 8);
    SetOut(pMax, 2047);
    return RET_SUCCESS;
}

int CSensor2592Family::GetStrobeEnable(bool* pbOn) const {
    SetOut(pbOn, StrobeEnabled());
    return RET_SUCCESS;
}

int CSensor2592Family::GetStrobeInvert(bool* pbInvert) const {
    SetOut(pbInvert, StrobeInverted());
    return RET_SUCCESS;
}
