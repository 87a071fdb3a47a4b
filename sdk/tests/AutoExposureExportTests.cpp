// The automatic-exposure, focus and gain exports on an opened MT9M001
// camera, the hooks as the device runs them (its exposure lines reach the
// simulated sensor), the shown regions, and the log lines.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <regex>

#include "SimCamera.h"
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/Log.h"
#include "platform/WideText.h"
#include "sensors/MT9M001.h"

namespace {

constexpr int kSlot = 0;
constexpr int kSensorWidth = 1280;
constexpr int kSensorHeight = 1024;

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

// The lines of a log without their time stamps.
std::vector<std::string> LogLines(const std::string& text) {
    std::vector<std::string> lines;
    const std::regex line(R"(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2}-\d{4}: ([^\n]*)\n)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line);
         it != std::sregex_iterator(); ++it) {
        lines.push_back((*it)[1].str());
    }
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Type 5, a monochrome MT9M001 model, opened with its device log on; frames
// leave it raw, rows bottom-up.
class AutoExposureExportTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        m_logFolder = ScratchPath("auto-exposure-exports");
        std::filesystem::remove_all(m_logFolder);
        g_bLogEnable = 1;
        SetLogFolder(plat::WideFromUtf8(m_logFolder).c_str());
        Plug(kSlot, CameraProfile(5));
        ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
        m_pDevice = FrameGetDevice(kSlot);
        ASSERT_NE(m_pDevice, nullptr);
    }
    void TearDown() override {
        ZDQ_UnInit();
        g_bLogEnable = 0;
        SetLogFolder(L"");
        SimTest::TearDown();
    }

    std::vector<std::string> DeviceLogLines() const {
        std::vector<std::string> lines;
        for (const auto& entry : std::filesystem::directory_iterator(m_logFolder)) {
            for (const std::string& line : LogLines(FileText(entry.path().string()))) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    static uint16_t SimShutterWidth() {
        uint16_t wValue = 0;
        EXPECT_EQ(mlsim_sensor_read(kSlot, CMT9M001::ShutterWidth, &wValue), 1);
        return wValue;
    }

    std::string m_logFolder;
    CDevice* m_pDevice = nullptr;
};

TEST_F(AutoExposureExportTest, DefaultsAfterOpening) {
    int x = -1, y = -1, w = -1, h = -1;
    bool bShow = true;
    EXPECT_EQ(ZDQ_AEGetRegion(kSlot, &x, &y, &w, &h, &bShow), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({x, y, w, h}),
              std::vector<int>({0, 0, kSensorWidth, kSensorHeight}));
    EXPECT_FALSE(bShow);
    x = y = w = h = -1;
    bShow = true;
    EXPECT_EQ(ZDQ_AFGetRegion(kSlot, &x, &y, &w, &h, &bShow), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({x, y, w, h}),
              std::vector<int>({0, 0, kSensorWidth, kSensorHeight}));
    EXPECT_FALSE(bShow);

    bool bStart = true;
    int nMaxCount = 0, nTarget = 0;
    EXPECT_EQ(ZDQ_AEGetStatusEx(kSlot, &bStart, &nMaxCount, &nTarget), RET_SUCCESS);
    EXPECT_FALSE(bStart);
    EXPECT_EQ(nMaxCount, 10);
    EXPECT_EQ(nTarget, 128);
    float fRatio = -1.0f;
    EXPECT_EQ(ZDQ_AEGetPeakAveRatio(kSlot, &fRatio), RET_SUCCESS);
    EXPECT_EQ(fRatio, 0.0f);

    // The MT9M001's longest exposure is shorter than 1000 ms: it bounds AE.
    const float fSensorMax = m_pDevice->SensorExposureLinesToTime(CMT9M001::kMaxExposureLines);
    ASSERT_LT(fSensorMax, 1000.0f);
    float fMin = 0.0f, fMax = 0.0f;
    EXPECT_EQ(ZDQ_AEGetExposureTimeRange(kSlot, &fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, m_pDevice->SensorExposureLinesToTime(1));
    EXPECT_FLOAT_EQ(fMax, fSensorMax);
    EXPECT_EQ(m_pDevice->AutoExposure().ExposureLineMin(), 1u);
    EXPECT_EQ(m_pDevice->AutoExposure().ExposureLineMax(),
              static_cast<uint32_t>(CMT9M001::kMaxExposureLines));

    // Every output may be null.
    EXPECT_EQ(ZDQ_AEGetRegion(kSlot, nullptr, nullptr, nullptr, nullptr, nullptr), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AFGetRegion(kSlot, nullptr, nullptr, nullptr, nullptr, nullptr), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetStatusEx(kSlot, nullptr, nullptr, nullptr), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetPeakAveRatio(kSlot, nullptr), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetExposureTimeRange(kSlot, nullptr, nullptr), RET_SUCCESS);
}

// A camera that opens with a smaller window: the regions cover the frame of
// its capture field of view.
TEST_F(AutoExposureExportTest, DefaultRegionsCoverTheCaptureFrame) {
    ASSERT_EQ(ZDQ_DeviceClose(kSlot), RET_SUCCESS);
    ASSERT_EQ(mlsim_sensor_write(kSlot, CMT9M001::ColumnSize, 640 - 1), 1);
    ASSERT_EQ(mlsim_sensor_write(kSlot, CMT9M001::RowSize, 480 - 1), 1);
    m_pDevice = FrameGetDevice(kSlot);
    ASSERT_NE(m_pDevice, nullptr);
    ASSERT_EQ(m_pDevice->Fov(kCaptureFov).nWidth, 640);
    ASSERT_EQ(m_pDevice->Fov(kCaptureFov).nHeight, 480);
    int x = -1, y = -1, w = -1, h = -1;
    EXPECT_EQ(ZDQ_AEGetRegion(kSlot, &x, &y, &w, &h, nullptr), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, 640, 480}));
    EXPECT_EQ(ZDQ_AFGetRegion(kSlot, &x, &y, &w, &h, nullptr), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, 640, 480}));
}

