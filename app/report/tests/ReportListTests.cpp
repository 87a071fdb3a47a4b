// The report list: the tree by day, delete with its files and audit rows,
// the detail dialog, and the function area that shows the list.

#include "ModalDriver.h"
#include "RP_FuncFrame.h"
#include "RP_ReportManageFrame.h"
#include "RP_ReportPrintFrame.h"
#include "TestStation.h"
#include "TiffFiles.h"
#include "Varnu_DetailDialog.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"
#include "login/CheckLoginDialog.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kDayA(QDate(2026, 2, 3), QTime(9, 0, 0));
const QDateTime kDayB(QDate(2026, 2, 5), QTime(14, 30, 0));

class ReportListTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (s_station != nullptr) {
            return;
        }
        s_station = new TestStation("report-list");
        s_station->writeMachineIni("320");
        s_control = CI_MainControl::getInstance();
        *s_control->currentUser = *s_control->userInfoDB->loadByName("tarsk");
    }

    void SetUp() override {
        for (const QString& connection : {s_control->varnuExperimentDB->connectionName(),
                                          s_control->westblotExperimentDB->connectionName()}) {
            QSqlQuery(QSqlDatabase::database(connection))
                .exec(connection == s_control->varnuExperimentDB->connectionName()
                          ? "DELETE FROM Varnu_Experiment"
                          : "DELETE FROM Westblot_Experiment");
        }
        QSqlQuery(QSqlDatabase::database(s_control->auditTrailDB->connectionName()))
            .exec("DELETE FROM AuditTrail");
        QDir(s_station->filePath("Pictures")).removeRecursively();
        QDir(s_station->filePath("UserImages")).removeRecursively();
        s_station->setUserOption("storagePath", s_station->filePath("UserImages"));
        s_station->setUserOption("isCheckLogin", 1);
        s_control->mainWindowShown = false;
        s_control->currentUser->authRptManage = true;
    }

    static QString pictureFolder(const QDateTime& when) {
        return s_station->filePath("Pictures/" + when.toString("yy-MM-dd") + "/Varnu/");
    }
    static QString copyFolder(const QDateTime& when) {
        return s_station->filePath("UserImages/" + when.toString("yy-MM-dd") + "/Varnu/");
    }

    // A gel/UV experiment Varnu<number> with its picture in both folders.
    static QUuid addGelUv(const QString& number, const QDateTime& when, bool pictures = true) {
        VarnuExperiment r;
        r.name = "Varnu" + number;
        r.dateTime = when;
        r.picSavedPath = pictureFolder(when);
        r.exposureTime = "300,";
        r.gain = "100,200,";
        EXPECT_TRUE(s_control->varnuExperimentDB->insertExperiment(r));
        if (pictures) {
            for (const QString& folder : {pictureFolder(when), copyFolder(when)}) {
                QDir().mkpath(folder);
                EXPECT_TRUE(writeGreyTiff(folder + number + ".tif", 16, 8, 8, 50));
            }
        }
        return r.uuid;
    }
    static QUuid addBlot(const QDateTime& when) {
        WestblotExperiment r;
        r.expType = 1;
        r.name = "WestBlot_Single" + when.toString("yyyy-MM-dd-hh-mm-ss");
        r.dateTime = when;
        r.binning = 1;
        r.exposureTime = "1000,2000,";
        r.gain = "3,3,";
        r.picSavedPath =
            s_station->filePath("Pictures/" + when.toString("yy-MM-dd") + "/" + r.name + "/");
        EXPECT_TRUE(s_control->westblotExperimentDB->insertExperiment(r));
        return r.uuid;
    }

    static QTreeWidget* tree(RP_ReportManageFrame& f) {
        return f.findChild<QTreeWidget*>("treeWidget_Report");
    }
    static QTreeWidgetItem* rowOf(RP_ReportManageFrame& f, const QUuid& uuid) {
        QTreeWidget* t = tree(f);
        for (int d = 0; d < t->topLevelItemCount(); ++d) {
            for (int e = 0; e < t->topLevelItem(d)->childCount(); ++e) {
                QTreeWidgetItem* row = t->topLevelItem(d)->child(e);
                if (row->text(7) == uuid.toString()) {
                    return row;
                }
            }
        }
        return nullptr;
    }
    static void check(RP_ReportManageFrame& f, const QList<QUuid>& uuids) {
        for (const QUuid& u : uuids) {
            ASSERT_NE(rowOf(f, u), nullptr);
            rowOf(f, u)->setCheckState(6, Qt::Checked);
        }
    }
    static QStringList dayTexts(RP_ReportManageFrame& f) {
        QStringList days;
        for (int d = 0; d < tree(f)->topLevelItemCount(); ++d) {
            days << tree(f)->topLevelItem(d)->text(0) + " " + tree(f)->topLevelItem(d)->text(6);
        }
        return days;
    }
    static int auditRows() {
        return s_control->auditTrailDB->countAuditTrailByLanguage(0) +
               s_control->auditTrailDB->countAuditTrailByLanguage(1);
    }
    static QStringList englishAudit() {
        QStringList texts;
        for (const AuditTrailInfo& row :
             s_control->auditTrailDB->loadAuditTrail(4, "", "", "", 0, 0, 1)) {
            texts.prepend(row.content);
        }
        return texts;
    }
    // Presses Delete, answering "Comfirm Delete?" with `answer`.
    static void pressDelete(RP_ReportManageFrame& f, QMessageBox::StandardButton answer) {
        ModalDriver driver;
        driver.answerMessageBox(answer);
        f.findChild<QPushButton*>("pushButton_Delete")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        ASSERT_EQ(driver.messages().size(), 1);
        EXPECT_EQ(driver.messages().first(), "Warning|Comfirm Delete?");
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
};

