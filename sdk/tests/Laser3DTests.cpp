// The 3D laser-profile family: the profile arithmetic, the PCD file, the
// library loader, and on a simulated laser-profile camera the 3D
// initialisation, the ROI, the acquisition threads with their callbacks,
// lost trigger signals and obliterated points.
#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "OpenedCamera.h"
#include "ZDQApi.h"
#include "acquisition/Laser3DLibrary.h"
#include "acquisition/Laser3DProfile.h"
#include "acquisition/PointCloudFile.h"
#include "api/ExportFrame.h"
#include "laser3d_control.h"
#include "platform/ModuleDirectory.h"
#include "platform/WideText.h"

namespace {

constexpr int kLaserType = 53;  // monochrome 2592 x 1944, memory kind 1
constexpr int kAreaColumn = 256;
constexpr float kZPerRow = 0.05f;
// Waits for the threads' results, far beyond what they need.
constexpr auto kPatience = std::chrono::seconds(20);

// ---- Arithmetic ----------------------------------------------------------

TEST(Laser3DArithmeticTest, LostSignals) {
    const struct {
        uint32_t nMark, nPrevious;
        int nDivider, nLost;
    } cases[] = {
        {5, 2, 1, 2},  // a jump of 3 is the frame's own signal and 2 lost
        {3, 2, 1, 0}, {10, 2, 2, 3}, {4, 2, 2, 0},
        {2, 2, 1, 0}, {1, 5, 1, 0},  // a counter that went back loses nothing
        {9, 2, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LostSignals(c.nMark, c.nPrevious, c.nDivider), c.nLost)
            << c.nMark << " after " << c.nPrevious << " / " << c.nDivider;
    }
}

TEST(Laser3DArithmeticTest, HeightToGrey) {
    const struct {
        float fZ, fMin, fMax;
        int nGrey;
    } cases[] = {{2.5f, 0, 5, 128}, {0, 0, 5, 0},   {5, 0, 5, 255}, {7, 0, 5, 255},
                 {-1000, 0, 5, 0},  {NAN, 0, 5, 0}, {1, 0, 5, 51},  {-1, -2, 2, 64}};
    for (const auto& c : cases) {
        EXPECT_EQ(HeightToGrey(c.fZ, c.fMin, c.fMax), c.nGrey) << c.fZ;
    }
}

TEST(Laser3DArithmeticTest, ProfileImageJoinsValidNeighboursAndBreaksAtInvalid) {
    const float z[5] = {0.0f, 5.0f, kInvalidHeight, 2.5f, 2.5f};
    std::vector<uint8_t> image(5 * kProfileImageRows, 7);
    DrawProfileImage(image.data(), z, 5, 0.0f, 5.0f);
    const auto lit = [&](int c) {
        std::vector<int> rows;
        for (int r = 0; r < kProfileImageRows; ++r) {
            if (image[static_cast<size_t>(r) * 5 + c] == 255) {
                rows.push_back(r);
            } else {
                EXPECT_EQ(image[static_cast<size_t>(r) * 5 + c], 0);
            }
        }
        return rows;
    };
    EXPECT_EQ(lit(0), std::vector<int>{0});
    EXPECT_EQ(lit(1).size(), 256u) << "joined from row 0 up to 255";
    EXPECT_TRUE(lit(2).empty());
    EXPECT_EQ(lit(3), std::vector<int>{128}) << "not joined across the gap";
    EXPECT_EQ(lit(4), std::vector<int>{128});
}

TEST(Laser3DArithmeticTest, FrameStampAndRates) {
    uint8_t head[24] = {};
    head[6] = 0x34, head[7] = 0x12, head[16] = 0x78, head[17] = 0x56;
    head[8] = 0x01, head[12] = 0x02;
    const FrameStamp stamp = ReadFrameStamp(head);
    EXPECT_EQ(stamp.nWaterMark, 0x56781234u);
    EXPECT_EQ(stamp.ullTimeStamp, 0x0000000200000001ull);

    CRateMeter meter;
    float fProfiles = -1, fSignals = -1;
    meter.Update(1000000, 100, 100, &fProfiles, &fSignals);  // the baseline
    EXPECT_EQ(fProfiles, -1);
    meter.Update(1000000, 200, 300, &fProfiles, &fSignals);  // no time passed
    EXPECT_EQ(fProfiles, -1);
    meter.Update(1500000, 200, 300, &fProfiles, &fSignals);
    EXPECT_FLOAT_EQ(fProfiles, 200.0f);
    EXPECT_FLOAT_EQ(fSignals, 400.0f);
    meter.Update(2000000, 100, 400, &fProfiles, &fSignals);  // profile index went back
    EXPECT_FLOAT_EQ(fProfiles, 200.0f);
}

// ---- PCD file ------------------------------------------------------------

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(Laser3DPcdTest, TwoPointsWithAnInvalidOneByteForByte) {
    const std::string path = ScratchPath("cloud-2x1.pcd");
    float x[2] = {1.5f, -1000.0f};
    float y[2] = {0.25f, 0.25f};
    float z[2] = {-3.125f, 9.0f};
    ASSERT_EQ(ZDQ3D_HelperSaveToPCD(2, 1, x, y, z, plat::WideFromUtf8(path).c_str()), RET_SUCCESS);
    EXPECT_EQ(ReadText(path),
              "# .PCD v0.7 - Point Cloud Data file format\nVERSION 0.7\nFIELDS x y z\n"
              "SIZE 4 4 4\nTYPE F F F\nCOUNT 1 1 1\nWIDTH 2\nHEIGHT 1\n"
              "VIEWPOINT 0 0 0 1 0 0 0\nPOINTS 2\nDATA ascii\n"
              "1.50000 0.25000 -3.12500\nnan nan nan");
}

TEST(Laser3DPcdTest, NumbersAreWrittenAsPrintfWritesThem) {
    // Values around rounding ties, signs, zeros, large and odd values, and
    // many pseudo-random floats of every magnitude.
    std::vector<float> values = {0.0f,       -0.0f,   0.000005f, -0.000005f, 0.000015f,
                                 0.0000049f, 1.5f,    -2.25f,    123456.78f, -0.0000001f,
                                 9.999995f,  1e12f,   3e13f,     -4e20f,     INFINITY,
                                 NAN,        2047.0f, 12.8f,     0.05f,      1e-30f};
    uint32_t nState = 12345;
    for (int i = 0; i < 3000; ++i) {
        nState = nState * 1664525u + 1013904223u;
        float fValue;
        const uint32_t nBits = (nState & 0x807FFFFFu) | ((100u + (nState >> 8) % 60u) << 23);
        std::memcpy(&fValue, &nBits, sizeof fValue);
        values.push_back(fValue);
    }
    const int n = static_cast<int>(values.size());
    const std::vector<float> zeros(values.size(), 0.0f);
    const std::string path = ScratchPath("cloud-numbers.pcd");
    ASSERT_EQ(SavePointCloudPcd(n, 1, zeros.data(), values.data(), values.data(),
                                plat::WideFromUtf8(path).c_str()),
              RET_SUCCESS);
    std::string expected;
    char line[256];
    for (float fValue : values) {
        std::snprintf(line, sizeof line, "\n%.5f %.5f %.5f", 0.0, static_cast<double>(fValue),
                      static_cast<double>(fValue));
        expected += line;
    }
    const std::string text = ReadText(path);
    const size_t nData = text.find("DATA ascii");
    ASSERT_NE(nData, std::string::npos);
    EXPECT_EQ(text.substr(nData + 10), expected);
}

TEST(Laser3DPcdTest, BadArgumentsAndUnwritableFile) {
    float v[1] = {0};
    const std::wstring name = plat::WideFromUtf8(ScratchPath("cloud-bad.pcd"));
    EXPECT_EQ(ZDQ3D_HelperSaveToPCD(0, 1, v, v, v, name.c_str()), RET_PARAMERROR);
    EXPECT_EQ(ZDQ3D_HelperSaveToPCD(1, -1, v, v, v, name.c_str()), RET_PARAMERROR);
    EXPECT_EQ(ZDQ3D_HelperSaveToPCD(1, 1, v, nullptr, v, name.c_str()), RET_PARAMERROR);
    EXPECT_EQ(ZDQ3D_HelperSaveToPCD(1, 1, v, v, v, nullptr), RET_PARAMERROR);
    const std::wstring missingFolder = plat::WideFromUtf8(ScratchPath("no-such-folder/cloud.pcd"));
    EXPECT_EQ(ZDQ3D_HelperSaveToPCD(1, 1, v, v, v, missingFolder.c_str()), RET_FAIL);
}

// ---- Library loader ------------------------------------------------------

TEST(Laser3DLibraryTest, MissingOrIncompleteLibraryFailsAndIsTriedAgain) {
    CLaser3DLibrary missing("ZDQ3DApi_x64_not_installed");
    EXPECT_EQ(missing.Load(), nullptr);
    CLaser3DLibrary partial("ZDQ3DApi_x64_partial");  // lacks ZDQ_Set3DROI
    EXPECT_EQ(partial.Load(), nullptr);

    // A library that appears later is found by the next load.
    const std::string folder =
        plat::ModuleDirectoryOf(reinterpret_cast<const void*>(&Laser3DLibrary));
    const std::string name = "ZDQ3DApi_x64_late" + std::to_string(getpid());
    const std::string file = folder + "lib" + name + ".so";
    std::filesystem::remove(file);
    CLaser3DLibrary late(name);
    EXPECT_EQ(late.Load(), nullptr);
    std::filesystem::copy_file(LASER3D_LIBRARY, file);
    const Laser3DEntries* pEntries = late.Load();
    std::filesystem::remove(file);
    ASSERT_NE(pEntries, nullptr);
    EXPECT_EQ(late.Load(), pEntries) << "loaded once";
    EXPECT_EQ(pEntries->GetParamLength(), LASER3D_BLOCK_BYTES);
}

// ---- The laser-profile camera ----------------------------------------------

// FPGA 6.5: the model's FPGA with the frame header (watermark mode).
MlSimProfile LaserProfile() {
    MlSimProfile profile = CameraProfile(kLaserType);
    profile.fpga_version = 0x0605;
    profile.content = MLSIM_CONTENT_LASER;
    return profile;
}

// Z of array column x for trigger signal s, as the simulator draws the line.
float ExpectedZ(int x, uint32_t s) {
    return kZPerRow * static_cast<float>(40 + (static_cast<uint32_t>(x / 8) + s) % 64);
}

class Laser3DCameraTest : public OpenedCameraTest {
  protected:
    void TearDown() override {
        laser3d_sim_set_param_length(0);
        OpenedCameraTest::TearDown();
    }

