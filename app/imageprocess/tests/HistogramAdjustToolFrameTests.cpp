#include "PageFixture.h"

#include "HistogramAdjustToolFrame.h"
#include "SQ_ChartFrame.h"
#include "widgets/MySlider.h"

#include <QLabel>
#include <QLineEdit>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>

#include <cmath>
#include <memory>

namespace {

using Range = std::pair<int, int>;

}  // namespace

class HistogramToolTest : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        tool = std::make_unique<HistogramAdjustToolFrame>();
        tool->show();
        left = tool->findChild<MySlider*>("horizontalSlider_Left");
        right = tool->findChild<MySlider*>("horizontalSlider_Right");
        minField = tool->findChild<QLineEdit*>("lineEdit_Min");
        maxField = tool->findChild<QLineEdit*>("lineEdit_Max");
        chart = tool->findChild<SQ_ChartFrame*>("frame_Histo");
        ASSERT_TRUE(left && right && minField && maxField && chart);
        QObject::connect(tool.get(), &HistogramAdjustToolFrame::sig_UpdateHistoed,
                         [this](int low, int high) {
                             ranges.push_back({low, high});
                         });
    }
    void TearDown() override {
        tool.reset();
        PageTest::TearDown();
    }
    // Two grey levels side by side.
    static QImage twoLevels(int first, int second) {
        QImage image(2, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(first, first, first));
        image.setPixel(1, 0, qRgb(second, second, second));
        return image;
    }
    void typeInto(QLineEdit* field, const QString& text) {
        field->setText(text);
        emit field->editingFinished();
    }

    std::unique_ptr<HistogramAdjustToolFrame> tool;
    MySlider* left = nullptr;
    MySlider* right = nullptr;
    QLineEdit* minField = nullptr;
    QLineEdit* maxField = nullptr;
    SQ_ChartFrame* chart = nullptr;
    std::vector<Range> ranges;
};

TEST_F(HistogramToolTest, FormAsBuilt) {
    EXPECT_EQ(tool->objectName(), "HistogramAdjustToolFrame");
    EXPECT_EQ(tool->size(), QSize(200, 643));
    EXPECT_EQ(chart->geometry(), QRect(10, 20, 180, 120));
    for (const MySlider* slider : {left, right}) {
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), 255);
        EXPECT_EQ(slider->value(), 0);
        EXPECT_FALSE(slider->hasTracking());
    }
    EXPECT_EQ(tool->findChild<QLabel*>("label_GrayMax")->text(), "255");
    EXPECT_EQ(tool->findChild<QPushButton*>("pushButton_Back")->text(), "Back");
    EXPECT_TRUE(minField->text().isEmpty());
}

TEST_F(HistogramToolTest, APictureDrawsItsCurveAndSetsItsRangeLast) {
    tool->updateHistoHandle(twoLevels(40, 200));
    // The Left slider's change with the Right one still at 0, the Right
    // slider's change, the pair itself.
    EXPECT_EQ(ranges, (std::vector<Range>{{0, 40}, {40, 200}, {40, 200}}));
    EXPECT_EQ(left->value(), 40);
    EXPECT_EQ(right->value(), 200);
    EXPECT_EQ(minField->text(), "40");
    EXPECT_EQ(maxField->text(), "200");
    QtCharts::QLineSeries* series = chart->currentSeries();
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(series->count(), 256);
    EXPECT_DOUBLE_EQ(series->at(40).y(), std::log(2.0));
    EXPECT_DOUBLE_EQ(series->at(200).y(), std::log(2.0));
    EXPECT_DOUBLE_EQ(series->at(100).y(), 0.0);
    EXPECT_EQ(chart->chartOfFrame()->series().size(), 1);

    // One grey level: its level twice. Thinned levels stay in the range.
    ranges.clear();
    QImage levels(3, 1, QImage::Format_RGB32);
    for (int x = 0; x < 3; ++x) {
        levels.setPixel(x, 0, qRgb(10 * (x + 1), 10 * (x + 1), 10 * (x + 1)));
    }
    tool->updateHistoHandle(levels);
    EXPECT_EQ(ranges.back(), Range(10, 30));
    EXPECT_DOUBLE_EQ(tool->histogram()[30], 0.0);
    EXPECT_EQ(chart->chartOfFrame()->series().size(), 1);
}

