#include "SQ_ChartFrame.h"

#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include <gtest/gtest.h>

using namespace QtCharts;

namespace {

QChart* chartOf(SQ_ChartFrame& frame) {
    auto* view = frame.findChild<QChartView*>(QStringLiteral("graphicsView_Chart"));
    return view != nullptr ? view->chart() : nullptr;
}

QLineSeries* shownSeries(SQ_ChartFrame& frame) {
    const auto series = chartOf(frame)->series();
    return series.size() == 1 ? qobject_cast<QLineSeries*>(series.first()) : nullptr;
}

const QList<QPointF> kFirst = {{0, 1}, {1, 5}, {2, 3}};
const QList<QPointF> kSecond = {{0, 9}, {1, 9}};

}  // namespace

TEST(SQ_ChartFrame, NewFrameIsAnEmptyPlotWithoutAxesLegendOrBackground) {
    SQ_ChartFrame frame;
    QChart* chart = chartOf(frame);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(frame.objectName(), "SQ_ChartFrame");
    EXPECT_EQ(frame.size(), QSize(190, 90));
    EXPECT_TRUE(chart->series().isEmpty());
    EXPECT_TRUE(chart->axes().isEmpty());
    EXPECT_FALSE(chart->legend()->isVisible());
    EXPECT_FALSE(chart->isBackgroundVisible());
    EXPECT_EQ(chart->margins(), QMargins(0, 0, 0, 0));
}

TEST(SQ_ChartFrame, CurveAppearsOnlyAfterUpdateWithItsPen) {
    SQ_ChartFrame frame;
    frame.appendUpperLineSeries(kFirst);
    EXPECT_TRUE(chartOf(frame)->series().isEmpty());
    frame.updateLineSeriesToChart(0, 255);
    QLineSeries* series = shownSeries(frame);
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->points(), kFirst);
    EXPECT_EQ(series->pen().color(), QColor(Qt::black));
    EXPECT_EQ(series->pen().width(), 2);
    EXPECT_EQ(series->pen().capStyle(), Qt::SquareCap);
    EXPECT_EQ(series->pen().joinStyle(), Qt::BevelJoin);
    EXPECT_TRUE(chartOf(frame)->axes().isEmpty());
}

TEST(SQ_ChartFrame, SecondAppendWithoutClearKeepsTheFirstList) {
    SQ_ChartFrame frame;
    frame.appendUpperLineSeries(kFirst);
    frame.appendUpperLineSeries(kSecond);
    frame.updateLineSeriesToChart(0, 255);
    ASSERT_NE(shownSeries(frame), nullptr);
    EXPECT_EQ(shownSeries(frame)->points(), kFirst);
}

TEST(SQ_ChartFrame, RangeArgumentsDoNotChangeTheCurveAndASecondUpdateIsHarmless) {
    SQ_ChartFrame a;
    SQ_ChartFrame b;
    a.appendUpperLineSeries(kFirst);
    b.appendUpperLineSeries(kFirst);
    a.updateLineSeriesToChart(10, 200);
    b.updateLineSeriesToChart(0, 255);
    b.updateLineSeriesToChart(0, 255);
    EXPECT_EQ(chartOf(b)->series().size(), 1);
    EXPECT_EQ(shownSeries(a)->points(), shownSeries(b)->points());
    EXPECT_EQ(shownSeries(a)->pen(), shownSeries(b)->pen());
}

TEST(SQ_ChartFrame, ClearingIsHarmlessWhenEmptyTwiceOrBeforeUpdate) {
    SQ_ChartFrame frame;
    frame.clearChart();
    frame.updateLineSeriesToChart(0, 255);  // no curve: nothing to show
    EXPECT_TRUE(chartOf(frame)->series().isEmpty());

    frame.appendUpperLineSeries(kFirst);
    frame.clearChart();  // not on the chart yet
    frame.appendUpperLineSeries(kSecond);
    frame.updateLineSeriesToChart(0, 255);
    EXPECT_EQ(shownSeries(frame)->points(), kSecond);
    frame.clearChart();
    frame.clearChart();
    EXPECT_TRUE(chartOf(frame)->series().isEmpty());

    // A new curve after clearing is the new list.
    frame.appendUpperLineSeries(kFirst);
    frame.updateLineSeriesToChart(0, 255);
    EXPECT_EQ(shownSeries(frame)->points(), kFirst);
}

TEST(SQ_ChartFrame, EmptyListGivesAnEmptyCurveAndLargeHistogramsAreTaken) {
    SQ_ChartFrame frame;
    frame.appendUpperLineSeries({});
    frame.updateLineSeriesToChart(0, 0);
    ASSERT_NE(shownSeries(frame), nullptr);
    EXPECT_EQ(shownSeries(frame)->count(), 0);

    frame.clearChart();
    QList<QPointF> bins;
    for (int i = 0; i < 65536; ++i) {
        bins.append(QPointF(i, i % 97));
    }
    frame.appendUpperLineSeries(bins);
    frame.updateLineSeriesToChart(0, 65535);
    EXPECT_EQ(shownSeries(frame)->count(), 65536);
    frame.resize(300, 120);
    frame.show();
    EXPECT_FALSE(frame.grab().isNull());
}
