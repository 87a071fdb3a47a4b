#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "database/ExperimentViewDB.h"
#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"

namespace {

class ExperimentViewDBTest : public ::testing::Test {
  protected:
    void SetUp() override {
        station = freshStationDir();
        gel = std::make_unique<Varnu_ExperimentDB>(station);
        blot = std::make_unique<Westblot_ExperimentDB>(station);
    }

    std::unique_ptr<ExperimentViewDB> openView() {
        return std::make_unique<ExperimentViewDB>(station);
    }

    VarnuExperiment gelAt(const QString& name, const QTime& time) {
        VarnuExperiment row;
        row.name = name;
        row.dateTime = QDateTime(QDate(2024, 3, 1), time);
        row.resolution = QStringLiteral("1064*850");
        row.brightness = 25;
        row.binning = 1;
        row.exposureTime = QStringLiteral("300,");
        row.gain = QStringLiteral("8,");
        row.contrast = 10;
        row.gamma = 2;
        row.picSavedPath = QStringLiteral("/p/gel/");
        EXPECT_TRUE(gel->insertExperiment(row));
        return row;
    }

    WestblotExperiment blotAt(const QString& name, const QTime& time) {
        WestblotExperiment row;
        row.expType = 1;
        row.name = name;
        row.dateTime = QDateTime(QDate(2024, 3, 1), time);
        row.blackLevel = 10;
        row.binning = 2;
        row.exposureTime = QStringLiteral("100,200,");
        row.gain = QStringLiteral("585,585,");
        row.contrast = 140;
        row.gamma = 66;
        row.picSavedPath = QStringLiteral("/p/blot/");
        EXPECT_TRUE(blot->insertExperiment(row));
        return row;
    }

    static QStringList names(const QList<ExperimentViewInfo>& rows) {
        QStringList list;
        for (const ExperimentViewInfo& row : rows) {
            list.append(row.name);
        }
        return list;
    }

    QString station;
    std::unique_ptr<Varnu_ExperimentDB> gel;
    std::unique_ptr<Westblot_ExperimentDB> blot;
};

TEST_F(ExperimentViewDBTest, BuildsTheViewAtStartAndRebuildsItOnRequest) {
    std::unique_ptr<ExperimentViewDB> view;
    {
        LogCapture log;
        view = openView();
        EXPECT_EQ(log.lines(), (QStringList{"[Debug] connectDatabase ExperimentView.db.",
                                            "[Debug] Experiment.db open success.",
                                            "[Debug] view ExperimentView create success."}));
    }
    EXPECT_EQ(view->connectionName(), QStringLiteral("ExperimentView"));
    for (int round = 0; round < 2; ++round) {
        LogCapture log;
        view->recreateView();
        EXPECT_EQ(log.lines(), (QStringList{"[Debug] drop view ExperimentView success.",
                                            "[Debug] view ExperimentView create success."}));
    }
    EXPECT_EQ(rawRows(station + QStringLiteral("/DataBase/Experiment.db"),
                      QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view'")),
              QList<QStringList>{{"ExperimentView"}});
}

TEST_F(ExperimentViewDBTest, EmptyTablesLoadNull) {
    EXPECT_FALSE(openView()->loadAll());
}

TEST_F(ExperimentViewDBTest, JoinsBothKindsNewestFirstKeepingEqualRows) {
    auto view = openView();
    const VarnuExperiment gelRow = gelAt(QStringLiteral("Varnu001"), QTime(10, 0, 5));
    const WestblotExperiment blotRow = blotAt(QStringLiteral("WestBlot_A"), QTime(10, 0, 4));
    gelAt(QStringLiteral("Varnu002"), QTime(9, 0, 0));
    blotAt(QStringLiteral("WestBlot_B"), QTime(9, 0, 0));  // the same time as Varnu002
    blotAt(QStringLiteral("WestBlot_C"), QTime(11, 30, 0));

    auto rows = view->loadAll();
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 5);
    EXPECT_EQ(names(rows->mid(0, 3)), (QStringList{"WestBlot_C", "Varnu001", "WestBlot_A"}));
    QStringList sameTime = names(rows->mid(3));
    sameTime.sort();
    EXPECT_EQ(sameTime, (QStringList{"Varnu002", "WestBlot_B"}));

    const ExperimentViewInfo& g = rows->at(1);
    EXPECT_EQ(g.uuid, gelRow.uuid);
    EXPECT_EQ(g.expType, 0);
    EXPECT_EQ(g.dateTime, gelRow.dateTime);
    EXPECT_EQ(g.picSavedPath, QStringLiteral("/p/gel/"));
    EXPECT_EQ(g.binning, 1);
    EXPECT_EQ(g.exposureTime, QStringLiteral("300,"));
    EXPECT_EQ(g.gain, QStringLiteral("8,"));
    EXPECT_EQ(g.contrast, 10);
    EXPECT_EQ(g.gamma, 2);
    const ExperimentViewInfo& w = rows->at(2);
    EXPECT_EQ(w.uuid, blotRow.uuid);
    EXPECT_EQ(w.expType, 1);
    EXPECT_EQ(w.gain, QStringLiteral("585,585,"));
    EXPECT_EQ(w.contrast, 140);

    // The view shows the ten shared columns only.
    EXPECT_EQ(rawRows(station + QStringLiteral("/DataBase/Experiment.db"),
                      QStringLiteral("SELECT group_concat(name, ',') FROM "
                                     "pragma_table_info('ExperimentView')")),
              QList<QStringList>{{"uuid,expType,name,dateTime,picSavedPath,binning,exposureTime,"
                                  "gain,contrast,gamma"}});
}

TEST_F(ExperimentViewDBTest, FollowsTheTablesBetweenRebuilds) {
    auto view = openView();
    const VarnuExperiment row = gelAt(QStringLiteral("Varnu001"), QTime(10, 0, 0));
    ASSERT_TRUE(view->loadAll());
    ASSERT_TRUE(gel->deleteExperiment(row.uuid));
    EXPECT_FALSE(view->loadAll());
}

}  // namespace
