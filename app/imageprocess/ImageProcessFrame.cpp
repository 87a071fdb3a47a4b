#include "ImageProcessFrame.h"

#include "ImageProcess_ImageFrame.h"
#include "controller/CI_MainControl.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QtDebug>

ImageProcessFrame::ImageProcessFrame(QWidget* parent)
    : QFrame(parent), ui(new Form), m_mainControl(CI_MainControl::getInstance()) {
    setupForm();
    connect(this, &ImageProcessFrame::enterIPFrame, ui->frame_Image,
            &ImageProcess_ImageFrame::enterIPFrameHandle);
    connect(this, &ImageProcessFrame::exitIPFrame, ui->frame_Image,
            &ImageProcess_ImageFrame::exitIPFrameHandle);
    connect(ui->frame_Image, &ImageProcess_ImageFrame::showExpFrame, this,
            &ImageProcessFrame::showExpFrameHandle);
}

ImageProcessFrame::~ImageProcessFrame() {
    delete ui;
}

void ImageProcessFrame::setupForm() {
    if (objectName().isEmpty()) {
        setObjectName(QStringLiteral("ImageProcessFrame"));
    }
    resize(1024, 643);
    ui->gridLayout = new QGridLayout(this);
    ui->gridLayout->setObjectName(QStringLiteral("gridLayout"));
    ui->gridLayout->setSpacing(0);
    ui->gridLayout->setContentsMargins(0, 0, 0, 0);
    ui->frame_Image = new ImageProcess_ImageFrame(this);
    ui->frame_Image->setObjectName(QStringLiteral("frame_Image"));
    ui->frame_Image->setFrameShape(QFrame::StyledPanel);
    ui->frame_Image->setFrameShadow(QFrame::Raised);
    ui->gridLayout->addWidget(ui->frame_Image, 0, 0);
    setWindowTitle(QCoreApplication::translate("ImageProcessFrame", "Frame"));
}

ImageProcess_ImageFrame* ImageProcessFrame::imageFrame() const {
    return ui->frame_Image;
}

void ImageProcessFrame::slot_EnterIPFrame() {
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
