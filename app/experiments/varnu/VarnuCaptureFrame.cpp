#include "VarnuCaptureFrame.h"

#include "ui_VarnuCaptureFrame.h"

#include "base/Enumerations.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "login/CheckLoginDialog.h"
#include "serial/DarkroomCommands.h"
#include "serial/LensCtrl.h"
#include "serial/LightCtrl.h"
#include "settings/CamOpts.h"

#include <QDebug>
#include <QEvent>

VarnuCaptureFrame::VarnuCaptureFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::VarnuCaptureFrame), lensCtrl(new LensCtrl) {
    ui->setupUi(this);
    checkLoginDialog = CheckLoginDialog::getInstance();
    mainControl = CI_MainControl::getInstance();
    lightCtrl = LightCtrl::getInstance();
    connect(
        mainControl, &CI_MainControl::timeoutShutDown, this,
        [this] {
            ui->pushButton_Power->setChecked(false);
            disableLightBtns();
        },
        Qt::DirectConnection);
    connect(mainControl, &CI_MainControl::changeBtnStaus, this,
            &VarnuCaptureFrame::changeBtnStausHandle);
    initFrame();
}

VarnuCaptureFrame::~VarnuCaptureFrame() {
    delete ui;
    delete lensCtrl;
}

void VarnuCaptureFrame::initFrame() {
    mainControl->camOpt.loadCamOpt(ZdqCurrent_SignalAccOpen);
    ui->pushButton_AccCapture->setVisible(mainControl->camOpt.zdqCurrentCamSet.SignalAccOpen);
    const bool fourLamps = mainControl->machineName != Varnu_550;
    for (QWidget* widget :
         {static_cast<QWidget*>(ui->pushButton_UV254), static_cast<QWidget*>(ui->pushButton_UV365),
          static_cast<QWidget*>(ui->label_UV254), static_cast<QWidget*>(ui->label_UV365)}) {
        widget->setVisible(fourLamps);
    }
    setLampCaptions();
    sendLight(DarkroomCommand::StatusRequest);
    // An instrument found on is switched off: the first power-on status
    // answers with a power toggle, the first power-off status ends this.
    switchOffPending = true;
}

void VarnuCaptureFrame::setLampCaptions() {
    if (mainControl->machineName == Varnu_550) {
        ui->label_UV302C->setText(tr("Blue-C"));
        ui->label_UV302O->setText(tr("Blue-O"));
    } else {
        ui->label_UV302C->setText(QStringLiteral("UV302C"));
        ui->label_UV302O->setText(QStringLiteral("UV302O"));
    }
}

QList<QPushButton*> VarnuCaptureFrame::lightBtns() const {
    return {ui->pushButton_WhiteLight, ui->pushButton_UV302C, ui->pushButton_UV302O,
            ui->pushButton_UV254, ui->pushButton_UV365};
}

void VarnuCaptureFrame::enableLightBtns() {
    for (QPushButton* button : lightBtns()) {
        button->setEnabled(true);
    }
}

void VarnuCaptureFrame::disableLightBtns() {
    uncheckLightBtns();
    for (QPushButton* button : lightBtns()) {
        button->setEnabled(false);
    }
}

void VarnuCaptureFrame::uncheckLightBtns() {
    for (QPushButton* button : lightBtns()) {
        button->setChecked(false);
    }
}

void VarnuCaptureFrame::showOnlyLit(QPushButton* lit) {
    uncheckLightBtns();
    lit->setChecked(true);
}

