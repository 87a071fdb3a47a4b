#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <climits>

#include "WidgetsTestSupport.h"
#include "widgets/LineEditTime.h"
#include "widgets/LineLabel.h"
#include "widgets/MySlider.h"

namespace {

// ---- LineLabel ------------------------------------------------------------------------------

bool isRed(QRgb c) {
    return qAlpha(c) > 200 && qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool isBlue(QRgb c) {
    return qAlpha(c) > 200 && qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60;
}
bool isDark(QRgb c) {
    return qAlpha(c) > 100 && qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
}

// True when one of the columns x - 1 to x + 1 of row y has the colour.
bool columnHas(const QImage& image, int x, int y, bool (*colour)(QRgb)) {
    for (int dx = -1; dx <= 1; ++dx)
        if (colour(image.pixel(x + dx, y)))
            return true;
    return false;
}

QImage render(LineLabel& label) {
    return label.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(LineLabel, DrawsRedLeftAndBlueRightMarkersSeventyPixelsLongAndNeverItsText) {
    LineLabel label;
    label.resize(200, 100);
    QFont big;
    big.setPixelSize(60);
    label.setFont(big);
    label.setText(QStringLiteral("XXXXXXXX"));
    label.setLinePos(50, 150);
    label.setShowLine(true);

    const QImage image = render(label);
    EXPECT_TRUE(columnHas(image, 50, 10, isRed));
    EXPECT_TRUE(columnHas(image, 50, 65, isRed));
    EXPECT_TRUE(columnHas(image, 150, 35, isBlue));
    EXPECT_FALSE(columnHas(image, 50, 80, isRed)) << "markers end at y = 70";
    EXPECT_FALSE(columnHas(image, 150, 80, isBlue));
    EXPECT_FALSE(columnHas(image, 100, 35, isRed) || columnHas(image, 100, 35, isBlue));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_FALSE(isDark(image.pixel(x, y))) << "label text painted at " << x << "," << y;
}

TEST(LineLabel, PaintsNoMarkersUntilToldToShowThem) {
    LineLabel label;
    label.resize(200, 100);
    label.setLinePos(50, 150);
    QImage image = render(label);
    EXPECT_FALSE(columnHas(image, 50, 35, isRed));
    EXPECT_FALSE(columnHas(image, 150, 35, isBlue));

    label.setShowLine(true);
    label.setShowLine(false);
    image = render(label);
    EXPECT_FALSE(columnHas(image, 50, 35, isRed));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST(LineLabel, SetLinePosAloneSchedulesNoRepaintButSetShowLineDoes) {
    LineLabel label;
    label.resize(200, 100);
    label.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&label));
    QApplication::processEvents();

    PaintCounter counter;
    label.installEventFilter(&counter);
    label.setLinePos(60, 140);
    QTest::qWait(50);
    EXPECT_EQ(counter.paints, 0);

    label.setShowLine(true);
    QTRY_VERIFY_WITH_TIMEOUT(counter.paints > 0, 2000);
    label.removeEventFilter(&counter);
}

// ---- MySlider -------------------------------------------------------------------------------

struct SliderCase {
    const char* name;
    int minimum;
    int maximum;
    int start;
    int width;
    int clickX;
    bool jumps;
    int expected;  // value after the click when it jumps
    int pageStep;  // 0 keeps the plain slider's own press from moving the value
};

void PrintTo(const SliderCase& c, std::ostream* os) {
    *os << c.name;
}

void setUpSlider(QSlider& slider, const SliderCase& c) {
    slider.setOrientation(Qt::Horizontal);
    slider.setRange(c.minimum, c.maximum);
    slider.setValue(c.start);
    slider.setPageStep(c.pageStep);
    slider.resize(c.width, 30);
}

void click(QSlider& slider, int x) {
    sendPress(&slider, QPointF(x, 15));
    sendRelease(&slider, QPointF(x, 15));
}

class MySliderClick : public ::testing::TestWithParam<SliderCase> {};

TEST_P(MySliderClick, JumpsOnlyWhenFartherThanAnEighthOfTheRange) {
    const SliderCase& c = GetParam();
    MySlider slider;
    setUpSlider(slider, c);
    QSignalSpy changes(&slider, &QSlider::valueChanged);
    click(slider, c.clickX);

    if (c.jumps) {
        EXPECT_EQ(slider.value(), c.expected);
        ASSERT_FALSE(changes.isEmpty());
        EXPECT_EQ(changes.last().at(0).toInt(), c.expected);
    } else {
        // A near click keeps whatever the plain slider does with the same press.
        QSlider plain;
        setUpSlider(plain, c);
        click(plain, c.clickX);
        EXPECT_EQ(slider.value(), plain.value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MySliderClick,
    ::testing::Values(SliderCase{"HalfOfFullRange", 0, 65535, 0, 400, 200, true, 32767, 10},
                      SliderCase{"WithinAnEighth", 0, 65535, 30000, 400, 200, false, 0, 10},
                      SliderCase{"PastAnEighth", 0, 800, 0, 400, 60, true, 120, 10},
                      SliderCase{"ExactlyAnEighth", 0, 800, 0, 400, 50, false, 0, 0},
                      SliderCase{"OnePastAnEighth", 0, 800, 0, 400, 51, true, 102, 0},
                      SliderCase{"OffsetMinimum", 100, 355, 355, 400, 100, true, 163, 10},
                      SliderCase{"EmptyRange", 7, 7, 7, 400, 300, false, 0, 10},
                      SliderCase{"NotLaidOut", 0, 100, 0, 0, 10, false, 0, 10},
                      SliderCase{"WholeIntRangeNear", INT_MIN, INT_MAX, 0, 400, 200, false, 0, 10},
                      SliderCase{"WholeIntRangeFar", INT_MIN, INT_MAX, 0, 400, 300, true,
                                 1073741823, 10}),
    [](const ::testing::TestParamInfo<SliderCase>& info) { return info.param.name; });

TEST(MySlider, ReportsNothingWhileTheHandleIsDragged) {
    MySlider slider;
    EXPECT_FALSE(slider.hasTracking());
}

// ---- LineEditTime ---------------------------------------------------------------------------

class LineEditTimeFocusOut : public ::testing::TestWithParam<std::pair<const char*, const char*>> {
};

TEST_P(LineEditTimeFocusOut, FillsOnlyAnEmptyText) {
    LineEditTime edit;
    edit.setText(QString::fromUtf8(GetParam().first));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &focusOut);
    EXPECT_EQ(edit.text(), QString::fromUtf8(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Table, LineEditTimeFocusOut,
                         ::testing::Values(std::make_pair("", "0"), std::make_pair("05", "05"),
                                           std::make_pair(" ", " "), std::make_pair("a", "a"),
                                           std::make_pair("0", "0")));

}  // namespace
