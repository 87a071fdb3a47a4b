// The gel/UV camera-settings panel on the real SDK over a simulated camera:
// resolution items and ranges by model, ranges from the camera (and none
// clamping a stored value while no camera answers), values sent at once or,
// for the slider, on release, the automatic-exposure time shown without
// sending, the exposure bounded by what the camera takes at the preview's
// resolution, Save and Reset behind the re-check with their boxes and audit
// rows, and the form itself.
#include "EventWait.h"
#include "FileFaults.h"
#include "ModalDriver.h"
#include "SetExposureThread.h"
#include "TestStation.h"
#include "VarnuCamSetFrame.h"
#include "VarnuTestSupport.h"
#include "camera/PreviewSurface.h"
#include "camera/ZdqCameraCtrl.h"
#include "camera/ZdqPreviewThread.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "mlusbimager_control.h"
#include "settings/CamOpts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

namespace {

constexpr int kMono1280 = 1;

ZdqCamSet storedSet() {
    ZdqCamSet set;
    set.Resolution = 0;
    set.Exposure = 300;
    set.Gain = 8;
    set.BrightNess = 25;
    set.Contrast = 10;
    set.Gamma = 1;
    set.Mirror = false;
    set.Flip = false;
    set.SignalAccNum = 3;
    set.SignalAccOpen = true;
    return set;
}

class VarnuCamSetFrameTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_station = englishStation(QStringLiteral("camset-panel"));
        s_control = testerController();
    }

    void SetUp() override {
        s_control->machineName = Varnu_320;
        s_control->mainWindowShown = false;
        s_control->camOpt.zdqCurrentCamSet = storedSet();
        EXPECT_TRUE(s_control->camOpt.saveZdqCurrentCamSet());
        ZdqCamSet defaults = storedSet();
        defaults.Exposure = 300;
        defaults.Gain = 8;
        defaults.BrightNess = 20;
        defaults.Contrast = 12;
        defaults.Gamma = 2;
        defaults.SignalAccNum = 2;
        defaults.SignalAccOpen = false;
        s_control->camOpt.zdqDefaultCamSet = defaults;
        EXPECT_TRUE(s_control->camOpt.saveZdqDefaultCamSet());
        QSqlQuery(QSqlDatabase::database(s_control->auditTrailDB->connectionName()))
            .exec(QStringLiteral("DELETE FROM AuditTrail"));
    }

    void TearDown() override {
        m_panel.reset();
        camera()->ZDQ_UnInit();
        mlsim_unplug_all();
    }

    static ZdqCameraCtrl* camera() { return s_control->zdqCameraCtrl; }

    static void plug() {
        MlSimProfile profile{};
        mlsim_profile_default(kMono1280, &profile);
        profile.timing = MLSIM_TIMING_INSTANT;
        ASSERT_EQ(mlsim_plug(0, &profile), 1);
    }

    void build() { m_panel = std::make_unique<VarnuCamSetFrame>(); }

    // The SDK open as a running preview has it, the camera at the stored
    // exposure (the simulated camera takes up to about half a second).
    static void openSdk() {
        camera()->ZDQ_Init();
        ASSERT_EQ(camera()->ZDQ_DeviceGetCount(), 1);
        camera()->ZDQ_SetParam(0, ZDQ_EXPOSURE, storedSet().Exposure);
    }

    static int onCamera(ZDQ_PARAM param) {
        int value = std::numeric_limits<int>::min();
        camera()->ZDQ_GetParam(0, param, &value);
        return value;
    }

    static std::pair<int, int> rangeOnCamera(ZDQ_PARAM param) {
        int minimum = 0;
        int maximum = 0;
        EXPECT_EQ(camera()->ZDQ_GetParamRange(0, param, &minimum, &maximum), 1);
        return {minimum, maximum};
    }

    // The current set as the camera settings file holds it.
    static ZdqCamSet fileSet() {
        CamOpts reader;
        reader.loadZdqCurrentCamSet();
        return reader.zdqCurrentCamSet;
    }

    template <typename T>
    T* child(const char* name) {
        T* found = m_panel->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QSpinBox* spin(const char* name) { return child<QSpinBox>(name); }
    QSlider* slider() { return child<QSlider>("horizontalSlider_Exposure"); }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    std::unique_ptr<VarnuCamSetFrame> m_panel;
};

