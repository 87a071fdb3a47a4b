// The exposure-time list: its form, paging through a series, every page
// written at once in the settings file's list format (read back through a
// settings object of its own), Cancel and OK, and stored values beyond the
// fields' ranges.
#include "ExpTimeSetDialog.h"
#include "FileFaults.h"
#include "ModalDriver.h"
#include "QtPrinters.h"
#include "WidgetsTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

// What one page shows: the picture label, the three fields and whether the
// arrows are enabled.
struct Page {
    QString label;
    int min;
    int s;
    int ms;
    bool prev;
    bool next;
    bool operator==(const Page& o) const {
        return label == o.label && min == o.min && s == o.s && ms == o.ms && prev == o.prev &&
               next == o.next;
    }
};

void PrintTo(const Page& page, std::ostream* os) {
    *os << page.label.toStdString() << ' ' << page.min << ':' << page.s << '.' << page.ms
        << (page.prev ? " prev" : "") << (page.next ? " next" : "");
}

class ExpTimeSetDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        widgetsController();
        QSettings settings(iniPath(), QSettings::IniFormat);
        for (int k = 1; k <= 10; ++k)
            settings.remove(QStringLiteral("UserOption/ExpTime_%1").arg(k));
    }
    static QString iniPath() { return widgetsStation().filePath("Ini/userOption.ini"); }
    // ExpTime_<k> as a settings object of its own reads the file.
    static QStringList stored(int k) {
        QSettings settings(iniPath(), QSettings::IniFormat);
        return settings.value(QStringLiteral("UserOption/ExpTime_%1").arg(k)).toStringList();
    }
    // The line of ExpTime_<k> in the file.
    static QString storedLine(int k) {
        QFile file(iniPath());
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const QString prefix = QStringLiteral("ExpTime_%1=").arg(k);
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith(prefix.toLatin1()))
                return QString::fromUtf8(line).trimmed();
        }
        return QString();
    }
    static void store(int k, const QStringList& time) {
        QSettings settings(iniPath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("UserOption/ExpTime_%1").arg(k), time);
    }

    static Page pageOf(ExpTimeSetDialog& dialog) {
        return {childOf<QLabel>(&dialog, "label_CurCapIndex")->text(),
                childOf<QSpinBox>(&dialog, "spinBox_Min")->value(),
                childOf<QSpinBox>(&dialog, "spinBox_S")->value(),
                childOf<QSpinBox>(&dialog, "spinBox_Ms")->value(),
                childOf<QPushButton>(&dialog, "pushButton_Prev")->isEnabled(),
                childOf<QPushButton>(&dialog, "pushButton_Next")->isEnabled()};
    }
    static void enter(ExpTimeSetDialog& dialog, int min, int s, int ms) {
        childOf<QSpinBox>(&dialog, "spinBox_Min")->setValue(min);
        childOf<QSpinBox>(&dialog, "spinBox_S")->setValue(s);
        childOf<QSpinBox>(&dialog, "spinBox_Ms")->setValue(ms);
    }
    static void click(ExpTimeSetDialog& dialog, const char* button) {
        QTest::mouseClick(childOf<QPushButton>(&dialog, button), Qt::LeftButton);
    }
};

