#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;

// The gel/UV experiment page of the home stack. It stands as a notice until
// the page itself is part of the program.
class VarnuFrame : public QFrame {
    Q_OBJECT
  public:
    explicit VarnuFrame(QWidget* parent = nullptr);

  signals:
    void sig_ChangeFrame(FrameID id);

  public slots:
    // Leaving the page (or opening image processing) stops what it runs.
    void exitExperimentFrameHandle();
    // The page was entered.
    void slot_EnterVrFrame();

  protected:
    // Makes gel/UV the current experiment type.
    void showEvent(QShowEvent* event) override;

  private:
    CI_MainControl* m_mainControl;
};
