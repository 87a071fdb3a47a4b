#include "ImageProcessLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {

QPoint roundedPosition(const QMouseEvent* event) {
    return {qRound(event->localPos().x()), qRound(event->localPos().y())};
}

}  // namespace

ImageProcessLabel::ImageProcessLabel(QWidget* parent) : QLabel(parent) {
    setAttribute(Qt::WA_MouseTracking);
}

void ImageProcessLabel::setCutStatus(bool b) {
    cutStatus = b;
}

void ImageProcessLabel::setLabelStatus(bool b) {
    labelStatus = b;
}

QRect ImageProcessLabel::selectRect() const {
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

void ImageProcessLabel::startRect(const QPoint& at) {
    isPressed = true;
    x1 = x2 = at.x();
    y1 = y2 = at.y();
}

void ImageProcessLabel::mousePressEvent(QMouseEvent* event) {
    if ((cutStatus || labelStatus) && event->button() == Qt::LeftButton) {
        startRect(roundedPosition(event));
    }
    QLabel::mousePressEvent(event);
}

void ImageProcessLabel::mouseMoveEvent(QMouseEvent* event) {
    if ((cutStatus || labelStatus) && isPressed) {
        const QPoint at = roundedPosition(event);
        mouseX = x2 = at.x();
        mouseY = y2 = at.y();
        update();
    }
    QLabel::mouseMoveEvent(event);
}

void ImageProcessLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A release without its press (the button went down before the mode was
    // set) has no rectangle of its own to report.
    if (event->button() == Qt::LeftButton && isPressed) {
        if (cutStatus) {
            isPressed = false;
            cutStatus = false;
            update();
            emit cutSelected(selectRect());
        } else if (labelStatus) {
            // Text mode stays on until the text is committed or cancelled.
            isPressed = false;
            cutStatus = false;
            update();
            emit labelSelected(selectRect());
        }
    }
    QLabel::mouseReleaseEvent(event);
}

void ImageProcessLabel::wheelEvent(QWheelEvent* event) {
    if (!ctrlPressed) {
        QWidget::wheelEvent(event);  // ignored: the scroll area scrolls
        return;
    }
    if (event->angleDelta().y() > 0) {
        emit zoomIn();
    } else {
        emit zoomOut();
    }
    event->accept();
}

void ImageProcessLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control) {
        ctrlPressed = true;
    }
}

void ImageProcessLabel::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Control) {
        ctrlPressed = false;
    }
}

void ImageProcessLabel::enterEvent(QEvent* event) {
    grabKeyboard();
    QLabel::enterEvent(event);
}

void ImageProcessLabel::leaveEvent(QEvent* event) {
    releaseKeyboard();
    // Ctrl released elsewhere would never reach the label.
    ctrlPressed = false;
    QLabel::leaveEvent(event);
}

void ImageProcessLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    const QRect whole(0, 0, width(), height());
    if (cutStatus) {
        QPainter painter(this);
        painter.setBrush(QColor(0, 0, 0, 100));
        if (isPressed) {
            painter.setPen(QColor(255, 0, 0, 255));
            painter.drawLine(0, mouseY, width(), mouseY);
            painter.drawLine(mouseX, 0, mouseX, height());
            painter.setClipRegion(QRegion(whole).subtracted(QRegion(selectRect().normalized())));
        }
        painter.drawRect(whole.adjusted(0, 0, -1, -1));
    }
    if (labelStatus) {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.setPen(QPen(QBrush(Qt::red), 2.0, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(selectRect());
    }
}
