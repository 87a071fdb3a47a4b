#include "VarnuFrame.h"

#include "controller/CI_MainControl.h"
#include "style/NotBuiltLabel.h"

#include <QGridLayout>
#include <QtDebug>

VarnuFrame::VarnuFrame(QWidget* parent)
    : QFrame(parent), m_mainControl(CI_MainControl::getInstance()) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}

void VarnuFrame::exitExperimentFrameHandle() {
    qDebug() << "VarnuFrame exit.";
}

void VarnuFrame::slot_EnterVrFrame() {
    qDebug() << "VarnuFrame enter.";
}

void VarnuFrame::showEvent(QShowEvent* event) {
    m_mainControl->expType = Varnu;
    QFrame::showEvent(event);
}
