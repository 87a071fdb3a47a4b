// The gel/UV capture panel against darkroom-sim: the status sequences at
// construction, the status table, power, lamp and lens buttons as bytes on
// the line, the camera buttons' signals and audit rows behind the re-check,
// capture rights, the model-2 captions and the form itself.
#include "DarkroomSimProcess.h"
#include "ModalDriver.h"
#include "TestStation.h"
#include "VarnuCaptureFrame.h"
#include "VarnuFrame.h"
#include "VarnuTestSupport.h"
#include "Varnu_ImageFrame.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "serial/ASyncSerialPortThread.h"
#include "serial/LightCtrl.h"
#include "settings/CamOpts.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTranslator>

#include <map>
#include <memory>

#include <gtest/gtest.h>

namespace {

const char* const kLightButtons[] = {"pushButton_WhiteLight", "pushButton_UV302C",
                                     "pushButton_UV302O", "pushButton_UV254", "pushButton_UV365"};

QStringList s_debugMessages;

void recordDebug(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg) {
        s_debugMessages.append(message);
    }
}

class VarnuCaptureFrameTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_station = englishStation(QStringLiteral("capture-panel"));
        s_control = testerController();
        s_sim = new DarkroomSimProcess(QStringLiteral("capture-link"));
        ASSERT_TRUE(s_sim->start());
        s_control->ConnectToPort(s_sim->linkPath());
        ASSERT_TRUE(waitUntil([] { return s_control->serialPortThread->isRunning(); }, 3000));
    }

    static void TearDownTestSuite() {
        s_control->serialPortThread->closePort();
        s_control->serialPortThread->wait(3000);
        EXPECT_TRUE(s_sim->stop());
        delete s_sim;
        s_sim = nullptr;
    }

    void SetUp() override {
        s_sim->command(QStringLiteral("unmute"));
        // Every test starts with the instrument off.
        if (s_sim->state(QStringLiteral("power")) == QLatin1String("1")) {
            LightCtrl::getInstance()->sendRawCmd({0x02});
            ASSERT_TRUE(waitUntil(
                [] { return s_sim->state(QStringLiteral("power")) == QLatin1String("0"); }, 3000));
            settle();
        }
        ASSERT_TRUE(s_sim->command(QStringLiteral("clear")).isEmpty());
        QSqlQuery(QSqlDatabase::database(s_control->auditTrailDB->connectionName()))
            .exec(QStringLiteral("DELETE FROM AuditTrail"));
        s_control->machineName = 0;
        s_control->mainWindowShown = false;
        s_control->currentUser->authImgCap = true;
        s_control->camOpt.zdqCurrentCamSet.SignalAccOpen = true;
        EXPECT_TRUE(s_control->camOpt.saveCamOpt(ZdqCurrent_SignalAccOpen));
        s_debugMessages.clear();
    }

    // Builds the panel and waits until the controller answered its status
    // request and the pending switch-off is over (power off on the line).
    void buildSettled() {
        m_panel = std::make_unique<VarnuCaptureFrame>();
        ASSERT_EQ(rawSent(1).value(0), QByteArray(1, '\x1D'));
        settle();
    }

    // Lets the serial thread deliver whatever is on its way.
    static void settle() { QTest::qWait(150); }

    QPushButton* button(const char* name) {
        auto* found = m_panel->findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLabel* label(const char* name) {
        return m_panel->findChild<QLabel*>(QString::fromLatin1(name));
    }

    // Bytes the simulator received unframed since the last clear, once there
    // are at least `count` of them.
    static QList<QByteArray> rawSent(int count) {
        QList<QByteArray> got;
        waitUntil(
            [&] {
                got.clear();
                for (const SimJournalEntry& entry : s_sim->journal()) {
                    if (entry.kind == QLatin1String("raw")) {
                        got.append(entry.bytes);
                    }
                }
                return got.size() >= count;
            },
            3000);
        return got;
    }

    // The simulator's status byte as the station receives it.
    // Sends a status byte and returns once the serial thread has delivered it
    // and the panel has had its turn: a loaded machine may take longer than a
    // fixed pause to read the byte.
    void inject(int byte) {
        QSignalSpy delivered(s_control->serialPortThread, &ASyncSerialPortThread::readData);
        ASSERT_TRUE(
            s_sim->command(QStringLiteral("send %1").arg(byte, 2, 16, QLatin1Char('0'))).isEmpty());
        ASSERT_TRUE(waitUntil([&] { return !delivered.isEmpty(); }, 5000));
        settle();
    }

    // Names of the checked light buttons.
    QStringList checkedLights() {
        QStringList names;
        for (const char* name : kLightButtons) {
            if (button(name)->isChecked()) {
                names << QString::fromLatin1(name);
            }
        }
        return names;
    }
    bool lightsEnabled(bool enabled) {
        for (const char* name : kLightButtons) {
            if (button(name)->isEnabled() != enabled) {
                return false;
            }
        }
        return true;
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    static DarkroomSimProcess* s_sim;
    std::unique_ptr<VarnuCaptureFrame> m_panel;
};

TestStation* VarnuCaptureFrameTest::s_station = nullptr;
CI_MainControl* VarnuCaptureFrameTest::s_control = nullptr;
DarkroomSimProcess* VarnuCaptureFrameTest::s_sim = nullptr;

TEST_F(VarnuCaptureFrameTest, BuiltWithPowerOnSwitchesItOffOnceWithoutCheckingPower) {
    LightCtrl::getInstance()->sendRawCmd({0x02});
    ASSERT_TRUE(waitUntil(
        [] { return s_sim->state(QStringLiteral("power")) == QLatin1String("1"); }, 3000));
    settle();
    ASSERT_TRUE(s_sim->command(QStringLiteral("clear")).isEmpty());

    m_panel = std::make_unique<VarnuCaptureFrame>();
    bool powerEverChecked = false;
    QObject::connect(button("pushButton_Power"), &QPushButton::toggled,
                     [&](bool on) { powerEverChecked |= on; });
    EXPECT_EQ(rawSent(2), (QList<QByteArray>{QByteArray(1, '\x1D'), QByteArray(1, '\x02')}));
    ASSERT_TRUE(waitUntil(
        [] { return s_sim->state(QStringLiteral("power")) == QLatin1String("0"); }, 3000));
    settle();
    EXPECT_EQ(rawSent(2).size(), 2);
    EXPECT_FALSE(powerEverChecked);
    EXPECT_FALSE(s_control->powerOn);
    EXPECT_TRUE(lightsEnabled(true));
    EXPECT_TRUE(checkedLights().isEmpty());

    // The pending switch-off is over: the next power-on status checks Power.
    inject(0x0C);
    EXPECT_TRUE(button("pushButton_Power")->isChecked());
}

TEST_F(VarnuCaptureFrameTest, BuiltWithPowerOffLeavesTheButtonsAsTheFormSetThem) {
    buildSettled();
    EXPECT_EQ(rawSent(1).size(), 1);
    EXPECT_FALSE(button("pushButton_Power")->isChecked());
    EXPECT_TRUE(lightsEnabled(true));
    EXPECT_TRUE(checkedLights().isEmpty());
    EXPECT_FALSE(s_control->powerOn);
}

TEST_F(VarnuCaptureFrameTest, EveryPowerOnWhilePendingIsAnsweredWithAToggle) {
    ASSERT_TRUE(s_sim->command(QStringLiteral("mute")).isEmpty());
    m_panel = std::make_unique<VarnuCaptureFrame>();
    ASSERT_EQ(rawSent(1).size(), 1);
    inject(0x0C);
    inject(0x0C);
    EXPECT_EQ(rawSent(3), (QList<QByteArray>{QByteArray(1, '\x1D'), QByteArray(1, '\x02'),
                                             QByteArray(1, '\x02')}));
    EXPECT_FALSE(button("pushButton_Power")->isChecked());
    EXPECT_TRUE(s_control->powerOn);
    inject(0x0D);
    EXPECT_FALSE(s_control->powerOn);
    EXPECT_TRUE(lightsEnabled(true));
    inject(0x0C);
    EXPECT_TRUE(button("pushButton_Power")->isChecked());
    EXPECT_EQ(rawSent(3).size(), 3);
}

struct StatusCase {
    const char* title;
    QStringList checkedBefore;
    int status;
    QStringList checkedAfter;
};

TEST_F(VarnuCaptureFrameTest, LampStatusBytesShowAtMostOneSource) {
    const QString white = QStringLiteral("pushButton_WhiteLight");
    const QString uv1 = QStringLiteral("pushButton_UV302C");
    const QString uv2 = QStringLiteral("pushButton_UV302O");
    const QString uv3 = QStringLiteral("pushButton_UV254");
    const QString uv4 = QStringLiteral("pushButton_UV365");
    const StatusCase cases[] = {
        {"white open", {uv4}, 0x0E, {white}},
        {"white close unchecks only white", {white, uv1}, 0x0F, {uv1}},
        {"uv1 open", {white}, 0x10, {uv1}},
        {"uv1 close", {uv1, uv2}, 0x11, {uv2}},
        {"uv2 open while white shows", {white}, 0x12, {uv2}},
        {"uv2 close", {uv2, uv3}, 0x13, {uv3}},
        {"uv3 open", {uv1}, 0x17, {uv3}},
        {"uv3 close", {uv3, uv4}, 0x18, {uv4}},
        {"uv4 open", {uv3}, 0x19, {uv4}},
        {"uv4 close", {uv4, white}, 0x1A, {white}},
        {"reset finish", {uv1}, 0x1C, {uv1}},
        {"reset start", {uv1}, 0x1E, {uv1}},
    };
    buildSettled();
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.title);
        for (const char* name : kLightButtons) {
            button(name)->setChecked(c.checkedBefore.contains(QString::fromLatin1(name)));
        }
        inject(c.status);
        EXPECT_EQ(checkedLights(), c.checkedAfter);
    }
    EXPECT_TRUE(s_debugMessages.isEmpty());
}

