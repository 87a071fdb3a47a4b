#include "RP_FuncFrame.h"

#include "style/NotBuiltLabel.h"

#include <QGridLayout>
#include <QtDebug>

RP_FuncFrame::RP_FuncFrame(QWidget* parent) : QFrame(parent) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}

void RP_FuncFrame::slot_ChangeFuncFrame(RP_FuncFrameType funcFrameType, bool expand) {
    switch (funcFrameType) {
        case RP_ReportManage:
            qDebug() << "frame_ReportManage show." << expand;
            break;
        case RP_ReportPrint:
            qDebug() << "frame_ReportPrint show.";
            break;
        default:
            qFatal("Unknow RP_FuncFrameType.");
    }
}