TestStation* ReportListTest::s_station = nullptr;
CI_MainControl* ReportListTest::s_control = nullptr;

TEST_F(ReportListTest, GroupsByDayNewestFirst) {
    const QUuid a1 = addGelUv("001", kDayA);
    const QUuid a2 = addGelUv("002", kDayA.addSecs(3600));
    addGelUv("003", kDayA.addSecs(7200));
    const QUuid b = addBlot(kDayB);
    RP_ReportManageFrame frame;
    frame.show();
    QTreeWidget* t = tree(frame);
    ASSERT_EQ(t->columnCount(), 8);
    EXPECT_TRUE(t->isColumnHidden(7));
    EXPECT_EQ(t->headerItem()->text(2), "Report Name    ");
    EXPECT_EQ(dayTexts(frame), QStringList({"2026-02-05 1", "2026-02-03 3"}));
    const QTreeWidgetItem* dayA = t->topLevelItem(1);
    EXPECT_EQ(dayA->child(0)->text(0), "11:00:00");
    EXPECT_EQ(dayA->child(2)->text(0), "09:00:00");
    const QTreeWidgetItem* gel = rowOf(frame, a1);
    ASSERT_NE(gel, nullptr);
    EXPECT_EQ(gel->text(1), "Varnu");
    EXPECT_EQ(gel->text(2), "Varnu001");
    EXPECT_EQ(gel->text(3), "1*1");
    EXPECT_EQ(gel->text(4), "300");
    EXPECT_EQ(gel->text(5), "100,200");
    EXPECT_EQ(gel->text(6), "");
    EXPECT_EQ(gel->checkState(6), Qt::Unchecked);
    EXPECT_EQ(gel->text(7), a1.toString());
    const QTreeWidgetItem* blot = rowOf(frame, b);
    EXPECT_EQ(blot->text(1), "WesternBlot");
    EXPECT_EQ(blot->text(3), "2*2");
    EXPECT_EQ(blot->text(4), "1000,2000");
    EXPECT_FALSE(t->topLevelItem(0)->isExpanded());

    frame.expandTreeWidgetHandle(true);
    EXPECT_TRUE(t->topLevelItem(0)->isExpanded() && t->topLevelItem(1)->isExpanded());
    rowOf(frame, a2)->setCheckState(6, Qt::Checked);
    frame.hide();
    frame.show();  // rebuilt on every show: collapsed and unchecked
    EXPECT_FALSE(t->topLevelItem(1)->isExpanded());
    EXPECT_EQ(rowOf(frame, a2)->checkState(6), Qt::Unchecked);
}

TEST_F(ReportListTest, EmptyViewGivesAnEmptyTree) {
    RP_ReportManageFrame frame;
    frame.show();
    EXPECT_EQ(tree(frame)->topLevelItemCount(), 0);
}

