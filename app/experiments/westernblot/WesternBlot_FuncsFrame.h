// The capture-panel column of the western-blot page: the single and the
// manual capture panel in one place, one shown at a time by the capture
// mode, and the relay of their signals to the page and of the page's
// requests to them.
#pragma once

#include "WesternBlot_FuncsFrameType.h"

#include <QFrame>

namespace Ui {
class WesternBlot_FuncsFrame;
}

class BlotManualCaptureFrame;
class BlotSingleCaptureFrame;

class WesternBlot_FuncsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit WesternBlot_FuncsFrame(QWidget* parent = nullptr);
    ~WesternBlot_FuncsFrame() override;

    BlotSingleCaptureFrame* singlePanel() const;
    BlotManualCaptureFrame* manualPanel() const;

  signals:
    void showToolFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void hideToolFrame();
    void previewStart();
    void autoExpStart();
    void capStart();
    void updateHisto(WesternBlot_FuncsFrameType funcsFrameType, int value);
    void updateHistoedImg(int minInten, int maxInten);
    void updateAutoExpTime(int autoExpTime);
    void resetFunsFrame();
    void openLight();

  public slots:
    void slot_ResetFuncsFrame();
    // Shows the panel of the mode; another value is only logged.
    void slot_ShowFuncFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void slot_OpenLight();
    void slot_ShowToolFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void slot_HideToolFrame();
    void slot_PreviewStart();
    void slot_AutoExpStart();
    void slot_CapStart();
    void slot_UpdateHisto(WesternBlot_FuncsFrameType funcsFrameType, int value);
    void slot_updateHistoedImg(int minInten, int maxInten);
    void slot_UpdateAutoExpTime(int autoExpTime);

  private:
    Ui::WesternBlot_FuncsFrame* ui;
};
