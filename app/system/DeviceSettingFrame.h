#pragma once

#include <QFrame>

class CI_MainControl;
class CheckLoginDialog;
class QButtonGroup;

namespace Ui {
class DeviceSettingFrame;
}

// The device-settings page: language, picture storage path, light
// auto-close time, watermark, electronic signature, and the western-blot
// marker capture, show mode and sample background. Each change is written
// to the user options at once. The page takes its groups and the stored
// values afresh every time it is shown (the experiment type may have
// changed); showing it changes nothing. The path, the watermark and the
// electronic signature ask for the password again and are audited.
class DeviceSettingFrame : public QFrame {
    Q_OBJECT
  public:
    explicit DeviceSettingFrame(QWidget* parent = nullptr);
    ~DeviceSettingFrame() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private slots:
    void buttonClickedHandle(int index);
    void buttonShowModeClickedHandle(int index);
    void buttonSampleImageBkColorClickedHandle(int index);
    void buttonAddWaterMarkClickedHandle(int index);
    void buttonCheckLoginClickedHandle(int index);
    void on_comboBox_Language_currentIndexChanged(int index);
    void on_pushButton_SimpleOK_clicked();
    void on_pushButton_GetExistDir_clicked();

  private:
    void initFrame();
    // Selects the stored values and decides the visible groups; runs no
    // change handler.
    void showStoredSettings();
    void layoutGroups();
    // Saves one option; when the file cannot be written the option is
    // reloaded, the user warned, and false returned.
    bool storeOption(int type);
    void warnNotWritten();

    Ui::DeviceSettingFrame* ui;
    CI_MainControl* mainCtrl;
    CheckLoginDialog* checkLoginDialog;
    QButtonGroup* markerGroup;
    QButtonGroup* showModeGroup;
    QButtonGroup* sampleImageBkColorGroup;
    QButtonGroup* addWaterMarkGroup;
    QButtonGroup* checkLoginGroup;
};
