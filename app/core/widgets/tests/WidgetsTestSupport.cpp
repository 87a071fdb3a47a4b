#include "WidgetsTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPropertyAnimation>

namespace {

void sendMouse(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, widget->mapToGlobal(pos.toPoint()), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

void sendPress(QWidget* widget, QPointF pos) {
    sendMouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
}

void sendMove(QWidget* widget, QPointF pos) {
    sendMouse(widget, QEvent::MouseMove, pos, Qt::LeftButton);
}

void sendRelease(QWidget* widget, QPointF pos) {
    sendMouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

void paintNow(QWidget* widget) {
    widget->grab();
}

void finishSnap(QWidget* column) {
    auto* animation = column->findChild<QPropertyAnimation*>();
    if (animation != nullptr && animation->state() == QAbstractAnimation::Running)
        animation->setCurrentTime(animation->totalDuration());
}

void dragBy(QWidget* column, int y0, int dy) {
    sendPress(column, QPointF(10, y0));
    sendMove(column, QPointF(10, y0 + dy));
    sendRelease(column, QPointF(10, y0 + dy));
    finishSnap(column);
}
