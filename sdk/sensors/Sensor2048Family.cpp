#include "sensors/Sensor2048Family.h"

#include <algorithm>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

CRegisterSensorUnit::Layout Layout2048() {
    using R = CRegisterFamilyUnit;
    CRegisterSensorUnit::Layout layout;
    layout.readOrder = {R::ColumnStart,       R::RowStart,          R::ColumnSize,
                        R::RowSize,           R::RowAddressMode,    R::ColumnAddressMode,
                        R::HorizontalBlank,   R::VerticalBlank,     R::ShutterDelay,
                        R::ShutterWidthLower, R::ShutterWidthUpper, R::RedGain,
                        R::BlueGain,          R::Green1Gain,        R::Green2Gain,
                        R::ReadMode1,         R::ReadMode2};
    layout.registers = layout.readOrder;
    layout.restoreOrder = {
        R::ColumnStart,       R::RowStart,          R::ColumnSize,      R::RowSize,
        R::RowAddressMode,    R::ColumnAddressMode, R::HorizontalBlank, R::VerticalBlank,
        R::ShutterWidthLower, R::ShutterWidthUpper, R::RedGain,         R::BlueGain,
        R::Green1Gain,        R::Green2Gain,        R::ReadMode1,       R::ReadMode2};
    layout.readOnly = {R::ShutterDelay};
    return layout;
}

constexpr CRegisterFamilyUnit::AddressModeCodes kCodes2048 = {
    {0x00, 0x01, 0x02, 0x03, 0x07},
    {0x00, 0x01, 0x02, 0x03, 0x07},
    {0x00, 0x11, 0x12, 0x13, 0x17},
    {0x00, 0x11, 0x12, 0x13, 0x17},
};

// Steps 0-24: 8 .. 32; 25-40: 81 .. 96; then 0x60 with the multiplier k in
// the high byte, k = 1 .. 120, where k = 4, 20, 36, ... 116 repeat k - 1.
std::vector<uint16_t> GainTable2048() {
    std::vector<uint16_t> table = LowGainSteps();
    for (int k = 1; k <= 120; ++k) {
        const int nMultiplier = k % 16 == 4 ? k - 1 : k;
        table.push_back(static_cast<uint16_t>(0x60 | (nMultiplier << 8)));
    }
    return table;
}

}  // namespace

CSensor2048Family::CSensor2048Family(CVendorRequests& vendor, const DeviceCapability& capability,
                                     CLog* const& rpLog, SensorState& state)
    : CRegisterFamilyUnit(vendor, capability, rpLog, state, Layout2048(),
                          RoiLimits{32, 20, 1, 1, 2048, 1536}, kMaxExposureLines, kCodes2048,
                          GainTable2048()) {}

bool CSensor2048Family::ChangesLineTime(uint16_t wAddress) const {
    switch (wAddress) {
        case ColumnSize:
        case HorizontalBlank:
        case RowAddressMode:
        case ColumnAddressMode:
            return true;
        default:
            return false;
    }
}

int CSensor2048Family::ColumnStartOffset(int nAmCol) const {
    return nAmCol == 1 || nAmCol == 3 || nAmCol == 4 ? 34 : 32;
}

int32_t CSensor2048Family::RowOverheadClocks() const {
    const int32_t nRowBin = (Shadow(RowAddressMode) >> 4) & 3;
    return nRowBin == 1 ? 673 : nRowBin == 2 ? 999 : 331;
}

int32_t CSensor2048Family::LineClocks() const {
    const int32_t nColumnBin = (Shadow(ColumnAddressMode) >> 4) & 3;
    const int32_t nColumnSkip = Shadow(ColumnAddressMode) & 7;
    const int32_t nRow = RowOverheadClocks();
    const int32_t nColumn = nColumnBin == 1 ? 22 : nColumnBin == 2 ? 14 : 38;
    const int32_t nBlank = std::max<int32_t>(Shadow(HorizontalBlank) & 0x7FF, 21);
    const int32_t nWidth = (((Shadow(ColumnSize) & 0x7FF) + 1) / (nColumnSkip + 1)) & ~1;
    return std::max(nWidth + nBlank + nColumn + nRow,
                    (nColumnBin + 1) * 316 + ShutterDelayClocks() + nRow);
}

float CSensor2048Family::ExposureLinesToTime(int64_t nLines) const {
    const int64_t nClocks =
        nLines * LineClocks() - ShutterDelayClocks() - RowOverheadClocks() + 132;
    return static_cast<float>(nClocks) * m_Capability.T;
}

int64_t CSensor2048Family::ExposureTimeToLines(float fMs) const {
    const float fClocks = fMs / m_Capability.T - 132.0f +
                          static_cast<float>(RowOverheadClocks() + ShutterDelayClocks());
    const float fLines = fClocks / static_cast<float>(LineClocks());
    return SaturatedCast<int64_t>(static_cast<double>(fLines) + 0.5);
}

int CSensor2048Family::SetHorizontalBlank(int nClocks) {
    return WriteRegister(HorizontalBlank, static_cast<uint16_t>(std::clamp(nClocks, 21, 2047)));
}

int CSensor2048Family::SetVerticalBlank(int nRows) {
    return WriteRegister(VerticalBlank, static_cast<uint16_t>(std::clamp(nRows, 3, 2047)));
}

int CSensor2048Family::GetHorizontalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, 21);
    SetOut(pMax, 2047);
    return RET_SUCCESS;
}

int CSensor2048Family::GetVerticalBlankRange(int* pMin, int* pMax) const {
    SetOut(pMin, 3);
    SetOut(pMax, 2047);
    return RET_SUCCESS;
}
