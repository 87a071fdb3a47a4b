// The field-of-view operations of the sensor dispatch: each forwards to the
// sensor unit under the device's sensor lock.
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"

int CDevice::SensorGetFovLimits(FieldOfView& fov) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->GetFovLimits(fov, m_Fpga.Shadows().wMultiFrameNum, Data16BitsOn());
}

int CDevice::SensorCheckFov(int& nColStart, int& nRowStart, int& nColSize, int& nRowSize,
                            int nAmCol, int nAmRow, uint16_t* pMultiFrames) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->CheckFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                   pMultiFrames, Data16BitsOn());
}

int CDevice::SensorSetFov(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                          int nAmRow, uint8_t* pbChanged) {
    plat::CriticalSectionLock guard(m_SensorLock);
    return m_pSensorUnit->SetFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                 pbChanged);
}

// Any change of the window, the addressing modes or the frames per transfer
// changes the size of the frames the camera sends, so buffers sized for the
// old record would no longer fit.
bool CDevice::SensorFovChanged(const FieldOfView& a, const FieldOfView& b) const {
    return a.nColStart != b.nColStart || a.nRowStart != b.nRowStart || a.nColSize != b.nColSize ||
           a.nRowSize != b.nRowSize || a.AmCol != b.AmCol || a.AmRow != b.AmRow ||
           a.usMultiFrameNum != b.usMultiFrameNum;
}

// Units that keep state tied to the FPGA's working mode re-read or rewrite
// it; the others answer 1. It runs inside the working-mode write, whose
// caller may hold the bus lock: taking the sensor lock here would reverse
// the order (sensor, then bus) the sensor operations keep, so it runs under
// the caller's locks.
int CDevice::SensorResyncAfterFpgaCtrl() {
    return m_pSensorUnit->ResyncAfterFpgaCtrl();
}
