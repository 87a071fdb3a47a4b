#include "BlotSingleCaptureFrame.h"

#include "ui_BlotSingleCaptureFrame.h"

#include "BlotHistogramRange.h"
#include "BlotLight.h"
#include "ButtonPicture.h"
#include "base/StationDir.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "serial/LightCtrl.h"
#include "settings/SettingsNotSaved.h"

#include <QFile>
#include <QMovie>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTimer>
#include <QtDebug>

BlotSingleCaptureFrame::BlotSingleCaptureFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::BlotSingleCaptureFrame),
      mainControl(CI_MainControl::getInstance()),
      lightCtrl(LightCtrl::getInstance()),
      waterLight(new QMovie(QStringLiteral(":/Image/waterlight.gif"), QByteArray(), this)) {
    ui->setupUi(this);
    // The controller's shut-down timer has switched the light off itself.
    connect(mainControl, &CI_MainControl::timeoutShutDown, this,
            [this] { ui->pushButton_Light->setChecked(false); });
    fitButtonToPicture(ui->pushButton_Manual, QStringLiteral(":/Image/manual_normal.png"));
    fitButtonToPicture(ui->pushButton_AutoTime, QStringLiteral(":/Image/autotime_normal.png"));
    histogramRange = std::make_unique<BlotHistogramRange>(BlotHistogramRange::Widgets{
        ui->frame_Histo, ui->horizontalSlider_Left, ui->horizontalSlider_Right, ui->lineEdit_Min,
        ui->lineEdit_Max, ui->label_Line});
    ui->label_WaterLight->setMovie(waterLight);
    waterLight->start();
    autoCapFlag = false;
    connect(ui->frame_CapTimeSet, &CapTimeSetFrame::transferCapTime, this,
            &BlotSingleCaptureFrame::transferCapTimeHandle);
}

BlotSingleCaptureFrame::~BlotSingleCaptureFrame() {
    delete ui;
}

void BlotSingleCaptureFrame::lightOff() {
    if (ui->pushButton_Light->isChecked()) {
        ui->pushButton_Light->setChecked(false);
        sendBlotLight(lightCtrl, false);
    }
}

void BlotSingleCaptureFrame::showStoredExpTime() {
    UserOpts& options = mainControl->userOpt;
    options.loadUserOpt(UserOpt_ExpTime);
    ui->frame_CapTimeSet->setCapTime(options.ExpTime);
}

void BlotSingleCaptureFrame::on_pushButton_Light_clicked(bool checked) {
    sendBlotLight(lightCtrl, checked);
    emit updateLightStatus(checked);
}

void BlotSingleCaptureFrame::updateLightStatusHandle(bool b) {
    ui->pushButton_Light->setChecked(b);
}

void BlotSingleCaptureFrame::openLightHandle() {
    ui->pushButton_Light->setChecked(true);
    sendBlotLight(lightCtrl, true);
}

void BlotSingleCaptureFrame::on_pushButton_Preview_clicked() {
    ui->groupBox_Histogram->hide();
    ui->groupBox_PreviewImage->hide();
    emit sig_PreviewStart();
}

void BlotSingleCaptureFrame::on_pushButton_Setting_clicked(bool checked) {
    if (checked) {
        emit sig_ShowToolFrame(WesternBlot_SingleCapture);
    } else {
        emit sig_HideToolFrame();
    }
}

void BlotSingleCaptureFrame::on_pushButton_Manual_clicked() {
    emit sig_PreviewStart();
    emit sig_HideToolFrame();
    ui->pushButton_Setting->setChecked(false);
    showStoredExpTime();
    ui->groupBox_Histogram->hide();
    ui->groupBox_PreviewImage->hide();
    TucsenCamCtrl::getInstance()->curFuncFrameType = WesternBlot_ManualCapture;
    emit sig_ShowFuncFrame(WesternBlot_ManualCapture);
}

void BlotSingleCaptureFrame::on_pushButton_Capture_clicked() {
    lightOff();
    emit sig_CapStart();
}

void BlotSingleCaptureFrame::on_pushButton_AutoTime_clicked() {
    // A plain estimate: an Auto Capture whose estimate was dropped (the page
    // left, the preview not stopping) does not capture after this one.
    autoCapFlag = false;
    startEstimate();
}

void BlotSingleCaptureFrame::startEstimate() {
    lightOff();
    ui->groupBox_Histogram->hide();
    ui->groupBox_PreviewImage->hide();
    emit sig_AutoExpStart();
}

