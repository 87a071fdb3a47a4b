#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QWidget>

// The texts widgets show, for comparing one interface language with the
// other.
namespace showntexts {

// The label, button and line-edit placeholder texts, group-box titles and
// combo-box items of `widgets`, each under its path of object names from
// `root` ("frame_Tools/groupBox_Gain", "comboBox_Mode/2" for an item).
QMap<QString, QString> of(QWidget* root, const QList<QWidget*>& widgets);
// Of `root` and all its descendants, shown or hidden.
QMap<QString, QString> of(QWidget* root);

// A text that is the same in both languages: a product, instrument or
// language name, or one without words (numbers, units, a version,
// placeholders, file patterns, signs, rich-text markup).
bool sameInBothLanguages(const QString& text);

// The texts that stayed as they were from `before` to `after`, the other
// language, and are not the same in both languages: "path: "text"" each.
QStringList unchanged(const QMap<QString, QString>& before, const QMap<QString, QString>& after);

}  // namespace showntexts
