#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// Keys of one group of an ini file with the values to store.
using IniValues = QList<QPair<QString, QVariant>>;

// Stores `values` under `group` (empty: no group) of the ini file `filePath`,
// all of them or none. The new content is written through QSettings to a copy
// of the file in its folder, read back from the disk (every value stored,
// every other key of the file kept), flushed and then renamed over the file.
// On any failure the file is left as it was, no copy remains, one line names
// the file and the reason in the log, and the result is false.
bool writeIniValues(const QString& filePath, const QString& group, const IniValues& values);
