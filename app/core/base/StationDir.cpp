#include "base/StationDir.h"

#include <QDir>

#include <unistd.h>
#include <cstdlib>

namespace {

// The program's own folder from /proc/self/exe, read once. No Qt call that
// could log is involved.
const QString& programDirPath() {
    static const QString dir = [] {
        char buf[4096];
        const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof(buf) - 1);
        if (n <= 0) {
            return QDir::currentPath();
        }
        buf[n] = '\0';
        QString exe = QString::fromLocal8Bit(buf, static_cast<int>(n));
        const int slash = exe.lastIndexOf(QLatin1Char('/'));
        return slash > 0 ? exe.left(slash) : QStringLiteral("/");
    }();
    return dir;
}

}  // namespace

QString stationDirPath() {
    // Read on every call, so tests may give each case a station of its own.
    const char* home = std::getenv("VARNU_HOME");
    if (home != nullptr && home[0] != '\0') {
        QString dir = QDir::cleanPath(QString::fromLocal8Bit(home));
        if (QDir::isRelativePath(dir)) {
            dir = QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + dir);
        }
        return dir;
    }
    return programDirPath();
}

QString stationFilePath(const QString& relative) {
    return stationDirPath() + QLatin1Char('/') + relative;
}
