#include "FileFaults.h"
#include "ModalDriver.h"
#include "TestStation.h"
#include "controller/CI_MainControl.h"
#include "serial/ASyncSerialPortThread.h"
#include "settings/SettingsNotSaved.h"
#include "startup/LogHandler.h"

#include <CamCore_control.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

namespace {

// The controller is one per process; its stores live in the station that was
// current when it was created. Settings are read from the current station at
// every call, so single tests may switch to a station of their own.
class ControllerTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        qInstallMessageHandler(outputMessage);
        s_station = new TestStation("controller");
        s_station->writeMachineIni("320");
        s_control = CI_MainControl::getInstance();
    }
    static void TearDownTestSuite() { qInstallMessageHandler(nullptr); }

    void SetUp() override { m_logMark = s_station->todaysLog().size(); }
    // What the log got since the test began.
    QString newLog() const { return s_station->todaysLog().mid(m_logMark); }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    int m_logMark = 0;
};

TestStation* ControllerTest::s_station = nullptr;

void waitMs(int ms) {
    QTest::qWait(ms);
}
CI_MainControl* ControllerTest::s_control = nullptr;

TEST_F(ControllerTest, StatusBytesAreDecodedOneByOneInOrder) {
    struct Case {
        QByteArray message;
        QList<int> emitted;
        QStringList logged;
    };
    const Case cases[] = {
        {QByteArray("\x0C\x0D", 2), {0x0C, 0x0D}, {"PowerOpen.", "PowerClose."}},
        {QByteArray("\x0E\x0F", 2), {0x0E, 0x0F}, {"WhiteLightOpen.", "WhiteLightClose."}},
        {QByteArray("\x17", 1), {0x17}, {"UV3Open."}},
        {QByteArray("\x1C\x1E", 2), {0x1C, 0x1E}, {"ResetFinish.", "ResetStart."}},
        // Bytes that are no status are counted into the noise line (below).
        {QByteArray("\x0C\xA1\x0D", 3),
         {0x0C, 0x0D},
         {"PowerOpen.", "PowerClose.", "Unknow VarnuDataBit."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toHex().toStdString());
        const int mark = s_station->todaysLog().size();
        QSignalSpy spy(s_control, &CI_MainControl::changeBtnStaus);
        s_control->readDataHandle(c.message);
        ASSERT_EQ(spy.count(), c.emitted.size());
        for (int i = 0; i < spy.count(); ++i) {
            EXPECT_EQ(static_cast<int>(qvariant_cast<VarnuDataBit>(spy.at(i).at(0))),
                      c.emitted.at(i));
        }
        const QStringList lines = s_station->todaysLog().mid(mark).split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), c.logged.size());
        for (int i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(lines.at(i).endsWith("    " + c.logged.at(i))) << lines.at(i).toStdString();
        }
    }
}

// When each line came, counted from the first delivery of noise.
QList<qint64> s_noiseLineTimes;
QStringList s_noiseLines;
QElapsedTimer s_noiseClock;
QtMessageHandler s_logHandler = nullptr;

void recordNoiseLine(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("Unknow VarnuDataBit.")) {
        s_noiseLineTimes << s_noiseClock.elapsed();
        s_noiseLines << text;
    }
    s_logHandler(type, context, text);
}

