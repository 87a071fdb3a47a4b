// The audit-trail page: paging, turning to a page, the user and time
// filters (bound values, local times against stored UTC), the language of
// the rows, and the time fields' pickers.

#include "AuditTrailPageFrame.h"
#include "TestStation.h"
#include "TimeEdit.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "widgets/Datetime.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

class AuditTrailPageTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (s_station != nullptr) {
            return;
        }
        // A zone east of UTC, so stored and shown times differ by 8 hours.
        qputenv("TZ", "Asia/Shanghai");
        tzset();
        s_station = new TestStation("audit-page");
        s_station->writeMachineIni("320");
        s_control = CI_MainControl::getInstance();
        ASSERT_TRUE(s_control->userInfoDB->insertUser(
            UserInfo("alice", "Secret1", "Alice", false, false, false, false, false, false)));
        // A name the user dialog would refuse, as an older database may hold.
        ASSERT_TRUE(s_control->userInfoDB->insertUser(
            UserInfo("o'brien\" OR 1=1 --", "pw", "OB", false, false, false, false, false, false)));
    }

    void SetUp() override {
        clearRows();
        s_station->setUserOption("LanguageID", 1);
        page = std::make_unique<AuditTrailPageFrame>();
        page->resize(1040, 621);
    }

    static QSqlDatabase db() {
        return QSqlDatabase::database(s_control->auditTrailDB->connectionName());
    }
    static void clearRows() { QSqlQuery(db()).exec("DELETE FROM AuditTrail"); }

    // `count` rows of one language and handler, one a minute from `firstUtc`,
    // with the contents "<prefix>0", "<prefix>1", ...
    static void addRows(int count, int languageId, const QString& handler,
                        const QString& prefix = "row",
                        const QDateTime& firstUtc = QDateTime(QDate(2026, 3, 1), QTime(8, 0),
                                                              Qt::UTC)) {
        QSqlDatabase d = db();
        d.transaction();
        QSqlQuery q(d);
        q.prepare(
            "INSERT INTO AuditTrail(timestamp, model, handler, content, languageId) "
            "VALUES(:t, :m, :h, :c, :l)");
        for (int i = 0; i < count; ++i) {
            q.bindValue(":t", firstUtc.addSecs(60 * i).toString("yyyy-MM-dd hh:mm:ss"));
            q.bindValue(":m", AuditTrailDB::pageName(1, languageId));
            q.bindValue(":h", handler);
            q.bindValue(":c", prefix + QString::number(i));
            q.bindValue(":l", languageId);
            ASSERT_TRUE(q.exec());
        }
        d.commit();
    }

    template <typename T>
    T* child(const char* name) {
        T* w = page->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTableWidget* table() { return child<QTableWidget>("tableWidget"); }
    QString cell(int row, int column) {
        QTableWidgetItem* item = table()->item(row, column);
        return item != nullptr ? item->text() : QString();
    }
    int filledRows() {
        int n = 0;
        for (int r = 0; r < table()->rowCount(); ++r) {
            n += table()->item(r, 0) != nullptr ? 1 : 0;
        }
        return n;
    }
    QString totalPages() { return child<QLabel>("label_totalPage")->text(); }
    QString shownPage() { return child<QLabel>("label_curPage")->text(); }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    void turnTo(const QString& text) {
        child<QLineEdit>("lineEdit_turnToPage")->setText(text);
        click("pushButton_turn");
    }
    void selectUser(const QString& name) {
        QComboBox* users = child<QComboBox>("comboBox_user");
        users->setCurrentIndex(users->findText(name));
    }

    std::unique_ptr<AuditTrailPageFrame> page;
    static TestStation* s_station;
    static CI_MainControl* s_control;
};

TestStation* AuditTrailPageTest::s_station = nullptr;
CI_MainControl* AuditTrailPageTest::s_control = nullptr;

