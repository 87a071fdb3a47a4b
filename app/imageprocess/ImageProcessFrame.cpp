#include "ImageProcessFrame.h"

#include "ui_ImageProcessFrame.h"

#include "controller/CI_MainControl.h"

#include <QEvent>
#include <QFile>
#include <QtDebug>

ImageProcessFrame::ImageProcessFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::ImageProcessFrame) {
    ui->setupUi(this);
    m_mainControl = CI_MainControl::getInstance();
    loadStyleSheet();
    connectPanels();
}

ImageProcessFrame::~ImageProcessFrame() {
    delete ui;
}

ImageProcess_ImageFrame* ImageProcessFrame::imageFrame() const {
    return ui->frame_Image;
}

// Where one signal has two receivers the order below is the order they run
// in: entering reaches the function panel (everything disabled) before the
// image frame (which enables it again when it has a picture); closing the
// tool column reaches the image frame before the function panel.
void ImageProcessFrame::connectPanels() {
    ImageProcess_ImageFrame* image = ui->frame_Image;
    ImageProcess_FuncsFrame* funcs = ui->frame_Funcs;
    ImageProcess_ToolsFrame* tools = ui->frame_Tools;
    using Page = ImageProcessFrame;
    using Image = ImageProcess_ImageFrame;
    using Funcs = ImageProcess_FuncsFrame;
    using Tools = ImageProcess_ToolsFrame;

    connect(this, &Page::enterIPFrame, funcs, &Funcs::enterIPFrameHandle);
    connect(this, &Page::enterIPFrame, image, &Image::enterIPFrameHandle);
    connect(this, &Page::exitIPFrame, image, &Image::exitIPFrameHandle);
    connect(image, &Image::showExpFrame, this, &Page::showExpFrameHandle);
    connect(funcs, &Funcs::zoomByRatio, image, &Image::zoomByRatioHandle);
    connect(funcs, &Funcs::rotateByAngle, image, &Image::rotateByAngleHandle);
    connect(funcs, &Funcs::cutClick, image, &Image::cutClickHandle);
    connect(funcs, &Funcs::cutCancelClick, image, &Image::cutCancelClickHandle);
    connect(funcs, &Funcs::labelClick, image, &Image::labelClickHandle);
    connect(funcs, &Funcs::labelCancelClick, image, &Image::labelCancelClickHandle);
    connect(image, &Image::updateFunsFrame, funcs, &Funcs::updateFunsFrameHandle);
    connect(image, &Image::cutFinish, funcs, &Funcs::cutFinishHandle);
    connect(image, &Image::labelFinish, funcs, &Funcs::labelFinishHandle);
    connect(funcs, &Funcs::setColor, image, &Image::setColorHandle);
    connect(funcs, &Funcs::setFont, image, &Image::setFontHandle);
    connect(funcs, &Funcs::redoClick, image, &Image::redoClickHandle);
    connect(funcs, &Funcs::undoClick, image, &Image::undoClickHandle);
    connect(funcs, &Funcs::resetClick, image, &Image::resetClickHandle);
    connect(funcs, &Funcs::saveClick, image, &Image::saveClickHandle);
    connect(funcs, &Funcs::inverseClick, image, &Image::inverseClickHandle);
    connect(funcs, &Funcs::medianClick, image, &Image::medianClickHandle);
    connect(funcs, &Funcs::bwClick, image, &Image::bwClickHandle);
    connect(funcs, &Funcs::histogramClick, image, &Image::histogramClickHandle);
    connect(funcs, &Funcs::pseudoClick, image, &Image::pseudoClickHandle);
    connect(funcs, &Funcs::dyeingClick, image, &Image::dyeingClickHandle);
    connect(image, &Image::updateUndoStatus, funcs, &Funcs::updateUndoStatusHandle);
    connect(image, &Image::updateRedoStatus, funcs, &Funcs::updateRedoStatusHandle);
    connect(image, &Image::updateButtonStatus, funcs, &Funcs::updateButtonStatusHandle);
    connect(image, &Image::changeToolFrame, tools, &Tools::changeToolFrameHandle);
    connect(image, &Image::sig_UpdateHisto, tools, &Tools::slot_UpdateHisto);
    connect(tools, &Tools::updateHistoed, image, &Image::updateHistoedHandle);
    connect(tools, &Tools::toolsFrameHide, image, &Image::toolsFrameHideHandle);
    connect(tools, &Tools::toolsFrameHide, funcs, &Funcs::toolsFrameHideHandle);
    connect(image, &Image::hideToolsFrame, tools, &Tools::hideToolsFrameHandle);
    connect(funcs, &Funcs::mirrorByDirection, image, &Image::mirrorByDirectionHandle);
    connect(funcs, &Funcs::origialClick, image, &Image::origialClickHandle);
    connect(funcs, &Funcs::adaptClick, image, &Image::adaptClickHandle);
    connect(tools, &Tools::updateCurrImage, image, &Image::updateCurrImageHandle);
}

void ImageProcessFrame::loadStyleSheet() {
    QString path;
    switch (m_mainControl->getLanguageID()) {
        case 0:
            path = QStringLiteral(":/Style/imageprocess.css");
            break;
        case 1:
            path = QStringLiteral(":/Style/imageprocess_en.css");
            break;
        default:
            qFatal("Unknow LanguageID.");
    }
    QFile file(path);
    QString sheet;
    if (file.open(QIODevice::ReadOnly)) {
        sheet = QString::fromUtf8(file.readAll());
    }
    setStyleSheet(sheet);
}

void ImageProcessFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        loadStyleSheet();
    }
    event->accept();
}

void ImageProcessFrame::slot_EnterIPFrame() {
    ui->frame_Tools->hide();
    emit enterIPFrame();
}

void ImageProcessFrame::exitImgProcessFrameHandle() {
    emit exitIPFrame();
}

void ImageProcessFrame::showExpFrameHandle() {
    qDebug() << "showExpFrameHandle.";
    switch (m_mainControl->expType) {
        case Varnu:
            emit sig_ChangeFrame(VarnuFrameID);
            break;
        case WesternBlot:
            emit sig_ChangeFrame(WesternBlotFrameID);
            break;
        case MultFluore:
            emit sig_ChangeFrame(MultFluoreFrameID);
            break;
        default:
            qFatal("Unknow ExperimentType.");
    }
}
