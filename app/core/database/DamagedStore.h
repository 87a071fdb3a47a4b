// A store file the program must not use: one that SQLite cannot read as an
// intact database (random bytes, a file of another kind, a damaged page),
// one that another program holds locked, something other than a file under
// its name (a folder, a named pipe), or one SQLite cannot open at all. The
// program never rebuilds or writes such a file. The file is left as it is, a
// log line names it, and a store the program cannot work without ends the
// program (exit code -1) after the notice the program installed.
#pragma once

#include <QString>
#include <functional>

// Why a store file cannot be used.
enum class StoreProblem {
    Damaged,     // not an intact database
    InUse,       // locked by another program beyond the wait for it
    NotAFile,    // a folder, a named pipe or another special file
    CannotOpen,  // refused by SQLite when opened (no access, no folder)
};

// The exit code of a program that ends on a store it cannot use.
constexpr int kStoreProblemExitCode = -1;

// Shown before the program ends on a store file it cannot use, with the
// problem and the file's path. The program installs one that shows a message
// box; none by default.
using StoreProblemNotice = std::function<void(StoreProblem problem, const QString& filePath)>;
void setStoreProblemNotice(StoreProblemNotice notice);

// "Damaged database file <path>: it was left as it is." as the log line.
QString damagedStoreLine(const QString& filePath);
// "Database file <path> is in use by another program: it was left as it
// is." as the log line.
QString storeInUseLine(const QString& filePath);

// "Database file <path> is not a file (a folder or another special file):
// it was left as it is." as the log line.
QString notAFileStoreLine(const QString& filePath);
// "Database file <path> cannot be opened." as the log line.
QString unopenedStoreLine(const QString& filePath);

// Logs the problem's line; with `endProgram` shows the notice and ends the
// program with kStoreProblemExitCode.
void reportStoreProblem(StoreProblem problem, const QString& filePath, bool endProgram);