TEST_F(VarnuCaptureFrameTest, UnknownStatusBytesAreLoggedAndChangeNothing) {
    buildSettled();
    inject(0x0C);
    button("pushButton_UV302C")->setChecked(true);
    const bool powerOn = s_control->powerOn;
    const QtMessageHandler previous = qInstallMessageHandler(recordDebug);
    s_debugMessages.clear();
    for (int status : {0x14, 0x15, 0x16, 0x1B, 0x1D}) {
        SCOPED_TRACE(status);
        inject(status);
        EXPECT_EQ(checkedLights(), QStringList{QStringLiteral("pushButton_UV302C")});
        EXPECT_TRUE(button("pushButton_Power")->isChecked());
        EXPECT_TRUE(lightsEnabled(true));
        EXPECT_EQ(s_control->powerOn, powerOn);
    }
    // The first is logged at once, the other four within a second as one
    // line with their count.
    QTest::qWait(1200);
    qInstallMessageHandler(previous);
    EXPECT_EQ(s_debugMessages.filter(QStringLiteral("Unknow VarnuDataBit.")),
              (QStringList{QStringLiteral("Unknow VarnuDataBit."),
                           QStringLiteral("Unknow VarnuDataBit. (4 bytes)")}));
    EXPECT_EQ(rawSent(1).size(), 1);
}

