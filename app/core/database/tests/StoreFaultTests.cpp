// The stores under real faults of their files: a damaged page, a file that
// another program holds locked, an unwritable file or folder. What the store
// does, what the file holds afterwards and the log line.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

#include "FileFaults.h"
#include "TestSupport.h"
#include "database/AuditTrailDB.h"
#include "database/DamagedStore.h"
#include "database/ExperimentViewDB.h"
#include "database/SampleDB.h"
#include "database/StoreConnection.h"
#include "database/UserInfoDB.h"
#include "database/Varnu_ExperimentDB.h"

namespace {

const QString kLocker = QStringLiteral(VARNU_STORE_LOCKER_PATH);
constexpr qint64 kPageSize = 4096;  // SQLite's default page size

QString databaseFile(const QString& station, const char* name) {
    return station + QStringLiteral("/DataBase/") + QLatin1String(name);
}

// Fills every store with a few rows, then closes it. Each file has several
// pages; page 2 is the root of its first table.
void fillStores(const QString& station) {
    UserInfoDB users(station);
    AuditTrailDB audit(station);
    SampleDB samples(station);
    Varnu_ExperimentDB gel(station);
    for (int i = 0; i < 10; ++i) {
        const QString text = QStringLiteral("row %1 ").arg(i) + QString(40, QLatin1Char('x'));
        users.insertUser(UserInfo(QStringLiteral("user%1").arg(i), text, text, false, true, false,
                                  false, false, false));
        audit.insertAuditTrailPair(2, QStringLiteral("tarsk"), text, text);
        SampleInfo sample;
        sample.sampleName = text;
        samples.insertSample(sample);
        VarnuExperiment experiment;
        experiment.name = text;
        gel.insertExperiment(experiment);
    }
}

// Death tests fork here without running the test again, so the child sees
// the files (and the other program) the parent prepared.
class ForkingDeathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_style = GTEST_FLAG_GET(death_test_style);
        GTEST_FLAG_SET(death_test_style, "fast");
    }
    void TearDown() override { GTEST_FLAG_SET(death_test_style, m_style); }

  private:
    std::string m_style;
};

struct StoreKind {
    const char* file;
    std::function<void(const QString&)> open;
};

const StoreKind kStoreKinds[] = {
    {"UserInfo.db", [](const QString& dir) { UserInfoDB db(dir); }},
    {"AuditTrail.db", [](const QString& dir) { AuditTrailDB db(dir); }},
    {"Sample.db", [](const QString& dir) { SampleDB db(dir); }},
    {"Experiment.db", [](const QString& dir) { Varnu_ExperimentDB db(dir); }},
};

// A good header and a damaged page: the schema reads, the quick check does
// not pass, and the program ends before anything is written.
TEST_F(ForkingDeathTest, AStoreWithADamagedPageEndsTheProgramUntouched) {
    const QString station = freshStationDir();
    fillStores(station);
    for (const StoreKind& kind : kStoreKinds) {
        SCOPED_TRACE(kind.file);
        const QString file = databaseFile(station, kind.file);
        ASSERT_TRUE(writeGarbage(file, kPageSize, static_cast<int>(kPageSize)));
        const QByteArray before = fileChecksum(file);
        const std::string expected =
            "Quick check of .*" + std::string(kind.file) + " failed: .*Damaged database file .*" +
            std::string(kind.file) + ": it was left as it is\\..*Program ended on a damaged";
        EXPECT_DEATH(kind.open(station), expected);
        EXPECT_EQ(fileChecksum(file), before);
    }
}

