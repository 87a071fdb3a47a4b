#include "mainwindow/CI_BodyFrame.h"

#include "ui_CI_BodyFrame.h"

CI_BodyFrame::CI_BodyFrame(QWidget* parent) : QFrame(parent), ui(new Ui::CI_BodyFrame) {
    ui->setupUi(this);
    initFrame();
    connect(this, &CI_BodyFrame::sig_ExitExperimentFrame, ui->frame_HomePage,
            &HomePageFrame::slot_ExitExperimentFrame);
    connect(this, &CI_BodyFrame::sig_ExitImgProcessFrame, ui->frame_HomePage,
            &HomePageFrame::slot_ExitImgProcessFrame);
}

CI_BodyFrame::~CI_BodyFrame() {
    delete ui;
}

void CI_BodyFrame::initFrame() {
    ui->gridLayout->addWidget(ui->frame_HomePage, 0, 0);
    ui->gridLayout->addWidget(ui->frame_ReportPage, 0, 0);
    ui->gridLayout->addWidget(ui->frame_SystemPage, 0, 0);
    ui->gridLayout->addWidget(ui->frame_AuditTrailPage, 0, 0);
    hideAllPages();
    ui->frame_HomePage->show();
}

void CI_BodyFrame::hideAllPages() {
    ui->frame_HomePage->hide();
    ui->frame_ReportPage->hide();
    ui->frame_SystemPage->hide();
    ui->frame_AuditTrailPage->hide();
}

void CI_BodyFrame::slot_ChangePage(PageType pageType) {
    hideAllPages();
    emit sig_ExitImgProcessFrame();
    switch (pageType) {
        case HomePage:
            ui->frame_HomePage->show();
            ui->frame_HomePage->showVarnuFrame();
            break;
        case ReportPage:
            emit sig_ExitExperimentFrame();
            ui->frame_ReportPage->show();
            emit ui->frame_ReportPage->updateButton();
            break;
        case SystemPage:
            emit sig_ExitExperimentFrame();
            ui->frame_SystemPage->show();
            break;
        case AuditTrailPage:
            ui->frame_AuditTrailPage->showPage();
            emit sig_ExitExperimentFrame();
            break;
        default:
            qFatal("Unknow PageType.");
    }
}
