#pragma once

#include <QFrame>

#include <memory>

class CI_MainControl;
class CheckLoginDialog;
class QTableWidgetItem;
struct UserInfo;

namespace Ui {
class UserManageFrame;
}

// The user-management page: every account with its five rights, the
// logged-in user's row highlighted, and Add, Edit and Delete. The
// administrator account "tarsk" is never deleted and is edited only by
// itself. Without the right authUserManage the three buttons stay disabled.
class UserManageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit UserManageFrame(QWidget* parent = nullptr);
    ~UserManageFrame() override;

    void refreshTable();

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Add_clicked();
    void on_pushButton_Edit_clicked();
    void on_pushButton_Delete_clicked();

  private:
    void initTable();
    void disableButtons();
    // The account of the current row, loaded afresh; null without a current
    // row or when the account is no longer stored (the table is then rebuilt).
    std::unique_ptr<UserInfo> currentAccount();

    Ui::UserManageFrame* ui;
    CI_MainControl* mainCtrl;
    CheckLoginDialog* checkLoginDialog;
};
