#include "startup/SingleInstance.h"

#include <QFile>
#include <QtDebug>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace {

// Held for the whole life of the process.
int g_instanceLock = -1;

}  // namespace

QString singleInstanceLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const QString dir = runtime != nullptr && runtime[0] != '\0' ? QString::fromLocal8Bit(runtime)
                                                                 : QStringLiteral("/tmp");
    const char* name = std::getenv("VARNU_INSTANCE_NAME");
    const QString lockName = name != nullptr && name[0] != '\0' ? QString::fromLocal8Bit(name)
                                                                : QStringLiteral("forCheckOnly");
    return dir + QLatin1Char('/') + lockName + QStringLiteral(".lock");
}

bool checkSingleInstance() {
    if (g_instanceLock >= 0) {
        return true;
    }
    const QByteArray path = QFile::encodeName(singleInstanceLockPath());
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without a lock file the test cannot tell; refusing to start would
        // lock the station out for good, so this instance runs.
        qWarning() << "single-instance lock file cannot be opened:" << path;
        return true;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return false;
    }
    g_instanceLock = fd;
    return true;
}
