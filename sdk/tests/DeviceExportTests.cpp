// The device exports of the driver link, registers, GPIO, watermark and strobe
// while no camera opens in the slot: each answers RET_DEVICENOTINIT and sends
// nothing of its own (only the opening attempt reaches the camera).
#include <functional>

#include "SimCamera.h"
#include "ZDQApi.h"

using DeviceExportTest = SimTest;

TEST_F(DeviceExportTest, WithoutADeviceInTheSlotEveryExportGivesDeviceNotInit) {
    Plug(0, CameraProfile(5));
    // The camera never tells who it is, so it never opens.
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0xC9, 0, -1, 0), 1);
    unsigned short w = 0;
    unsigned char b = 0;
    int n = 0;
    SetupPacket packet{0xC0, 0xC8, 0, 0, 1};
    const std::function<int()> kCalls[] = {
        [] { return ZDQ_Open(0); },
        [] { return ZDQ_Close(0); },
        [] { return ZDQ_CancelIo(0); },
        [] { return ZDQ_ResetHost(0); },
        [&] { return ZDQ_VendorCmd(0, &packet, &b); },
        [&] { return ZDQ_VendorCmdEx(0, 0xC8, 0, 0, 1, &b); },
        [&] { return ZDQ_RdSensorReg(0, 1, &w); },
        [&] { return ZDQ_WrFpgaReg(0, 9, 1); },
        [&] { return ZDQ_RdFpgaRegEx(0, 5, &w); },
        [&] { return ZDQ_RdEEPROMExEx(0, 0, 1, &b); },
        [] { return ZDQ_GammaOn(0, 1); },
        [&] { return ZDQ_EEPROMTypeGet(0, &n); },
        [&] { return ZDQ_GpioGetDirection(0, &b); },
        [&] { return ZDQ_SnapButtonStatus(0, &n); },
        [&] { return ZDQ_WaterMarkGetMode(0, &n); },
        [] { return ZDQ_FlashControlSet(0, 1, 1, 1); },
        [&] { return ZDQ_FlashControlGet(0, &b, &b, &n); },
        [&] { return ZDQ_GetUsbState(0, &n); },
        // A null out pointer does not come before the device.
        [] { return ZDQ_GetUsbState(0, nullptr); },
        [] { return ZDQ_RdSensorReg(0, 1, nullptr); },
        [] { return ZDQ_EEPROMTypeGet(0, nullptr); },
        [] { return ZDQ_CaptureGetTimeOutEx(0, nullptr, nullptr); },
        [] { return ZDQ_RebootDevice(0); },
    };
    for (bool bInit : {false, true}) {
        if (bInit) {
            ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
        }
        mlsim_journal_clear(0);
        for (const auto& call : kCalls) {
            EXPECT_EQ(call(), RET_DEVICENOTINIT);
        }
        for (const MlSimJournalEntry& entry : VendorJournal(0)) {
            EXPECT_EQ(entry.request, 0xC9) << "only the identity request of the opening";
        }
    }
    EXPECT_EQ(ZDQ_UnInit(), RET_SUCCESS);
}
