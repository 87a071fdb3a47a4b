// Runs darkroom-sim for one test: its line linked in the test's scratch
// folder, its control channel on a Unix socket next to it.
#pragma once

#include <QByteArray>
#include <QLocalSocket>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

struct SimJournalEntry {
    qint64 timeMs = 0;
    QString kind;
    QByteArray bytes;
    QString note;
};

class DarkroomSimProcess {
  public:
    explicit DarkroomSimProcess(const QString& name);
    ~DarkroomSimProcess();

    // Starts the simulator and connects to its control channel; false on failure.
    bool start(const QStringList& extraArguments = {});
    // Ends it with SIGTERM; true when it exited with 0 and removed its link.
    bool stop();

    QString linkPath() const { return m_link; }
    // Sends one control line; the answer without its final "ok", or with the
    // "error ..." line last.
    QStringList command(const QString& line);
    QVector<SimJournalEntry> journal();
    // The value of one field of the state line ("power", "filter", ...).
    QString state(const QString& field);

  private:
    QString m_link;
    QString m_socket;
    QProcess m_process;
    QLocalSocket m_control;
};

// Runs the event loop until `condition` holds or `timeoutMs` passed.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
// The test's scratch folder.
QString scratchDir();
