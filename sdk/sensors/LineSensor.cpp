#include "sensors/LineSensor.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

// The FPGA's working-mode register and its trigger bits (b0, b1, b12).
constexpr int kFpgaWorkingMode = 0;
constexpr uint16_t kTriggerModeBits = 0x1003;
// Register 0x72: bit 0 external trigger, bit 8 calibration running.
constexpr uint16_t kFlagTrigger = 0x0001;
constexpr uint16_t kFlagCalibration = 0x0100;
// Control register bits: bit 0 load strobe, bit 4 cleared while calibrating.
constexpr uint16_t kControlStrobe = 0x01;
constexpr uint16_t kControlNormal = 0x10;
// Bit 2 of the mode and calibration registers.
constexpr uint16_t kBit2 = 0x04;
// Addressing modes 0-4 and the skip bit each needs.
constexpr int kModeDivisor[5] = {1, 2, 3, 4, 8};
// One transfer of stacked frames stays within 16 MiB.
constexpr int64_t kMaxTransferBytes = 16777216;
// Preset of the registers s x 16 + 2 .. + 10 for a calibration, with
// register 0x01 written first.
constexpr uint16_t kPresetControl = 249;
constexpr uint16_t kPresetValues[9] = {18, 29, 200, 23, 1, 4, 16, 127, 0};

bool ModeAllowed(const DeviceCapability& capability, int nMode) {
    static const CapField* const kSkipBits[5] = {nullptr, &SensorCap::bmSkip2, &SensorCap::bmSkip3,
                                                 &SensorCap::bmSkip4, &SensorCap::bmSkip8};
    return nMode == 0 || capability.Has(*kSkipBits[nMode]);
}

}  // namespace

int LineSensorSegments(int32_t nDeviceType) {
    switch (nDeviceType) {
        case 98:
        case 101:
            return 2;
        case 99:
            return 1;
        case 100:
            return 4;
        default:
            return 0;
    }
}

int LineSensorLinesPerFrame(int32_t nDeviceType) {
    return nDeviceType == 98 || nDeviceType == 100 ? 2 : 1;
}

int LineSensorLineWidth(int32_t nDeviceType) {
    switch (nDeviceType) {
        case 98:
        case 99:
            return 2048;
        case 100:
        case 101:
            return 4096;
        default:
            return 0;
    }
}

bool IsLineSensorType(int32_t nDeviceType) {
    return LineSensorSegments(nDeviceType) > 0;
}

CLineSensorUnit::CLineSensorUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                                 CLog* const& rpLog, SensorState& state, ISensorHost& host,
                                 int32_t nDeviceType)
    : m_Vendor(vendor),
      m_Capability(capability),
      m_rpLog(rpLog),
      m_State(state),
      m_Host(host),
      m_bDR4K(nDeviceType == 100 || nDeviceType == 101),
      m_nSegments(LineSensorSegments(nDeviceType)),
      m_nLinesPerFrame(LineSensorLinesPerFrame(nDeviceType)),
      m_nLineWidth(LineSensorLineWidth(nDeviceType)) {}

int CLineSensorUnit::Init() {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, m_bDR4K ? L"ZDQAPI::++DR4K_Init" : L"ZDQAPI::++DR2K_Init");
    RoiLimits& roi = m_State.roi;
    roi = RoiLimits{};
    roi.nMinWidth = roi.nMaxWidth = m_nLineWidth;
    roi.nMinHeight = roi.nMaxHeight = m_nLinesPerFrame;
    const int nRet = Sensor_RdRelatedRegValue();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_State.fExposureTime = ExposureLinesToTime(Shadow(kExposure));
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, m_bDR4K ? L"ZDQAPI::--DR4K_Init" : L"ZDQAPI::--DR2K_Init");
    return RET_SUCCESS;
}

int CLineSensorUnit::Sensor_RdRelatedRegValue() {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             m_bDR4K ? L"ZDQAPI::++DR4K_Sensor_RdRelatedRegValue"
                     : L"ZDQAPI::++DR2K_Sensor_RdRelatedRegValue");
    m_wSegment = {};
    m_wGlobal = {};
    for (int s = 0; s < m_nSegments; ++s) {
        for (int r = 0; r < kSegmentRegisters; ++r) {
            uint16_t wValue = 0;
            const int nRet = m_Vendor.VendorCmd_RdSensor(SegmentAddress(s, kControl + r), &wValue);
            if (nRet != RET_SUCCESS) {
                return nRet;
            }
            m_wSegment[s][r] = wValue & 0xFF;
        }
    }
    for (int g = 0; g < 3; ++g) {
        const int nRet = m_Vendor.VendorCmd_RdSensor(kExposure + g, &m_wGlobal[g]);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             m_bDR4K ? L"ZDQAPI::--DR4K_Sensor_RdRelatedRegValue"
                     : L"ZDQAPI::--DR2K_Sensor_RdRelatedRegValue");
    return RET_SUCCESS;
}

