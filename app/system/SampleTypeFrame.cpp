#include "SampleTypeFrame.h"

#include "ui_SampleTypeFrame.h"

#include "SampleDialog.h"
#include "SystemResources.h"
#include "controller/CI_MainControl.h"
#include "database/SampleDB.h"

#include <QEvent>
#include <QHeaderView>
#include <QShowEvent>
#include <QtDebug>

namespace {

constexpr int kUuidColumn = 2;

}  // namespace

SampleTypeFrame::SampleTypeFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::SampleTypeFrame), mainCtrl(CI_MainControl::getInstance()) {
    ensureSystemResources();
    ui->setupUi(this);
    initTable();
}

SampleTypeFrame::~SampleTypeFrame() {
    delete ui;
}

void SampleTypeFrame::initTable() {
    ui->tableWidget_Sample->setColumnWidth(0, 200);
    ui->tableWidget_Sample->setColumnWidth(1, 200);
    ui->tableWidget_Sample->setColumnHidden(kUuidColumn, true);
    ui->tableWidget_Sample->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->tableWidget_Sample->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->tableWidget_Sample->verticalHeader()->setHidden(true);
    ui->tableWidget_Sample->horizontalHeader()->setStretchLastSection(true);
}

void SampleTypeFrame::refreshTable() {
    QTableWidget* table = ui->tableWidget_Sample;
    table->setRowCount(0);
    table->clearContents();
    const std::unique_ptr<QList<SampleInfo>> samples = mainCtrl->sampleDB->loadAll();
    if (!samples) {
        return;
    }
    for (const SampleInfo& sample : *samples) {
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, new QTableWidgetItem(sample.sampleName));
        table->setItem(row, 1, new QTableWidgetItem(sample.note));
        table->setItem(row, kUuidColumn, new QTableWidgetItem(sample.uuid.toString()));
    }
}

void SampleTypeFrame::on_pushButton_Add_clicked() {
    SampleDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        refreshTable();
    }
}

void SampleTypeFrame::on_pushButton_Delete_clicked() {
    const int row = ui->tableWidget_Sample->currentRow();
    if (row < 0 || ui->tableWidget_Sample->item(row, kUuidColumn) == nullptr) {
        return;
    }
    const QString name = ui->tableWidget_Sample->item(row, 0)->text();
    const QUuid uuid(ui->tableWidget_Sample->item(row, kUuidColumn)->text());
    if (mainCtrl->sampleDB->deleteSample(uuid)) {
        qDebug().noquote() << "sample " + name + "delete success.";
    } else {
        // Also when the row was already gone: the table shows what is stored.
        qDebug().noquote() << "sample " + name + "delete failed.";
    }
    refreshTable();
}

void SampleTypeFrame::showEvent(QShowEvent* event) {
    refreshTable();
    QFrame::showEvent(event);
}

void SampleTypeFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
