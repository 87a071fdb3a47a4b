#pragma once

#include "database/UserInfo.h"

#include <QDialog>

class CI_MainControl;
class CheckLoginDialog;
class QLabel;

namespace Ui {
class UserDialog;
}

// Adds an account or changes one: user name, password, full name and the
// five rights, checked in place with red warnings under the fields. The
// dialog is accepted only once the store took the record. No stored
// password is ever shown: in Edit the password field starts empty, and
// leaving it empty keeps the stored password.
class UserDialog : public QDialog {
    Q_OBJECT
  public:
    enum CallType { Add = 0, Edit = 1 };

    explicit UserDialog(QWidget* parent = nullptr);
    ~UserDialog() override;

    void setCallType(int callType);
    // The account to change (Edit).
    void setUserInfo(const UserInfo& userInfo);

    // Marks every empty field with its warning (in Edit an empty password
    // keeps the stored one) and checks the name against the stored names;
    // true when a required field is empty.
    bool checkEmpty(const QString& userName, const QString& password, const QString& realName);

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_AllAuthority_clicked();
    void on_pushButton_NoAuthority_clicked();
    void on_pushButton_OK_clicked();
    void on_pushButton_Cancel_clicked();
    void on_lineEdit_UserName_editingFinished();

  private:
    void setAuthorityChecked(bool checked);
    void showWarning(QLabel* label, const QString& text);
    void applyPasswordPlaceholder();
    bool insertRecord();
    bool updateRecord();

    Ui::UserDialog* ui;
    CI_MainControl* mainCtrl;
    CheckLoginDialog* checkLoginDialog;
    int m_callType = Add;
    UserInfo m_userInfo;   // the account as stored (Edit)
    UserInfo m_savedInfo;  // the record the last OK handed to the store
};
