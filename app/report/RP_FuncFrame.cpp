#include "RP_FuncFrame.h"

#include "ui_RP_FuncFrame.h"

#include <QEvent>
#include <QtDebug>

RP_FuncFrame::RP_FuncFrame(QWidget* parent) : QFrame(parent), ui(new Ui::RP_FuncFrame) {
    ui->setupUi(this);
    // Whichever frame is shown fills the function area.
    ui->gridLayout->addWidget(ui->frame_ReportManage, 0, 0);
    ui->gridLayout->addWidget(ui->frame_ReportPrint, 0, 0);
    slot_ChangeFuncFrame(RP_ReportManage, false);
    connect(this, &RP_FuncFrame::expandTreeWidget, ui->frame_ReportManage,
            &RP_ReportManageFrame::expandTreeWidgetHandle);
}

RP_FuncFrame::~RP_FuncFrame() {
    delete ui;
}

void RP_FuncFrame::slot_ChangeFuncFrame(RP_FuncFrameType funcFrameType, bool expand) {
    ui->frame_ReportManage->hide();
    ui->frame_ReportPrint->hide();
    switch (funcFrameType) {
        case RP_ReportManage:
            qDebug() << "frame_ReportManage show.";
            ui->frame_ReportManage->show();
            emit expandTreeWidget(expand);
            break;
        case RP_ReportPrint:
            qDebug() << "frame_ReportPrint show.";
            ui->frame_ReportPrint->show();
            break;
        default:
            qFatal("Unknow RP_FuncFrameType.");
    }
}

void RP_FuncFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
