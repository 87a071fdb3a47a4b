#include "MergeThreeImgToolFrame.h"

#include "ui_MergeThreeImgToolFrame.h"

#include <QEvent>

MergeThreeImgToolFrame::MergeThreeImgToolFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MergeThreeImgToolFrame) {
    ui->setupUi(this);
}

MergeThreeImgToolFrame::~MergeThreeImgToolFrame() {
    delete ui;
}

void MergeThreeImgToolFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
