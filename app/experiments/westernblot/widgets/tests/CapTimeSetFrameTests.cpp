// The capture-time entry: its form, the split of a time into the three
// fields and what it reports, the bounds of the buttons, the typing rules of
// the fields and the clamp of times it cannot show.
#include "CapTimeSetFrame.h"
#include "QtPrinters.h"
#include "WidgetsTestSupport.h"
#include "widgets/LineEditTime.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QValidator>

#include <gtest/gtest.h>

#include <vector>

namespace {

class CapTimeSetFrameTest : public testing::Test {
  protected:
    void SetUp() override {
        widgetsController();
        minute = childOf<LineEditTime>(&frame, "lineEdit_Minute");
        second = childOf<LineEditTime>(&frame, "lineEdit_Sec");
        milli = childOf<LineEditTime>(&frame, "lineEdit_Ms");
    }
    QStringList fields() const { return {minute->text(), second->text(), milli->text()}; }
    std::vector<int> reported(const QSignalSpy& spy) const {
        std::vector<int> values;
        for (const QList<QVariant>& call : spy)
            values.push_back(call.at(0).toInt());
        return values;
    }
    QPushButton* button(const char* name) { return childOf<QPushButton>(&frame, name); }

    CapTimeSetFrame frame;
    LineEditTime* minute = nullptr;
    LineEditTime* second = nullptr;
    LineEditTime* milli = nullptr;
};

TEST_F(CapTimeSetFrameTest, Form) {
    EXPECT_EQ(frame.objectName(), "CapTimeSetFrame");
    EXPECT_EQ(frame.size(), QSize(198, 100));
    EXPECT_EQ(frame.windowTitle(), "Frame");
    const char* p = "CapTimeSetFrame";
    expectRows(&frame, {
                           {"pushButton_MinUp", "QPushButton", p, {0, 0, 40, 30}, ""},
                           {"lineEdit_Minute", "QLineEdit", p, {0, 35, 40, 25}, nullptr},
                           {"label_Min", "QLabel", p, {40, 35, 23, 25}, "M"},
                           {"pushButton_MinDown", "QPushButton", p, {0, 65, 40, 30}, ""},
                           {"pushButton_SecUp", "QPushButton", p, {63, 0, 40, 30}, ""},
                           {"lineEdit_Sec", "QLineEdit", p, {63, 35, 40, 25}, nullptr},
                           {"label_Sec", "QLabel", p, {103, 35, 23, 25}, "s"},
                           {"pushButton_SecDown", "QPushButton", p, {63, 65, 40, 30}, ""},
                           {"pushButton_MsUp", "QPushButton", p, {126, 0, 40, 30}, ""},
                           {"lineEdit_Ms", "QLineEdit", p, {126, 35, 40, 25}, nullptr},
                           {"label_Ms", "QLabel", p, {166, 35, 32, 25}, "ms"},
                           {"pushButton_MsDown", "QPushButton", p, {126, 65, 40, 30}, ""},
                       });
    EXPECT_EQ(childOrder(&frame),
              QStringList({"pushButton_MinUp", "lineEdit_Minute", "label_Min", "pushButton_MinDown",
                           "pushButton_SecUp", "lineEdit_Sec", "label_Sec", "pushButton_SecDown",
                           "pushButton_MsUp", "lineEdit_Ms", "label_Ms", "pushButton_MsDown"}));
    const QStringList tabs = {"pushButton_MinUp",   "pushButton_SecUp",   "pushButton_MsUp",
                              "pushButton_MinDown", "pushButton_SecDown", "pushButton_MsDown"};
    EXPECT_EQ(focusOrder(&frame, tabs), tabs);
    // LineEditTime has no meta-object of its own: the promotion shows in
    // its type.
    for (LineEditTime* field : {minute, second, milli}) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_NE(dynamic_cast<LineEditTime*>(frame.findChild<QLineEdit*>(field->objectName())),
                  nullptr);
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_EQ(field->focusPolicy(), Qt::ClickFocus);
        EXPECT_EQ(field->alignment(), Qt::AlignCenter);
        EXPECT_NE(field->validator(), nullptr);
    }
    EXPECT_EQ(minute->maxLength(), 2);
    EXPECT_EQ(minute->validator(), second->validator());
    for (const char* name : {"pushButton_MinUp", "pushButton_MinDown", "pushButton_SecUp",
                             "pushButton_SecDown", "pushButton_MsUp", "pushButton_MsDown"}) {
        EXPECT_TRUE(button(name)->autoRepeat()) << name;
    }
}

TEST_F(CapTimeSetFrameTest, ChineseTextsAtConstruction) {
    switchLanguage(0);
    {
        CapTimeSetFrame chinese;
        EXPECT_EQ(childOf<QLabel>(&chinese, "label_Min")->text(), QStringLiteral("分"));
        EXPECT_EQ(childOf<QLabel>(&chinese, "label_Sec")->text(), QStringLiteral("秒"));
        EXPECT_EQ(childOf<QLabel>(&chinese, "label_Ms")->text(), QStringLiteral("毫秒"));
    }
    switchLanguage(1);
}

