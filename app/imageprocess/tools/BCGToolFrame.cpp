#include "BCGToolFrame.h"

#include "ui_BCGToolFrame.h"

#include <QEvent>

BCGToolFrame::BCGToolFrame(QWidget* parent) : QFrame(parent), ui(new Ui::BCGToolFrame) {
    ui->setupUi(this);
}

BCGToolFrame::~BCGToolFrame() {
    delete ui;
}

void BCGToolFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
