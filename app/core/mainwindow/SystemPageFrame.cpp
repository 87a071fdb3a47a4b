#include "mainwindow/SystemPageFrame.h"

#include "ui_SystemPageFrame.h"

#include "controller/CI_MainControl.h"
#include "style/StyleSheet.h"

#include <QEvent>

SystemPageFrame::SystemPageFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::SystemPageFrame), m_mainControl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    loadStyleSheet();
    connect(ui->frame_Method, SIGNAL(sig_ChangeFuncFrame(SP_FuncFrameType)), ui->frame_Func,
            SLOT(slot_ChangeFuncFrame(SP_FuncFrameType)));
}

SystemPageFrame::~SystemPageFrame() {
    delete ui;
}

void SystemPageFrame::loadStyleSheet() {
    setStyleSheet(
        readLanguageStyleSheet(QStringLiteral("sp_methodframe"), m_mainControl->getLanguageID()));
}

void SystemPageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        loadStyleSheet();
    }
    event->accept();
}
