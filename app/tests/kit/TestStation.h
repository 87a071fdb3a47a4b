#pragma once

#include <QString>
#include <QVariant>

// A fresh station directory for one test: a new folder under
// $VARNU_TEST_SCRATCH (else the system's temporary folder), made the station
// of this process (VARNU_HOME) while the object lives. The folder is kept
// after the test so a failure can be looked at.
class TestStation {
  public:
    // With `unique` false the folder is named by the label alone, so that a
    // death test's child process and its parent share one station.
    explicit TestStation(const QString& label = QStringLiteral("station"), bool unique = true);
    ~TestStation();

    TestStation(const TestStation&) = delete;
    TestStation& operator=(const TestStation&) = delete;

    QString path() const { return m_path; }
    QString filePath(const QString& relative) const;

    // machine.ini: Machine/MachineName, and Machine/ExperimentType unless
    // experimentType is invalid.
    void writeMachineIni(const QString& machineName, const QVariant& experimentType = {}) const;
    // One key of the group UserOption of Ini/userOption.ini.
    void setUserOption(const QString& key, const QVariant& value) const;
    QVariant userOption(const QString& key) const;

    // The text of today's log file (empty when there is none).
    QString todaysLog() const;

  private:
    QString m_path;
    QByteArray m_previousHome;
    bool m_hadHome = false;
};
