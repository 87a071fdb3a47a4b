#include "FileFaults.h"
#include "TestStation.h"
#include "settings/CamOpts.h"
#include "settings/IniWrite.h"
#include "settings/UserOpts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

namespace {

// The messages of a child process go up this pipe, one a line.
int g_messagePipe = -1;

void messageToPipe(QtMsgType, const QMessageLogContext&, const QString& msg) {
    const QByteArray line = msg.toUtf8() + '\n';
    if (::write(g_messagePipe, line.constData(), static_cast<size_t>(line.size())) < 0) {
        ::_exit(3);
    }
}

struct ChildResult {
    bool ended = false;  // the child ended by itself within the bound
    int exitCode = -1;
    QStringList messages;
};

// Runs `write` in a child process whose files may grow to `fileSizeLimit`
// bytes at most: a write past it fails, or with `endAtLimit` ends the
// process there (as a program killed in the middle of the write). The
// child's exit code tells the write's result; -1 when it did not exit.
ChildResult runInChild(rlim_t fileSizeLimit, const std::function<bool()>& write,
                       bool endAtLimit = false) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        g_messagePipe = fds[1];
        qInstallMessageHandler(messageToPipe);
        std::signal(SIGXFSZ, endAtLimit ? SIG_DFL : SIG_IGN);
        const struct rlimit limit = {fileSizeLimit, fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(2);
        }
        ::_exit(write() ? 0 : 1);
    }
    ::close(fds[1]);
    ChildResult result;
    if (pid < 0) {
        ::close(fds[0]);
        return result;
    }
    QByteArray output;
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    while (clock.elapsed() < 20000) {
        struct pollfd p = {fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char buf[4096];
            const ssize_t n = ::read(fds[0], buf, sizeof(buf));
            if (n > 0) {
                output.append(buf, static_cast<int>(n));
                continue;
            }
        }
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            result.ended = true;
            break;
        }
    }
    if (!result.ended) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    ::close(fds[0]);
    result.exitCode = result.ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.messages = QString::fromUtf8(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return result;
}

void writeIni(const QString& path, const IniValues& values) {
    QSettings ini(path, QSettings::IniFormat);
    for (const auto& [key, value] : values) {
        ini.setValue(key, value);
    }
}

// The settings held before each write: a few hundred bytes, so that the
// new content of every write is longer than the file it replaces.
void writeEarlierSettings(const TestStation& station) {
    writeIni(station.filePath("Ini/camOption.ini"), {{"ZdqCurrentCamSet/Exposure", 123},
                                                     {"ZdqCurrentCamSet/Gain", 9},
                                                     {"ZdqDefaultCamSet/Exposure", 300},
                                                     {"ZdqDefaultCamSet/Mirror", true},
                                                     {"TucsenCurrentCamSet/GainPre", 77},
                                                     {"TucsenCurrentCamSet/Depth", 1},
                                                     {"TucsenDefaultCamSet/ExposurePre", 500},
                                                     {"TucsenDefaultCamSet/Stretch", 2}});
    writeIni(station.filePath("Ini/userOption.ini"),
             {{"UserOption/AlreadyRun", true},
              {"UserOption/MainTitle", QStringLiteral("Gel report")},
              {"UserOption/SubTitle", QStringLiteral("Laboratory 2")},
              {"UserOption/storagePath", QStringLiteral("/data/varnu/pictures")},
              {"UserOption/shutDownTime", 15},
              {"UserOption/isCheckLogin", 1},
              {"UserOption/ExpTime_1", QStringList{"0", "30", "0"}},
              {"UserOption/ExpTime_2", QStringList{"1", "0", "500"}}});
}

// One write of the program's settings, with the file, group and values it
// stores (what a QSettings writing in place would store).
struct SettingsWrite {
    const char* label;
    const char* file;
    QString group;
    IniValues values;
    std::function<bool()> write;
};