TestStation* VarnuCamSetFrameTest::s_station = nullptr;
CI_MainControl* VarnuCamSetFrameTest::s_control = nullptr;

TEST_F(VarnuCamSetFrameTest, ResolutionItemsAndExposureRangeFollowTheModel) {
    struct ModelCase {
        int machine;
        QStringList items;
        int maxExposure;
    };
    const ModelCase cases[] = {
        {Varnu_320, {"1064*850", "532*425", "266*212", "133*106"}, 2000},
        {Varnu_520, {"2592*1944", "1296*972", "648*486", "324*243"}, 7000},
        {Varnu_550, {"2592*1944", "1296*972", "648*486", "324*243"}, 7000},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.machine);
        s_control->machineName = c.machine;
        build();
        auto* combo = child<QComboBox>("comboBox_Resolution");
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
            EXPECT_EQ(combo->itemData(i).toInt(), i);
        }
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(slider()->minimum(), 0);
        EXPECT_EQ(slider()->maximum(), c.maxExposure);
        EXPECT_EQ(spin("spinBox_Exposure")->maximum(), c.maxExposure);
        EXPECT_FALSE(slider()->hasTracking());
        auto* accumulated = spin("spinBox_SignalAccNum");
        accumulated->setValue(1);
        EXPECT_EQ(accumulated->value(), 2);
        m_panel.reset();
    }
}

TEST_F(VarnuCamSetFrameTest, RangesComeFromTheCameraAndTheStoredSetIsShown) {
    plug();
    build();
    EXPECT_TRUE(m_panel->paramRangesKnown());
    openSdk();
    const std::pair<const char*, ZDQ_PARAM> boxes[] = {{"spinBox_Gain", ZDQ_RED},
                                                       {"spinBox_BrightNess", ZDQ_BRIGHTNESS},
                                                       {"spinBox_Contrast", ZDQ_CONTRAST},
                                                       {"spinBox_Gamma", ZDQ_GAMMA}};
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.first);
        const std::pair<int, int> range = rangeOnCamera(box.second);
        EXPECT_EQ(spin(box.first)->minimum(), range.first);
        EXPECT_EQ(spin(box.first)->maximum(), range.second);
    }
    const ZdqCamSet set = storedSet();
    EXPECT_EQ(child<QComboBox>("comboBox_Resolution")->currentText(), QStringLiteral("1064*850"));
    EXPECT_EQ(slider()->value(), set.Exposure);
    EXPECT_EQ(spin("spinBox_Exposure")->value(), set.Exposure);
    EXPECT_EQ(spin("spinBox_Gain")->value(), set.Gain);
    EXPECT_EQ(spin("spinBox_BrightNess")->value(), set.BrightNess);
    EXPECT_EQ(spin("spinBox_Contrast")->value(), set.Contrast);
    EXPECT_EQ(spin("spinBox_Gamma")->value(), set.Gamma);
    EXPECT_EQ(spin("spinBox_SignalAccNum")->value(), set.SignalAccNum);
    EXPECT_TRUE(child<QCheckBox>("checkBox_SigAccOpen")->isChecked());
}

