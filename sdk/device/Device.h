// CDevice: one opened camera. The device manager constructs it on the first
// use of a device index and keeps it only when construction reports success;
// it destroys it through the virtual destructor at ZDQ_DeviceClose and
// ZDQ_UnInit, also after a failed construction, so the destructor copes with
// a partly built object.
#pragma once

#include <cstdint>

#include "device/BusControl.h"
#include "device/FpgaRegisters.h"
#include "device/Gpio.h"
#include "device/Log.h"
#include "device/UsbTransport.h"
#include "device/VendorRequests.h"
#include "sensors/DeviceCapability.h"

class CDevice {
  public:
    // Opens a camera for device index nIndex; bSuccess tells whether it did.
    CDevice(int nIndex, bool& bSuccess);
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;
    virtual ~CDevice();

    // Starts or stops the device log. Starting creates a new file
    // ZDQLOG_<type>_<serial>_0x<firmware>_<time>.log in pszFolder (null or
    // empty: the default log folder), which becomes the process-wide log
    // folder. A device that logs already keeps its file. 1, or RET_FAIL when
    // the folder or the log cannot be created.
    int LogSet(bool bEnable, const wchar_t* pszFolder);

    // The device log, null while it is off.
    CLog* Log() const { return m_pLog; }
    int Index() const { return m_nIndex; }

    // The layers below the device: driver link, vendor requests, FPGA
    // registers, frame reads and recovery.
    CUsbTransport& Transport() { return m_Transport; }
    CVendorRequests& Vendor() { return m_Vendor; }
    CFpgaRegisters& Fpga() { return m_Fpga; }
    CBusControl& Bus() { return m_Bus; }
    CGpio& Gpio() { return m_Gpio; }
    DeviceCapability& Capability() { return m_Capability; }

  private:
    int m_nIndex;
    CLog* m_pLog = nullptr;  // before the layers, which read it
    // Identity read from the camera when it opens.
    int m_nDeviceType = 0;
    int m_nSerial = 0;
    uint16_t m_wFirmwareVersion = 0;
    DeviceCapability m_Capability;
    CUsbTransport m_Transport{m_pLog};
    CVendorRequests m_Vendor{m_Transport, m_Capability};
    CFpgaRegisters m_Fpga{m_Vendor, m_Transport, m_Capability};
    CBusControl m_Bus{m_Transport, m_Vendor, m_Fpga, m_Capability};
    CGpio m_Gpio{m_Fpga, m_Vendor, m_Capability};
};
