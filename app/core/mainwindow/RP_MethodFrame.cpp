#include "mainwindow/RP_MethodFrame.h"

#include "ui_RP_MethodFrame.h"

#include "controller/CI_MainControl.h"

#include <QEvent>

RP_MethodFrame::RP_MethodFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::RP_MethodFrame), m_mainControl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    hideButtons();
}

RP_MethodFrame::~RP_MethodFrame() {
    delete ui;
}

void RP_MethodFrame::hideButtons() {
    ui->pushButton_PrintReport->hide();
    ui->pushButton_EditReport->hide();
}

void RP_MethodFrame::updateButtonHandle() {
    ui->pushButton_ReportManage->setChecked(false);
}

void RP_MethodFrame::on_pushButton_ReportManage_clicked(bool checked) {
    emit sig_ChangeFuncFrame(RP_ReportManage, checked);
}

void RP_MethodFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