uint16_t* CLineSensorUnit::Slot(uint8_t byAddress) {
    return const_cast<uint16_t*>(static_cast<const CLineSensorUnit*>(this)->Slot(byAddress));
}

const uint16_t* CLineSensorUnit::Slot(uint8_t byAddress) const {
    if (byAddress >= kExposure && byAddress <= kFlags) {
        return &m_wGlobal[byAddress - kExposure];
    }
    const int nSegment = SegmentOf(byAddress);
    const int nRegister = byAddress & 0x0F;
    // The shadow has four segments; 0x7x beyond the globals is no register.
    if (nSegment >= kMaxSegments || nRegister < kControl ||
        nRegister > kControl + kSegmentRegisters - 1) {
        return nullptr;
    }
    return &m_wSegment[nSegment][nRegister - kControl];
}

uint16_t CLineSensorUnit::Shadow(uint8_t byAddress) const {
    const uint16_t* pSlot = Slot(byAddress);
    return pSlot != nullptr ? *pSlot : 0;
}

int CLineSensorUnit::SelectSeg(int nSegment) {
    if (nSegment < 0 || nSegment >= m_nSegments) {
        return RET_SUCCESS;
    }
    const uint8_t byControl = SegmentAddress(nSegment, kControl);
    return m_Vendor.VendorCmd_WrSensor(byControl,
                                       static_cast<uint16_t>(Shadow(byControl) | kControlStrobe));
}

int CLineSensorUnit::Sensor_WrReg(uint8_t byAddress, uint16_t wValue) {
    uint16_t* pSlot = Slot(byAddress);
    if (pSlot == nullptr) {
        return RET_NOTSUPPORT;
    }
    const bool bGlobal = byAddress >= kExposure;
    if (!bGlobal) {
        wValue &= 0xFF;
    }
    if (*pSlot == wValue) {
        return RET_SUCCESS;
    }
    const int nRet = m_Vendor.VendorCmd_WrSensor(byAddress, wValue);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    *pSlot = wValue;
    if (byAddress == kExposure) {
        m_State.fExposureTime = ExposureLinesToTime(wValue);
    }
    return bGlobal ? RET_SUCCESS : SelectSeg(SegmentOf(byAddress));
}

int CLineSensorUnit::ForceWrite(uint8_t byAddress, uint16_t wValue) {
    uint16_t* pSlot = Slot(byAddress);
    if (pSlot == nullptr) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wOld = *pSlot;
    const uint16_t wUnequal = static_cast<uint16_t>(~wValue);
    *pSlot = wUnequal;  // never equal: the write is sent
    const int nRet = Sensor_WrReg(byAddress, wValue);
    if (*pSlot == wUnequal) {
        *pSlot = wOld;  // the write did not reach the chip
    }
    return nRet;
}