TEST_F(ControllerTest, NoiseOnTheLineIsLoggedOnceASecondWithItsCountAndReachesNoPage) {
    // A second of quiet ends any burst of an earlier test.
    waitMs(2100);
    s_noiseLineTimes.clear();
    s_noiseLines.clear();
    s_logHandler = qInstallMessageHandler(recordNoiseLine);
    QSignalSpy spy(s_control, &CI_MainControl::changeBtnStaus);
    const int logBefore = s_station->todaysLog().size();

    // 100 kB of noise, 100 bytes every 5 ms for 5 s, with one status in it.
    const QByteArray noise(100, '\xA5');
    int sent = 0;
    s_noiseClock.start();
    while (s_noiseClock.elapsed() < 5000) {
        s_control->readDataHandle(sent == 100 * 200 ? QByteArray(1, '\x0E') + noise : noise);
        sent += noise.size();
        waitMs(5);
    }
    const qint64 noiseEnded = s_noiseClock.elapsed();
    waitMs(2100);
    qInstallMessageHandler(s_logHandler);

    ASSERT_EQ(spy.count(), 1) << "noise reaches no page";
    EXPECT_EQ(qvariant_cast<VarnuDataBit>(spy.at(0).at(0)), WhiteLightOpen);
    ASSERT_GE(s_noiseLines.size(), 2);
    EXPECT_EQ(s_noiseLines.first(), "Unknow VarnuDataBit. (100 bytes)");
    EXPECT_LT(s_noiseLineTimes.first(), 100);
    qint64 counted = 0;
    for (int i = 0; i < s_noiseLines.size(); ++i) {
        SCOPED_TRACE(s_noiseLines.at(i).toStdString());
        const QRegularExpressionMatch m =
            QRegularExpression("^Unknow VarnuDataBit\\. \\((\\d+) bytes\\)$")
                .match(s_noiseLines.at(i));
        ASSERT_TRUE(m.hasMatch());
        counted += m.captured(1).toLongLong();
        if (i > 0) {
            EXPECT_GE(s_noiseLineTimes.at(i) - s_noiseLineTimes.at(i - 1), 950);
        }
    }
    EXPECT_EQ(counted, sent) << "every byte is counted once";
    // The last count comes within a second of the noise's end.
    EXPECT_LE(s_noiseLineTimes.last(), noiseEnded + 1100);
    EXPECT_LE(s_noiseLines.size(), 7);
    EXPECT_LT(s_station->todaysLog().size() - logBefore, 2000);
}

TEST_F(ControllerTest, MachineModelAndExperimentTypeFromMachineIni) {
    TestStation station("controller-machine");
    const struct {
        QVariant name;
        int model;
    } models[] = {{"320", 0}, {"520", 1}, {"550", 2}, {"330", 3}, {"Varnu_320", 3}, {{}, 3}};
    for (const auto& m : models) {
        QFile::remove(station.filePath("machine.ini"));
        if (m.name.isValid()) {
            station.writeMachineIni(m.name.toString());
        }
        EXPECT_EQ(CI_MainControl::readMachineName(), m.model) << m.name.toString().toStdString();
    }
    const struct {
        QVariant value;
        int type;
    } types[] = {{{}, 0}, {"0", 0}, {"1", 1}, {"2", 2}, {"3", -1}, {"-1", -1}, {"abc", -1}};
    for (const auto& t : types) {
        station.writeMachineIni("520", t.value);
        if (!t.value.isValid()) {
            QSettings(station.filePath("machine.ini"), QSettings::IniFormat)
                .remove("Machine/ExperimentType");
        }
        EXPECT_EQ(CI_MainControl::readExperimentType(), t.type) << t.value.toString().toStdString();
    }
}

TEST_F(ControllerTest, FirstRunDefaultsAreWrittenOnce) {
    TestStation station("controller-firstrun");
    station.writeMachineIni("550");
    ASSERT_TRUE(s_control->initMachineName());
    EXPECT_EQ(s_control->machineName, 2);
    EXPECT_EQ(s_control->expType, 0);
    // The log goes to the current station as well.
    EXPECT_EQ(station.todaysLog().count("initVarnuPara."), 1);
    EXPECT_TRUE(station.todaysLog().contains("MachineName: \"Varnu_550\""));

    EXPECT_EQ(station.userOption("AlreadyRun").toString(), "true");
    EXPECT_EQ(station.userOption("comNum").toString(), "COM2");
    QSettings cam(station.filePath("Ini/camOption.ini"), QSettings::IniFormat);
    for (const char* group : {"ZdqDefaultCamSet", "ZdqCurrentCamSet"}) {
        const QString set = QString::fromLatin1(group);
        EXPECT_EQ(cam.value(set + "/Exposure").toInt(), 300);
        EXPECT_EQ(cam.value(set + "/Gain").toInt(), 8);
        EXPECT_EQ(cam.value(set + "/Contrast").toInt(), 10);
        EXPECT_EQ(cam.value(set + "/BrightNess").toInt(), 25);
        EXPECT_EQ(cam.value(set + "/SignalAccNum").toInt(), 2);
        EXPECT_EQ(cam.value(set + "/SignalAccOpen").toString(), "true");
        EXPECT_EQ(cam.value(set + "/Mirror").toString(), "false");
    }
    // The cooled camera and the estimation parameters get values too.
    EXPECT_EQ(cam.value("TucsenCurrentCamSet/GainCap").toInt(), 585);
    EXPECT_EQ(cam.value("TucsenDefaultCamSet/Depth").toInt(), 1);
    EXPECT_DOUBLE_EQ(station.userOption("para1").toDouble(), 1.04);

    // The user changes things; the next start keeps every one of them.
    station.setUserOption("comNum", "COM7");
    station.setUserOption("para2", 0.9);
    {
        QSettings edit(station.filePath("Ini/camOption.ini"), QSettings::IniFormat);
        edit.setValue("ZdqCurrentCamSet/Exposure", 123);
        edit.setValue("TucsenCurrentCamSet/GainPre", 77);
    }
    ASSERT_TRUE(s_control->initMachineName());
    EXPECT_EQ(station.todaysLog().count("initVarnuPara."), 1);
    EXPECT_EQ(station.userOption("comNum").toString(), "COM7");
    EXPECT_DOUBLE_EQ(station.userOption("para2").toDouble(), 0.9);
    QSettings after(station.filePath("Ini/camOption.ini"), QSettings::IniFormat);
    EXPECT_EQ(after.value("ZdqCurrentCamSet/Exposure").toInt(), 123);
    EXPECT_EQ(after.value("TucsenCurrentCamSet/GainPre").toInt(), 77);
}

