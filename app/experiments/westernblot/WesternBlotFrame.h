// The western-blot experiment page: the image frame over the bottom bar,
// beside the camera-settings column and the capture-panel column. It wires
// the frames, turns the home stack's enter and exit into the image frame's
// start and stop of the live preview, makes western blot the current
// experiment type when shown and applies the page's style sheet.
#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

namespace Ui {
class WesternBlotFrame;
}

class CI_MainControl;
class WesternBlot_BottomBarFrame;
class WesternBlot_FuncsFrame;
class WesternBlot_ToolsFrame;
class WesternBlot_ImageFrame;

class WesternBlotFrame : public QFrame {
    Q_OBJECT
  public:
    explicit WesternBlotFrame(QWidget* parent = nullptr);
    ~WesternBlotFrame() override;

    WesternBlot_ImageFrame* imageFrame() const;
    WesternBlot_BottomBarFrame* bottomBar() const;
    WesternBlot_FuncsFrame* funcsFrame() const;
    WesternBlot_ToolsFrame* toolsFrame() const;

  signals:
    void sig_ChangeFrame(FrameID id);
    void exitFrame();
    void enterWbFrame();

  public slots:
    // Leaving the page (or opening image processing) stops the preview.
    void exitExperimentFrameHandle();
    // The page was entered: the preview starts.
    void slot_EnterWbFrame();
    void slot_ShowImgProcessFrame();

  protected:
    // Makes western blot the current experiment type.
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    Ui::WesternBlotFrame* ui;
    CI_MainControl* m_mainControl;
};