    // Plugs the laser camera and puts it into 3D mode.
    CDevice& Open3D() {
        Plug(0, LaserProfile());
        EXPECT_EQ(ZDQ3D_Inital(), RET_SUCCESS);
        CDevice* pDevice = FrameGetDevice(0);
        EXPECT_NE(pDevice, nullptr);
        pDevice->Capability().Set(FpgaCap::bm3DRegisters, 1);
        return *pDevice;
    }
};

TEST_F(Laser3DCameraTest, InitialisationAppliesTheBlock) {
    CDevice& device = Open3D();
    bool bIs3D = false;
    ASSERT_EQ(ZDQ3D_Is3DCamera(0, &bIs3D), RET_SUCCESS);
    EXPECT_TRUE(bIs3D);
    int w = 0, h = 0, x = -1, y = -1;
    ASSERT_EQ(ZDQ3D_GetRoiMax(0, &w, &h), RET_SUCCESS);
    EXPECT_EQ(w, 2048);
    EXPECT_EQ(h, 256);
    ASSERT_EQ(ZDQ3D_GetRoi(0, &x, &y, &w, &h), RET_SUCCESS);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 2048);
    EXPECT_EQ(h, 256);
    EXPECT_EQ(device.Fov(kCaptureFov).nColStart, kAreaColumn);
    float range[4] = {};
    ASSERT_EQ(ZDQ3D_GetMeasurementRange(0, &range[0], &range[1], &range[2], &range[3]),
              RET_SUCCESS);
    EXPECT_FLOAT_EQ(range[3], 12.8f);
    // Frames carry the header; catches wait for their trigger.
    EXPECT_EQ(device.Fpga().Shadows().WaterMark & 7, 1);
    EXPECT_EQ(device.CaptureTimeOut(), plat::kInfinite);
    // The window belongs to the 3D family now.
    EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_3DNOTSUPPORT);
    EXPECT_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_3DNOTSUPPORT);
    EXPECT_EQ(ZDQ_CheckFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_3DNOTSUPPORT);
    // A second initialisation keeps the run handle.
    const int32_t nHandles = laser3d_sim_open_handles();
    EXPECT_EQ(ZDQ3D_Inital(), RET_SUCCESS);
    EXPECT_EQ(laser3d_sim_open_handles(), nHandles);
    ZDQ3D_UnInitial();
    EXPECT_EQ(laser3d_sim_open_handles(), nHandles - 1) << "closing releases the handle";
}

