#pragma once

#include <QDialog>

class QMovie;
class QTimer;

namespace Ui {
class WaitingDialog;
}

// Modal, always-on-top animation that hides itself 200 ms after the last showWaiting().
class WaitingDialog : public QDialog {
    Q_OBJECT

  public:
    explicit WaitingDialog(QWidget* parent = nullptr);
    ~WaitingDialog() override;

    // Shows the dialog, starts the animation and (re)arms the 200 ms hide timer.
    void showWaiting();

  private slots:
    void on_CloseDialog();

  private:
    Ui::WaitingDialog* ui;
    QMovie* movie;
    QTimer* timer;
};
