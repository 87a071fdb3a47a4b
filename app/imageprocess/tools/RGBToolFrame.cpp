#include "RGBToolFrame.h"

#include "ui_RGBToolFrame.h"

#include <QEvent>

RGBToolFrame::RGBToolFrame(QWidget* parent) : QFrame(parent), ui(new Ui::RGBToolFrame) {
    ui->setupUi(this);
}

RGBToolFrame::~RGBToolFrame() {
    delete ui;
}

void RGBToolFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
