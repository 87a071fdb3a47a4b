#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

#include <memory>

namespace Ui {
class LoginDialog;
}
class CI_MainControl;
class QMouseEvent;
struct UserInfo;

// The login window shown once at start-up: the user picks a name from the
// user store, types the password (or, when this station remembers the user,
// logs in with one click) and becomes the controller's current user. A login
// writes two audit rows. The window is frameless and dragged with the left
// mouse button.
class LoginDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LoginDialog(QWidget* parent = nullptr);
    ~LoginDialog() override;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private slots:
    void on_pushButton_Login_clicked();
    void on_pushButton_Cancel_clicked();
    void on_comboBox_Users_currentTextChanged(const QString& text);

  private:
    void initDialog();
    // True when the selected user may log in with the field left empty: the
    // user asked to be remembered and this station holds a valid token.
    bool rememberedLoginValid();
    void finishLogin();
    void showWarning(const QString& text);

    Ui::LoginDialog* ui;
    CI_MainControl* mainControl;
    std::unique_ptr<UserInfo> selectedUser;
    bool dragging = false;
    QPoint windowPosAtPress;
    QPoint pressPos;
    QPoint dragOffset;
};
