// Report titles: stored as typed, audited literally after the success box,
// reloaded on every show, and never confirmed when the settings file cannot
// be written.

#include "ReportTitleFrame.h"
#include "SystemTestSupport.h"
#include "controller/CI_MainControl.h"
#include "settings/UserOpts.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "QtPrinters.h"

#include <memory>

namespace {

class ReportTitleTest : public SystemPageTest {
  protected:
    void SetUp() override {
        SystemPageTest::SetUp();
        m_page = std::make_unique<ReportTitleFrame>(nullptr);
        m_page->show();
    }
    QLineEdit* edit(const char* name) { return m_page->findChild<QLineEdit*>(name); }
    QStringList save(QMessageBox::StandardButton answer = QMessageBox::Ok) {
        ModalDriver driver;
        passRecheck(driver, "tarsk");
        driver.answerMessageBox(answer);
        m_page->findChild<QPushButton*>("pushButton_Save")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        return driver.messages();
    }
    std::unique_ptr<ReportTitleFrame> m_page;
};

TEST_F(ReportTitleTest, TitlesAreStoredAndAuditedAsTyped) {
    const std::pair<QString, QString> cases[] = {
        {"", ""},
        {"Gel %1 report %2", "%2 then %1"},
        {"He said \"it's\" fine", "'quoted'"},
        {"x'); DROP TABLE AuditTrail;--", "1 OR 1=1"},
        {"中文标题", "Sub"},
    };
    for (const auto& [mainTitle, subTitle] : cases) {
        SCOPED_TRACE(mainTitle.toStdString());
        edit("lineEdit_MainTitle")->setText(mainTitle);
        edit("lineEdit_SubTitle")->setText(subTitle);
        EXPECT_EQ(m_page->findChild<QLabel*>("label_MainTitleShow")->text(), mainTitle);
        EXPECT_EQ(m_page->findChild<QLabel*>("label_SubTitleShow")->text(), subTitle);
        const int before = lastAuditId();
        EXPECT_EQ(save(), QStringList{"Tips|Save success!"});
        EXPECT_EQ(s_station->userOption("MainTitle").toString(), mainTitle);
        EXPECT_EQ(s_station->userOption("SubTitle").toString(), subTitle);
        EXPECT_EQ(auditRowsAfter(before),
                  (QStringList{
                      "0|系统|tarsk|保存报告标题: 主标题: " + mainTitle + "  副标题: " + subTitle,
                      "1|SystemPage|tarsk|Save report title: main title: " + mainTitle +
                          " subtitle: " + subTitle}));
    }
}

TEST_F(ReportTitleTest, UnsavedEditsGiveWayToTheStoredTitlesOnShow) {
    s_station->setUserOption("MainTitle", "Stored main");
    s_station->setUserOption("SubTitle", "Stored sub");
    m_page->hide();
    m_page->show();
    EXPECT_EQ(edit("lineEdit_MainTitle")->text(), "Stored main");
    edit("lineEdit_MainTitle")->setText("typed, not saved");
    m_page->hide();
    m_page->show();
    EXPECT_EQ(edit("lineEdit_MainTitle")->text(), "Stored main");
    EXPECT_EQ(edit("lineEdit_SubTitle")->text(), "Stored sub");
}

TEST_F(ReportTitleTest, ARefusedRecheckStoresNothing) {
    s_station->setUserOption("MainTitle", "Kept");
    edit("lineEdit_MainTitle")->setText("Changed");
    const int before = lastAuditId();
    ModalDriver driver;
    refuseRecheck(driver);
    m_page->findChild<QPushButton*>("pushButton_Save")->click();
    EXPECT_EQ(s_station->userOption("MainTitle").toString(), "Kept");
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
}

TEST_F(ReportTitleTest, AnUnwritableSettingsFileIsNeitherConfirmedNorAudited) {
    s_station->setUserOption("MainTitle", "Before");
    s_station->setUserOption("SubTitle", "Sub before");
    const QString ini = s_station->filePath("Ini/userOption.ini");
    if (!makeUnwritable(ini)) {
        GTEST_SKIP() << "this file system cannot make a file unwritable";
    }
    edit("lineEdit_MainTitle")->setText("After");
    edit("lineEdit_SubTitle")->setText("Sub after");
    const int before = lastAuditId();
    const QStringList messages = save();
    makeWritable(ini);
    EXPECT_EQ(messages, QStringList{"Tips|Save failed, the settings file cannot be written!"});
    EXPECT_TRUE(auditRowsAfter(before).isEmpty());
    EXPECT_EQ(s_station->userOption("MainTitle").toString(), "Before");
    EXPECT_EQ(s_control->userOpt.MainTitle, "Before");
    // Neither title is kept: the page shows the stored ones again.
    EXPECT_EQ(s_station->userOption("SubTitle").toString(), "Sub before");
    EXPECT_EQ(edit("lineEdit_MainTitle")->text(), "Before");
    EXPECT_EQ(edit("lineEdit_SubTitle")->text(), "Sub before");
}

TEST_F(ReportTitleTest, PreviewPictureFollowsTheLanguage) {
    const QImage zh(":/Image/titlepreview.PNG");
    const QImage en(":/Image/titlepreview_en.PNG");
    ASSERT_FALSE(zh.isNull());
    ASSERT_NE(zh, en);
    auto* preview = m_page->findChild<QLabel*>("label_Preview");
    EXPECT_EQ(preview->pixmap(Qt::ReturnByValue).toImage().convertToFormat(en.format()), en);
    s_control->changeLanguage(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->pixmap(Qt::ReturnByValue).toImage().convertToFormat(zh.format()), zh);
    s_control->changeLanguage(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->pixmap(Qt::ReturnByValue).toImage().convertToFormat(en.format()), en);
}

}  // namespace
