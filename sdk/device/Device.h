// CDevice: one opened camera. The device manager constructs it on the first
// use of a device index and keeps it only when construction reports success;
// it destroys it through the virtual destructor at ZDQ_DeviceClose and
// ZDQ_UnInit, also after a failed construction, so the destructor copes with
// a partly built object.
#pragma once

#include <cstdint>

#include "device/Log.h"

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

  private:
    int m_nIndex;
    // Identity read from the camera when it opens.
    int m_nDeviceType = 0;
    int m_nSerial = 0;
    uint16_t m_wFirmwareVersion = 0;
    CLog* m_pLog = nullptr;
};
