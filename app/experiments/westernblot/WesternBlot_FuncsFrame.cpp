#include "WesternBlot_FuncsFrame.h"

#include "ui_WesternBlot_FuncsFrame.h"

#include "BlotManualCaptureFrame.h"
#include "BlotSingleCaptureFrame.h"

#include <QtDebug>

WesternBlot_FuncsFrame::WesternBlot_FuncsFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::WesternBlot_FuncsFrame) {
    ui->setupUi(this);
    setWindowTitle(tr("Frame"));
    BlotSingleCaptureFrame* single = ui->frame_BlotSingleCapture;
    BlotManualCaptureFrame* manual = ui->frame_BlotManualCapture;

    connect(single, &BlotSingleCaptureFrame::sig_ShowFuncFrame, this,
            &WesternBlot_FuncsFrame::slot_ShowFuncFrame);
    connect(manual, &BlotManualCaptureFrame::sig_ShowFuncFrame, this,
            &WesternBlot_FuncsFrame::slot_ShowFuncFrame);
    connect(single, &BlotSingleCaptureFrame::sig_ShowToolFrame, this,
            &WesternBlot_FuncsFrame::slot_ShowToolFrame);
    connect(manual, &BlotManualCaptureFrame::sig_ShowToolFrame, this,
            &WesternBlot_FuncsFrame::slot_ShowToolFrame);
    connect(single, &BlotSingleCaptureFrame::sig_HideToolFrame, this,
            &WesternBlot_FuncsFrame::slot_HideToolFrame);
    connect(manual, &BlotManualCaptureFrame::sig_HideToolFrame, this,
            &WesternBlot_FuncsFrame::slot_HideToolFrame);
    connect(single, &BlotSingleCaptureFrame::sig_PreviewStart, this,
            &WesternBlot_FuncsFrame::slot_PreviewStart);
    connect(manual, &BlotManualCaptureFrame::sig_PreviewStart, this,
            &WesternBlot_FuncsFrame::slot_PreviewStart);
    connect(single, &BlotSingleCaptureFrame::sig_CapStart, this,
            &WesternBlot_FuncsFrame::slot_CapStart);
    connect(manual, &BlotManualCaptureFrame::sig_CapStart, this,
            &WesternBlot_FuncsFrame::slot_CapStart);
    connect(single, &BlotSingleCaptureFrame::sig_UpdateHistoedImg, this,
            &WesternBlot_FuncsFrame::slot_updateHistoedImg);
    connect(manual, &BlotManualCaptureFrame::sig_UpdateHistoedImg, this,
            &WesternBlot_FuncsFrame::slot_updateHistoedImg);
    connect(single, &BlotSingleCaptureFrame::sig_AutoExpStart, this,
            &WesternBlot_FuncsFrame::slot_AutoExpStart);

    connect(this, &WesternBlot_FuncsFrame::updateHisto, single,
            &BlotSingleCaptureFrame::updateHistoHandle);
    connect(this, &WesternBlot_FuncsFrame::updateHisto, manual,
            &BlotManualCaptureFrame::updateHistoHandle);
    connect(this, &WesternBlot_FuncsFrame::updateAutoExpTime, single,
            &BlotSingleCaptureFrame::updateAutoExpTimeHandle);
    connect(this, &WesternBlot_FuncsFrame::resetFunsFrame, single,
            &BlotSingleCaptureFrame::resetFunsFrameHandle);
    connect(this, &WesternBlot_FuncsFrame::resetFunsFrame, manual,
            &BlotManualCaptureFrame::resetFunsFrameHandle);
    connect(this, &WesternBlot_FuncsFrame::openLight, single,
            &BlotSingleCaptureFrame::openLightHandle);
    connect(this, &WesternBlot_FuncsFrame::openLight, manual,
            &BlotManualCaptureFrame::openLightHandle);
    connect(single, &BlotSingleCaptureFrame::updateLightStatus, manual,
            &BlotManualCaptureFrame::updateLightStatusHandle);
    connect(manual, &BlotManualCaptureFrame::updateLightStatus, single,
            &BlotSingleCaptureFrame::updateLightStatusHandle);
}

WesternBlot_FuncsFrame::~WesternBlot_FuncsFrame() {
    delete ui;
}

BlotSingleCaptureFrame* WesternBlot_FuncsFrame::singlePanel() const {
    return ui->frame_BlotSingleCapture;
}

BlotManualCaptureFrame* WesternBlot_FuncsFrame::manualPanel() const {
    return ui->frame_BlotManualCapture;
}

void WesternBlot_FuncsFrame::slot_ShowFuncFrame(WesternBlot_FuncsFrameType funcsFrameType) {
    ui->frame_BlotSingleCapture->hide();
    ui->frame_BlotManualCapture->hide();
    switch (funcsFrameType) {
        case WesternBlot_SingleCapture:
            ui->frame_BlotSingleCapture->show();
            break;
        case WesternBlot_ManualCapture:
            ui->frame_BlotManualCapture->show();
            break;
        default:
            qDebug() << "Unknow WesternBlot_FuncsFrameType.";
    }
}

void WesternBlot_FuncsFrame::slot_ResetFuncsFrame() {
    emit resetFunsFrame();
}

void WesternBlot_FuncsFrame::slot_OpenLight() {
    emit openLight();
}

void WesternBlot_FuncsFrame::slot_ShowToolFrame(WesternBlot_FuncsFrameType funcsFrameType) {
    emit showToolFrame(funcsFrameType);
}

void WesternBlot_FuncsFrame::slot_HideToolFrame() {
    emit hideToolFrame();
}

void WesternBlot_FuncsFrame::slot_PreviewStart() {
    emit previewStart();
}

void WesternBlot_FuncsFrame::slot_AutoExpStart() {
    emit autoExpStart();
}

void WesternBlot_FuncsFrame::slot_CapStart() {
    emit capStart();
}

void WesternBlot_FuncsFrame::slot_UpdateHisto(WesternBlot_FuncsFrameType funcsFrameType,
                                              int value) {
    emit updateHisto(funcsFrameType, value);
}

void WesternBlot_FuncsFrame::slot_updateHistoedImg(int minInten, int maxInten) {
    emit updateHistoedImg(minInten, maxInten);
}

void WesternBlot_FuncsFrame::slot_UpdateAutoExpTime(int autoExpTime) {
    emit updateAutoExpTime(autoExpTime);
}
