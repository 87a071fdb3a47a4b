// Sample types: the name validator, exact duplicate names, notes stored as
// typed, deleting the current row, and a failed insert that keeps the
// dialog open.

#include "SampleDialog.h"
#include "SampleTypeFrame.h"
#include "SystemTestSupport.h"
#include "controller/CI_MainControl.h"
#include "database/SampleDB.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTextEdit>

#include "QtPrinters.h"

#include <memory>

namespace {

class SampleTypeTest : public SystemPageTest {
  protected:
    void openPage() {
        m_page = std::make_unique<SampleTypeFrame>(nullptr);
        m_page->show();
        m_table = m_page->findChild<QTableWidget*>("tableWidget_Sample");
    }
    QStringList rows() const {
        QStringList texts;
        for (int row = 0; row < m_table->rowCount(); ++row)
            texts << m_table->item(row, 0)->text() + "=" + m_table->item(row, 1)->text();
        return texts;
    }
    // Runs the dialog of Add with `name` and `note`, pressing OK once; the
    // warning it shows, or "accepted".
    QString add(const QString& name, const QString& note) {
        ModalDriver driver;
        QString outcome = "accepted";
        driver.onDialog([&](QDialog* d) {
            d->findChild<QLineEdit*>("lineEdit_SampleName")->setText(name);
            d->findChild<QTextEdit*>("textEdit_Note")->setPlainText(note);
            d->findChild<QPushButton*>("pushButton_OK")->click();
            if (d->isVisible()) {
                outcome = d->findChild<QLabel*>("label_Warning")->text() +
                          " typed:" + d->findChild<QLineEdit*>("lineEdit_SampleName")->text();
                d->reject();
            }
        });
        m_page->findChild<QPushButton*>("pushButton_Add")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        return outcome;
    }
    // Runs a statement on the sample database apart from the store.
    void rawSql(const QString& statement) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "sample-raw");
            db.setDatabaseName(s_station->filePath("DataBase/Sample.db"));
            ASSERT_TRUE(db.open());
            QSqlQuery query(db);
            ASSERT_TRUE(query.exec(statement)) << statement.toStdString();
        }
        QSqlDatabase::removeDatabase("sample-raw");
    }

    std::unique_ptr<SampleTypeFrame> m_page;
    QTableWidget* m_table = nullptr;
};

TEST_F(SampleTypeTest, NameValidator) {
    SampleDialog dialog;
    const QValidator* validator = dialog.findChild<QLineEdit*>("lineEdit_SampleName")->validator();
    ASSERT_NE(validator, nullptr);
    const std::pair<const char*, bool> cases[] = {{"DNA", true},
                                                  {"1kb", true},
                                                  {"a b", false},
                                                  {"a-b", false},
                                                  {"\xc3\xa9", false},
                                                  {"aaaaaaaaaaaaaaaaaaaa", true},
                                                  {"aaaaaaaaaaaaaaaaaaaaa", false}};
    for (const auto& [text, accepted] : cases) {
        QString input = QString::fromUtf8(text);
        int pos = input.size();
        EXPECT_EQ(validator->validate(input, pos) != QValidator::Invalid, accepted) << text;
    }
}

TEST_F(SampleTypeTest, AddsDeletesAndRefusesEmptyOrStoredNames) {
    openPage();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(add("", "x"), "Sample name empty ! typed:");
    EXPECT_EQ(add("Plasmid", ""), "accepted");
    EXPECT_EQ(add("Plasmid", "again"), "Sample name exists ! typed:Plasmid");
    EXPECT_EQ(add("plasmid", "line 1\nline 2"), "accepted");
    EXPECT_EQ(rows(), (QStringList{"Plasmid=", "plasmid=line 1\nline 2"}));
    auto stored = s_control->sampleDB->loadAll();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->at(0).note, "");

    // Delete without a current row does nothing; with one it deletes at once.
    m_table->setCurrentCell(-1, -1);
    m_page->findChild<QPushButton*>("pushButton_Delete")->click();
    EXPECT_EQ(rows().size(), 2);
    m_table->setCurrentCell(0, 0);
    LogLines log;
    m_page->findChild<QPushButton*>("pushButton_Delete")->click();
    EXPECT_TRUE(log.contains("sample Plasmiddelete success."));
    EXPECT_EQ(rows(), (QStringList{"plasmid=line 1\nline 2"}));
}

TEST_F(SampleTypeTest, AFailedInsertKeepsTheDialogOpenWithWhatWasTyped) {
    openPage();
    rawSql("CREATE TRIGGER refuse BEFORE INSERT ON Sample BEGIN SELECT RAISE(ABORT, 'no'); END");
    LogLines log;
    EXPECT_EQ(add("Refused1", "n"), "Sample save failed ! typed:Refused1");
    EXPECT_TRUE(log.contains("save Refused1 false"));
    rawSql("DROP TRIGGER refuse");
    EXPECT_FALSE(s_control->sampleDB->loadSampleNames().contains("Refused1"));
    EXPECT_EQ(add("Refused1", "n"), "accepted");
}

TEST_F(SampleTypeTest, DeletingARowRemovedBehindThePageFailsAndRefreshes) {
    openPage();
    ASSERT_EQ(add("Gone1", ""), "accepted");
    const int row = rows().indexOf("Gone1=");
    ASSERT_GE(row, 0);
    rawSql("DELETE FROM Sample WHERE sampleName = 'Gone1'");
    m_table->setCurrentCell(row, 0);
    LogLines log;
    m_page->findChild<QPushButton*>("pushButton_Delete")->click();
    EXPECT_TRUE(log.contains("sample Gone1delete failed."));
    EXPECT_FALSE(rows().contains("Gone1="));
}

}  // namespace