void VarnuCaptureFrame::changeBtnStausHandle(VarnuDataBit dataBit) {
    switch (dataBit) {
        case PowerOpen:
            mainControl->powerOn = true;
            if (switchOffPending) {
                sendLight(DarkroomCommand::PowerToggle);
            } else {
                ui->pushButton_Power->setChecked(true);
                enableLightBtns();
            }
            break;
        case PowerClose:
            mainControl->powerOn = false;
            if (switchOffPending) {
                switchOffPending = false;
            } else {
                ui->pushButton_Power->setChecked(false);
                disableLightBtns();
            }
            break;
        case WhiteLightOpen:
            showOnlyLit(ui->pushButton_WhiteLight);
            break;
        case WhiteLightClose:
            ui->pushButton_WhiteLight->setChecked(false);
            break;
        case UV1Open:
            showOnlyLit(ui->pushButton_UV302C);
            break;
        case UV1Close:
            ui->pushButton_UV302C->setChecked(false);
            break;
        case UV2Open:
            showOnlyLit(ui->pushButton_UV302O);
            break;
        case UV2Close:
            ui->pushButton_UV302O->setChecked(false);
            break;
        case UV3Open:
            showOnlyLit(ui->pushButton_UV254);
            break;
        case UV3Close:
            ui->pushButton_UV254->setChecked(false);
            break;
        case UV4Open:
            showOnlyLit(ui->pushButton_UV365);
            break;
        case UV4Close:
            ui->pushButton_UV365->setChecked(false);
            break;
        case ResetFinish:
        case ResetStart:
            break;
        default:
            qDebug() << "Unknow VarnuDataBit.";
            break;
    }
}

void VarnuCaptureFrame::resetFunsFrameHandle() {
    if (ui->pushButton_Setting->isChecked()) {
        ui->pushButton_Setting->setChecked(false);
    }
    if (ui->pushButton_Power->isChecked()) {
        ui->pushButton_Power->setChecked(false);
        setPower(false);
    }
    disableLightBtns();
}

void VarnuCaptureFrame::updateButtonHandle(bool sigAccOpen) {
    ui->pushButton_AccCapture->setVisible(sigAccOpen);
}

void VarnuCaptureFrame::showEvent(QShowEvent* event) {
    const bool mayCapture = mainControl->currentUser && mainControl->currentUser->authImgCap;
    ui->pushButton_Capture->setEnabled(mayCapture);
    ui->pushButton_AccCapture->setEnabled(mayCapture);
    QFrame::showEvent(event);
}

void VarnuCaptureFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setLampCaptions();
    }
    event->accept();
}

void VarnuCaptureFrame::setPower(bool on) {
    if (on) {
        enableLightBtns();
    } else {
        disableLightBtns();
    }
    mainControl->powerOn = on;
    sendLight(DarkroomCommand::PowerToggle);
}

void VarnuCaptureFrame::sendLight(int byte) {
    lightCtrl->sendRawCmd({byte});
}

void VarnuCaptureFrame::sendLens(int byte) {
    lensCtrl->sendRawCmd({byte});
}

void VarnuCaptureFrame::lampClicked(QPushButton* clicked, int toggleByte) {
    if (clicked->isChecked()) {
        for (QPushButton* button : lightBtns()) {
            if (button != clicked) {
                button->setChecked(false);
            }
        }
    }
    sendLight(toggleByte);
}

void VarnuCaptureFrame::writeAudit(const QString& chinese, const QString& english) {
    const QString handler =
        mainControl->currentUser ? mainControl->currentUser->userName : QString();
    mainControl->auditTrailDB->insertAuditTrailPair(HomePage, handler, chinese, english);
}

void VarnuCaptureFrame::on_pushButton_Preview_clicked() {
    emit savePara();
    emit sig_PreviewClick();
    writeAudit(QStringLiteral("点击预览"), QStringLiteral("Clicked PreView"));
}

void VarnuCaptureFrame::on_pushButton_Capture_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    emit savePara();
    emit sig_CaptureClick();
    // Built after the signals, so the numbers are those savePara stored.
    const ZdqCamSet& set = mainControl->camOpt.zdqCurrentCamSet;
    writeAudit(QStringLiteral("点击采集: 曝光: %1 增益: %2 亮度: %3 对比: %4 Gamma: %5")
                   .arg(set.Exposure)
                   .arg(set.Gain)
                   .arg(set.BrightNess)
                   .arg(set.Contrast)
                   .arg(set.Gamma),
               QStringLiteral("Click Capture: Exposure: %1 Gain: %2 Brightness: %3 Contrast: %4 "
                              "Gamma: %5")
                   .arg(set.Exposure)
                   .arg(set.Gain)
                   .arg(set.BrightNess)
                   .arg(set.Contrast)
                   .arg(set.Gamma));
}

