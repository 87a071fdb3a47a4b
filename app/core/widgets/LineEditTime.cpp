#include "widgets/LineEditTime.h"

#include <QFocusEvent>

LineEditTime::LineEditTime(QWidget* parent) : QLineEdit(parent) {}

void LineEditTime::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (text().isEmpty())
        setText(QStringLiteral("0"));
}
