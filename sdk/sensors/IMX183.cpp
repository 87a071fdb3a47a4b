#include "sensors/IMX183.h"

#include <algorithm>
#include <mutex>

#include "ZDQApi.h"
#include "common/OutParam.h"

namespace {

using Unit = CByteRegisterUnit;

constexpr uint16_t kMdsel1 = 0x04, kMdsel2 = 0x05, kMdsel3 = 0x06, kMdsel4 = 0x07;
constexpr uint8_t kTwoByTwo = 25;
constexpr uint32_t kFrameLength = 3740;
constexpr uint32_t kFullLine = 1080;
constexpr uint32_t kTwoByTwoLine = 440;

Unit::Layout Imx183Layout() {
    Unit::Layout layout;
    layout.pszUnit = L"IMX183";
    layout.readOrder = {0x08, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x09,
                        0x0A, 0x11, 0x1A, 0x45, 0x04, 0x05, 0x06, 0x07};
    for (uint16_t wAddress : layout.readOrder) {
        layout.registers.push_back({wAddress});
    }
    // The global-reset register first and last.
    layout.restoreOrder = layout.readOrder;
    layout.restoreOrder.push_back(0x08);
    layout.dump = {
        {L"SHR_LSB/MSB", {0x0B, 2}}, {L"SVR_LSB/MSB", {0x0D, 2}}, {L"SPL_LSB/MSB", {0x0F, 2}},
        {L"PGC_LSB/MSB", {0x09, 2}}, {L"DGAIN", {0x11, 1}},       {L"MDVREV", {0x1A, 1}},
        {L"BLKLEVEL", {0x45, 1}},    {L"MDSEL1", {kMdsel1, 1}},   {L"MDSEL2", {kMdsel2, 1}},
        {L"MDSEL3", {kMdsel3, 1}},   {L"MDSEL4", {kMdsel4, 1}}};
    layout.nDumpNameColumns = 22;
    layout.bDumpRule = false;
    return layout;
}

// FPGA registers of the window and the readout timing.
constexpr int kFpgaWidth = 1, kFpgaHeight = 2, kFpgaLineLength = 37, kFpgaColumnStart = 43,
              kFpgaRowStart = 44, kFpgaReadout = 48;

}  // namespace

CIMX183::CIMX183(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                 SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
                 int32_t nDeviceType)
    : CGlobalResetUnit(vendor, capability, rpLog, state, busLock, host, nDeviceType,
                       Imx183Layout()) {}

bool CIMX183::HasGlobalReset() const {
    return m_nDeviceType == 123 || m_Host.FirmwareVersionWord() >= 0x1414;
}

bool CIMX183::HasNewFpga() const {
    return m_nDeviceType == 123 || (m_Host.FpgaVersionWord() >> 8) >= 20;
}

bool CIMX183::PreExposureApplies() const {
    return (m_nDeviceType == 102 || m_nDeviceType == 103 || m_nDeviceType == 123) &&
           HasGlobalReset();
}

bool CIMX183::TwoByTwo() const {
    return Byte(kMdsel1) == kTwoByTwo && Byte(kMdsel2) == 17 && Byte(kMdsel3) == 80 &&
           Byte(kMdsel4) == 0;
}

int CIMX183::Init() {
    const bool bNewFpga = HasNewFpga();
    m_State.roi = {0, 0, bNewFpga ? 8 : kWidth, bNewFpga ? 4 : kHeight, kWidth, kHeight};
    const int nRet = ReadRegisters();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    SetGlobalResetFlag((Byte(kGlobalResetRegister) & 0x01) != 0);
    // The timing of the full readout, whatever MDSEL1 holds.
    m_nFrameLength = kFrameLength;
    m_nLineLength = kFullLine;
    LogRegisters();
    UpdateExposureTime();
    return RET_SUCCESS;
}

void CIMX183::SetTimingOfMode(uint8_t byMode) {
    m_nLineLength = byMode == kTwoByTwo ? kTwoByTwoLine : kFullLine;
}

int CIMX183::WriteModeTiming(uint8_t* pbChanged) {
    const bool bTwoByTwo = Byte(kMdsel1) == kTwoByTwo;
    int nRet = m_Host.FpgaWrite(kFpgaLineLength, bTwoByTwo ? kTwoByTwoLine : kFullLine, pbChanged);
    if (nRet == RET_SUCCESS) {
        nRet = m_Host.FpgaWrite(kFpgaReadout, bTwoByTwo ? 3 : 0, pbChanged);
    }
    return nRet;
}

int CIMX183::SetPreExposureTime(float fMs) {
    if (fMs < 0.0f) {
        return RET_PARAMERROR;
    }
    StorePreExposureLines(ExposureTimeToLines(fMs));
    SetPreExposure();
    return RET_SUCCESS;
}