TEST_F(VarnuCamSetFrameTest, WithoutCameraNoStoredValueIsClampedUntilTheCameraIsFound) {
    build();
    EXPECT_FALSE(m_panel->paramRangesKnown());
    m_panel->saveParaHandle();
    const ZdqCamSet file = fileSet();
    const ZdqCamSet set = storedSet();
    EXPECT_EQ(file.Gain, set.Gain);
    EXPECT_EQ(file.BrightNess, set.BrightNess);
    EXPECT_EQ(file.Contrast, set.Contrast);
    EXPECT_EQ(file.Gamma, set.Gamma);
    EXPECT_EQ(file.Exposure, set.Exposure);

    // A preview finds the camera: the ranges are the camera's from then on.
    plug();
    openSdk();
    emit camera()->cameraFound();
    ASSERT_TRUE(waitFor([&] { return m_panel->paramRangesKnown(); }, 3000));
    const std::pair<int, int> gain = rangeOnCamera(ZDQ_RED);
    EXPECT_EQ(spin("spinBox_Gain")->minimum(), gain.first);
    EXPECT_EQ(spin("spinBox_Gain")->maximum(), gain.second);
    EXPECT_EQ(spin("spinBox_Gain")->value(), set.Gain);
}

TEST_F(VarnuCamSetFrameTest, TheSliderSendsOnlyWhenReleased) {
    plug();
    build();
    openSdk();
    ASSERT_EQ(onCamera(ZDQ_EXPOSURE), 300);
    QSignalSpy changes(m_panel.get(), &VarnuCamSetFrame::expChange);
    slider()->setSliderDown(true);
    for (int position : {200, 350, 480}) {
        slider()->setSliderPosition(position);
    }
    QTest::qWait(200);
    EXPECT_EQ(onCamera(ZDQ_EXPOSURE), 300);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(spin("spinBox_Exposure")->value(), 300);

    slider()->setSliderDown(false);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(spin("spinBox_Exposure")->value(), 480);
    EXPECT_TRUE(waitFor([] { return onCamera(ZDQ_EXPOSURE) == 480; }, 3000))
        << onCamera(ZDQ_EXPOSURE);
}

TEST_F(VarnuCamSetFrameTest, EveryOtherChangeIsSentAtOnce) {
    plug();
    build();
    openSdk();
    QSignalSpy changes(m_panel.get(), &VarnuCamSetFrame::expChange);
    for (int exposure : {120, 450, 500}) {
        spin("spinBox_Exposure")->setValue(exposure);
        EXPECT_EQ(onCamera(ZDQ_EXPOSURE), exposure);
        EXPECT_EQ(slider()->value(), exposure);
    }
    EXPECT_EQ(changes.count(), 3);

    const std::pair<const char*, ZDQ_PARAM> boxes[] = {{"spinBox_Gain", ZDQ_RED},
                                                       {"spinBox_BrightNess", ZDQ_BRIGHTNESS},
                                                       {"spinBox_Contrast", ZDQ_CONTRAST},
                                                       {"spinBox_Gamma", ZDQ_GAMMA}};
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.first);
        const std::pair<int, int> range = rangeOnCamera(box.second);
        for (int value : {range.second, range.first, (range.first + range.second) / 2}) {
            spin(box.first)->setValue(value);
            EXPECT_EQ(onCamera(box.second), value);
        }
    }
    m_panel->show();
    for (const std::pair<const char*, ZDQ_PARAM>& box :
         {std::make_pair("checkBox_Mirror", ZDQ_MIRROR),
          std::make_pair("checkBox_Flip", ZDQ_FLIP)}) {
        SCOPED_TRACE(box.first);
        QTest::mouseClick(child<QCheckBox>(box.first), Qt::LeftButton);
        EXPECT_EQ(onCamera(box.second), 1);
        QTest::mouseClick(child<QCheckBox>(box.first), Qt::LeftButton);
        EXPECT_EQ(onCamera(box.second), 0);
    }
    QSignalSpy fields(m_panel.get(), &VarnuCamSetFrame::sig_UpdatePreviewField);
    child<QComboBox>("comboBox_Resolution")->setCurrentIndex(2);
    ASSERT_EQ(fields.count(), 1);
    EXPECT_EQ(fields.at(0).at(0).toInt(), 2);
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(VarnuCamSetFrameTest, TheAutomaticExposureTimeMovesTheControlsWithoutSending) {
    plug();
    build();
    openSdk();
    QSignalSpy changes(m_panel.get(), &VarnuCamSetFrame::expChange);
    m_panel->updateAeTimeHandle(1200);
    EXPECT_EQ(spin("spinBox_Exposure")->value(), 1200);
    EXPECT_EQ(slider()->value(), 1200);
    QTest::qWait(200);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(onCamera(ZDQ_EXPOSURE), 300);
}

