#include "DarkroomSimProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

QString scratchDir() {
    const QString dir = QString::fromLocal8Bit(qgetenv("VARNU_TEST_SCRATCH"));
    return dir.isEmpty() ? QDir::tempPath() : dir;
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

// Names stay short: a Unix socket path has room for about a hundred bytes.
DarkroomSimProcess::DarkroomSimProcess(const QString& name)
    : m_link(scratchDir() + "/" + name), m_socket(scratchDir() + "/" + name + ".ctl") {}

DarkroomSimProcess::~DarkroomSimProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
}

bool DarkroomSimProcess::start(const QStringList& extraArguments) {
    QFile::remove(m_link);  // left over by a run that was killed
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(DARKROOM_SIM_PATH),
                    QStringList{"--link", m_link, "--control", m_socket} + extraArguments);
    if (!m_process.waitForStarted(3000)) {
        return false;
    }
    if (!waitUntil([&] { return QFileInfo(m_link).isSymLink(); }, 5000)) {
        return false;
    }
    m_control.connectToServer(m_socket);
    return m_control.waitForConnected(3000);
}

bool DarkroomSimProcess::stop() {
    m_control.disconnectFromServer();
    m_process.terminate();
    const bool ended = m_process.waitForFinished(3000);
    return ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0 &&
           !QFileInfo::exists(m_link) && !QFileInfo(m_link).isSymLink();
}

QStringList DarkroomSimProcess::command(const QString& line) {
    m_control.write((line + "\n").toUtf8());
    m_control.waitForBytesWritten(1000);
    QStringList answer;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 3000) {
        while (m_control.canReadLine()) {
            const QString text = QString::fromUtf8(m_control.readLine()).trimmed();
            if (text == "ok") {
                return answer;
            }
            answer.append(text);
            if (text.startsWith("error")) {
                return answer;
            }
        }
        m_control.waitForReadyRead(100);
    }
    answer.append("error no answer from darkroom-sim");
    return answer;
}

QVector<SimJournalEntry> DarkroomSimProcess::journal() {
    QVector<SimJournalEntry> entries;
    for (const QString& line : command("journal")) {
        // "<ms> <kind> <hex bytes or -> [<note>]"
        SimJournalEntry entry;
        const int noteStart = line.indexOf(" [");
        const QString head = noteStart >= 0 ? line.left(noteStart) : line;
        if (noteStart >= 0) {
            entry.note = line.mid(noteStart + 2).chopped(1);
        }
        const QStringList words = head.split(' ', Qt::SkipEmptyParts);
        if (words.size() < 3) {
            continue;
        }
        entry.timeMs = words[0].toLongLong();
        entry.kind = words[1];
        for (int i = 2; i < words.size(); ++i) {
            if (words[i] != "-") {
                entry.bytes.append(QByteArray::fromHex(words[i].toLatin1()));
            }
        }
        entries.append(entry);
    }
    return entries;
}

QString DarkroomSimProcess::state(const QString& field) {
    const QStringList answer = command("state");
    if (answer.isEmpty()) {
        return QString();
    }
    for (const QString& pair : answer.first().split(' ')) {
        if (pair.startsWith(field + "=")) {
            return pair.mid(field.size() + 1);
        }
    }
    return QString();
}
