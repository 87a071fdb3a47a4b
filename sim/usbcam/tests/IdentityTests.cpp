// Opening driver paths, descriptor, driver version, the device-information
// request and the checks the driver makes on the vendor-request record.
#include <thread>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

class IdentityTest : public SimTest {};

TEST_F(IdentityTest, PathsOpenOnlyWhereACameraIsPlugged) {
    EXPECT_EQ(mlsim_plug(3, &static_cast<const MlSimProfile&>(profileOf(1))), 1);
    MlUsbHandle first = mlusb_open(devicePath(3).c_str());
    MlUsbHandle second = mlusb_open(devicePath(3).c_str());
    EXPECT_NE(first, nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(mlusb_close(first), 1);
    EXPECT_EQ(mlusb_close(second), 1);

    const std::string bad[] = {devicePath(2),       "\\\\.\\mlusbimager-",
                               devicePath(3) + "x", "\\\\.\\mlusbimager-P",
                               "mlusbimager-3",     devicePath(3).substr(1)};
    for (const std::string& path : bad) {
        EXPECT_EQ(mlusb_open(path.c_str()), nullptr) << path;
        EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_FILE_NOT_FOUND) << path;
    }
    EXPECT_EQ(mlusb_open(nullptr), nullptr);
}

TEST_F(IdentityTest, EveryDriverNumberIsReachable) {
    for (int slot = 0; slot < MLUSB_MAX_DEVICES; ++slot) {
        MlSimProfile p = profileOf(9);
        p.serial = slot;
        MlUsbHandle h = plugAndOpen(slot, p);
        VendorReply info = vendorIn(h, 0xC9, 0, 0, 5);
        ASSERT_EQ(info.ok, 1);
        EXPECT_EQ(info.data[2], slot);
    }
    EXPECT_EQ(mlsim_plug(32, &static_cast<const MlSimProfile&>(profileOf(9))), 0);
}

TEST_F(IdentityTest, DeviceInformationHasTheConfiguredIdentity) {
    struct Case {
        int type;
        int serial;
        uint16_t firmware;
    } cases[] = {{1, 7, 0x0151}, {9, 200, 0x1414}, {52, 0, 0x0301}, {3, 255, 0x0100}};
    int slot = 0;
    for (const Case& c : cases) {
        MlSimProfile p = profileOf(c.type);
        p.serial = c.serial;
        p.firmware_version = c.firmware;
        MlUsbHandle h = plugAndOpen(slot++, p);
        VendorReply info = vendorIn(h, 0xC9, 0, 0, 5);
        ASSERT_EQ(info.ok, 1);
        EXPECT_EQ(info.returned, 5u);
        const std::vector<uint8_t> expected = {
            0, static_cast<uint8_t>(c.type), static_cast<uint8_t>(c.serial),
            static_cast<uint8_t>(c.firmware & 0xFF), static_cast<uint8_t>(c.firmware >> 8)};
        EXPECT_EQ(info.data, expected) << "type " << c.type;
    }
}

TEST_F(IdentityTest, DescriptorTellsCamerasFromTheBootLoader) {
    MlSimProfile camera = profileOf(1);
    camera.firmware_version = 0x0203;
    MlSimProfile loader = profileOf(85);
    ASSERT_EQ(loader.boot_loader, 1);
    MlUsbHandle cameraHandle = plugAndOpen(0, camera);
    MlUsbHandle loaderHandle = plugAndOpen(1, loader);

    uint8_t d[18];
    uint32_t returned = 0;
    ASSERT_EQ(mlusb_ioctl(cameraHandle, MLUSB_IOCTL_GET_DESCRIPTOR, nullptr, 0, d, 18, &returned,
                          nullptr),
              1);
    EXPECT_EQ(returned, 18u);
    EXPECT_EQ(d[0], 18);
    EXPECT_EQ(d[1], 1);
    EXPECT_EQ(d[8] | d[9] << 8, 0x04B4);
    EXPECT_NE(d[10] | d[11] << 8, 0x8613);
    EXPECT_EQ(d[12] | d[13] << 8, 0x0203);

    ASSERT_EQ(mlusb_ioctl(loaderHandle, MLUSB_IOCTL_GET_DESCRIPTOR, nullptr, 0, d, 18, &returned,
                          nullptr),
              1);
    EXPECT_EQ(d[8] | d[9] << 8, 0x04B4);
    EXPECT_EQ(d[10] | d[11] << 8, 0x8613);

    // The boot loader answers only its load request.
    VendorReply info = vendorIn(loaderHandle, 0xC9, 0, 0, 5);
    EXPECT_EQ(info.ok, 0);
    EXPECT_EQ(info.error, MLUSB_ERROR_GEN_FAILURE);
    VendorReply hold = vendor(loaderHandle, 0x40, 0xA0, 0xE600, 0, 1, {1});
    EXPECT_EQ(hold.ok, 1);
    EXPECT_EQ(mlsim_cpu_reset_state(1), 1);

    EXPECT_EQ(mlusb_ioctl(cameraHandle, MLUSB_IOCTL_GET_DESCRIPTOR, nullptr, 0, d, 17, &returned,
                          nullptr),
              0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_INVALID_PARAMETER);
}

