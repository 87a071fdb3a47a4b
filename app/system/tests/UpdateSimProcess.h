#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs update-sim for one test, with its reply file in the station folder.
class UpdateSimProcess {
  public:
    explicit UpdateSimProcess(const QString& replyFile);
    ~UpdateSimProcess();

    // Starts it and reads the address it listens on; false on failure.
    bool start();
    void stop();
    QString url() const { return m_url; }

    // Sends one control line and waits for its "ok".
    bool command(const QString& line);
    // The journal lines of the requests received so far ("request ...").
    QStringList requests();

  private:
    void readOutput();

    QString m_replyFile;
    QProcess m_process;
    QString m_url;
    QStringList m_lines;
    QByteArray m_pending;
};
