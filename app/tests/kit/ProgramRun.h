#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs a program to its end (or kills it after a time-out) and reports how it
// ended. Used for the real Varnu binary where the way it ends is the point.
struct ProgramResult {
    bool started = false;
    bool timedOut = false;  // killed after the time-out
    bool crashed = false;   // ended by a signal (abort of a fatal message)
    int exitCode = 0;       // valid when it exited normally
    QByteArray output;      // stdout and stderr together
};

ProgramResult runProgram(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, int timeoutMs);

// A program that runs until stop() or the destructor kills it.
class RunningProgram {
  public:
    RunningProgram(const QString& program, const QStringList& arguments,
                   const QProcessEnvironment& environment);
    ~RunningProgram();

    bool started() const { return m_started; }
    bool isRunning() const;
    void stop();  // kills it and waits for its end

  private:
    QProcess m_process;
    bool m_started = false;
};