// First-start defaults that cannot be stored are told, and the start is not
// marked done: the next start, with the folder writable again, stores them.
TEST_F(ControllerTest, FirstRunDefaultsThatCannotBeStoredAreTold) {
    TestStation station("controller-firstrun-unwritable");
    station.writeMachineIni("320");
    const QString folder = station.filePath("Ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    if (!makeUnwritable(folder)) {
        makeWritable(folder);
        GTEST_SKIP() << "this file system cannot make a folder unwritable";
    }
    QStringList told;
    {
        ModalDriver driver;
        driver.answerMessageBox();
        const bool done = s_control->initMachineName();
        makeWritable(folder);
        EXPECT_TRUE(done);
        told = driver.messages();
    }
    const QString warning =
        QCoreApplication::translate("SettingsNotSaved", "Tips") + "|" + settingsNotSavedText();
    EXPECT_EQ(told, QStringList{warning});
    EXPECT_FALSE(QFileInfo::exists(station.filePath("Ini/userOption.ini")));

    {
        ModalDriver driver;
        driver.answerMessageBox();  // none expected; answered should one come
        ASSERT_TRUE(s_control->initMachineName());
        EXPECT_TRUE(driver.messages().isEmpty());
    }
    EXPECT_EQ(station.userOption("AlreadyRun").toString(), "true");
    EXPECT_EQ(station.userOption("comNum").toString(), "COM2");
    EXPECT_EQ(station.todaysLog().count("initVarnuPara."), 2);
}

TEST_F(ControllerTest, ExperimentTypeOfTheStationSelectsTheDevicePath) {
    TestStation station("controller-exptype");
    station.writeMachineIni("320", 1);
    ASSERT_TRUE(s_control->initMachineName());
    EXPECT_EQ(s_control->expType, 1);
    // Without a cooled camera the western-blot path ends before the serial
    // port, after the camera's box.
    camsim_reset("devices=0");
    ModalDriver driver;
    driver.answerMessageBox();
    EXPECT_FALSE(s_control->initDevice());
    EXPECT_EQ(driver.messages(), QStringList{"Warning|Camera connection error!"});
    EXPECT_TRUE(station.todaysLog().contains("initDevice."));
    EXPECT_TRUE(station.todaysLog().contains("initTucsenCam failed."));
    camsim_reset(nullptr);
    station.writeMachineIni("320", 0);
    ASSERT_TRUE(s_control->initMachineName());
    EXPECT_EQ(s_control->expType, 0);
}

