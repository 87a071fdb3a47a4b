// Raw driver calls for the simulator's tests: the 31-byte vendor-request
// record, synchronous and overlapped requests, frame reads, and a fixture
// that starts every test with no camera plugged.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "mlusbimager.h"
#include "mlusbimager_control.h"

namespace usbcam_test {

std::string devicePath(int slot);

// The record as the driver expects it; address is the data-stage buffer.
std::vector<uint8_t> vendorRecord(uint8_t requestType, uint8_t request, uint16_t value,
                                  uint16_t index, uint16_t length, const void* address);

// Completion record that counts its callbacks.
struct Completion {
    MlUsbOverlapped overlapped{};
    std::atomic<int> calls{0};
    Completion();
};

struct VendorReply {
    int ok = 0;
    uint32_t error = 0;
    uint32_t returned = 0;
    std::vector<uint8_t> data;
};

// One vendor request with the data stage in the output buffer (or, with
// viaAddress, only through the record's address), synchronous.
VendorReply vendor(MlUsbHandle handle, uint8_t requestType, uint8_t request, uint16_t value,
                   uint16_t index, uint16_t length, const std::vector<uint8_t>& out = {},
                   bool viaAddress = false);
// A device-to-host request with the reply buffer pre-filled with 0xFF.
VendorReply vendorIn(MlUsbHandle handle, uint8_t request, uint16_t value, uint16_t index,
                     uint16_t length);

// Sensor and FPGA register access as the camera protocol defines it.
uint16_t readSensor(MlUsbHandle handle, uint16_t address);
void writeSensor(MlUsbHandle handle, uint16_t address, uint16_t value);
void writeFpga(MlUsbHandle handle, uint8_t reg, uint16_t value);

struct ReadResult {
    int ok = 0;
    uint32_t error = 0;
    uint32_t bytes = 0;
};
// An overlapped frame read waited for to its end.
ReadResult readFrame(MlUsbHandle handle, std::vector<uint8_t>& buffer);

class SimTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Plugs a camera of the type at the slot (profile adjusted by the
    // caller) and opens it.
    MlUsbHandle plugAndOpen(int slot, const MlSimProfile& profile);
    static MlSimProfile profileOf(int type);

    std::vector<MlUsbHandle> handles_;
};

}  // namespace usbcam_test
