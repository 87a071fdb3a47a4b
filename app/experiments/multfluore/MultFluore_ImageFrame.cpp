#include "MultFluore_ImageFrame.h"

#include "ui_MultFluore_ImageFrame.h"

#include <QEvent>

MultFluore_ImageFrame::MultFluore_ImageFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MultFluore_ImageFrame) {
    ui->setupUi(this);
}

MultFluore_ImageFrame::~MultFluore_ImageFrame() {
    delete ui;
}

void MultFluore_ImageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
