#include "RP_ReportPrintFrame.h"

#include "ui_RP_ReportPrintFrame.h"

#include <QEvent>

RP_ReportPrintFrame::RP_ReportPrintFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::RP_ReportPrintFrame) {
    ui->setupUi(this);
}

RP_ReportPrintFrame::~RP_ReportPrintFrame() {
    delete ui;
}

void RP_ReportPrintFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