std::vector<SettingsWrite> settingsWrites() {
    const QString title = QStringLiteral("Western blot report of the protein laboratory, ") +
                          QString(200, QLatin1Char('x'));
    return {
        {"camera set",
         "Ini/camOption.ini",
         QString(),
         {{"ZdqCurrentCamSet/Resolution", 1},
          {"ZdqCurrentCamSet/Exposure", 456},
          {"ZdqCurrentCamSet/Gain", 8},
          {"ZdqCurrentCamSet/Contrast", 50},
          {"ZdqCurrentCamSet/BrightNess", 25},
          {"ZdqCurrentCamSet/Gamma", 100},
          {"ZdqCurrentCamSet/Mirror", true},
          {"ZdqCurrentCamSet/Flip", false},
          {"ZdqCurrentCamSet/SignalAccNum", 4},
          {"ZdqCurrentCamSet/SignalAccOpen", true}},
         [] {
             CamOpts opts;
             opts.zdqCurrentCamSet = {1, 456, 8, 50, 100, 25, true, false, 4, true};
             return opts.saveZdqCurrentCamSet();
         }},
        {"user option",
         "Ini/userOption.ini",
         "UserOption",
         {{"comNum", "/dev/ttyUSB0"}},
         [] {
             UserOpts opts;
             opts.comNum = QStringLiteral("/dev/ttyUSB0");
             return opts.saveUserOpt(UserOpt_comNum);
         }},
        {"language",
         "Ini/userOption.ini",
         "UserOption",
         {{"LanguageID", 1}},
         [] {
             UserOpts opts;
             opts.LanguageID = 1;
             return opts.saveUserOpt(UserOpt_LanguageID);
         }},
        {"report titles",
         "Ini/userOption.ini",
         "UserOption",
         {{"MainTitle", title}, {"SubTitle", title}},
         [title] {
             UserOpts opts;
             opts.MainTitle = title;
             opts.SubTitle = title;
             return opts.saveUserOpts({UserOpt_MainTitle, UserOpt_SubTitle});
         }},
    };
}

QStringList folderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every settings write under every fault: the write reports failure, the
// file keeps its bytes, no copy is left beside it and one log line names
// the file and why.
TEST(SettingsWrite, AFaultLeavesTheFileAsItWasAndIsLogged) {
    enum Fault { FileSizeLimit, UnwritableFolder, UnwritableFile };
    struct FaultCase {
        const char* label;
        Fault fault;
        const char* reason;  // a part of the log line's reason
    };
    const FaultCase faults[] = {
        {"file-size limit", FileSizeLimit, "the new content"},
        {"unwritable folder", UnwritableFolder, "its lock file cannot be made"},
        {"unwritable file", UnwritableFile, "it is not writable"},
    };
    for (const SettingsWrite& w : settingsWrites()) {
        for (const FaultCase& f : faults) {
            SCOPED_TRACE(std::string(w.label) + ", " + f.label);
            TestStation station("settings-write-fault");
            writeEarlierSettings(station);
            const QString file = station.filePath(w.file);
            const QString folder = QFileInfo(file).absolutePath();
            const QByteArray before = fileChecksum(file);
            const QStringList entries = folderEntries(folder);
            rlim_t limit = RLIM_INFINITY;
            QString unwritable;
            if (f.fault == FileSizeLimit) {
                limit = static_cast<rlim_t>(QFileInfo(file).size());
            } else {
                unwritable = f.fault == UnwritableFolder ? folder : file;
                if (!makeUnwritable(unwritable)) {
                    makeWritable(unwritable);
                    GTEST_SKIP() << "this file system cannot make a file unwritable";
                }
            }
            const ChildResult child = runInChild(limit, w.write);
            if (!unwritable.isEmpty()) {
                makeWritable(unwritable);
            }
            ASSERT_TRUE(child.ended);
            EXPECT_EQ(child.exitCode, 1);
            EXPECT_EQ(fileChecksum(file).toStdString(), before.toStdString());
            EXPECT_EQ(folderEntries(folder), entries);
            const QRegularExpression line(
                "^Settings not saved, " + QRegularExpression::escape(file) +
                " cannot be written: .*" + QRegularExpression::escape(f.reason) + ".*\\.$");
            EXPECT_EQ(child.messages.size(), 1) << child.messages.join('\n').toStdString();
            EXPECT_EQ(child.messages.filter(line).size(), 1)
                << child.messages.join('\n').toStdString();
        }
    }
}

