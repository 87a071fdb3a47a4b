// The frameless modal dialog shown while a capture thread works: a progress
// bar that fills over the expected total capture time (its own 50 ms timer)
// and a Stop button. It knows nothing of the capture thread; its owner closes
// it when the thread has finished.
#pragma once

#include <QDialog>
#include <QTimer>

namespace Ui {
class RunningDialog;
}

class CI_MainControl;

class RunningDialog : public QDialog {
    Q_OBJECT
  public:
    explicit RunningDialog(QWidget* parent = nullptr);
    ~RunningDialog() override;

    // A gel/UV capture that accumulates SignalAccNum frames.
    void setAccCapture(bool accumulate);
    // Computes the total, logs "totalCapTime:", starts the bar from 0.
    void startProgress();
    // The expected capture time in ms for the current experiment type, from
    // the settings as stored now. Unknown types are fatal.
    int totalCapTime();

  signals:
    void stopCapThread();

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Stop_clicked();

  private:
    void tick();

    Ui::RunningDialog* ui;
    QTimer m_timer;
    CI_MainControl* m_mainControl;
    int m_tick = 1;
    bool m_accCapture = false;
};