TEST_F(HistogramToolTest, APictureWithoutPixelsEndsWithTheEmptyRange) {
    tool->updateHistoHandle(QImage());
    EXPECT_EQ(ranges, (std::vector<Range>{{0, 255}, {255, 0}}));
    EXPECT_EQ(left->value(), 255);
    EXPECT_EQ(right->value(), 0);
    EXPECT_EQ(tool->autoMinimum(), 255);
    EXPECT_EQ(tool->autoMaximum(), 0);
}

TEST_F(HistogramToolTest, SlidersReportTheOrderedRange) {
    right->setValue(100);
    ranges.clear();
    left->setValue(200);
    EXPECT_EQ(minField->text(), "100");
    EXPECT_EQ(maxField->text(), "200");
    EXPECT_EQ(ranges, (std::vector<Range>{{100, 200}}));
    right->setValue(200);
    EXPECT_EQ(ranges.back(), Range(200, 200));
}

TEST_F(HistogramToolTest, TypedFieldsMoveTheSliders) {
    struct Case {
        const char* what;
        bool typeMinimum;
        QString typed;
        int left;
        int right;
        QString minText;
        QString maxText;
        Range last;
    };
    // Each case starts with Left 10, Right 100 and both fields written.
    const Case cases[] = {
        {"above 255", false, "300", 10, 255, "10", "255", {10, 255}},
        {"minimum above 255", true, "300", 255, 100, "100", "255", {100, 255}},
        {"not a number", false, "abc", 10, 0, "0", "10", {0, 10}},
        {"negative", true, "-5", 0, 100, "0", "100", {0, 100}},
        {"crossed", true, "200", 200, 100, "100", "200", {100, 200}},
        {"in range", false, "150", 10, 150, "10", "150", {10, 150}},
    };
    for (const Case& c : cases) {
        left->setValue(10);
        right->setValue(100);
        ASSERT_EQ(minField->text(), "10");
        ranges.clear();
        typeInto(c.typeMinimum ? minField : maxField, c.typed);
        EXPECT_EQ(left->value(), c.left) << c.what;
        EXPECT_EQ(right->value(), c.right) << c.what;
        EXPECT_EQ(minField->text(), c.minText) << c.what;
        EXPECT_EQ(maxField->text(), c.maxText) << c.what;
        ASSERT_FALSE(ranges.empty()) << c.what;
        EXPECT_EQ(ranges.back(), c.last) << c.what;
    }
}

TEST_F(HistogramToolTest, AutoGoesBackToThePicturesRange) {
    tool->updateHistoHandle(twoLevels(30, 180));
    left->setValue(90);
    right->setValue(20);
    ranges.clear();
    click(*tool, "pushButton_Auto");
    EXPECT_EQ(left->value(), 30);
    EXPECT_EQ(right->value(), 180);
    EXPECT_EQ(ranges.back(), Range(30, 180));
    EXPECT_EQ(minField->text(), "30");
    EXPECT_EQ(maxField->text(), "180");
}

TEST_F(HistogramToolTest, BackEmptiesTheChartThenClosesThenKeepsThePicture) {
    tool->updateHistoHandle(twoLevels(30, 180));
    QStringList steps;
    QObject::connect(tool.get(), &HistogramAdjustToolFrame::hideToolFrame, [&] {
        steps << QStringLiteral("hide, chart %1").arg(chart->chartOfFrame()->series().size());
    });
    QObject::connect(tool.get(), &HistogramAdjustToolFrame::updateCurrImage,
                     [&] { steps << QStringLiteral("keep"); });
    click(*tool, "pushButton_Back");
    EXPECT_EQ(steps, (QStringList{"hide, chart 0", "keep"}));
    EXPECT_EQ(chart->currentSeries(), nullptr);
    // The values stay for the next opening.
    EXPECT_EQ(left->value(), 30);
    EXPECT_EQ(right->value(), 180);
}

TEST_F(HistogramToolTest, LanguageChangeEmptiesTheFieldsUntilTheNextChange) {
    left->setValue(10);
    right->setValue(100);
    s_control->changeLanguage(0);
    QApplication::processEvents();
    EXPECT_TRUE(minField->text().isEmpty());
    EXPECT_TRUE(maxField->text().isEmpty());
    EXPECT_EQ(tool->findChild<QPushButton*>("pushButton_Back")->text(), QStringLiteral("返回"));
    EXPECT_EQ(left->value(), 10);
    right->setValue(120);
    EXPECT_EQ(minField->text(), "10");
    EXPECT_EQ(maxField->text(), "120");
}
