// The capability dump written to the device log once per open: the sensor,
// hardware and FPGA words field by field.
#pragma once

#include <string>
#include <vector>

#include "capability/DeviceCapability.h"

// The dump's lines in order, each to be written as one device-log line at
// level 10.
std::vector<std::wstring> CapabilityDumpLines(const DeviceCapability& cap);
