#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "WidgetsTestSupport.h"
#include "widgets/Datetime.h"
#include "widgets/RollingBox.h"

namespace {

TEST(DatetimeDays, FollowTheMonthAndTheGregorianLeapRule) {
    struct Case {
        int year, month, days;
    };
    for (const Case& c :
         {Case{2024, 2, 29}, Case{2000, 2, 29}, Case{1900, 2, 28}, Case{2026, 2, 28},
          Case{2026, 1, 31}, Case{2026, 4, 30}, Case{2026, 7, 31}, Case{2026, 8, 31},
          Case{2026, 9, 30}, Case{2026, 12, 31}, Case{2026, 13, 28}, Case{2026, 0, 28}})
        EXPECT_EQ(Datetime::computeDaysInMonth(c.year, c.month), c.days)
            << c.year << "-" << c.month;
}

TEST(DatetimeText, TwoDigitsPadsOnlyNumbersBelowTen) {
    EXPECT_EQ(Datetime::twoDigits(0), QStringLiteral("00"));
    EXPECT_EQ(Datetime::twoDigits(7), QStringLiteral("07"));
    EXPECT_EQ(Datetime::twoDigits(9), QStringLiteral("09"));
    EXPECT_EQ(Datetime::twoDigits(10), QStringLiteral("10"));
    EXPECT_EQ(Datetime::twoDigits(59), QStringLiteral("59"));
    EXPECT_EQ(Datetime::twoDigits(2026), QStringLiteral("2026"));
}

// A shown picker with its columns laid out, and helpers to turn them.
class Picker : public ::testing::Test {
  protected:
    void SetUp() override {
        picker.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
        QApplication::processEvents();
        yyyy = picker.findChild<RollingBoxY*>(QStringLiteral("yyyy"));
        MM = picker.findChild<RollingBoxM*>(QStringLiteral("MM"));
        dd = picker.findChild<RollingBoxD*>(QStringLiteral("dd"));
        hh = picker.findChild<RollingBoxH*>(QStringLiteral("hh"));
        mm = picker.findChild<RollingBoxMM*>(QStringLiteral("mm"));
        ss = picker.findChild<RollingBoxS*>(QStringLiteral("ss"));
        ASSERT_TRUE(yyyy && MM && dd && hh && mm && ss);
        ASSERT_GT(dd->height(), 40);
    }

    // Whole-step drags on one column until its value is the target.
    template <typename Column, typename Read>
    void turn(Column* column, int target, Read read) {
        const int step = (column->height() - 1) / 4;
        const int restY = column->height() / 2;
        for (int guard = 0; guard < 200 && read(column) != target; ++guard)
            dragBy(column, restY, read(column) < target ? -step : step);
        ASSERT_EQ(read(column), target) << column->objectName().toStdString();
    }
    template <typename Column>
    void turn(Column* column, int target) {
        turn(column, target, [](Column* c) { return c->readValue(); });
    }
    void turnDay(int target) {
        turn(dd, target, [](RollingBoxD* c) { return c->value(); });
    }

    QString submit() {
        QSignalSpy sent(&picker, &Datetime::sendtime);
        picker.findChild<QPushButton*>(QStringLiteral("Btn_reset_2"))->click();
        return sent.count() == 1 ? sent.at(0).at(0).toString() : QStringLiteral("<none>");
    }