TEST_F(VarnuCaptureFrameTest, PowerButtonSendsTheToggleAndFollowsTheInstrument) {
    buildSettled();
    QTest::mouseClick(button("pushButton_Power"), Qt::LeftButton);
    EXPECT_TRUE(s_control->powerOn);
    ASSERT_TRUE(waitUntil(
        [] { return s_sim->state(QStringLiteral("power")) == QLatin1String("1"); }, 3000));
    settle();
    EXPECT_TRUE(button("pushButton_Power")->isChecked());
    EXPECT_TRUE(lightsEnabled(true));

    QTest::mouseClick(button("pushButton_UV302O"), Qt::LeftButton);
    QTest::mouseClick(button("pushButton_Power"), Qt::LeftButton);
    EXPECT_FALSE(s_control->powerOn);
    EXPECT_TRUE(lightsEnabled(false));
    EXPECT_TRUE(checkedLights().isEmpty());
    ASSERT_TRUE(waitUntil(
        [] { return s_sim->state(QStringLiteral("power")) == QLatin1String("0"); }, 3000));
    settle();
    EXPECT_FALSE(button("pushButton_Power")->isChecked());
    EXPECT_EQ(rawSent(4), (QList<QByteArray>{QByteArray(1, '\x1D'), QByteArray(1, '\x02'),
                                             QByteArray(1, '\x03'), QByteArray(1, '\x02')}));
}

