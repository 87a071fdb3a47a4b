#include "mainwindow/HomeFrame.h"

#include "ui_HomeFrame.h"

#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "style/StyleSheet.h"

#include <QDesktopServices>
#include <QEvent>
#include <QShowEvent>
#include <QUrl>

HomeFrame::HomeFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::HomeFrame), m_mainControl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    initFrame();
}

HomeFrame::~HomeFrame() {
    delete ui;
}

void HomeFrame::initFrame() {
    loadStyleSheet();
    connect(ui->label_Link, SIGNAL(linkActivated(QString)), this, SLOT(openUrl(QString)));
    ui->label_Link->setStyleSheet(QStringLiteral("font-size:15px;"));
    ui->label_Link->setText(
        tr("<html><head/><body><p>For more product information, please visit: "
           "<a href=\"https://www.example.com/\">www.example.com</a></p></body></html>"));
}

void HomeFrame::loadStyleSheet() {
    setStyleSheet(
        readLanguageStyleSheet(QStringLiteral("homeframe"), m_mainControl->getLanguageID()));
}

void HomeFrame::on_pushButton_Varnu_clicked() {
    emit sig_ChangeFrame(VarnuFrameID);
}

void HomeFrame::on_pushButton_WesternBlot_clicked() {
    emit sig_ChangeFrame(WesternBlotFrameID);
}

void HomeFrame::on_pushButton_MultFluore_clicked() {
    emit sig_ChangeFrame(MultFluoreFrameID);
}

void HomeFrame::openUrl(QString url) {
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

void HomeFrame::showEvent(QShowEvent* event) {
    const bool mayCapture = m_mainControl->currentUser->authImgCap;
    const int type = m_mainControl->expType;
    if (type < Varnu || type > MultFluore) {
        qFatal("Unknow ExperimentType.");
    }
    ui->pushButton_Varnu->setEnabled(type == Varnu && mayCapture);
    ui->pushButton_WesternBlot->setEnabled(type == WesternBlot && mayCapture);
    ui->pushButton_MultFluore->setEnabled(type == MultFluore && mayCapture);
    event->accept();
}

void HomeFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        loadStyleSheet();
    }
    event->accept();
}
