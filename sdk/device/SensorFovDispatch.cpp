// The field-of-view operations of the sensor dispatch: each selects the
// sensor unit of the device type under the device's sensor lock; a type
// without a unit gets RET_NOTSUPPORT.
#include <mutex>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "device/Device.h"

namespace {
using SensorGuard = std::lock_guard<plat::CriticalSection>;
}  // namespace

CRegisterSensorUnit* CDevice::RegisterUnit() {
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return &m_MT9M001;
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            return FamilyUnit();
        default:
            return nullptr;
    }
}

int CDevice::SensorGetFovLimits(FieldOfView& fov) {
    SensorGuard guard(m_SensorLock);
    const CRegisterSensorUnit* pUnit = RegisterUnit();
    if (pUnit == nullptr) {
        return RET_NOTSUPPORT;
    }
    pUnit->GetFovLimits(fov, m_Fpga.Shadows().wMultiFrameNum, Data16BitsOn());
    return RET_SUCCESS;
}

int CDevice::SensorCheckFov(int& nColStart, int& nRowStart, int& nColSize, int& nRowSize,
                            int nAmCol, int nAmRow, uint16_t* pMultiFrames) {
    SensorGuard guard(m_SensorLock);
    const bool b16Bit = Data16BitsOn();
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return m_MT9M001.CheckFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                      pMultiFrames, b16Bit);
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            return FamilyUnit()->CheckFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                          pMultiFrames, b16Bit);
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SensorSetFov(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                          int nAmRow, uint8_t* pbChanged) {
    SensorGuard guard(m_SensorLock);
    switch (SensorUnitOf(m_nDeviceType)) {
        case SensorUnit::MT9M001:
            return m_MT9M001.SetFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                    pbChanged);
        case SensorUnit::Sensor2048Family:
        case SensorUnit::Sensor2592Family:
            return FamilyUnit()->SetFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                        pbChanged);
        default:
            return RET_NOTSUPPORT;
    }
}

// Any change of the window, the addressing modes or the frames per transfer
// changes the size of the frames the camera sends, so buffers sized for the
// old record would no longer fit.
bool CDevice::SensorFovChanged(const FieldOfView& a, const FieldOfView& b) const {
    return a.nColStart != b.nColStart || a.nRowStart != b.nRowStart || a.nColSize != b.nColSize ||
           a.nRowSize != b.nRowSize || a.AmCol != b.AmCol || a.AmRow != b.AmRow ||
           a.usMultiFrameNum != b.usMultiFrameNum;
}

// The units built here keep no state tied to the FPGA's working mode; line
// sensors, global-reset sensors and a few others re-read or rewrite theirs.
int CDevice::SensorResyncAfterFpgaCtrl() {
    return RET_SUCCESS;
}