TEST_F(ReportListTest, DeletesTheCheckedGelUvExperimentsWithTheirTwoFiles) {
    struct Case {
        const char* what;
        QList<int> checked;  // indexes into the experiments below
        QStringList daysAfter;
        QStringList filesGone;  // numbers whose two files are removed
        int auditRows;
        QStringList firstEnglishAudit;  // the English texts, oldest first
    };
    // 0..2: gel/UV on day A ("007", "1007", "0071"), 3: western blot on day B.
    const Case cases[] = {
        {"one of three",
         {0},
         {"2026-02-05 1", "2026-02-03 2"},
         {"007"},
         4,
         {"Delete the report: " + pictureFolder(kDayA) + "007.tif",
          "Delete the report: " + copyFolder(kDayA) + "007.tif"}},
        {"all three",
         {0, 1, 2},
         {"2026-02-05 1"},
         {"007", "1007", "0071"},
         12,
         {"Delete the report: " + pictureFolder(kDayA) + "0071.tif",
          "Delete the report: " + copyFolder(kDayA) + "0071.tif"}},
        {"gel/UV with western blot",
         {1, 3},
         {"2026-02-05 1", "2026-02-03 2"},
         {"1007"},
         4,
         {"Delete the report: " + pictureFolder(kDayA) + "1007.tif",
          "Delete the report: " + copyFolder(kDayA) + "1007.tif"}},
        {"western blot alone", {3}, {"2026-02-05 1", "2026-02-03 3"}, {}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        const QList<QUuid> ids{addGelUv("007", kDayA), addGelUv("1007", kDayA.addSecs(60)),
                               addGelUv("0071", kDayA.addSecs(120)), addBlot(kDayB)};
        RP_ReportManageFrame frame;
        frame.show();
        QList<QUuid> checked;
        for (int i : c.checked) {
            checked << ids.at(i);
        }
        check(frame, checked);
        pressDelete(frame, QMessageBox::Yes);
        EXPECT_EQ(dayTexts(frame), c.daysAfter);
        for (const QString& number : QStringList{"007", "1007", "0071"}) {
            SCOPED_TRACE(number.toStdString());
            const bool gone = c.filesGone.contains(number);
            EXPECT_EQ(QFile::exists(pictureFolder(kDayA) + number + ".tif"), !gone);
            EXPECT_EQ(QFile::exists(copyFolder(kDayA) + number + ".tif"), !gone);
        }
        EXPECT_EQ(auditRows(), c.auditRows);
        EXPECT_EQ(englishAudit().mid(0, 2), c.firstEnglishAudit);
        for (int i = 0; i < 3; ++i) {
            const bool deleted = c.checked.contains(i);
            EXPECT_EQ(s_control->varnuExperimentDB->loadByUuid(ids.at(i)) == nullptr, deleted);
            EXPECT_EQ(rowOf(frame, ids.at(i)) == nullptr, deleted);
        }
        // Western-blot rows stay, checked as they were.
        ASSERT_NE(rowOf(frame, ids.at(3)), nullptr);
        EXPECT_EQ(rowOf(frame, ids.at(3))->checkState(6),
                  c.checked.contains(3) ? Qt::Checked : Qt::Unchecked);
        EXPECT_NE(s_control->westblotExperimentDB->loadByUuid(ids.at(3)), nullptr);
    }
}

TEST_F(ReportListTest, DeleteAuditsOnlyWhatWasRemoved) {
    // A record whose folder is gone, one whose copy is gone, one that
    // vanished from the database behind the list.
    const QUuid noFolder = addGelUv("011", kDayA, false);
    const QUuid noCopy = addGelUv("012", kDayA.addSecs(60));
    QFile::remove(copyFolder(kDayA) + "012.tif");
    const QUuid vanished = addGelUv("013", kDayA.addSecs(120));
    RP_ReportManageFrame frame;
    frame.show();
    check(frame, {noFolder, noCopy, vanished});
    ASSERT_TRUE(s_control->varnuExperimentDB->deleteExperiment(vanished));
    pressDelete(frame, QMessageBox::Yes);

    EXPECT_EQ(englishAudit(),
              QStringList({"Delete the report: " + pictureFolder(kDayA) + "012.tif"}));
    EXPECT_FALSE(QFile::exists(pictureFolder(kDayA) + "012.tif"));
    // The vanished record's files are not touched.
    EXPECT_TRUE(QFile::exists(pictureFolder(kDayA) + "013.tif"));
    EXPECT_TRUE(QFile::exists(copyFolder(kDayA) + "013.tif"));
    EXPECT_EQ(s_control->varnuExperimentDB->loadByUuid(noFolder), nullptr);
    EXPECT_EQ(tree(frame)->topLevelItemCount(), 0);
}

TEST_F(ReportListTest, RefusalsChangeNothing) {
    const QUuid id = addGelUv("021", kDayA);
    // No right: the button is off.
    s_control->currentUser->authRptManage = false;
    {
        RP_ReportManageFrame frame;
        frame.show();
        EXPECT_FALSE(frame.findChild<QPushButton*>("pushButton_Delete")->isEnabled());
    }
    s_control->currentUser->authRptManage = true;
    RP_ReportManageFrame frame;
    frame.show();
    EXPECT_TRUE(frame.findChild<QPushButton*>("pushButton_Delete")->isEnabled());
    check(frame, {id});
    pressDelete(frame, QMessageBox::No);

    // A refused password re-check: not even the question is asked.
    s_control->mainWindowShown = true;
    s_station->setUserOption("isCheckLogin", 0);
    ModalDriver driver;
    driver.onDialog([](QDialog* d) {
        ASSERT_NE(qobject_cast<CheckLoginDialog*>(d), nullptr);
        d->findChild<QPushButton*>("pushButton_Cancel")->click();
    });
    frame.findChild<QPushButton*>("pushButton_Delete")->click();
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_TRUE(driver.messages().isEmpty());

    EXPECT_NE(s_control->varnuExperimentDB->loadByUuid(id), nullptr);
    EXPECT_TRUE(QFile::exists(pictureFolder(kDayA) + "021.tif"));
    EXPECT_NE(rowOf(frame, id), nullptr);
    EXPECT_EQ(auditRows(), 0);
}

TEST_F(ReportListTest, DetailOpensTheDialogForTheCheckedOrDoubleClickedRows) {
    const QUuid gel = addGelUv("031", kDayA);
    const QUuid gel2 = addGelUv("032", kDayA.addSecs(60));
    const QUuid blot = addBlot(kDayB);
    RP_ReportManageFrame frame;
    frame.show();
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        frame.findChild<QPushButton*>("pushButton_Detail")->click();
        EXPECT_EQ(driver.messages(), QStringList({"Tips|Please select at least 1 picture!"}));
    }
    check(frame, {gel, blot});
    int records = -1;
    auto closeDetail = [&records](QDialog* d) {
        auto* detail = qobject_cast<Varnu_DetailDialog*>(d);
        ASSERT_NE(detail, nullptr);
        records = detail->recordCount();
        detail->reject();
    };
    {
        ModalDriver driver;
        driver.onDialog(closeDetail);
        frame.findChild<QPushButton*>("pushButton_Detail")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_EQ(records, 1);
    }
    {
        ModalDriver driver;
        driver.onDialog(closeDetail);
        QTreeWidgetItem* row = rowOf(frame, gel2);  // not checked
        emit tree(frame)->itemDoubleClicked(row, 0);
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_EQ(records, 1);
    }
    // A day row opens nothing (a dialog would block here until the watchdog).
    emit tree(frame)->itemDoubleClicked(tree(frame)->topLevelItem(0), 0);
}

