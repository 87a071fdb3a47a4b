// The line sensors (DR2K, DR4K) as the device serves them: per-segment gain
// and black level, and the black-level calibration. The unit runs the
// sensor's side of a calibration; the device sets the camera up for it
// (bus lock, FPGA working mode and frame count, free run), reads the
// frames, and restores the FPGA on every path.
#include <memory>
#include <mutex>
#include <new>

#include "ZDQApi.h"
#include "device/Device.h"
#include "sensors/LineSensor.h"

namespace {

// Frames stacked into one calibration transfer.
constexpr uint16_t kCalibrationFrames = 8;

// Calibration frames: the camera's frame buffer emptied, then one frame
// read from the bus; a failed read is cancelled before the buffer is used
// again.
class CalibrationFrames final : public ILineSensorFrames {
  public:
    explicit CalibrationFrames(CDevice& device) : m_Device(device) {}
    int ReadCalibrationFrame(uint8_t* pBuffer, uint32_t nBytes) override {
        m_Device.EmptyFrameBuffer();
        const int nRet = m_Device.Bus().Bus_CatchOneFrame(pBuffer, nBytes);
        if (nRet != RET_SUCCESS) {
            m_Device.Transport().CancelIo();
        }
        return nRet;
    }

  private:
    CDevice& m_Device;
};

}  // namespace

int CDevice::AwaibaSegmentCount() const {
    return LineSensorSegments(m_nDeviceType);
}

int CDevice::AwaibaSetGain(int nSegment, int nGain) {
    plat::CriticalSectionLock sensor(m_SensorLock);
    auto* pUnit = dynamic_cast<CLineSensorUnit*>(m_pSensorUnit.get());
    return pUnit != nullptr ? pUnit->SetSegmentGain(nSegment, nGain) : RET_NOTSUPPORT;
}

int CDevice::AwaibaGetGain(int nSegment, int* pGain) {
    plat::CriticalSectionLock sensor(m_SensorLock);
    auto* pUnit = dynamic_cast<CLineSensorUnit*>(m_pSensorUnit.get());
    return pUnit != nullptr ? pUnit->GetSegmentGain(nSegment, pGain) : RET_NOTSUPPORT;
}

int CDevice::AwaibaSetBlackLevel(int nSegment, uint16_t wLevel) {
    plat::CriticalSectionLock sensor(m_SensorLock);
    auto* pUnit = dynamic_cast<CLineSensorUnit*>(m_pSensorUnit.get());
    return pUnit != nullptr ? pUnit->SetSegmentBlackLevel(nSegment, wLevel) : RET_NOTSUPPORT;
}

int CDevice::AwaibaGetBlackLevel(int nSegment, int* pLevel) {
    plat::CriticalSectionLock sensor(m_SensorLock);
    auto* pUnit = dynamic_cast<CLineSensorUnit*>(m_pSensorUnit.get());
    return pUnit != nullptr ? pUnit->GetSegmentBlackLevel(nSegment, pLevel) : RET_NOTSUPPORT;
}

