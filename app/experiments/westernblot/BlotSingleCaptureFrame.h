// The single-capture panel of the western-blot page: preview, camera
// settings toggle, the blot light, one capture with a typed exposure time,
// the exposure estimate (optionally followed by the capture) with its
// threshold picture, and the histogram range of the captured picture.
#pragma once

#include "WesternBlot_FuncsFrameType.h"

#include <QFrame>
#include <QVector>

#include <memory>

namespace Ui {
class BlotSingleCaptureFrame;
}

class BlotHistogramRange;
class CI_MainControl;
class LightCtrl;
class QMovie;

class BlotSingleCaptureFrame : public QFrame {
    Q_OBJECT
  public:
    explicit BlotSingleCaptureFrame(QWidget* parent = nullptr);
    ~BlotSingleCaptureFrame() override;

  signals:
    void sig_ShowToolFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void sig_HideToolFrame();
    void sig_PreviewStart();
    void sig_AutoExpStart();
    void sig_CapStart();
    void sig_ShowFuncFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void sig_UpdateHistoedImg(int minInten, int maxInten);
    void updateLightStatus(bool b);

  public slots:
    // Entering or leaving the page: settings toggle off, light off, the
    // stored exposure time shown, histogram and threshold picture hidden.
    void resetFunsFrameHandle();
    void openLightHandle();
    // The other panel's light button changed: only this one follows.
    void updateLightStatusHandle(bool b);
    // The histogram of captured picture `value`, for a single capture.
    void updateHistoHandle(WesternBlot_FuncsFrameType curFuncFrameType, int value);
    // The estimate: shown, kept as the exposure time, its threshold picture
    // shown then deleted; after the automatic button the capture follows,
    // else the live preview starts again.
    void updateAutoExpTimeHandle(int autoExpTime);

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Preview_clicked();
    void on_pushButton_AutoTime_clicked();
    void on_pushButton_Capture_clicked();
    void on_pushButton_Manual_clicked();
    void on_pushButton_Light_clicked(bool checked);
    void on_pushButton_Setting_clicked(bool checked);
    void on_pushButton_AutoCap_clicked();
    void transferCapTimeHandle(int ms);
    void on_horizontalSlider_Left_sliderMoved(int position);
    void on_horizontalSlider_Right_sliderMoved(int position);
    void on_pushButton_Auto_clicked();
    void on_lineEdit_Max_editingFinished();
    void on_lineEdit_Min_editingFinished();
    void on_horizontalSlider_Left_valueChanged(int value);
    void on_horizontalSlider_Right_valueChanged(int value);

  private:
    // Asks the image frame for an exposure-time estimate; autoCapFlag says
    // whether a capture follows it.
    void startEstimate();
    void lightOff();
    void showStoredExpTime();
    void stretch(int moved, int other);

    Ui::BlotSingleCaptureFrame* ui;
    CI_MainControl* mainControl;
    LightCtrl* lightCtrl;
    std::unique_ptr<BlotHistogramRange> histogramRange;
    QVector<double> histogram;
    QMovie* waterLight;
    bool autoCapFlag = false;
};
