#include "raw_driver.h"

#include <cstring>

namespace usbcam_test {

namespace {
void putLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

void countCall(void* context) {
    static_cast<Completion*>(context)->calls++;
}
}  // namespace

std::string devicePath(int slot) {
    return std::string("\\\\.\\mlusbimager-") + static_cast<char>(48 + slot);
}

std::vector<uint8_t> vendorRecord(uint8_t requestType, uint8_t request, uint16_t value,
                                  uint16_t index, uint16_t length, const void* address) {
    std::vector<uint8_t> record(MLUSB_VENDOR_REQUEST_SIZE, 0);
    putLe32(&record[0], value);
    putLe32(&record[4], length);
    putLe32(&record[8], index);
    record[12] = request;
    record[13] = requestType;
    record[14] = requestType & 0x80;
    uint64_t a = reinterpret_cast<uintptr_t>(address);
    std::memcpy(&record[15], &a, sizeof(a));
    return record;
}

Completion::Completion() {
    overlapped.on_complete = countCall;
    overlapped.context = this;
}

VendorReply vendor(MlUsbHandle handle, uint8_t requestType, uint8_t request, uint16_t value,
                   uint16_t index, uint16_t length, const std::vector<uint8_t>& out,
                   bool viaAddress) {
    VendorReply reply;
    reply.data = out;
    reply.data.resize(length, 0xFF);
    std::vector<uint8_t> record =
        vendorRecord(requestType, request, value, index, length, reply.data.data());
    reply.ok = mlusb_ioctl(handle, MLUSB_IOCTL_VENDOR_REQUEST, record.data(),
                           static_cast<uint32_t>(record.size()),
                           viaAddress || length == 0 ? nullptr : reply.data.data(),
                           viaAddress ? 0 : length, &reply.returned, nullptr);
    reply.error = reply.ok ? 0 : mlusb_get_last_error();
    return reply;
}

VendorReply vendorIn(MlUsbHandle handle, uint8_t request, uint16_t value, uint16_t index,
                     uint16_t length) {
    return vendor(handle, 0xC0, request, value, index, length);
}

uint16_t readSensor(MlUsbHandle handle, uint16_t address) {
    VendorReply r = vendorIn(handle, 0xC2, address, 0, 3);
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(r.data[0], 0) << "status of sensor read " << address;
    return static_cast<uint16_t>(r.data[1] << 8 | r.data[2]);
}

void writeSensor(MlUsbHandle handle, uint16_t address, uint16_t value) {
    VendorReply r = vendorIn(handle, 0xC3, address, value, 3);
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(r.data[0], 0) << "status of sensor write " << address;
}

void writeFpga(MlUsbHandle handle, uint8_t reg, uint16_t value) {
    VendorReply r = vendorIn(handle, 0x2B, reg, value, 3);
    EXPECT_EQ(r.ok, 1);
    EXPECT_EQ(r.data[0], 0) << "status of FPGA write " << int(reg);
}

ReadResult readFrame(MlUsbHandle handle, std::vector<uint8_t>& buffer) {
    ReadResult result;
    MlUsbOverlapped overlapped{};
    int ok = mlusb_read(handle, buffer.data(), static_cast<uint32_t>(buffer.size()), &result.bytes,
                        &overlapped);
    if (ok) {
        result.ok = 1;
        return result;
    }
    if (mlusb_get_last_error() != MLUSB_ERROR_IO_PENDING) {
        result.error = mlusb_get_last_error();
        return result;
    }
    result.ok = mlusb_get_overlapped_result(handle, &overlapped, &result.bytes, 1);
    result.error = result.ok ? 0 : mlusb_get_last_error();
    return result;
}

void SimTest::SetUp() {
    mlsim_unplug_all();
}

void SimTest::TearDown() {
    for (MlUsbHandle handle : handles_) {
        mlusb_close(handle);
    }
    mlsim_unplug_all();
}

MlUsbHandle SimTest::plugAndOpen(int slot, const MlSimProfile& profile) {
    EXPECT_EQ(mlsim_plug(slot, &profile), 1);
    MlUsbHandle handle = mlusb_open(devicePath(slot).c_str());
    EXPECT_NE(handle, nullptr);
    handles_.push_back(handle);
    return handle;
}

MlSimProfile SimTest::profileOf(int type) {
    MlSimProfile profile;
    mlsim_profile_default(type, &profile);
    return profile;
}

}  // namespace usbcam_test
