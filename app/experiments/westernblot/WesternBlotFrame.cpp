#include "WesternBlotFrame.h"

#include "ui_WesternBlotFrame.h"

#include "VarnuFrame.h"
#include "WesternBlot_BottomBarFrame.h"
#include "WesternBlot_FuncsFrame.h"
#include "WesternBlot_ImageFrame.h"
#include "WesternBlot_ToolsFrame.h"
#include "base/Enumerations.h"
#include "controller/CI_MainControl.h"

WesternBlotFrame::WesternBlotFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::WesternBlotFrame), m_mainControl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    // The settings column opens from a capture panel's settings toggle.
    ui->frame_Tools->hide();

    WesternBlot_ImageFrame* image = ui->frame_Image;
    WesternBlot_BottomBarFrame* bar = ui->frame_BottomBar;
    WesternBlot_FuncsFrame* funcs = ui->frame_Funcs;
    WesternBlot_ToolsFrame* tools = ui->frame_Tools;
    connect(bar, &WesternBlot_BottomBarFrame::sig_ShowImgProcessFrame, this,
            &WesternBlotFrame::slot_ShowImgProcessFrame);
    connect(this, &WesternBlotFrame::exitFrame, image, &WesternBlot_ImageFrame::exitFrameHandle);
    connect(bar, &WesternBlot_BottomBarFrame::exitFrame, image,
            &WesternBlot_ImageFrame::exitFrameHandle);
    connect(this, &WesternBlotFrame::enterWbFrame, image,
            &WesternBlot_ImageFrame::enterWbFrameHandle);
    connect(image, &WesternBlot_ImageFrame::updatePreviewLabel, bar,
            &WesternBlot_BottomBarFrame::updatePreviewLabelHandle);
    connect(image, &WesternBlot_ImageFrame::updateButton, bar,
            &WesternBlot_BottomBarFrame::updateButtonHandle);
    connect(image, &WesternBlot_ImageFrame::updateProcessButton, bar,
            &WesternBlot_BottomBarFrame::updateProcessButtonHandle);
    connect(bar, &WesternBlot_BottomBarFrame::sig_ExportClick, image,
            &WesternBlot_ImageFrame::slot_ExportClick);
    connect(bar, &WesternBlot_BottomBarFrame::sig_WpsEditClick, image,
            &WesternBlot_ImageFrame::slot_WpsEditClick);
    connect(funcs, &WesternBlot_FuncsFrame::showToolFrame, tools,
            &WesternBlot_ToolsFrame::showToolFrameHandle);
    connect(funcs, &WesternBlot_FuncsFrame::hideToolFrame, tools,
            &WesternBlot_ToolsFrame::hideToolFrameHandle);
    connect(image, &WesternBlot_ImageFrame::hideToolFrame, tools,
            &WesternBlot_ToolsFrame::hideToolFrameHandle);
    connect(tools, &WesternBlot_ToolsFrame::previewStart, image,
            &WesternBlot_ImageFrame::previewStartHandle);
    connect(bar, &WesternBlot_BottomBarFrame::sig_MergeClick, image,
            &WesternBlot_ImageFrame::slot_MergeClick);
    connect(funcs, &WesternBlot_FuncsFrame::previewStart, image,
            &WesternBlot_ImageFrame::previewStartHandle);
    connect(funcs, &WesternBlot_FuncsFrame::autoExpStart, image,
            &WesternBlot_ImageFrame::autoExpStartHandle);
    connect(funcs, &WesternBlot_FuncsFrame::capStart, image,
            &WesternBlot_ImageFrame::capStartHandle);
    connect(image, &WesternBlot_ImageFrame::sig_UpdateHisto, funcs,
            &WesternBlot_FuncsFrame::slot_UpdateHisto);
    connect(funcs, &WesternBlot_FuncsFrame::updateHistoedImg, image,
            &WesternBlot_ImageFrame::updateHistoedImgHandle);
    connect(image, &WesternBlot_ImageFrame::sig_UpdateAutoExpTime, funcs,
            &WesternBlot_FuncsFrame::slot_UpdateAutoExpTime);
    connect(image, &WesternBlot_ImageFrame::sig_ResetFuncsFrame, funcs,
            &WesternBlot_FuncsFrame::slot_ResetFuncsFrame);
    connect(image, &WesternBlot_ImageFrame::sig_ShowFuncFrame, funcs,
            &WesternBlot_FuncsFrame::slot_ShowFuncFrame);
    connect(image, &WesternBlot_ImageFrame::sig_OpenLight, funcs,
            &WesternBlot_FuncsFrame::slot_OpenLight);
    VarnuFrame::loadStyleSheet(this, m_mainControl->getLanguageID());
}

WesternBlotFrame::~WesternBlotFrame() {
    delete ui;
}

WesternBlot_ImageFrame* WesternBlotFrame::imageFrame() const {
    return ui->frame_Image;
}

WesternBlot_BottomBarFrame* WesternBlotFrame::bottomBar() const {
    return ui->frame_BottomBar;
}

WesternBlot_FuncsFrame* WesternBlotFrame::funcsFrame() const {
    return ui->frame_Funcs;
}

WesternBlot_ToolsFrame* WesternBlotFrame::toolsFrame() const {
    return ui->frame_Tools;
}

void WesternBlotFrame::exitExperimentFrameHandle() {
    emit exitFrame();
}

void WesternBlotFrame::slot_EnterWbFrame() {
    emit enterWbFrame();
}

void WesternBlotFrame::slot_ShowImgProcessFrame() {
    emit sig_ChangeFrame(ImageProcessFrameID);
}

void WesternBlotFrame::showEvent(QShowEvent* event) {
    m_mainControl->expType = WesternBlot;
    QFrame::showEvent(event);
}

void WesternBlotFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(tr("Frame"));
        VarnuFrame::loadStyleSheet(this, m_mainControl->getLanguageID());
    }
    QFrame::changeEvent(event);
}