TEST_F(ExpTimeSetDialogTest, Form) {
    ExpTimeSetDialog dialog;
    EXPECT_EQ(dialog.objectName(), "ExpTimeSetDialog");
    EXPECT_EQ(dialog.size(), QSize(660, 310));
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_TranslucentBackground));
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->objectName(), "gridLayout");
    EXPECT_EQ(grid->spacing(), 0);
    EXPECT_EQ(grid->contentsMargins(), QMargins(30, 30, 30, 30));
    auto* frame = childOf<QFrame>(&dialog, "frame_ExpTimeSet");
    EXPECT_EQ(grid->itemAtPosition(0, 0)->widget(), frame);
    EXPECT_EQ(frame->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(frame->frameShadow(), QFrame::Raised);
    auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(frame->graphicsEffect());
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->offset(), QPointF(0, 0));
    EXPECT_EQ(shadow->color(), QColor("#262626"));
    EXPECT_EQ(shadow->blurRadius(), 30);

    const char* p = "frame_ExpTimeSet";
    expectRows(&dialog, {
                            {"label_4", "QLabel", p, {19, 30, 111, 40}, "Exposure Time:"},
                            {"spinBox_Min", "QSpinBox", p, {130, 30, 100, 40}, nullptr},
                            {"label", "QLabel", p, {240, 40, 31, 21}, "min"},
                            {"spinBox_S", "QSpinBox", p, {290, 30, 100, 40}, nullptr},
                            {"label_2", "QLabel", p, {400, 40, 21, 21}, "s"},
                            {"spinBox_Ms", "QSpinBox", p, {440, 30, 100, 40}, nullptr},
                            {"label_3", "QLabel", p, {550, 40, 32, 20}, "ms"},
                            {"pushButton_Prev", "QPushButton", p, {130, 100, 40, 40}, ""},
                            {"label_CurCapIndex", "QLabel", p, {285, 100, 120, 40}, "Picture: 1"},
                            {"pushButton_Next", "QPushButton", p, {520, 100, 40, 40}, ""},
                            {"pushButton_Ok", "QPushButton", p, {420, 180, 60, 40}, ""},
                            {"pushButton_Cancel", "QPushButton", p, {510, 180, 60, 40}, ""},
                        });
    EXPECT_EQ(childOrder(frame),
              QStringList({"label_4", "spinBox_Min", "label", "spinBox_S", "label_2", "spinBox_Ms",
                           "label_3", "pushButton_Prev", "label_CurCapIndex", "pushButton_Next",
                           "pushButton_Ok", "pushButton_Cancel"}));
    struct Range {
        const char* name;
        int maximum;
    };
    for (const Range& r : {Range{"spinBox_Min", 59}, Range{"spinBox_S", 59}, {"spinBox_Ms", 999}}) {
        auto* spin = childOf<QSpinBox>(&dialog, r.name);
        EXPECT_EQ(spin->minimum(), 0) << r.name;
        EXPECT_EQ(spin->maximum(), r.maximum) << r.name;
        EXPECT_EQ(spin->alignment(), Qt::AlignCenter) << r.name;
    }
    auto* index = childOf<QLabel>(&dialog, "label_CurCapIndex");
    EXPECT_EQ(index->alignment(), Qt::AlignCenter);
    EXPECT_EQ(index->styleSheet(), "QLabel\n{\nfont-size:18px;\nfont-weight:bold;\n}");
    const QStringList tabs = {"spinBox_Min",      "spinBox_S",       "spinBox_Ms",
                              "pushButton_Prev",  "pushButton_Next", "pushButton_Ok",
                              "pushButton_Cancel"};
    EXPECT_EQ(focusOrder(&dialog, tabs), tabs);
    EXPECT_TRUE(dialog.styleSheet().contains("turnLeft_normal.png"));
}

TEST_F(ExpTimeSetDialogTest, ChineseTexts) {
    switchLanguage(0);
    {
        ExpTimeSetDialog dialog;
        dialog.setCapCount(3);
        EXPECT_EQ(childOf<QLabel>(&dialog, "label_4")->text(), QStringLiteral("曝光时间:"));
        EXPECT_EQ(childOf<QLabel>(&dialog, "label")->text(), QStringLiteral("分"));
        EXPECT_EQ(childOf<QLabel>(&dialog, "label_CurCapIndex")->text(), QStringLiteral("图片: 1"));
        EXPECT_TRUE(dialog.styleSheet().contains("cancel_normal.png"));
        EXPECT_FALSE(dialog.styleSheet().contains("_en"));
    }
    switchLanguage(1);
}

// A series of three on a fresh file: each Next writes the page it leaves as
// "minutes, seconds, milliseconds"; Prev writes its page before going back.
TEST_F(ExpTimeSetDialogTest, PagingWritesEveryPageItLeaves) {
    ExpTimeSetDialog dialog;
    dialog.setCapCount(3);
    dialog.show();
    EXPECT_EQ(pageOf(dialog), (Page{"Picture: 1", 0, 0, 0, false, true}));

    enter(dialog, 0, 30, 0);
    click(dialog, "pushButton_Next");
    EXPECT_EQ(stored(1), QStringList({"0", "30", "0"}));
    EXPECT_EQ(storedLine(1), "ExpTime_1=0, 30, 0");
    EXPECT_EQ(pageOf(dialog), (Page{"Picture: 2", 0, 0, 0, true, true}));

    enter(dialog, 1, 5, 250);
    click(dialog, "pushButton_Next");
    EXPECT_EQ(storedLine(2), "ExpTime_2=1, 5, 250");
    EXPECT_EQ(pageOf(dialog), (Page{"Picture: 3", 0, 0, 0, true, false}));

    click(dialog, "pushButton_Prev");
    EXPECT_EQ(stored(3), QStringList({"0", "0", "0"}));
    EXPECT_EQ(pageOf(dialog), (Page{"Picture: 2", 1, 5, 250, true, true}));
    enter(dialog, 2, 0, 7);
    click(dialog, "pushButton_Prev");
    EXPECT_EQ(stored(2), QStringList({"2", "0", "7"}));
    EXPECT_EQ(pageOf(dialog), (Page{"Picture: 1", 0, 30, 0, false, true}));
}

