#include "WesternBlot_BottomBarFrame.h"

#include "ui_WesternBlot_BottomBarFrame.h"

#include "ButtonPicture.h"
#include "camera/TucsenCamCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"

#include <QPixmap>

namespace {
constexpr int kTemperatureIntervalMs = 1000;
constexpr float kCalibrationPoint = 25.0f;
constexpr float kBelowPointScale = 1.6f;
}  // namespace

WesternBlot_BottomBarFrame::WesternBlot_BottomBarFrame(QWidget* parent)
    : QFrame(parent),
      ui(new Ui::WesternBlot_BottomBarFrame),
      mainControl(CI_MainControl::getInstance()) {
    ui->setupUi(this);

    fitButtonToPicture(ui->pushButton_Export, QStringLiteral(":/Image/export_normal.png"));
    fitButtonToPicture(ui->pushButton_WpsEdit, QStringLiteral(":/Image/wps_normal.png"));
    fitButtonToPicture(ui->pushButton_Merge, QStringLiteral(":/Image/merge_normal.png"));
    fitButtonToPicture(ui->pushButton_Process, QStringLiteral(":/Image/imageProcess_normal.png"));

    QPalette palette = ui->label_PreviewStatus->palette();
    palette.setColor(QPalette::WindowText, QColor(QStringLiteral("red")));
    ui->label_PreviewStatus->setPalette(palette);

    connect(mainControl, &CI_MainControl::updateDoorStatus, this,
            &WesternBlot_BottomBarFrame::updateDoorStatusHandle);
    connect(&temperatureTimer, &QTimer::timeout, this,
            &WesternBlot_BottomBarFrame::updateTemperature);
    temperatureTimer.start(kTemperatureIntervalMs);
}

WesternBlot_BottomBarFrame::~WesternBlot_BottomBarFrame() {
    delete ui;
}

QString WesternBlot_BottomBarFrame::temperatureText(float celsius) {
    const float shown = celsius < kCalibrationPoint
                            ? kCalibrationPoint - (kCalibrationPoint - celsius) * kBelowPointScale
                            : celsius;
    return QString::number(static_cast<double>(shown), 'f', 2);
}

void WesternBlot_BottomBarFrame::updateTemperature() {
    float celsius = 0.0f;
    if (TucsenCamCtrl::getInstance()->getTemperature(&celsius) != 0) {
        ui->label_CurTemp->clear();
        return;
    }
    ui->label_CurTemp->setText(temperatureText(celsius));
}

void WesternBlot_BottomBarFrame::updatePreviewLabelHandle(bool previewStatus) {
    if (previewStatus) {
        ui->label_PreviewStatus->setText(tr("Previewing..."));
    } else {
        ui->label_PreviewStatus->clear();
    }
}

void WesternBlot_BottomBarFrame::updateButtonHandle(bool enable) {
    ui->pushButton_Export->setEnabled(enable);
    ui->pushButton_Merge->setEnabled(enable);
    if (!enable) {
        ui->pushButton_WpsEdit->setEnabled(false);
        ui->pushButton_Process->setEnabled(false);
        return;
    }
    const UserInfo* user = mainControl->currentUser;
    if (user && user->authRptExport) {
        ui->pushButton_WpsEdit->setEnabled(true);
    }
    if (user && user->authImgProcess) {
        ui->pushButton_Process->setEnabled(true);
    }
}

void WesternBlot_BottomBarFrame::updateProcessButtonHandle() {
    const UserInfo* user = mainControl->currentUser;
    ui->pushButton_Process->setEnabled(user && user->authImgProcess);
}

void WesternBlot_BottomBarFrame::updateDoorStatusHandle(bool open) {
    ui->label_Door->setPixmap(QPixmap(open ? QStringLiteral(":/Image/door_open.png")
                                           : QStringLiteral(":/Image/door_close.png")));
}

void WesternBlot_BottomBarFrame::on_pushButton_Export_clicked() {
    emit sig_ExportClick();
}

void WesternBlot_BottomBarFrame::on_pushButton_WpsEdit_clicked() {
    emit sig_WpsEditClick();
}

void WesternBlot_BottomBarFrame::on_pushButton_Merge_clicked() {
    emit sig_MergeClick();
}

void WesternBlot_BottomBarFrame::on_pushButton_Process_clicked() {
    emit exitFrame();
    emit sig_ShowImgProcessFrame();
}

void WesternBlot_BottomBarFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    event->accept();
}