TEST_F(AutoExposureExportTest, SettingsReadBackAsSet) {
    int x = 0, y = 0, w = 0, h = 0;
    bool bShow = false;
    EXPECT_EQ(ZDQ_AESetRegion(kSlot, -5, 7, 100000, 0), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEShowRegion(kSlot, true), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetRegion(kSlot, &x, &y, &w, &h, &bShow), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({-5, 7, 100000, 0}))
        << "regions are stored unchecked";
    EXPECT_TRUE(bShow);
    EXPECT_EQ(ZDQ_AFSetRegion(kSlot, 10, 20, 30, 40), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AFShowRegion(kSlot, true), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AFGetRegion(kSlot, &x, &y, &w, &h, &bShow), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({10, 20, 30, 40}));
    EXPECT_TRUE(bShow);
    EXPECT_EQ(ZDQ_AFStart(kSlot, true), RET_SUCCESS);
    EXPECT_TRUE(m_pDevice->FocusMeasure().Started());

    float fRatio = 0.0f;
    EXPECT_EQ(ZDQ_AESetPeakAveRatio(kSlot, 2.0f), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetPeakAveRatio(kSlot, &fRatio), RET_SUCCESS);
    EXPECT_EQ(fRatio, 1.0f);

    const float fSensorMin = m_pDevice->SensorExposureLinesToTime(1);
    float fMin = 0.0f, fMax = 0.0f;
    EXPECT_EQ(ZDQ_AESetExposureTimeRange(kSlot, 0.0f, 100.0f), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetExposureTimeRange(kSlot, &fMin, &fMax), RET_SUCCESS);
    EXPECT_FLOAT_EQ(fMin, fSensorMin);
    EXPECT_FLOAT_EQ(fMax, 100.0f);
    EXPECT_EQ(m_pDevice->AutoExposure().ExposureLineMax(),
              static_cast<uint32_t>(m_pDevice->SensorExposureTimeToLines(100.0f)));

    bool bStart = false;
    int nMaxCount = 0, nTarget = 0;
    EXPECT_EQ(ZDQ_AESetMaxCount(kSlot, 7), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AESetTarget(kSlot, 90), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetStatusEx(kSlot, &bStart, &nMaxCount, &nTarget), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({bStart, nMaxCount, nTarget}), std::vector<int>({0, 7, 90}));
    EXPECT_EQ(ZDQ_AEStart(kSlot, true, 20, 30), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetStatusEx(kSlot, &bStart, &nMaxCount, &nTarget), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({bStart, nMaxCount, nTarget}), std::vector<int>({1, 60, 30}));
    EXPECT_EQ(ZDQ_AEStartEx(kSlot, false), RET_SUCCESS);
    EXPECT_EQ(ZDQ_AEGetStatusEx(kSlot, &bStart, &nMaxCount, &nTarget), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({bStart, nMaxCount, nTarget}), std::vector<int>({0, 60, 30}));
}