int CIMX183::SetGlobalResetShutter(bool bOn) {
    if (!PreExposureApplies() || !TriggerState()) {
        return RET_NOTSUPPORT;
    }
    plat::CriticalSectionLock bus(m_BusLock);
    SetGlobalResetFlag(bOn);
    SetPreExposure();
    return RET_SUCCESS;
}

int CIMX183::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                      int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
    (void)nAmRow;  // the row mode follows the column mode
    if (nAmCol < 0 || !ModeAllowed(nAmCol)) {
        return RET_NOTSUPPORT;
    }
    if (!HasNewFpga()) {
        if ((nAmCol == 0 && (nWidth != kWidth || nHeight != kHeight)) || nAmCol > 1) {
            return RET_NOTSUPPORT;
        }
        nColStart = 0;
        nRowStart = 0;
        nWidth = kWidth;
        nHeight = kHeight;
    } else {
        if (nAmCol > 1) {
            return RET_NOTSUPPORT;
        }
        // In 64 bits: no start or size near the int limits wraps.
        int64_t nCol = std::max(nColStart, 0);
        int64_t nRow = std::max(nRowStart, 0);
        int64_t nW = std::clamp<int64_t>(nWidth, 0, kWidth);
        int64_t nH = std::clamp<int64_t>(nHeight, 0, kHeight);
        if (nCol + nW > kWidth) {
            nCol = kWidth - nW;
        }
        if (nRow + nH > kHeight) {
            nRow = kHeight - nH;
        }
        if (nAmCol == 1) {
            nCol = (nCol + 7) / 8 * 8;
            nW = nW / 8 * 8;
        } else {
            nCol = nCol / 8 * 8;
            nW = (nW + 7) / 8 * 8;
        }
        nRow &= ~int64_t{1};
        nH = (nH + 1) / 2 * 2;
        if (nCol + nW > kWidth || nRow + nH > kHeight || nW <= 0 || nH <= 0) {
            return RET_NOTSUPPORT;
        }
        nColStart = static_cast<int>(nCol);
        nRowStart = static_cast<int>(nRow);
        nWidth = static_cast<int>(nW);
        nHeight = static_cast<int>(nH);
    }
    const int nDivisor = nAmCol == 1 ? 2 : 1;
    LimitMultiFrames(pMultiFrames, nWidth / nDivisor, nHeight / nDivisor, b16BitData);
    return RET_SUCCESS;
}

int CIMX183::SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
                    uint8_t* pbChanged) {
    const bool bNewFpga = HasNewFpga();
    if ((!bNewFpga && (nWidth != kWidth || nHeight != kHeight)) || nAmCol != nAmRow ||
        (nAmCol != 0 && nAmCol != 1)) {
        return RET_NOTSUPPORT;
    }
    const uint8_t byModes[2][4] = {{3, 16, 0, 0}, {17, 80, 0, kTwoByTwo}};
    const uint8_t* pModes = byModes[nAmCol];
    uint8_t bChanged = 0;
    int nRet = RET_SUCCESS;
    const uint16_t wOrder[4] = {kMdsel2, kMdsel3, kMdsel4, kMdsel1};
    for (int i = 0; i < 4 && nRet == RET_SUCCESS; ++i) {
        nRet = WriteRegister(wOrder[i], pModes[i], &bChanged);
    }
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (bChanged != 0) {
        if (HasGlobalReset()) {
            m_Host.EmptyCameraFrameBuffer();
        } else {
            SetOut(pbChanged, 1);
        }
    }
    if (!bNewFpga) {
        return RET_SUCCESS;
    }
    const int nDivisor = nAmCol == 1 ? 2 : 1;
    const int fpga[4][2] = {{kFpgaColumnStart, nColStart / nDivisor},
                            {kFpgaRowStart, nRowStart / nDivisor},
                            {kFpgaWidth, nWidth / nDivisor},
                            {kFpgaHeight, nHeight / nDivisor}};
    for (const auto& reg : fpga) {
        nRet = m_Host.FpgaWrite(reg[0], static_cast<uint16_t>(std::clamp(reg[1], 0, 0xFFFF)));
        if (nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT) {
            return nRet;
        }
    }
    return nRet;
}

int CIMX183::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
    const int nMode = TwoByTwo() ? 1 : 0;
    if (!HasNewFpga()) {
        fov = MakeFieldOfView(0, 0, kWidth, kHeight, nMode, nMode, usMultiFrameNum, b16BitData);
        return RET_SUCCESS;
    }
    // The FPGA holds the window in output pixels.
    const int nDivisor = nMode == 1 ? 2 : 1;
    const int nWidth = m_Host.FpgaShadow(kFpgaWidth) * nDivisor;
    const int nHeight = m_Host.FpgaShadow(kFpgaHeight) * nDivisor;
    fov = MakeFieldOfView(m_Host.FpgaShadow(kFpgaColumnStart) * nDivisor,
                          m_Host.FpgaShadow(kFpgaRowStart) * nDivisor,
                          nWidth != 0 ? nWidth : kWidth, nHeight != 0 ? nHeight : kHeight, nMode,
                          nMode, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}
