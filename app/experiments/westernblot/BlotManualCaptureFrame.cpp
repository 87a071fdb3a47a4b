#include "BlotManualCaptureFrame.h"

#include "ui_BlotManualCaptureFrame.h"

#include "BlotHistogramRange.h"
#include "BlotLight.h"
#include "ButtonPicture.h"
#include "ExpTimeSetDialog.h"
#include "ManualSeriesCheck.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "serial/LightCtrl.h"
#include "settings/SettingsNotSaved.h"

#include <QMessageBox>
#include <QtDebug>

BlotManualCaptureFrame::BlotManualCaptureFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::BlotManualCaptureFrame),
      mainControl(CI_MainControl::getInstance()),
      lightCtrl(LightCtrl::getInstance()) {
    ui->setupUi(this);
    // The controller's shut-down timer has switched the light off itself.
    connect(mainControl, &CI_MainControl::timeoutShutDown, this,
            [this] { ui->pushButton_Light->setChecked(false); });
    fitButtonToPicture(ui->pushButton_Single, QStringLiteral(":/Image/single_normal.png"));
    fitButtonToPicture(ui->pushButton_SetExpTime, QStringLiteral(":/Image/set_normal.png"));
    histogramRange = std::make_unique<BlotHistogramRange>(BlotHistogramRange::Widgets{
        ui->frame_Histo, ui->horizontalSlider_Left, ui->horizontalSlider_Right, ui->lineEdit_Min,
        ui->lineEdit_Max, ui->label_Line});
}

BlotManualCaptureFrame::~BlotManualCaptureFrame() {
    delete ui;
}

void BlotManualCaptureFrame::lightOff() {
    if (ui->pushButton_Light->isChecked()) {
        ui->pushButton_Light->setChecked(false);
        sendBlotLight(lightCtrl, false);
    }
}

void BlotManualCaptureFrame::showStoredCapCount() {
    UserOpts& options = mainControl->userOpt;
    options.loadUserOpt(UserOpt_CapCount);
    ui->spinBox_CapNum->setValue(options.CapCount);
}

void BlotManualCaptureFrame::on_pushButton_Light_clicked(bool checked) {
    sendBlotLight(lightCtrl, checked);
    emit updateLightStatus(checked);
}

void BlotManualCaptureFrame::updateLightStatusHandle(bool b) {
    ui->pushButton_Light->setChecked(b);
}

void BlotManualCaptureFrame::openLightHandle() {
    ui->pushButton_Light->setChecked(true);
    sendBlotLight(lightCtrl, true);
}

void BlotManualCaptureFrame::on_pushButton_Preview_clicked() {
    ui->groupBox_Histogram->hide();
    emit sig_PreviewStart();
}

void BlotManualCaptureFrame::on_pushButton_Setting_clicked(bool checked) {
    if (checked) {
        emit sig_ShowToolFrame(WesternBlot_ManualCapture);
    } else {
        emit sig_HideToolFrame();
    }
}

void BlotManualCaptureFrame::on_pushButton_Single_clicked() {
    emit sig_PreviewStart();
    emit sig_HideToolFrame();
    showStoredCapCount();
    ui->pushButton_Setting->setChecked(false);
    ui->groupBox_Histogram->hide();
    TucsenCamCtrl::getInstance()->curFuncFrameType = WesternBlot_SingleCapture;
    emit sig_ShowFuncFrame(WesternBlot_SingleCapture);
}

void BlotManualCaptureFrame::on_pushButton_SetExpTime_clicked() {
    UserOpts& options = mainControl->userOpt;
    options.CapCount = ui->spinBox_CapNum->value();
    if (!options.saveUserOpt(UserOpt_CapCount)) {
        showStoredCapCount();
        tellSettingsNotSaved(this);
        return;
    }
    ExpTimeSetDialog dialog(this);
    dialog.setCapCount(options.CapCount);
    dialog.exec();
}

void BlotManualCaptureFrame::tellTips(const QString& text) {
    QMessageBox::information(nullptr, tr("Tips"), text, tr("Ok"));
}

void BlotManualCaptureFrame::on_pushButton_Capture_clicked() {
    // The series on show is the one taken: the capture reads its count from
    // the settings, so the count goes there first.
    UserOpts& options = mainControl->userOpt;
    options.CapCount = ui->spinBox_CapNum->value();
    if (!options.saveUserOpt(UserOpt_CapCount)) {
        tellTips(tr("The number of pictures could not be saved; nothing was captured."));
        return;
    }
    const QList<QStringList> entries = options.loadExpTimeList();
    const int unset = firstEntryWithoutTime(entries);
    if (unset > 0) {
        tellTips(tr("Picture %1 of the series has no exposure time. Set the exposure times of "
                    "all %2 pictures before capturing.")
                     .arg(unset)
                     .arg(entries.size()));
        return;
    }
    mainControl->camOpt.loadTucsenCurrentCamSet();
    if (mainControl->camOpt.tucsenCurrentCamSet.TimeAcc && !timesIncrease(entries)) {
        tellTips(
            tr("For a time-accumulated series every exposure time must be longer than the "
               "one before it."));
        return;
    }
    lightOff();
    ui->groupBox_Histogram->hide();
    emit sig_CapStart();
}

void BlotManualCaptureFrame::resetFunsFrameHandle() {
    ui->pushButton_Setting->setChecked(false);
    lightOff();
    showStoredCapCount();
    ui->groupBox_Histogram->hide();
}

void BlotManualCaptureFrame::updateHistoHandle(WesternBlot_FuncsFrameType curFuncFrameType,
                                               int value) {
    if (curFuncFrameType != WesternBlot_ManualCapture) {
        return;
    }
    qDebug() << "WesternBlot_ManualCaptureFrame updateHistoHandle.";
    histogram = TucsenCamCtrl::getInstance()->getRawHistogram(value);
    const BlotHistogramRange::Range range = histogramRange->showHistogram(histogram);
    emit sig_UpdateHistoedImg(range.first, range.second);
    ui->groupBox_Histogram->show();
}

void BlotManualCaptureFrame::stretch(int moved, int other) {
    const BlotHistogramRange::Range range = histogramRange->sliderMoved(moved, other);
    emit sig_UpdateHistoedImg(range.first, range.second);
}

void BlotManualCaptureFrame::on_horizontalSlider_Left_sliderMoved(int position) {
    stretch(position, ui->horizontalSlider_Right->value());
}

void BlotManualCaptureFrame::on_horizontalSlider_Right_sliderMoved(int position) {
    stretch(position, ui->horizontalSlider_Left->value());
}

void BlotManualCaptureFrame::on_horizontalSlider_Left_valueChanged(int value) {
    stretch(value, ui->horizontalSlider_Right->value());
}

void BlotManualCaptureFrame::on_horizontalSlider_Right_valueChanged(int value) {
    stretch(value, ui->horizontalSlider_Left->value());
}

void BlotManualCaptureFrame::on_lineEdit_Min_editingFinished() {
    histogramRange->minimumEdited();
}

void BlotManualCaptureFrame::on_lineEdit_Max_editingFinished() {
    histogramRange->maximumEdited();
}

void BlotManualCaptureFrame::on_pushButton_Auto_clicked() {
    const BlotHistogramRange::Range range = histogramRange->automaticRange();
    emit sig_UpdateHistoedImg(range.first, range.second);
}

void BlotManualCaptureFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
