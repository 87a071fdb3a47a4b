#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

namespace Ui {
class ImageProcessFrame;
}
class CI_MainControl;
class ImageProcess_ImageFrame;

// The image-processing page of the home stack: the picture area, the tool
// column and the function panel side by side, wired to each other. It passes
// the home page's enter and leave events to its panels, returns to the
// experiment page of the current type and styles its panels by language.
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

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // ":/Style/imageprocess.css" for Chinese, ":/Style/imageprocess_en.css"
    // for English; any other language is the fatal "Unknow LanguageID.".
    void loadStyleSheet();
    void connectPanels();

    Ui::ImageProcessFrame* ui;
    CI_MainControl* m_mainControl;
};