    Datetime picker;
    RollingBoxY* yyyy = nullptr;
    RollingBoxM* MM = nullptr;
    RollingBoxD* dd = nullptr;
    RollingBoxH* hh = nullptr;
    RollingBoxMM* mm = nullptr;
    RollingBoxS* ss = nullptr;
};

TEST_F(Picker, HasItsFormAndIsAFramelessPanel) {
    EXPECT_EQ(picker.size(), QSize(780, 227));
    EXPECT_TRUE(picker.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(picker.windowTitle(), QStringLiteral("Dialog"));
    struct Button {
        const char* name;
        int x;
        const char* text;
    };
    for (const Button& b : {Button{"Btn_now", 80, "Now"}, Button{"Btn_reset", 300, "Cancel"},
                            Button{"Btn_reset_2", 530, "Submit"}}) {
        auto* button = picker.findChild<QPushButton*>(QString::fromLatin1(b.name));
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->geometry(), QRect(b.x, 160, 121, 41)) << b.name;
        EXPECT_EQ(button->text(), QString::fromLatin1(b.text));
        EXPECT_EQ(button->parentWidget(), &picker);
    }
    auto* panel = picker.findChild<QWidget*>(QStringLiteral("widget"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(15, 10, 751, 211));
    auto* refresh = picker.findChild<QTimer*>();
    ASSERT_NE(refresh, nullptr);
    EXPECT_TRUE(refresh->isActive());
    EXPECT_EQ(refresh->interval(), 33);
}

TEST_F(Picker, ColumnsCoverTheirRanges) {
    EXPECT_EQ(MM->rangeMinimum(), 1);
    EXPECT_EQ(MM->rangeMaximum(), 12);
    EXPECT_EQ(dd->rangeMinimum(), 1);
    EXPECT_EQ(dd->rangeMaximum(), Datetime::computeDaysInMonth(yyyy->readValue(), MM->readValue()));
    EXPECT_EQ(hh->rangeMinimum(), 0);
    EXPECT_EQ(hh->rangeMaximum(), 23);
    for (RollingBox* column : {static_cast<RollingBox*>(mm), static_cast<RollingBox*>(ss)}) {
        EXPECT_EQ(column->rangeMinimum(), 0);
        EXPECT_EQ(column->rangeMaximum(), 59);
    }
    EXPECT_LE(yyyy->rangeMinimum(), 1970);
    EXPECT_GE(yyyy->rangeMaximum(), 2099);
}

TEST_F(Picker, SubmitSendsTheChosenMomentWithLeadingZerosAndHides) {
    turn(yyyy, 2026);
    turn(MM, 3);
    picker.receiveValue();
    turnDay(7);
    turn(hh, 9);
    turn(mm, 5);
    turn(ss, 3);
    picker.receiveValue();
    EXPECT_EQ(submit(), QStringLiteral("2026-03-07 09:05:03"));
    EXPECT_FALSE(picker.isVisible());

    // Submit only hides: the columns keep their values for the next use.
    picker.show();
    EXPECT_EQ(submit(), QStringLiteral("2026-03-07 09:05:03"));
}

TEST_F(Picker, ReachesTheEndsOfTheClock) {
    turn(hh, 23);
    turn(mm, 59);
    turn(ss, 0);
    picker.receiveValue();
    EXPECT_TRUE(submit().endsWith(QStringLiteral(" 23:59:00")));
    picker.show();
    turn(hh, 0);
    picker.receiveValue();
    EXPECT_TRUE(submit().endsWith(QStringLiteral(" 00:59:00")));
}

TEST_F(Picker, DayFollowsTheChosenMonthAtTheNextRefresh) {
    struct Case {
        int year, days;
    };
    for (const Case& c : {Case{2024, 29}, Case{2026, 28}, Case{2000, 29}}) {
        turn(yyyy, c.year);
        turn(MM, 1);
        picker.receiveValue();
        turnDay(31);
        turn(MM, 2);
        picker.receiveValue();
        EXPECT_EQ(dd->value(), c.days) << c.year;
        EXPECT_EQ(dd->rangeMaximum(), c.days) << c.year;
        // The submitted day is the clamped one, never a day February does not have.
        EXPECT_EQ(submit(), QStringLiteral("%1-02-%2 ").arg(c.year).arg(c.days) +
                                QStringLiteral("%1:%2:%3")
                                    .arg(Datetime::twoDigits(hh->readValue()))
                                    .arg(Datetime::twoDigits(mm->readValue()))
                                    .arg(Datetime::twoDigits(ss->readValue())));
        picker.show();
    }
}

TEST_F(Picker, RefreshTimerClampsTheDayWithoutHelp) {
    turn(MM, 1);
    picker.receiveValue();
    turnDay(31);
    turn(MM, 4);
    QTRY_COMPARE_WITH_TIMEOUT(dd->value(), 30, 2000);
}

TEST_F(Picker, CancelSendsNoTimeAndHides) {
    QSignalSpy cancelled(&picker, &Datetime::signals_cancel);
    QSignalSpy sent(&picker, &Datetime::sendtime);
    picker.findChild<QPushButton*>(QStringLiteral("Btn_reset"))->click();
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(sent.count(), 0);
    EXPECT_FALSE(picker.isVisible());
}

TEST_F(Picker, NowReturnsEveryColumnToThePresent) {
    const int presentYear = QDate::currentDate().year();
    turn(yyyy, presentYear - 3);
    turn(MM, QDate::currentDate().month() == 6 ? 7 : 6);
    const QDateTime before = QDateTime::currentDateTime();
    picker.findChild<QPushButton*>(QStringLiteral("Btn_now"))->click();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_TRUE(yyyy->readValue() == before.date().year() ||
                yyyy->readValue() == after.date().year());
    EXPECT_TRUE(MM->readValue() == before.date().month() ||
                MM->readValue() == after.date().month());
    EXPECT_TRUE(mm->readValue() == before.time().minute() ||
                mm->readValue() == after.time().minute());
}

TEST(DatetimeChild, WithAParentIsAPanelInsideIt) {
    QWidget page;
    auto* picker = new Datetime(&page);
    EXPECT_EQ(picker->windowFlags(), Qt::WindowFlags(Qt::FramelessWindowHint));
    EXPECT_FALSE(picker->isWindow());
    EXPECT_EQ(picker->parentWidget(), &page);
}

TEST(DatetimeSubmit, IsWellDefinedBeforeTheFirstRefresh) {
    Datetime picker;
    QSignalSpy sent(&picker, &Datetime::sendtime);
    const QDateTime before = QDateTime::currentDateTime();
    picker.findChild<QPushButton*>(QStringLiteral("Btn_reset_2"))->click();
    ASSERT_EQ(sent.count(), 1);
    const QDateTime submitted =
        QDateTime::fromString(sent.at(0).at(0).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(submitted.isValid()) << sent.at(0).at(0).toString().toStdString();
    EXPECT_LE(qAbs(submitted.secsTo(before)), 2);
}

}  // namespace
