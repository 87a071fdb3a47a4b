#include "Varnu_ToolsFrame.h"

#include "ui_Varnu_ToolsFrame.h"

#include "VarnuCamSetFrame.h"

Varnu_ToolsFrame::Varnu_ToolsFrame(QWidget* parent) : QFrame(parent), ui(new Ui::Varnu_ToolsFrame) {
    ui->setupUi(this);
    VarnuCamSetFrame* panel = ui->frame_CamSetTool;
    connect(this, &Varnu_ToolsFrame::sig_Show, panel, &VarnuCamSetFrame::slot_Show);
    connect(this, &Varnu_ToolsFrame::sig_Hide, panel, &VarnuCamSetFrame::slot_Hide);
    connect(this, &Varnu_ToolsFrame::savePara, panel, &VarnuCamSetFrame::saveParaHandle);
    connect(this, &Varnu_ToolsFrame::updateAeTime, panel, &VarnuCamSetFrame::updateAeTimeHandle);
    connect(panel, &VarnuCamSetFrame::sig_UpdatePreviewField, this,
            &Varnu_ToolsFrame::slot_UpdatePreviewField);
    connect(panel, &VarnuCamSetFrame::sig_UpdateButton, this, &Varnu_ToolsFrame::slot_UpdateButton);
    connect(
        panel, &VarnuCamSetFrame::sig_PreviewStart, this, [this] { emit previewStart(); },
        Qt::DirectConnection);
    connect(
        panel, &VarnuCamSetFrame::expChange, this, [this] { emit expChange(); },
        Qt::DirectConnection);
}

Varnu_ToolsFrame::~Varnu_ToolsFrame() {
    delete ui;
}

VarnuCamSetFrame* Varnu_ToolsFrame::settingsPanel() const {
    return ui->frame_CamSetTool;
}

void Varnu_ToolsFrame::showToolFrameHandle() {
    emit sig_Show(QStringLiteral("Show"));
}

void Varnu_ToolsFrame::hideToolFrameHandle() {
    emit sig_Hide(QStringLiteral("Hide"));
}

void Varnu_ToolsFrame::slot_UpdatePreviewField(int index) {
    emit updatePreviewField(index);
}

void Varnu_ToolsFrame::slot_UpdateButton(bool sigAccOpen) {
    emit sig_UpdateButton_2(sigAccOpen);
}

void Varnu_ToolsFrame::saveParaHandle() {
    emit savePara();
}

void Varnu_ToolsFrame::updateAeTimeHandle(int aeTime) {
    emit updateAeTime(aeTime);
}
