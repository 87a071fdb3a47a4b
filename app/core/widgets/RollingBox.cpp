#include "widgets/RollingBox.h"

#include <QDateTime>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPropertyAnimation>
#include <QtGlobal>

namespace {

constexpr int kSnapDurationMs = 300;
constexpr int kInitialFontDivisor = 6;
// Below this height a quarter step is zero pixels and nothing can be drawn or dragged.
constexpr int kMinimumUsableHeight = 5;

int decimalDigits(int number) {
    int digits = 0;
    for (; number > 0; number /= 10)
        ++digits;
    return digits;
}

}  // namespace

RollingBox::RollingBox(QWidget* parent, const Column& column)
    : QWidget(parent),
      minimum(column.minimum),
      maximum(column.maximum),
      value(0),
      dragging(false),
      deviation(0),
      pressY(0),
      fontDivisor(kInitialFontDivisor),
      snapAnimation(nullptr),
      fieldPattern(column.fieldPattern),
      suffix(column.suffix),
      fixedPixelSize(column.fixedPixelSize),
      emitsDeviation(column.emitsDeviation) {
    value = fieldNow();
    setWindowFlags(windowFlags() & ~Qt::WindowMinMaxButtonsHint);
    setStyleSheet(QStringLiteral("background:white;"));
    snapAnimation = new QPropertyAnimation(this, "deviation", this);
    snapAnimation->setDuration(kSnapDurationMs);
    snapAnimation->setEasingCurve(QEasingCurve::OutQuad);
}

int RollingBox::fieldNow() const {
    return QDateTime::currentDateTime().toString(fieldPattern).toInt();
}

void RollingBox::setRange(int newMinimum, int newMaximum) {
    minimum = newMinimum;
    maximum = newMaximum;
    if (value < minimum)
        value = minimum;
    if (value > maximum)
        value = maximum;
    // Wider numbers get a smaller font.
    fontDivisor = 3 + decimalDigits(maximum);
    update();
}

void RollingBox::setToNow() {
    value = fieldNow();
    update();
}

void RollingBox::setDeviation(int newDeviation) {
    deviation = newDeviation;
    update();
}

void RollingBox::mousePressEvent(QMouseEvent* event) {
    snapAnimation->stop();
    dragging = true;
    pressY = qRound(event->localPos().y());
}

void RollingBox::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging)
        return;
    const int y = qRound(event->localPos().y());
    // No dragging past the first value downward or past the last value upward.
    if (value == minimum && y >= pressY)
        return;
    if (value == maximum && y <= pressY)
        return;

    const int step = (height() - 1) / 4;
    deviation = qBound(-step, y - pressY, step);
    if (emitsDeviation) {
        const int divisor = (height() - 1) / 5;
        emit deviationChange(divisor > 0 ? float(deviation) / divisor : 0.0f);
    }
    update();
}

void RollingBox::mouseReleaseEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    if (!dragging)
        return;
    dragging = false;
    snapBack();
}

void RollingBox::snapBack() {
    const int threshold = height() / 8;
    const int eighth = (height() - 1) / 8;
    if (deviation > threshold) {
        snapAnimation->setStartValue(eighth - deviation);
        --value;
    } else if (deviation < -threshold) {
        snapAnimation->setStartValue(-eighth - deviation);
        ++value;
    } else {
        snapAnimation->setStartValue(deviation);
    }
    snapAnimation->setEndValue(0);
    emit currentValueChanged(value);
    snapAnimation->start();
}

void RollingBox::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    if (height() < kMinimumUsableHeight)
        return;
    const int step = (height() - 1) / 4;
    const int halfHeight = (height() - 1) / 2;

    // A drag that has travelled a full step moves the value by one and starts anew there.
    if (deviation >= step && minimum < value) {
        pressY += step;
        deviation -= step;
        --value;
    }
    if (deviation <= -step && value < maximum) {
        pressY -= step;
        deviation += step;
        ++value;
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    paintValue(painter, value, deviation);
    if (value != minimum)
        paintValue(painter, value - 1, deviation - step);
    if (value != maximum)
        paintValue(painter, value + 1, deviation + step);
    if (deviation >= 0 && value - 1 > minimum)
        paintValue(painter, value - 2, deviation - halfHeight);
    if (deviation <= 0 && value + 1 < maximum)
        paintValue(painter, value + 2, deviation + halfHeight);

    const int eighth = (height() - 1) / 8;
    painter.setPen(
        QPen(QColor(70, 144, 249, 255), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawLine(0, 3 * eighth, width() - 1, 3 * eighth);
    painter.drawLine(0, 5 * eighth, width() - 1, 5 * eighth);
}

void RollingBox::paintValue(QPainter& painter, int number, int offset) {
    const int w = width() - 1;
    const int h = height() - 1;
    const int distance = qAbs(offset);

    // Fully opaque at rest, half at one step, transparent from two steps on.
    const int alpha = qBound(0, 255 + (-510 * distance) / h, 255);
    const int boxHeight = qMax(0, h / 2 + (-3 * distance) / 5);
    const int boxTop = offset + h / 2 - boxHeight / 2;

    const int pixelSize =
        fixedPixelSize > 0 ? fixedPixelSize : (height() - 1 - distance) / fontDivisor;
    if (pixelSize < 1 || alpha == 0)
        return;

    QFont font;
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0, alpha));
    painter.drawText(QRect(0, boxTop, w, boxHeight), Qt::AlignCenter,
                     QString::number(number) + suffix);
}

// The year column starts at the present year and covers every four-digit year a record
// of this program can carry.
RollingBoxY::RollingBoxY(QWidget* parent)
    : RollingBox(parent, {1970, 9999, QStringLiteral("yyyy"), QStringLiteral("年"), 0, false}) {}

RollingBoxM::RollingBoxM(QWidget* parent)
    : RollingBox(parent, {1, 12, QStringLiteral("MM"), QStringLiteral("月"), 0, true}) {}

// The picker narrows the day's maximum to the chosen month on its first refresh; until then
// every day of the longest month is allowed.
RollingBoxD::RollingBoxD(QWidget* parent)
    : RollingBox(parent, {1, 31, QStringLiteral("dd"), QStringLiteral("日"), 20, true}) {}

// Hours of a 24-hour clock, as the submitted text writes them.
RollingBoxH::RollingBoxH(QWidget* parent)
    : RollingBox(parent, {0, 23, QStringLiteral("HH"), QStringLiteral("时"), 0, true}) {}

RollingBoxMM::RollingBoxMM(QWidget* parent)
    : RollingBox(parent, {0, 59, QStringLiteral("mm"), QStringLiteral("分"), 0, true}) {}

RollingBoxS::RollingBoxS(QWidget* parent)
    : RollingBox(parent, {0, 59, QStringLiteral("ss"), QStringLiteral("秒"), 0, true}) {}
