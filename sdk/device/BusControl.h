// CBusControl: frame reads and recovery of one camera, on top of the
// transport, the vendor requests and the FPGA shadows.
//
// Frame reads are made under the bus lock (the callers take it, the read
// takes it too). They return only once the driver is done with the buffer,
// also after a time-out, so the caller may reuse or free it at once.
#pragma once

#include <cstdint>
#include <functional>

#include "device/FpgaRegisters.h"

class CBusControl {
  public:
    CBusControl(CUsbTransport& transport, CVendorRequests& vendor, CFpgaRegisters& fpga,
                const DeviceCapability& capability);
    CBusControl(const CBusControl&) = delete;
    CBusControl& operator=(const CBusControl&) = delete;

    // Writes the sensor's and the FPGA's registers back from their shadows
    // after a reconnection: RET_RECOVERY_SUCCESS or RET_RECOVERY_FAIL. The
    // sensor layer installs it; until then nothing is written and recovery
    // reports RET_RECOVERY_SUCCESS.
    std::function<int()> restoreRegisters;

    // One frame of nBytes into pBuffer: RET_SUCCESS, RET_INVALIDFRAME,
    // RET_ZEROFRAME, RET_TIMEOUT, RET_IOERROR, RET_FAIL, RET_DEVICECLOSED.
    int Bus_CatchOneFrame(uint8_t* pBuffer, uint32_t nBytes);
    int Bus_CatchOneFrameIoctl(uint8_t* pBuffer, uint32_t nBytes);
    // As Bus_CatchOneFrameIoctl; *pReal (may be null) gets the bytes read.
    int Bus_CatchOneFrameNoCmdEx(uint8_t* pBuffer, int* pReal, uint32_t nBytes);

    // The device-reset request, then the host-side resets. 1.
    int ResetDeviceAndHost();
    // Reopens a camera that fell off the bus and restores its registers:
    // RET_RECOVERY_SUCCESS or RET_RECOVERY_FAIL. A transport its owner has
    // closed stays closed (RET_RECOVERY_FAIL).
    int Recover();

    // Pause before recovery starts, in ms.
    static constexpr uint32_t kRecoverPauseMs = 500;

  private:
    int StreamRead(uint8_t* pBuffer, uint32_t nBytes, uint32_t* pReal);

    CUsbTransport& m_Transport;
    CVendorRequests& m_Vendor;
    CFpgaRegisters& m_Fpga;
    const DeviceCapability& m_Capability;
};