TEST_F(VarnuCamSetFrameTest, TheExposureGoesUpToWhatTheCameraTakesAtThePreviewResolution) {
    plug();
    build();
    struct Case {
        int resolution;
        int maximum;  // of the 1280 x 1024 sensor at that field of view
    };
    const Case cases[] = {{0, 446}, {1, 264}, {2, 187}, {3, 187}};
    PreviewSurface surface;
    surface.resize(400, 300);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resolution);
        s_control->camOpt.zdqCurrentCamSet.Resolution = c.resolution;
        EXPECT_TRUE(s_control->camOpt.saveZdqCurrentCamSet());
        QSignalSpy changes(m_panel.get(), &VarnuCamSetFrame::expChange);
        ZdqPreviewThread preview;
        preview.setPreviewWindow(surface.handle(), 400, 300);
        preview.start();
        ASSERT_TRUE(preview.wait(10000));
        ASSERT_TRUE(
            waitFor([&] { return spin("spinBox_Exposure")->maximum() == c.maximum; }, 3000));
        EXPECT_EQ(rangeOnCamera(ZDQ_EXPOSURE).second, c.maximum);
        EXPECT_EQ(slider()->maximum(), c.maximum);
        // The stored 300 ms as far as the camera takes it, not sent again.
        EXPECT_EQ(spin("spinBox_Exposure")->value(), std::min(300, c.maximum));
        EXPECT_EQ(slider()->value(), std::min(300, c.maximum));
        EXPECT_EQ(changes.count(), 0);

        // Another resolution chosen while the preview runs.
        preview.setPreviewFieldOfView(0, 0);
        EXPECT_EQ(spin("spinBox_Exposure")->maximum(), 446);
        camera()->ZDQ_PreviewStart(0, false);
        camera()->ZDQ_UnInit();
    }
    // The model's own maximum bounds a camera that would take more.
    emit camera()->exposureRangeFound(0, 5000);
    EXPECT_EQ(spin("spinBox_Exposure")->maximum(), 2000);
    EXPECT_EQ(slider()->maximum(), 2000);
}

TEST_F(VarnuCamSetFrameTest, AnOvertakenExposureChoiceSendsNothing) {
    plug();
    openSdk();
    // Two releases whose threads run in the opposite order.
    auto first = std::make_unique<SetExposureThread>(150);
    auto second = std::make_unique<SetExposureThread>(480);
    second->start();
    ASSERT_TRUE(second->wait(3000));
    first->start();
    ASSERT_TRUE(first->wait(3000));
    EXPECT_EQ(onCamera(ZDQ_EXPOSURE), 480);

    // A typed value after a release overtakes the release's thread.
    auto released = std::make_unique<SetExposureThread>(250);
    SetExposureThread::setExposureNow(400);
    released->start();
    ASSERT_TRUE(released->wait(3000));
    EXPECT_EQ(onCamera(ZDQ_EXPOSURE), 400);
}

