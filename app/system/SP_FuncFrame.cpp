#include "SP_FuncFrame.h"

#include "style/NotBuiltLabel.h"

#include <QGridLayout>
#include <QtDebug>

SP_FuncFrame::SP_FuncFrame(QWidget* parent) : QFrame(parent) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}

void SP_FuncFrame::slot_ChangeFuncFrame(SP_FuncFrameType funcFrameType) {
    if (funcFrameType < SP_UserManage || funcFrameType > SP_SystemInfo) {
        qFatal("Unknow SP_FuncFrameType.");
    }
    qDebug() << "SP_FuncFrame show" << static_cast<int>(funcFrameType);
}
