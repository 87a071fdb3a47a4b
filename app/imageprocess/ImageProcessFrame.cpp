#include "ImageProcessFrame.h"

#include "controller/CI_MainControl.h"
#include "style/NotBuiltLabel.h"

#include <QGridLayout>
#include <QtDebug>

ImageProcessFrame::ImageProcessFrame(QWidget* parent)
    : QFrame(parent), m_mainControl(CI_MainControl::getInstance()) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}

void ImageProcessFrame::slot_EnterIPFrame() {
    qDebug() << "ImageProcessFrame enter.";
}

void ImageProcessFrame::exitImgProcessFrameHandle() {
    qDebug() << "ImageProcessFrame exit.";
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