TEST_F(Laser3DCameraTest, ParameterLengthsAndBlocksTheCameraRefuses) {
    Plug(0, LaserProfile());
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    CDevice* pDevice = FrameGetDevice(0);
    ASSERT_NE(pDevice, nullptr);
    const struct {
        int32_t nLength;
        int nRet;
    } lengths[] = {{-5, RET_NOTSUPPORT},  {1, RET_FATALERROR},   {32, RET_FATALERROR},
                   {513, RET_FATALERROR}, {600, RET_FATALERROR}, {33, RET_SUCCESS},
                   {512, RET_SUCCESS}};
    for (const auto& c : lengths) {
        laser3d_sim_set_param_length(c.nLength);
        EXPECT_EQ(pDevice->Init3D(), c.nRet) << c.nLength;
        EXPECT_EQ(pDevice->Is3D(), c.nRet == RET_SUCCESS) << c.nLength;
        pDevice->Release3D();
    }
    laser3d_sim_set_param_length(0);
    // A block without its magic never reaches the library.
    uint8_t byNotMagic = 0x5B;
    ASSERT_EQ(mlsim_eeprom_write(0, 0x3F900, &byNotMagic, 1), 1);
    const int32_t nHandles = laser3d_sim_open_handles();
    EXPECT_EQ(pDevice->Init3D(), RET_FATALERROR);
    EXPECT_EQ(laser3d_sim_open_handles(), nHandles);
    EXPECT_EQ(ZDQ3D_GetRoiMax(0, nullptr, nullptr), RET_3DNOTINIT);
    EXPECT_EQ(ZDQ3D_SetRoi(0, 0, 0, 10, 10), RET_3DNOTINIT);
    EXPECT_EQ(ZDQ3D_StartAcquisition(0), RET_3DNOTINIT);
    EXPECT_EQ(ZDQ3D_Inital(), RET_FAIL) << "no camera went into 3D mode";
}

