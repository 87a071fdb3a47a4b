#include "mainwindow/HomePageFrame.h"

#include "ui_HomePageFrame.h"

#include "controller/CI_MainControl.h"

#include <QtDebug>

namespace {

// The experiment page of an experiment type.
FrameID experimentFrame(int experimentType) {
    switch (experimentType) {
        case Varnu:
            return VarnuFrameID;
        case WesternBlot:
            return WesternBlotFrameID;
        case MultFluore:
            return MultFluoreFrameID;
        default:
            qFatal("Unknow ExperimentType.");
    }
    return VarnuFrameID;
}

}  // namespace

HomePageFrame::HomePageFrame(QWidget* parent) : QFrame(parent), ui(new Ui::HomePageFrame) {
    // Start-up set the current experiment type from machine.ini; the pages
    // change it as they are shown, so the station's own is taken first.
    m_stationFrame = experimentFrame(CI_MainControl::getInstance()->expType);
    ui->setupUi(this);
    initFrame();

    for (QFrame* frame :
         {static_cast<QFrame*>(ui->frame_Home), static_cast<QFrame*>(ui->frame_Varnu),
          static_cast<QFrame*>(ui->frame_WesternBlot), static_cast<QFrame*>(ui->frame_MultFluore),
          static_cast<QFrame*>(ui->frame_ImageProcess)}) {
        connect(frame, SIGNAL(sig_ChangeFrame(FrameID)), this, SLOT(slot_ChangeFrame(FrameID)));
    }
    connect(this, &HomePageFrame::exitExperimentFrame, ui->frame_WesternBlot,
            &WesternBlotFrame::exitExperimentFrameHandle);
    connect(this, &HomePageFrame::exitExperimentFrame, ui->frame_Varnu,
            &VarnuFrame::exitExperimentFrameHandle);
    connect(this, &HomePageFrame::exitImgProcessFrame, ui->frame_ImageProcess,
            &ImageProcessFrame::exitImgProcessFrameHandle);
    connect(this, &HomePageFrame::sig_EnterWbFrame, ui->frame_WesternBlot,
            &WesternBlotFrame::slot_EnterWbFrame);
    connect(this, &HomePageFrame::sig_EnterIPFrame, ui->frame_ImageProcess,
            &ImageProcessFrame::slot_EnterIPFrame);
    connect(this, &HomePageFrame::sig_EnterVrFrame, ui->frame_Varnu,
            &VarnuFrame::slot_EnterVrFrame);
    connect(this, &HomePageFrame::sig_ExitVrFrame, ui->frame_Varnu,
            &VarnuFrame::exitExperimentFrameHandle);

    slot_ChangeFrame(m_stationFrame);
}

HomePageFrame::~HomePageFrame() {
    delete ui;
}

void HomePageFrame::initFrame() {
    ui->gridLayout->addWidget(ui->frame_Varnu, 0, 0);
    ui->gridLayout->addWidget(ui->frame_Home, 0, 0);
    ui->gridLayout->addWidget(ui->frame_WesternBlot, 0, 0);
    ui->gridLayout->addWidget(ui->frame_MultFluore, 0, 0);
    ui->gridLayout->addWidget(ui->frame_ImageProcess, 0, 0);
}

void HomePageFrame::hideAllFrames() {
    ui->frame_Home->hide();
    ui->frame_Varnu->hide();
    ui->frame_WesternBlot->hide();
    ui->frame_MultFluore->hide();
    ui->frame_ImageProcess->hide();
}

void HomePageFrame::showHomeFrame() {
    hideAllFrames();
    ui->frame_Home->show();
    qDebug() << "frame_Home Show.";
}

void HomePageFrame::showVarnuFrame() {
    slot_ChangeFrame(m_stationFrame);
}

void HomePageFrame::slot_ExitExperimentFrame() {
    emit exitExperimentFrame();
}

void HomePageFrame::slot_ExitImgProcessFrame() {
    emit exitImgProcessFrame();
}

void HomePageFrame::slot_ChangeFrame(FrameID id) {
    hideAllFrames();
    switch (id) {
        case HomeFrameID:
            ui->frame_Home->show();
            qDebug() << "frame_Home Show.";
            break;
        case VarnuFrameID:
            ui->frame_Varnu->show();
            emit sig_EnterVrFrame();
            qDebug() << "frame_Varnu Show.";
            break;
        case WesternBlotFrameID:
            emit sig_EnterWbFrame();
            ui->frame_WesternBlot->show();
            qDebug() << "frame_WesternBlot Show.";
            break;
        case MultFluoreFrameID:
            ui->frame_MultFluore->show();
            qDebug() << "frame_MultFluore Show.";
            break;
        case ImageProcessFrameID:
            emit sig_ExitVrFrame();
            emit sig_EnterIPFrame();
            ui->frame_ImageProcess->show();
            qDebug() << "frame_ImageProcess.";
            break;
        default:
            qFatal("Unknow FrameID.");
    }
}
