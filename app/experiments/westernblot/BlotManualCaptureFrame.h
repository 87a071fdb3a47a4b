// The manual-capture panel of the western-blot page: preview, camera
// settings toggle, the blot light, a series of captures whose count and
// exposure times are set in a dialog, and the histogram range of the
// picture on show.
#pragma once

#include "WesternBlot_FuncsFrameType.h"

#include <QFrame>
#include <QVector>

#include <memory>

namespace Ui {
class BlotManualCaptureFrame;
}

class BlotHistogramRange;
class CI_MainControl;
class LightCtrl;

class BlotManualCaptureFrame : public QFrame {
    Q_OBJECT
  public:
    explicit BlotManualCaptureFrame(QWidget* parent = nullptr);
    ~BlotManualCaptureFrame() override;

  signals:
    void sig_ShowToolFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void sig_HideToolFrame();
    void sig_PreviewStart();
    void sig_CapStart();
    void sig_ShowFuncFrame(WesternBlot_FuncsFrameType funcsFrameType);
    void sig_UpdateHistoedImg(int minInten, int maxInten);
    void updateLightStatus(bool b);

  public slots:
    // Entering or leaving the page: settings toggle off, light off, the
    // stored count shown, histogram hidden.
    void resetFunsFrameHandle();
    void openLightHandle();
    // The other panel's light button changed: only this one follows.
    void updateLightStatusHandle(bool b);
    // The histogram of captured picture `value`, for a manual series.
    void updateHistoHandle(WesternBlot_FuncsFrameType curFuncFrameType, int value);

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Preview_clicked();
    void on_pushButton_Light_clicked(bool checked);
    void on_pushButton_Single_clicked();
    void on_pushButton_Setting_clicked(bool checked);
    void on_pushButton_SetExpTime_clicked();
    // Takes the count on show; a series with a picture without exposure
    // time, or a time-accumulated one whose times do not increase, is
    // refused with a message before anything is captured.
    void on_pushButton_Capture_clicked();
    void on_lineEdit_Max_editingFinished();
    void on_lineEdit_Min_editingFinished();
    void on_pushButton_Auto_clicked();
    void on_horizontalSlider_Left_sliderMoved(int position);
    void on_horizontalSlider_Right_sliderMoved(int position);
    void on_horizontalSlider_Left_valueChanged(int value);
    void on_horizontalSlider_Right_valueChanged(int value);

  private:
    void lightOff();
    void tellTips(const QString& text);
    void showStoredCapCount();
    void stretch(int moved, int other);

    Ui::BlotManualCaptureFrame* ui;
    CI_MainControl* mainControl;
    LightCtrl* lightCtrl;
    std::unique_ptr<BlotHistogramRange> histogramRange;
    QVector<double> histogram;
};
