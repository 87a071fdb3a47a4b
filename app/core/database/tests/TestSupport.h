#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// A station directory of its own for the running test, empty at first:
// <VARNU_TEST_SCRATCH>/<suite>.<test>.
QString freshStationDir();

// The bytes of a file, empty when it cannot be read.
QByteArray fileBytes(const QString& path);

// Collects the messages logged while it lives ("[Debug] text",
// "[Warning] text", ...), on every thread.
class LogCapture {
  public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    bool contains(const QString& line) const { return lines().contains(line); }
    int count(const QString& line) const { return lines().count(line); }

  private:
    QtMessageHandler m_previous;
};

// Runs statements on a database file through a connection of their own,
// apart from the stores: what the file really holds.
QList<QStringList> rawRows(const QString& file, const QString& statement);
bool rawExec(const QString& file, const QString& statement);

// Readable failure messages for Qt texts.
#include <ostream>
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
