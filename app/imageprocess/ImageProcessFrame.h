#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;

// The image-processing page of the home stack. It stands as a notice until
// the page itself is part of the program.
class ImageProcessFrame : public QFrame {
    Q_OBJECT
  public:
    explicit ImageProcessFrame(QWidget* parent = nullptr);

  signals:
    // The page's back action: the frame of the current experiment type.
    void sig_ChangeFrame(FrameID id);

  public slots:
    // Emitted into the page before it is shown.
    void slot_EnterIPFrame();
    // The page leaves its current work.
    void exitImgProcessFrameHandle();
    // Back to the experiment page of the current experiment type; an
    // impossible type is the fatal message "Unknow ExperimentType.".
    void showExpFrameHandle();

  private:
    CI_MainControl* m_mainControl;
};
