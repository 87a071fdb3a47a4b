#include "login/CheckLoginDialog.h"

#include "ui_CheckLoginDialog.h"

#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"

#include <QColor>
#include <QEvent>
#include <QFile>
#include <QGraphicsDropShadowEffect>
#include <QMessageBox>

CheckLoginDialog* CheckLoginDialog::getInstance() {
    static CheckLoginDialog* instance = nullptr;
    if (instance == nullptr) {
        instance = new CheckLoginDialog();
    }
    return instance;
}

CheckLoginDialog::CheckLoginDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::CheckLoginDialog) {
    ui->setupUi(this);
    mainControl = CI_MainControl::getInstance();

    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto* shadow = new QGraphicsDropShadowEffect(ui->frame);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#262626")));
    shadow->setBlurRadius(30);
    ui->frame->setGraphicsEffect(shadow);

    QFile css(QStringLiteral(":/Style/checklogindialog.css"));
    if (css.open(QIODevice::ReadOnly)) {
        setStyleSheet(QString::fromLatin1(css.readAll()));
    }
}

CheckLoginDialog::~CheckLoginDialog() {
    delete ui;
}

int CheckLoginDialog::checkLogin() {
    if (!mainControl->mainWindowShown) {
        return 1;
    }
    // The switch is read from the file at every check, so a change on the
    // device-settings page takes effect at once.
    mainControl->userOpt.loadUserOpt(UserOpt_isCheckLogin);
    if (mainControl->userOpt.isCheckLogin == 1) {
        return 1;
    }
    ui->lineEdit_UserName->setText(mainControl->currentUser->userName);
    ui->lineEdit_Password->clear();
    return exec() == QDialog::Accepted ? 1 : 0;
}

void CheckLoginDialog::on_pushButton_Submit_clicked() {
    const QString password = ui->lineEdit_Password->text();
    if (password.isEmpty()) {
        QMessageBox::information(this, tr("Tips"), tr("Please enter password !"), QMessageBox::Ok);
        return;
    }
    // Always checked against the logged-in user: the name field is read-only.
    if (!mainControl->userInfoDB->verifyPassword(*mainControl->currentUser, password)) {
        QMessageBox::information(this, tr("Tips"), tr("Password error !"), QMessageBox::Ok);
        return;
    }
    accept();
}

void CheckLoginDialog::on_pushButton_Cancel_clicked() {
    reject();
}

void CheckLoginDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
