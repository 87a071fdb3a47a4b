#include "BlotHistogramRange.h"

#include "SQ_ChartFrame.h"
#include "widgets/LineLabel.h"

#include <QLineEdit>
#include <QList>
#include <QPointF>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

BlotHistogramRange::BlotHistogramRange(const Widgets& widgets) : ui(widgets) {
    ui.sliderLeft->setRange(0, kTopLevel);
    ui.sliderRight->setRange(0, kTopLevel);
    const QRegularExpression digits(QStringLiteral("[0-9]{0,5}"));
    ui.lineEditMin->setValidator(new QRegularExpressionValidator(digits, ui.lineEditMin));
    ui.lineEditMax->setValidator(new QRegularExpressionValidator(digits, ui.lineEditMax));
}

BlotHistogramRange::Range BlotHistogramRange::autoRange(const QVector<double>& histogram) {
    Range range(kTopLevel, 0);
    const int bins = std::min(histogram.size(), kTopLevel + 1);
    for (int bin = 0; bin < bins; ++bin) {
        if (histogram.at(bin) > 0) {
            range.first = std::min(range.first, bin);
            range.second = std::max(range.second, bin);
        }
    }
    return range;
}

BlotHistogramRange::Range BlotHistogramRange::markerPositions(int minimum, int maximum, int width) {
    const auto position = [width](int value) {
        return static_cast<int>(static_cast<double>(value) / kTopLevel * width);
    };
    int left = std::max(position(minimum), 2);
    int right = position(maximum);
    if (right >= width - 1) {
        right = width - 2;
    }
    return Range(left, right);
}

BlotHistogramRange::Range BlotHistogramRange::showHistogram(const QVector<double>& histogram) {
    m_autoRange = autoRange(histogram);
    QList<QPointF> curve;
    curve.reserve(histogram.size());
    for (int bin = 0; bin < histogram.size(); ++bin) {
        curve.append(QPointF(bin, histogram.at(bin)));
    }
    ui.chart->clearChart();
    ui.chart->appendUpperLineSeries(curve);
    ui.chart->updateLineSeriesToChart(m_autoRange.first, m_autoRange.second);
    return automaticRange();
}

BlotHistogramRange::Range BlotHistogramRange::sliderMoved(int moved, int other) {
    const Range range(std::min(moved, other), std::max(moved, other));
    showRange(range);
    return range;
}

void BlotHistogramRange::minimumEdited() {
    const int minimum = ui.lineEditMin->text().toInt();
    const int maximum = ui.lineEditMax->text().toInt();
    if (minimum > kTopLevel) {
        ui.lineEditMin->setText(QString::number(kTopLevel));
    }
    if (maximum < minimum) {
        ui.lineEditMin->setText(ui.lineEditMax->text());
    }
    moveSliders(minimum, maximum);
    placeMarkers();
}

void BlotHistogramRange::maximumEdited() {
    const int minimum = ui.lineEditMin->text().toInt();
    const int maximum = ui.lineEditMax->text().toInt();
    if (maximum > kTopLevel) {
        ui.lineEditMax->setText(QString::number(kTopLevel));
    }
    if (maximum < minimum) {
        ui.lineEditMax->setText(ui.lineEditMin->text());
    }
    moveSliders(minimum, maximum);
    placeMarkers();
}

BlotHistogramRange::Range BlotHistogramRange::automaticRange() {
    {
        const QSignalBlocker quietLeft(ui.sliderLeft);
        const QSignalBlocker quietRight(ui.sliderRight);
        moveSliders(m_autoRange.first, m_autoRange.second);
    }
    const Range ordered(std::min(m_autoRange.first, m_autoRange.second),
                        std::max(m_autoRange.first, m_autoRange.second));
    showRange(ordered);
    return ordered;
}

void BlotHistogramRange::moveSliders(int minimum, int maximum) {
    ui.sliderLeft->setValue(minimum);
    ui.sliderRight->setValue(maximum);
}

void BlotHistogramRange::showRange(const Range& range) {
    ui.lineEditMin->setText(QString::number(range.first));
    ui.lineEditMax->setText(QString::number(range.second));
    placeMarkers();
}

void BlotHistogramRange::placeMarkers() {
    const int minimum = ui.lineEditMin->text().toInt();
    const int maximum = ui.lineEditMax->text().toInt();
    const Range markers =
        markerPositions(std::min(minimum, maximum), std::max(minimum, maximum), ui.lines->width());
    ui.lines->setLinePos(markers.first, markers.second);
    ui.lines->setShowLine(true);
}
