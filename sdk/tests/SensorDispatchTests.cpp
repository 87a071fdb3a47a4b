// The device's sensor operations select the unit of the device type; types
// without a unit answer RET_NOTSUPPORT.
#include <algorithm>

#include "SimCamera.h"
#include "ZDQApi.h"
#include "api/ExportFrame.h"

namespace {

class SensorDispatchTest : public SimTest {
  protected:
    void TearDown() override {
        ZDQ_UnInit();
        SimTest::TearDown();
    }
};

TEST_F(SensorDispatchTest, RecoveryRestoresTheFpgaAndThenTheSensorRegisters) {
    Plug(0, CameraProfile(5));
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    mlsim_journal_clear(0);
    ASSERT_TRUE(pDevice->Bus().restoreRegisters);
    EXPECT_EQ(pDevice->Bus().restoreRegisters(), RET_RECOVERY_SUCCESS);
    std::vector<uint8_t> requests;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (requests.empty() || requests.back() != entry.request) {
            requests.push_back(entry.request);
        }
    }
    ASSERT_FALSE(requests.empty());
    EXPECT_NE(requests.front(), 0xC3) << "the FPGA registers come first";
    EXPECT_EQ(requests.back(), 0xC3) << "the sensor's registers come last";
    EXPECT_EQ(std::count(requests.begin(), requests.end(), 0xC3), 1);

    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0xC3, 0, 1, 0);
    EXPECT_EQ(pDevice->SensorRestoreRegs(), RET_RECOVERY_FAIL);
}

