#pragma once

#include "WesternBlot_FuncsFrameType.h"

#include <QFrame>

class CI_MainControl;
class QEvent;
class TucsenCamCtrl;

namespace Ui {
class WesternBlotCamSetFrame;
}

// The cooled camera's settings column of the western-blot page: binning,
// preview exposure and gain (sent to the camera as they change), capture
// gain and the manual series' capture mode (taken on Save), Save and Reset
// of the stored current set.
class WesternBlotCamSetFrame : public QFrame {
    Q_OBJECT

  public:
    explicit WesternBlotCamSetFrame(QWidget* parent = nullptr);
    ~WesternBlotCamSetFrame() override;

  signals:
    // After Save and Reset: the page restarts the preview unless it runs.
    void sig_PreviewStart();

  public slots:
    // Puts the stored current set into the controls and shows the column
    // (the frame's parent).
    void slot_Show();
    void slot_Hide();
    void on_pushButton_Reset_clicked();
    void on_pushButton_Save_clicked();
    // The capture-mode group belongs to the manual series only.
    void changeShowOfCapModeHandle(WesternBlot_FuncsFrameType funcsFrameType);
    void on_spinBox_ExposurePre_valueChanged(int value);
    void on_comboBox_BinningMode_currentIndexChanged(int index);
    void on_spinBox_GainPre_valueChanged(int value);
    void on_horizontalSlider_ExposurePre_valueChanged(int value);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // The camera's analog-gain range on both gain boxes; false when the
    // camera does not report one.
    bool applyGainRange();
    // Without the camera's range the gain boxes take any stored value as it
    // is, so nothing stored is clamped and saved back changed.
    void widenGainRangeFor(int gainPre, int gainCap);
    void putIntoControls(int resolution, int exposurePre, int gainPre, int gainCap, bool timeAcc,
                         bool inteAcc);
    // The six values of the controls into the current set (the other keys
    // as the file holds them), then the whole set into the file. When the
    // file cannot be written: a warning, the stored set back in the
    // controls, and false.
    bool saveControlsAsCurrentSet();
    void tellDone(const QString& text);

    Ui::WesternBlotCamSetFrame* ui;
    CI_MainControl* mainCtrl;
    TucsenCamCtrl* camCtrl;
    bool gainRangeKnown = false;
};
