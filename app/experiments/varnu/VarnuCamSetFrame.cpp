#include "VarnuCamSetFrame.h"

#include "ui_VarnuCamSetFrame.h"

#include "SetExposureThread.h"
#include "base/Enumerations.h"
#include "base/NavigationTypes.h"
#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "login/CheckLoginDialog.h"
#include "settings/CamOpts.h"

#include <QDebug>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

#include <limits>

namespace {

ZdqCameraCtrl* camera() {
    return CI_MainControl::getInstance()->zdqCameraCtrl;
}

}  // namespace

VarnuCamSetFrame::VarnuCamSetFrame(QWidget* parent) : QFrame(parent), ui(new Ui::VarnuCamSetFrame) {
    ui->setupUi(this);
    mainControl = CI_MainControl::getInstance();
    checkLoginDialog = CheckLoginDialog::getInstance();
    initCamSet();
    connect(mainControl->zdqCameraCtrl, &ZdqCameraCtrl::cameraFound, this,
            &VarnuCamSetFrame::cameraFoundHandle);
    connect(mainControl->zdqCameraCtrl, &ZdqCameraCtrl::exposureRangeFound, this,
            &VarnuCamSetFrame::exposureRangeFoundHandle);
}

VarnuCamSetFrame::~VarnuCamSetFrame() {
    delete ui;
}

void VarnuCamSetFrame::initCamSet() {
    camera()->ZDQ_Init();
    int maxExposure = -1;
    switch (mainControl->machineName) {
        case Varnu_320:
            for (const QSize& size :
                 {QSize(1064, 850), QSize(532, 425), QSize(266, 212), QSize(133, 106)}) {
                ui->comboBox_Resolution->addItem(
                    QStringLiteral("%1*%2").arg(size.width()).arg(size.height()),
                    ui->comboBox_Resolution->count());
            }
            maxExposure = 2000;
            break;
        case Varnu_520:
        case Varnu_550:
            for (const char* item : {"2592*1944", "1296*972", "648*486", "324*243"}) {
                ui->comboBox_Resolution->addItem(QString::fromLatin1(item),
                                                 ui->comboBox_Resolution->count());
            }
            maxExposure = 7000;
            break;
        default:
            break;
    }
    m_modelMaxExposure = maxExposure;
    if (maxExposure >= 0) {
        ui->horizontalSlider_Exposure->setRange(0, maxExposure);
        ui->spinBox_Exposure->setRange(0, maxExposure);
    }
    queryParamRanges();
    ui->spinBox_SignalAccNum->setMinimum(2);
    camera()->ZDQ_UnInit();
    ui->horizontalSlider_Exposure->setTracking(false);
    loadCurrentToUi();
}

void VarnuCamSetFrame::queryParamRanges() {
    const std::pair<ZDQ_PARAM, QSpinBox*> boxes[] = {{ZDQ_RED, ui->spinBox_Gain},
                                                     {ZDQ_BRIGHTNESS, ui->spinBox_BrightNess},
                                                     {ZDQ_CONTRAST, ui->spinBox_Contrast},
                                                     {ZDQ_GAMMA, ui->spinBox_Gamma}};
    bool allKnown = true;
    for (const auto& box : boxes) {
        int minimum = 0;
        int maximum = 0;
        if (camera()->ZDQ_GetParamRange(0, box.first, &minimum, &maximum) == 1) {
            box.second->setRange(minimum, maximum);
        } else {
            allKnown = false;
            box.second->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        }
    }
    rangesKnown = allKnown;
}

void VarnuCamSetFrame::cameraFoundHandle() {
    if (!rangesKnown) {
        queryParamRanges();
    }
}

void VarnuCamSetFrame::exposureRangeFoundHandle(int minimum, int maximum) {
    const int lowest = qMax(0, minimum);
    const int highest = m_modelMaxExposure >= 0 ? qMin(maximum, m_modelMaxExposure) : maximum;
    if (highest < lowest) {
        return;
    }
    // The camera has clamped its own exposure already: a value the new range
    // clamps is shown, not sent again.
    const QSignalBlocker spinBlocker(ui->spinBox_Exposure);
    const QSignalBlocker sliderBlocker(ui->horizontalSlider_Exposure);
    ui->spinBox_Exposure->setRange(lowest, highest);
    ui->horizontalSlider_Exposure->setRange(lowest, highest);
}