// Without a fault every write stores the same bytes as QSettings writing
// in place, keeps the file's mode and leaves nothing beside it.
TEST(SettingsWrite, AWriteStoresWhatQSettingsWritesInPlace) {
    for (const SettingsWrite& w : settingsWrites()) {
        SCOPED_TRACE(w.label);
        TestStation station("settings-write");
        writeEarlierSettings(station);
        const QString file = station.filePath(w.file);
        ASSERT_TRUE(
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QString reference = station.filePath("reference.ini");
        ASSERT_TRUE(QFile::copy(file, reference));
        {
            QSettings ini(reference, QSettings::IniFormat);
            ini.beginGroup(w.group);
            for (const auto& [key, value] : w.values) {
                ini.setValue(key, value);
            }
        }
        const QStringList entries = folderEntries(QFileInfo(file).absolutePath());

        ASSERT_TRUE(w.write());
        EXPECT_EQ(fileBytes(file), fileBytes(reference));
        EXPECT_EQ(QFileInfo(file).permissions() & 0x7077, 0x6040);
        EXPECT_EQ(folderEntries(QFileInfo(file).absolutePath()), entries);
    }
}

// Values of the same length written one right after the other: each is
// read back at once, although the file's size stays the same.
TEST(SettingsWrite, EachWriteIsReadAtOnce) {
    TestStation station("settings-write-reread");
    writeEarlierSettings(station);
    UserOpts writer;
    UserOpts reader;
    for (int i = 0; i < 20; ++i) {
        writer.LanguageID = i % 2;
        ASSERT_TRUE(writer.saveUserOpt(UserOpt_LanguageID));
        reader.loadUserOpt(UserOpt_LanguageID);
        ASSERT_EQ(reader.LanguageID, i % 2) << i;
    }
}

// Two threads, each with options of its own, store different keys of one
// file at the same time: no write loses one of the other.
TEST(SettingsWrite, WritesOfSeveralThreadsAllStay) {
    TestStation station("settings-write-threads");
    writeEarlierSettings(station);
    std::atomic<int> failed{0};
    auto writeTimes = [&failed](int first) {
        UserOpts opts;
        for (int i = 0; i < 5; ++i) {
            const int type = first + i;
            QStringList* list = &opts.ExpTime_1 + (type - UserOpt_ExpTime_1);
            *list = QStringList{QString::number(type), "0", "0"};
            failed += opts.saveUserOpt(type) ? 0 : 1;
        }
    };
    std::thread one(writeTimes, UserOpt_ExpTime_1);
    std::thread other(writeTimes, UserOpt_ExpTime_6);
    one.join();
    other.join();
    EXPECT_EQ(failed, 0);
    for (int type = UserOpt_ExpTime_1; type <= UserOpt_ExpTime_10; ++type) {
        EXPECT_EQ(station.userOption(UserOpts::keyOf(type)).toStringList(),
                  QStringList({QString::number(type), "0", "0"}))
            << type;
    }
    EXPECT_EQ(station.userOption("storagePath").toString(), "/data/varnu/pictures");
}

// Another program that holds the settings file's lock (as QSettings takes
// it for a write) and does not give it up: the write waits a bounded time
// and fails, the file as it was.
TEST(SettingsWrite, ALockHeldByAnotherProgramFailsInBoundedTime) {
    TestStation station("settings-write-locked");
    writeEarlierSettings(station);
    const QString file = station.filePath("Ini/userOption.ini");
    const QByteArray before = fileChecksum(file);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        ::close(ready[0]);
        QLockFile lock(file + ".lock");
        const char held = lock.tryLock(5000) ? 'y' : 'n';
        if (::write(ready[1], &held, 1) != 1) {
            ::_exit(1);
        }
        ::sleep(60);
        ::_exit(0);
    }
    ::close(ready[1]);
    ASSERT_GT(holder, 0);
    char held = 'n';
    struct pollfd p = {ready[0], POLLIN, 0};
    if (::poll(&p, 1, 10000) == 1 && ::read(ready[0], &held, 1) != 1) {
        held = 'n';
    }
    ::close(ready[0]);

    QStringList messages;
    bool written = true;
    QElapsedTimer clock;
    clock.start();
    if (held == 'y') {
        static QStringList* s_messages = nullptr;
        s_messages = &messages;
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& msg) {
                s_messages->append(msg);
            });
        written = writeIniValues(file, "UserOption", {{"comNum", "COM9"}});
        qInstallMessageHandler(previous);
    }
    const qint64 elapsed = clock.elapsed();
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ASSERT_EQ(held, 'y');
    EXPECT_FALSE(written);
    EXPECT_LT(elapsed, 30000);
    EXPECT_EQ(fileChecksum(file).toStdString(), before.toStdString());
    EXPECT_EQ(messages, QStringList{"Settings not saved, " + file +
                                    " cannot be written: another program holds it."});
}