TEST_F(VarnuCaptureFrameTest, LampButtonsSendOneToggleForOnAndForOff) {
    const std::pair<const char*, char> lamps[] = {{"pushButton_WhiteLight", 0x05},
                                                  {"pushButton_UV302C", 0x04},
                                                  {"pushButton_UV302O", 0x03},
                                                  {"pushButton_UV254", 0x15},
                                                  {"pushButton_UV365", 0x16}};
    buildSettled();
    QTest::mouseClick(button("pushButton_Power"), Qt::LeftButton);
    settle();
    // A lamp that shows lit before the clicks: the first click unchecks it.
    button("pushButton_UV365")->setChecked(true);
    int sent = 2;
    for (const auto& lamp : lamps) {
        SCOPED_TRACE(lamp.first);
        QTest::mouseClick(button(lamp.first), Qt::LeftButton);
        EXPECT_EQ(checkedLights(), QStringList{QString::fromLatin1(lamp.first)});
        ++sent;
        EXPECT_EQ(rawSent(sent).value(sent - 1), QByteArray(1, lamp.second));
        settle();
        EXPECT_EQ(checkedLights(), QStringList{QString::fromLatin1(lamp.first)});

        QTest::mouseClick(button(lamp.first), Qt::LeftButton);
        ++sent;
        EXPECT_EQ(rawSent(sent).value(sent - 1), QByteArray(1, lamp.second));
        settle();
        EXPECT_TRUE(checkedLights().isEmpty());
    }
    EXPECT_EQ(s_sim->state(QStringLiteral("light")), QStringLiteral("none"));
}

TEST_F(VarnuCaptureFrameTest, LensButtonsSendTheirMotionOnPressAndStopOnRelease) {
    const std::pair<const char*, char> lens[] = {
        {"pushButton_FocusIn", 0x08}, {"pushButton_FocusOut", 0x09}, {"pushButton_ZoomIn", 0x06},
        {"pushButton_ZoomOut", 0x07}, {"pushButton_IrisIn", 0x0A},   {"pushButton_IrisOut", 0x0B}};
    buildSettled();
    int sent = 1;
    for (const auto& motion : lens) {
        SCOPED_TRACE(motion.first);
        QTest::mousePress(button(motion.first), Qt::LeftButton);
        sent += 1;
        QTest::qWait(300);
        const QList<QByteArray> pressed = rawSent(sent);
        EXPECT_EQ(pressed.size(), sent);
        EXPECT_EQ(pressed.value(sent - 1), QByteArray(1, motion.second));
        QTest::mouseRelease(button(motion.first), Qt::LeftButton);
        sent += 1;
        QTest::qWait(100);
        const QList<QByteArray> got = rawSent(sent);
        EXPECT_EQ(got.size(), sent);
        EXPECT_EQ(got.value(sent - 1), QByteArray(1, '\x14'));
    }
}