TEST_F(VarnuCamSetFrameTest, SaveStoresTheControlsBehindTheReCheck) {
    build();
    m_panel->show();
    child<QComboBox>("comboBox_Resolution")->setCurrentIndex(2);
    spin("spinBox_Exposure")->setValue(650);
    spin("spinBox_Gain")->setValue(20);
    spin("spinBox_SignalAccNum")->setValue(5);
    child<QCheckBox>("checkBox_SigAccOpen")->setChecked(false);
    QTest::mouseClick(child<QCheckBox>("checkBox_Flip"), Qt::LeftButton);
    QSignalSpy buttons(m_panel.get(), &VarnuCamSetFrame::sig_UpdateButton);
    QSignalSpy previews(m_panel.get(), &VarnuCamSetFrame::sig_PreviewStart);
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    QTest::mouseClick(child<QPushButton>("pushButton_Save"), Qt::LeftButton);
    EXPECT_EQ(driver.messages(), QStringList{"Tips|Camera parameter save success."});
    ASSERT_EQ(buttons.count(), 1);
    EXPECT_FALSE(buttons.at(0).at(0).toBool());
    EXPECT_EQ(previews.count(), 1);
    const ZdqCamSet file = fileSet();
    EXPECT_EQ(file.Resolution, 2);
    EXPECT_EQ(file.Exposure, 650);
    EXPECT_EQ(file.Gain, 20);
    EXPECT_EQ(file.SignalAccNum, 5);
    EXPECT_FALSE(file.SignalAccOpen);
    EXPECT_TRUE(file.Flip);
    EXPECT_EQ(auditContents(0), QStringList{"保存相机参数"});
    EXPECT_EQ(auditContents(1), QStringList{"Save camera parameters"});
}

// A camera settings file that cannot be written: no success, no audit row,
// the stored set back in the panel; the same for save and reset.
TEST_F(VarnuCamSetFrameTest, AnUnwritableSettingsFileIsToldAndTheStoredSetShown) {
    const QString ini = s_station->filePath("Ini/camOption.ini");
    for (const char* button : {"pushButton_Save", "pushButton_Reset"}) {
        SCOPED_TRACE(button);
        build();
        m_panel->show();
        spin("spinBox_Exposure")->setValue(650);
        spin("spinBox_Gain")->setValue(20);
        if (!makeUnwritable(ini)) {
            makeWritable(ini);
            GTEST_SKIP() << "this file system cannot make a file unwritable";
        }
        QSignalSpy previews(m_panel.get(), &VarnuCamSetFrame::sig_PreviewStart);
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        makeWritable(ini);
        EXPECT_EQ(driver.messages(),
                  QStringList{"Tips|Save failed, the settings file cannot be written!"});
        EXPECT_EQ(previews.count(), 0);
        EXPECT_EQ(fileSet().Exposure, storedSet().Exposure);
        EXPECT_EQ(fileSet().Gain, storedSet().Gain);
        EXPECT_EQ(spin("spinBox_Exposure")->value(), storedSet().Exposure);
        EXPECT_EQ(spin("spinBox_Gain")->value(), storedSet().Gain);
        EXPECT_EQ(s_control->camOpt.zdqCurrentCamSet.Exposure, storedSet().Exposure);
        EXPECT_TRUE(auditContents(1).isEmpty());
        m_panel.reset();
    }
}

TEST_F(VarnuCamSetFrameTest, ResetShowsAndStoresTheDefaultsOnModel1) {
    s_control->machineName = Varnu_520;
    ZdqCamSet current = storedSet();
    current.Resolution = 3;
    current.Exposure = 4000;
    current.Gain = 30;
    s_control->camOpt.zdqCurrentCamSet = current;
    EXPECT_TRUE(s_control->camOpt.saveZdqCurrentCamSet());
    build();
    m_panel->show();
    ASSERT_EQ(child<QComboBox>("comboBox_Resolution")->currentText(), QStringLiteral("324*243"));
    QSignalSpy buttons(m_panel.get(), &VarnuCamSetFrame::sig_UpdateButton);
    QSignalSpy previews(m_panel.get(), &VarnuCamSetFrame::sig_PreviewStart);
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    QTest::mouseClick(child<QPushButton>("pushButton_Reset"), Qt::LeftButton);
    EXPECT_EQ(driver.messages(), QStringList{"Tips|Camera parameter reset success."});
    EXPECT_EQ(child<QComboBox>("comboBox_Resolution")->currentText(), QStringLiteral("2592*1944"));
    EXPECT_EQ(spin("spinBox_Exposure")->value(), 300);
    EXPECT_EQ(slider()->value(), 300);
    EXPECT_EQ(spin("spinBox_Gain")->value(), 8);
    EXPECT_FALSE(child<QCheckBox>("checkBox_SigAccOpen")->isChecked());
    ASSERT_EQ(buttons.count(), 1);
    EXPECT_FALSE(buttons.at(0).at(0).toBool());
    EXPECT_EQ(previews.count(), 1);
    const ZdqCamSet file = fileSet();
    EXPECT_EQ(file.Resolution, 0);
    EXPECT_EQ(file.Exposure, 300);
    EXPECT_EQ(file.Gain, 8);
    EXPECT_EQ(file.BrightNess, 20);
    EXPECT_EQ(file.Contrast, 12);
    EXPECT_EQ(file.Gamma, 2);
    EXPECT_EQ(file.SignalAccNum, 2);
    EXPECT_FALSE(file.SignalAccOpen);
    EXPECT_EQ(auditContents(0), QStringList{"重置相机参数"});
    EXPECT_EQ(auditContents(1), QStringList{"Reset camera parameters"});
}

