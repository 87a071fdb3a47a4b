// The ways the real program ends at start-up, run as a separate process.

#include "FileFaults.h"
#include "ProgramRun.h"
#include "TestStation.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <QUuid>

#include <memory>

#include <sys/stat.h>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(VARNU_PROGRAM_PATH);

QProcessEnvironment programEnvironment(const TestStation& station, const QString& instance) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VARNU_HOME", station.path());
    env.insert("VARNU_INSTANCE_NAME", instance);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LC_ALL", "C.UTF-8");
    return env;
}

QString uniqueInstance() {
    return QStringLiteral("varnu-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

// True once the station's log holds `text` (at least `times` times), within `ms`.
bool waitForLog(const TestStation& station, const QString& text, int ms, int times = 1) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (station.todaysLog().count(text) >= times) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

struct FatalCase {
    const char* label;
    const char* machineName;  // nullptr: no machine.ini
    int languageId;
    const char* fatalText;
    bool translatorInstalled;
};

class StartupFatal : public testing::TestWithParam<FatalCase> {};

TEST_P(StartupFatal, EndsAbnormallyAfterTheFatalLine) {
    const FatalCase& c = GetParam();
    TestStation station(c.label);
    if (c.machineName != nullptr) {
        station.writeMachineIni(c.machineName);
    }
    station.setUserOption("LanguageID", c.languageId);
    const ProgramResult r =
        runProgram(kProgram, {}, programEnvironment(station, uniqueInstance()), 30000);
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(r.crashed);
    const QString log = station.todaysLog();
    const QStringList lines = log.split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().startsWith("[Fatal]")) << lines.last().toStdString();
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("    ") + c.fatalText))
        << lines.last().toStdString();
    EXPECT_EQ(log.contains("installTranslator."), c.translatorInstalled);
    EXPECT_TRUE(log.contains("MainController Init."));
}

INSTANTIATE_TEST_SUITE_P(
    Endings, StartupFatal,
    testing::Values(FatalCase{"no-machine-ini", nullptr, 0, "Unknow MachineName.", true},
                    FatalCase{"machine-330", "330", 1, "Unknow MachineName.", false},
                    FatalCase{"language-7", "320", 7, "Unknow LanguageID.", false}));

TEST(Startup, UnknownModelIsNamedInTheModelLine) {
    TestStation station("model-line");
    station.writeMachineIni("330");
    runProgram(kProgram, {}, programEnvironment(station, uniqueInstance()), 30000);
    const QString log = station.todaysLog();
    EXPECT_TRUE(log.contains("设备初始化开始"));
    EXPECT_TRUE(log.contains("MachineName: \"Unknow MachineName\""));
    EXPECT_FALSE(log.contains("设备初始化完成"));
}

TEST(Startup, SecondInstanceEndsWithMinusOne) {
    const QString instance = uniqueInstance();
    TestStation first("instance-first");
    first.writeMachineIni("320");
    first.setUserOption("AlreadyRun", true);
    first.setUserOption("comNum", "COM99");  // waits in the serial warning box
    RunningProgram running(kProgram, {}, programEnvironment(first, instance));
    ASSERT_TRUE(running.started());
    ASSERT_TRUE(waitForLog(first, "initDevice.", 20000));

    TestStation second("instance-second");
    second.writeMachineIni("320");
    const ProgramResult r = runProgram(kProgram, {}, programEnvironment(second, instance), 30000);
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 255);  // -1
    const QStringList lines = second.todaysLog().split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().startsWith("[Debug]"));
    EXPECT_TRUE(lines.last().endsWith("    program already start."));
    EXPECT_FALSE(second.todaysLog().contains("MainController Init."));
    EXPECT_TRUE(running.isRunning());

    // Once the first instance has ended, a new start gets past the test (and
    // here ends on its missing model instead).
    running.stop();
    TestStation third("instance-third");
    const ProgramResult again =
        runProgram(kProgram, {}, programEnvironment(third, instance), 30000);
    EXPECT_TRUE(again.crashed);
    EXPECT_FALSE(third.todaysLog().contains("program already start."));
    EXPECT_TRUE(third.todaysLog().contains("Unknow MachineName."));
}

// A store file that is not a database is left as it is and named in the log;
// the program then waits in the box that names it. An empty file is an empty
// store and is rebuilt: that start gets on to the devices.
struct StoreFileCase {
    const char* fileName;
    bool damaged;  // random bytes; else an empty file
};

class StartupStoreFile : public testing::TestWithParam<StoreFileCase> {};