TEST_F(VarnuCaptureFrameTest, CameraButtonsEmitInOrderAndWriteTheirAuditRows) {
    buildSettled();
    QStringList events;
    VarnuCaptureFrame* panel = m_panel.get();
    QObject::connect(panel, &VarnuCaptureFrame::savePara, [&] {
        events << QStringLiteral("savePara");
        // What the settings panel stores when asked.
        ZdqCamSet& set = s_control->camOpt.zdqCurrentCamSet;
        set.Exposure = 300;
        set.Gain = 12;
        set.BrightNess = 40;
        set.Contrast = 55;
        set.Gamma = 100;
    });
    QObject::connect(panel, &VarnuCaptureFrame::sig_PreviewClick,
                     [&] { events << QStringLiteral("preview"); });
    QObject::connect(panel, &VarnuCaptureFrame::sig_CaptureClick,
                     [&] { events << QStringLiteral("capture"); });
    QObject::connect(panel, &VarnuCaptureFrame::sig_AccCaptureClick,
                     [&] { events << QStringLiteral("acc"); });
    QObject::connect(panel, &VarnuCaptureFrame::sig_AutoFocusClick,
                     [&] { events << QStringLiteral("af"); });
    QObject::connect(panel, &VarnuCaptureFrame::sig_AutoExposureClick,
                     [&] { events << QStringLiteral("ae"); });
    QObject::connect(panel, &VarnuCaptureFrame::sig_ShowToolFrame,
                     [&] { events << QStringLiteral("show"); });
    QObject::connect(panel, &VarnuCaptureFrame::sig_HideToolFrame,
                     [&] { events << QStringLiteral("hide"); });
    m_panel->show();
    for (const char* name : {"pushButton_Preview", "pushButton_AutoFocus",
                             "pushButton_AutoExposure", "pushButton_Capture",
                             "pushButton_AccCapture", "pushButton_Setting", "pushButton_Setting"}) {
        QTest::mouseClick(button(name), Qt::LeftButton);
    }
    EXPECT_EQ(events, (QStringList{"savePara", "preview", "af", "ae", "savePara", "capture",
                                   "savePara", "acc", "show", "hide"}));
    EXPECT_EQ(
        auditContents(0),
        (QStringList{"点击预览", "点击自动对焦", "点击自动曝光",
                     "点击采集: 曝光: 300 增益: 12 亮度: 40 对比: 55 Gamma: 100", "点击积分采集"}));
    EXPECT_EQ(auditContents(1),
              (QStringList{"Clicked PreView", "Click Autofocus", "Click Automatic Exposure",
                           "Click Capture: Exposure: 300 Gain: 12 Brightness: 40 Contrast: 55 "
                           "Gamma: 100",
                           "Click AccCapture"}));
    EXPECT_EQ(rawSent(1).size(), 1);
}

