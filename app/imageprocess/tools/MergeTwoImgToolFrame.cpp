#include "MergeTwoImgToolFrame.h"

#include "ui_MergeTwoImgToolFrame.h"

#include <QEvent>

MergeTwoImgToolFrame::MergeTwoImgToolFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MergeTwoImgToolFrame) {
    ui->setupUi(this);
}

MergeTwoImgToolFrame::~MergeTwoImgToolFrame() {
    delete ui;
}

void MergeTwoImgToolFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