TEST_P(StartupStoreFile, DamagedFileIsNamedAndLeftAsItIs) {
    const StoreFileCase& c = GetParam();
    TestStation station(QStringLiteral("store-%1-%2").arg(c.fileName).arg(c.damaged));
    station.writeMachineIni("320");
    station.setUserOption("AlreadyRun", true);
    station.setUserOption("comNum", "COM99");  // an intact start waits in the serial box
    QDir().mkpath(station.filePath("DataBase"));
    const QString path = station.filePath(QStringLiteral("DataBase/") + c.fileName);
    QByteArray contents;
    for (int i = 0; c.damaged && i < 4096; ++i) {
        contents.append(static_cast<char>((i * 7919 + 13) % 251));
    }
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    const QString damagedLine =
        QStringLiteral("    Damaged database file %1: it was left as it is.\n").arg(path);

    RunningProgram running(kProgram, {}, programEnvironment(station, uniqueInstance()));
    ASSERT_TRUE(running.started());
    if (c.damaged) {
        ASSERT_TRUE(waitForLog(station, damagedLine, 20000)) << station.todaysLog().toStdString();
        QThread::msleep(300);
        EXPECT_TRUE(running.isRunning());  // in the box
        EXPECT_FALSE(station.todaysLog().contains("Table create failed."));
        running.stop();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), contents);
    } else {
        ASSERT_TRUE(waitForLog(station, "initDevice.", 20000)) << station.todaysLog().toStdString();
        EXPECT_FALSE(station.todaysLog().contains("Damaged database file"));
        running.stop();
        EXPECT_GT(QFileInfo(path).size(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, StartupStoreFile,
                         testing::Values(StoreFileCase{"UserInfo.db", true},
                                         StoreFileCase{"AuditTrail.db", true},
                                         StoreFileCase{"UserInfo.db", false},
                                         StoreFileCase{"AuditTrail.db", false}));

// A store that is not fit to be used ends the start in a box that names the
// file (the program waits in it), and the file is left as it is: a damaged
// page in the experiment store, a user store that another program holds
// locked (told only after the wait for the lock).
struct StoreFaultCase {
    const char* label;
    const char* fileName;
    bool locked;  // else a damaged page
    const char* line;
};

class StartupStoreFault : public testing::TestWithParam<StoreFaultCase> {};

TEST_P(StartupStoreFault, EndsInTheBoxAndLeavesTheFileUnchanged) {
    const StoreFaultCase& c = GetParam();
    TestStation station(QStringLiteral("store-fault-") + c.label);
    station.writeMachineIni("320");
    station.setUserOption("AlreadyRun", true);
    station.setUserOption("comNum", "COM99");  // an intact start waits in the serial box
    {
        RunningProgram first(kProgram, {}, programEnvironment(station, uniqueInstance()));
        ASSERT_TRUE(first.started());
        ASSERT_TRUE(waitForLog(station, "initDevice.", 20000));
    }
    const QString path = station.filePath(QStringLiteral("DataBase/") + c.fileName);
    std::unique_ptr<LockedDatabase> lock;
    if (c.locked) {
        lock = std::make_unique<LockedDatabase>(QStringLiteral(VARNU_STORE_LOCKER_PATH), path);
        ASSERT_TRUE(lock->isLocked());
    } else {
        ASSERT_TRUE(writeGarbage(path, 4096, 4096));
    }
    const QByteArray before = fileChecksum(path);

    RunningProgram running(kProgram, {}, programEnvironment(station, uniqueInstance()));
    ASSERT_TRUE(running.started());
    const QString line = QStringLiteral("    ") + QString::fromLatin1(c.line).arg(path) + '\n';
    ASSERT_TRUE(waitForLog(station, line, 20000)) << station.todaysLog().toStdString();
    QThread::msleep(300);
    EXPECT_TRUE(running.isRunning());  // in the box
    EXPECT_EQ(station.todaysLog().count("initDevice."), 1);
    running.stop();
    lock.reset();
    EXPECT_EQ(fileChecksum(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, StartupStoreFault,
    testing::Values(StoreFaultCase{"damaged-page", "Experiment.db", false,
                                   "Damaged database file %1: it was left as it is."},
                    StoreFaultCase{"locked", "UserInfo.db", true,
                                   "Database file %1 is in use by another program: it was left "
                                   "as it is."}));

// A folder or a named pipe where a store's file should be: the start ends in
// the box that names it (the program waits in it, it does not end on its
// own or wait on the pipe), and the thing is left as it is.
class StartupStoreNotAFile : public testing::TestWithParam<bool> {};

TEST_P(StartupStoreNotAFile, EndsInTheBoxThatNamesIt) {
    const bool pipe = GetParam();
    TestStation station(pipe ? "store-pipe" : "store-folder");
    station.writeMachineIni("320");
    station.setUserOption("AlreadyRun", true);
    station.setUserOption("comNum", "COM99");  // an intact start waits in the serial box
    QDir().mkpath(station.filePath("DataBase"));
    const QString path = station.filePath("DataBase/UserInfo.db");
    if (pipe) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        ASSERT_TRUE(QDir().mkdir(path));
    }
    RunningProgram running(kProgram, {}, programEnvironment(station, uniqueInstance()));
    ASSERT_TRUE(running.started());
    const QString line = QStringLiteral(
                             "    Database file %1 is not a file (a folder or another special "
                             "file): it was left as it is.\n")
                             .arg(path);
    ASSERT_TRUE(waitForLog(station, line, 20000)) << station.todaysLog().toStdString();
    QThread::msleep(300);
    EXPECT_TRUE(running.isRunning());  // in the box
    EXPECT_FALSE(station.todaysLog().contains("initDevice."));
    running.stop();
    const QFileInfo info(path);
    EXPECT_EQ(info.isDir(), !pipe);
    EXPECT_EQ(info.exists() && !info.isDir() && !info.isFile(), pipe);
}

INSTANTIATE_TEST_SUITE_P(Stores, StartupStoreNotAFile, testing::Bool());

// What settings writes that a program ended in left beside the settings
// files is gone after the next start; other files of the folder stay.
TEST(Startup, LeftoversOfCutSettingsWritesAreRemoved) {
    TestStation station("settings-leftovers");
    station.writeMachineIni("320");
    station.setUserOption("AlreadyRun", true);
    station.setUserOption("comNum", "COM99");  // waits in the serial box
    const QStringList leftovers = {
        "Ini/userOption.ini.saving-AbCdEf", "Ini/userOption.ini.saving-AbCdEf.new",
        "Ini/camOption.ini.saving-Zy9876", "Ini/rememberedLogins.ini.saving-QwErTy.lock"};
    // A user's copies beside the files, however they are named.
    const QStringList kept = {"Ini/userOption.ini.bak", "Ini/userOption.ini.backup",
                              "Ini/camOption.ini.AbCdEf", "Ini/notes.ini.saving-AbCdEf"};
    for (const QString& name : leftovers + kept) {
        QFile file(station.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // A lock of a process that is gone (no process has this number).
        file.write(name.endsWith(".lock") ? "1073741824\nVarnu\n\n" : "[UserOption]\n");
    }
    {
        RunningProgram running(kProgram, {}, programEnvironment(station, uniqueInstance()));
        ASSERT_TRUE(running.started());
        ASSERT_TRUE(waitForLog(station, "initDevice.", 20000));
    }
    for (const QString& name : leftovers) {
        EXPECT_FALSE(QFileInfo::exists(station.filePath(name))) << name.toStdString();
    }
    for (const QString& name : kept) {
        EXPECT_TRUE(QFileInfo::exists(station.filePath(name))) << name.toStdString();
    }
}

// The first start fills the settings files; a later start leaves what the
// user changed alone. The program waits in a dialog (the serial warning or the
// login) each time and is stopped there.
TEST(Startup, FirstRunDefaultsAreWrittenOnlyOnce) {
    TestStation station("first-run");
    station.writeMachineIni("520");
    const QString cameraFile = station.filePath("Ini/camOption.ini");
    {
        RunningProgram first(kProgram, {}, programEnvironment(station, uniqueInstance()));
        ASSERT_TRUE(first.started());
        ASSERT_TRUE(waitForLog(station, "initDevice.", 20000));
    }
    EXPECT_EQ(station.userOption("AlreadyRun").toString(), "true");
    EXPECT_EQ(station.userOption("comNum").toString(), "COM2");
    EXPECT_EQ(
        QSettings(cameraFile, QSettings::IniFormat).value("ZdqCurrentCamSet/Exposure").toInt(),
        300);
    EXPECT_EQ(station.todaysLog().count("initVarnuPara."), 1);

    station.setUserOption("comNum", "COM98");
    QSettings(cameraFile, QSettings::IniFormat).setValue("ZdqCurrentCamSet/Exposure", 123);
    {
        RunningProgram second(kProgram, {}, programEnvironment(station, uniqueInstance()));
        ASSERT_TRUE(second.started());
        ASSERT_TRUE(waitForLog(station, "initDevice.", 20000, 2));
    }
    EXPECT_EQ(station.todaysLog().count("initVarnuPara."), 1);
    EXPECT_EQ(station.userOption("comNum").toString(), "COM98");
    EXPECT_EQ(
        QSettings(cameraFile, QSettings::IniFormat).value("ZdqCurrentCamSet/Exposure").toInt(),
        123);
}

}  // namespace