// Each field whose text changes reports the time the three fields then give;
// times beyond 59:59.999 (and below 0) are limited to what the entry shows.
TEST_F(CapTimeSetFrameTest, SetCapTimeSplitsReportsAndClamps) {
    struct Case {
        int start;
        int ms;
        QStringList shown;
        std::vector<int> reports;
    };
    const Case cases[] = {
        {-1, 83250, {"1", "23", "250"}, {60000, 83000, 83250}},
        {-1, 0, {"0", "0", "0"}, {0, 0, 0}},
        {83250, 83250, {"1", "23", "250"}, {}},
        {83250, 23250, {"0", "23", "250"}, {23250}},
        {-1, 3599999, {"59", "59", "999"}, {3540000, 3599000, 3599999}},
        {0, 3600000, {"59", "59", "999"}, {3540000, 3599000, 3599999}},
        {0, 65 * 60000 + 12345, {"59", "59", "999"}, {3540000, 3599000, 3599999}},
        {83250, -40, {"0", "0", "0"}, {23250, 250, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        CapTimeSetFrame entry;
        if (c.start >= 0)
            entry.setCapTime(c.start);
        QSignalSpy spy(&entry, &CapTimeSetFrame::transferCapTime);
        entry.setCapTime(c.ms);
        EXPECT_EQ(QStringList({childOf<LineEditTime>(&entry, "lineEdit_Minute")->text(),
                               childOf<LineEditTime>(&entry, "lineEdit_Sec")->text(),
                               childOf<LineEditTime>(&entry, "lineEdit_Ms")->text()}),
                  c.shown);
        EXPECT_EQ(reported(spy), c.reports);
    }
    EXPECT_EQ(CapTimeSetFrame::clampedCapTime(4000000), CapTimeSetFrame::kMaxCapTimeMs);
    EXPECT_EQ(CapTimeSetFrame::clampedCapTime(1500000), 1500000);
}

// A step changes one part by one within its bounds, with no carry into or
// borrow from its neighbour; at a bound the click does nothing.
TEST_F(CapTimeSetFrameTest, StepsStayWithinTheirPart) {
    struct Case {
        int start;
        const char* button;
        int expected;  // -1: nothing changes and nothing is reported
    };
    const Case cases[] = {
        {59000, "pushButton_SecUp", -1},     {0, "pushButton_MinDown", -1},
        {60000, "pushButton_SecDown", -1},   {999, "pushButton_MsUp", -1},
        {0, "pushButton_MsDown", -1},        {3540000, "pushButton_MinUp", -1},
        {1000, "pushButton_MsDown", -1},     {59999, "pushButton_MsUp", -1},
        {83250, "pushButton_MinUp", 143250}, {83250, "pushButton_MinDown", 23250},
        {83250, "pushButton_SecUp", 84250},  {83250, "pushButton_SecDown", 82250},
        {83250, "pushButton_MsUp", 83251},   {83250, "pushButton_MsDown", 83249},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " from " + std::to_string(c.start));
        frame.setCapTime(c.start);
        const QStringList before = fields();
        QSignalSpy spy(&frame, &CapTimeSetFrame::transferCapTime);
        QTest::mouseClick(button(c.button), Qt::LeftButton);
        if (c.expected < 0) {
            EXPECT_EQ(spy.count(), 0);
            EXPECT_EQ(fields(), before);
        } else {
            EXPECT_EQ(reported(spy), std::vector<int>{c.expected});
        }
    }
}

TEST_F(CapTimeSetFrameTest, HoldingAButtonRepeatsUpToTheBound) {
    frame.setCapTime(990);
    QSignalSpy spy(&frame, &CapTimeSetFrame::transferCapTime);
    QPushButton* up = button("pushButton_MsUp");
    QTest::mousePress(up, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return milli->text() == "999"; }, 10000));
    QTest::qWait(400);
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(milli->text(), "999");
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_EQ(spy.last().at(0).toInt(), 999);
    EXPECT_EQ(spy.count(), 9);
}

// Typed input: milliseconds take one digit or exactly three, minutes and
// seconds 0 to 59 without leading zeros; every accepted key reports.
TEST_F(CapTimeSetFrameTest, TypingFollowsTheFieldRules) {
    frame.setCapTime(0);
    milli->clear();
    QSignalSpy spy(&frame, &CapTimeSetFrame::transferCapTime);
    QTest::keyClicks(milli, "5000");
    EXPECT_EQ(milli->text(), "500");
    EXPECT_EQ(reported(spy), (std::vector<int>{5, 50, 500}));

    struct Typed {
        LineEditTime* field;
        const char* keys;
        const char* text;
    };
    const Typed typed[] = {{minute, "60", "6"},   {minute, "07", "0"},   {minute, "59", "59"},
                           {second, "00", "0"},   {second, "123", "12"}, {milli, "999", "999"},
                           {milli, "1234", "123"}};
    for (const Typed& t : typed) {
        SCOPED_TRACE(t.keys);
        t.field->clear();
        QTest::keyClicks(t.field, t.keys);
        EXPECT_EQ(t.field->text(), t.text);
    }
}

// Clearing the minutes reports the time without them; leaving the field
// then puts "0" into it, which reports the same time again.
TEST_F(CapTimeSetFrameTest, ClearedMinutesBecomeZeroOnLeaving) {
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.activateWindow();
    frame.setCapTime(83250);
    minute->setFocus();
    QSignalSpy spy(&frame, &CapTimeSetFrame::transferCapTime);
    QTest::keyClick(minute, Qt::Key_End);
    QTest::keyClick(minute, Qt::Key_Backspace);
    EXPECT_EQ(minute->text(), "");
    milli->setFocus();
    EXPECT_EQ(minute->text(), "0");
    EXPECT_EQ(reported(spy), (std::vector<int>{23250, 23250}));
}

}  // namespace
