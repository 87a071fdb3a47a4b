// The sensor unit of a device type: made once when the camera opens.
#pragma once

#include <cstdint>
#include <memory>

#include "capability/DeviceCapability.h"
#include "common/Log.h"
#include "platform/CriticalSection.h"
#include "sensors/SensorHost.h"
#include "sensors/SensorState.h"
#include "sensors/SensorUnit.h"
#include "usb/VendorRequests.h"

// What a unit works with: the device's vendor requests, capability record,
// log pointer (read at every line), sensor state, bus lock, the device
// itself and the type.
struct SensorUnitContext {
    CVendorRequests& vendor;
    const DeviceCapability& capability;
    CLog* const& rpLog;
    SensorState& state;
    plat::CriticalSection& busLock;  // lock A of the device
    ISensorHost& host;
    int32_t nDeviceType;
};

// The unit of the context's device type; a plain CSensorUnit, which supports
// nothing, for a type without one.
std::unique_ptr<CSensorUnit> MakeSensorUnit(const SensorUnitContext& context);
