#include "UserManageFrame.h"

#include "ui_UserManageFrame.h"

#include "AdminAccount.h"
#include "SystemResources.h"
#include "UserDialog.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "login/CheckLoginDialog.h"

#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QtDebug>

namespace {

constexpr int kUuidColumn = 7;

QTableWidgetItem* rightItem(bool granted) {
    return new QTableWidgetItem(QIcon(granted ? QStringLiteral(":/Image/filledCircle.png")
                                              : QStringLiteral(":/Image/whiteCircle.png")),
                                QString());
}

void warnTips(const QString& text) {
    QMessageBox box(QMessageBox::Warning, UserManageFrame::tr("Tips"), text, QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(UserManageFrame::tr("Ok"));
    box.exec();
}

}  // namespace

UserManageFrame::UserManageFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::UserManageFrame),
      mainCtrl(CI_MainControl::getInstance()),
      checkLoginDialog(CheckLoginDialog::getInstance()) {
    ensureSystemResources();
    ui->setupUi(this);
    initTable();
}

UserManageFrame::~UserManageFrame() {
    delete ui;
}

void UserManageFrame::initTable() {
    const int widths[] = {100, 100, 120, 130, 130, 130};
    for (int column = 0; column < 6; ++column) {
        ui->tableWidget_User->setColumnWidth(column, widths[column]);
    }
    ui->tableWidget_User->setColumnHidden(kUuidColumn, true);
    ui->tableWidget_User->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->tableWidget_User->horizontalHeader()->setStretchLastSection(true);
    ui->tableWidget_User->verticalHeader()->setHidden(true);
    ui->tableWidget_User->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void UserManageFrame::refreshTable() {
    QTableWidget* table = ui->tableWidget_User;
    table->setRowCount(0);
    table->clearContents();
    const std::unique_ptr<QList<UserInfo>> users = mainCtrl->userInfoDB->loadAll();
    if (!users) {
        return;
    }
    const QString own = mainCtrl->currentUser->userName;
    for (const UserInfo& user : *users) {
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, new QTableWidgetItem(user.userName));
        table->setItem(row, 1, new QTableWidgetItem(user.realName));
        table->setItem(row, 2, rightItem(user.authUserManage));
        table->setItem(row, 3, rightItem(user.authImgCap));
        table->setItem(row, 4, rightItem(user.authImgProcess));
        table->setItem(row, 5, rightItem(user.authRptManage));
        table->setItem(row, 6, rightItem(user.authRptExport));
        table->setItem(row, kUuidColumn, new QTableWidgetItem(user.uuid.toString()));
        const bool isOwn = user.userName == own;
        const QColor colour(isOwn ? QStringLiteral("Green") : QStringLiteral("Black"));
        const QFont font(QStringLiteral("Arial"), 10, isOwn ? QFont::Bold : QFont::Normal);
        for (int column : {0, 1}) {
            table->item(row, column)->setForeground(colour);
            table->item(row, column)->setFont(font);
        }
    }
}

void UserManageFrame::disableButtons() {
    ui->pushButton_Add->setEnabled(false);
    ui->pushButton_Edit->setEnabled(false);
    ui->pushButton_Delete->setEnabled(false);
}

std::unique_ptr<UserInfo> UserManageFrame::currentAccount() {
    const int row = ui->tableWidget_User->currentRow();
    if (row < 0 || ui->tableWidget_User->item(row, kUuidColumn) == nullptr) {
        return nullptr;
    }
    const QUuid uuid(ui->tableWidget_User->item(row, kUuidColumn)->text());
    std::unique_ptr<UserInfo> account = mainCtrl->userInfoDB->loadByUuid(uuid);
    if (!account) {
        // Removed behind the page's back: show what is stored now.
        qDebug().noquote() << "user " + uuid.toString() + " not found.";
        refreshTable();
    }
    return account;
}

void UserManageFrame::on_pushButton_Add_clicked() {
    UserDialog dialog(this);
    dialog.setCallType(UserDialog::Add);
    if (dialog.exec() == QDialog::Accepted) {
        refreshTable();
    }
}

void UserManageFrame::on_pushButton_Edit_clicked() {
    const std::unique_ptr<UserInfo> account = currentAccount();
    if (!account) {
        return;
    }
    if (isAdminAccount(account->userName) && !isAdminAccount(mainCtrl->currentUser->userName)) {
        warnTips(tr("Administrator user cannot edit."));
        return;
    }
    UserDialog dialog(this);
    dialog.setCallType(UserDialog::Edit);
    dialog.setUserInfo(*account);
    if (dialog.exec() == QDialog::Accepted) {
        // An edit of the own account updated the held record at once.
        if (!mainCtrl->currentUser->authUserManage) {
            disableButtons();
        }
        refreshTable();
    }
}

void UserManageFrame::on_pushButton_Delete_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    const std::unique_ptr<UserInfo> account = currentAccount();
    if (!account) {
        return;
    }
    if (isAdminAccount(account->userName)) {
        warnTips(tr("Administrator user cannot delete."));
        return;
    }
    if (!mainCtrl->userInfoDB->deleteUser(account->uuid)) {
        qDebug().noquote() << "user " + account->userName + " failed.";
        refreshTable();
        return;
    }
    qDebug().noquote() << "user " + account->userName + " success.";
    refreshTable();
    mainCtrl->auditTrailDB->insertAuditTrailPair(
        SystemPage, mainCtrl->currentUser->userName,
        QStringLiteral("删除用户: ") + account->userName,
        QStringLiteral("Delete user: ") + account->userName);
}

void UserManageFrame::showEvent(QShowEvent* event) {
    if (!mainCtrl->currentUser->authUserManage) {
        disableButtons();
    }
    refreshTable();
    QFrame::showEvent(event);
}

void UserManageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
