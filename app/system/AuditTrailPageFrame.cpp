#include "AuditTrailPageFrame.h"

#include "ui_AuditTrailPageFrame.h"

#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfoDB.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableWidgetItem>

namespace {

enum Column { PositionColumn = 0, ModuleColumn, ContentColumn, HandlerColumn, TimeColumn };

QTableWidgetItem* centredItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

AuditTrailPageFrame::AuditTrailPageFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::AuditTrailPageFrame), mainCtrl(CI_MainControl::getInstance()) {
    ui->setupUi(this);
    m_currentPage = 0;
    m_recordCount = 0;
    ui->tableWidget->setColumnWidth(PositionColumn, 100);
    // The module, handler and time columns take the width of their texts and
    // the content column the rest, so that every column shows within the
    // table's width (no horizontal scrolling) in either language.
    QHeaderView* header = ui->tableWidget->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(ModuleColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ContentColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(HandlerColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(TimeColumn, QHeaderView::ResizeToContents);
}

AuditTrailPageFrame::~AuditTrailPageFrame() {
    delete ui;
}

int AuditTrailPageFrame::pageCount() const {
    return m_recordCount / kRowsPerPage + (m_recordCount % kRowsPerPage != 0 ? 1 : 0);
}

void AuditTrailPageFrame::showPage() {
    show();
    initUserComboBox();
    on_pushButton_reset_clicked();
}

void AuditTrailPageFrame::initUserComboBox() {
    // Filling the list would run the user filter once per item; the reset
    // that follows every fill sets the filters anyway.
    const QSignalBlocker blocker(ui->comboBox_user);
    // A styled delegate lets the style sheet reach the list's items.
    if (qobject_cast<QStyledItemDelegate*>(ui->comboBox_user->itemDelegate()) == nullptr) {
        ui->comboBox_user->setItemDelegate(new QStyledItemDelegate(ui->comboBox_user));
    }
    ui->comboBox_user->clear();
    ui->comboBox_user->addItem(QString());
    ui->comboBox_user->addItems(mainCtrl->userInfoDB->loadUserNames());
}

void AuditTrailPageFrame::updatePageLabel() {
    ui->label_totalPage->setText(QString::number(pageCount()));
    ui->label_curPage->setText(QString::number(m_currentPage));
}

void AuditTrailPageFrame::countRecords() {
    m_recordCount = mainCtrl->auditTrailDB->countAuditTrail(
        AuditTrailDB::kAnyPage, ui->comboBox_user->currentText(),
        AuditTrailDB::storedTimeFromLocal(m_startTime),
        AuditTrailDB::storedTimeFromLocal(m_endTime), mainCtrl->getLanguageID());
}

void AuditTrailPageFrame::queryPage() {
    const QList<AuditTrailInfo> rows = mainCtrl->auditTrailDB->loadAuditTrail(
        AuditTrailDB::kAnyPage, ui->comboBox_user->currentText(),
        AuditTrailDB::storedTimeFromLocal(m_startTime),
        AuditTrailDB::storedTimeFromLocal(m_endTime), (m_currentPage - 1) * kRowsPerPage,
        kRowsPerPage, mainCtrl->getLanguageID());
    QTableWidget* table = ui->tableWidget;
    table->setUpdatesEnabled(false);
    table->setRowCount(0);
    table->setRowCount(kRowsPerPage);
    for (int i = 0; i < rows.size() && i < kRowsPerPage; ++i) {
        const AuditTrailInfo& row = rows.at(i);
        table->setItem(i, PositionColumn, centredItem(QString::number(i + 1)));
        table->setItem(i, ModuleColumn, centredItem(row.model));
        table->setItem(i, ContentColumn, centredItem(row.content));
        table->setItem(i, HandlerColumn, centredItem(row.handler));
        table->setItem(i, TimeColumn,
                       centredItem(AuditTrailDB::localTimeFromStored(row.timestamp)));
    }
    table->setUpdatesEnabled(true);
}

void AuditTrailPageFrame::on_pushButton_pre_clicked() {
    if (m_currentPage > 1) {
        --m_currentPage;
        queryPage();
        updatePageLabel();
    }
}

void AuditTrailPageFrame::on_pushButton_next_clicked() {
    if (m_currentPage < pageCount()) {
        ++m_currentPage;
        queryPage();
        updatePageLabel();
    }
}

void AuditTrailPageFrame::on_comboBox_user_currentIndexChanged(int index) {
    Q_UNUSED(index);
    // A new user filter starts at its first page: the page the user was on
    // may not exist in the new result.
    m_currentPage = 1;
    countRecords();
    updatePageLabel();
    queryPage();
}

void AuditTrailPageFrame::on_pushButton_search_clicked() {
    m_startTime = ui->lineEdit_startTime->text();
    m_endTime = ui->lineEdit_endTime->text();
    m_currentPage = 1;
    countRecords();
    updatePageLabel();
    queryPage();
}

void AuditTrailPageFrame::on_pushButton_reset_clicked() {
    ui->lineEdit_startTime->clear();
    ui->lineEdit_endTime->clear();
    ui->lineEdit_turnToPage->clear();
    {
        const QSignalBlocker blocker(ui->comboBox_user);
        ui->comboBox_user->setCurrentIndex(0);
    }
    m_startTime.clear();
    m_endTime.clear();
    m_currentPage = 1;
    m_recordCount = mainCtrl->auditTrailDB->countAuditTrailByLanguage(mainCtrl->getLanguageID());
    updatePageLabel();
    queryPage();
}

void AuditTrailPageFrame::turnToTypedPage() {
    bool ok = false;
    const int page = ui->lineEdit_turnToPage->text().toInt(&ok, 10);
    if (!ok || page < 1 || page > pageCount()) {
        ui->lineEdit_turnToPage->clear();
        return;
    }
    m_currentPage = page;
    updatePageLabel();
    queryPage();
}

void AuditTrailPageFrame::on_lineEdit_turnToPage_returnPressed() {
    turnToTypedPage();
}

void AuditTrailPageFrame::on_pushButton_turn_clicked() {
    turnToTypedPage();
}

void AuditTrailPageFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
    }
    QFrame::changeEvent(event);
}
