#include "sensors/IMX250Family.h"

#include <algorithm>

#include "ZDQApi.h"

namespace {

using Unit = CByteRegisterUnit;

CMultiFrameShutterUnit::Map FamilyMap(RoiLimits roi) {
    return {
        /*hmax*/ {0x214, 2},
        /*vmax*/ {0x210, 3},
        /*shs*/ {0x28D, 3},
        /*svs*/ {0x290, 2},
        /*gain*/ {0x404, 2},
        /*blackLevel*/ {0x454, 2},
        /*colStart*/ {0x510, 2},
        /*rowStart*/ {0x512, 2},
        /*width*/ {0x514, 2},
        /*height*/ {0x516, 2},
        /*wToutSel*/ 0x226,
        /*wTrigToutSel*/ 0x229,
        /*wPulse1Set*/ 0x26D,
        /*pulse1Up*/ {0x270, 3},
        /*pulse1Dn*/ {0x274, 3},
        /*wReverse*/ 0x20E,
        roi,
        /*bExposureUnderBusLock*/ false,
    };
}

// The top registers of the 20-bit quantities keep 4 bits and are compared
// whole on every member; IMX250 and IMX287 also keep and compare only the
// bits of the gain, black level and window (restoring gain and black level
// masked), IMX265 keeps those whole.
Unit::Layout FamilyLayout(const wchar_t* pszUnit, bool bMaskedTops, bool bDumpRule) {
    const auto top = [bMaskedTops](uint16_t wAddress, uint8_t byBits, bool bRestoreMasked) {
        const uint8_t byMask = bMaskedTops ? byBits : 0xFF;
        return Unit::Register{wAddress, byMask, byMask,
                              bMaskedTops && bRestoreMasked ? byBits : uint8_t{0xFF}};
    };
    Unit::Layout layout;
    layout.pszUnit = pszUnit;
    layout.registers = {
        {0x214},
        {0x215},
        {0x210},
        {0x211},
        {0x212, 0x0F, 0xFF},
        {0x28D},
        {0x28E},
        {0x28F, 0x0F, 0xFF},
        {0x290},
        {0x291},
        {0x404},
        top(0x405, 0x01, true),
        {0x454},
        top(0x455, 0x0F, true),
        {0x510},
        top(0x511, 0x1F, false),
        {0x512},
        top(0x513, 0x0F, false),
        {0x514},
        top(0x515, 0x1F, false),
        {0x516},
        top(0x517, 0x0F, false),
        {0x226},
        {0x229},
        {0x26D},
        {0x270},
        {0x271},
        {0x272, 0x0F, 0xFF},
        {0x274},
        {0x275},
        {0x276, 0x0F, 0xFF},
        {0x20E},
    };
    for (const Unit::Register& reg : layout.registers) {
        layout.readOrder.push_back(reg.wAddress);
    }
    layout.restoreOrder = layout.readOrder;
    const CMultiFrameShutterUnit::Map map = FamilyMap({});
    layout.dump = {
        {L"HMAX", map.hmax},
        {L"VMAX", map.vmax},
        {L"SHS", map.shs},
        {L"VIRTUAL_SVS", map.svs},
        {L"GAIN", map.gain},
        {L"BLKLEVEL", map.blackLevel},
        {L"ROIPH1", map.colStart},
        {L"ROIPV1", map.rowStart},
        {L"ROIWH1", map.width},
        {L"ROIWV1", map.height},
        {L"TOUTSEL", {map.wToutSel, 1}},
        {L"TRIG_TOUT_SEL", {map.wTrigToutSel, 1}},
        {L"PULSE1_SET", {map.wPulse1Set, 1}},
        {L"PULSE1_UP", map.pulse1Up},
        {L"PULSE1_DN", map.pulse1Dn},
        {L"REVERSE", {map.wReverse, 1}},
    };
    layout.bDumpRule = bDumpRule;
    return layout;
}

constexpr uint32_t kMinHmax = 519;

}  // namespace

CIMX250Family::CIMX250Family(CVendorRequests& vendor, const DeviceCapability& capability,
                             CLog* const& rpLog, SensorState& state, plat::CriticalSection& busLock,
                             int32_t nDeviceType, const wchar_t* pszUnit, bool bMaskedTops,
                             bool bDumpRule, RoiLimits roi)
    : CMultiFrameShutterUnit(vendor, capability, rpLog, state, busLock, nDeviceType,
                             FamilyLayout(pszUnit, bMaskedTops, bDumpRule), FamilyMap(roi)) {}

int CIMX250Family::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                            int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
    if (!ModeAllowed(nAmCol) || !ModeAllowed(nAmRow)) {
        return RET_NOTSUPPORT;
    }
    const RoiLimits& roi = m_State.roi;
    AlignUpAndClamp(nColStart, nWidth, 4, roi.nMinWidth, roi.nMaxWidth);
    AlignUpAndClamp(nRowStart, nHeight, 4, roi.nMinHeight, roi.nMaxHeight);
    LimitMultiFrames(pMultiFrames, nWidth, nHeight, b16BitData);
    return RET_SUCCESS;
}

CIMX250::CIMX250(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType)
    : CIMX250Family(vendor, capability, rpLog, state, busLock, nDeviceType, L"IMX250", true, true,
                    {0, 0, 4, 4, 2464, 2056}) {}

int CIMX250::UpdateHMAX() {
    const uint32_t nWidth = Value(m_Map.width);
    uint32_t nHmax = 0;
    if (m_nDeviceType == 94 || m_nDeviceType == 95) {
        nHmax = nWidth / 2 + (nWidth < 1024 ? 200 : 24);
    } else if (m_nDeviceType == 104 || m_nDeviceType == 105) {
        nHmax = std::max(2 * (nWidth / 8 + 12), kMinHmax);
    } else {
        return RET_NOTSUPPORT;
    }
    return WriteValue(m_Map.hmax, nHmax);
}

CIMX265::CIMX265(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType)
    : CIMX250Family(vendor, capability, rpLog, state, busLock, nDeviceType, L"IMX265", false, true,
                    {0, 0, 260, 4, 2064, 1544}) {}

int CIMX265::UpdateHMAX() {
    const uint32_t nWidth = Value(m_Map.width);
    return WriteValue(m_Map.hmax, nWidth >= 976 ? 2 * (nWidth / 4 + 16) : kMinHmax);
}

CIMX287::CIMX287(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType)
    : CIMX250Family(vendor, capability, rpLog, state, busLock, nDeviceType, L"IMX287", true, false,
                    {0, 0, 260, 4, 728, 544}) {}
