#include "usb/DriverNames.h"

std::string DriverDevicePath(int nDriverNumber) {
    return std::string("\\\\.\\mlusbimager-") + static_cast<char>('0' + nDriverNumber);
}

std::string CameraClaimName(int nDriverNumber) {
    return "ZDQAPI::mlCamera" + std::to_string(nDriverNumber);
}
