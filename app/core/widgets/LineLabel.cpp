#include "widgets/LineLabel.h"

#include <QPainter>
#include <QPen>

namespace {
// The markers span the chart's height in the capture panels, whatever the label's height.
constexpr int kLineLength = 70;
constexpr int kLineWidth = 2;
}  // namespace

LineLabel::LineLabel(QWidget* parent) : QLabel(parent), leftPos(0), rightPos(0), showLine(false) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void LineLabel::setLinePos(int left, int right) {
    leftPos = left;
    rightPos = right;
}

void LineLabel::setShowLine(bool show) {
    showLine = show;
    update();
}

void LineLabel::paintEvent(QPaintEvent* event) {
    if (showLine) {
        QPainter painter(this);
        QPen pen;
        pen.setWidth(kLineWidth);
        pen.setColor(Qt::red);
        painter.setPen(pen);
        painter.drawLine(leftPos, 0, leftPos, kLineLength);
        pen.setColor(Qt::blue);
        painter.setPen(pen);
        painter.drawLine(rightPos, 0, rightPos, kLineLength);
    }
    // Only the frame: the label is an overlay and its text or picture stays hidden.
    QFrame::paintEvent(event);
}