TEST_F(VarnuCaptureFrameTest, ARefusedReCheckSendsNothingAndWritesNoRow) {
    buildSettled();
    m_panel->show();
    s_control->mainWindowShown = true;
    s_station->setUserOption(QStringLiteral("isCheckLogin"), 0);
    int emitted = 0;
    QObject::connect(m_panel.get(), &VarnuCaptureFrame::savePara, [&] { ++emitted; });
    QObject::connect(m_panel.get(), &VarnuCaptureFrame::sig_CaptureClick, [&] { ++emitted; });
    QObject::connect(m_panel.get(), &VarnuCaptureFrame::sig_AccCaptureClick, [&] { ++emitted; });
    for (const char* name : {"pushButton_Capture", "pushButton_AccCapture"}) {
        SCOPED_TRACE(name);
        ModalDriver driver;
        driver.onDialog([](QDialog* dialog) { dialog->reject(); });
        QTest::mouseClick(button(name), Qt::LeftButton);
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    s_station->setUserOption(QStringLiteral("isCheckLogin"), 1);
    EXPECT_EQ(emitted, 0);
    EXPECT_TRUE(auditContents(0).isEmpty());
    EXPECT_TRUE(auditContents(1).isEmpty());
}

TEST_F(VarnuCaptureFrameTest, CaptureRightsAreTakenOnEveryShow) {
    buildSettled();
    for (bool right : {false, true, false}) {
        SCOPED_TRACE(right);
        s_control->currentUser->authImgCap = right;
        m_panel->show();
        EXPECT_EQ(button("pushButton_Capture")->isEnabled(), right);
        EXPECT_EQ(button("pushButton_AccCapture")->isEnabled(), right);
        m_panel->hide();
    }
}

TEST_F(VarnuCaptureFrameTest, AccumulatedCaptureFollowsTheStoredOptionAndTheRelay) {
    s_control->camOpt.zdqCurrentCamSet.SignalAccOpen = false;
    EXPECT_TRUE(s_control->camOpt.saveCamOpt(ZdqCurrent_SignalAccOpen));
    s_control->camOpt.zdqCurrentCamSet.SignalAccOpen = true;
    buildSettled();
    EXPECT_TRUE(button("pushButton_AccCapture")->isHidden());
    m_panel->updateButtonHandle(true);
    EXPECT_FALSE(button("pushButton_AccCapture")->isHidden());
    m_panel->updateButtonHandle(false);
    EXPECT_TRUE(button("pushButton_AccCapture")->isHidden());
}

TEST_F(VarnuCaptureFrameTest, LampCaptionsByModelSurviveALanguageChange) {
    struct ModelCase {
        int machine;
        QString first;
        QString second;
        bool fourLamps;
    };
    const ModelCase cases[] = {{0, "UV302C", "UV302O", true},
                               {1, "UV302C", "UV302O", true},
                               {2, "Blue-C", "Blue-O", false}};
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(c.machine);
        s_control->machineName = c.machine;
        buildSettled();
        for (int round = 0; round < 2; ++round) {
            EXPECT_EQ(label("label_UV302C")->text(), c.first);
            EXPECT_EQ(label("label_UV302O")->text(), c.second);
            for (const char* name : {"pushButton_UV254", "pushButton_UV365"}) {
                EXPECT_EQ(button(name)->isHidden(), !c.fourLamps);
            }
            for (const char* name : {"label_UV254", "label_UV365"}) {
                EXPECT_EQ(label(name)->isHidden(), !c.fourLamps);
            }
            QEvent change(QEvent::LanguageChange);
            QCoreApplication::sendEvent(m_panel.get(), &change);
        }
        m_panel.reset();
        ASSERT_TRUE(s_sim->command(QStringLiteral("clear")).isEmpty());
    }
}

TEST_F(VarnuCaptureFrameTest, ChineseShowsTranslatedTextsAndKeepsTheModelCaptions) {
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(QStringLiteral(":/en_CN.qm")));
    for (int machine : {0, 2}) {
        SCOPED_TRACE(machine);
        s_control->machineName = machine;
        buildSettled();
        ASSERT_TRUE(QCoreApplication::installTranslator(&chinese));
        QCoreApplication::processEvents();
        EXPECT_EQ(m_panel->findChild<QGroupBox*>(QStringLiteral("groupBox_Lens"))->title(),
                  QStringLiteral("镜头"));
        EXPECT_EQ(label("label_Power")->text(), QStringLiteral("电源"));
        EXPECT_EQ(label("label_UV302C")->text(),
                  machine == 2 ? QStringLiteral("蓝光-C") : QStringLiteral("UV302C"));
        EXPECT_EQ(label("label_UV302O")->text(),
                  machine == 2 ? QStringLiteral("蓝光-O") : QStringLiteral("UV302O"));
        EXPECT_EQ(button("pushButton_UV254")->isHidden(), machine == 2);
        QCoreApplication::removeTranslator(&chinese);
        QCoreApplication::processEvents();
        EXPECT_EQ(label("label_Power")->text(), QStringLiteral("Power"));
        m_panel.reset();
        ASSERT_TRUE(s_sim->command(QStringLiteral("clear")).isEmpty());
    }
}

TEST_F(VarnuCaptureFrameTest, TimeoutShutDownUnchecksPowerAndDisablesTheLights) {
    buildSettled();
    inject(0x0C);
    inject(0x10);
    ASSERT_TRUE(button("pushButton_Power")->isChecked());
    emit s_control->timeoutShutDown();
    EXPECT_FALSE(button("pushButton_Power")->isChecked());
    EXPECT_TRUE(lightsEnabled(false));
    EXPECT_TRUE(checkedLights().isEmpty());
    EXPECT_EQ(rawSent(1).size(), 1);
}