TEST_F(VarnuCamSetFrameTest, ARefusedReCheckChangesNothing) {
    build();
    m_panel->show();
    spin("spinBox_Gain")->setValue(40);
    s_control->mainWindowShown = true;
    s_station->setUserOption(QStringLiteral("isCheckLogin"), 0);
    QSignalSpy buttons(m_panel.get(), &VarnuCamSetFrame::sig_UpdateButton);
    QSignalSpy previews(m_panel.get(), &VarnuCamSetFrame::sig_PreviewStart);
    for (const char* name : {"pushButton_Save", "pushButton_Reset"}) {
        SCOPED_TRACE(name);
        ModalDriver driver;
        driver.onDialog([](QDialog* dialog) { dialog->reject(); });
        QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton);
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_TRUE(driver.messages().isEmpty());
    }
    s_station->setUserOption(QStringLiteral("isCheckLogin"), 1);
    EXPECT_EQ(spin("spinBox_Gain")->value(), 40);
    EXPECT_EQ(fileSet().Gain, storedSet().Gain);
    EXPECT_EQ(buttons.count() + previews.count(), 0);
    EXPECT_TRUE(auditContents(1).isEmpty());
}

TEST_F(VarnuCamSetFrameTest, ShowingReloadsTheStoredSetAndShowsTheHolder) {
    QFrame holder;
    m_panel = std::make_unique<VarnuCamSetFrame>(&holder);
    spin("spinBox_Gain")->setValue(44);
    m_panel->slot_Show();
    EXPECT_TRUE(holder.isVisible());
    EXPECT_EQ(spin("spinBox_Gain")->value(), storedSet().Gain);
    m_panel->slot_Hide();
    EXPECT_FALSE(holder.isVisible());
    m_panel.reset();
}

// ---- The form -------------------------------------------------------------------

struct FormRow {
    const char* name;
    const char* className;
    const char* parent;
    QRect geometry;  // empty: the fixed size below, placed by the grid
    QSize fixedSize;
    const char* text;
};