void VarnuCamSetFrame::loadCurrentToUi() {
    mainControl->camOpt.loadZdqCurrentCamSet();
    setSetToUi(mainControl->camOpt.zdqCurrentCamSet);
}

void VarnuCamSetFrame::setSetToUi(const ZdqCamSet& set) {
    setConToUi(set.Resolution, set.Exposure, set.Gain, set.BrightNess, set.Contrast, set.Gamma,
               set.Mirror, set.Flip, set.SignalAccNum, set.SignalAccOpen);
}

void VarnuCamSetFrame::setConToUi(int resolution, int exposure, int gain, int brightness,
                                  int contrast, int gamma, bool mirror, bool flip, int sigAccNum,
                                  bool sigAccOpen) {
    // Signals stay on: every value that changes reaches the camera through
    // the slots below, and both check boxes are sent either way.
    ui->comboBox_Resolution->setCurrentIndex(resolution);
    ui->horizontalSlider_Exposure->setValue(exposure);
    ui->spinBox_Exposure->setValue(exposure);
    ui->spinBox_Gain->setValue(gain);
    ui->spinBox_BrightNess->setValue(brightness);
    ui->spinBox_Contrast->setValue(contrast);
    ui->spinBox_Gamma->setValue(gamma);
    ui->checkBox_Mirror->setChecked(mirror);
    emit ui->checkBox_Mirror->clicked(mirror);
    ui->checkBox_Flip->setChecked(flip);
    emit ui->checkBox_Flip->clicked(flip);
    ui->spinBox_SignalAccNum->setValue(sigAccNum);
    ui->checkBox_SigAccOpen->setChecked(sigAccOpen);
}

void VarnuCamSetFrame::loadConFromUi(int& resolution, int& exposure, int& gain, int& brightness,
                                     int& contrast, int& gamma, bool& mirror, bool& flip,
                                     int& sigAccNum, bool& sigAccOpen) {
    resolution = ui->comboBox_Resolution->currentIndex();
    exposure = ui->spinBox_Exposure->value();
    gain = ui->spinBox_Gain->value();
    brightness = ui->spinBox_BrightNess->value();
    contrast = ui->spinBox_Contrast->value();
    gamma = ui->spinBox_Gamma->value();
    mirror = ui->checkBox_Mirror->isChecked();
    flip = ui->checkBox_Flip->isChecked();
    sigAccNum = ui->spinBox_SignalAccNum->value();
    sigAccOpen = ui->checkBox_SigAccOpen->isChecked();
}

bool VarnuCamSetFrame::storeUiAsCurrent() {
    ZdqCamSet& set = mainControl->camOpt.zdqCurrentCamSet;
    loadConFromUi(set.Resolution, set.Exposure, set.Gain, set.BrightNess, set.Contrast, set.Gamma,
                  set.Mirror, set.Flip, set.SignalAccNum, set.SignalAccOpen);
    return mainControl->camOpt.saveZdqCurrentCamSet();
}

