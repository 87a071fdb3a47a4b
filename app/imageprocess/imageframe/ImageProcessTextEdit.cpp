#include "ImageProcessTextEdit.h"

ImageProcessTextEdit::ImageProcessTextEdit(QWidget* parent) : QTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ImageProcessTextEdit::focusOutEvent(QFocusEvent* event) {
    Q_UNUSED(event)
    emit updateTextEdit();
}
