#pragma once

#include <QFrame>

class CI_MainControl;
class LightCtrl;

namespace Ui {
class MultFluoreCaptureFrame;
}

// The capture panel of the multi-fluorescence page. Its light choice
// switches the dark room's light sources, its filter frame moves the filter
// wheel, and its settings button shows or hides the page's tools. This
// station has no camera on this page, so the camera and capture buttons have
// no effect. Building the panel sends nothing.
class MultFluoreCaptureFrame : public QFrame {
    Q_OBJECT
  public:
    explicit MultFluoreCaptureFrame(QWidget* parent = nullptr);
    ~MultFluoreCaptureFrame() override;

  signals:
    void sig_ShowToolFrame();
    void sig_HideToolFrame();

  protected:
    // Handles the language change only: texts and style sheet again.
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Preview_clicked();
    void on_pushButton_SetExpTime_clicked();
    void on_pushButton_Capture_clicked();
    void on_pushButton_Stop_clicked();
    void on_comboBox_Light_currentIndexChanged(int index);
    void on_pushButton_Setting_clicked(bool checked);

  private:
    void initFrame();
    void loadStyleSheet();

    Ui::MultFluoreCaptureFrame* ui;
    CI_MainControl* m_mainControl;
    LightCtrl* m_lightCtrl;
};
