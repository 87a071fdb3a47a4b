#include "FormRows.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

QString textOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    return QString();
}

void expectRows(QWidget* root, const std::vector<WidgetRow>& rows) {
    for (const WidgetRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto* widget = root->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), row.className);
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(row.parent));
        EXPECT_EQ(widget->geometry(), row.geometry);
        if (row.text != nullptr) {
            EXPECT_EQ(textOf(widget), QString::fromUtf8(row.text));
        }
    }
}

QStringList childOrder(QWidget* parent) {
    QStringList names;
    for (QObject* child : parent->children()) {
        if (child->isWidgetType())
            names << child->objectName();
    }
    return names;
}

QStringList focusOrder(QWidget* root, const QStringList& names) {
    QStringList seen;
    QWidget* first = root->findChild<QWidget*>(names.first());
    QWidget* widget = first;
    do {
        if (names.contains(widget->objectName()) && !seen.contains(widget->objectName()))
            seen << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && seen.size() < names.size());
    return seen;
}