TEST_F(AutoExposureExportTest, SensorsOwnExposureAndGainAreNotSupported) {
    bool bFlag = true;
    unsigned short usMin = 0, usMax = 77, usCur = 5;
    const struct {
        const char* name;
        std::function<int()> call;
        int nExpected;
    } kCalls[] = {
        {"AECSetEnable", [] { return ZDQ_AECSetEnable(kSlot, true); }, RET_NOTSUPPORT},
        {"AECGetEnable", [&] { return ZDQ_AECGetEnable(kSlot, &bFlag); }, RET_NOTSUPPORT},
        {"AECGetEnable null", [] { return ZDQ_AECGetEnable(kSlot, nullptr); }, RET_NOTSUPPORT},
        {"AECSetRange", [] { return ZDQ_AECSetRange(kSlot, 1, 100); }, RET_NOTSUPPORT},
        {"AECGetRange", [&] { return ZDQ_AECGetRange(kSlot, &usMin, &usMax); }, RET_NOTSUPPORT},
        {"AECGetCur", [&] { return ZDQ_AECGetCur(kSlot, &usCur); }, RET_NOTSUPPORT},
        {"AGCSetEnable", [] { return ZDQ_AGCSetEnable(kSlot, true); }, RET_NOTSUPPORT},
        {"AGCGetEnable null", [] { return ZDQ_AGCGetEnable(kSlot, nullptr); }, RET_PARAMERROR},
        {"AGCSetRange", [] { return ZDQ_AGCSetRange(kSlot, 0, 100); }, RET_NOTSUPPORT},
        {"AGCGetCur", [&] { return ZDQ_AGCGetCur(kSlot, &usCur); }, RET_NOTSUPPORT},
    };
    for (const auto& c : kCalls) {
        EXPECT_EQ(c.call(), c.nExpected) << c.name;
    }
    EXPECT_FALSE(bFlag) << "ZDQ_AECGetEnable reports false";
    EXPECT_EQ(usCur, 5) << "nothing to report";
    EXPECT_FALSE(m_pDevice->AutoExposure().OnChipAE());

    bFlag = true;
    EXPECT_EQ(ZDQ_AGCGetEnable(kSlot, &bFlag), RET_NOTSUPPORT);
    EXPECT_FALSE(bFlag);
    usMin = 0;
    EXPECT_EQ(ZDQ_AGCGetRange(kSlot, &usMin, &usMax), RET_NOTSUPPORT);
    EXPECT_EQ(usMin, 16);
    EXPECT_EQ(usMax, 77);
    EXPECT_EQ(ZDQ_AGCGetRange(kSlot, nullptr, nullptr), RET_NOTSUPPORT);
}

