#include "ProgramRun.h"

ProgramResult runProgram(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, int timeoutMs) {
    ProgramResult result;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    result.started = process.waitForStarted(10000);
    if (!result.started) {
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        result.timedOut = true;
        process.kill();
        process.waitForFinished(10000);
    }
    result.output = process.readAll();
    result.crashed = !result.timedOut && process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    return result;
}

RunningProgram::RunningProgram(const QString& program, const QStringList& arguments,
                               const QProcessEnvironment& environment) {
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(program, arguments);
    m_started = m_process.waitForStarted(10000);
}

RunningProgram::~RunningProgram() {
    stop();
}

bool RunningProgram::isRunning() const {
    return m_process.state() == QProcess::Running;
}

void RunningProgram::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}