TEST_F(VarnuCamSetFrameTest, FormBuildsTheSpecifiedWidgets) {
    const FormRow rows[] = {
        {"groupBox_Para", "QGroupBox", "VarnuCamSetFrame", {11, 560, 184, 70}, {}, "parameter"},
        {"pushButton_Reset", "QPushButton", "groupBox_Para", {20, 20, 60, 40}, {}, ""},
        {"pushButton_Save", "QPushButton", "groupBox_Para", {100, 20, 60, 40}, {}, ""},
        {"frame_CamSet", "QFrame", "VarnuCamSetFrame", {10, 10, 186, 520}, {}, ""},
        {"groupBox_Exposure", "QGroupBox", "frame_CamSet", {}, {184, 100}, "Exposure"},
        {"spinBox_Exposure", "QSpinBox", "groupBox_Exposure", {10, 60, 140, 30}, {}, ""},
        {"horizontalSlider_Exposure", "QSlider", "groupBox_Exposure", {10, 20, 160, 30}, {}, ""},
        {"label_Ms", "QLabel", "groupBox_Exposure", {150, 60, 32, 30}, {}, "ms"},
        {"groupBox_Contrast", "QGroupBox", "frame_CamSet", {}, {184, 60}, "Contrast"},
        {"spinBox_Contrast", "QSpinBox", "groupBox_Contrast", {10, 20, 140, 30}, {}, ""},
        {"groupBox_BrightNess", "QGroupBox", "frame_CamSet", {}, {184, 60}, "Brightness"},
        {"spinBox_BrightNess", "QSpinBox", "groupBox_BrightNess", {10, 20, 140, 30}, {}, ""},
        {"groupBox_Gamma", "QGroupBox", "frame_CamSet", {}, {184, 60}, "Gamma"},
        {"spinBox_Gamma", "QSpinBox", "groupBox_Gamma", {10, 20, 140, 30}, {}, ""},
        {"groupBox_Gain", "QGroupBox", "frame_CamSet", {}, {184, 60}, "Gain"},
        {"spinBox_Gain", "QSpinBox", "groupBox_Gain", {10, 20, 140, 30}, {}, ""},
        {"groupBox_Rotate", "QGroupBox", "frame_CamSet", {}, {184, 60}, "Mirror && Flip"},
        {"checkBox_Mirror", "QCheckBox", "groupBox_Rotate", {10, 20, 70, 30}, {}, "Mirror"},
        {"checkBox_Flip", "QCheckBox", "groupBox_Rotate", {90, 20, 70, 30}, {}, "Flip"},
        {"groupBox_SignalAccNum",
         "QGroupBox",
         "frame_CamSet",
         {},
         {184, 60},
         "Signal accumulation"},
        {"spinBox_SignalAccNum", "QSpinBox", "groupBox_SignalAccNum", {60, 20, 90, 30}, {}, ""},
        {"label_Num", "QLabel", "groupBox_SignalAccNum", {10, 20, 50, 30}, {}, "Num:"},
        {"checkBox_SigAccOpen", "QCheckBox", "groupBox_SignalAccNum", {155, 20, 20, 30}, {}, ""},
        {"groupBox_Resolution", "QGroupBox", "frame_CamSet", {}, {184, 60}, "Resolution"},
        {"comboBox_Resolution", "QComboBox", "groupBox_Resolution", {10, 20, 135, 30}, {}, ""},
    };
    build();
    EXPECT_EQ(m_panel->objectName(), QStringLiteral("VarnuCamSetFrame"));
    EXPECT_EQ(m_panel->windowTitle(), QStringLiteral("Frame"));
    EXPECT_EQ(m_panel->size(), QSize(200, 643));
    QStringList created;
    for (QWidget* widget : m_panel->findChildren<QWidget*>()) {
        // Widgets that belong to the spin boxes, slider and combo box
        // themselves have no object name of the form.
        if (!widget->objectName().isEmpty() &&
            !widget->objectName().startsWith(QLatin1String("qt_"))) {
            created << widget->objectName();
        }
    }
    QStringList declared;
    for (const FormRow& row : rows) {
        declared << QString::fromLatin1(row.name);
    }
    EXPECT_EQ(created, declared);
    for (const FormRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto* widget = m_panel->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), row.className);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        if (row.geometry.isValid()) {
            EXPECT_EQ(widget->geometry(), row.geometry);
        } else {
            EXPECT_EQ(widget->minimumSize(), row.fixedSize);
            EXPECT_EQ(widget->maximumSize(), row.fixedSize);
        }
        if (auto* push = qobject_cast<QPushButton*>(widget)) {
            EXPECT_TRUE(push->text().isEmpty());
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(box->title(), QString::fromLatin1(row.text));
        } else if (auto* text = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(text->text(), QString::fromLatin1(row.text));
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            EXPECT_EQ(check->text(), QString::fromLatin1(row.text));
        }
    }
    EXPECT_EQ(child<QLabel>("label_Ms")->alignment(), Qt::AlignCenter);
    auto* camSet = child<QFrame>("frame_CamSet");
    EXPECT_EQ(camSet->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(camSet->frameShadow(), QFrame::Raised);
    auto* grid = qobject_cast<QGridLayout*>(camSet->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->objectName(), QStringLiteral("gridLayout"));
    EXPECT_EQ(grid->spacing(), 0);
    EXPECT_EQ(grid->contentsMargins(), QMargins(0, 0, 0, 0));
    const char* const gridRows[] = {"groupBox_Resolution", "groupBox_Exposure",    "groupBox_Gain",
                                    "groupBox_BrightNess", "groupBox_Contrast",    "groupBox_Gamma",
                                    "groupBox_Rotate",     "groupBox_SignalAccNum"};
    for (int row = 0; row < 8; ++row) {
        QLayoutItem* item = grid->itemAtPosition(row, 0);
        ASSERT_NE(item, nullptr) << row;
        ASSERT_NE(item->widget(), nullptr) << row;
        EXPECT_EQ(item->widget()->objectName(), QString::fromLatin1(gridRows[row]));
    }
    ASSERT_NE(grid->itemAtPosition(8, 0), nullptr);
    EXPECT_NE(grid->itemAtPosition(8, 0)->spacerItem(), nullptr);
    QSlider* exposure = slider();
    EXPECT_EQ(exposure->orientation(), Qt::Horizontal);
    EXPECT_EQ(exposure->singleStep(), 100);
    EXPECT_EQ(exposure->pageStep(), 100);

    const QStringList tabOrder = {
        "comboBox_Resolution",  "horizontalSlider_Exposure", "spinBox_Exposure",
        "spinBox_Gain",         "spinBox_BrightNess",        "spinBox_Contrast",
        "spinBox_Gamma",        "checkBox_Mirror",           "checkBox_Flip",
        "spinBox_SignalAccNum", "checkBox_SigAccOpen",       "pushButton_Reset",
        "pushButton_Save"};
    QStringList chain;
    QWidget* first = child<QWidget>("comboBox_Resolution");
    QWidget* at = first;
    do {
        if (tabOrder.contains(at->objectName())) {
            chain << at->objectName();
        }
        at = at->nextInFocusChain();
    } while (at != first && chain.size() < 40);
    EXPECT_EQ(chain, tabOrder);
}

