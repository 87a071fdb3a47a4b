#include "SP_FuncFrame.h"

#include "ui_SP_FuncFrame.h"

#include "DeviceSettingFrame.h"
#include "ReportTitleFrame.h"
#include "SampleTypeFrame.h"
#include "SystemInfoFrame.h"
#include "UserManageFrame.h"

#include <QShowEvent>
#include <QtDebug>

namespace {

template <typename Page>
Page* makePage(QWidget* parent, const char* objectName) {
    auto* page = new Page(parent);
    page->setObjectName(QString::fromLatin1(objectName));
    page->setFrameShape(QFrame::StyledPanel);
    page->setFrameShadow(QFrame::Raised);
    return page;
}

}  // namespace

SP_FuncFrame::SP_FuncFrame(QWidget* parent) : QFrame(parent), ui(new Ui::SP_FuncFrame) {
    ui->setupUi(this);
    frame_SystemInfo = makePage<SystemInfoFrame>(this, "frame_SystemInfo");
    frame_DeviceSetting = makePage<DeviceSettingFrame>(this, "frame_DeviceSetting");
    frame_ReportTitle = makePage<ReportTitleFrame>(this, "frame_ReportTitle");
    frame_SampleType = makePage<SampleTypeFrame>(this, "frame_SampleType");
    frame_UserManage = makePage<UserManageFrame>(this, "frame_UserManage");
    initFrames();
}

SP_FuncFrame::~SP_FuncFrame() {
    delete ui;
}

void SP_FuncFrame::initFrames() {
    for (QFrame* frame :
         {static_cast<QFrame*>(frame_UserManage), static_cast<QFrame*>(frame_SampleType),
          static_cast<QFrame*>(frame_ReportTitle), static_cast<QFrame*>(frame_DeviceSetting),
          static_cast<QFrame*>(frame_SystemInfo)}) {
        ui->gridLayout->addWidget(frame, 0, 0);
    }
    slot_ChangeFuncFrame(SP_UserManage);
}

void SP_FuncFrame::hideAll() {
    frame_UserManage->hide();
    frame_SampleType->hide();
    frame_ReportTitle->hide();
    frame_DeviceSetting->hide();
    frame_SystemInfo->hide();
}

void SP_FuncFrame::slot_ChangeFuncFrame(SP_FuncFrameType funcFrameType) {
    hideAll();
    // Every switch hides all pages first, so the chosen one receives a show
    // event each time and refreshes itself.
    switch (static_cast<unsigned>(funcFrameType)) {
        case SP_UserManage:
            qDebug() << "frame_UserManage show.";
            frame_UserManage->show();
            break;
        case SP_SampleType:
            qDebug() << "frame_SampleType show.";
            frame_SampleType->show();
            break;
        case SP_ReportTitle:
            qDebug() << "frame_ReportTitle show.";
            frame_ReportTitle->show();
            break;
        case SP_DeviceSetting:
            qDebug() << "DeviceSetting_Frame show.";
            frame_DeviceSetting->show();
            break;
        case SP_SystemInfo:
            qDebug() << "frame_SystemInfo show.";
            frame_SystemInfo->show();
            break;
        default:
            qFatal("Unknow SP_FuncFrameType.");
    }
}

void SP_FuncFrame::showEvent(QShowEvent* event) {
    event->accept();
}
