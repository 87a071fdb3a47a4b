#include "ShownTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace showntexts {

namespace {

QString pathOf(QWidget* root, QWidget* widget) {
    QStringList names;
    for (QWidget* w = widget; w != nullptr && w != root; w = w->parentWidget()) {
        names.prepend(w->objectName());
    }
    return names.join(QLatin1Char('/'));
}

}  // namespace

QMap<QString, QString> of(QWidget* root, const QList<QWidget*>& widgets) {
    QMap<QString, QString> shown;
    for (QWidget* widget : widgets) {
        const QString path = pathOf(root, widget);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            shown[path] = label->text();
        } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
            shown[path] = box->title();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            shown[path] = button->text();
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < combo->count(); ++i) {
                shown[path + QLatin1Char('/') + QString::number(i)] = combo->itemText(i);
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            shown[path] = edit->placeholderText();
        }
    }
    return shown;
}

QMap<QString, QString> of(QWidget* root) {
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    return of(root, widgets);
}

bool sameInBothLanguages(const QString& text) {
    static const QStringList names = {
        QStringLiteral("Varnu"), QStringLiteral("UV302C"), QStringLiteral("UV302O"),
        QStringLiteral("UV254"), QStringLiteral("UV365"),  QStringLiteral("English"),
        QStringLiteral("中文"),  QStringLiteral("Frame"),  QStringLiteral("Dialog"),
    };
    if (names.contains(text)) {
        return true;
    }
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression placeholder(QStringLiteral("%\\d"));
    static const QRegularExpression filePattern(QStringLiteral("\\*\\.\\w+"));
    static const QRegularExpression number(
        QStringLiteral("\\bV?\\d+(\\.\\d+)*(x\\d+|dpi|nm|px)?\\b"));
    // Latin letters and Chinese characters make words.
    static const QRegularExpression letter(QStringLiteral("[A-Za-z\\x{4e00}-\\x{9fff}]"));
    QString rest = text;
    rest.remove(tag).remove(placeholder).remove(filePattern).remove(number);
    return !rest.contains(letter);
}

QStringList unchanged(const QMap<QString, QString>& before, const QMap<QString, QString>& after) {
    QStringList same;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!it.value().isEmpty() && after.value(it.key()) == it.value() &&
            !sameInBothLanguages(it.value())) {
            same << QStringLiteral("%1: \"%2\"").arg(it.key(), it.value());
        }
    }
    return same;
}

}  // namespace showntexts
