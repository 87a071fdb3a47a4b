#include "mainwindow/ReportPageFrame.h"

#include "ui_ReportPageFrame.h"

#include "controller/CI_MainControl.h"
#include "style/StyleSheet.h"

#include <QEvent>

ReportPageFrame::ReportPageFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::ReportPageFrame), m_mainControl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    connect(ui->frame_Method, &RP_MethodFrame::sig_ChangeFuncFrame, ui->frame_Func,
            &RP_FuncFrame::slot_ChangeFuncFrame);
    connect(this, &ReportPageFrame::updateButton, ui->frame_Method,
            &RP_MethodFrame::updateButtonHandle);
    loadStyleSheet();
}

ReportPageFrame::~ReportPageFrame() {
    delete ui;
}

void ReportPageFrame::loadStyleSheet() {
    setStyleSheet(
        readLanguageStyleSheet(QStringLiteral("rp_methodframe"), m_mainControl->getLanguageID()));
}

void ReportPageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        loadStyleSheet();
    }
    event->accept();
}