TEST_F(Laser3DCameraTest, CameraWithoutTheMemoryKindIsNot3D) {
    CDevice& device = Open(kTypeMono2592);
    EXPECT_EQ(device.Init3D(), RET_NOTSUPPORT);
    EXPECT_FALSE(device.Is3D());
}

// The exports that hand on to another export log their own lines.
TEST_F(Laser3DCameraTest, ForwardingExportsLogTheirOwnLines) {
    Open3D();
    const std::string path = ScratchPath("laser3d-usercall.log");
    std::remove(path.c_str());
    CLog* pSaved = g_pLog;
    g_pLog = new CLog(plat::WideFromUtf8(path));
    int a = 0, b = 0, c = 0, d = 0;
    unsigned short w = 0;
    float f = 0.0f;
    ZDQ3D_GetAPIVersion(&a, &b, &c, &d);
    ZDQ3D_GetDeviceCount(&a);
    ZDQ3D_GetDeviceInformation(0, &a, &b, &w);
    ZDQ3D_SetExposureTime(0, 2.5f);
    ZDQ3D_GetExposureTime(0, &f);
    ZDQ3D_GetGainRange(0, &a, &b);
    ZDQ3D_SetGain(0, 3);
    ZDQ3D_GetGain(0, &a);
    delete g_pLog;
    g_pLog = pSaved;
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    for (const char* pszName :
         {"ZDQ3D_GetAPIVersion", "ZDQ3D_GetDeviceCount", "ZDQ3D_GetDeviceInformation",
          "ZDQ3D_SetExposureTime", "ZDQ3D_GetExposureTime", "ZDQ3D_GetGainRange", "ZDQ3D_SetGain",
          "ZDQ3D_GetGain"}) {
        EXPECT_NE(text.str().find(std::string("ZDQAPI::++") + pszName), std::string::npos)
            << pszName;
        EXPECT_NE(text.str().find(std::string("ZDQAPI::--") + pszName + ", nRet=1"),
                  std::string::npos)
            << pszName;
    }
    EXPECT_NE(text.str().find("ZDQAPI::++ZDQ3D_SetGain(0, 3)."), std::string::npos);
    std::remove(path.c_str());
}

TEST_F(Laser3DCameraTest, RoiIsCutToTheAreaAndReachesTheLibrary) {
    CDevice& device = Open3D();
    const struct {
        int x, y, w, h;
        int nRet, wantX, wantY, wantW, wantH;
    } cases[] = {
        {64, 16, 512, 64, RET_SUCCESS, 64, 16, 512, 64},
        {4096, 16, 512, 64, RET_SUCCESS, 0, 16, 512, 64},  // start beyond the area: 0
        {-8, 300, 512, 64, RET_SUCCESS, 0, 0, 512, 64},
        {1792, 0, 1024, 512, RET_SUCCESS, 1792, 0, 256, 256},  // cut to the area
        {0, 0, 0, 64, RET_FAIL, 1792, 0, 256, 256},
        {0, 0, 512, -1, RET_FAIL, 1792, 0, 256, 256},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZDQ3D_SetRoi(0, c.x, c.y, c.w, c.h), c.nRet) << c.x << "," << c.y;
        int x = -1, y = -1, w = -1, h = -1;
        ASSERT_EQ(ZDQ3D_GetRoi(0, &x, &y, &w, &h), RET_SUCCESS);
        EXPECT_EQ(std::vector<int>({x, y, w, h}),
                  std::vector<int>({c.wantX, c.wantY, c.wantW, c.wantH}))
            << c.x << "," << c.y;
        int32_t lib[4] = {};
        ASSERT_EQ(
            laser3d_sim_roi(device.State3D().ullRunHandle, &lib[0], &lib[1], &lib[2], &lib[3]), 1);
        EXPECT_EQ(std::vector<int>({lib[0], lib[1], lib[2], lib[3]}),
                  std::vector<int>({c.wantX, c.wantY, c.wantW, c.wantH}));
    }
}

