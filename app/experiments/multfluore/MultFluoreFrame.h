#pragma once

#include "base/NavigationTypes.h"

#include <QFrame>

class CI_MainControl;

namespace Ui {
class MultFluoreFrame;
}

// The multi-fluorescence experiment page of the home stack: an image frame
// over a bottom bar, a tools column and a function column. It drives the
// dark room's fluorescence lights and filter wheel; it has no camera.
class MultFluoreFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluoreFrame(QWidget* parent = nullptr);
    ~MultFluoreFrame() override;

  signals:
    void sig_ChangeFrame(FrameID id);

  protected:
    // Makes multi-fluorescence the current experiment type and hides the
    // tools column, whatever the state of the settings button.
    void showEvent(QShowEvent* event) override;

  private slots:
    void slot_ShowImgProcessFrame();

  private:
    Ui::MultFluoreFrame* ui;
    CI_MainControl* m_mainControl;
};
