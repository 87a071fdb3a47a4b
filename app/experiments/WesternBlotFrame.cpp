#include "WesternBlotFrame.h"

#include "controller/CI_MainControl.h"
#include "style/NotBuiltLabel.h"

#include <QGridLayout>
#include <QtDebug>

WesternBlotFrame::WesternBlotFrame(QWidget* parent)
    : QFrame(parent), m_mainControl(CI_MainControl::getInstance()) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}

void WesternBlotFrame::exitExperimentFrameHandle() {
    qDebug() << "WesternBlotFrame exit.";
}

void WesternBlotFrame::slot_EnterWbFrame() {
    qDebug() << "WesternBlotFrame enter.";
}

void WesternBlotFrame::showEvent(QShowEvent* event) {
    m_mainControl->expType = WesternBlot;
    QFrame::showEvent(event);
}
