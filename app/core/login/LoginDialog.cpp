#include "login/LoginDialog.h"

#include "ui_LoginDialog.h"

#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "login/RememberedLogins.h"
#include "settings/SettingsNotSaved.h"

#include <QBrush>
#include <QFile>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace {

// Shown in the empty password field of a remembered user: a one-click login
// needs no password, and no stored password is ever shown.
const QString kRememberedPlaceholder = QStringLiteral("\u25CF\u25CF\u25CF\u25CF\u25CF\u25CF");

QString readStyleSheet(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromLatin1(file.readAll());
}

}  // namespace

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent), ui(new Ui::LoginDialog) {
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/Image/windowLogo.png")));
    mainControl = CI_MainControl::getInstance();
    dragging = false;
    initDialog();
}

LoginDialog::~LoginDialog() {
    delete ui;
}

void LoginDialog::initDialog() {
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    setStyleSheet(readStyleSheet(QStringLiteral(":/Style/logindialog.css")));

    setAutoFillBackground(true);
    QPixmap background;
    switch (mainControl->machineName) {
        case Varnu_320:
        case Varnu_520:
            background.load(QStringLiteral(":/Image/login.png"));
            break;
        case Varnu_550:
            background.load(QStringLiteral(":/Image/login_550.png"));
            break;
        default:
            break;
    }
    QPalette pal = palette();
    pal.setBrush(QPalette::All, QPalette::Window, QBrush(background));
    setPalette(pal);

    ui->comboBox_Users->setItemDelegate(new QStyledItemDelegate(ui->comboBox_Users));
    ui->comboBox_Users->clear();
    ui->comboBox_Users->addItems(mainControl->userInfoDB->loadUserNames());

    ui->lineEdit_Password->setEchoMode(QLineEdit::Password);
}

void LoginDialog::on_comboBox_Users_currentTextChanged(const QString& text) {
    selectedUser = mainControl->userInfoDB->loadByName(text);
    if (!selectedUser) {
        return;
    }
    ui->lineEdit_Password->clear();
    ui->checkBox_Remember->setChecked(selectedUser->isRemember);
    ui->lineEdit_Password->setPlaceholderText(rememberedLoginValid() ? kRememberedPlaceholder
                                                                     : QString());
}

bool LoginDialog::rememberedLoginValid() {
    if (!selectedUser || !selectedUser->isRemember) {
        return false;
    }
    const QString token = RememberedLogins::tokenFor(selectedUser->uuid);
    return !token.isEmpty() &&
           mainControl->userInfoDB->checkRememberToken(selectedUser->uuid, token);
}

void LoginDialog::showWarning(const QString& text) {
    ui->label_WarnPw->setStyleSheet(QStringLiteral("color:red; font-size:12px;"));
    ui->label_WarnPw->setText(text);
}

void LoginDialog::on_pushButton_Login_clicked() {
    const QString password = ui->lineEdit_Password->text();
    ui->label_WarnPw->setStyleSheet(QStringLiteral("color:red; font-size:12px;"));
    if (!selectedUser) {
        // No account is selected (the store lists none): nobody to log in.
        showWarning(tr("Password error !"));
        return;
    }
    if (password.isEmpty()) {
        if (ui->checkBox_Remember->isChecked() && rememberedLoginValid()) {
            finishLogin();
            return;
        }
        showWarning(tr("Please enter password !"));
        return;
    }
    if (!mainControl->userInfoDB->verifyPassword(*selectedUser, password)) {
        showWarning(tr("Password error !"));
        return;
    }
    finishLogin();
}

void LoginDialog::finishLogin() {
    UserInfoDB* users = mainControl->userInfoDB;
    selectedUser->isRemember = ui->checkBox_Remember->isChecked();
    users->updateUser(*selectedUser);
    bool remembered = true;
    if (selectedUser->isRemember) {
        const QString token = users->issueRememberToken(selectedUser->uuid);
        if (!token.isEmpty()) {
            remembered = RememberedLogins::store(selectedUser->uuid, token);
        }
    } else {
        remembered = RememberedLogins::forget(selectedUser->uuid);
    }
    if (!remembered) {
        tellSettingsNotSaved(this);
    }

    *mainControl->currentUser = *selectedUser;
    accept();

    mainControl->auditTrailDB->insertAuditTrailPair(
        SystemPage, selectedUser->userName,
        QStringLiteral("用户登录: %1").arg(selectedUser->userName),
        QStringLiteral("user login： %1").arg(selectedUser->userName));
}

void LoginDialog::on_pushButton_Cancel_clicked() {
    reject();
}

void LoginDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging = true;
        windowPosAtPress = pos();
        pressPos = event->globalPos();
        dragOffset = pressPos - windowPosAtPress;
    }
}

void LoginDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragging) {
        move(event->globalPos() - dragOffset);
    }
}

void LoginDialog::mouseReleaseEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    dragging = false;
}
