#include "MultFluoreFrame.h"

#include "ui_MultFluoreFrame.h"

#include "controller/CI_MainControl.h"

#include <QShowEvent>

MultFluoreFrame::MultFluoreFrame(QWidget* parent) : QFrame(parent), ui(new Ui::MultFluoreFrame) {
    ui->setupUi(this);
    m_mainControl = CI_MainControl::getInstance();
    connect(ui->frame_Funcs, SIGNAL(showToolFrame()), ui->frame_Tools, SLOT(showToolFrameHandle()));
    connect(ui->frame_Funcs, SIGNAL(hideToolFrame()), ui->frame_Tools, SLOT(hideToolFrameHandle()));
    connect(ui->frame_BottomBar, SIGNAL(sig_ShowImgProcessFrame()), this,
            SLOT(slot_ShowImgProcessFrame()));
}

MultFluoreFrame::~MultFluoreFrame() {
    delete ui;
}

void MultFluoreFrame::showEvent(QShowEvent* event) {
    m_mainControl->expType = MultFluore;
    ui->frame_Tools->hide();
    event->accept();
}

void MultFluoreFrame::slot_ShowImgProcessFrame() {
    emit sig_ChangeFrame(ImageProcessFrameID);
}
