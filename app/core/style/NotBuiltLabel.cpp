#include "style/NotBuiltLabel.h"

#include <QEvent>

NotBuiltLabel::NotBuiltLabel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("label_NotBuilt"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    retranslate();
}

void NotBuiltLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
    }
    QLabel::changeEvent(event);
}

void NotBuiltLabel::retranslate() {
    setText(tr("This page is not built yet."));
}
