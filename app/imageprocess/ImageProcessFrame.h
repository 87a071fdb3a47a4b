#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;
class ImageProcess_ImageFrame;
class QGridLayout;

// The image-processing page of the home stack. It holds the picture area and
// passes the home page's enter and leave events to it; the back button of
// the picture area returns to the experiment page of the current type.
class ImageProcessFrame : public QFrame {
    Q_OBJECT
  public:
    explicit ImageProcessFrame(QWidget* parent = nullptr);
    ~ImageProcessFrame() override;

    ImageProcess_ImageFrame* imageFrame() const;

  signals:
    // The page's back action: the frame of the current experiment type.
    void sig_ChangeFrame(FrameID id);
    void enterIPFrame();
    void exitIPFrame();

  public slots:
    // Emitted into the page before it is shown.
    void slot_EnterIPFrame();
    // The page leaves its current work.
    void exitImgProcessFrameHandle();

  private slots:
    // Back to the experiment page of the current experiment type; an
    // impossible type is the fatal message "Unknow ExperimentType.".
    void showExpFrameHandle();

  private:
    struct Form {
        QGridLayout* gridLayout = nullptr;
        ImageProcess_ImageFrame* frame_Image = nullptr;
    };
    void setupForm();

    Form* ui;
    CI_MainControl* m_mainControl;
};
