#include "MultFluore_BottomBarFrame.h"

#include "ui_MultFluore_BottomBarFrame.h"

#include <QEvent>

MultFluore_BottomBarFrame::MultFluore_BottomBarFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MultFluore_BottomBarFrame) {
    ui->setupUi(this);
}

MultFluore_BottomBarFrame::~MultFluore_BottomBarFrame() {
    delete ui;
}

void MultFluore_BottomBarFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}

// There is no picture of this page to export or describe.
void MultFluore_BottomBarFrame::on_pushButton_Export_clicked() {}

void MultFluore_BottomBarFrame::on_pushButton_Info_clicked() {}

void MultFluore_BottomBarFrame::on_pushButton_Process_clicked() {
    emit sig_ShowImgProcessFrame();
}
