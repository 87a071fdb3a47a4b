// CDeviceManager: the device slots of the process. ZDQ_Init creates the one
// manager with the number of cameras found then, ZDQ_UnInit destroys it. Slot
// N holds the device of index N from its first use until ZDQ_DeviceClose or
// the manager's end. No lock: see the thread rules in ZDQApi.h.
#pragma once

#include <array>
#include <memory>

#include "ZDQApi.h"
#include "device/Device.h"

class CDeviceManager {
  public:
    // nDeviceCount bounds the device indexes (0 .. count-1) for the
    // manager's whole life.
    explicit CDeviceManager(int nDeviceCount);
    CDeviceManager(const CDeviceManager&) = delete;
    CDeviceManager& operator=(const CDeviceManager&) = delete;
    // Destroys every device of the slots.
    virtual ~CDeviceManager();

    int DeviceCount() const { return m_nDeviceCount; }
    bool IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < m_nDeviceCount; }

    // The device of a valid index, constructed when its slot is empty. Null
    // when the index is invalid or the camera does not open (the slot stays
    // empty and the next call tries again).
    CDevice* GetDevice(int nIndex);

    // The device in slot nSlot (0 .. 31), or null; constructs nothing.
    CDevice* PeekDevice(int nSlot) const;

    // Destroys the device in slot nSlot, if any, and empties the slot.
    void CloseDevice(int nSlot);

    // Counts the cameras behind the driver now: every driver device that
    // opens, claimed or not.
    static int MDeviceGetCount();

  private:
    int m_nDeviceCount;
    std::array<std::unique_ptr<CDevice>, ZDQ_MAX_DEVICES> m_pDevices;
};

// The manager while the SDK is initialised, else null.
extern std::unique_ptr<CDeviceManager> g_pDeviceManager;