// A file of another program's making that does not read as ini is
// rewritten by the first write; a missing file is made with the usual mode.
TEST(SettingsWrite, AFileThatIsNoIniOrMissingIsWritten) {
    TestStation station("settings-write-new");
    const QString file = station.filePath("Ini/userOption.ini");
    ASSERT_TRUE(writeIniValues(file, "UserOption", {{"comNum", "COM3"}}));
    EXPECT_EQ(fileBytes(file), "[UserOption]\ncomNum=COM3\n");
    EXPECT_EQ(QFileInfo(file).permissions() & 0x7077, 0x6044);

    {
        QFile garbage(file);
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write("no ini\n[broken\n");
    }
    ASSERT_TRUE(writeIniValues(file, "UserOption", {{"comNum", "COM4"}}));
    EXPECT_EQ(station.userOption("comNum").toString(), "COM4");
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).status(), QSettings::NoError);
}

// A save that the program ends in (killed at a file-size limit) leaves the
// file byte for byte, and beside it what the write had made so far; the
// next start removes that, and nothing else of the folder.
TEST(SettingsWrite, ACutSaveLeavesTheFileAndItsLeftoversGoAtTheNextStart) {
    for (const SettingsWrite& w : settingsWrites()) {
        SCOPED_TRACE(w.label);
        TestStation station("settings-write-cut");
        writeEarlierSettings(station);
        const QString file = station.filePath(w.file);
        const QString folder = QFileInfo(file).absolutePath();
        const QString name = QFileInfo(file).fileName();
        // Names near the leftovers' that are not theirs.
        for (const QString& other :
             {name + ".bak", name + ".backup", name + ".AbCdEf", name + ".saving-AbC12",
              name + ".saving-AbCdEf7", name + "x.saving-AbCdEf",
              QStringLiteral("other.ini.saving-AbCdEf"), name + ".saving-AbCdEf.old",
              name + ".saving-AbCdEf.new.lock"}) {
            QFile keep(QDir(folder).filePath(other));
            ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
            keep.write("kept");
        }
        const QStringList entries = folderEntries(folder);
        const QByteArray before = fileChecksum(file);

        const ChildResult child =
            runInChild(static_cast<rlim_t>(QFileInfo(file).size()), w.write, true);
        ASSERT_TRUE(child.ended);
        EXPECT_EQ(child.exitCode, -1);
        EXPECT_EQ(fileChecksum(file).toStdString(), before.toStdString());
        EXPECT_NE(folderEntries(folder), entries);

        removeIniWriteLeftovers(file);
        EXPECT_EQ(folderEntries(folder), entries);
        EXPECT_EQ(fileChecksum(file).toStdString(), before.toStdString());
    }
}

// The lock of a write that is running (here: of this process) stays.
TEST(SettingsWrite, ALockOfARunningWriteIsNotRemoved) {
    TestStation station("settings-write-held-lock");
    writeEarlierSettings(station);
    const QString file = station.filePath("Ini/userOption.ini");
    QLockFile held(file + ".lock");
    ASSERT_TRUE(held.tryLock(0));
    removeIniWriteLeftovers(file);
    EXPECT_TRUE(QFileInfo::exists(file + ".lock"));
    held.unlock();
}

}  // namespace
