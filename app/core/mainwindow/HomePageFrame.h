#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

namespace Ui {
class HomePageFrame;
}

// The home page: a stack of the experiment chooser, the three experiment
// pages and the image-processing page, one visible at a time. It relays the
// enter and exit signals that start and stop what those pages run. It starts
// on the page of the station's experiment type, and Home returns to it.
class HomePageFrame : public QFrame {
    Q_OBJECT
  public:
    explicit HomePageFrame(QWidget* parent = nullptr);
    ~HomePageFrame() override;

  signals:
    void exitExperimentFrame();
    void exitImgProcessFrame();
    void sig_EnterWbFrame();
    void sig_EnterIPFrame();
    void sig_EnterVrFrame();
    void sig_ExitVrFrame();

  public slots:
    void showHomeFrame();
    // Shows the experiment page of the station's experiment type (gel/UV
    // unless machine.ini names another).
    void showVarnuFrame();
    void slot_ExitExperimentFrame();
    void slot_ExitImgProcessFrame();

  private slots:
    // Shows one frame of the stack; an impossible id is the fatal message
    // "Unknow FrameID.".
    void slot_ChangeFrame(FrameID id);

  private:
    void initFrame();
    void hideAllFrames();

    Ui::HomePageFrame* ui;
    // The frame of the station's experiment type.
    FrameID m_stationFrame = VarnuFrameID;
};