TEST_F(IdentityTest, DriverVersionIsLittleEndian) {
    MlSimProfile p = profileOf(9);
    p.driver_version = 0x07123456;
    MlUsbHandle h = plugAndOpen(0, p);
    uint8_t v[4] = {};
    uint32_t returned = 0;
    ASSERT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_GET_DRIVER_VERSION, nullptr, 0, v, 4, &returned, nullptr),
              1);
    EXPECT_EQ(returned, 4u);
    EXPECT_EQ(v[0] | v[1] << 8 | v[2] << 16 | static_cast<uint32_t>(v[3]) << 24, 0x07123456u);
}

TEST_F(IdentityTest, RecordIsCheckedFieldByField) {
    MlUsbHandle h = plugAndOpen(0, profileOf(1));
    uint8_t reply[5] = {};
    struct Case {
        const char* what;
        int offset;  // byte to change, -1 none
        uint8_t value;
        uint32_t inLength;
        uint32_t outLength;
    } cases[] = {
        {"short record", -1, 0, 30, 5}, {"long record", -1, 0, 32, 5},
        {"direction", 14, 0x00, 31, 5}, {"wValue upper", 2, 1, 31, 5},
        {"wLength upper", 6, 1, 31, 5}, {"wIndex upper", 11, 1, 31, 5},
        {"out length", -1, 0, 31, 4},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> record = vendorRecord(0xC0, 0xC9, 0, 0, 5, reply);
        record.resize(32, 0);
        if (c.offset >= 0) {
            record[c.offset] = c.value;
        }
        EXPECT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_VENDOR_REQUEST, record.data(), c.inLength, reply,
                              c.outLength, nullptr, nullptr),
                  0)
            << c.what;
        EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_INVALID_PARAMETER) << c.what;
    }
    EXPECT_EQ(mlsim_journal_count(0), 0u) << "a refused record never reaches the camera";

    // Without an output buffer the data stage goes through the record's address.
    VendorReply viaAddress = vendor(h, 0xC0, 0xC9, 0, 0, 5, {}, true);
    ASSERT_EQ(viaAddress.ok, 1);
    EXPECT_EQ(viaAddress.data[0], 0);
    EXPECT_EQ(viaAddress.data[1], 1);
    std::vector<uint8_t> nullAddress = vendorRecord(0xC0, 0xC9, 0, 0, 5, nullptr);
    EXPECT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_VENDOR_REQUEST, nullAddress.data(), 31, nullptr, 0,
                          nullptr, nullptr),
              0);
}

TEST_F(IdentityTest, OverlappedRequestCompletesAtOnceWithItsCallback) {
    MlUsbHandle h = plugAndOpen(0, profileOf(1));
    uint8_t reply[5];
    std::vector<uint8_t> record = vendorRecord(0xC0, 0xC9, 0, 0, 5, reply);
    Completion done;
    uint32_t returned = 0;
    ASSERT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_VENDOR_REQUEST, record.data(), 31, reply, 5, &returned,
                          &done.overlapped),
              1);
    EXPECT_EQ(done.calls.load(), 1);
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &done.overlapped, &bytes, 0), 1);
    EXPECT_EQ(bytes, 5u);
}

TEST_F(IdentityTest, LastErrorBelongsToTheCallingThread) {
    EXPECT_EQ(mlusb_open(devicePath(5).c_str()), nullptr);
    std::thread other([] {
        EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_SUCCESS);
        EXPECT_EQ(mlusb_close(nullptr), 0);
        EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_INVALID_HANDLE);
    });
    other.join();
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace usbcam_test
