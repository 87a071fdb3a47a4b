#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QThread>
#include <algorithm>
#include <functional>
#include <memory>

#include "TestSupport.h"
#include "database/AuditTrailDB.h"
#include "database/ExperimentViewDB.h"
#include "database/SampleDB.h"
#include "database/UserInfoDB.h"
#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"

namespace {

// A station directory that is a plain file: no DataBase folder can exist in it.
QString unusableStation() {
    const QString path = freshStationDir() + QStringLiteral("/not-a-folder");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    return path;
}

TEST(StoreOpeningDeathTest, AStoreWhoseFileCannotBeOpenedEndsTheProgram) {
    struct Case {
        const char* message;
        std::function<void(const QString&)> open;
    };
    const Case cases[] = {
        {"UserInfo\\.db open failed\\.", [](const QString& dir) { UserInfoDB db(dir); }},
        {"AuditTrail\\.db open failed\\.", [](const QString& dir) { AuditTrailDB db(dir); }},
        {"Sample\\.db open failed\\.", [](const QString& dir) { SampleDB db(dir); }},
        {"Experiment\\.db open failed\\.", [](const QString& dir) { Varnu_ExperimentDB db(dir); }},
        {"Experiment\\.db open failed\\.",
         [](const QString& dir) { Westblot_ExperimentDB db(dir); }},
    };
    const QString station = unusableStation();
    for (const Case& c : cases) {
        EXPECT_DEATH(c.open(station), c.message);
    }
}

TEST(StoreOpening, TheViewOnlyWarnsWhenItsFileCannotBeOpened) {
    const QString station = unusableStation();
    LogCapture log;
    ExperimentViewDB view(station);
    // Qt adds warnings of its own ("QSqlQuery::exec: database not open").
    QStringList ours = log.lines();
    ours.erase(std::remove_if(ours.begin(), ours.end(),
                              [](const QString& line) { return line.contains("QSqlQuery"); }),
               ours.end());
    EXPECT_EQ(ours, (QStringList{"[Debug] connectDatabase ExperimentView.db.",
                                 "[Warning] Experiment.db open failed.",
                                 "[Warning] view ExperimentView create failed."}));
    EXPECT_FALSE(view.loadAll());
}

TEST(StoreOpening, StoresOfOneKindDoNotShareAConnection) {
    const QString station = freshStationDir();
    auto first = std::make_unique<SampleDB>(station);
    auto second = std::make_unique<SampleDB>(station);
    EXPECT_EQ(first->connectionName(), QStringLiteral("Sample"));
    EXPECT_NE(second->connectionName(), first->connectionName());

    SampleInfo sample;
    sample.sampleName = QStringLiteral("DNA");
    ASSERT_TRUE(first->insertSample(sample));
    EXPECT_EQ(second->loadSampleNames(), QStringList{QStringLiteral("DNA")});

    const QString secondName = second->connectionName();
    second.reset();
    EXPECT_FALSE(QSqlDatabase::contains(secondName));
    EXPECT_TRUE(first->deleteSample(sample.uuid));
    EXPECT_TRUE(first->loadSampleNames().isEmpty());
    first.reset();
    EXPECT_FALSE(QSqlDatabase::contains(QStringLiteral("Sample")));
}

// The stores are meant for one caller at a time, but threads that meet in a
// store still lose nothing: each has its own connection, and SQLite makes the
// second writer wait.
TEST(StoreOpening, ThreadsWritingAtOnceLoseNoRow) {
    const QString station = freshStationDir();
    AuditTrailDB audit(station);
    auto writeRows = [&audit](int languageId) {
        int written = 0;
        for (int i = 0; i < 40; ++i) {
            AuditTrailInfo info;
            info.languageId = languageId;
            info.handler = QStringLiteral("worker");
            info.content = QString::number(i);
            written += audit.insertAuditTrail(info) ? 1 : 0;
        }
        return written;
    };
    int writtenByWorker = 0;
    std::unique_ptr<QThread> worker(QThread::create([&] { writtenByWorker = writeRows(1); }));
    worker->start();
    const int writtenHere = writeRows(0);
    ASSERT_TRUE(worker->wait(30000));
    EXPECT_EQ(writtenHere, 40);
    EXPECT_EQ(writtenByWorker, 40);
    EXPECT_EQ(audit.countAuditTrailByLanguage(0), 40);
    EXPECT_EQ(audit.countAuditTrailByLanguage(1), 40);
}

TEST(StoreOpening, AllSixStoresOpenOnOneStation) {
    const QString station = freshStationDir();
    UserInfoDB users(station);
    Varnu_ExperimentDB gel(station);
    Westblot_ExperimentDB blot(station);
    ExperimentViewDB view(station);
    SampleDB samples(station);
    AuditTrailDB audit(station);
    const QStringList names{users.connectionName(),   gel.connectionName(),
                            blot.connectionName(),    view.connectionName(),
                            samples.connectionName(), audit.connectionName()};
    EXPECT_EQ(names, (QStringList{"UserInfo", "Varnu_Experiment", "Westblot_Experiment",
                                  "ExperimentView", "Sample", "AuditTrail"}));
    for (const char* file : {"UserInfo.db", "Experiment.db", "Sample.db", "AuditTrail.db"}) {
        EXPECT_TRUE(QFile::exists(station + QStringLiteral("/DataBase/") + QLatin1String(file)))
            << file;
    }
}

}  // namespace
