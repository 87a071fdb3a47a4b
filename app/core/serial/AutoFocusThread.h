// The lens part of the auto-focus search: drive the focus outward for 7 s,
// stop, let the receiver of lensFocusReset start its focus measurement, then
// drive the focus inward; the receiver stops the lens when it has passed the
// sharpest position.
#pragma once

#include <QThread>

#include "serial/LensCtrl.h"

class ASyncSerialPortThread;

class AutoFocusThread : public QThread {
    Q_OBJECT
  public:
    static constexpr int kFocusOutMs = 7000;
    static constexpr int kBeforeFocusInMs = 200;

    // On the application's serial link.
    explicit AutoFocusThread(QObject* parent = nullptr);
    explicit AutoFocusThread(ASyncSerialPortThread* link, QObject* parent = nullptr);
    // Interrupts a run in progress (the lens is stopped) and waits for it. Must
    // not run while the thread waits in lensFocusReset for the deleting thread.
    ~AutoFocusThread() override;

    // Multiplies both waits (tests); 1 is the real timing.
    void setTimeScale(double scale);

  signals:
    // The lens has been driven outward and stopped; the connected slot starts
    // the focus measurement before the lens moves inward.
    void lensFocusReset();

  protected:
    void run() override;

  private:
    bool sleepUnlessInterrupted(int ms);

    LensCtrl m_lensCtrl;
    double m_timeScale = 1.0;
};
