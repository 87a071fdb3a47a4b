#include "WesternBlot_ToolsFrame.h"

#include "WesternBlotCamSetFrame.h"

namespace {
const QSize kColumnSize(200, 643);
}  // namespace

WesternBlot_ToolsFrame::WesternBlot_ToolsFrame(QWidget* parent)
    : QFrame(parent), frame_CamSetTool(new WesternBlotCamSetFrame(this)) {
    resize(kColumnSize);
    setWindowTitle(tr("Frame"));
    frame_CamSetTool->setObjectName(QStringLiteral("frame_CamSetTool"));
    frame_CamSetTool->setGeometry(QRect(QPoint(0, 0), kColumnSize));
    connect(this, &WesternBlot_ToolsFrame::sig_Show, frame_CamSetTool,
            &WesternBlotCamSetFrame::slot_Show);
    connect(this, &WesternBlot_ToolsFrame::sig_Hide, frame_CamSetTool,
            &WesternBlotCamSetFrame::slot_Hide);
    connect(this, &WesternBlot_ToolsFrame::changeShowOfCapMode, frame_CamSetTool,
            &WesternBlotCamSetFrame::changeShowOfCapModeHandle);
    connect(frame_CamSetTool, &WesternBlotCamSetFrame::sig_PreviewStart, this,
            [this] { emit previewStart(); });
}

void WesternBlot_ToolsFrame::hideToolFrameHandle() {
    emit sig_Hide();
}

void WesternBlot_ToolsFrame::showToolFrameHandle(WesternBlot_FuncsFrameType funcsFrameType) {
    emit changeShowOfCapMode(funcsFrameType);
    emit sig_Show();
}