int CLineSensorUnit::Sensor_WrRelatedRegValue() {
    for (int s = 0; s < m_nSegments; ++s) {
        for (int r = 0; r < kSegmentRegisters; ++r) {
            int nRet =
                m_Vendor.VendorCmd_WrSensorX(SegmentAddress(s, kControl + r), m_wSegment[s][r]);
            if (nRet == RET_SUCCESS) {
                nRet = SelectSeg(s);
            }
            if (nRet != RET_SUCCESS) {
                return nRet;
            }
        }
    }
    m_wGlobal[kFlags - kExposure] &= static_cast<uint16_t>(~kFlagCalibration);
    for (int g = 0; g < 3; ++g) {
        const int nRet = m_Vendor.VendorCmd_WrSensor(kExposure + g, m_wGlobal[g]);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CLineSensorUnit::SetExposureClocks(uint16_t wLines) {
    if (wLines < kMinExposureLines) {
        wLines = kMinExposureLines;
    }
    if (wLines > kMaxExposureLines) {
        wLines = kMaxExposureLines;
    }
    const uint16_t wPeriod = static_cast<uint16_t>(
        std::max<int>(static_cast<uint16_t>(wLines + kLinePeriodOverhead), kMinLinePeriod));
    // The line period never falls below the exposure while both change:
    // a shorter exposure first, a longer period first.
    if (Shadow(kExposure) >= wLines) {
        const int nRet = Sensor_WrReg(kExposure, wLines);
        return nRet != RET_SUCCESS ? nRet : Sensor_WrReg(kLinePeriod, wPeriod);
    }
    const int nRet = Sensor_WrReg(kLinePeriod, wPeriod);
    return nRet != RET_SUCCESS ? nRet : Sensor_WrReg(kExposure, wLines);
}

int CLineSensorUnit::SetExposureLines(int nLines) {
    return SetExposureClocks(static_cast<uint16_t>(std::clamp(nLines, 0, kMaxExposureLines)));
}

int CLineSensorUnit::SetExposureTime(float fMs) {
    m_State.fRequestedExposureTime = fMs;
    return SetExposureLines(static_cast<int>(
        std::clamp<int64_t>(ExposureTimeToLines(fMs), kMinExposureLines, kMaxExposureLines)));
}

int CLineSensorUnit::GetExposureLines(int* pLines) const {
    SetOut(pLines, Shadow(kExposure));
    return RET_SUCCESS;
}

int CLineSensorUnit::GetExposureLinesRange(int* pMin, int* pMax) const {
    SetOut(pMin, kMinExposureLines);
    SetOut(pMax, kMaxExposureLines);
    return RET_SUCCESS;
}

float CLineSensorUnit::ExposureLinesToTime(int64_t nLines) const {
    return static_cast<float>(static_cast<double>(nLines) * m_Capability.T);
}

int64_t CLineSensorUnit::ExposureTimeToLines(float fMs) const {
    if (!(fMs > 0.0f) || !(m_Capability.T > 0.0)) {
        return kMinExposureLines;
    }
    return SaturatedCast<int64_t>(std::floor(double{fMs} / m_Capability.T + 0.5));
}

int CLineSensorUnit::GetExposureTimeRange(float* pMin, float* pMax) const {
    SetOut(pMin, ExposureLinesToTime(kMinExposureLines));
    SetOut(pMax, ExposureLinesToTime(kMaxExposureLines));
    return RET_SUCCESS;
}

int CLineSensorUnit::GetExposureTime(float* pMs) const {
    SetOut(pMs, m_State.fExposureTime);
    return RET_SUCCESS;
}

int CLineSensorUnit::GetGainRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 255);
    return RET_SUCCESS;
}

int CLineSensorUnit::SetSegmentGain(int nSegment, int nGain) {
    if (nSegment < 0 || nSegment >= m_nSegments) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wGain = static_cast<uint16_t>(nGain);
    return Sensor_WrReg(SegmentAddress(nSegment, kGain),
                        static_cast<uint16_t>(wGain < 256 ? 255 - wGain : 0));
}

int CLineSensorUnit::GetSegmentGain(int nSegment, int* pGain) const {
    if (nSegment < 0 || nSegment >= m_nSegments) {
        return RET_NOTSUPPORT;
    }
    SetOut(pGain, 255 - (Shadow(SegmentAddress(nSegment, kGain)) & 0xFF));
    return RET_SUCCESS;
}