TEST_F(Laser3DCameraTest, SettingsTheirRangesAndCodes) {
    CDevice& device = Open3D();
    EXPECT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 0), RET_PARAMERROR);
    EXPECT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 65536), RET_PARAMERROR);
    ASSERT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 65535), RET_SUCCESS);
    int nProfiles = 0;
    ASSERT_EQ(ZDQ3D_GetMaxNumberOfProfilesToCapture(0, &nProfiles), RET_SUCCESS);
    EXPECT_EQ(nProfiles, 65535);
    EXPECT_EQ(device.Fpga().Shadows().wCap[3], 65535);
    device.Capability().Set(FpgaCap::bm3DRegisters, 0);
    EXPECT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 10), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ3D_GetStartTrigger(0, nullptr, nullptr, nullptr), RET_NOTSUPPORT);

    EXPECT_EQ(ZDQ3D_SetZMap(0, 2.0f, 2.0f), RET_PARAMERROR) << "an empty range maps nothing";
    EXPECT_EQ(ZDQ3D_SetZMap(0, 3.0f, 2.0f), RET_PARAMERROR);
    EXPECT_EQ(ZDQ3D_SetZMap(0, NAN, 2.0f), RET_PARAMERROR);
    ASSERT_EQ(ZDQ3D_SetZMap(0, -1.0f, 2.0f), RET_SUCCESS);
    float fMin = 0, fMax = 0;
    ASSERT_EQ(ZDQ3D_GetZMap(0, &fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, -1.0f);
    EXPECT_EQ(ZDQ3D_SetYResolution(0, 0.0f), RET_PARAMERROR);
    EXPECT_EQ(ZDQ3D_SetYResolution(0, -2.0f), RET_PARAMERROR);
    EXPECT_EQ(ZDQ3D_SetDataTriggerMode(0, 5), RET_FAIL);
    device.Capability().Set(FpgaCap::bmTriggerModeFixedFrameRate, 0);
    EXPECT_EQ(ZDQ3D_SetDataTriggerMode(0, 1), RET_NOTSUPPORT);
    int nMode = -1;
    ASSERT_EQ(ZDQ3D_GetDataTriggerMode(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 0);
}

TEST_F(Laser3DCameraTest, LaserModeDrivesTheOutputPin) {
    Open3D();
    const auto pins = [] {
        uint16_t wMode = 0, wStatus = 0;
        mlsim_fpga_read(0, 29, &wMode);
        mlsim_fpga_read(0, 30, &wStatus);
        return std::make_pair((wMode >> 8) & 3, (wStatus >> 8) & 1);
    };
    int nMode = -1;
    ASSERT_EQ(ZDQ3D_LaserModeSet(0, 1), RET_SUCCESS);
    EXPECT_EQ(pins(), std::make_pair(1, 1));
    ASSERT_EQ(ZDQ3D_LaserModeGet(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 1);
    ASSERT_EQ(ZDQ3D_LaserModeSet(0, 0), RET_SUCCESS);
    EXPECT_EQ(pins(), std::make_pair(1, 0));
    // The strobe drives the laser: output pins in strobe mode, on and inverted.
    ASSERT_EQ(ZDQ3D_LaserModeSet(0, 2), RET_SUCCESS);
    EXPECT_EQ(pins().first, 0);
    unsigned char bOn = 0, bInvert = 0;
    ASSERT_EQ(ZDQ_FlashEnableGet(0, &bOn), RET_SUCCESS);
    ASSERT_EQ(ZDQ_FlashInvertGet(0, &bInvert), RET_SUCCESS);
    EXPECT_TRUE(bOn && bInvert);
    ASSERT_EQ(ZDQ3D_LaserModeGet(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 2);
}

TEST_F(Laser3DCameraTest, StartAndDataTriggers) {
    CDevice& device = Open3D();
    const struct {
        bool bEnable;
        int nEdge, nStartEndMode;
    } starts[] = {{true, 0, 1}, {true, 1, 2}, {true, 7, 2}, {false, 0, 0}};
    for (const auto& c : starts) {
        ASSERT_EQ(ZDQ3D_SetStartTrigger(0, 0, c.bEnable, c.nEdge), RET_SUCCESS);
        int nMode = -1;
        ASSERT_EQ(ZDQ_StartEndModeGet(0, &nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, c.nStartEndMode) << c.bEnable << " " << c.nEdge;
        int nZero = -1, nEdge = -1;
        bool bOff = false;
        ASSERT_EQ(ZDQ3D_GetStartTrigger(0, &nZero, &bOff, &nEdge), RET_SUCCESS);
        EXPECT_EQ(bOff, c.nStartEndMode == 0);
        EXPECT_EQ(nEdge, c.nStartEndMode == 1 ? 0 : 1);
    }
    ASSERT_EQ(ZDQ3D_SetStartTriggerParameters(0, 12, 34), RET_SUCCESS);
    int nFilter = 0, nDelay = 0;
    ASSERT_EQ(ZDQ3D_GetStartTriggerParameters(0, &nFilter, &nDelay), RET_SUCCESS);
    EXPECT_EQ(nFilter, 12);
    EXPECT_EQ(nDelay, 34);

    device.Capability().Set(FpgaCap::bmTriggerModeExternal, 1);
    device.Capability().Set(FpgaCap::bmTriggerMethodNegedge, 1);
    device.Capability().Set(FpgaCap::bmTriggerMethodPosedge, 1);
    ASSERT_EQ(ZDQ3D_SetDataTriggerMode(0, 2), RET_SUCCESS);
    int nMode = -1;
    ASSERT_EQ(ZDQ3D_GetDataTriggerMode(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 2);
    ASSERT_EQ(ZDQ3D_SetDataTriggerExternalTriggerParameters(0, 3, 40, 5, 1), RET_SUCCESS);
    int nPeriod = 0, nEdge = -1;
    nDelay = nFilter = 0;
    ASSERT_EQ(ZDQ3D_GetDataTriggerExternalTriggerParameters(0, &nPeriod, &nDelay, &nFilter, &nEdge),
              RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({nPeriod, nDelay, nFilter, nEdge}), std::vector<int>({3, 40, 5, 1}));
    EXPECT_EQ(ZDQ3D_SetDataTriggerExternalTriggerParameters(0, 300, 40, 5, 1), RET_FAIL)
        << "a period of 300 signals does not fit";
    ASSERT_EQ(ZDQ3D_SetDataTriggerMode(0, 0), RET_SUCCESS);
}

// Results of the callbacks, filled on the processing thread.
struct Recorder {
    std::mutex mutex;
    std::condition_variable changed;
    struct Profile {
        int nPoints;
        double dY;
        int nIndex;
        int nLost;
        std::vector<int> x;
        std::vector<float> z;
    };
    std::vector<Profile> profiles;
    std::vector<uint32_t> liveMarks;
    int nClouds = 0;
    int nCloudPoints = 0, nCloudProfiles = 0, nCloudLost = 0;
    std::vector<int> cloudX;
    std::vector<float> cloudY, cloudZ;
    std::vector<uint8_t> cloudImage;
    int nCloudImageWidth = 0, nCloudImageHeight = 0;
    std::atomic<int> nSlowFrames{0};
    std::atomic<int> nSkipAtProfile{-1};

    template <typename Predicate>
    bool WaitFor(Predicate&& predicate) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, kPatience, [&] { return predicate(); });
    }
};

void OnLive(int, unsigned char* pImage, int, int, int, void* pContext) {
    auto* r = static_cast<Recorder*>(pContext);
    if (r->nSlowFrames.load() > 0) {
        r->nSlowFrames.fetch_sub(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::lock_guard<std::mutex> lock(r->mutex);
    r->liveMarks.push_back(ReadFrameStamp(pImage).nWaterMark);
}

void OnProfile(int, int nPoints, double dY, int nProfile, int* pX, float* pZ, int nLost,
               void* pContext) {
    auto* r = static_cast<Recorder*>(pContext);
    if (nProfile == r->nSkipAtProfile.load()) {
        mlsim_skip_signals(0, 2);  // some frame after this one comes 3 signals later
        r->nSkipAtProfile = -1;
    }
    std::lock_guard<std::mutex> lock(r->mutex);
    r->profiles.push_back({nPoints, dY, nProfile, nLost, std::vector<int>(pX, pX + nPoints),
                           std::vector<float>(pZ, pZ + nPoints)});
    r->changed.notify_all();
}

void OnCloud(int, int nPoints, int nProfiles, int* pX, float* pY, float* pZ, int nLost,
             void* pContext) {
    auto* r = static_cast<Recorder*>(pContext);
    std::lock_guard<std::mutex> lock(r->mutex);
    if (r->nClouds++ == 0) {
        r->nCloudPoints = nPoints;
        r->nCloudProfiles = nProfiles;
        r->nCloudLost = nLost;
        r->cloudX.assign(pX, pX + nPoints);
        r->cloudY.assign(pY, pY + nPoints);
        r->cloudZ.assign(pZ, pZ + nPoints);
    }
    r->changed.notify_all();
}

void OnCloudImage(int, unsigned char* pImage, int nWidth, int nHeight, int, void* pContext) {
    auto* r = static_cast<Recorder*>(pContext);
    std::lock_guard<std::mutex> lock(r->mutex);
    if (r->cloudImage.empty()) {
        r->cloudImage.assign(pImage, pImage + static_cast<size_t>(nWidth) * nHeight);
        r->nCloudImageWidth = nWidth;
        r->nCloudImageHeight = nHeight;
    }
    r->changed.notify_all();
}

class Laser3DAcquisitionTest : public Laser3DCameraTest {
  protected:
    void Register(Recorder& r) {
        ASSERT_EQ(ZDQ3D_RegisterLiveImageCB(0, OnLive, &r), RET_SUCCESS);
        ASSERT_EQ(ZDQ3D_RegisterProfileDataCB(0, OnProfile, &r), RET_SUCCESS);
        ASSERT_EQ(ZDQ3D_RegisterPointCloudDataCB(0, OnCloud, &r), RET_SUCCESS);
        ASSERT_EQ(ZDQ3D_RegisterPointCloudImageCB(0, OnCloudImage, &r), RET_SUCCESS);
    }
};

TEST_F(Laser3DAcquisitionTest, CloudFollowsTheHeightProfile) {
    Open3D();
    ASSERT_EQ(ZDQ3D_SetRoi(0, 0, 0, 256, 128), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 20), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetObliterateInvalidData(0, false), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetYResolution(0, 0.5f), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetZMap(0, 0.0f, 5.0f), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_Set3DLaserLineBrightnessThreshold(0, 100), RET_SUCCESS);
    Recorder r;
    Register(r);
    ASSERT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
    EXPECT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS) << "already running";
    EXPECT_EQ(ZDQ3D_SetRoi(0, 0, 0, 128, 128), RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ3D_RegisterLiveImageCB(0, nullptr, nullptr), RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 5), RET_ILLEGALOPERATION);
    // The cloud's image follows the cloud: a stop between the two would
    // leave it out.
    ASSERT_TRUE(r.WaitFor([&] { return r.nClouds > 0 && r.nCloudImageWidth > 0; }));
    ASSERT_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS);
    EXPECT_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS) << "already stopped";

    std::lock_guard<std::mutex> lock(r.mutex);
    ASSERT_EQ(r.nCloudProfiles, 20);
    ASSERT_EQ(r.nCloudPoints, 20 * 256);
    EXPECT_EQ(r.nCloudLost, 0);
    // Every point lies on the simulator's line for its signal: Y is the
    // signal count since the first profile times 0.5.
    const uint32_t nFirst = r.liveMarks.at(0);
    int nWrong = 0;
    for (size_t i = 0; i < r.cloudZ.size(); ++i) {
        const int c = static_cast<int>(i % 256);
        const uint32_t s = nFirst + static_cast<uint32_t>(std::lround(r.cloudY[i] / 0.5f));
        nWrong += r.cloudX[i] != c;
        nWrong += std::fabs(r.cloudZ[i] - ExpectedZ(kAreaColumn + c, s)) > 1e-4f;
    }
    EXPECT_EQ(nWrong, 0);
    EXPECT_FLOAT_EQ(r.cloudY.back(), 19 * 0.5f);
    // The cloud image maps Z over 0..5.
    ASSERT_EQ(r.nCloudImageWidth, 256);
    ASSERT_EQ(r.nCloudImageHeight, 20);
    EXPECT_EQ(r.cloudImage[5], HeightToGrey(r.cloudZ[5], 0.0f, 5.0f));
}

