#include "startup/LogHandler.h"

#include "base/StationDir.h"

#include <QDir>
#include <QFile>

#include <mutex>

namespace {

const char* prefixOf(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return "[Debug]";
        case QtWarningMsg:
            return "[Warning]";
        case QtCriticalMsg:
            return "[Critical]";
        case QtFatalMsg:
            return "[Fatal]";
        default:
            return "";
    }
}

}  // namespace

QString logLine(QtMsgType type, const QDateTime& when, const QString& msg) {
    return QLatin1String(prefixOf(type)) + when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) +
           QStringLiteral("    ") + msg + QLatin1Char('\n');
}

QString logDirPath() {
    return stationFilePath(QStringLiteral("logs"));
}

QString logFilePath(const QDate& day) {
    return logDirPath() + QLatin1Char('/') + day.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".txt");
}

void outputMessage(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    Q_UNUSED(context);
    // A message raised by anything below while this thread holds the lock is
    // not handed to this handler again: Qt prints a message that arrives while
    // the handler runs on the same thread to stderr. So the lock is never
    // taken twice by one thread, and the handler itself logs nothing. The
    // paths come from the station directory, never from the application
    // object, which warns when it does not exist yet.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);

    const QDateTime now = QDateTime::currentDateTime();
    const QString line = logLine(type, now, msg);
    const QString dir = logDirPath();
    if (!QDir(dir).exists()) {
        QDir().mkpath(dir);
    }
    QFile file(logFilePath(now.date()));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(line.toLocal8Bit());
        file.flush();
        file.close();
    }
}
