#pragma once

#include <QFrame>
#include <QList>
#include <QPointF>

namespace QtCharts {
class QChart;
class QChartView;
class QLineSeries;
}  // namespace QtCharts
class QGridLayout;

// One histogram curve drawn with Qt Charts: no axes, legend, background or
// margins, only the line. Users clear it, append the points, then put the
// curve on the chart.
class SQ_ChartFrame : public QFrame {
    Q_OBJECT
  public:
    explicit SQ_ChartFrame(QWidget* parent = nullptr);
    ~SQ_ChartFrame() override;

    QtCharts::QChart* chartOfFrame() const { return chart; }
    // The current curve, or null.
    QtCharts::QLineSeries* currentSeries() const { return upperSeries; }

  public slots:
    // Starts a curve of these points when there is none; otherwise the list
    // is dropped.
    void appendUpperLineSeries(QList<QPointF> dataList);
    // Puts the current curve on the chart with its pen. The range is not
    // drawn. Without a curve, or for a curve already shown, nothing happens.
    void updateLineSeriesToChart(int minInten, int maxInten);
    // Removes and deletes the current curve, if any.
    void clearChart();
    void changeEvent(QEvent* event) override;

  private:
    struct Form {
        QGridLayout* gridLayout = nullptr;
        QtCharts::QChartView* graphicsView_Chart = nullptr;
    };
    void setupForm();
    void retranslateForm();
    void initChart();

    Form* ui;
    QtCharts::QChart* chart;
    QtCharts::QLineSeries* upperSeries = nullptr;
};