TEST_F(Laser3DAcquisitionTest, LostSignalsPerProfileAndPerCloud) {
    Open3D();
    ASSERT_EQ(ZDQ3D_SetRoi(0, 0, 0, 128, 128), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 200), RET_SUCCESS);
    Recorder r;
    r.nSkipAtProfile = 10;
    Register(r);
    ASSERT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
    ASSERT_TRUE(r.WaitFor([&] { return r.nClouds > 0; }));
    ASSERT_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS);

    std::lock_guard<std::mutex> lock(r.mutex);
    int nWithLoss = 0;
    for (size_t i = 1; i < 200; ++i) {
        const Recorder::Profile& p = r.profiles[i];
        ASSERT_EQ(p.nIndex, static_cast<int>(i));
        const int nStep = static_cast<int>(std::lround(p.dY - r.profiles[i - 1].dY));
        EXPECT_EQ(p.nLost, nStep - 1) << i;
        nWithLoss += p.nLost == 2;
    }
    EXPECT_EQ(nWithLoss, 1);
    EXPECT_EQ(r.nCloudLost, 2);
}

TEST_F(Laser3DAcquisitionTest, ObliterateDropsInvalidPoints) {
    Open3D();
    ASSERT_EQ(ZDQ3D_SetRoi(0, 0, 0, 128, 128), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 3), RET_SUCCESS);
    const struct {
        bool bObliterate;
        int nThreshold;
        int nProfilePoints;
    } cases[] = {{true, 100, 128}, {true, 255, 0}, {false, 255, 128}};
    for (const auto& c : cases) {
        ASSERT_EQ(ZDQ3D_SetObliterateInvalidData(0, c.bObliterate), RET_SUCCESS);
        ASSERT_EQ(ZDQ3D_Set3DLaserLineBrightnessThreshold(0, c.nThreshold), RET_SUCCESS);
        Recorder r;
        Register(r);
        ASSERT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
        ASSERT_TRUE(r.WaitFor([&] { return r.nClouds > 0; }));
        ASSERT_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS);
        std::lock_guard<std::mutex> lock(r.mutex);
        for (const Recorder::Profile& p : r.profiles) {
            EXPECT_EQ(p.nPoints, c.nProfilePoints) << c.bObliterate << " " << c.nThreshold;
            if (c.nThreshold == 255) {
                for (float z : p.z) {
                    EXPECT_EQ(z, kInvalidHeight);
                }
            }
        }
        EXPECT_EQ(r.nCloudPoints, 3 * c.nProfilePoints);
    }
}

