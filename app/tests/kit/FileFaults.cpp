#include "FileFaults.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace

bool makeUnwritable(const QString& path) {
    QFile::Permissions readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    if (QFileInfo(path).isDir()) {
        readable |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    }
    QFile::setPermissions(path, readable);
    if (::geteuid() == 0) {
        return setImmutable(path, true);
    }
    return true;
}

void makeWritable(const QString& path) {
    if (::geteuid() == 0) {
        setImmutable(path, false);
    }
    QFile::Permissions writable =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (QFileInfo(path).isDir()) {
        writable |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    }
    QFile::setPermissions(path, writable);
}

bool writeGarbage(const QString& file, qint64 offset, int count) {
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite) || f.size() < offset + count) {
        return false;
    }
    QByteArray garbage;
    for (int i = 0; i < count; ++i) {
        garbage.append(static_cast<char>((i * 7919 + 13) % 251));
    }
    return f.seek(offset) && f.write(garbage) == count;
}

QByteArray fileChecksum(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result().toHex();
}

LockedDatabase::LockedDatabase(const QString& lockerProgram, const QString& file, int holdMs) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(lockerProgram, {file, QString::number(holdMs)});
    if (!m_process.waitForStarted(10000)) {
        return;
    }
    while (m_process.state() == QProcess::Running && !m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(10000)) {
            break;
        }
    }
    m_locked = m_process.readLine().trimmed() == "locked";
}

LockedDatabase::~LockedDatabase() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

bool LockedDatabase::waitForRelease(int ms) {
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(ms);
}
