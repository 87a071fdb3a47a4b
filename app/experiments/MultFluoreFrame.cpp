#include "MultFluoreFrame.h"

#include "controller/CI_MainControl.h"
#include "style/NotBuiltLabel.h"

#include <QGridLayout>

MultFluoreFrame::MultFluoreFrame(QWidget* parent)
    : QFrame(parent), m_mainControl(CI_MainControl::getInstance()) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}

void MultFluoreFrame::showEvent(QShowEvent* event) {
    m_mainControl->expType = MultFluore;
    QFrame::showEvent(event);
}
