#include "ReportTitleFrame.h"

#include "ui_ReportTitleFrame.h"

#include "SystemResources.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "login/CheckLoginDialog.h"

#include <QEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QShowEvent>

ReportTitleFrame::ReportTitleFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::ReportTitleFrame),
      mainCtrl(CI_MainControl::getInstance()),
      checkLoginDialog(CheckLoginDialog::getInstance()) {
    ensureSystemResources();
    ui->setupUi(this);
    showPreviewPicture();
}

ReportTitleFrame::~ReportTitleFrame() {
    delete ui;
}

void ReportTitleFrame::showPreviewPicture() {
    switch (mainCtrl->getLanguageID()) {
        case 0:
            ui->label_Preview->setPixmap(QPixmap(QStringLiteral(":/Image/titlepreview.PNG")));
            break;
        case 1:
            ui->label_Preview->setPixmap(QPixmap(QStringLiteral(":/Image/titlepreview_en.PNG")));
            break;
        default:
            qFatal("Unknow LanguageID.");
    }
}

void ReportTitleFrame::loadStoredTitles() {
    mainCtrl->userOpt.loadUserOpt(UserOpt_MainTitle);
    ui->lineEdit_MainTitle->setText(mainCtrl->userOpt.MainTitle);
    mainCtrl->userOpt.loadUserOpt(UserOpt_SubTitle);
    ui->lineEdit_SubTitle->setText(mainCtrl->userOpt.SubTitle);
}

void ReportTitleFrame::showEvent(QShowEvent* event) {
    // Unsaved edits give way to the stored titles on every visit.
    loadStoredTitles();
    QFrame::showEvent(event);
}

void ReportTitleFrame::on_lineEdit_MainTitle_textChanged(const QString& text) {
    ui->label_MainTitleShow->setText(text);
}

void ReportTitleFrame::on_lineEdit_SubTitle_textChanged(const QString& text) {
    ui->label_SubTitleShow->setText(text);
}

void ReportTitleFrame::on_pushButton_Save_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    const QString mainTitle = ui->lineEdit_MainTitle->text();
    const QString subTitle = ui->lineEdit_SubTitle->text();
    mainCtrl->userOpt.MainTitle = mainTitle;
    mainCtrl->userOpt.SubTitle = subTitle;
    // Both titles in one write: a report never gets one new title and one old.
    if (!mainCtrl->userOpt.saveUserOpts({UserOpt_MainTitle, UserOpt_SubTitle})) {
        // Nothing was stored: the page shows the stored titles again.
        loadStoredTitles();
        QMessageBox::warning(nullptr, tr("Tips"),
                             tr("Save failed, the settings file cannot be written!"),
                             QMessageBox::Ok);
        return;
    }
    QMessageBox::information(nullptr, tr("Tips"), tr("Save success!"), QMessageBox::Ok);
    // The titles are user text: joined literally, so "%1" in a title stays.
    mainCtrl->auditTrailDB->insertAuditTrailPair(
        SystemPage, mainCtrl->currentUser->userName,
        QStringLiteral("保存报告标题: 主标题: ") + mainTitle + QStringLiteral("  副标题: ") +
            subTitle,
        QStringLiteral("Save report title: main title: ") + mainTitle +
            QStringLiteral(" subtitle: ") + subTitle);
}

void ReportTitleFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showPreviewPicture();
    }
    QFrame::changeEvent(event);
}
