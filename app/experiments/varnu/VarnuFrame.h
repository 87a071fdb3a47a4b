// The gel/UV experiment page: the image frame over the bottom bar, beside the
// camera-settings tools frame and the capture function frame. It wires the
// frames, turns the home stack's enter and exit into the image frame's start
// and stop of the live preview, makes gel/UV the current experiment type when
// shown and applies the page's style sheet.
#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

namespace Ui {
class VarnuFrame;
}

class CI_MainControl;
class Varnu_FuncsFrame;
class Varnu_ImageFrame;
class Varnu_ToolsFrame;

class VarnuFrame : public QFrame {
    Q_OBJECT
  public:
    explicit VarnuFrame(QWidget* parent = nullptr);
    ~VarnuFrame() override;

    Varnu_ImageFrame* imageFrame() const;
    Varnu_ToolsFrame* toolsFrame() const;
    Varnu_FuncsFrame* funcsFrame() const;

    // ":/Style/captureframe.css" (language 0) or ":/Style/captureframe_en.css"
    // (language 1) on `page`; any other language is fatal.
    static void loadStyleSheet(QWidget* page, int languageId);

  signals:
    void sig_ChangeFrame(FrameID id);
    void enterVrFrame();
    void exitVrFrame();

  public slots:
    void slot_EnterVrFrame();
    void exitExperimentFrameHandle();

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void slot_ShowImgProcessFrame();

  private:
    Ui::VarnuFrame* ui;
    CI_MainControl* mainControl;
};
