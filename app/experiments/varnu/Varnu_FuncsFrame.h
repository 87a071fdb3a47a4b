#pragma once

#include <QFrame>

namespace Ui {
class Varnu_FuncsFrame;
}

class VarnuCaptureFrame;

// The function column of the gel/UV page, holding the capture panel. Each of
// its slots only passes the panel's request on as a signal of its own, for
// the page to wire to the image frame and the tools column; the image frame's
// reset and the accumulate option travel the other way.
class Varnu_FuncsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit Varnu_FuncsFrame(QWidget* parent = nullptr);
    ~Varnu_FuncsFrame() override;

    VarnuCaptureFrame* capturePanel() const;

  signals:
    void showToolFrame();
    void hideToolFrame();
    void resetFuncsFrame();
    void previewClick();
    void captureClick();
    void accCaptureClick();
    void updateButton(bool sigAccOpen);
    void autoExposureClick();
    void autoFocusClick();
    void savePara();

  public slots:
    void slot_ResetFuncsFrame();
    void slot_PreviewClick();
    void slot_CaptureClick();
    void slot_AccCaptureClick();
    void slot_UpdateButton_2(bool sigAccOpen);
    void slot_AutoExposureClick();
    void slot_AutoFocusClick();

  private slots:
    void slot_ShowToolFrame();
    void slot_HideToolFrame();

  private:
    Ui::Varnu_FuncsFrame* ui;
};