void BlotSingleCaptureFrame::on_pushButton_AutoCap_clicked() {
    qDebug() << "on_pushButton_AutoCap_clicked.";
    autoCapFlag = true;
    startEstimate();
}

void BlotSingleCaptureFrame::updateAutoExpTimeHandle(int autoExpTime) {
    qDebug() << "autoExpTime:" << autoExpTime;
    // The entry shows at most 59:59.999; what it shows is what is captured.
    const int shown = CapTimeSetFrame::clampedCapTime(autoExpTime);
    {
        const QSignalBlocker blocker(ui->frame_CapTimeSet);
        ui->frame_CapTimeSet->setCapTime(shown);
    }
    mainControl->userOpt.ExpTime = shown;
    if (!mainControl->userOpt.saveUserOpt(UserOpt_ExpTime)) {
        // A capture would take the stored time, not the estimate.
        autoCapFlag = false;
        const QSignalBlocker blocker(ui->frame_CapTimeSet);
        showStoredExpTime();
        tellSettingsNotSaved(this);
    }

    const QString threshold = stationFilePath(QStringLiteral("threshold.tif"));
    ui->label_PreviewImage->setScaledContents(true);
    ui->label_PreviewImage->setPixmap(QPixmap(threshold));
    ui->groupBox_Histogram->hide();
    ui->groupBox_PreviewImage->show();
    if (!QFile::remove(threshold)) {
        qDebug() << "remove " << threshold << "failed.";
    }
    if (autoCapFlag) {
        autoCapFlag = false;
        // Posted: the capture starts from the event loop, not from inside
        // whatever delivered the estimate.
        QTimer::singleShot(0, this, &BlotSingleCaptureFrame::on_pushButton_Capture_clicked);
    } else {
        // The live picture comes back, as a capture brings its pictures,
        // without the user pressing Preview.
        emit sig_PreviewStart();
    }
}

void BlotSingleCaptureFrame::transferCapTimeHandle(int ms) {
    mainControl->userOpt.ExpTime = ms;
    if (!mainControl->userOpt.saveUserOpt(UserOpt_ExpTime)) {
        // The capture takes the stored time: the entry shows it again.
        const QSignalBlocker blocker(ui->frame_CapTimeSet);
        showStoredExpTime();
        tellSettingsNotSaved(this);
    }
}

void BlotSingleCaptureFrame::resetFunsFrameHandle() {
    ui->pushButton_Setting->setChecked(false);
    lightOff();
    showStoredExpTime();
    ui->groupBox_Histogram->hide();
    ui->groupBox_PreviewImage->hide();
}

void BlotSingleCaptureFrame::updateHistoHandle(WesternBlot_FuncsFrameType curFuncFrameType,
                                               int value) {
    if (curFuncFrameType != WesternBlot_SingleCapture) {
        return;
    }
    qDebug() << "WesternBlot_SingleCaptureFrame updateHistoHandle.";
    histogram = TucsenCamCtrl::getInstance()->getRawHistogram(value);
    const BlotHistogramRange::Range range = histogramRange->showHistogram(histogram);
    emit sig_UpdateHistoedImg(range.first, range.second);
    ui->groupBox_Histogram->show();
    ui->groupBox_PreviewImage->hide();
}

void BlotSingleCaptureFrame::stretch(int moved, int other) {
    const BlotHistogramRange::Range range = histogramRange->sliderMoved(moved, other);
    emit sig_UpdateHistoedImg(range.first, range.second);
}

void BlotSingleCaptureFrame::on_horizontalSlider_Left_sliderMoved(int position) {
    stretch(position, ui->horizontalSlider_Right->value());
}

void BlotSingleCaptureFrame::on_horizontalSlider_Right_sliderMoved(int position) {
    stretch(position, ui->horizontalSlider_Left->value());
}

void BlotSingleCaptureFrame::on_horizontalSlider_Left_valueChanged(int value) {
    stretch(value, ui->horizontalSlider_Right->value());
}

void BlotSingleCaptureFrame::on_horizontalSlider_Right_valueChanged(int value) {
    stretch(value, ui->horizontalSlider_Left->value());
}

void BlotSingleCaptureFrame::on_lineEdit_Min_editingFinished() {
    histogramRange->minimumEdited();
}

void BlotSingleCaptureFrame::on_lineEdit_Max_editingFinished() {
    histogramRange->maximumEdited();
}

void BlotSingleCaptureFrame::on_pushButton_Auto_clicked() {
    const BlotHistogramRange::Range range = histogramRange->automaticRange();
    emit sig_UpdateHistoedImg(range.first, range.second);
}

void BlotSingleCaptureFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
