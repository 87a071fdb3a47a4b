#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

// One widget of a form: name, class (promoted ones by their own class),
// parent, geometry, and its text (label, button or check-box text, group-box
// title) or null when there is none to compare.
struct WidgetRow {
    const char* name;
    const char* className;
    const char* parent;
    QRect geometry;
    const char* text;
};

// The label, button or check-box text, or the group-box title; empty for any
// other widget.
QString textOf(QWidget* widget);
// Checks each row against the descendant of `root` with the row's name.
void expectRows(QWidget* root, const std::vector<WidgetRow>& rows);
// The object names of the direct child widgets of `parent`, in creation
// order (which is also their stacking order, bottom first).
QStringList childOrder(QWidget* parent);
// The named widgets in the order the keyboard focus visits them.
QStringList focusOrder(QWidget* root, const QStringList& names);
