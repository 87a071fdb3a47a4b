// The bottom bar of the western-blot page: the door state, the CCD
// temperature read once a second, the preview state, and the export, report,
// merge and image-processing buttons (enabled by the user's rights).
#pragma once

#include <QFrame>
#include <QString>
#include <QTimer>

namespace Ui {
class WesternBlot_BottomBarFrame;
}

class CI_MainControl;

class WesternBlot_BottomBarFrame : public QFrame {
    Q_OBJECT
  public:
    explicit WesternBlot_BottomBarFrame(QWidget* parent = nullptr);
    ~WesternBlot_BottomBarFrame() override;

    // The shown value of a camera reading in degrees Celsius, two decimals:
    // below 25 the reading is scaled by 1.6 around 25.
    static QString temperatureText(float celsius);

  signals:
    void sig_ShowImgProcessFrame();
    void sig_MergeClick();
    void sig_ExportClick();
    void sig_WpsEditClick();
    void exitFrame();

  public slots:
    void updatePreviewLabelHandle(bool previewStatus);
    void updateDoorStatusHandle(bool open);
    void updateButtonHandle(bool enable);
    void updateProcessButtonHandle();

  protected:
    void changeEvent(QEvent* event) override;

  private slots:
    void on_pushButton_Process_clicked();
    void on_pushButton_Export_clicked();
    void on_pushButton_Merge_clicked();
    void on_pushButton_WpsEdit_clicked();
    // Reads the camera and shows its temperature; a failed reading clears
    // the value.
    void updateTemperature();

  private:
    Ui::WesternBlot_BottomBarFrame* ui;
    CI_MainControl* mainControl;
    QTimer temperatureTimer;
};
