#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;

// The western-blot experiment page of the home stack. It stands as a notice until
// the page itself is part of the program.
class WesternBlotFrame : public QFrame {
    Q_OBJECT
  public:
    explicit WesternBlotFrame(QWidget* parent = nullptr);

  signals:
    void sig_ChangeFrame(FrameID id);

  public slots:
    // Leaving the page (or opening image processing) stops what it runs.
    void exitExperimentFrameHandle();
    // The page was entered.
    void slot_EnterWbFrame();

  protected:
    // Makes western blot the current experiment type.
    void showEvent(QShowEvent* event) override;

  private:
    CI_MainControl* m_mainControl;
};
