#include "UserDialog.h"

#include "ui_UserDialog.h"

#include "AdminAccount.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "login/CheckLoginDialog.h"

#include <QColor>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QtDebug>

namespace {

const char* const kWarningStyle = "color:red; font-size:12px;";

}  // namespace

UserDialog::UserDialog(QWidget* parent)
    : QDialog(parent),
      ui(new Ui::UserDialog),
      mainCtrl(CI_MainControl::getInstance()),
      checkLoginDialog(CheckLoginDialog::getInstance()) {
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    auto* shadow = new QGraphicsDropShadowEffect(ui->frame_User);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(QStringLiteral("#262626")));
    shadow->setBlurRadius(30);
    ui->frame_User->setGraphicsEffect(shadow);

    // An ASCII letter, then at most 20 ASCII letters or digits.
    auto* validator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[a-zA-Z][a-zA-Z0-9]{0,20}")), this);
    ui->lineEdit_UserName->setValidator(validator);
    ui->lineEdit_RealName->setValidator(validator);
    ui->lineEdit_Password->setEchoMode(QLineEdit::Password);
}

UserDialog::~UserDialog() {
    delete ui;
}

void UserDialog::setCallType(int callType) {
    m_callType = callType;
    applyPasswordPlaceholder();
}

void UserDialog::setUserInfo(const UserInfo& userInfo) {
    m_userInfo = userInfo;
}

void UserDialog::applyPasswordPlaceholder() {
    ui->lineEdit_Password->setPlaceholderText(m_callType == Edit ? tr("Unchanged when left empty")
                                                                 : QString());
}

void UserDialog::showEvent(QShowEvent* event) {
    if (m_callType == Edit) {
        ui->lineEdit_UserName->setText(m_userInfo.userName);
        // The stored password is never shown; an empty field keeps it.
        ui->lineEdit_Password->clear();
        ui->lineEdit_RealName->setText(m_userInfo.realName);
        ui->checkBox_UserManage->setChecked(m_userInfo.authUserManage);
        ui->checkBox_ImgCapture->setChecked(m_userInfo.authImgCap);
        ui->checkBox_ImgProcess->setChecked(m_userInfo.authImgProcess);
        ui->checkBox_ReportManage->setChecked(m_userInfo.authRptManage);
        ui->checkBox_ReportExport->setChecked(m_userInfo.authRptExport);
        if (isAdminAccount(m_userInfo.userName)) {
            // The administrator changes only the password.
            for (QWidget* widget : {static_cast<QWidget*>(ui->lineEdit_UserName),
                                    static_cast<QWidget*>(ui->lineEdit_RealName),
                                    static_cast<QWidget*>(ui->checkBox_UserManage),
                                    static_cast<QWidget*>(ui->checkBox_ImgCapture),
                                    static_cast<QWidget*>(ui->checkBox_ImgProcess),
                                    static_cast<QWidget*>(ui->checkBox_ReportManage),
                                    static_cast<QWidget*>(ui->checkBox_ReportExport),
                                    static_cast<QWidget*>(ui->pushButton_AllAuthority),
                                    static_cast<QWidget*>(ui->pushButton_NoAuthority)}) {
                widget->setEnabled(false);
            }
            ui->lineEdit_Password->setEnabled(true);
        }
    }
    QDialog::showEvent(event);
}

void UserDialog::setAuthorityChecked(bool checked) {
    ui->checkBox_UserManage->setChecked(checked);
    ui->checkBox_ImgCapture->setChecked(checked);
    ui->checkBox_ImgProcess->setChecked(checked);
    ui->checkBox_ReportManage->setChecked(checked);
    ui->checkBox_ReportExport->setChecked(checked);
}

void UserDialog::on_pushButton_AllAuthority_clicked() {
    setAuthorityChecked(true);
}

void UserDialog::on_pushButton_NoAuthority_clicked() {
    setAuthorityChecked(false);
}

void UserDialog::on_pushButton_Cancel_clicked() {
    reject();
}

void UserDialog::showWarning(QLabel* label, const QString& text) {
    label->setStyleSheet(QString::fromLatin1(kWarningStyle));
    label->setText(text);
}

