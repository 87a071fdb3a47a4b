#include "sensors/IMX226.h"

#include <mutex>

#include "ZDQApi.h"

namespace {

using Unit = CByteRegisterUnit;

constexpr uint16_t kMode = 0x04, kMode2 = 0x05, kMode3 = 0xB6;
constexpr uint8_t kWindowMode = 128;
constexpr uint8_t kWindowTwoByTwo = 137;
constexpr int kFullWidth = 4072, kFullHeight = 3046;
constexpr int kWindowWidth = 4152, kWindowHeight = 2160;

// Start-up values of the shadowed registers.
struct StartValue {
    uint16_t wAddress;
    uint8_t byValue;
};
constexpr StartValue kStartValues[] = {
    {0x0B, 7}, {0x0C, 0}, {0x0D, 0}, {0x0E, 0}, {0x0F, 0}, {0x10, 0}, {0x09, 0},  {0x0A, 0},
    {0x11, 0}, {0x12, 0}, {0x1A, 0}, {0x45, 0}, {0x04, 0}, {0x05, 7}, {0xB6, 71},
};

Unit::Layout Imx226Layout() {
    Unit::Layout layout;
    layout.pszUnit = L"IMX226";
    for (const StartValue& value : kStartValues) {
        layout.registers.push_back({value.wAddress});
    }
    layout.registers.push_back({0x08});
    layout.readOrder = {0x08};
    layout.restoreOrder = {0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x09, 0x0A,
                           0x11, 0x12, 0x1A, 0x45, 0x08, 0x05, 0xB6, 0x04};
    layout.dump = {{L"SHR", {0x0B, 2}},    {L"SVR", {0x0D, 2}},     {L"SPL", {0x0F, 2}},
                   {L"PGC", {0x09, 2}},    {L"DGAIN", {0x11, 1}},   {L"FREQ", {0x12, 1}},
                   {L"MDVREV", {0x1A, 1}}, {L"BLKLEVEL", {0x45, 1}}};
    return layout;
}

constexpr int kFpgaWidth = 1, kFpgaHeight = 2, kFpgaLineLength = 37, kFpgaReadout = 48;

}  // namespace

CIMX226::CIMX226(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
                 int32_t nDeviceType)
    : CGlobalResetUnit(vendor, capability, rpLog, state, busLock, host, nDeviceType,
                       Imx226Layout()) {}

bool CIMX226::HasGlobalReset() const {
    return m_nDeviceType == 122 || (m_Host.FirmwareVersionWord() >> 8) >= 20;
}

int CIMX226::Init() {
    m_State.roi = {0, 0, kFullWidth, kFullHeight, kFullWidth, kFullHeight};
    int nRet = ReadRegisters();
    for (const StartValue& value : kStartValues) {
        SetByte(value.wAddress, value.byValue);
    }
    SetTimingOfMode(0);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    SetGlobalResetFlag((Byte(kGlobalResetRegister) & 0x01) != 0);
    nRet = RestoreRegisters();
    LogRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    UpdateExposureTime();
    return RET_SUCCESS;
}

void CIMX226::SetTimingOfMode(uint8_t byMode) {
    m_nFrameLength = byMode == kWindowMode ? 2216 : byMode == kWindowTwoByTwo ? 2224 : 3120;
    m_nLineLength = byMode == kWindowTwoByTwo ? 628 : 2184;
}

int CIMX226::WriteModeTiming(uint8_t* pbChanged) {
    const uint8_t byMode = Byte(kMode);
    struct Timing {
        uint16_t wWidth, wHeight, wLine, wReadout;
    };
    const Timing timing = byMode == kWindowMode       ? Timing{4152, 2160, 2184, 0}
                          : byMode == kWindowTwoByTwo ? Timing{2076, 1080, 628, 3}
                                                      : Timing{4072, 3046, 2184, 0};
    const int regs[4][2] = {{kFpgaWidth, timing.wWidth},
                            {kFpgaHeight, timing.wHeight},
                            {kFpgaLineLength, timing.wLine},
                            {kFpgaReadout, timing.wReadout}};
    for (const auto& reg : regs) {
        const int nRet = m_Host.FpgaWrite(reg[0], static_cast<uint16_t>(reg[1]), pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CIMX226::SetPreExposureTime(float fMs) {
    if (fMs >= 0.0f) {
        StorePreExposureLines(ExposureTimeToLines(fMs));
        SetPreExposure();
    }
    return RET_SUCCESS;
}

int CIMX226::SetGlobalResetShutter(bool bOn) {
    if (!HasGlobalReset() || !TriggerState()) {
        return RET_NOTSUPPORT;
    }
    plat::CriticalSectionLock bus(m_BusLock);
    SetGlobalResetFlag(bOn);
    SetPreExposure();
    return RET_SUCCESS;
}

int CIMX226::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                      int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
    if (nAmCol != nAmRow) {
        return RET_PARAMERROR;
    }
    if (nColStart != 0 || nRowStart != 0) {
        return RET_NOTSUPPORT;
    }
    if (nAmCol == 1) {
        nWidth = kWindowWidth;
        nHeight = kWindowHeight;
    } else if (nAmCol != 0 || !((nWidth == kWindowWidth && nHeight == kWindowHeight) ||
                                (nWidth == kFullWidth && nHeight == kFullHeight))) {
        return RET_NOTSUPPORT;
    }
    const int nDivisor = nAmCol == 1 ? 2 : 1;
    LimitMultiFrames(pMultiFrames, nWidth / nDivisor, nHeight / nDivisor, b16BitData);
    return RET_SUCCESS;
}

int CIMX226::SetFov(int /*nColStart*/, int /*nRowStart*/, int nWidth, int nHeight, int nAmCol,
                    int nAmRow, uint8_t* pbChanged) {
    uint8_t byModes[3] = {};
    if (nWidth == kFullWidth && nHeight == kFullHeight && nAmCol == 0 && nAmRow == 0) {
        byModes[0] = 7, byModes[1] = 71, byModes[2] = 0;
    } else if (nWidth == kWindowWidth && nHeight == kWindowHeight && nAmCol == nAmRow &&
               nAmCol == 0) {
        byModes[0] = 71, byModes[1] = 71, byModes[2] = kWindowMode;
    } else if (nWidth == kWindowWidth && nHeight == kWindowHeight && nAmCol == nAmRow &&
               nAmCol == 1) {
        byModes[0] = 77, byModes[1] = 103, byModes[2] = kWindowTwoByTwo;
    } else {
        return RET_NOTSUPPORT;
    }
    const uint16_t wOrder[3] = {kMode2, kMode3, kMode};
    for (int i = 0; i < 3; ++i) {
        const int nRet = WriteRegister(wOrder[i], byModes[i], pbChanged);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    if (HasGlobalReset()) {
        m_Host.EmptyCameraFrameBuffer();
    }
    return RET_SUCCESS;
}

int CIMX226::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    fov = MakeFieldOfView(0, 0, kFullWidth, kFullHeight, 0, 0, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