TEST_F(AutoExposureExportTest, EveryExportNeedsAValidDeviceIndex) {
    bool b = false;
    int n = 0;
    float f = 0.0f;
    unsigned short us = 0;
    const std::function<int(int)> kExports[] = {
        [](int i) { return ZDQ_AESetRegion(i, 0, 0, 1, 1); },
        [&](int i) { return ZDQ_AEGetRegion(i, &n, &n, &n, &n, &b); },
        [](int i) { return ZDQ_AEShowRegion(i, true); },
        [](int i) { return ZDQ_AESetPeakAveRatio(i, 0.5f); },
        [&](int i) { return ZDQ_AEGetPeakAveRatio(i, &f); },
        [](int i) { return ZDQ_AESetExposureTimeRange(i, 1.0f, 2.0f); },
        [&](int i) { return ZDQ_AEGetExposureTimeRange(i, &f, &f); },
        [](int i) { return ZDQ_AESetCallback(i, nullptr, nullptr); },
        [](int i) { return ZDQ_AESetCallbackEx(i, nullptr, nullptr); },
        [](int i) { return ZDQ_AESetMaxCount(i, 3); },
        [](int i) { return ZDQ_AESetTarget(i, 100); },
        [](int i) { return ZDQ_AEStart(i, true, 20, 30); },
        [](int i) { return ZDQ_AEStartEx(i, true); },
        [&](int i) { return ZDQ_AEGetStatusEx(i, &b, &n, &n); },
        [](int i) { return ZDQ_AFSetRegion(i, 0, 0, 5, 5); },
        [&](int i) { return ZDQ_AFGetRegion(i, &n, &n, &n, &n, &b); },
        [](int i) { return ZDQ_AFShowRegion(i, true); },
        [](int i) { return ZDQ_AFSetCallback(i, nullptr, nullptr); },
        [](int i) { return ZDQ_AFStart(i, true); },
        [](int i) { return ZDQ_AECSetEnable(i, true); },
        [&](int i) { return ZDQ_AECGetEnable(i, &b); },
        [](int i) { return ZDQ_AECSetRange(i, 1, 2); },
        [&](int i) { return ZDQ_AECGetRange(i, &us, &us); },
        [&](int i) { return ZDQ_AECGetCur(i, &us); },
        [](int i) { return ZDQ_AGCSetEnable(i, true); },
        [&](int i) { return ZDQ_AGCGetEnable(i, &b); },
        [](int i) { return ZDQ_AGCSetRange(i, 0, 100); },
        [&](int i) { return ZDQ_AGCGetRange(i, &us, &us); },
        [&](int i) { return ZDQ_AGCGetCur(i, &us); },
    };
    for (size_t i = 0; i < std::size(kExports); ++i) {
        EXPECT_EQ(kExports[i](1), RET_DEVICENOTINIT) << "export " << i << ", index 1";
        EXPECT_EQ(kExports[i](-1), RET_DEVICENOTINIT) << "export " << i << ", index -1";
    }
    ZDQ_UnInit();
    for (size_t i = 0; i < std::size(kExports); ++i) {
        EXPECT_EQ(kExports[i](kSlot), RET_DEVICENOTINIT) << "export " << i << " without ZDQ_Init";
    }
}

TEST_F(AutoExposureExportTest, ExportsWriteTheirLogLines) {
    const std::string callLogPath = ScratchPath("auto-exposure-calls.log");
    std::remove(callLogPath.c_str());
    g_pLog = new CLog(plat::WideFromUtf8(callLogPath));
    int nContext = 0;
    const AECallback pfCallback = [](bool, int, void*) {};
    ZDQ_AESetRegion(kSlot, 1, 2, 3, 4);
    ZDQ_AESetExposureTimeRange(kSlot, 1.5f, 20.25f);
    ZDQ_AESetCallback(kSlot, pfCallback, &nContext);
    ZDQ_AEStart(kSlot, true, 20, 30);
    ZDQ_AESetTarget(1, 30);
    delete g_pLog;
    g_pLog = nullptr;

    char szPointers[64];
    std::snprintf(szPointers, sizeof szPointers, "0x%x, 0x%x",
                  LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(&nContext));
    const std::vector<std::string> expectedCalls = {
        "ZDQAPI::++ZDQ_AESetRegion(0, 1, 2, 3, 4)",
        "ZDQAPI::--ZDQ_AESetRegion.Ret(1)",
        "ZDQAPI::++ZDQ_AESetExposureTimeRange(0, 1.50, 20.25)",
        "ZDQAPI::--ZDQ_AESetExposureTimeRange.Ret(1)",
        std::string("ZDQAPI::++ZDQ_AESetCallback(0, ") + szPointers + ")",
        "ZDQAPI::--ZDQ_AESetCallback.Ret(1)",
        "ZDQAPI::++ZDQ_AEStart(0, 1, 20, 30)",
        "ZDQAPI::--ZDQ_AEStart.Ret(1)",
        "ZDQAPI::++ZDQ_AESetTarget(1, 30)",
        "ZDQAPI::--ZDQ_AESetTarget.Ret(-5)",
    };
    EXPECT_EQ(LogLines(FileText(callLogPath)), expectedCalls);

    std::snprintf(szPointers, sizeof szPointers, "0x%04x, 0x%04x",
                  LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(&nContext));
    const std::vector<std::string> deviceLines = DeviceLogLines();
    EXPECT_TRUE(Contains(deviceLines, std::string("ZDQAPI::AESetCallback(") + szPointers + ")."));
    const auto start =
        std::find(deviceLines.begin(), deviceLines.end(), "ZDQAPI::++++AEStart(1, 20, 30)++++.");
    ASSERT_NE(start, deviceLines.end());
    ASSERT_NE(start + 1, deviceLines.end());
    EXPECT_EQ(*(start + 1), "ZDQAPI::----AEStart----.");
}

// A raw frame of the camera: uniform, rows bottom-up.
class DeviceHookTest : public AutoExposureExportTest {
  protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 48;
    std::vector<uint8_t> m_frame = std::vector<uint8_t>(kWidth * kHeight, 50);
};

