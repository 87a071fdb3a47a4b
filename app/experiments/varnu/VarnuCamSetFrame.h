#pragma once

#include <QFrame>

class CheckLoginDialog;
class CI_MainControl;
class QSpinBox;
struct ZdqCamSet;

namespace Ui {
class VarnuCamSetFrame;
}

// The camera-settings panel of the gel/UV page, in the page's tools column:
// resolution, exposure, gain, brightness, contrast, gamma, mirror and flip of
// the USB camera and the number of accumulated frames. A changed value goes
// to the camera at once (it reaches the camera only while a preview or a
// capture has the SDK open); Save and Reset write the current set of the
// camera settings file.
//
// The ranges of gain, brightness, contrast and gamma come from the camera.
// When no camera answers while the panel is built, those boxes take any value
// so that none clamps a stored setting, and the ranges are asked again once a
// preview finds the camera. The exposure control goes up to what the camera
// takes at the preview's resolution, never beyond the model's own maximum.
class VarnuCamSetFrame : public QFrame {
    Q_OBJECT
  public:
    explicit VarnuCamSetFrame(QWidget* parent = nullptr);
    ~VarnuCamSetFrame() override;

    // True once the camera has given the four parameter ranges.
    bool paramRangesKnown() const { return rangesKnown; }

  signals:
    void sig_UpdatePreviewField(int index);
    void sig_UpdateButton(bool sigAccOpen);
    void sig_PreviewStart();
    void expChange();

  public slots:
    void slot_Show();
    void slot_Hide();
    void loadConFromUi(int& resolution, int& exposure, int& gain, int& brightness, int& contrast,
                       int& gamma, bool& mirror, bool& flip, int& sigAccNum, bool& sigAccOpen);
    void setConToUi(int resolution, int exposure, int gain, int brightness, int contrast, int gamma,
                    bool mirror, bool flip, int sigAccNum, bool sigAccOpen);
    void saveParaHandle();
    void updateAeTimeHandle(int aeTime);

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_comboBox_Resolution_currentIndexChanged(int index);
    void on_pushButton_Reset_clicked();
    void on_pushButton_Save_clicked();
    void on_horizontalSlider_Exposure_valueChanged(int value);
    void on_spinBox_Exposure_valueChanged(int value);
    void on_spinBox_Gain_valueChanged(int value);
    void on_spinBox_BrightNess_valueChanged(int value);
    void on_spinBox_Contrast_valueChanged(int value);
    void on_spinBox_Gamma_valueChanged(int value);
    void on_checkBox_Mirror_clicked(bool checked);
    void on_checkBox_Flip_clicked(bool checked);
    // A preview has found the camera: asks for the ranges still unknown.
    void cameraFoundHandle();
    // A preview has set its field of view: the exposure the camera takes
    // there bounds the exposure control.
    void exposureRangeFoundHandle(int minimum, int maximum);

  private:
    void initCamSet();
    // Asks the open SDK for the four parameter ranges; a box whose query
    // fails takes any value.
    void queryParamRanges();
    void loadCurrentToUi();
    void setSetToUi(const ZdqCamSet& set);
    // Reads the controls into the current set and writes it to the file;
    // false when the file could not be written.
    bool storeUiAsCurrent();
    // Warns that nothing was stored and shows the stored set again.
    void tellNotStored();
    void showTips(const QString& text);
    void writeAudit(const QString& chinese, const QString& english);

    Ui::VarnuCamSetFrame* ui;
    // The model's longest exposure (ms); -1 for an unknown model.
    int m_modelMaxExposure = -1;
    CI_MainControl* mainControl = nullptr;
    CheckLoginDialog* checkLoginDialog = nullptr;
    bool rangesKnown = false;
};
