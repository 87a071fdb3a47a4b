#include "UpdateSimProcess.h"

#include "SystemTestSupport.h"

#include <QRegularExpression>

UpdateSimProcess::UpdateSimProcess(const QString& replyFile) : m_replyFile(replyFile) {}

UpdateSimProcess::~UpdateSimProcess() {
    stop();
}

bool UpdateSimProcess::start() {
    m_process.start(QStringLiteral(UPDATE_SIM_PATH), {QStringLiteral("--reply"), m_replyFile});
    if (!m_process.waitForStarted(5000)) {
        return false;
    }
    const QString prefix = QStringLiteral("update-sim listening on ");
    waitFor(
        [&] {
            readOutput();
            return !m_lines.filter(prefix).isEmpty();
        },
        5000);
    const QStringList said = m_lines.filter(prefix);
    if (said.isEmpty()) {
        return false;
    }
    m_url = said.first().mid(prefix.size());
    return true;
}

void UpdateSimProcess::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

void UpdateSimProcess::readOutput() {
    m_pending += m_process.readAllStandardOutput();
    int newline;
    while ((newline = m_pending.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_pending.left(newline));
        m_pending.remove(0, newline + 1);
    }
}

bool UpdateSimProcess::command(const QString& line) {
    const int before = m_lines.count(QStringLiteral("ok"));
    m_process.write((line + QLatin1Char('\n')).toUtf8());
    return waitFor(
        [&] {
            readOutput();
            return m_lines.count(QStringLiteral("ok")) > before;
        },
        5000);
}

QStringList UpdateSimProcess::requests() {
    readOutput();
    return m_lines.filter(QRegularExpression(QStringLiteral("^request ")));
}