int CLineSensorUnit::SetGain(GainColour colour, int nGain) {
    if (m_bDR4K) {
        return SetSegmentGain(static_cast<int>(colour), nGain);
    }
    for (int s = 0; s < m_nSegments; ++s) {
        const int nRet = SetSegmentGain(s, nGain);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CLineSensorUnit::GetGain(GainColour colour, int* pGain) const {
    const int nSegment = m_bDR4K ? static_cast<int>(colour) : 0;
    if (nSegment >= m_nSegments) {
        SetOut(pGain, 0);
        return RET_SUCCESS;
    }
    return GetSegmentGain(nSegment, pGain);
}

int CLineSensorUnit::SetSegmentBlackLevel(int nSegment, uint16_t wLevel) {
    if (nSegment < 0 || nSegment >= m_nSegments) {
        return RET_NOTSUPPORT;
    }
    return Sensor_WrReg(SegmentAddress(nSegment, kBlackLevel), std::min<uint16_t>(wLevel, 255));
}

int CLineSensorUnit::GetSegmentBlackLevel(int nSegment, int* pLevel) const {
    if (nSegment < 0 || nSegment >= m_nSegments) {
        return RET_NOTSUPPORT;
    }
    SetOut(pLevel, Shadow(SegmentAddress(nSegment, kBlackLevel)) & 0xFF);
    return RET_SUCCESS;
}

int CLineSensorUnit::GetBlackLevelRange(int* pMin, int* pMax) const {
    SetOut(pMin, 0);
    SetOut(pMax, 255);
    return RET_SUCCESS;
}

int CLineSensorUnit::GetBlackLevel(int* pLevel) const {
    return GetSegmentBlackLevel(0, pLevel);
}

int CLineSensorUnit::SetBlackLevel(int nLevel) {
    const uint16_t wLevel = static_cast<uint16_t>(std::clamp(nLevel, 0, 255));
    for (int s = 0; s < m_nSegments; ++s) {
        const int nRet = SetSegmentBlackLevel(s, wLevel);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return RET_SUCCESS;
}

int CLineSensorUnit::GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum,
                                  bool b16BitData) const {
    fov = MakeFieldOfView(0, 0, m_nLineWidth, m_nLinesPerFrame, 0, 0, usMultiFrameNum, b16BitData);
    return RET_SUCCESS;
}

int CLineSensorUnit::CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                              int /*nAmRow*/, uint16_t* pMultiFrames, bool b16BitData) const {
    // The row mode follows the column mode; a mode above 4 is full read-out.
    if (nAmCol < 0 || nAmCol > 4) {
        nAmCol = 0;
    }
    if (!ModeAllowed(m_Capability, nAmCol)) {
        return RET_NOTSUPPORT;
    }
    const RoiLimits& roi = m_State.roi;
    const auto fit = [](int& nStart, int& nSize, int nMin, int nMax) {
        nSize = std::clamp(nSize, nMin, nMax);
        nStart = std::clamp(nStart, 0, nMax - nSize);
    };
    fit(nColStart, nWidth, roi.nMinWidth, roi.nMaxWidth);
    fit(nRowStart, nHeight, roi.nMinHeight, roi.nMaxHeight);
    if (pMultiFrames != nullptr) {
        const int nDivisor = kModeDivisor[nAmCol];
        const int64_t nFrameBytes =
            int64_t{nWidth / nDivisor} * (nHeight / nDivisor) * (b16BitData ? 2 : 1);
        const int64_t nFit = nFrameBytes > 0 ? kMaxTransferBytes / nFrameBytes : 65535;
        if (nFit < *pMultiFrames) {
            *pMultiFrames = static_cast<uint16_t>(std::min<int64_t>(nFit, 65535));
        }
        if (*pMultiFrames == 0) {
            *pMultiFrames = 1;
        }
    }
    return RET_SUCCESS;
}

int CLineSensorUnit::SetFov(int /*nColStart*/, int /*nRowStart*/, int /*nWidth*/, int /*nHeight*/,
                            int /*nAmCol*/, int /*nAmRow*/, uint8_t* pbChanged) {
    SetOut(pbChanged, 0);
    return RET_SUCCESS;
}

int CLineSensorUnit::ResyncAfterFpgaCtrl() {
    const bool bTriggered = (m_Host.FpgaShadow(kFpgaWorkingMode) & kTriggerModeBits) != 0;
    const uint16_t wFlags = Shadow(kFlags);
    return Sensor_WrReg(
        kFlags, static_cast<uint16_t>(bTriggered ? wFlags | kFlagTrigger : wFlags & ~kFlagTrigger));
}

int CLineSensorUnit::PresetWrite(int nSegment, uint8_t byAddress, uint16_t wValue) {
    const int nRet = m_Vendor.VendorCmd_WrSensorX(byAddress, wValue);
    return nRet != RET_SUCCESS ? nRet : SelectSeg(nSegment);
}

int CLineSensorUnit::AutoBlackLevelSegPrepare(int nSegment) {
    // Register 0x01 is segment 0's control register whatever the segment.
    int nRet = PresetWrite(nSegment, kControl, kPresetControl);
    for (int r = 0; r < 9 && nRet == RET_SUCCESS; ++r) {
        nRet = PresetWrite(nSegment, SegmentAddress(nSegment, static_cast<uint8_t>(kMode + r)),
                           kPresetValues[r]);
    }
    return nRet;
}

int CLineSensorUnit::CalibrationMean(const uint8_t* pFrame, uint32_t nBytes, int nSegment) const {
    // DR2K: the bytes of the first line from the segment's position on;
    // DR4K: every second byte of the first line from it.
    const uint32_t nEnd = std::min<uint32_t>(static_cast<uint32_t>(m_nLineWidth), nBytes);
    const uint32_t nStep = m_bDR4K ? 2 : 1;
    uint64_t nSum = 0;
    for (uint32_t i = static_cast<uint32_t>(nSegment); i < nEnd; i += nStep) {
        nSum += pFrame[i];
    }
    return static_cast<int>(nSum / 2048);
}

const wchar_t* CLineSensorUnit::CalibrationName() const {
    return m_bDR4K ? L"DR4K_AutoBlackLevelSeg" : L"DR2K_AutoBlackLevelSeg";
}

int CLineSensorUnit::CalibrateSegment(int nSegment, ILineSensorFrames& frames, uint8_t* pBuffer,
                                      uint32_t nFrameBytes) {
    const uint8_t byControl = SegmentAddress(nSegment, kControl);
    const uint8_t byMode = SegmentAddress(nSegment, kMode);
    const uint8_t byCalibration = SegmentAddress(nSegment, kCalibration);
    const uint8_t byLevel = SegmentAddress(nSegment, kBlackLevel);
    const uint16_t d = Shadow(byControl);
    const uint16_t e = Shadow(byMode);
    const uint16_t f = Shadow(byCalibration);
    // The first failure of the run is its result; the search and the final
    // writes still run so the sensor leaves calibration.
    int nFirstFailure = RET_SUCCESS;
    const auto note = [&nFirstFailure](int nRet) {
        if (nRet != RET_SUCCESS && nFirstFailure == RET_SUCCESS) {
            nFirstFailure = nRet;
        }
        return nRet;
    };
    note(AutoBlackLevelSegPrepare(nSegment));
    // Writes in order, stopping at the first failure.
    const auto writeInOrder = [&](std::initializer_list<std::pair<uint8_t, uint16_t>> writes) {
        for (const auto& write : writes) {
            if (note(Sensor_WrReg(write.first, write.second)) != RET_SUCCESS) {
                return false;
            }
        }
        return true;
    };
    const bool bEntered =
        writeInOrder({{byControl, static_cast<uint16_t>(d & ~kControlNormal)},
                      {byMode, static_cast<uint16_t>(e & ~kBit2)},
                      {byCalibration, static_cast<uint16_t>(f | kBit2)},
                      {kFlags, static_cast<uint16_t>(Shadow(kFlags) | kFlagCalibration)}});
    if (!bEntered) {
        return nFirstFailure;
    }

    // The preset wrote the level register past the shadow, so the search
    // sends every level it tries, also one equal to the shadow.
    int nLevel = kSearchStart;
    int nTaken = kLevelNotFound;
    bool bFound = false;
    while (!bFound && nLevel < kSearchEnd) {
        if (note(ForceWrite(byLevel, static_cast<uint16_t>(nLevel))) != RET_SUCCESS) {
            return nFirstFailure;
        }
        // The first frame after a change still shows the old level.
        for (int nRead = 0; nRead < 2; ++nRead) {
            if (note(frames.ReadCalibrationFrame(pBuffer, nFrameBytes)) != RET_SUCCESS) {
                return nFirstFailure;
            }
        }
        if (CalibrationMean(pBuffer, nFrameBytes, nSegment) > kCalibrationThreshold) {
            ++nLevel;
        } else {
            nTaken = nLevel - 1;
            bFound = true;
        }
    }
    if (!bFound) {
        LogPrint(m_rpLog, LOGLEVEL_NORMAL,
                 m_bDR4K ? L"ZDQAPI::DR4K_AutoBlackLevel Not Find Seg0 BlackLevel."
                         : L"ZDQAPI::DR2K_AutoBlackLevel Not Find BlackLevel.");
    }
    note(ForceWrite(byLevel, static_cast<uint16_t>(nTaken)));
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             m_bDR4K ? L"ZDQAPI::DR4K_AutoBlackLevel Find Seg0 BlackLevel = %d."
                     : L"ZDQAPI::DR2K_AutoBlackLevel Find BlackLevel = %d.",
             nTaken);

    writeInOrder({{byMode, static_cast<uint16_t>(e | kBit2)},
                  {byMode, static_cast<uint16_t>(e & ~kBit2)},
                  {byControl, static_cast<uint16_t>(d | kControlNormal)},
                  {byCalibration, static_cast<uint16_t>(f | kBit2)},
                  {kFlags, static_cast<uint16_t>(Shadow(kFlags) & ~kFlagCalibration)},
                  {byLevel, static_cast<uint16_t>((Shadow(byLevel) + 2) & 0xFF)}});
    return nFirstFailure;
}
