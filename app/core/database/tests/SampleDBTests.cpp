#include <gtest/gtest.h>

#include <QFile>
#include <memory>

#include "TestSupport.h"
#include "database/SampleDB.h"

namespace {

class SampleDBTest : public ::testing::Test {
  protected:
    void SetUp() override { station = freshStationDir(); }
    std::unique_ptr<SampleDB> open() { return std::make_unique<SampleDB>(station); }

    static SampleInfo sample(const QString& name, const QString& note) {
        SampleInfo info;
        info.sampleName = name;
        info.note = note;
        return info;
    }

    QString station;
};

TEST_F(SampleDBTest, FreshStationStartsWithAnEmptyTable) {
    LogCapture log;
    auto db = open();
    EXPECT_TRUE(QFile::exists(station + QStringLiteral("/DataBase/Sample.db")));
    EXPECT_EQ(log.lines(),
              (QStringList{"[Debug] connectDatabase Sample.db.", "[Debug] Sample.db open success.",
                           "[Debug] Table create success."}));
    EXPECT_FALSE(db->loadAll());
    EXPECT_TRUE(db->loadSampleNames().isEmpty());
}

TEST_F(SampleDBTest, InsertsListsAndDeletes) {
    auto db = open();
    const SampleInfo dna = sample(QStringLiteral("DNA"), QStringLiteral("same note"));
    const SampleInfo rna = sample(QStringLiteral("RNA 'total'"), QStringLiteral("same note"));
    ASSERT_TRUE(db->insertSample(dna));
    ASSERT_TRUE(db->insertSample(rna));  // notes may repeat
    EXPECT_FALSE(db->insertSample(sample(QStringLiteral("DNA"), QStringLiteral("other"))));

    QStringList names = db->loadSampleNames();
    names.sort();
    EXPECT_EQ(names, (QStringList{"DNA", "RNA 'total'"}));
    auto all = db->loadAll();
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 2);
    EXPECT_EQ(all->at(0).uuid, dna.uuid);
    EXPECT_EQ(all->at(0).sampleName, QStringLiteral("DNA"));
    EXPECT_EQ(all->at(1).sampleName, QStringLiteral("RNA 'total'"));
    EXPECT_EQ(all->at(1).note, QStringLiteral("same note"));

    EXPECT_TRUE(db->deleteSample(dna.uuid));
    EXPECT_FALSE(db->deleteSample(QUuid::createUuid()));  // no such row
    EXPECT_EQ(db->loadSampleNames(), QStringList{QStringLiteral("RNA 'total'")});
    EXPECT_TRUE(db->insertSample(sample(QStringLiteral("DNA"), QString())));  // name free again
}

TEST_F(SampleDBTest, SecondStartKeepsTheRows) {
    ASSERT_TRUE(open()->insertSample(sample(QStringLiteral("Protein"), QString())));
    LogCapture log;
    auto db = open();
    EXPECT_FALSE(log.contains(QStringLiteral("[Debug] Table create success.")));
    EXPECT_EQ(db->loadSampleNames(), QStringList{QStringLiteral("Protein")});
}

}  // namespace
