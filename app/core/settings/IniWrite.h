#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// Keys of one group of an ini file with the values to store; an invalid
// value removes its key.
using IniValues = QList<QPair<QString, QVariant>>;

// Who may read a settings file the writer makes or replaces.
enum class IniFileAccess {
    Kept,       // the permissions of the file replaced (a new one: the usual)
    OwnerOnly,  // the owner alone (files that hold secrets)
};

// Stores `values` under `group` (empty: no group) of the ini file `filePath`,
// all of them or none. The new content is written through QSettings to a
// scratch copy of the file in its folder, read back from the disk (every
// value stored, every other key of the file kept), and then written whole
// over the file (platform/FileSystem.h: flushed to the disk before it takes
// the file's place). On any failure the file is left as it was, no copy
// remains, one line names the file and the reason in the log, and the result
// is false. A program that ends in the middle of a write leaves the file as
// it was, with copies beside it that removeIniWriteLeftovers removes.
[[nodiscard]] bool writeIniValues(const QString& filePath, const QString& group,
                                  const IniValues& values,
                                  IniFileAccess access = IniFileAccess::Kept);

// Removes what writes of `filePath` that never ended left beside it: its
// copies (the file's name, ".saving-", six letters or digits, perhaps
// followed by ".new" or by '.' and six more) and its lock files (".lock"
// after the name or after a copy's name) when no running program holds them.
// Nothing else of the folder is touched (a user's "userOption.ini.backup"
// stays). For the start of the program, before its first
// write.
void removeIniWriteLeftovers(const QString& filePath);
