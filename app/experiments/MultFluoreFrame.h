#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;

// The multi-fluorescence experiment page of the home stack. It stands as a
// notice until the page itself is part of the program.
class MultFluoreFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluoreFrame(QWidget* parent = nullptr);

  signals:
    void sig_ChangeFrame(FrameID id);

  protected:
    // Makes multi-fluorescence the current experiment type.
    void showEvent(QShowEvent* event) override;

  private:
    CI_MainControl* m_mainControl;
};
