#pragma once

#include <QDialog>

namespace Ui {
class CheckLoginDialog;
}
class CI_MainControl;

// The electronic-signature gate: before an action that changes data or leaves
// a record, the page asks checkLogin() whether to go ahead. With signatures on
// (option isCheckLogin 0) and the main window shown, the logged-in user must
// type the password again; otherwise the gate passes at once.
class CheckLoginDialog : public QDialog {
    Q_OBJECT
  public:
    // The one dialog of the program, created without a parent on first use.
    // GUI thread only.
    static CheckLoginDialog* getInstance();

    // Non-zero means go ahead: 1 at once while the main window is not shown
    // or signatures are off; otherwise 1 after a correct password, 0 when the
    // user cancelled or closed the dialog.
    int checkLogin();

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Submit_clicked();
    void on_pushButton_Cancel_clicked();

  private:
    explicit CheckLoginDialog(QWidget* parent = nullptr);
    ~CheckLoginDialog() override;

    Ui::CheckLoginDialog* ui;
    CI_MainControl* mainControl;
};
