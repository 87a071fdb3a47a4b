#include "MultFluoreCamSetFrame.h"

#include "ui_MultFluoreCamSetFrame.h"

#include <QEvent>

MultFluoreCamSetFrame::MultFluoreCamSetFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MultFluoreCamSetFrame) {
    ui->setupUi(this);
}

MultFluoreCamSetFrame::~MultFluoreCamSetFrame() {
    delete ui;
}

void MultFluoreCamSetFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
