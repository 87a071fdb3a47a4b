#include "SP_MethodFrame.h"

#include "ui_SP_MethodFrame.h"

#include "SystemResources.h"
#include "controller/CI_MainControl.h"

#include <QEvent>

SP_MethodFrame::SP_MethodFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::SP_MethodFrame), mainCtrl(CI_MainControl::getInstance()) {
    ensureSystemResources();
    ui->setupUi(this);
    ui->pushButton_SampleType->hide();
}

SP_MethodFrame::~SP_MethodFrame() {
    delete ui;
}

void SP_MethodFrame::uncheckAll() {
    for (QPushButton* button :
         {ui->pushButton_UserManage, ui->pushButton_SampleType, ui->pushButton_ReportTitle,
          ui->pushButton_DeviceSetting, ui->pushButton_SystemInfo}) {
        button->setChecked(false);
    }
}

void SP_MethodFrame::enableAll() {
    for (QPushButton* button :
         {ui->pushButton_UserManage, ui->pushButton_SampleType, ui->pushButton_ReportTitle,
          ui->pushButton_DeviceSetting, ui->pushButton_SystemInfo}) {
        button->setEnabled(true);
    }
}

void SP_MethodFrame::choose(QPushButton* button, SP_FuncFrameType funcFrameType, bool checked) {
    if (!checked) {
        return;
    }
    enableAll();
    uncheckAll();
    // The current entry keeps its highlight and cannot be clicked again.
    button->setChecked(true);
    button->setEnabled(false);
    emit sig_ChangeFuncFrame(funcFrameType);
}

void SP_MethodFrame::on_pushButton_UserManage_clicked(bool checked) {
    choose(ui->pushButton_UserManage, SP_UserManage, checked);
}

void SP_MethodFrame::on_pushButton_SampleType_clicked(bool checked) {
    choose(ui->pushButton_SampleType, SP_SampleType, checked);
}

void SP_MethodFrame::on_pushButton_DeviceSetting_clicked(bool checked) {
    choose(ui->pushButton_DeviceSetting, SP_DeviceSetting, checked);
}

void SP_MethodFrame::on_pushButton_SystemInfo_clicked(bool checked) {
    choose(ui->pushButton_SystemInfo, SP_SystemInfo, checked);
}

void SP_MethodFrame::on_pushButton_ReportTitle_clicked(bool checked) {
    choose(ui->pushButton_ReportTitle, SP_ReportTitle, checked);
}

void SP_MethodFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
