#include "RP_ReportManageFrame.h"

#include "ui_RP_ReportManageFrame.h"

#include "ExperimentPictures.h"
#include "ReportResources.h"
#include "ReportTree.h"
#include "Varnu_DetailDialog.h"
#include "base/NavigationTypes.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/ExperimentViewDB.h"
#include "database/UserInfo.h"
#include "database/Varnu_ExperimentDB.h"
#include "login/CheckLoginDialog.h"

#include <QDebug>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>

using namespace ReportTree;

RP_ReportManageFrame::RP_ReportManageFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::RP_ReportManageFrame), mainCtrl(CI_MainControl::getInstance()) {
    ensureReportResources();
    ui->setupUi(this);
    checkLoginDialog = CheckLoginDialog::getInstance();
    initTreeHeader();
}

RP_ReportManageFrame::~RP_ReportManageFrame() {
    delete ui;
}

void RP_ReportManageFrame::initTreeHeader() {
    QHeaderView* header = ui->treeWidget_Report->header();
    header->setSectionsMovable(true);
    header->setSectionResizeMode(DateColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(NameColumn, QHeaderView::ResizeToContents);
    ui->treeWidget_Report->setColumnWidth(TypeColumn, 130);
    ui->treeWidget_Report->setColumnWidth(BinningColumn, 80);
    ui->treeWidget_Report->setColumnWidth(ExposureColumn, 130);
    ui->treeWidget_Report->setColumnWidth(GainColumn, 60);
    ui->treeWidget_Report->setColumnWidth(CountColumn, 80);
    ui->treeWidget_Report->setColumnHidden(UuidColumn, true);
    ui->treeWidget_Report->setSortingEnabled(false);
}

void RP_ReportManageFrame::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    ui->pushButton_Delete->setEnabled(mainCtrl->currentUser != nullptr &&
                                      mainCtrl->currentUser->authRptManage);
    mainCtrl->experimentViewDB->recreateView();
    loadReportTree();
}

void RP_ReportManageFrame::loadReportTree() {
    ui->treeWidget_Report->clear();
    const std::unique_ptr<QList<ExperimentViewInfo>> records =
        mainCtrl->experimentViewDB->loadAll();
    if (!records) {
        qDebug() << "experimentViews is empty.";
        return;
    }
    fill(ui->treeWidget_Report, *records);
}

void RP_ReportManageFrame::expandTreeWidgetHandle(bool expand) {
    if (expand) {
        ui->treeWidget_Report->expandAll();
    } else {
        ui->treeWidget_Report->collapseAll();
    }
}

void RP_ReportManageFrame::on_pushButton_Delete_clicked() {
    if (checkLoginDialog->checkLogin() == 0) {
        return;
    }
    if (QMessageBox::warning(nullptr, tr("Warning"), tr("Comfirm Delete?"),
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::NoButton) == QMessageBox::No) {
        return;
    }
    deleteCheckedExperiments();
}

void RP_ReportManageFrame::deleteCheckedExperiments() {
    QTreeWidget* tree = ui->treeWidget_Report;
    // Collected first, so taking rows out does not disturb the walk.
    QList<QTreeWidgetItem*> rows;
    for (int d = 0; d < tree->topLevelItemCount(); ++d) {
        QTreeWidgetItem* day = tree->topLevelItem(d);
        for (int e = 0; e < day->childCount(); ++e) {
            QTreeWidgetItem* row = day->child(e);
            if (isChecked(row) && row->text(TypeColumn) == QLatin1String("Varnu")) {
                rows << row;
            }
        }
    }
    for (QTreeWidgetItem* row : rows) {
        deleteExperimentRow(row);
    }
    removeEmptyDays();
    mainCtrl->experimentViewDB->recreateView();
}

void RP_ReportManageFrame::deleteExperimentRow(QTreeWidgetItem* row) {
    const QUuid uuid(row->text(UuidColumn));
    const std::unique_ptr<VarnuExperiment> record = mainCtrl->varnuExperimentDB->loadByUuid(uuid);
    if (record) {
        // Only the experiment's own two files go, and only what was really
        // removed is audited, by its full path so the two copies read apart.
        mainCtrl->userOpt.loadUserOpt(UserOpt_storagePath);
        const ExperimentPictures::Removal removal =
            ExperimentPictures::removePictures(*record, mainCtrl->userOpt.storagePath);
        for (const QString& path : removal.removed) {
            writeAuditPair(path);
        }
        for (const QString& path : removal.failed) {
            qWarning().noquote() << "remove picture failed: " + path;
        }
        mainCtrl->varnuExperimentDB->deleteExperiment(uuid);
    } else {
        // Deleted elsewhere meanwhile: no folder is touched; the row goes,
        // as the record has.
        qWarning().noquote() << "varNU_Experimentdb->loadByUuid failed: " + row->text(UuidColumn);
    }
    QTreeWidgetItem* day = row->parent();
    day->setText(CountColumn, QString::number(day->text(CountColumn).toInt() - 1));
    delete day->takeChild(day->indexOfChild(row));
}

void RP_ReportManageFrame::removeEmptyDays() {
    QTreeWidget* tree = ui->treeWidget_Report;
    for (int d = tree->topLevelItemCount() - 1; d >= 0; --d) {
        if (tree->topLevelItem(d)->childCount() == 0) {
            delete tree->takeTopLevelItem(d);
        }
    }
}

void RP_ReportManageFrame::writeAuditPair(const QString& path) {
    mainCtrl->auditTrailDB->insertAuditTrailPair(ReportPage, mainCtrl->currentUser->userName,
                                                 QStringLiteral("删除报告: %1").arg(path),
                                                 QStringLiteral("Delete the report: %1").arg(path));
}

void RP_ReportManageFrame::on_pushButton_Detail_clicked() {
    QList<QUuid> uuids;
    QTreeWidget* tree = ui->treeWidget_Report;
    for (int d = 0; d < tree->topLevelItemCount(); ++d) {
        QTreeWidgetItem* day = tree->topLevelItem(d);
        for (int e = 0; e < day->childCount(); ++e) {
            if (isChecked(day->child(e))) {
                uuids << QUuid(day->child(e)->text(UuidColumn));
            }
        }
    }
    if (uuids.isEmpty()) {
        QMessageBox box(QMessageBox::Information, tr("Tips"),
                        tr("Please select at least 1 picture!"), QMessageBox::NoButton, this);
        box.addButton(tr("Ok"), QMessageBox::AcceptRole);
        box.exec();
        return;
    }
    showDetail(uuids);
}

void RP_ReportManageFrame::on_treeWidget_Report_itemDoubleClicked(QTreeWidgetItem* item,
                                                                  int column) {
    Q_UNUSED(column);
    if (isExperimentRow(item)) {
        showDetail({QUuid(item->text(UuidColumn))});
    }
}

void RP_ReportManageFrame::showDetail(const QList<QUuid>& uuids) {
    Varnu_DetailDialog dialog(this);
    dialog.setUuids(uuids);
    dialog.initDialog();
    dialog.exec();
}

void RP_ReportManageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