TEST_F(AuditTrailPageTest, BuiltEmptyWithTheFormsColumns) {
    EXPECT_EQ(page->currentPage(), 0);
    EXPECT_EQ(table()->rowCount(), 0);
    ASSERT_EQ(table()->columnCount(), 5);
    EXPECT_EQ(table()->columnWidth(0), 100);
    const QStringList headers{"Module", "Content", "Handler", "Operating Time"};
    for (int c = 1; c < 5; ++c) {
        EXPECT_EQ(table()->horizontalHeaderItem(c)->text(), headers.at(c - 1));
    }
    EXPECT_TRUE(child<QLineEdit>("lineEdit_startTime")->isReadOnly());
}

// On a 1280 x 1024 screen, in both languages and under the program's sheet,
// every column shows within the table: no horizontal scrolling, and the
// module, handler and time columns as wide as their texts.
TEST_F(AuditTrailPageTest, ColumnsFitTheWidthOfA1280PixelScreen) {
    QFile sheet(":/Style/base.css");
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    QWidget window;
    window.setStyleSheet(QString::fromLatin1(sheet.readAll()));
    page.reset();
    for (int language : {0, 1}) {
        s_control->changeLanguage(language);
        clearRows();
        addRows(5, language, "tarsk", "row",
                QDateTime(QDate(2026, 12, 11), QTime(2, 32, 53), Qt::UTC));
        addRows(5, language, "alice");
        auto* frame = new AuditTrailPageFrame(&window);
        // The body (and the page in it) spans the whole width of the main
        // window, under the head bar of 85 pixels.
        window.resize(1280, 939);
        frame->setGeometry(0, 0, 1280, 939);
        window.show();
        frame->showPage();
        QCoreApplication::processEvents();
        auto* t = frame->findChild<QTableWidget*>("tableWidget");
        ASSERT_NE(t, nullptr);
        QHeaderView* header = t->horizontalHeader();
        EXPECT_LE(header->length(), t->viewport()->width()) << "language " << language;
        EXPECT_FALSE(t->horizontalScrollBar()->isVisible()) << "language " << language;
        for (int column : {1, 3, 4}) {
            // The header's titles are bold with 7 pixels of padding at each
            // side; a cell's text keeps a few pixels from the grid.
            QFont bold = header->font();
            bold.setBold(true);
            int widest =
                QFontMetrics(bold).horizontalAdvance(t->horizontalHeaderItem(column)->text()) + 14;
            for (int row = 0; row < t->rowCount(); ++row) {
                if (QTableWidgetItem* item = t->item(row, column)) {
                    widest = qMax(widest, t->fontMetrics().horizontalAdvance(item->text()) + 6);
                }
            }
            EXPECT_GE(t->columnWidth(column), widest)
                << "language " << language << " column " << column;
        }
        EXPECT_GE(t->columnWidth(2), 400) << "language " << language;
        delete frame;
    }
    s_control->changeLanguage(1);
}

TEST_F(AuditTrailPageTest, PagesThirtyRowsAtATime) {
    struct Case {
        int rows;
        int pages;
        int rowsOnLastPage;
    };
    for (const Case c : {Case{0, 0, 0}, Case{30, 1, 30}, Case{31, 2, 1}, Case{61, 3, 1}}) {
        SCOPED_TRACE(c.rows);
        clearRows();
        addRows(c.rows, 1, "alice");
        page->showPage();
        EXPECT_EQ(totalPages(), QString::number(c.pages));
        EXPECT_EQ(shownPage(), "1");
        EXPECT_EQ(table()->rowCount(), 30);
        EXPECT_EQ(filledRows(), std::min(c.rows, 30));
        if (c.rows > 0) {
            // Newest first, positions from 1.
            EXPECT_EQ(cell(0, 0), "1");
            EXPECT_EQ(cell(0, 2), "row" + QString::number(c.rows - 1));
        }
        click("pushButton_pre");
        EXPECT_EQ(page->currentPage(), 1);
        for (int i = 1; i < c.pages; ++i) {
            click("pushButton_next");
        }
        EXPECT_EQ(page->currentPage(), std::max(c.pages, 1));
        EXPECT_EQ(filledRows(), c.rowsOnLastPage);
        if (c.pages > 1) {
            EXPECT_EQ(cell(0, 0), "1");  // the position restarts on every page
            EXPECT_EQ(cell(0, 2), "row" + QString::number(c.rowsOnLastPage - 1));
        }
        click("pushButton_next");  // beyond the last page: nothing
        EXPECT_EQ(page->currentPage(), std::max(c.pages, 1));
    }
}

