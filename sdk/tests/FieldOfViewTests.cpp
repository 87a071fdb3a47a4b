// Fields of view on opened simulated cameras: the sensors' window rules, the
// two records, which one the camera gets, the dropped frame after a window
// change and the sizes reported.
#include <climits>
#include <string>

#include "OpenedCamera.h"
#include "capability/DeviceCapability.h"

namespace {

constexpr int kTypeColour2048 = 3;

struct Window {
    int nColStart, nRowStart, nColSize, nRowSize;
};

class FieldOfViewTest : public OpenedCameraTest {};

TEST_F(FieldOfViewTest, TheStationsWindowsAsTheSensorsAdjustThem) {
    const struct {
        int nType;
        Window asked;
        int nCheck;
        Window set;
    } kCases[] = {
        {kTypeMono1280, {108, 87, 1064, 850}, RET_SUCCESS, {108, 87, 1064, 850}},
        {kTypeMono1280, {108, 87, 2592, 1944}, RET_FAIL, {0, 0, 1280, 1024}},
        {kTypeMono2592, {108, 87, 1064, 850}, RET_FAIL, {108, 86, 1064, 850}},
        {kTypeMono2592, {108, 87, 2592, 1944}, RET_FAIL, {0, 0, 2592, 1944}},
        {kTypeMono2592, {-6, 3, 640, 480}, RET_FAIL, {0, 2, 640, 480}},
        {kTypeMono1280, {100, 100, 3000, 100}, RET_FAIL, {0, 100, 1280, 100}},
        // Starts and sizes at the int limits are clamped, never wrapped.
        {kTypeMono1280, {INT_MAX, 0, 640, 480}, RET_FAIL, {640, 0, 640, 480}},
        {kTypeMono1280, {0, 0, 640, INT_MAX}, RET_FAIL, {0, 0, 640, 1024}},
        {kTypeMono1280, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, RET_FAIL, {0, 0, 1280, 1024}},
        {kTypeMono2592, {INT_MAX, INT_MAX, 640, 480}, RET_FAIL, {1952, 1464, 640, 480}},
        {kTypeMono2592, {0, 0, INT_MAX, INT_MAX}, RET_FAIL, {0, 0, 2592, 1944}},
        {kTypeColour2048, {INT_MAX, 1, INT_MAX, 100}, RET_FAIL, {0, 0, 2048, 100}},
        {kTypeColour2048, {INT_MIN, INT_MAX, 640, INT_MAX}, RET_FAIL, {0, 0, 640, 1536}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nType);
        CDevice& device = Open(c.nType);
        const Window& a = c.asked;
        EXPECT_EQ(ZDQ_CheckFieldOfView(0, a.nColStart, a.nRowStart, a.nColSize, a.nRowSize, 0, 0),
                  c.nCheck);
        EXPECT_EQ(
            ZDQ_CaptureSetFieldOfView(0, a.nColStart, a.nRowStart, a.nColSize, a.nRowSize, 0, 0),
            RET_SUCCESS);
        int v[6] = {};
        ASSERT_EQ(ZDQ_CaptureGetFieldOfView(0, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]),
                  RET_SUCCESS);
        EXPECT_EQ(v[0], c.set.nColStart);
        EXPECT_EQ(v[1], c.set.nRowStart);
        EXPECT_EQ(v[2], c.set.nColSize);
        EXPECT_EQ(v[3], c.set.nRowSize);
        int nWidth = 0, nHeight = 0, nBits = 0, nSample = 0;
        ASSERT_EQ(ZDQ_CaptureGetSizeExEx(0, &nWidth, &nHeight, &nBits, &nSample), RET_SUCCESS);
        EXPECT_EQ(nWidth, c.set.nColSize);
        EXPECT_EQ(nHeight, c.set.nRowSize);
        EXPECT_EQ(nBits, device.Capability().Has(SensorCap::bmMono) ? 8 : 24);
        EXPECT_EQ(nSample, 8);
        // The capture record is the active one: the chip has the window.
        MlSimFrameInfo info{};
        ASSERT_EQ(mlsim_frame_info(0, &info), 1);
        EXPECT_EQ(info.width, c.set.nColSize);
        EXPECT_EQ(info.height, c.set.nRowSize);
        EXPECT_EQ(info.col_start, c.set.nColStart);
        EXPECT_EQ(info.row_start, c.set.nRowStart);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(FieldOfViewTest, AddressingModesAreCheckedAgainstTheSensor) {
    CDevice& device = Open(kTypeMono1280);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 0, 0, 640, 480, 5, 0), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 0, 0, 640, 480, 0, 7), RET_PARAMERROR);
    device.Capability().Set(SensorCap::bmSkip3, 0);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 0, 0, 640, 480, 2, 0), RET_NOTSUPPORT);
    // A skip-2 window: sizes aligned to the mode, output halved.
    EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 650, 481, 1, 1), RET_SUCCESS);
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    EXPECT_EQ(nWidth, 648 / 2);
    EXPECT_EQ(nHeight, 480 / 2);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    EXPECT_EQ(info.width, nWidth);
    EXPECT_EQ(info.height, nHeight);
}

