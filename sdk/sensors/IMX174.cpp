#include "sensors/IMX174.h"

#include <algorithm>

#include "ZDQApi.h"

namespace {

using Unit = CByteRegisterUnit;

const CMultiFrameShutterUnit::Map kMap = {
    /*hmax*/ {0x21A, 2},
    /*vmax*/ {0x217, 2},
    /*shs*/ {0x29A, 2},
    /*svs*/ {0x29C, 2},
    /*gain*/ {0x404, 2},
    /*blackLevel*/ {0x458, 2},
    /*colStart*/ {0x301, 2},
    /*rowStart*/ {0x303, 2},
    /*width*/ {0x305, 2},
    /*height*/ {0x307, 2},
    /*wToutSel*/ 0x22F,
    /*wTrigToutSel*/ 0x232,
    /*wPulse1Set*/ 0x276,
    /*pulse1Up*/ {0x277, 2},
    /*pulse1Dn*/ {0x27A, 2},
    /*wReverse*/ 0x216,
    /*roi*/ {0, 0, 96, 2, 1936, 1216},
    /*bExposureUnderBusLock*/ true,
};

Unit::Layout Imx174Layout() {
    Unit::Layout layout;
    layout.pszUnit = L"IMX174";
    // Whole bytes unless the top register of a quantity holds fewer bits;
    // the restore masks only SHS, gain and black level.
    layout.registers = {
        {0x21A}, {0x21B},
        {0x217}, {0x218, 0x0F, 0x0F},
        {0x29A}, {0x29B, 0x0F, 0x0F, 0x0F},
        {0x29C}, {0x29D},
        {0x404}, {0x405, 0x01, 0x01, 0x01},
        {0x458}, {0x459, 0x01, 0x01, 0x01},
        {0x301}, {0x302, 0x07, 0x07},
        {0x303}, {0x304, 0x07, 0x07},
        {0x305}, {0x306, 0x07, 0x07},
        {0x307}, {0x308, 0x07, 0x07},
        {0x22F}, {0x232},
        {0x276}, {0x277},
        {0x278}, {0x27A},
        {0x27B}, {0x216},
    };
    for (const Unit::Register& reg : layout.registers) {
        layout.readOrder.push_back(reg.wAddress);
    }
    layout.restoreOrder = layout.readOrder;
    layout.dump = {
        {L"HMAX", kMap.hmax},
        {L"VMAX", kMap.vmax},
        {L"SHS", kMap.shs},
        {L"VIRTUAL_SVS", kMap.svs},
        {L"GAIN", kMap.gain},
        {L"BLKLEVEL", kMap.blackLevel},
        {L"ROIPH1", kMap.colStart},
        {L"ROIPV1", kMap.rowStart},
        {L"ROIWH1", kMap.width},
        {L"ROIWV1", kMap.height},
        {L"TOUTSEL", {kMap.wToutSel, 1}},
        {L"TRIG_TOUT_SEL", {kMap.wTrigToutSel, 1}},
        {L"PULSE1_SET", {kMap.wPulse1Set, 1}},
        {L"PULSE1_UP", kMap.pulse1Up},
        {L"PULSE1_DN", kMap.pulse1Dn},
        {L"REVERSE", {kMap.wReverse, 1}},
    };
    return layout;
}

constexpr uint32_t kMinHmax = 608;

}  // namespace

CIMX174::CIMX174(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType)
    : CMultiFrameShutterUnit(vendor, capability, rpLog, state, busLock, nDeviceType, Imx174Layout(),
                             kMap) {}

int CIMX174::UpdateHMAX() {
    const uint32_t nWidth = Value(m_Map.width);
    uint32_t nHmax = kMinHmax;
    if (m_nDeviceType == 92 || m_nDeviceType == 93) {
        nHmax = std::max(nWidth + 16, kMinHmax);
    } else if (m_nDeviceType == 86 || m_nDeviceType == 87) {
        nHmax = std::max(nWidth / 2 + 24, kMinHmax);
    }
    return WriteValue(m_Map.hmax, nHmax);
}

int CIMX174::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                      int /*nAmRow*/, uint16_t* pMultiFrames, bool b16BitData) const {
    if (!ModeAllowed(nAmCol)) {
        return RET_NOTSUPPORT;
    }
    const RoiLimits& roi = m_State.roi;
    AlignUpAndClamp(nColStart, nWidth, 8, roi.nMinWidth, roi.nMaxWidth);
    AlignUpAndClamp(nRowStart, nHeight, 2, roi.nMinHeight, roi.nMaxHeight);
    LimitMultiFrames(pMultiFrames, nWidth, nHeight, b16BitData);
    return RET_SUCCESS;
}