TEST_F(Laser3DAcquisitionTest, SlowCallbackWithAFullRingLosesNoCaughtFrame) {
    Open3D();
    ASSERT_EQ(ZDQ3D_SetRoi(0, 0, 0, 128, 64), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 150), RET_SUCCESS);
    Recorder r;
    r.nSlowFrames = 80;  // the capture thread fills the ring and waits
    Register(r);
    ASSERT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
    ASSERT_TRUE(r.WaitFor([&] { return r.nClouds > 0; }));
    ASSERT_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS);
    std::lock_guard<std::mutex> lock(r.mutex);
    ASSERT_GE(r.liveMarks.size(), 150u);
    float fRate = 0.0f;
    ASSERT_EQ(ZDQ3D_GetTransmissionRate(0, &fRate), RET_SUCCESS);
    EXPECT_GT(fRate, 0.0f) << "measured over the set";
    ASSERT_EQ(ZDQ3D_GetExternalTriggerRate(0, &fRate), RET_SUCCESS);
    EXPECT_GT(fRate, 0.0f);
    for (size_t i = 1; i < r.liveMarks.size(); ++i) {
        ASSERT_EQ(r.liveMarks[i], r.liveMarks[i - 1] + 1) << "frame " << i;
    }
    EXPECT_EQ(r.nCloudLost, 0);
}

