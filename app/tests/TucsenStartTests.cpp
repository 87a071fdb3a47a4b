// The cooled camera's start by the application controller, against the
// simulated camera of libCamCore.so.
#include "ModalDriver.h"
#include "TestStation.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "startup/LogHandler.h"

#include <CamCore_control.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string journal() {
    const int length = camsim_journal(nullptr, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    camsim_journal(&text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

class TucsenStartTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        qInstallMessageHandler(outputMessage);
        s_station = new TestStation("tucsen-start");
        s_station->writeMachineIni("320", 1);
        s_control = CI_MainControl::getInstance();
        ASSERT_TRUE(s_control->initMachineName());
    }
    static void TearDownTestSuite() { qInstallMessageHandler(nullptr); }
    void SetUp() override {
        camsim_reset("width=64,height=32,time_scale=0");
        m_logMark = s_station->todaysLog().size();
    }
    QString newLog() const { return s_station->todaysLog().mid(m_logMark); }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    int m_logMark = 0;
};

TestStation* TucsenStartTest::s_station = nullptr;
CI_MainControl* TucsenStartTest::s_control = nullptr;

TEST_F(TucsenStartTest, AWesternBlotStationStartsItsCameraWithTheCurrentSet) {
    EXPECT_EQ(s_control->expType, 1);
    EXPECT_EQ(s_control->tucsenCamCtrl, TucsenCamCtrl::getInstance());
    ModalDriver driver;
    ASSERT_TRUE(s_control->initTucsenCam());
    EXPECT_TRUE(driver.messages().isEmpty());
    const QString log = newLog();
    for (const char* line :
         {"Device init success", "TucsenCamera connect success", "TucsenCamera resume success"}) {
        EXPECT_TRUE(log.contains(line)) << line;
    }
    TucsenCamCtrl* camera = s_control->tucsenCamCtrl;
    EXPECT_EQ(camera->deviceName, QByteArray("CoolCCD-16M #1"));
    EXPECT_EQ(camera->rawSize, 16 + 64 * 32 * 2);
    EXPECT_TRUE(camera->stopFlag);
    // The first-run seeds of the current set: ExposurePre 200, GainPre 200,
    // BlackLevel 10, Contrast 140, Gamma 66, Stretch 0, Flip 0, PixelClock 2,
    // Resolution 0, Depth 1.
    const std::string expected = "InitDevice " + s_station->path().toStdString() +
                                 "/ -> 0\n"
                                 "DeviceCount -> 1\n"
                                 "DeviceName 0 -> CoolCCD-16M #1\n"
                                 "ResumeDevice -> 0\n"
                                 "RecvMemSize -> 4112\n"
                                 "SetExposure 200 -> 0\n"
                                 "SetAnaloggain 200 -> 0\n"
                                 "SetBlacklevel 10 -> 0\n"
                                 "SetContrast 140 -> 0\n"
                                 "SetGamma 66 -> 0\n"
                                 "SetHistogramState 0 -> 0\n"
                                 "SetFlip 0 -> 0\n"
                                 "SetPixelclock 2 -> 0\n"
                                 "SuspendDevice -> 0\n"
                                 "SetResolution 0 -> 0\n"
                                 "SetRawDepth 16 -> 0\n";
    EXPECT_EQ(journal(), expected);
    EXPECT_EQ(camera->deviceState(), 0);
}

TEST_F(TucsenStartTest, EachFailingStepEndsTheStartWithItsMessage) {
    struct Case {
        const char* failing;
        const char* message;
        const char* notCalled;
    };
    const Case cases[] = {
        {"InitDevice", "Device init failed.", "DeviceCount"},
        {"ResumeDevice", "TucsenCamera resume failed.", "RecvMemSize"},
        {"RecvMemSize", "initBuffers failed.", "SetExposure"},
        {"SetExposure", "Exposure set failed.", "SuspendDevice"},
        {"SetPixelclock", "pixelclock set failed.", "SuspendDevice"},
        {"SetResolution", "Resolution set failed.", "SetRawDepth"},
        {"SetRawDepth", "RawDepth set failed.", "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        camsim_reset("width=64,height=32,time_scale=0");
        m_logMark = s_station->todaysLog().size();
        camsim_fail(c.failing, 1, CAMCORE_E_DEVICE);
        EXPECT_FALSE(s_control->initTucsenCam());
        EXPECT_TRUE(newLog().contains(c.message)) << newLog().toStdString();
        EXPECT_EQ(journal().find(c.notCalled), std::string::npos) << journal();
    }
}

TEST_F(TucsenStartTest, NoCameraShowsTheWarningAndFails) {
    camsim_reset("devices=0");
    ModalDriver driver;
    driver.answerMessageBox();
    EXPECT_FALSE(s_control->initTucsenCam());
    EXPECT_EQ(driver.messages(), QStringList{"Warning|Camera connection error!"});
    EXPECT_TRUE(newLog().contains("Device init success"));
    EXPECT_FALSE(newLog().contains("TucsenCamera connect success"));
}

}  // namespace
