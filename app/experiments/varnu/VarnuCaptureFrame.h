#pragma once

#include "serial/DarkroomEnums.h"

#include <QFrame>

class CheckLoginDialog;
class CI_MainControl;
class LensCtrl;
class LightCtrl;
class QPushButton;

namespace Ui {
class VarnuCaptureFrame;
}

// The control panel on the right of the gel/UV page. It drives the dark room
// itself: power, white light and the UV lamps through the light-command
// singleton, the motorised lens through a lens-command object of its own, and
// it follows the controller's status bytes to set its buttons. Camera work
// leaves it as signals for the image frame. Building the panel asks the
// controller for its status and switches an instrument that is on off.
class VarnuCaptureFrame : public QFrame {
    Q_OBJECT
  public:
    explicit VarnuCaptureFrame(QWidget* parent = nullptr);
    ~VarnuCaptureFrame() override;

  signals:
    void sig_ShowToolFrame();
    void sig_HideToolFrame();
    void sig_PreviewClick();
    void sig_CaptureClick();
    void sig_AccCaptureClick();
    void sig_AutoExposureClick();
    void sig_AutoFocusClick();
    // Asks the camera-settings panel to store its controls; always sent
    // before a preview or a capture.
    void savePara();

  public slots:
    void resetFunsFrameHandle();
    void updateButtonHandle(bool sigAccOpen);
    void changeBtnStausHandle(VarnuDataBit dataBit);

  protected:
    // Capture rights of the current user, on every show.
    void showEvent(QShowEvent* event) override;
    // Texts and lamp captions again on a language change.
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Preview_clicked();
    void on_pushButton_Capture_clicked();
    void on_pushButton_Setting_clicked(bool checked);
    void on_pushButton_FocusIn_pressed();
    void on_pushButton_FocusOut_pressed();
    void on_pushButton_ZoomIn_pressed();
    void on_pushButton_ZoomOut_pressed();
    void on_pushButton_IrisIn_pressed();
    void on_pushButton_IrisOut_pressed();
    void on_pushButton_FocusIn_released();
    void on_pushButton_FocusOut_released();
    void on_pushButton_ZoomIn_released();
    void on_pushButton_ZoomOut_released();
    void on_pushButton_IrisIn_released();
    void on_pushButton_IrisOut_released();
    void on_pushButton_AutoFocus_clicked();
    void on_pushButton_AutoExposure_clicked();
    void on_pushButton_Power_clicked(bool checked);
    void on_pushButton_WhiteLight_clicked(bool checked);
    void on_pushButton_AccCapture_clicked();
    void on_pushButton_UV302C_clicked(bool checked);
    void on_pushButton_UV302O_clicked(bool checked);
    void on_pushButton_UV254_clicked(bool checked);
    void on_pushButton_UV365_clicked(bool checked);

  private:
    void initFrame();
    void setLampCaptions();
    // The five light buttons: white light, then UV lamps 1 to 4.
    QList<QPushButton*> lightBtns() const;
    void enableLightBtns();
    void disableLightBtns();
    void uncheckLightBtns();
    // Checks `lit` after unchecking every light button.
    void showOnlyLit(QPushButton* lit);
    // A lamp click: unchecks the other lamps when `clicked` is now checked,
    // then sends the lamp's toggle byte either way.
    void lampClicked(QPushButton* clicked, int toggleByte);
    void setPower(bool on);
    void sendLight(int byte);
    void sendLens(int byte);
    void writeAudit(const QString& chinese, const QString& english);

    Ui::VarnuCaptureFrame* ui;
    CI_MainControl* mainControl = nullptr;
    LightCtrl* lightCtrl = nullptr;
    LensCtrl* lensCtrl = nullptr;
    CheckLoginDialog* checkLoginDialog = nullptr;
    bool switchOffPending = false;
};
