#include <gtest/gtest.h>

#include <QFile>
#include <QSqlDatabase>
#include <QThread>
#include <memory>

#include "TestSupport.h"
#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"

namespace {

// What the twin stores differ in, so the shared behaviour is tested once.
struct VarnuTraits {
    using Store = Varnu_ExperimentDB;
    using Record = VarnuExperiment;
    static constexpr const char* table = "Varnu_Experiment";
    static Record make(const QString& name) {
        Record record;
        record.expType = 0;
        record.name = name;
        record.dateTime = QDateTime(QDate(2024, 3, 1), QTime(10, 0, 5, 678));
        record.picSavedPath = QStringLiteral("/pictures/24-03-01/Varnu/");
        record.resolution = QStringLiteral("1064*850");
        record.binning = 1;
        record.brightness = 25;
        record.contrast = 10;
        record.gamma = 3;
        return record;
    }
};

struct WestblotTraits {
    using Store = Westblot_ExperimentDB;
    using Record = WestblotExperiment;
    static constexpr const char* table = "Westblot_Experiment";
    static Record make(const QString& name) {
        Record record;
        record.expType = 1;
        record.name = name;
        record.dateTime = QDateTime(QDate(2024, 3, 1), QTime(10, 0, 5, 678));
        record.picSavedPath = QStringLiteral("/pictures/24-03-01/WestBlot/");
        record.binning = 2;
        record.blackLevel = 10;
        record.contrast = 140;
        record.gamma = 66;
        return record;
    }
};

template <typename Traits>
class ExperimentDBTest : public ::testing::Test {
  protected:
    using Store = typename Traits::Store;
    using Record = typename Traits::Record;

    void SetUp() override { station = freshStationDir(); }
    QString file() const { return station + QStringLiteral("/DataBase/Experiment.db"); }
    QString table() const { return QString::fromLatin1(Traits::table); }
    std::unique_ptr<Store> open() { return std::make_unique<Store>(station); }
    QList<QStringList> rows() const {
        return rawRows(file(), QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table()));
    }

    QString station;
};

using Twins = ::testing::Types<VarnuTraits, WestblotTraits>;
TYPED_TEST_SUITE(ExperimentDBTest, Twins);

TYPED_TEST(ExperimentDBTest, CreatesItsTableOnceInExperimentDb) {
    {
        LogCapture log;
        this->open();
        EXPECT_EQ(
            log.lines(),
            (QStringList{QStringLiteral("[Debug] connectDatabase %1.db.").arg(this->table()),
                         "[Debug] Experiment.db open success.",
                         QStringLiteral("[Debug] table %1 create success.").arg(this->table())}));
    }
    EXPECT_TRUE(QFile::exists(this->file()));
    LogCapture log;
    auto db = this->open();
    EXPECT_EQ(log.lines(),
              (QStringList{QStringLiteral("[Debug] connectDatabase %1.db.").arg(this->table()),
                           "[Debug] Experiment.db open success."}));
    EXPECT_EQ(db->connectionName(), this->table());
}

TYPED_TEST(ExperimentDBTest, StoresEveryFieldAndReadsItBack) {
    auto db = this->open();
    auto record = TypeParam::make(QStringLiteral("Varnu001"));
    record.exposureTime = QStringLiteral("300,");
    record.gain = QStringLiteral("8,");
    ASSERT_TRUE(db->insertExperiment(record));

    const auto stored = this->rows();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0][0], record.uuid.toString());                 // braced text
    EXPECT_EQ(stored[0][3], QStringLiteral("2024-03-01 10:00:05"));  // whole seconds

    for (const auto& loaded : {db->loadByUuid(record.uuid), db->loadByName(record.name)}) {
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->uuid, record.uuid);
        EXPECT_EQ(loaded->expType, record.expType);
        EXPECT_EQ(loaded->name, record.name);
        EXPECT_EQ(loaded->dateTime, QDateTime(QDate(2024, 3, 1), QTime(10, 0, 5)));
        EXPECT_EQ(loaded->picSavedPath, record.picSavedPath);
        EXPECT_EQ(loaded->binning, record.binning);
        EXPECT_EQ(loaded->exposureTime, QStringLiteral("300,"));
        EXPECT_EQ(loaded->gain, QStringLiteral("8,"));
        EXPECT_EQ(loaded->contrast, record.contrast);
        EXPECT_EQ(loaded->gamma, record.gamma);
    }
    auto all = db->loadAll();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 1);
    EXPECT_EQ(all->first().uuid, record.uuid);
}

TYPED_TEST(ExperimentDBTest, MissingRowsLoadNull) {
    auto db = this->open();
    EXPECT_FALSE(db->loadAll());
    EXPECT_FALSE(db->loadByUuid(QUuid::createUuid()));
    EXPECT_FALSE(db->loadByName(QStringLiteral("nothing")));
    ASSERT_TRUE(db->insertExperiment(TypeParam::make(QStringLiteral("one"))));
    EXPECT_FALSE(db->loadByName(QStringLiteral("One")));
}

