#include "ReportTree.h"

#include "base/Enumerations.h"
#include "database/ExperimentViewDB.h"

#include <QHash>
#include <QTreeWidget>

namespace ReportTree {

namespace {

const QString kDayFormat = QStringLiteral("yyyy-MM-dd");
const QString kTimeFormat = QStringLiteral("hh:mm:ss");

QTreeWidgetItem* experimentRow(const ExperimentViewInfo& record) {
    auto* row = new QTreeWidgetItem();
    row->setText(DateColumn, record.dateTime.toString(kTimeFormat));
    row->setText(TypeColumn, experimentTypeToString(record.expType));
    row->setText(NameColumn, record.name);
    row->setText(BinningColumn, binningModeToString(record.binning));
    row->setText(ExposureColumn, withoutLastComma(record.exposureTime));
    row->setText(GainColumn, withoutLastComma(record.gain));
    row->setText(UuidColumn, record.uuid.toString());
    row->setCheckState(CountColumn, Qt::Unchecked);
    return row;
}

}  // namespace

QString withoutLastComma(const QString& text) {
    const int comma = text.lastIndexOf(QLatin1Char(','));
    if (comma < 0) {
        return text;
    }
    QString result = text;
    result.remove(comma, 1);
    return result;
}

void fill(QTreeWidget* tree, const QList<ExperimentViewInfo>& records) {
    tree->clear();
    // Rows are built apart from the tree and handed over at once; a day is
    // found by its date, so each record costs the same however many days
    // there are.
    QList<QTreeWidgetItem*> days;
    QHash<QDate, QTreeWidgetItem*> dayRows;
    for (const ExperimentViewInfo& record : records) {
        const QDate day = record.dateTime.date();
        QTreeWidgetItem*& dayRow = dayRows[day];
        if (dayRow == nullptr) {
            dayRow = new QTreeWidgetItem(QStringList{day.toString(kDayFormat), QString(), QString(),
                                                     QString(), QString(), QString(),
                                                     QStringLiteral("0")});
            days.append(dayRow);
        }
        dayRow->addChild(experimentRow(record));
    }
    for (QTreeWidgetItem* dayRow : days) {
        dayRow->setText(CountColumn, QString::number(dayRow->childCount()));
    }
    tree->addTopLevelItems(days);
    tree->collapseAll();
}

bool isExperimentRow(const QTreeWidgetItem* item) {
    return item != nullptr && item->parent() != nullptr;
}

bool isChecked(const QTreeWidgetItem* item) {
    return isExperimentRow(item) && item->checkState(CountColumn) == Qt::Checked;
}

}  // namespace ReportTree
