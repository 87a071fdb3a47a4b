// A store file that SQLite cannot read as a database (random bytes, a file
// of another kind): the program never rebuilds it over the user's data. The
// file is left as it is, a log line names it, and a store the program cannot
// work without ends the program after the notice the program installed.
#pragma once

#include <QString>
#include <functional>

// Shown before the program ends on a damaged store, with the file's path.
// The program installs one that shows a message box; none by default.
using DamagedStoreNotice = std::function<void(const QString& filePath)>;
void setDamagedStoreNotice(DamagedStoreNotice notice);

// "Damaged database file <path>: it was left as it is." as the log line.
QString damagedStoreLine(const QString& filePath);

// Logs the line; with `endProgram` shows the notice and ends the program.
void reportDamagedStore(const QString& filePath, bool endProgram);