TEST_F(FieldOfViewTest, TheCheckChangesNothing) {
    Open(kTypeMono2592);
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 109, 87, 1000, 1000, 0, 0), RET_FAIL);
    EXPECT_TRUE(VendorJournal(0).empty());
    int nCol = -1;
    ZDQ_CaptureGetFieldOfView(0, &nCol, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(nCol, 0);
}

TEST_F(FieldOfViewTest, OnlyTheActiveRecordReachesTheCamera) {
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(device.ActiveFov(), kCaptureFov);
    // The preview record is stored without a word to the camera.
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_PreviewSetFieldOfView(0, 100, 100, 640, 480, 0, 0), RET_SUCCESS);
    EXPECT_TRUE(VendorJournal(0).empty());
    // Selecting it programs it and drops the first frame of the new window.
    const uint64_t nBefore = FramesSent();
    EXPECT_EQ(device.SelectFieldOfView(kPreviewFov), RET_SUCCESS);
    EXPECT_EQ(FramesSent(), nBefore + 1) << "one frame dropped";
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.col_start, 100);
    // Selecting the active record again writes nothing.
    mlsim_journal_clear(0);
    EXPECT_EQ(device.SelectFieldOfView(kPreviewFov), RET_SUCCESS);
    EXPECT_TRUE(Journal(0).empty());
    // A capture window set now waits for the next capture.
    EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    EXPECT_TRUE(VendorJournal(0).empty());
    EXPECT_EQ(device.SelectFieldOfView(kCaptureFov), RET_SUCCESS);
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
}

