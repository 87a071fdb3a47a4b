#pragma once

#include "ImageToolsFrameType.h"

#include <QFrame>
#include <QImage>

namespace Ui {
class ImageProcess_ToolsFrame;
}

// The tool column of the image-processing page: holds the five tool panels,
// shows the one the image frame asks for and relays the histogram tool's
// signals to the page. GUI thread only.
class ImageProcess_ToolsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit ImageProcess_ToolsFrame(QWidget* parent = nullptr);
    ~ImageProcess_ToolsFrame() override;

  signals:
    void updateHisto(QImage image);
    void updateHistoed(int minInten, int maxInten);
    // The column has been hidden.
    void toolsFrameHide();
    void updateCurrImage();

  public slots:
    // Shows the column with only the panel of `frameType`; any other value
    // is the fatal message "Unknow ToolsFrameType.".
    void changeToolFrameHandle(ImageToolsFrameType frameType);
    void slot_UpdateHisto(QImage image);
    void slot_UpdateHistoed(int minInten, int maxInten);
    void hideToolsFrameHandle();

  private:
    void hideAllTools();

    Ui::ImageProcess_ToolsFrame* ui;
};