struct AeCall {
    int nStatus;
    int nExposureMs;
};

void RecordAe(int nStatus, int nExposureMs, void* lpContext) {
    static_cast<std::vector<AeCall>*>(lpContext)->push_back({nStatus, nExposureMs});
}

TEST_F(DeviceHookTest, ExposureStepsReachTheSensor) {
    ASSERT_EQ(m_pDevice->SensorSetExposureLines(1000), RET_SUCCESS);
    std::vector<AeCall> calls;
    ASSERT_EQ(ZDQ_AESetCallbackEx(kSlot, &RecordAe, &calls), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AEStartEx(kSlot, true), RET_SUCCESS);
    m_pDevice->RawData8_Do_3A_AE(m_frame.data(), kWidth, kHeight);
    EXPECT_EQ(SimShutterWidth(), 2560) << "1000 lines x 128 / 50";
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].nStatus, CAutoExposure::kChanged);
    EXPECT_EQ(calls[0].nExposureMs,
              static_cast<int>(m_pDevice->SensorExposureLinesToTime(2560) + 0.5f));

    // A black frame: up to the sensor's longest exposure, then over range.
    std::fill(m_frame.begin(), m_frame.end(), 0);
    calls.clear();
    ASSERT_EQ(ZDQ_AEStartEx(kSlot, true), RET_SUCCESS);
    for (int i = 0; i < 4; ++i) {
        m_pDevice->RawData8_Do_3A_AE(m_frame.data(), kWidth, kHeight);
    }
    EXPECT_EQ(SimShutterWidth(), CMT9M001::kMaxExposureLines);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].nStatus, CAutoExposure::kOverRange);
    bool bStart = true;
    EXPECT_EQ(ZDQ_AEGetStatusEx(kSlot, &bStart, nullptr, nullptr), RET_SUCCESS);
    EXPECT_FALSE(bStart);
}

TEST_F(DeviceHookTest, RawFramesOfTheMonochromeCameraRunBottomUp) {
    ASSERT_TRUE(m_pDevice->RawRowsBottomUp());
    ZDQ_AESetRegion(kSlot, 0, 0, 3, 3);
    ZDQ_AEStartEx(kSlot, true);
    m_pDevice->RawData8_Do_3A_AE(m_frame.data(), kWidth, kHeight);
    EXPECT_EQ(m_pDevice->AutoExposure().RealRegion(), (FrameRegion{0, kHeight - 3, 3, 3}));

    std::vector<int> values;
    ZDQ_AFSetRegion(kSlot, 0, 0, 5, 5);
    ZDQ_AFSetCallback(
        kSlot, [](int nValue, void* p) { static_cast<std::vector<int>*>(p)->push_back(nValue); },
        &values);
    ZDQ_AFStart(kSlot, true);
    m_pDevice->RawData8_Do_3A_AF(m_frame.data(), kWidth, kHeight);
    EXPECT_EQ(values, std::vector<int>{0});
    EXPECT_EQ(m_pDevice->FocusMeasure().RealRegion(), (FrameRegion{0, kHeight - 5, 5, 5}));
}

// An 8 x 4 frame of 8 bits; picture row 0 is the buffer's last row.
TEST_F(DeviceHookTest, ShownRegionsAreDarkenedInTheDrawnFrame) {
    std::vector<uint8_t> frame(8 * 4, 100);
    m_pDevice->DarkenShownRegions(frame.data(), 8, 4, 8);
    EXPECT_EQ(frame, std::vector<uint8_t>(8 * 4, 100)) << "no region shown";

    ZDQ_AESetRegion(kSlot, 0, 0, 2, 2);
    ZDQ_AEShowRegion(kSlot, true);
    ZDQ_AFSetRegion(kSlot, 4, 0, 2, 1);
    ZDQ_AFShowRegion(kSlot, true);
    m_pDevice->DarkenShownRegions(frame.data(), 8, 4, 8);
    const std::vector<uint8_t> expected = {
        100, 100, 100, 100, 100, 100, 100, 100,  //
        100, 100, 100, 100, 100, 100, 100, 100,  //
        90,  90,  100, 100, 100, 100, 100, 100,  //
        90,  90,  100, 100, 90,  90,  100, 100,  //
    };
    EXPECT_EQ(frame, expected);
}

}  // namespace
