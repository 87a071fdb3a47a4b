#include "FilterFrame.h"

#include "ui_FilterFrame.h"

#include "FluorescenceCommands.h"
#include "MultFluoreResources.h"

#include <QEvent>
#include <QIcon>

FilterFrame::FilterFrame(QWidget* parent) : QFrame(parent), ui(new Ui::FilterFrame) {
    ensureMultFluoreResources();
    ui->setupUi(this);
    initFrame();
}

FilterFrame::~FilterFrame() {
    delete ui;
}

void FilterFrame::initFrame() {
    const QIcon off(QStringLiteral(":/Image/filteroff.png"));
    const QIcon on(QStringLiteral(":/Image/filteron.png"));
    ui->comboBox_Filter->setItemIcon(0, off);
    for (int item = 1; item < ui->comboBox_Filter->count(); ++item) {
        ui->comboBox_Filter->setItemIcon(item, on);
    }
}

void FilterFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}

void FilterFrame::on_comboBox_Filter_currentIndexChanged(int index) {
    int command = FluorescenceCommand::FilterWheel;
    int position = filterCommandData(index);
    m_filterCtrl.sendCmd(command, position);
}