void VarnuCamSetFrame::tellNotStored() {
    // Nothing was stored: the panel shows (and the camera gets) the stored
    // set again.
    loadCurrentToUi();
    QMessageBox box(QMessageBox::Warning, tr("Tips"),
                    tr("Save failed, the settings file cannot be written!"), QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(tr("Ok"));
    box.exec();
}

void VarnuCamSetFrame::saveParaHandle() {
    storeUiAsCurrent();
}

void VarnuCamSetFrame::updateAeTimeHandle(int aeTime) {
    // Automatic exposure has set the camera already: only the controls move.
    const QSignalBlocker spinBlocker(ui->spinBox_Exposure);
    const QSignalBlocker sliderBlocker(ui->horizontalSlider_Exposure);
    ui->spinBox_Exposure->setValue(aeTime);
    ui->horizontalSlider_Exposure->setValue(aeTime);
}

void VarnuCamSetFrame::slot_Show() {
    loadCurrentToUi();
    if (parentWidget()) {
        parentWidget()->show();
    }
}

void VarnuCamSetFrame::slot_Hide() {
    if (parentWidget()) {
        parentWidget()->hide();
    }
}

void VarnuCamSetFrame::showTips(const QString& text) {
    QMessageBox box(QMessageBox::Information, tr("Tips"), text, QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(tr("Ok"));
    box.exec();
}

void VarnuCamSetFrame::writeAudit(const QString& chinese, const QString& english) {
    const QString handler =
        mainControl->currentUser ? mainControl->currentUser->userName : QString();
    mainControl->auditTrailDB->insertAuditTrailPair(HomePage, handler, chinese, english);
}

void VarnuCamSetFrame::on_pushButton_Save_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    if (!storeUiAsCurrent()) {
        tellNotStored();
        return;
    }
    emit sig_UpdateButton(mainControl->camOpt.zdqCurrentCamSet.SignalAccOpen);
    emit sig_PreviewStart();
    showTips(tr("Camera parameter save success."));
    writeAudit(QStringLiteral("保存相机参数"), QStringLiteral("Save camera parameters"));
}

void VarnuCamSetFrame::on_pushButton_Reset_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    CamOpts& options = mainControl->camOpt;
    options.loadZdqDefaultCamSet();
    setSetToUi(options.zdqDefaultCamSet);
    options.zdqCurrentCamSet = options.zdqDefaultCamSet;
    if (!options.saveZdqCurrentCamSet()) {
        tellNotStored();
        return;
    }
    emit sig_UpdateButton(options.zdqCurrentCamSet.SignalAccOpen);
    emit sig_PreviewStart();
    showTips(tr("Camera parameter reset success."));
    writeAudit(QStringLiteral("重置相机参数"), QStringLiteral("Reset camera parameters"));
}

void VarnuCamSetFrame::on_comboBox_Resolution_currentIndexChanged(int index) {
    emit sig_UpdatePreviewField(index);
}

void VarnuCamSetFrame::on_horizontalSlider_Exposure_valueChanged(int value) {
    qDebug() << "on_horizontalSlider_Exposure_valueChanged.";
    {
        const QSignalBlocker blocker(ui->spinBox_Exposure);
        ui->spinBox_Exposure->setValue(value);
    }
    auto* thread = new SetExposureThread(value);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start(QThread::InheritPriority);
    emit expChange();
}

void VarnuCamSetFrame::on_spinBox_Exposure_valueChanged(int value) {
    qDebug() << "on_spinBox_Exposure_valueChanged.";
    {
        const QSignalBlocker blocker(ui->horizontalSlider_Exposure);
        ui->horizontalSlider_Exposure->setValue(value);
    }
    SetExposureThread::setExposureNow(value);
    emit expChange();
}

void VarnuCamSetFrame::on_spinBox_Gain_valueChanged(int value) {
    camera()->ZDQ_SetParam(0, ZDQ_RED, value);
}

void VarnuCamSetFrame::on_spinBox_BrightNess_valueChanged(int value) {
    camera()->ZDQ_SetParam(0, ZDQ_BRIGHTNESS, value);
}

void VarnuCamSetFrame::on_spinBox_Contrast_valueChanged(int value) {
    camera()->ZDQ_SetParam(0, ZDQ_CONTRAST, value);
}

void VarnuCamSetFrame::on_spinBox_Gamma_valueChanged(int value) {
    camera()->ZDQ_SetParam(0, ZDQ_GAMMA, value);
}

void VarnuCamSetFrame::on_checkBox_Mirror_clicked(bool checked) {
    camera()->ZDQ_SetParam(0, ZDQ_MIRROR, checked ? 1 : 0);
}

void VarnuCamSetFrame::on_checkBox_Flip_clicked(bool checked) {
    camera()->ZDQ_SetParam(0, ZDQ_FLIP, checked ? 1 : 0);
}

void VarnuCamSetFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
