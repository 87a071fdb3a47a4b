#include "MultFluore_ToolsFrame.h"

#include "ui_MultFluore_ToolsFrame.h"

MultFluore_ToolsFrame::MultFluore_ToolsFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MultFluore_ToolsFrame) {
    ui->setupUi(this);
}

MultFluore_ToolsFrame::~MultFluore_ToolsFrame() {
    delete ui;
}

void MultFluore_ToolsFrame::showToolFrameHandle() {
    show();
}

void MultFluore_ToolsFrame::hideToolFrameHandle() {
    hide();
}
