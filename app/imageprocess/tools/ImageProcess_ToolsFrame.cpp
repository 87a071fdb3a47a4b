#include "ImageProcess_ToolsFrame.h"

#include "ui_ImageProcess_ToolsFrame.h"

#include <QtGlobal>

ImageProcess_ToolsFrame::ImageProcess_ToolsFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::ImageProcess_ToolsFrame) {
    ui->setupUi(this);
    HistogramAdjustToolFrame* histogram = ui->frame_HistogramAdjustTool;
    connect(this, &ImageProcess_ToolsFrame::updateHisto, histogram,
            &HistogramAdjustToolFrame::updateHistoHandle);
    connect(histogram, &HistogramAdjustToolFrame::hideToolFrame, this,
            &ImageProcess_ToolsFrame::hideToolsFrameHandle);
    connect(histogram, &HistogramAdjustToolFrame::sig_UpdateHistoed, this,
            &ImageProcess_ToolsFrame::slot_UpdateHistoed);
    connect(histogram, &HistogramAdjustToolFrame::updateCurrImage, this,
            &ImageProcess_ToolsFrame::updateCurrImage);
}

ImageProcess_ToolsFrame::~ImageProcess_ToolsFrame() {
    delete ui;
}

void ImageProcess_ToolsFrame::hideAllTools() {
    ui->frame_BCGTool->hide();
    ui->frame_RGBTool->hide();
    ui->frame_MergeTwoImgTool->hide();
    ui->frame_MergeThreeImgTool->hide();
    ui->frame_HistogramAdjustTool->hide();
}

void ImageProcess_ToolsFrame::changeToolFrameHandle(ImageToolsFrameType frameType) {
    QFrame* chosen = nullptr;
    switch (frameType) {
        case ImageTools_BCG:
            chosen = ui->frame_BCGTool;
            break;
        case ImageTools_HistogramAdjust:
            chosen = ui->frame_HistogramAdjustTool;
            break;
        case ImageTools_MergeTwo:
            chosen = ui->frame_MergeTwoImgTool;
            break;
        case ImageTools_MergeThree:
            chosen = ui->frame_MergeThreeImgTool;
            break;
        case ImageTools_RGB:
            chosen = ui->frame_RGBTool;
            break;
        default:
            qFatal("Unknow ToolsFrameType.");
    }
    show();
    hideAllTools();
    chosen->show();
}

void ImageProcess_ToolsFrame::slot_UpdateHisto(QImage image) {
    emit updateHisto(image);
}

void ImageProcess_ToolsFrame::slot_UpdateHistoed(int minInten, int maxInten) {
    emit updateHistoed(minInten, maxInten);
}

void ImageProcess_ToolsFrame::hideToolsFrameHandle() {
    hide();
    emit toolsFrameHide();
}
