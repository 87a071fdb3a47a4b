#include "widgets/MySlider.h"

#include <QMouseEvent>
#include <QtGlobal>

MySlider::MySlider(QWidget* parent) : QSlider(parent) {
    setTracking(false);
}

void MySlider::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);

    const int sliderWidth = width();
    if (sliderWidth <= 0)
        return;  // not laid out yet: there is no position to jump to

    // 64-bit arithmetic: a range spanning most of int would overflow maximum - minimum.
    const qint64 range = qint64(maximum()) - qint64(minimum());
    const double fraction = double(event->x()) / double(sliderWidth);
    const qint64 target = qint64(minimum()) + qint64(fraction * double(range));
    const qint64 distance = qAbs(target - qint64(value()));
    if (distance > range / 8)
        setValue(int(qBound(qint64(minimum()), target, qint64(maximum()))));
}