TEST_F(AuditTrailPageTest, TurnsOnlyToAnExistingPage) {
    addRows(61, 1, "alice");
    page->showPage();
    struct Case {
        const char* text;
        int page;
        const char* fieldAfter;
    };
    for (const Case c : {Case{"", 1, ""}, Case{"x", 1, ""}, Case{"0", 1, ""}, Case{"4", 1, ""},
                         Case{"-1", 1, ""}, Case{"3", 3, "3"}, Case{"2", 2, "2"}}) {
        SCOPED_TRACE(c.text);
        turnTo(c.text);
        EXPECT_EQ(page->currentPage(), c.page);
        EXPECT_EQ(shownPage(), QString::number(c.page));
        EXPECT_EQ(child<QLineEdit>("lineEdit_turnToPage")->text(), c.fieldAfter);
    }
    // Return in the field turns as the button does.
    QLineEdit* field = child<QLineEdit>("lineEdit_turnToPage");
    field->setText("3");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(page->currentPage(), 3);
    EXPECT_EQ(filledRows(), 1);
}

TEST_F(AuditTrailPageTest, EmptyTrailClearsEveryTurnTo) {
    page->showPage();
    EXPECT_EQ(totalPages(), "0");
    for (const char* text : {"1", "0", "x"}) {
        turnTo(text);
        EXPECT_EQ(child<QLineEdit>("lineEdit_turnToPage")->text(), "");
        EXPECT_EQ(page->currentPage(), 1);
    }
}

TEST_F(AuditTrailPageTest, ShowsTheRowsOfTheInterfaceLanguage) {
    addRows(3, 0, "alice", "中文");
    addRows(2, 1, "alice", "english");
    struct Case {
        int language;
        int rows;
        const char* module;
        const char* content;
    };
    for (const Case c : {Case{1, 2, "ReportPage", "english1"}, Case{0, 3, "报告", "中文2"}}) {
        s_station->setUserOption("LanguageID", c.language);
        page->showPage();
        EXPECT_EQ(filledRows(), c.rows);
        EXPECT_EQ(cell(0, 1), QString::fromUtf8(c.module));
        EXPECT_EQ(cell(0, 2), QString::fromUtf8(c.content));
        EXPECT_EQ(cell(0, 3), "alice");
    }
}

TEST_F(AuditTrailPageTest, FormTextsFollowTheLanguage) {
    s_control->changeLanguage(0);
    QCoreApplication::processEvents();  // the language change is posted
    EXPECT_EQ(child<QLabel>("label_5")->text(), QString::fromUtf8("查询时间从："));
    EXPECT_EQ(table()->horizontalHeaderItem(4)->text(), QString::fromUtf8("操作时间"));
    s_control->changeLanguage(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QLabel>("label_5")->text(), "Search Time From:");
    EXPECT_EQ(table()->horizontalHeaderItem(4)->text(), "Operating Time");
}

TEST_F(AuditTrailPageTest, UserFilterMatchesLiterallyAndStartsAtPageOne) {
    const QString tricky = "o'brien\" OR 1=1 --";
    addRows(40, 1, "alice", "alice");
    addRows(3, 1, tricky, "ob");
    page->showPage();
    QComboBox* users = child<QComboBox>("comboBox_user");
    EXPECT_EQ(users->itemText(0), "");
    EXPECT_GE(users->findText(tricky), 1);
    EXPECT_EQ(totalPages(), "2");
    click("pushButton_next");
    ASSERT_EQ(page->currentPage(), 2);

    selectUser(tricky);
    EXPECT_EQ(page->currentPage(), 1);
    EXPECT_EQ(totalPages(), "1");
    EXPECT_EQ(filledRows(), 3);
    EXPECT_EQ(cell(0, 3), tricky);

    selectUser("alice");
    EXPECT_EQ(page->recordCount(), 40);
    EXPECT_EQ(cell(0, 2), "alice39");

    click("pushButton_reset");
    EXPECT_EQ(users->currentIndex(), 0);
    EXPECT_EQ(page->recordCount(), 43);
}

