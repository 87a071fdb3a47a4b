// Names through which the SDK reaches the camera driver's devices.
#pragma once

#include <string>

// Driver device i (0 .. 31) is "\\.\mlusbimager-" followed by the single
// character of code 48 + i: '0' .. '9', then ':' ';' '<' ... 'O'.
std::string DriverDevicePath(int nDriverNumber);

// The named claim "ZDQAPI::mlCamera<i>" marks driver device i as taken by a
// device object of this or another process.
std::string CameraClaimName(int nDriverNumber);
