#include "Varnu_FuncsFrame.h"

#include "ui_Varnu_FuncsFrame.h"

#include "VarnuCaptureFrame.h"

Varnu_FuncsFrame::Varnu_FuncsFrame(QWidget* parent) : QFrame(parent), ui(new Ui::Varnu_FuncsFrame) {
    ui->setupUi(this);
    VarnuCaptureFrame* panel = ui->frame_VarnuCapture;
    connect(panel, SIGNAL(sig_ShowToolFrame()), this, SLOT(slot_ShowToolFrame()));
    connect(panel, SIGNAL(sig_HideToolFrame()), this, SLOT(slot_HideToolFrame()));
    connect(this, &Varnu_FuncsFrame::resetFuncsFrame, panel,
            &VarnuCaptureFrame::resetFunsFrameHandle);
    connect(panel, &VarnuCaptureFrame::sig_PreviewClick, this,
            &Varnu_FuncsFrame::slot_PreviewClick);
    connect(panel, &VarnuCaptureFrame::sig_CaptureClick, this,
            &Varnu_FuncsFrame::slot_CaptureClick);
    connect(panel, &VarnuCaptureFrame::sig_AccCaptureClick, this,
            &Varnu_FuncsFrame::slot_AccCaptureClick);
    connect(panel, &VarnuCaptureFrame::sig_AutoExposureClick, this,
            &Varnu_FuncsFrame::slot_AutoExposureClick);
    connect(panel, &VarnuCaptureFrame::sig_AutoFocusClick, this,
            &Varnu_FuncsFrame::slot_AutoFocusClick);
    connect(panel, &VarnuCaptureFrame::savePara, this, [this] { emit savePara(); });
    connect(this, &Varnu_FuncsFrame::updateButton, panel, &VarnuCaptureFrame::updateButtonHandle);
}

Varnu_FuncsFrame::~Varnu_FuncsFrame() {
    delete ui;
}

VarnuCaptureFrame* Varnu_FuncsFrame::capturePanel() const {
    return ui->frame_VarnuCapture;
}

void Varnu_FuncsFrame::slot_ShowToolFrame() {
    emit showToolFrame();
}

void Varnu_FuncsFrame::slot_HideToolFrame() {
    emit hideToolFrame();
}

void Varnu_FuncsFrame::slot_ResetFuncsFrame() {
    emit resetFuncsFrame();
}

void Varnu_FuncsFrame::slot_PreviewClick() {
    emit previewClick();
}

void Varnu_FuncsFrame::slot_CaptureClick() {
    emit captureClick();
}

void Varnu_FuncsFrame::slot_AccCaptureClick() {
    emit accCaptureClick();
}

void Varnu_FuncsFrame::slot_UpdateButton_2(bool sigAccOpen) {
    emit updateButton(sigAccOpen);
}

void Varnu_FuncsFrame::slot_AutoExposureClick() {
    emit autoExposureClick();
}

void Varnu_FuncsFrame::slot_AutoFocusClick() {
    emit autoFocusClick();
}