int CDevice::AwaibaAutoBlackLevelSeg(int nSegment) {
    plat::CriticalSectionLock sensor(m_SensorLock);
    auto* pUnit = dynamic_cast<CLineSensorUnit*>(m_pSensorUnit.get());
    if (pUnit == nullptr || nSegment < 0 || nSegment >= pUnit->SegmentCount()) {
        return RET_NOTSUPPORT;
    }
    if (pUnit->IsDR4K()) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++DR4K_AutoBlackLevelSeg SegIndex = %d",
                 nSegment);
    } else {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++DR2K_AutoBlackLevelSeg. ( SegIndex = %d )",
                 nSegment);
    }
    plat::CriticalSectionLock bus(BusLock());
    // The first failure of the run is its result; the FPGA is restored
    // whatever happened.
    int nResult = RET_SUCCESS;
    const auto note = [&nResult](int nRet) {
        if (nRet != RET_SUCCESS && nResult == RET_SUCCESS) {
            nResult = nRet;
        }
        return nRet;
    };

    // Calibration frames are plain 8-bit samples in free run: no LUT,
    // sensitivity mode 4, no 16-bit transfer, no trigger.
    FpgaRelateRegValue& shadows = m_Fpga.Shadows();
    const uint16_t wSavedMode = shadows.WorkingMode;
    if (m_Capability.Has(FpgaCap::bmLutEnable)) {
        note(m_Fpga.Fpga_WrRelateReg(FPGAREG_WORKING_MODE,
                                     static_cast<uint16_t>(wSavedMode & ~WORKINGMODE_LUT_ON)));
    }
    if (m_Capability.Has(FpgaCap::bmSensitivityMode)) {
        note(m_Fpga.Fpga_WrRelateReg(
            FPGAREG_WORKING_MODE, static_cast<uint16_t>((shadows.WorkingMode & ~0x0060) | 0x0080)));
    }
    if (m_Capability.Has(FpgaCap::bm16BitsTransfer) &&
        (shadows.WorkingMode & WORKINGMODE_16BIT_DATA) != 0) {
        note(m_Fpga.Fpga_WrRelateReg(
            FPGAREG_WORKING_MODE,
            static_cast<uint16_t>(shadows.WorkingMode & ~WORKINGMODE_16BIT_DATA)));
    }
    const uint16_t wSavedFrames = shadows.wMultiFrameNum;
    note(m_Fpga.Fpga_WrRelateReg(FPGAREG_MULTIFRAMES_NUM, kCalibrationFrames));

    const uint32_t nBytes = uint32_t{shadows.wMultiFrameNum} *
                            static_cast<uint32_t>(pUnit->LinesPerFrame()) *
                            static_cast<uint32_t>(pUnit->LineWidth()) * (Data16BitsOn() ? 2u : 1u);
    std::unique_ptr<uint8_t[]> pBuffer(nBytes != 0 ? new (std::nothrow) uint8_t[nBytes] : nullptr);
    if (!pBuffer) {
        note(RET_MALLOCFAIL);
    } else {
        // Free run for the search; the working mode is restored below. (The
        // trigger bits are cleared in place, not through a trigger-mode
        // change, which would restart a preview from its own thread.)
        if ((shadows.WorkingMode & WORKINGMODE_TRIGGER_MODE) != 0) {
            note(m_Fpga.Fpga_WrRelateReg(
                FPGAREG_WORKING_MODE,
                static_cast<uint16_t>(shadows.WorkingMode & ~WORKINGMODE_TRIGGER_MODE)));
        }
        CalibrationFrames frames(*this);
        frames.ReadCalibrationFrame(pBuffer.get(), nBytes);  // settles the stream
        note(pUnit->CalibrateSegment(nSegment, frames, pBuffer.get(), nBytes));
    }

    note(m_Fpga.Fpga_WrRelateReg(FPGAREG_MULTIFRAMES_NUM, wSavedFrames));
    note(m_Fpga.Fpga_WrRelateReg(FPGAREG_WORKING_MODE, wSavedMode));
    LogPrint(m_pLog, LOGLEVEL_NORMAL,
             pUnit->IsDR4K() ? L"ZDQAPI::--DR4K_AutoBlackLevelSeg0"
                             : L"ZDQAPI::--DR2K_AutoBlackLevelSeg");
    return nResult;
}

int CDevice::AwaibaAutoBlackLevelAllSeg() {
    plat::CriticalSectionLock sensor(m_SensorLock);
    auto* pUnit = dynamic_cast<CLineSensorUnit*>(m_pSensorUnit.get());
    if (pUnit == nullptr) {
        return RET_NOTSUPPORT;
    }
    for (int s = 0; s < pUnit->SegmentCount(); ++s) {
        const int nRet = AwaibaAutoBlackLevelSeg(s);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    const int nRet = pUnit->Sensor_WrRelatedRegValue();
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_bFrameFailed = false;
    return RET_SUCCESS;
}