TEST_F(ReportListTest, FunctionAreaShowsTheListAndPassesExpandOn) {
    addGelUv("041", kDayA);
    RP_FuncFrame area;
    area.show();
    auto* list = area.findChild<RP_ReportManageFrame*>("frame_ReportManage");
    auto* print = area.findChild<RP_ReportPrintFrame*>("frame_ReportPrint");
    ASSERT_NE(list, nullptr);
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(print->isVisible());
    QTreeWidget* t = tree(*list);
    ASSERT_EQ(t->topLevelItemCount(), 1);
    EXPECT_FALSE(t->topLevelItem(0)->isExpanded());
    area.slot_ChangeFuncFrame(RP_ReportManage, true);
    EXPECT_TRUE(t->topLevelItem(0)->isExpanded());
    area.slot_ChangeFuncFrame(RP_ReportManage, false);
    EXPECT_FALSE(t->topLevelItem(0)->isExpanded());
    area.slot_ChangeFuncFrame(RP_ReportPrint, false);
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(print->isVisible());
}

TEST(ReportFuncFrameDeathTest, UnknownTypeIsFatal) {
    EXPECT_DEATH(
        {
            TestStation station("report-death", false);
            station.writeMachineIni("320");
            RP_FuncFrame area;
            area.slot_ChangeFuncFrame(static_cast<RP_FuncFrameType>(2), false);
        },
        "Unknow RP_FuncFrameType.");
}

}  // namespace
