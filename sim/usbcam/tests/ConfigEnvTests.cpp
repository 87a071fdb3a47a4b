// The library plugs the cameras of MLUSBIMAGER_CONFIG when it starts.
#include "raw_driver.h"

namespace usbcam_test {
namespace {

TEST(ConfigAtLoad, CamerasOfTheVariableArePluggedBeforeTheFirstOpen) {
    ASSERT_NE(std::getenv("MLUSBIMAGER_CONFIG"), nullptr);
    MlUsbHandle first = mlusb_open(devicePath(0).c_str());
    MlUsbHandle second = mlusb_open(devicePath(5).c_str());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(mlusb_open(devicePath(1).c_str()), nullptr);
    EXPECT_EQ(vendorIn(first, 0xC9, 0, 0, 5).data, (std::vector<uint8_t>{0, 1, 12, 81, 1}));
    EXPECT_EQ(vendorIn(second, 0xC9, 0, 0, 5).data, (std::vector<uint8_t>{0, 52, 3, 1, 3}));
    VendorReply version = vendorIn(second, 0x2A, 128, 0, 3);
    EXPECT_EQ(version.data[1], 6 * 32 + 5 * 4);
    uint8_t driver[4] = {};
    ASSERT_EQ(mlusb_ioctl(second, MLUSB_IOCTL_GET_DRIVER_VERSION, nullptr, 0, driver, 4, nullptr,
                          nullptr),
              1);
    EXPECT_EQ(driver[3], 0x07);
    // The file's timing: a read completes inside the call.
    uint32_t got = 0;
    std::vector<uint8_t> buffer(2592 * 1944);
    MlUsbOverlapped ov{};
    EXPECT_EQ(mlusb_read(second, buffer.data(), static_cast<uint32_t>(buffer.size()), &got, &ov),
              1);
    EXPECT_EQ(got, 2592u * 1944u);
    mlusb_close(first);
    mlusb_close(second);
}

}  // namespace
}  // namespace usbcam_test