TYPED_TEST(ExperimentDBTest, UpdateWritesOnlyExposureAndGainOfItsUuid) {
    auto db = this->open();
    auto first = TypeParam::make(QStringLiteral("first"));
    auto second = TypeParam::make(QStringLiteral("second"));
    ASSERT_TRUE(db->insertExperiment(first));
    ASSERT_TRUE(db->insertExperiment(second));
    const auto before = this->rows();

    auto changed = first;
    changed.name = QStringLiteral("renamed");
    changed.binning = 4;
    changed.contrast = 99;
    changed.exposureTime = QStringLiteral("100,200,");
    changed.gain = QStringLiteral("1,2,");
    ASSERT_TRUE(db->updateExperiment(changed));

    auto after = this->rows();
    const int exposureColumn = after[0].size() == 12 ? 7 : 6;
    EXPECT_EQ(after[0][exposureColumn], QStringLiteral("100,200,"));
    EXPECT_EQ(after[0][exposureColumn + 1], QStringLiteral("1,2,"));
    after[0][exposureColumn] = before[0][exposureColumn];
    after[0][exposureColumn + 1] = before[0][exposureColumn + 1];
    EXPECT_EQ(after, before);

    EXPECT_TRUE(db->updateExperiment(TypeParam::make(QStringLiteral("absent"))));
    EXPECT_EQ(this->rows().size(), 2);
}

TYPED_TEST(ExperimentDBTest, DeletesByUuidAndStoresAUuidOnce) {
    auto db = this->open();
    auto record = TypeParam::make(QStringLiteral("gone"));
    ASSERT_TRUE(db->insertExperiment(record));
    EXPECT_TRUE(db->deleteExperiment(record.uuid));
    EXPECT_TRUE(db->deleteExperiment(record.uuid));
    EXPECT_FALSE(db->loadByUuid(record.uuid));
    // A uuid is stored once.
    auto again = TypeParam::make(QStringLiteral("again"));
    ASSERT_TRUE(db->insertExperiment(again));
    again.name = QStringLiteral("again, other name");
    EXPECT_FALSE(db->insertExperiment(again));
}

// A capture thread finds its row and writes exposure and gain from its own
// thread, through a connection of its own that ends with the thread.
TYPED_TEST(ExperimentDBTest, WorkerThreadUsesAConnectionOfItsOwn) {
    auto db = this->open();
    auto record = TypeParam::make(QStringLiteral("captured"));
    ASSERT_TRUE(db->insertExperiment(record));
    const int connectionsBefore = QSqlDatabase::connectionNames().size();

    bool found = false;
    bool updated = false;
    int connectionsDuring = 0;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        auto row = db->loadByUuid(record.uuid);
        found = bool(row);
        if (row) {
            row->exposureTime = QStringLiteral("500,");
            row->gain = QStringLiteral("16,");
            updated = db->updateExperiment(*row);
        }
        connectionsDuring = QSqlDatabase::connectionNames().size();
    }));
    worker->start();
    ASSERT_TRUE(worker->wait(10000));

    EXPECT_TRUE(found);
    EXPECT_TRUE(updated);
    EXPECT_EQ(connectionsDuring, connectionsBefore + 1);
    EXPECT_EQ(QSqlDatabase::connectionNames().size(), connectionsBefore);
    auto loaded = db->loadByUuid(record.uuid);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->exposureTime, QStringLiteral("500,"));
    EXPECT_EQ(loaded->gain, QStringLiteral("16,"));
}

TEST(VarnuExperimentDB, NamesMayRepeatAndTheLastRowWins) {
    const QString station = freshStationDir();
    Varnu_ExperimentDB db(station);
    auto first = VarnuTraits::make(QStringLiteral("Varnu001"));
    auto second = VarnuTraits::make(QStringLiteral("Varnu001"));
    second.resolution = QStringLiteral("532*425");
    second.brightness = 40;
    ASSERT_TRUE(db.insertExperiment(first));
    ASSERT_TRUE(db.insertExperiment(second));
    auto loaded = db.loadByName(QStringLiteral("Varnu001"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->uuid, second.uuid);
    EXPECT_EQ(loaded->resolution, QStringLiteral("532*425"));
    EXPECT_EQ(loaded->brightness, 40);
}

TEST(WestblotExperimentDB, ASecondRowOfTheSameNameIsRefused) {
    const QString station = freshStationDir();
    Westblot_ExperimentDB db(station);
    auto first = WestblotTraits::make(QStringLiteral("WestBlot_Single2024-03-01-10-00-05"));
    auto second = WestblotTraits::make(first.name);
    second.blackLevel = 99;
    ASSERT_TRUE(db.insertExperiment(first));
    EXPECT_FALSE(db.insertExperiment(second));
    auto loaded = db.loadByName(first.name);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->uuid, first.uuid);
    EXPECT_EQ(loaded->blackLevel, 10);
}

TEST(ExperimentDB, BothTablesShareOneFile) {
    const QString station = freshStationDir();
    Varnu_ExperimentDB gel(station);
    Westblot_ExperimentDB blot(station);
    ASSERT_TRUE(gel.insertExperiment(VarnuTraits::make(QStringLiteral("g"))));
    ASSERT_TRUE(blot.insertExperiment(WestblotTraits::make(QStringLiteral("w"))));
    const QString file = station + QStringLiteral("/DataBase/Experiment.db");
    EXPECT_EQ(rawRows(file, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                           "ORDER BY name")),
              (QList<QStringList>{{"Varnu_Experiment"}, {"Westblot_Experiment"}}));
}

}  // namespace