TEST_F(AuditTrailPageTest, TimesAreShownAndFilteredInLocalTime) {
    // 60 rows, one a minute from 08:00 UTC, which is 16:00 in Shanghai.
    addRows(60, 1, "alice");
    page->showPage();
    EXPECT_EQ(cell(0, 4), "2026-03-01 16:59:00");
    EXPECT_EQ(cell(0, 2), "row59");

    auto* start = child<TimeEdit>("lineEdit_startTime");
    auto* end = child<TimeEdit>("lineEdit_endTime");
    struct Case {
        const char* start;
        const char* end;
        int rows;
        const char* newest;
    };
    for (const Case c :
         {Case{"2026-03-01 16:10:00", "2026-03-01 16:19:00", 10, "row19"},
          Case{"2026-03-01 16:50:00", "", 10, "row59"}, Case{"", "2026-03-01 16:04:30", 5, "row4"},
          Case{"2026-03-01 08:00:00", "2026-03-01 08:59:00", 0, ""},
          Case{"2026-03-01 16:30:00", "2026-03-01 16:20:00", 0, ""}}) {
        SCOPED_TRACE(std::string(c.start) + " .. " + c.end);
        start->setText(c.start);
        end->setText(c.end);
        click("pushButton_search");
        EXPECT_EQ(page->recordCount(), c.rows);
        EXPECT_EQ(filledRows(), std::min(c.rows, 30));
        EXPECT_EQ(cell(0, 2), c.newest);
    }
}

TEST_F(AuditTrailPageTest, PickedTimesActOnlyOnSearch) {
    addRows(45, 1, "alice");
    page->showPage();
    auto* start = child<TimeEdit>("lineEdit_startTime");
    start->setText("2026-03-01 16:40:00");
    click("pushButton_next");  // paging keeps the filters in force
    EXPECT_EQ(page->recordCount(), 45);
    EXPECT_EQ(page->currentPage(), 2);
    selectUser("alice");  // so does a user change
    EXPECT_EQ(page->recordCount(), 45);

    click("pushButton_search");
    EXPECT_EQ(page->recordCount(), 5);
    EXPECT_EQ(page->currentPage(), 1);

    start->setText("2026-03-01 16:00:00");  // picked, not searched
    selectUser("");
    EXPECT_EQ(page->recordCount(), 5);

    click("pushButton_reset");
    EXPECT_EQ(start->text(), "");
    EXPECT_EQ(page->recordCount(), 45);
}

TEST_F(AuditTrailPageTest, CalendarButtonTogglesThePicker) {
    page->show();
    auto* start = child<TimeEdit>("lineEdit_startTime");
    Datetime* picker = start->picker();
    EXPECT_EQ(picker->parentWidget(), page.get());
    EXPECT_EQ(picker->pos(), QPoint(0, 49));
    EXPECT_FALSE(picker->isVisible());
    start->calendarAction()->trigger();
    EXPECT_TRUE(picker->isVisible());
    start->calendarAction()->trigger();
    EXPECT_FALSE(picker->isVisible());

    start->calendarAction()->trigger();
    emit picker->sendtime("2026-03-01 16:10:00");
    EXPECT_EQ(start->text(), "2026-03-01 16:10:00");
    EXPECT_FALSE(picker->isVisible());

    start->calendarAction()->trigger();
    emit picker->signals_cancel();
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(start->text(), "2026-03-01 16:10:00");
    EXPECT_NE(child<TimeEdit>("lineEdit_endTime")->picker(), picker);
}

}  // namespace
