#include "mainwindow/CI_HeadFrame.h"

#include "ui_CI_HeadFrame.h"

#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "serial/DarkroomCommands.h"
#include "serial/LightCtrl.h"
#include "style/StyleSheet.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QMessageBox>
#include <QThread>

namespace {

// Each of the two pauses of the exit sequence; the first lets the
// confirmation box go, the second lets the serial thread put the power
// command on the line.
constexpr unsigned long kExitPauseMs = 500;

}  // namespace

CI_HeadFrame::CI_HeadFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::CI_HeadFrame),
      m_mainControl(CI_MainControl::getInstance()),
      m_lightCtrl(LightCtrl::getInstance()) {
    ui->setupUi(this);
    initFrame();
}

CI_HeadFrame::~CI_HeadFrame() {
    delete ui;
}

void CI_HeadFrame::initFrame() {
    loadStyleSheet();
    for (QPushButton* button : {ui->pushButton_Home, ui->pushButton_Report, ui->pushButton_System,
                                ui->pushButton_Exit, ui->pushButton_AuditTrail}) {
        auto* shadow = new QGraphicsDropShadowEffect(button);
        shadow->setOffset(2.0, 2.0);
        shadow->setColor(Qt::black);
        shadow->setBlurRadius(8);
        button->setGraphicsEffect(shadow);
    }
}

void CI_HeadFrame::loadStyleSheet() {
    setStyleSheet(
        readLanguageStyleSheet(QStringLiteral("headframe"), m_mainControl->getLanguageID()));
}

void CI_HeadFrame::on_pushButton_Home_clicked() {
    emit sig_ChangePage(HomePage);
}

void CI_HeadFrame::on_pushButton_Report_clicked() {
    emit sig_ChangePage(ReportPage);
}

void CI_HeadFrame::on_pushButton_System_clicked() {
    emit sig_ChangePage(SystemPage);
}

void CI_HeadFrame::on_pushButton_AuditTrail_clicked() {
    emit sig_ChangePage(AuditTrailPage);
}

void CI_HeadFrame::on_pushButton_Exit_clicked() {
    const int answer = QMessageBox::information(
        nullptr, tr("Tips"), tr("Do you really want exit ?"), tr("Yes"), tr("No"), QString(), 0, 1);
    if (answer != 0) {
        return;
    }
    QThread::msleep(kExitPauseMs);
    if (m_mainControl->powerOn) {
        m_lightCtrl->sendRawCmd({DarkroomCommand::PowerToggle});
    }
    shutDownCooledCamera();
    QThread::msleep(kExitPauseMs);
    writeExitAuditRows();
    // Start-up closes the serial link once the event loop has returned; the
    // link puts every queued byte on the line before it closes.
    QCoreApplication::quit();
}

void CI_HeadFrame::shutDownCooledCamera() {
    // Whatever the station's type: a camera that was never started answers
    // each call with an error, which changes nothing.
    TucsenCamCtrl* camera = m_mainControl->tucsenCamCtrl;
    if (camera->deviceState() == 1) {
        camera->suspendDevice();
    }
    camera->stopFlag = true;
    camera->resetDevice();
    camera->exitDevice();
}

void CI_HeadFrame::writeExitAuditRows() {
    m_mainControl->auditTrailDB->insertAuditTrailPair(
        SystemPage, m_mainControl->currentUser->userName, QStringLiteral("退出系统"),
        QStringLiteral("Exit System"));
}

void CI_HeadFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        loadStyleSheet();
    }
    event->accept();
}
