#pragma once

#include <QList>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
struct ExperimentViewInfo;

// The report list's tree: one top-level row per calendar day, in the order
// the days first appear in the records (the view lists them newest first),
// and under it one row per experiment in the records' order.
namespace ReportTree {

enum Column {
    DateColumn = 0,
    TypeColumn,
    NameColumn,
    BinningColumn,
    ExposureColumn,
    GainColumn,
    CountColumn,  // day rows: the number of experiments; experiment rows: the check box
    UuidColumn,   // hidden; the uuid with braces
    ColumnCount
};

// Replaces the tree's rows by those of `records`.
void fill(QTreeWidget* tree, const QList<ExperimentViewInfo>& records);
// The text without its last comma ("100,200," gives "100,200").
QString withoutLastComma(const QString& text);

bool isExperimentRow(const QTreeWidgetItem* item);
bool isChecked(const QTreeWidgetItem* item);

}  // namespace ReportTree