TEST_F(SensorDispatchTest, MonochromeGainSetsAllColoursAndReadsTheGlobalGain) {
    Plug(0, CameraProfile(5));  // a monochrome model
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    ASSERT_TRUE(pDevice->Capability().Has(SensorCap::bmMono));
    EXPECT_EQ(pDevice->SensorSetRedGain(30), RET_SUCCESS);
    int nGain = -1;
    for (auto get :
         {&CDevice::SensorGetRedGain, &CDevice::SensorGetGreenGain, &CDevice::SensorGetBlueGain}) {
        EXPECT_EQ((pDevice->*get)(&nGain), RET_SUCCESS);
        EXPECT_EQ(nGain, 30);
    }
    int nMin = -1, nMax = -1;
    EXPECT_EQ(pDevice->SensorGetGainRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 47);

    float fMin = 0, fMax = 0;
    EXPECT_EQ(pDevice->SensorGetExposureTimeRange(&fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, pDevice->SensorExposureLinesToTime(1));
    EXPECT_FLOAT_EQ(fMax, pDevice->SensorExposureLinesToTime(16383));
    EXPECT_EQ(pDevice->SensorGetExposureLinesRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, 1);
    EXPECT_EQ(nMax, 0x3FFF);
    EXPECT_EQ(pDevice->SensorExposureTimeToLines(fMax * 2), 2 * 16383);

    bool bOn = false;
    EXPECT_EQ(pDevice->SensorFlashEnableSet(true), RET_SUCCESS);
    uint16_t wMode1 = 0;
    ASSERT_EQ(mlsim_sensor_read(0, 30, &wMode1), 1);
    EXPECT_NE(wMode1 & 0x0200, 0);
    EXPECT_EQ(pDevice->SensorFlashEnableGet(&bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);

    EXPECT_EQ(pDevice->SensorSetExposureLines(321), RET_SUCCESS);
    int nLines = 0;
    EXPECT_EQ(pDevice->SensorGetExposureLines(&nLines), RET_SUCCESS);
    EXPECT_EQ(nLines, 321);
    EXPECT_FLOAT_EQ(pDevice->Sensor().fRequestedExposureTime, pDevice->ExposureTime());
    float fMs = 0;
    EXPECT_EQ(pDevice->SensorGetExposureTime(&fMs), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMs, pDevice->SensorExposureLinesToTime(321));
}

TEST_F(SensorDispatchTest, TypesWithoutAUnitAreNotSupported) {
    MlSimProfile profile = CameraProfile(5);
    profile.boot_loader = 1;
    Plug(0, profile);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    int n = 0;
    EXPECT_EQ(pDevice->SensorInit(), RET_NOTSUPPORT);
    EXPECT_EQ(pDevice->SensorRestoreRegs(), RET_NOTSUPPORT);
    EXPECT_EQ(pDevice->SensorSetExposureTime(10.0f), RET_NOTSUPPORT);
    EXPECT_EQ(pDevice->SensorSetExposureLines(10), RET_NOTSUPPORT);
    EXPECT_EQ(pDevice->SensorGetExposureLines(&n), RET_NOTSUPPORT);
    EXPECT_EQ(pDevice->SensorSetGreenGain(3), RET_NOTSUPPORT);
    n = 5;
    EXPECT_EQ(pDevice->SensorGetBlueGain(&n), RET_NOTSUPPORT);
    EXPECT_EQ(n, 0);
    float fMs = 1;
    EXPECT_EQ(pDevice->SensorGetExposureTime(&fMs), RET_NOTSUPPORT);
    EXPECT_EQ(fMs, 0.0f);
    EXPECT_EQ(pDevice->SensorExposureLinesToTime(100), 0.0f);
    EXPECT_EQ(pDevice->SensorExposureTimeToLines(100.0f), 0);
    EXPECT_EQ(pDevice->SensorFlashEnableSet(true), RET_NOTSUPPORT);
    EXPECT_EQ(pDevice->SensorGetBlackLevel(&n), RET_NOTSUPPORT);
    EXPECT_TRUE(VendorJournal(0).empty());
}

TEST_F(SensorDispatchTest, FlipAndMirrorChangeTheBayerModeUnlessTheSensorKeepsIt) {
    Plug(0, CameraProfile(0));  // a colour model that flips in the sensor
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    DeviceCapability& cap = pDevice->Capability();
    ASSERT_TRUE(cap.Has(SensorCap::bmFlip));
    ASSERT_FALSE(cap.Has(SensorCap::bmMirror)) << "mirrored in software";
    const int b = pDevice->BayerMode();
    const int x = b % 4, b0 = b - x;
    EXPECT_EQ(pDevice->BayerModeEffective(), b);

    const struct {
        bool bFlip, bMirror, bKeepOnFlip, bKeepOnMirror;
        int nMode;
    } kCases[] = {
        {true, false, false, false, b0 + (x ^ 1)}, {true, false, true, false, b},
        {false, true, false, false, b0 + (3 - x)}, {false, true, false, true, b},
        {true, true, false, false, b0 + (x ^ 2)},  {true, true, true, false, b0 + (3 - x)},
        {true, true, false, true, b0 + (x ^ 1)},   {true, true, true, true, b},
        {false, false, false, false, b},
    };
    for (const auto& c : kCases) {
        cap.Set(SensorCap::bmNoNeedChangeBayerWhenFlip, c.bKeepOnFlip);
        cap.Set(SensorCap::bmNoNeedChangeBayerWhenMirror, c.bKeepOnMirror);
        // Set the mirror first: its software path recomputes the mode, the
        // flip's register path after it too.
        ASSERT_EQ(pDevice->SensorSetMirror(c.bMirror), RET_SUCCESS);
        pDevice->SensorSetFlip(!c.bFlip);
        ASSERT_EQ(pDevice->SensorSetFlip(c.bFlip), RET_SUCCESS);
        EXPECT_EQ(pDevice->BayerModeEffective(), c.nMode)
            << c.bFlip << c.bMirror << c.bKeepOnFlip << c.bKeepOnMirror;
        bool bFlip = !c.bFlip, bMirror = !c.bMirror;
        EXPECT_EQ(pDevice->SensorGetFlip(&bFlip), RET_SUCCESS);
        EXPECT_EQ(pDevice->SensorGetMirror(&bMirror), RET_SUCCESS);
        EXPECT_EQ(bFlip, c.bFlip);
        EXPECT_EQ(bMirror, c.bMirror);
    }
    EXPECT_EQ(pDevice->SensorGetFlip(nullptr), RET_PARAMERROR);
}

TEST_F(SensorDispatchTest, ColourGainsWriteTheirOwnRegisters) {
    Plug(0, CameraProfile(0));
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    ASSERT_FALSE(pDevice->Capability().Has(SensorCap::bmMono));
    ASSERT_EQ(pDevice->SensorSetRedGain(0), RET_SUCCESS);
    ASSERT_EQ(pDevice->SensorSetGreenGain(0), RET_SUCCESS);
    ASSERT_EQ(pDevice->SensorSetBlueGain(0), RET_SUCCESS);

    EXPECT_EQ(pDevice->SensorSetGreenGain(30), RET_SUCCESS);
    EXPECT_EQ(pDevice->SensorSetBlueGain(99), RET_SUCCESS);
    const struct {
        uint16_t wRegister, wValue;
    } kChip[] = {{45, 8}, {43, 86}, {46, 86}, {44, 0x67}};
    for (const auto& c : kChip) {
        uint16_t wValue = 0;
        ASSERT_EQ(mlsim_sensor_read(0, c.wRegister, &wValue), 1);
        EXPECT_EQ(wValue, c.wValue) << c.wRegister;
    }
    int nRed = -1, nGreen = -1, nBlue = -1;
    EXPECT_EQ(pDevice->SensorGetRedGain(&nRed), RET_SUCCESS);
    EXPECT_EQ(pDevice->SensorGetGreenGain(&nGreen), RET_SUCCESS);
    EXPECT_EQ(pDevice->SensorGetBlueGain(&nBlue), RET_SUCCESS);
    EXPECT_EQ(nRed, 0);
    EXPECT_EQ(nGreen, 30);
    EXPECT_EQ(nBlue, 47);
}

}  // namespace