// Cancel keeps the pages written on the way and drops the shown page's
// changes; OK writes the shown page. A new opening shows what is stored.
TEST_F(ExpTimeSetDialogTest, CancelAndOkThroughExec) {
    store(2, {"0", "9", "9"});
    {
        ExpTimeSetDialog dialog;
        dialog.setCapCount(3);
        ModalDriver driver;
        driver.onDialog([&](QDialog*) {
            enter(dialog, 0, 12, 0);
            click(dialog, "pushButton_Next");
            enter(dialog, 5, 5, 5);
            click(dialog, "pushButton_Cancel");
        });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    EXPECT_EQ(stored(1), QStringList({"0", "12", "0"}));
    EXPECT_EQ(stored(2), QStringList({"0", "9", "9"}));
    {
        ExpTimeSetDialog dialog;
        dialog.setCapCount(3);
        ModalDriver driver;
        driver.onDialog([&](QDialog*) {
            EXPECT_EQ(pageOf(dialog), (Page{"Picture: 1", 0, 12, 0, false, true}));
            enter(dialog, 3, 0, 1);
            click(dialog, "pushButton_Ok");
        });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    }
    EXPECT_EQ(stored(1), QStringList({"3", "0", "1"}));
}

// A page that cannot be stored (the settings file not writable) is told;
// the dialog stays on it, showing what is stored, and OK does not close it.
TEST_F(ExpTimeSetDialogTest, APageThatCannotBeStoredIsToldAndShownAsStored) {
    store(1, {"0", "9", "0"});
    if (!makeUnwritable(iniPath())) {
        makeWritable(iniPath());
        GTEST_SKIP() << "this file system cannot make a file unwritable";
    }
    ExpTimeSetDialog dialog;
    dialog.setCapCount(2);
    // The box a click opens runs its own loop: the click comes from the
    // dialog's loop, not from inside the driver's step.
    const auto later = [&dialog](std::function<void()> action) {
        QTimer::singleShot(0, &dialog, std::move(action));
    };
    ModalDriver driver;
    driver.onDialog([&](QDialog*) {
        enter(dialog, 1, 2, 3);
        later([&] { click(dialog, "pushButton_Next"); });
    });
    driver.answerMessageBox();
    driver.onDialog([&](QDialog*) {
        EXPECT_EQ(pageOf(dialog), (Page{"Picture: 1", 0, 9, 0, false, true}));
        enter(dialog, 4, 5, 6);
        later([&] { click(dialog, "pushButton_Ok"); });
    });
    driver.answerMessageBox();
    driver.onDialog([&](QDialog*) {
        EXPECT_EQ(pageOf(dialog), (Page{"Picture: 1", 0, 9, 0, false, true}));
        click(dialog, "pushButton_Cancel");
    });
    const int result = dialog.exec();
    makeWritable(iniPath());
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(driver.pendingSteps(), 0);
    const QString told =
        QCoreApplication::translate("SettingsNotSaved", "Tips") + "|" +
        QCoreApplication::translate("SettingsNotSaved",
                                    "Save failed, the settings file cannot be written!");
    EXPECT_EQ(driver.messages(), QStringList({told, told}));
    EXPECT_EQ(stored(1), QStringList({"0", "9", "0"}));
}

// What the file holds beyond a field's range shows as the range's bound and
// is written as such when the page is left; a short list counts 0 for the
// parts it lacks; indexes outside 1 to 10 read empty and write nothing.
TEST_F(ExpTimeSetDialogTest, StoredValuesOutsideTheFields) {
    store(1, {"0", "75", "1200"});
    store(2, {"4"});
    ExpTimeSetDialog dialog;
    dialog.setCapCount(2);
    dialog.show();
    EXPECT_EQ(pageOf(dialog), (Page{"Picture: 1", 0, 59, 999, false, true}));
    click(dialog, "pushButton_Next");
    EXPECT_EQ(stored(1), QStringList({"0", "59", "999"}));
    EXPECT_EQ(pageOf(dialog), (Page{"Picture: 2", 4, 0, 0, true, false}));

    EXPECT_EQ(dialog.loadExpTimeFromIni(0), QStringList());
    EXPECT_EQ(dialog.loadExpTimeFromIni(11), QStringList());
    const QByteArray before = [] {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    dialog.saveExpTimeToIni({"1", "2", "3"}, 11);
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

}  // namespace