// A stop asked for while a profile callback runs: the callbacks that would
// follow it for that profile and its cloud are not called.
struct StopRecorder {
    std::atomic<bool> bInCallback{false};
    std::atomic<bool> bStopAsked{false};
    std::atomic<bool> bReturned{false};
    std::atomic<int> nAfterwards{0};
};

void BlockingProfile(int, int, double, int nProfile, int*, float*, int, void* pContext) {
    auto* r = static_cast<StopRecorder*>(pContext);
    if (r->bReturned) {
        ++r->nAfterwards;
        return;
    }
    if (nProfile != 3) {
        return;
    }
    r->bInCallback = true;
    for (int i = 0; i < 1000 && !r->bStopAsked; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Room for the stop to reach its request.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    r->bReturned = true;
}

void CountAfterwards(int, unsigned char*, int, int, int, void* pContext) {
    auto* r = static_cast<StopRecorder*>(pContext);
    if (r->bReturned) {
        ++r->nAfterwards;
    }
}

void CountCloudAfterwards(int, int, int, int*, float*, float*, int, void* pContext) {
    CountAfterwards(0, nullptr, 0, 0, 0, pContext);
}

TEST_F(Laser3DAcquisitionTest, AStopDuringAProfileCallbackSkipsTheCallbacksAfterIt) {
    Open3D();
    ASSERT_EQ(ZDQ3D_SetRoi(0, 0, 0, 128, 32), RET_SUCCESS);
    // The profile callback is on the cloud's last profile.
    ASSERT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 4), RET_SUCCESS);
    StopRecorder r;
    ASSERT_EQ(ZDQ3D_RegisterProfileDataCB(0, BlockingProfile, &r), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_RegisterProfileImageCB(0, CountAfterwards, &r), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_RegisterPointCloudDataCB(0, CountCloudAfterwards, &r), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_RegisterPointCloudImageCB(0, CountAfterwards, &r), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
    ASSERT_TRUE(WaitFor([&] { return r.bInCallback.load(); }));
    r.bStopAsked = true;
    ASSERT_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS);
    EXPECT_TRUE(r.bReturned);
    EXPECT_EQ(r.nAfterwards, 0);
}

TEST_F(Laser3DAcquisitionTest, RepeatedStartAndStop) {
    Open3D();
    ASSERT_EQ(ZDQ3D_SetRoi(0, 0, 0, 128, 32), RET_SUCCESS);
    ASSERT_EQ(ZDQ3D_SetMaxNumberOfProfilesToCapture(0, 4), RET_SUCCESS);
    Recorder r;
    Register(r);
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
        if (i % 3 == 0) {
            const int nBefore = [&] {
                std::lock_guard<std::mutex> lock(r.mutex);
                return r.nClouds;
            }();
            ASSERT_TRUE(r.WaitFor([&] { return r.nClouds > nBefore; }));
        }
        ASSERT_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS);
    }
    // The camera is closed while acquiring: the close stops the threads.
    ASSERT_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
    EXPECT_EQ(ZDQ3D_UnInitial(), RET_SUCCESS);
}

TEST_F(Laser3DAcquisitionTest, StartRefusals) {
    CDevice& device = Open3D();
    device.Capability().Set(FpgaCap::bm16BitsTransfer, 1);
    ASSERT_EQ(device.SetData16Bits(true), RET_SUCCESS);
    EXPECT_EQ(ZDQ3D_StartAcquisition(0), RET_ILLEGALOPERATION);
    ASSERT_EQ(device.SetData16Bits(false), RET_SUCCESS);
    device.State3D().nProfiles = 0;
    EXPECT_EQ(ZDQ3D_StartAcquisition(0), RET_3DINITFAIL);
    EXPECT_FALSE(device.Acquiring3D());
}

}  // namespace
