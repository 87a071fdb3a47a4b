#include "SP_MethodFrame.h"

#include "style/NotBuiltLabel.h"

#include <QGridLayout>

SP_MethodFrame::SP_MethodFrame(QWidget* parent) : QFrame(parent) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}