void VarnuCaptureFrame::on_pushButton_AccCapture_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    emit savePara();
    emit sig_AccCaptureClick();
    writeAudit(QStringLiteral("点击积分采集"), QStringLiteral("Click AccCapture"));
}

void VarnuCaptureFrame::on_pushButton_AutoFocus_clicked() {
    emit sig_AutoFocusClick();
    writeAudit(QStringLiteral("点击自动对焦"), QStringLiteral("Click Autofocus"));
}

void VarnuCaptureFrame::on_pushButton_AutoExposure_clicked() {
    emit sig_AutoExposureClick();
    writeAudit(QStringLiteral("点击自动曝光"), QStringLiteral("Click Automatic Exposure"));
}

void VarnuCaptureFrame::on_pushButton_Setting_clicked(bool checked) {
    if (checked) {
        emit sig_ShowToolFrame();
    } else {
        emit sig_HideToolFrame();
    }
}

void VarnuCaptureFrame::on_pushButton_Power_clicked(bool checked) {
    setPower(checked);
}

void VarnuCaptureFrame::on_pushButton_WhiteLight_clicked(bool /*checked*/) {
    lampClicked(ui->pushButton_WhiteLight, DarkroomCommand::WhiteLightToggle);
}

void VarnuCaptureFrame::on_pushButton_UV302C_clicked(bool /*checked*/) {
    lampClicked(ui->pushButton_UV302C, DarkroomCommand::UV1Toggle);
}

void VarnuCaptureFrame::on_pushButton_UV302O_clicked(bool /*checked*/) {
    lampClicked(ui->pushButton_UV302O, DarkroomCommand::UV2Toggle);
}

void VarnuCaptureFrame::on_pushButton_UV254_clicked(bool /*checked*/) {
    lampClicked(ui->pushButton_UV254, DarkroomCommand::UV3Toggle);
}

void VarnuCaptureFrame::on_pushButton_UV365_clicked(bool /*checked*/) {
    lampClicked(ui->pushButton_UV365, DarkroomCommand::UV4Toggle);
}

void VarnuCaptureFrame::on_pushButton_FocusIn_pressed() {
    sendLens(DarkroomCommand::FocusIn);
}

void VarnuCaptureFrame::on_pushButton_FocusOut_pressed() {
    sendLens(DarkroomCommand::FocusOut);
}

void VarnuCaptureFrame::on_pushButton_ZoomIn_pressed() {
    sendLens(DarkroomCommand::ZoomIn);
}

void VarnuCaptureFrame::on_pushButton_ZoomOut_pressed() {
    sendLens(DarkroomCommand::ZoomOut);
}

void VarnuCaptureFrame::on_pushButton_IrisIn_pressed() {
    sendLens(DarkroomCommand::IrisIn);
}

void VarnuCaptureFrame::on_pushButton_IrisOut_pressed() {
    sendLens(DarkroomCommand::IrisOut);
}

void VarnuCaptureFrame::on_pushButton_FocusIn_released() {
    sendLens(DarkroomCommand::LensStop);
}

void VarnuCaptureFrame::on_pushButton_FocusOut_released() {
    sendLens(DarkroomCommand::LensStop);
}

void VarnuCaptureFrame::on_pushButton_ZoomIn_released() {
    sendLens(DarkroomCommand::LensStop);
}

void VarnuCaptureFrame::on_pushButton_ZoomOut_released() {
    sendLens(DarkroomCommand::LensStop);
}

void VarnuCaptureFrame::on_pushButton_IrisIn_released() {
    sendLens(DarkroomCommand::LensStop);
}

void VarnuCaptureFrame::on_pushButton_IrisOut_released() {
    sendLens(DarkroomCommand::LensStop);
}