TEST_F(FieldOfViewTest, SixteenBitDataDoublesTheBytesOfBothRecords) {
    CDevice& device = Open(kType2592WithFpga);
    device.Capability().Set(FpgaCap::bm16BitsTransfer, 1);
    ASSERT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    const FieldOfView before[2] = {device.Fov(kCaptureFov), device.Fov(kPreviewFov)};
    ASSERT_EQ(ZDQ_SetData16Bits(0, true), RET_SUCCESS);
    for (int i : {0, 1}) {
        EXPECT_EQ(device.Fov(i).ulTotalBytes, 2 * before[i].ulTotalBytes);
        EXPECT_EQ(device.Fov(i).nWidth, before[i].nWidth);
        EXPECT_EQ(device.Fov(i).nHeight, before[i].nHeight);
    }
    int nSample = 0;
    ZDQ_CaptureGetSizeExEx(0, nullptr, nullptr, nullptr, &nSample);
    EXPECT_EQ(nSample, 16);
    bool bOn = false;
    EXPECT_EQ(ZDQ_GetData16Bits(0, &bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    ASSERT_EQ(ZDQ_SetData16Bits(0, false), RET_SUCCESS);
    EXPECT_EQ(device.Fov(0).ulTotalBytes, before[0].ulTotalBytes);
    // A camera without 16-bit transfer refuses.
    ZDQ_UnInit();
    mlsim_unplug_all();
    Open(kTypeMono1280);
    EXPECT_EQ(ZDQ_SetData16Bits(0, true), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_GetData16Bits(0, &bOn), RET_NOTSUPPORT);
    EXPECT_FALSE(bOn);
}

TEST_F(FieldOfViewTest, MultiFrameTransfersStackFrames) {
    CDevice& device = Open(kType2592WithFpga);
    // An FPGA that cannot stack frames refuses a count, and nothing changes.
    device.Capability().Set(FpgaCap::bmSetMultiFramesNum, 0);
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_CaptureSetFieldOfViewEx(0, 0, 0, 640, 480, 0, 0, 3), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_PreviewSetFieldOfViewEx(0, 0, 0, 640, 480, 0, 0, 3), RET_NOTSUPPORT);
    EXPECT_TRUE(VendorJournal(0).empty());
    EXPECT_EQ(device.Fov(kCaptureFov).nWidth, 2592);
    device.Capability().Set(FpgaCap::bmSetMultiFramesNum, 1);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfViewEx(0, 0, 0, 640, 480, 0, 0, 3), RET_SUCCESS);
    unsigned short usFrames = 0;
    int nColSize = 0;
    ASSERT_EQ(ZDQ_CaptureGetFieldOfViewEx(0, nullptr, nullptr, &nColSize, nullptr, nullptr, nullptr,
                                          &usFrames),
              RET_SUCCESS);
    EXPECT_EQ(usFrames, 3);
    EXPECT_EQ(device.Fov(kCaptureFov).nHeight, 480 * 3);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.frames_per_transfer, 3);
    EXPECT_EQ(info.transfer_bytes, device.Fov(kCaptureFov).ulTotalBytes);
}

TEST_F(FieldOfViewTest, DefaultsAndTheLoggedRecord) {
    Open(kTypeMono2592);
    int v[6] = {-1, -1, -1, -1, -1, -1};
    ASSERT_EQ(ZDQ_PreviewGetDefaultFieldOfView(0, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]),
              RET_SUCCESS);
    EXPECT_EQ(v[2], 2592);
    EXPECT_EQ(v[3], 1944);
    EXPECT_EQ(v[0] + v[1] + v[4] + v[5], 0);
    int nWidth = 0, nHeight = 0, nBits = 0;
    ASSERT_EQ(ZDQ_PreviewGetSizeEx(0, &nWidth, &nHeight, &nBits), RET_SUCCESS);
    EXPECT_EQ(nWidth, 2592);
    EXPECT_EQ(nHeight, 1944);
    EXPECT_EQ(nBits, 8);
    EXPECT_EQ(ZDQ_CaptureGetSize(5, &nWidth, &nHeight), RET_DEVICENOTINIT);
}

TEST_F(FieldOfViewTest, StreamModeRefusesCaptureWindowChanges) {
    CDevice& device = Open(kType2592WithFpga);
    device.Capability().Set(FpgaCap::bmStreamMode, 1);
    bool bSupported = false;
    ASSERT_EQ(ZDQ_IsSupportStreamMode(0, &bSupported), RET_SUCCESS);
    ASSERT_TRUE(bSupported) << "an FPGA with stream mode behind a new driver";
    ASSERT_EQ(ZDQ_StreamStart(0), RET_SUCCESS);
    EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_STREAMNOTSTOP);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_STREAMNOTSTOP);
    EXPECT_EQ(ZDQ_CaptureSetFieldOfViewEx(0, 0, 0, 640, 480, 0, 0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_StreamStop(0), RET_SUCCESS);
}

}  // namespace