TEST_F(ControllerTest, SerialPortIsFoundByItsExactName) {
    TestStation station("controller-serial");
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    const QString path = QString::fromLocal8Bit(name);

    for (const QString& wrong : {QString("COM99"), path.toUpper(), QString("ttyS999")}) {
        SCOPED_TRACE(wrong.toStdString());
        station.setUserOption("comNum", wrong);
        ModalDriver driver;
        driver.answerMessageBox();
        EXPECT_FALSE(s_control->initSerialPort());
        EXPECT_EQ(driver.messages(), QStringList{"Warning|SerialPort connection error!"});
        // The port looked for: under the box's text and in the log.
        EXPECT_EQ(driver.informativeTexts(), QStringList{wrong});
        EXPECT_TRUE(station.todaysLog().contains(
            QStringLiteral("    initSerialPort: no serial port named \"%1\".\n").arg(wrong)));
    }
    // Through the gel/UV device path: the same box, then the failure is logged.
    s_control->expType = 0;
    {
        ModalDriver driver;
        driver.answerMessageBox();
        EXPECT_FALSE(s_control->initDevice());
        EXPECT_EQ(driver.messages(), QStringList{"Warning|SerialPort connection error!"});
        EXPECT_TRUE(station.todaysLog().contains("    initSerialPort failed.\n"));
    }

    station.setUserOption("comNum", path);
    ModalDriver driver;
    EXPECT_TRUE(s_control->initSerialPort());
    EXPECT_TRUE(s_control->serialConnected);
    EXPECT_TRUE(driver.messages().isEmpty());
    EXPECT_TRUE(station.todaysLog().contains("ConnectToPort: \"" + path + "\""));

    // The link runs: a status byte the controller sends reaches the pages
    // through the controller's signal, on the GUI thread.
    ASSERT_TRUE(s_control->serialPortThread->isRunning());
    QSignalSpy spy(s_control, &CI_MainControl::changeBtnStaus);
    const char status[] = {0x0E, 0x11};
    ASSERT_EQ(::write(master, status, sizeof(status)), 2);
    for (int i = 0; i < 100 && spy.count() < 2; ++i) {
        spy.wait(50);
    }
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(qvariant_cast<VarnuDataBit>(spy.at(0).at(0)), WhiteLightOpen);
    EXPECT_EQ(qvariant_cast<VarnuDataBit>(spy.at(1).at(0)), UV1Close);

    s_control->serialPortThread->closePort();
    EXPECT_TRUE(s_control->serialPortThread->wait(5000));
    ::close(master);
    ::close(slave);
}

