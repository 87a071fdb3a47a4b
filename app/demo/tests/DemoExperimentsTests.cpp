// The demonstration experiments: records and pictures in both folders, laid
// out as captures lay them out, and nothing added by a second run.

#include "DemoExperiments.h"
#include "TestStation.h"
#include "TiffFiles.h"
#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"

#include <QDir>
#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(DemoExperimentsTest, SeedsRecordsAndBothPictureCopiesOnce) {
    TestStation station("demo");
    const QDateTime now(QDate(2026, 3, 10), QTime(8, 0));
    const DemoExperiments first = seedDemoExperiments(station.path(), now);
    ASSERT_EQ(first.error, "");
    EXPECT_EQ(first.gelUvRecords, 3);
    EXPECT_EQ(first.westernBlotRecords, 1);
    EXPECT_EQ(first.pictures, 12);
    EXPECT_EQ(station.userOption("storagePath").toString(), station.filePath("UserImages"));

    for (const QString& folder : {station.filePath("Pictures/26-03-09/Varnu/"),
                                  station.filePath("UserImages/26-03-09/Varnu/")}) {
        const TiffFacts facts = readTiffFacts(folder + "002.tif");
        ASSERT_TRUE(facts.read) << folder.toStdString();
        EXPECT_EQ(facts.bitsPerSample, 8);
        EXPECT_FLOAT_EQ(facts.xResolution, 600);
        EXPECT_EQ(facts.compression, 1);
    }
    EXPECT_TRUE(QFile::exists(station.filePath("UserImages/26-03-07/Varnu/001.tif")));

    {
        Varnu_ExperimentDB gelUv(station.path());
        const auto records = gelUv.loadAll();
        ASSERT_NE(records, nullptr);
        ASSERT_EQ(records->size(), 3);
        for (const VarnuExperiment& r : *records) {
            EXPECT_TRUE(QFile::exists(r.picSavedPath + r.name.mid(5) + ".tif"));
            EXPECT_LT(r.dateTime.date(), now.date());
        }
        Westblot_ExperimentDB blot(station.path());
        const auto blots = blot.loadAll();
        ASSERT_NE(blots, nullptr);
        ASSERT_EQ(blots->size(), 1);
        EXPECT_EQ(blots->first().expType, 1);
        EXPECT_EQ(QDir(blots->first().picSavedPath).entryList({"*.tif"}, QDir::Files).size(), 3);
        EXPECT_EQ(readTiffFacts(
                      QDir(blots->first().picSavedPath)
                          .filePath(QDir(blots->first().picSavedPath).entryList({"*.tif"}).first()))
                      .bitsPerSample,
                  16);
    }

    const DemoExperiments again = seedDemoExperiments(station.path(), now);
    EXPECT_EQ(again.error, "");
    EXPECT_EQ(again.gelUvRecords + again.westernBlotRecords + again.pictures, 0);
}
