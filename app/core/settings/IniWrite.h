#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// Keys of one group of an ini file with the values to store.
using IniValues = QList<QPair<QString, QVariant>>;

// Stores `values` under `group` (empty: no group) of the ini file `filePath`
// through QSettings in one write of the whole file (a new file renamed into
// place): all of them are stored, or none and false (logged with the file).
// On failure the process's view of the file goes back to what the file
// holds, so later reads do not see the lost values.
bool writeIniValues(const QString& filePath, const QString& group, const IniValues& values);
