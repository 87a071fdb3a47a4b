#include "SQ_ChartFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QOpenGLContext>
#include <QPen>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

using namespace QtCharts;

namespace {

// OpenGL series need a GL context of the platform; offscreen and on displays
// without GL the same curve is drawn by the raster painter.
bool platformOffersOpenGL() {
    QOpenGLContext probe;
    return probe.create();
}

}  // namespace

SQ_ChartFrame::SQ_ChartFrame(QWidget* parent) : QFrame(parent), ui(new Form), chart(new QChart) {
    setupForm();
    initChart();
}

SQ_ChartFrame::~SQ_ChartFrame() {
    // The view owns the chart, and the chart the series it shows; a curve not
    // yet on the chart is ours.
    if (upperSeries != nullptr && !chart->series().contains(upperSeries)) {
        delete upperSeries;
    }
    delete ui;
}

void SQ_ChartFrame::setupForm() {
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("SQ_ChartFrame"));
    }
    resize(190, 90);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    ui->gridLayout = new QGridLayout(this);
    ui->gridLayout->setObjectName(QStringLiteral("gridLayout"));
    ui->gridLayout->setSpacing(0);
    ui->gridLayout->setContentsMargins(0, 0, 0, 0);
    ui->graphicsView_Chart = new QChartView(this);
    ui->graphicsView_Chart->setObjectName(QStringLiteral("graphicsView_Chart"));
    ui->graphicsView_Chart->setMinimumSize(QSize(0, 0));
    ui->graphicsView_Chart->setMaximumSize(QSize(16777215, 16777215));
    ui->gridLayout->addWidget(ui->graphicsView_Chart, 0, 0);
    retranslateForm();
}

void SQ_ChartFrame::retranslateForm() {
    setWindowTitle(QCoreApplication::translate("SQ_ChartFrame", "Frame"));
}

void SQ_ChartFrame::initChart() {
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    // No series yet, so no axes now or later: each curve scales to itself.
    chart->createDefaultAxes();
    chart->setBackgroundVisible(false);
    chart->legend()->hide();
    ui->graphicsView_Chart->setChart(chart);
    ui->graphicsView_Chart->setRenderHint(QPainter::Antialiasing);
}

void SQ_ChartFrame::appendUpperLineSeries(QList<QPointF> dataList) {
    if (upperSeries != nullptr) {
        return;
    }
    upperSeries = new QLineSeries;
    upperSeries->replace(dataList);
}

void SQ_ChartFrame::updateLineSeriesToChart(int minInten, int maxInten) {
    Q_UNUSED(minInten)
    Q_UNUSED(maxInten)
    if (upperSeries == nullptr || chart->series().contains(upperSeries)) {
        return;
    }
    QPen pen(Qt::black);
    pen.setWidth(2);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::BevelJoin);
    upperSeries->setPen(pen);
    static const bool useOpenGL = platformOffersOpenGL();
    upperSeries->setUseOpenGL(useOpenGL);
    chart->addSeries(upperSeries);
}

void SQ_ChartFrame::clearChart() {
    if (upperSeries == nullptr) {
        return;
    }
    if (chart->series().contains(upperSeries)) {
        chart->removeSeries(upperSeries);
    }
    upperSeries->clear();
    delete upperSeries;
    upperSeries = nullptr;
}

void SQ_ChartFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslateForm();
    }
    event->accept();
}
