// GPIO and snap button against a simulated camera, through the FPGA's
// registers and through the USB controller's port pins.
#include "SimCamera.h"
#include "device/Gpio.h"

namespace {

constexpr int kMonoType = 5;

class GpioTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        Plug(0, CameraProfile(kMonoType));
        ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    }
    uint8_t Sfr(uint8_t bySfr) {
        uint8_t byValue = 0;
        EXPECT_EQ(camera.vendor.VendorCmd_RdFx2Sfr(bySfr, &byValue), RET_SUCCESS);
        return byValue;
    }
    CameraLayers camera;
    CGpio gpio{camera.fpga, camera.vendor, camera.capability};
};

}  // namespace

TEST_F(GpioTest, FpgaRegistersCarryModesAndLevels) {
    camera.capability.Set(FpgaCap::bmGpioNormal, 1);
    EXPECT_EQ(gpio.OutStatusSet(1), RET_ILLEGALOPERATION);  // output mode not 1
    EXPECT_EQ(gpio.SetDirection(2), RET_SUCCESS);           // output on, input mode 1
    uint16_t wMode = 0;
    ASSERT_EQ(mlsim_fpga_read(0, 29, &wMode), 1);
    EXPECT_EQ(wMode, 0x0101);
    uint8_t byDirection = 0;
    EXPECT_EQ(gpio.GetDirection(&byDirection), RET_SUCCESS);
    EXPECT_EQ(byDirection, 2);
    EXPECT_EQ(gpio.OutStatusSet(1), RET_SUCCESS);
    uint16_t wStatus = 0;
    ASSERT_EQ(mlsim_fpga_read(0, 30, &wStatus), 1);
    EXPECT_EQ(wStatus & 0x100, 0x100);
    mlsim_set_gpio_input(0, 1);
    uint8_t byStatus = 0;
    EXPECT_EQ(gpio.GetStatus(&byStatus), RET_SUCCESS);
    EXPECT_EQ(byStatus, 3);
    EXPECT_EQ(gpio.InStatusGet(nullptr), RET_SUCCESS);
    int nMode = -1;
    EXPECT_EQ(gpio.OutModeGet(&nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 1);
    EXPECT_EQ(gpio.InModeGet(nullptr), RET_SUCCESS);
    EXPECT_EQ(gpio.GetDirection(nullptr), RET_PARAMERROR);
    int nPressed = -1;
    mlsim_set_snap_button(0, 1);
    EXPECT_EQ(gpio.SnapButtonStatus(&nPressed), RET_SUCCESS);
    EXPECT_EQ(nPressed, 1);
    EXPECT_EQ(gpio.FilterSet(5), RET_NOTSUPPORT);  // without the filter register
}

TEST_F(GpioTest, PortPinsFollowTheLayout) {
    camera.capability.Set(HardwareCap::bmIo, 1);
    const struct {
        const CapField* pLayout;
        bool bSnapIo0;
        uint8_t byData, byEnable;
        int nShift;
    } kCases[] = {
        {&HardwareCap::bmPD0_7, false, 0xB0, 0xB5, 0}, {&HardwareCap::bmPD0_7, true, 0xB0, 0xB5, 1},
        {&HardwareCap::bmPD2_3, false, 0xB0, 0xB5, 2}, {&HardwareCap::bmPD2_3, true, 0xB0, 0xB5, 3},
        {&HardwareCap::bmPE0_3, false, 0xB1, 0xB6, 0}, {&HardwareCap::bmPD6, true, 0xB0, 0xB5, 6},
    };
    for (const auto& c : kCases) {
        DeviceCapability& cap = camera.capability;
        for (const CapField* pField : {&HardwareCap::bmPD0_7, &HardwareCap::bmPD2_3,
                                       &HardwareCap::bmPE0_3, &HardwareCap::bmPD6}) {
            cap.Set(*pField, 0);
        }
        cap.Set(*c.pLayout, 1);
        cap.Set(HardwareCap::bmSnapIo0, c.bSnapIo0 ? 1 : 0);
        EXPECT_EQ(gpio.SetDirection(1), RET_SUCCESS);
        EXPECT_EQ(Sfr(c.byEnable), 1 << c.nShift) << c.pLayout->key << c.bSnapIo0;
        uint8_t byDirection = 0;
        EXPECT_EQ(gpio.GetDirection(&byDirection), RET_SUCCESS);
        EXPECT_EQ(byDirection, 1);
        EXPECT_EQ(gpio.SetStatus(1), RET_SUCCESS);
        EXPECT_EQ(Sfr(c.byData) & (1 << c.nShift), 1 << c.nShift);
        uint8_t byStatus = 0;
        EXPECT_EQ(gpio.GetStatus(&byStatus), RET_SUCCESS);
        EXPECT_EQ(byStatus & 1, 1);
        EXPECT_EQ(camera.vendor.VendorCmd_WrFx2Sfr(c.byEnable, 0), RET_SUCCESS);
    }
    EXPECT_EQ(gpio.OutStatusSet(1), RET_ILLEGALOPERATION);
    EXPECT_EQ(gpio.InStatusGet(nullptr), RET_NOTSUPPORT);
    camera.capability.Set(HardwareCap::bmIo, 0);
    EXPECT_EQ(gpio.SetDirection(1), RET_NOTSUPPORT);
}

TEST_F(GpioTest, SnapButtonOnTheControllersPin) {
    int nPressed = -1;
    EXPECT_EQ(gpio.SnapButtonStatus(&nPressed), RET_NOTSUPPORT);
    camera.capability.Set(HardwareCap::bmSnapPC2, 1);  // the profile's pin: port C bit 2
    EXPECT_EQ(gpio.SnapButtonStatus(&nPressed), RET_SUCCESS);
    EXPECT_EQ(nPressed, 0);
    mlsim_set_snap_button(0, 1);
    EXPECT_EQ(gpio.SnapButtonStatus(&nPressed), RET_SUCCESS);
    EXPECT_EQ(nPressed, 1);
    EXPECT_EQ(gpio.SnapButtonStatus(nullptr), RET_PARAMERROR);
    camera.capability.Set(FpgaCap::bmGpioNormal, 1);
    EXPECT_EQ(gpio.SnapButtonStatus(&nPressed), RET_ILLEGALOPERATION);  // input mode not 1
}
