#include "WesternBlotCamSetFrame.h"

#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "ui_WesternBlotCamSetFrame.h"

#include <QEvent>
#include <QMessageBox>
#include <QtDebug>

#include <algorithm>

namespace {

constexpr int kExposureMaxMs = 2000;
constexpr int kExposureStepMs = 100;

}  // namespace

WesternBlotCamSetFrame::WesternBlotCamSetFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::WesternBlotCamSetFrame),
      mainCtrl(CI_MainControl::getInstance()),
      camCtrl(TucsenCamCtrl::getInstance()) {
    ui->setupUi(this);
    ui->horizontalSlider_ExposurePre->setRange(0, kExposureMaxMs);
    ui->horizontalSlider_ExposurePre->setSingleStep(kExposureStepMs);
    ui->spinBox_ExposurePre->setRange(0, kExposureMaxMs);
    gainRangeKnown = applyGainRange();
    for (QGroupBox* unused : {ui->groupBox_Gamma, ui->groupBox_Contrast, ui->groupBox_BlackLevel,
                              ui->groupBox_Histogram, ui->groupBox_Rotate, ui->groupBox_FrameRate,
                              ui->groupBox_BitsDepth}) {
        unused->hide();
    }
}

WesternBlotCamSetFrame::~WesternBlotCamSetFrame() {
    delete ui;
}

void WesternBlotCamSetFrame::slot_Show() {
    CamOpts& opts = mainCtrl->camOpt;
    opts.loadTucsenCurrentCamSet();
    const TucsenCamSet set = opts.tucsenCurrentCamSet;
    // The camera may have started since this frame was built.
    if (!gainRangeKnown) {
        gainRangeKnown = applyGainRange();
    }
    if (!gainRangeKnown) {
        widenGainRangeFor(set.GainPre, set.GainCap);
    }
    putIntoControls(set.Resolution, set.ExposurePre, set.GainPre, set.GainCap, set.TimeAcc,
                    set.InteAcc);
    if (parentWidget() != nullptr) {
        parentWidget()->show();
    } else {
        show();
    }
}

void WesternBlotCamSetFrame::slot_Hide() {
    if (parentWidget() != nullptr) {
        parentWidget()->hide();
    } else {
        hide();
    }
}

void WesternBlotCamSetFrame::on_pushButton_Reset_clicked() {
    CamOpts& opts = mainCtrl->camOpt;
    opts.loadTucsenDefaultCamSet();
    const TucsenCamSet defaults = opts.tucsenDefaultCamSet;
    if (!gainRangeKnown) {
        widenGainRangeFor(defaults.GainPre, defaults.GainCap);
    }
    putIntoControls(defaults.Resolution, defaults.ExposurePre, defaults.GainPre, defaults.GainCap,
                    defaults.TimeAcc, defaults.InteAcc);
    if (!saveControlsAsCurrentSet()) {
        return;
    }
    tellDone(tr("Camera parameter reset success."));
    emit sig_PreviewStart();
}

void WesternBlotCamSetFrame::on_pushButton_Save_clicked() {
    if (!saveControlsAsCurrentSet()) {
        return;
    }
    tellDone(tr("Camera parameter save success."));
    emit sig_PreviewStart();
}

void WesternBlotCamSetFrame::changeShowOfCapModeHandle(WesternBlot_FuncsFrameType funcsFrameType) {
    switch (funcsFrameType) {
        case WesternBlot_SingleCapture:
            ui->groupBox_CaptureMode->hide();
            break;
        case WesternBlot_ManualCapture:
            ui->groupBox_CaptureMode->show();
            break;
        default:
            qFatal("Unknow WesternBlot_FuncsFrameType.");
    }
}

void WesternBlotCamSetFrame::on_spinBox_ExposurePre_valueChanged(int value) {
    ui->horizontalSlider_ExposurePre->setValue(value);
    camCtrl->setExposure(static_cast<float>(value));
}

void WesternBlotCamSetFrame::on_comboBox_BinningMode_currentIndexChanged(int index) {
    camCtrl->setResolution(index);
}

void WesternBlotCamSetFrame::on_spinBox_GainPre_valueChanged(int value) {
    camCtrl->setAnaloggain(value);
}

void WesternBlotCamSetFrame::on_horizontalSlider_ExposurePre_valueChanged(int value) {
    ui->spinBox_ExposurePre->setValue(value);
    camCtrl->setExposure(static_cast<float>(value));
}

void WesternBlotCamSetFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}

bool WesternBlotCamSetFrame::applyGainRange() {
    int minimum = 0;
    int maximum = 0;
    int fallback = 0;
    if (camCtrl->getAnaloggainRange(&minimum, &maximum, &fallback) != 0 || minimum > maximum) {
        qDebug() << "GetAnaloggainRange failed.";
        return false;
    }
    ui->spinBox_GainPre->setRange(minimum, maximum);
    ui->spinBox_GainCap->setRange(minimum, maximum);
    return true;
}

void WesternBlotCamSetFrame::widenGainRangeFor(int gainPre, int gainCap) {
    for (QSpinBox* box : {ui->spinBox_GainPre, ui->spinBox_GainCap}) {
        box->setRange(std::min({box->minimum(), gainPre, gainCap}),
                      std::max({box->maximum(), gainPre, gainCap}));
    }
}

void WesternBlotCamSetFrame::putIntoControls(int resolution, int exposurePre, int gainPre,
                                             int gainCap, bool timeAcc, bool inteAcc) {
    ui->comboBox_BinningMode->setCurrentIndex(resolution);
    ui->spinBox_ExposurePre->setValue(exposurePre);
    ui->spinBox_GainPre->setValue(gainPre);
    ui->spinBox_GainCap->setValue(gainCap);
    ui->checkBox_TimeAcc->setChecked(timeAcc);
    ui->checkBox_IntegralAcc->setChecked(inteAcc);
}

bool WesternBlotCamSetFrame::saveControlsAsCurrentSet() {
    CamOpts& opts = mainCtrl->camOpt;
    opts.loadTucsenCurrentCamSet();
    TucsenCamSet& set = opts.tucsenCurrentCamSet;
    set.Resolution = ui->comboBox_BinningMode->currentIndex();
    set.ExposurePre = ui->spinBox_ExposurePre->value();
    set.GainPre = ui->spinBox_GainPre->value();
    set.GainCap = ui->spinBox_GainCap->value();
    set.TimeAcc = ui->checkBox_TimeAcc->isChecked();
    set.InteAcc = ui->checkBox_IntegralAcc->isChecked();
    if (opts.saveTucsenCurrentCamSet()) {
        return true;
    }
    // Nothing was stored: the controls show the stored set again.
    opts.loadTucsenCurrentCamSet();
    const TucsenCamSet stored = opts.tucsenCurrentCamSet;
    putIntoControls(stored.Resolution, stored.ExposurePre, stored.GainPre, stored.GainCap,
                    stored.TimeAcc, stored.InteAcc);
    QMessageBox box(QMessageBox::Warning, tr("Tips"),
                    tr("Save failed, the settings file cannot be written!"), QMessageBox::NoButton,
                    nullptr);
    box.addButton(tr("Ok"), QMessageBox::AcceptRole);
    box.exec();
    return false;
}

void WesternBlotCamSetFrame::tellDone(const QString& text) {
    QMessageBox box(QMessageBox::Information, tr("Tips"), text, QMessageBox::NoButton, nullptr);
    box.addButton(tr("Ok"), QMessageBox::AcceptRole);
    box.exec();
}
