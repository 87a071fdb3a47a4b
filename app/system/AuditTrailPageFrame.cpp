#include "AuditTrailPageFrame.h"

#include "style/NotBuiltLabel.h"

#include <QGridLayout>
#include <QtDebug>

AuditTrailPageFrame::AuditTrailPageFrame(QWidget* parent) : QFrame(parent) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(new NotBuiltLabel(this), 0, 0);
}

void AuditTrailPageFrame::showPage() {
    show();
    qDebug() << "AuditTrailPageFrame show.";
}