TEST_F(VarnuCamSetFrameTest, TextsFollowTheLanguage) {
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(QStringLiteral(":/en_CN.qm")));
    build();
    ASSERT_TRUE(QCoreApplication::installTranslator(&chinese));
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QGroupBox>("groupBox_Resolution")->title(), QStringLiteral("分辨率"));
    EXPECT_EQ(child<QGroupBox>("groupBox_Para")->title(), QStringLiteral("参数"));
    EXPECT_EQ(child<QCheckBox>("checkBox_Mirror")->text(), QStringLiteral("镜像"));
    EXPECT_EQ(child<QGroupBox>("groupBox_Rotate")->title(), QStringLiteral("镜像 && 翻转"));
    EXPECT_EQ(child<QLabel>("label_Num")->text(), QStringLiteral("数量："));
    EXPECT_TRUE(child<QCheckBox>("checkBox_SigAccOpen")->text().isEmpty());
    QCoreApplication::removeTranslator(&chinese);
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QGroupBox>("groupBox_Resolution")->title(), QStringLiteral("Resolution"));
    EXPECT_EQ(child<QGroupBox>("groupBox_Rotate")->title(), QStringLiteral("Mirror && Flip"));
    // The items come from the panel, not the form, and stay.
    EXPECT_EQ(child<QComboBox>("comboBox_Resolution")->count(), 4);
}

}  // namespace