// A folder or a named pipe where a store's file should be: the program
// ends at once (never waiting on the pipe) and normally, with the line that
// names it, and leaves it as it is. The view, which can live without its
// file, only warns.
TEST_F(ForkingDeathTest, AFolderOrPipeInPlaceOfAStoreEndsTheProgramNormally) {
    for (const bool pipe : {false, true}) {
        for (const StoreKind& kind : kStoreKinds) {
            SCOPED_TRACE(std::string(kind.file) + (pipe ? " pipe" : " folder"));
            const QString station = freshStationDir();
            ASSERT_TRUE(QDir().mkpath(station + QStringLiteral("/DataBase")));
            const QString file = databaseFile(station, kind.file);
            if (pipe) {
                ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
            } else {
                ASSERT_TRUE(QDir().mkdir(file));
            }
            const std::string expected =
                "Database file .*" + std::string(kind.file) +
                " is not a file .*Program ended on a database file that is not a file";
            EXPECT_EXIT(
                {
                    ::alarm(10);
                    kind.open(station);
                },
                ::testing::ExitedWithCode(255), expected);
            const QFileInfo info(file);
            EXPECT_EQ(info.isDir(), !pipe);
            EXPECT_EQ(info.exists() && !info.isDir() && !info.isFile(), pipe);
        }
    }
    const QString station = freshStationDir();
    ASSERT_TRUE(QDir().mkpath(station + QStringLiteral("/DataBase")));
    const QString file = databaseFile(station, "Experiment.db");
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_EXIT(
        {
            ::alarm(10);
            ExperimentViewDB view(station);
            std::exit(view.loadAll() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "Database file .*Experiment\\.db is not a file");
}

// The view can live without its file: it warns, and still writes nothing
// (it would otherwise drop and create its view in the damaged file).
TEST(StoreFaults, TheViewOnADamagedFileWarnsAndWritesNothing) {
    const QString station = freshStationDir();
    fillStores(station);
    const QString file = databaseFile(station, "Experiment.db");
    ASSERT_TRUE(writeGarbage(file, kPageSize, static_cast<int>(kPageSize)));
    const QByteArray before = fileChecksum(file);
    LogCapture log;
    {
        ExperimentViewDB view(station);
        EXPECT_FALSE(view.loadAll());
    }
    EXPECT_TRUE(log.contains(QStringLiteral("[Warning] ") +
                             damagedStoreLine(QDir::toNativeSeparators(file))));
    EXPECT_EQ(fileChecksum(file), before);
}

// Another program holds the file: the store waits for the busy timeout,
// then ends the program with "in use" (not "damaged"), the file untouched.
TEST_F(ForkingDeathTest, AStoreLockedByAnotherProgramEndsTheProgramAsInUse) {
    const QString station = freshStationDir();
    fillStores(station);
    for (const StoreKind& kind : {kStoreKinds[0], kStoreKinds[3]}) {
        SCOPED_TRACE(kind.file);
        const QString file = databaseFile(station, kind.file);
        const QByteArray before = fileChecksum(file);
        LockedDatabase lock(kLocker, file);
        ASSERT_TRUE(lock.isLocked());
        QElapsedTimer waited;
        waited.start();
        const std::string expected = "Database file .*" + std::string(kind.file) +
                                     " is in use by another program: it was left as it is\\..*"
                                     "Program ended on a database file in use";
        EXPECT_DEATH(kind.open(station), expected);
        EXPECT_GE(waited.elapsed(), StoreConnection::kBusyTimeoutMs - 500);
        EXPECT_EQ(fileChecksum(file), before);
    }
}

TEST(StoreFaults, ALockReleasedWithinTheWaitIsWaitedFor) {
    const QString station = freshStationDir();
    fillStores(station);
    const QString file = databaseFile(station, "UserInfo.db");
    LockedDatabase lock(kLocker, file, 1500);
    ASSERT_TRUE(lock.isLocked());
    QElapsedTimer waited;
    waited.start();
    LogCapture log;
    UserInfoDB users(station);
    EXPECT_GE(waited.elapsed(), 1000);
    EXPECT_TRUE(users.loadByName(QStringLiteral("user7")));
    EXPECT_FALSE(log.lines().join('\n').contains(QStringLiteral("in use")));
}

// Rows of one audit pair under each fault: neither row is stored, the store
// says so once (log line and signal), and once the fault is gone the next
// pair is stored whole.
struct PairFault {
    const char* label;
    // Makes the fault; false when this machine cannot make it.
    std::function<bool(const QString& station)> make;
    std::function<void(const QString& station)> undo;
};

QString auditFile(const QString& station) {
    return databaseFile(station, "AuditTrail.db");
}

std::unique_ptr<LockedDatabase> g_auditLock;

const PairFault kPairFaults[] = {
    {"the second row refused",
     [](const QString& station) {
         return rawExec(auditFile(station),
                        QStringLiteral("CREATE TRIGGER refuseEnglish BEFORE INSERT ON AuditTrail "
                                       "WHEN NEW.languageId = 1 BEGIN SELECT RAISE(ABORT, "
                                       "'refused'); END"));
     },
     [](const QString& station) {
         rawExec(auditFile(station), QStringLiteral("DROP TRIGGER refuseEnglish"));
     }},
    {"an unwritable database folder",
     [](const QString& station) { return makeUnwritable(station + QStringLiteral("/DataBase")); },
     [](const QString& station) { makeWritable(station + QStringLiteral("/DataBase")); }},
    {"an unwritable database file",
     [](const QString& station) { return makeUnwritable(auditFile(station)); },
     [](const QString& station) { makeWritable(auditFile(station)); }},
    {"a lock of another program",
     [](const QString& station) {
         g_auditLock = std::make_unique<LockedDatabase>(kLocker, auditFile(station));
         return g_auditLock->isLocked();
     },
     [](const QString&) { g_auditLock.reset(); }},
};

TEST(StoreFaults, AnAuditPairIsStoredWholeOrNotAtAllAndTold) {
    for (const PairFault& fault : kPairFaults) {
        SCOPED_TRACE(fault.label);
        const QString station = freshStationDir();
        AuditTrailDB audit(station);
        ASSERT_TRUE(audit.insertAuditTrailPair(2, "tarsk", "之前", "Before"));
        QStringList told;
        QObject::connect(&audit, &AuditTrailDB::auditTrailNotStored,
                         [&told](const QString& chinese, const QString& english) {
                             told << chinese + QLatin1Char('|') + english;
                         });
        if (!fault.make(station)) {
            fault.undo(station);
            ADD_FAILURE() << "the fault could not be made";
            continue;
        }
        bool stored = true;
        QStringList lines;
        {
            LogCapture log;
            stored = audit.insertAuditTrailPair(2, "tarsk", "保存", "Save settings");
            lines = log.lines();
        }
        fault.undo(station);
        EXPECT_FALSE(stored);
        EXPECT_EQ(told, QStringList{"保存|Save settings"});
        const QStringList failures = lines.filter(QStringLiteral("Audit trail not stored"));
        ASSERT_EQ(failures.size(), 1) << lines.join('\n').toStdString();
        EXPECT_TRUE(
            failures.first().startsWith(QStringLiteral("[Warning] Audit trail not stored (")));
        EXPECT_TRUE(failures.first().endsWith(QStringLiteral("): Save settings")));
        EXPECT_EQ(rawRows(auditFile(station),
                          QStringLiteral("SELECT languageId, content FROM AuditTrail ORDER BY id")),
                  (QList<QStringList>{{"0", "之前"}, {"1", "Before"}}));

        EXPECT_TRUE(audit.insertAuditTrailPair(2, "tarsk", "之后", "After"));
        EXPECT_EQ(audit.countAuditTrailByLanguage(0), 2);
        EXPECT_EQ(audit.countAuditTrailByLanguage(1), 2);
        EXPECT_EQ(told.size(), 1);
    }
}

// The rows the pages write (a sample, an experiment and its capture values)
// under the faults of their file: the write fails (the page tells the
// user) and what the file held before is still there.
TEST(StoreFaults, RowWritesFailWholeAndKeepEarlierRows) {
    struct Fault {
        const char* label;
        std::function<bool(const QString& folder, const QString& file)> make;
        std::function<void(const QString& folder, const QString& file)> undo;
    };
    std::unique_ptr<LockedDatabase> lock;
    const Fault faults[] = {
        {"an unwritable database folder",
         [](const QString& folder, const QString&) { return makeUnwritable(folder); },
         [](const QString& folder, const QString&) { makeWritable(folder); }},
        {"an unwritable database file",
         [](const QString&, const QString& file) { return makeUnwritable(file); },
         [](const QString&, const QString& file) { makeWritable(file); }},
        {"a lock of another program",
         [&lock](const QString&, const QString& file) {
             lock = std::make_unique<LockedDatabase>(kLocker, file);
             return lock->isLocked();
         },
         [&lock](const QString&, const QString&) { lock.reset(); }},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.label);
        const QString station = freshStationDir();
        const QString folder = station + QStringLiteral("/DataBase");
        SampleDB samples(station);
        Varnu_ExperimentDB gel(station);
        SampleInfo kept;
        kept.sampleName = QStringLiteral("DNA");
        ASSERT_TRUE(samples.insertSample(kept));
        VarnuExperiment experiment;
        experiment.name = QStringLiteral("gel 1");
        experiment.exposureTime = QStringLiteral("300");
        ASSERT_TRUE(gel.insertExperiment(experiment));

        ASSERT_TRUE(fault.make(folder, databaseFile(station, "Sample.db")));
        SampleInfo added;
        added.sampleName = QStringLiteral("RNA");
        EXPECT_FALSE(samples.insertSample(added));
        fault.undo(folder, databaseFile(station, "Sample.db"));

        ASSERT_TRUE(fault.make(folder, databaseFile(station, "Experiment.db")));
        VarnuExperiment another;
        another.name = QStringLiteral("gel 2");
        EXPECT_FALSE(gel.insertExperiment(another));
        VarnuExperiment captured = experiment;
        captured.exposureTime = QStringLiteral("999");
        EXPECT_FALSE(gel.updateExperiment(captured));
        fault.undo(folder, databaseFile(station, "Experiment.db"));

        EXPECT_EQ(samples.loadSampleNames(), QStringList{QStringLiteral("DNA")});
        const auto rows = gel.loadAll();
        ASSERT_TRUE(rows);
        ASSERT_EQ(rows->size(), 1);
        EXPECT_EQ(rows->first().name, QStringLiteral("gel 1"));
        EXPECT_EQ(rows->first().exposureTime, QStringLiteral("300"));
    }
}

}  // namespace