TEST_F(VarnuCaptureFrameTest, ResettingThePanelSwitchesPowerAndSettingsOff) {
    buildSettled();
    int hideSignals = 0;
    QObject::connect(m_panel.get(), &VarnuCaptureFrame::sig_HideToolFrame, [&] { ++hideSignals; });
    button("pushButton_Setting")->setChecked(true);
    QTest::mouseClick(button("pushButton_Power"), Qt::LeftButton);
    settle();
    m_panel->resetFunsFrameHandle();
    EXPECT_FALSE(button("pushButton_Setting")->isChecked());
    EXPECT_EQ(hideSignals, 0);
    EXPECT_FALSE(button("pushButton_Power")->isChecked());
    EXPECT_FALSE(s_control->powerOn);
    EXPECT_TRUE(lightsEnabled(false));
    EXPECT_EQ(rawSent(3), (QList<QByteArray>{QByteArray(1, '\x1D'), QByteArray(1, '\x02'),
                                             QByteArray(1, '\x02')}));
    // Without power on, a reset sends nothing.
    m_panel->resetFunsFrameHandle();
    settle();
    EXPECT_EQ(rawSent(3).size(), 3);
}

TEST_F(VarnuCaptureFrameTest, ThePageHoldsThePanelInItsFunctionColumn) {
    VarnuFrame page;
    auto* panel = page.findChild<VarnuCaptureFrame*>(QStringLiteral("frame_VarnuCapture"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget()->objectName(), QStringLiteral("frame_Funcs"));
    settle();
    // The image frame's reset reaches the panel.
    auto* setting = panel->findChild<QPushButton*>(QStringLiteral("pushButton_Setting"));
    setting->setChecked(true);
    emit page.imageFrame()->sig_ResetFuncsFrame();
    EXPECT_FALSE(setting->isChecked());
}

struct FormRow {
    const char* name;
    const char* className;
    const char* parent;
    QRect geometry;
    bool checkable;
    const char* text;
};

TEST_F(VarnuCaptureFrameTest, FormBuildsTheSpecifiedWidgets) {
    const FormRow rows[] = {
        {"groupBox_Camera", "QGroupBox", "VarnuCaptureFrame", {30, 30, 210, 80}, false, "Camera"},
        {"pushButton_Preview", "QPushButton", "groupBox_Camera", {10, 20, 90, 50}, false, ""},
        {"pushButton_Setting", "QPushButton", "groupBox_Camera", {110, 20, 90, 50}, true, ""},
        {"groupBox_Light", "QGroupBox", "VarnuCaptureFrame", {30, 290, 210, 160}, false, "Light"},
        {"pushButton_Power", "QPushButton", "groupBox_Light", {10, 30, 60, 40}, true, ""},
        {"pushButton_WhiteLight", "QPushButton", "groupBox_Light", {75, 30, 60, 40}, true, ""},
        {"pushButton_UV302C", "QPushButton", "groupBox_Light", {10, 90, 60, 40}, true, ""},
        {"label_Power", "QLabel", "groupBox_Light", {10, 70, 60, 20}, false, "Power"},
        {"label_White", "QLabel", "groupBox_Light", {75, 70, 60, 20}, false, "White"},
        {"label_UV302C", "QLabel", "groupBox_Light", {5, 130, 70, 20}, false, "UV302C"},
        {"pushButton_UV365", "QPushButton", "groupBox_Light", {140, 90, 60, 40}, true, ""},
        {"label_UV365", "QLabel", "groupBox_Light", {140, 130, 60, 20}, false, "UV365"},
        {"pushButton_UV302O", "QPushButton", "groupBox_Light", {75, 90, 60, 40}, true, ""},
        {"label_UV302O", "QLabel", "groupBox_Light", {70, 130, 70, 20}, false, "UV302O"},
        {"pushButton_UV254", "QPushButton", "groupBox_Light", {140, 30, 60, 40}, true, ""},
        {"label_UV254", "QLabel", "groupBox_Light", {140, 70, 60, 20}, false, "UV254"},
        {"groupBox_Capture",
         "QGroupBox",
         "VarnuCaptureFrame",
         {30, 550, 210, 80},
         false,
         "Capture"},
        {"pushButton_Capture", "QPushButton", "groupBox_Capture", {10, 20, 90, 50}, false, ""},
        {"pushButton_AccCapture", "QPushButton", "groupBox_Capture", {110, 20, 90, 50}, false, ""},
        {"label_CurMode", "QLabel", "VarnuCaptureFrame", {30, 0, 210, 30}, false, "Varnu"},
        {"groupBox_Lens", "QGroupBox", "VarnuCaptureFrame", {30, 120, 210, 160}, false, "Lens"},
        {"pushButton_FocusIn", "QPushButton", "groupBox_Lens", {10, 60, 60, 40}, false, ""},
        {"pushButton_FocusOut", "QPushButton", "groupBox_Lens", {10, 110, 60, 40}, false, ""},
        {"pushButton_ZoomOut", "QPushButton", "groupBox_Lens", {75, 110, 60, 40}, false, ""},
        {"pushButton_ZoomIn", "QPushButton", "groupBox_Lens", {75, 60, 60, 40}, false, ""},
        {"pushButton_IrisOut", "QPushButton", "groupBox_Lens", {140, 110, 60, 40}, false, ""},
        {"pushButton_IrisIn", "QPushButton", "groupBox_Lens", {140, 60, 60, 40}, false, ""},
        {"label_Focus", "QLabel", "groupBox_Lens", {10, 20, 60, 40}, false, "Focus"},
        {"label_Iris", "QLabel", "groupBox_Lens", {140, 20, 60, 40}, false, "Iris"},
        {"label_Zoom", "QLabel", "groupBox_Lens", {75, 20, 60, 40}, false, "Zoom"},
        {"groupBox_AutoMode",
         "QGroupBox",
         "VarnuCaptureFrame",
         {30, 460, 210, 80},
         false,
         "Auto Mode"},
        {"pushButton_AutoFocus", "QPushButton", "groupBox_AutoMode", {10, 20, 90, 50}, false, ""},
        {"pushButton_AutoExposure",
         "QPushButton",
         "groupBox_AutoMode",
         {110, 20, 90, 50},
         false,
         ""},
    };
    buildSettled();
    EXPECT_EQ(m_panel->objectName(), QStringLiteral("VarnuCaptureFrame"));
    EXPECT_EQ(m_panel->windowTitle(), QStringLiteral("Frame"));
    // Direct children in creation order: the form's top-level widgets.
    QStringList created;
    for (QObject* child : m_panel->findChildren<QWidget*>()) {
        created << child->objectName();
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
        EXPECT_EQ(widget->geometry(), row.geometry);
        if (auto* push = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(push->isCheckable(), row.checkable);
            EXPECT_TRUE(push->text().isEmpty());
            EXPECT_TRUE(push->icon().isNull());
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(box->title(), QString::fromLatin1(row.text));
        } else if (auto* text = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(text->text(), QString::fromLatin1(row.text));
            EXPECT_EQ(text->alignment(), Qt::AlignCenter);
        }
    }
    const QStringList tabOrder = {
        "pushButton_Preview",      "pushButton_Setting", "pushButton_FocusIn",
        "pushButton_ZoomIn",       "pushButton_IrisIn",  "pushButton_FocusOut",
        "pushButton_ZoomOut",      "pushButton_IrisOut", "pushButton_Power",
        "pushButton_WhiteLight",   "pushButton_UV254",   "pushButton_UV302C",
        "pushButton_UV302O",       "pushButton_UV365",   "pushButton_AutoFocus",
        "pushButton_AutoExposure", "pushButton_Capture", "pushButton_AccCapture"};
    // The focus chain from the first button, without the widgets that take
    // no tab focus (labels, group boxes).
    QStringList chain;
    QWidget* at = button("pushButton_Preview");
    do {
        if (at->focusPolicy() & Qt::TabFocus) {
            chain << at->objectName();
        }
        at = at->nextInFocusChain();
    } while (at != button("pushButton_Preview") && chain.size() < 40);
    EXPECT_EQ(chain, tabOrder);
}

}  // namespace