// A user settings file that lost its contents (AlreadyRun gone) makes the
// next start a first start: its defaults fill only the keys that are
// missing, so the camera sets and the port a user saved stay.
TEST_F(ControllerTest, AFirstStartOverSavedSettingsFillsOnlyMissingKeys) {
    struct Case {
        const char* label;
        QByteArray userOptionIni;  // the whole file
        const char* comNum;        // expected afterwards
    };
    QByteArray garbage;
    for (int i = 0; i < 512; ++i) {
        garbage.append(static_cast<char>((i * 7919 + 13) % 251));
    }
    const Case cases[] = {
        {"empty", QByteArray(), "COM2"},
        {"garbage", garbage, "COM2"},
        {"flag lost", "[UserOption]\ncomNum=COM7\n", "COM7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TestStation station(QStringLiteral("controller-lost-") + c.label);
        station.writeMachineIni("320");
        {
            QSettings cam(station.filePath("Ini/camOption.ini"), QSettings::IniFormat);
            cam.setValue("ZdqCurrentCamSet/Exposure", 123);
            cam.setValue("ZdqCurrentCamSet/SignalAccOpen", false);
            cam.setValue("ZdqDefaultCamSet/Gain", 5);
            cam.setValue("TucsenCurrentCamSet/GainPre", 77);
        }
        {
            QFile ini(station.filePath("Ini/userOption.ini"));
            ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
            ini.write(c.userOptionIni);
        }
        ASSERT_TRUE(s_control->initMachineName());
        EXPECT_EQ(station.todaysLog().count("initVarnuPara."), 1);
        EXPECT_EQ(station.userOption("AlreadyRun").toString(), "true");
        EXPECT_EQ(station.userOption("comNum").toString(), c.comNum);
        QSettings cam(station.filePath("Ini/camOption.ini"), QSettings::IniFormat);
        EXPECT_EQ(cam.value("ZdqCurrentCamSet/Exposure").toInt(), 123);
        EXPECT_EQ(cam.value("ZdqCurrentCamSet/SignalAccOpen").toString(), "false");
        EXPECT_EQ(cam.value("ZdqDefaultCamSet/Gain").toInt(), 5);
        EXPECT_EQ(cam.value("TucsenCurrentCamSet/GainPre").toInt(), 77);
        // Keys the file did not hold get their defaults.
        EXPECT_EQ(cam.value("ZdqCurrentCamSet/Gain").toInt(), 8);
        EXPECT_EQ(cam.value("ZdqDefaultCamSet/Exposure").toInt(), 300);
        EXPECT_EQ(cam.value("ZdqCurrentCamSet/BrightNess").toInt(), 25);
        // The held sets are what the file holds.
        EXPECT_EQ(s_control->camOpt.zdqCurrentCamSet.Exposure, 123);
        EXPECT_EQ(s_control->camOpt.zdqDefaultCamSet.Gain, 5);
    }
}

TEST_F(ControllerTest, LanguageSwitchesTheTranslatorBothWays) {
    TestStation station("controller-language");
    s_control->changeLanguage(1);
    EXPECT_EQ(station.userOption("LanguageID").toInt(), 1);
    EXPECT_EQ(s_control->getLanguageID(), 1);
    EXPECT_EQ(QCoreApplication::translate("LoginDialog", "Login"), "Login");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    EXPECT_TRUE(station.todaysLog().contains("removeTranslator."));

    s_control->changeLanguage(0);
    EXPECT_EQ(s_control->getLanguageID(), 0);
    EXPECT_EQ(QCoreApplication::translate("LoginDialog", "Login"), QStringLiteral("登录"));
    EXPECT_EQ(QCoreApplication::translate("CI_MainControl", "SerialPort connection error!"),
              QStringLiteral("串口连接错误！"));
    // Qt's own texts: the buttons of message boxes and the file dialog.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("文件名称(&N)："));
    EXPECT_TRUE(station.todaysLog().contains("installTranslator."));
    s_control->changeLanguage(1);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

// A language that cannot be stored switches nothing: neither the texts
// (the translator) nor what the pages read to choose their pictures.
TEST_F(ControllerTest, ALanguageThatCannotBeSavedSwitchesNothing) {
    TestStation station("controller-language-unwritable");
    ASSERT_TRUE(s_control->changeLanguage(1));
    const QString ini = station.filePath("Ini/userOption.ini");
    if (!makeUnwritable(ini)) {
        makeWritable(ini);
        GTEST_SKIP() << "this file system cannot make a file unwritable";
    }
    const bool switched = s_control->changeLanguage(0);
    makeWritable(ini);
    EXPECT_FALSE(switched);
    EXPECT_EQ(s_control->userOpt.LanguageID, 1);
    EXPECT_EQ(s_control->getLanguageID(), 1);
    EXPECT_EQ(QCoreApplication::translate("LoginDialog", "Login"), "Login");
    const QString log = station.todaysLog();
    EXPECT_TRUE(log.contains("Settings not saved, " + ini + " cannot be written: "))
        << log.toStdString();
    EXPECT_TRUE(log.contains("LanguageID not saved, the language stays 1")) << log.toStdString();
    EXPECT_FALSE(log.contains("installTranslator."));
}

TEST_F(ControllerTest, SerialErrorsAreLogged) {
    s_control->errorHandle(Err_OpenFail);
    s_control->errorHandle(Err_Unknow);
    EXPECT_TRUE(newLog().contains("    Err_OpenFail\n"));
    EXPECT_TRUE(newLog().contains("    Err_Unknow.\n"));
}

using ControllerDeathTest = ControllerTest;

TEST_F(ControllerDeathTest, ImpossibleValuesAreFatal) {
    qInstallMessageHandler(nullptr);
    TestStation station("controller-fatal", false);
    station.writeMachineIni("330");
    EXPECT_DEATH(s_control->initMachineName(), "Unknow MachineName\\.");
    station.writeMachineIni("320", 5);
    EXPECT_DEATH(s_control->initMachineName(), "Unknow ExperimentType\\.");
    EXPECT_DEATH(s_control->errorHandle(static_cast<Serial_ErrorCode>(2)),
                 "Unknow Serial_ErrorCode\\.");
}

// An impossible language id ends the program but is never saved, so the
// next start is not stuck on it.
TEST_F(ControllerDeathTest, AnImpossibleLanguageIsNotSaved) {
    qInstallMessageHandler(nullptr);
    TestStation station("controller-badlanguage", false);
    station.setUserOption("LanguageID", 1);
    EXPECT_DEATH(s_control->changeLanguage(5), "Unknow LanguageID\\.");
    EXPECT_EQ(station.userOption("LanguageID").toInt(), 1);
}

}  // namespace