void UserDialog::on_lineEdit_UserName_editingFinished() {
    ui->label_WarnUn->clear();
    const QString typed = ui->lineEdit_UserName->text();
    const QStringList names = mainCtrl->userInfoDB->loadUserNames();
    for (const QString& name : names) {
        bool taken = false;
        if (m_callType == Add) {
            taken = name == typed;
        } else if (m_callType == Edit) {
            taken = name == typed && name != m_userInfo.userName;
        } else {
            qFatal("Unknow CallType.");
        }
        if (taken) {
            showWarning(ui->label_WarnUn, tr("Username Exists !"));
        }
    }
}

bool UserDialog::checkEmpty(const QString& userName, const QString& password,
                            const QString& realName) {
    ui->label_WarnUn->clear();
    ui->label_WarnPw->clear();
    ui->label_WarnRn->clear();
    bool empty = false;
    if (!userName.isEmpty()) {
        on_lineEdit_UserName_editingFinished();
    } else {
        showWarning(ui->label_WarnUn, tr("Username Empty !"));
        empty = true;
    }
    if (password.isEmpty() && m_callType != Edit) {
        showWarning(ui->label_WarnPw, tr("Password Empty !"));
        empty = true;
    }
    if (realName.isEmpty()) {
        showWarning(ui->label_WarnRn, tr("Realname Empty !"));
        empty = true;
    }
    return empty;
}

void UserDialog::on_pushButton_OK_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    const QString userName = ui->lineEdit_UserName->text();
    const QString password = ui->lineEdit_Password->text();
    const QString realName = ui->lineEdit_RealName->text();
    if (checkEmpty(userName, password, realName)) {
        return;
    }
    m_savedInfo = UserInfo();
    m_savedInfo.userName = userName;
    m_savedInfo.passwd = password;
    m_savedInfo.realName = realName;
    m_savedInfo.authUserManage = ui->checkBox_UserManage->isChecked();
    m_savedInfo.authImgCap = ui->checkBox_ImgCapture->isChecked();
    m_savedInfo.authImgProcess = ui->checkBox_ImgProcess->isChecked();
    m_savedInfo.authRptManage = ui->checkBox_ReportManage->isChecked();
    m_savedInfo.authRptExport = ui->checkBox_ReportExport->isChecked();

    bool saved = false;
    if (m_callType == Add) {
        saved = insertRecord();
    } else if (m_callType == Edit) {
        saved = updateRecord();
    } else {
        qFatal("Unknow CallType.");
    }
    if (saved) {
        accept();
    }
}

bool UserDialog::insertRecord() {
    if (!mainCtrl->userInfoDB->insertUser(m_savedInfo)) {
        qDebug().noquote() << "user " + m_savedInfo.userName + " save failed.";
        return false;
    }
    qDebug().noquote() << "user " + m_savedInfo.userName + " save success.";
    mainCtrl->auditTrailDB->insertAuditTrailPair(
        SystemPage, mainCtrl->currentUser->userName,
        QStringLiteral("新增用户: ") + m_savedInfo.userName,
        QStringLiteral("Add user: ") + m_savedInfo.userName);
    return true;
}

bool UserDialog::updateRecord() {
    m_savedInfo.uuid = m_userInfo.uuid;
    m_savedInfo.isRemember = m_userInfo.isRemember;
    if (m_savedInfo.passwd.isEmpty()) {
        // The stored hash goes back unchanged: the password stays as it is.
        m_savedInfo.passwd = m_userInfo.passwd;
    }
    if (!mainCtrl->userInfoDB->updateUser(m_savedInfo)) {
        qDebug().noquote() << "user " + m_savedInfo.userName + " modify failed.";
        return false;
    }
    qDebug().noquote() << "user " + m_savedInfo.userName + " modify success.";
    qDebug().noquote() << "userInfo.userName:" + m_savedInfo.userName;
    if (m_userInfo.userName == mainCtrl->currentUser->userName) {
        // The own account: its new name and rights count from now on. The
        // held record takes the row as stored, so it carries no typed password.
        if (std::unique_ptr<UserInfo> stored = mainCtrl->userInfoDB->loadByUuid(m_savedInfo.uuid)) {
            *mainCtrl->currentUser = *stored;
        }
    }
    mainCtrl->auditTrailDB->insertAuditTrailPair(
        SystemPage, mainCtrl->currentUser->userName,
        QStringLiteral("修改用户: ") + m_savedInfo.userName,
        QStringLiteral("Edit user: ") + m_savedInfo.userName);
    return true;
}

void UserDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        applyPasswordPlaceholder();
    }
    QDialog::changeEvent(event);
}
