// The camera-settings column of the western-blot page: it holds the cooled
// camera's settings panel and relays the page's show and hide requests to
// it, and its preview request to the page.
#pragma once

#include "WesternBlot_FuncsFrameType.h"

#include <QFrame>

class WesternBlotCamSetFrame;

class WesternBlot_ToolsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit WesternBlot_ToolsFrame(QWidget* parent = nullptr);

    WesternBlotCamSetFrame* camSetFrame() const { return frame_CamSetTool; }

  signals:
    void changeShowOfCapMode(WesternBlot_FuncsFrameType funcsFrameType);
    void sig_Show();
    void sig_Hide();
    void previewStart();

  public slots:
    void hideToolFrameHandle();
    // The settings of the capture mode's panel, then the column shown.
    void showToolFrameHandle(WesternBlot_FuncsFrameType funcsFrameType);

  private:
    WesternBlotCamSetFrame* frame_CamSetTool;
};
