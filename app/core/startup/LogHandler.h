#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

// The program's message handler: every message of any thread becomes one line
// of the daily log file logs/yyyy-MM-dd.txt of the station directory:
// a type prefix ("[Debug]", "[Warning]", "[Critical]", "[Fatal]"; none for
// information), the local time "yyyy-MM-dd hh:mm:ss", four blanks, the text.
// Lines are written in the local 8-bit encoding. The file is opened, written,
// flushed and closed for every message; the date at the moment of writing
// chooses the file. A file that cannot be opened loses the line silently.
//
// The handler never waits on itself: a message raised on the same thread while
// that thread writes a line goes to stderr, not into the handler again.
void outputMessage(QtMsgType type, const QMessageLogContext& context, const QString& msg);

// The line for one message, newline included.
QString logLine(QtMsgType type, const QDateTime& when, const QString& msg);

// The log folder and the file of one day.
QString logDirPath();
QString logFilePath(const QDate& day);
