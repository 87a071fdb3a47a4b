#include "MultFluore_FuncsFrame.h"

#include "ui_MultFluore_FuncsFrame.h"

MultFluore_FuncsFrame::MultFluore_FuncsFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::MultFluore_FuncsFrame) {
    ui->setupUi(this);
    connect(ui->frame_MultFluoreCapture, SIGNAL(sig_ShowToolFrame()), this,
            SLOT(slot_ShowToolFrame()));
    connect(ui->frame_MultFluoreCapture, SIGNAL(sig_HideToolFrame()), this,
            SLOT(slot_HideToolFrame()));
}

MultFluore_FuncsFrame::~MultFluore_FuncsFrame() {
    delete ui;
}

void MultFluore_FuncsFrame::slot_ShowToolFrame() {
    emit showToolFrame();
}

void MultFluore_FuncsFrame::slot_HideToolFrame() {
    emit hideToolFrame();
}
