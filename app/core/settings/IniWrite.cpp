#include "settings/IniWrite.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kLockWaitMs = 5000;

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// Whether a value read back from an ini file is the value that was stored:
// QSettings writes a scalar as its text and a list as a list (an empty one
// as an invalid value).
bool sameStoredValue(const QVariant& stored, const QVariant& expected) {
    const int type = expected.userType();
    if (type == QMetaType::QStringList || type == QMetaType::QVariantList) {
        return stored.toStringList() == expected.toStringList();
    }
    return stored.isValid() && stored.toString() == expected.toString();
}

QString fullKey(const QString& group, const QString& key) {
    return group.isEmpty() ? key : group + QLatin1Char('/') + key;
}

// Reads the ini file `written` from disk (a name no QSettings of this process
// has seen, so nothing comes from its cache) and checks it against the file
// it replaces: every key of `values` with its value, every other key of
// `filePath` unchanged. Empty when it holds, else the reason.
QString checkWritten(const QString& written, const QString& filePath, const QString& group,
                     const IniValues& values) {
    const QSettings check(written, QSettings::IniFormat);
    if (check.status() != QSettings::NoError) {
        return QStringLiteral("the new content does not read back as ini");
    }
    QStringList changed;
    for (const auto& [key, value] : values) {
        const QString name = fullKey(group, key);
        changed.append(name);
        if (!check.contains(name) || !sameStoredValue(check.value(name), value)) {
            return QStringLiteral("the new content reads back without the value of %1").arg(name);
        }
    }
    const QSettings original(filePath, QSettings::IniFormat);
    for (const QString& name : original.allKeys()) {
        if (!changed.contains(name) &&
            (!check.contains(name) || check.value(name) != original.value(name))) {
            return QStringLiteral("the new content reads back without the earlier %1").arg(name);
        }
    }
    return QString();
}

// Flushes the file's bytes to the disk and gives it `mode`. QSettings tells a
// file it read has changed by its size and time of change: a replacement of
// the same size and time (a clock coarser than the writes) is dated a
// millisecond later, so that this process reads it.
QString settle(const QString& path, mode_t mode, const struct stat* replaced) {
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return QStringLiteral("the new content cannot be opened (%1)").arg(systemError());
    }
    QString reason;
    struct stat own {};
    if (::fchmod(fd, mode) != 0 || ::fstat(fd, &own) != 0) {
        reason = QStringLiteral("the new content cannot be given its mode (%1)").arg(systemError());
    } else if (replaced != nullptr && own.st_size == replaced->st_size) {
        const qint64 ownMs = own.st_mtim.tv_sec * 1000 + own.st_mtim.tv_nsec / 1000000;
        const qint64 oldMs = replaced->st_mtim.tv_sec * 1000 + replaced->st_mtim.tv_nsec / 1000000;
        if (ownMs == oldMs) {
            const qint64 laterMs = oldMs + 1;
            const struct timespec times[2] = {{0, UTIME_OMIT},
                                              {laterMs / 1000, (laterMs % 1000) * 1000000}};
            if (::futimens(fd, times) != 0) {
                reason = QStringLiteral("the new content cannot be dated (%1)").arg(systemError());
            }
        }
    }
    if (reason.isEmpty() && ::fsync(fd) != 0) {
        reason = QStringLiteral("the new content cannot be flushed (%1)").arg(systemError());
    }
    ::close(fd);
    return reason;
}

// The file a link (or a chain of them) stands for: its content is replaced,
// the link stays.
QString linkTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth) {
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

// The folder's entries (the rename) to the disk; the file is in place
// already, so a failure here changes nothing of the result.
void flushFolder(const QString& folder) {
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes the new content to a copy of the file beside it, checks and flushes
// it, and renames it over the file. Empty when done, else the reason; the
// file is then untouched and no copy is left.
QString replaceIni(const QString& filePath, const QString& group, const IniValues& values) {
    const QFileInfo info(filePath);
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(folder)) {
        return QStringLiteral("its folder cannot be made");
    }
    // The lock QSettings takes for its writes of the file: another program
    // (or QSettings writing in place) does not write it at the same time.
    QLockFile lock(filePath + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        return lock.error() == QLockFile::LockFailedError
                   ? QStringLiteral("another program holds it")
                   : QStringLiteral("its lock file cannot be made");
    }
    struct stat replaced {};
    const bool exists = ::stat(nativePath(filePath).constData(), &replaced) == 0;
    if (!exists && errno != ENOENT) {
        return QStringLiteral("it cannot be looked at (%1)").arg(systemError());
    }
    if (exists && ::access(nativePath(filePath).constData(), W_OK) != 0) {
        return QStringLiteral("it is not writable (%1)").arg(systemError());
    }
    QByteArray content;
    if (exists) {
        QFile current(filePath);
        if (!current.open(QIODevice::ReadOnly)) {
            return QStringLiteral("it cannot be read (%1)").arg(current.errorString());
        }
        content = current.readAll();
        if (current.error() != QFileDevice::NoError) {
            return QStringLiteral("it cannot be read (%1)").arg(current.errorString());
        }
    }

    QTemporaryFile copy(folder + QLatin1Char('/') + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!copy.open()) {
        return QStringLiteral("no copy can be made beside it (%1)").arg(copy.errorString());
    }
    if (copy.write(content) != content.size() || !copy.flush()) {
        return QStringLiteral("its copy cannot be written (%1)").arg(copy.errorString());
    }
    copy.close();
    const QString written = copy.fileName();
    {
        QSettings settings(written, QSettings::IniFormat);
        if (!group.isEmpty()) {
            settings.beginGroup(group);
        }
        for (const auto& [key, value] : values) {
            settings.setValue(key, value);
        }
        settings.sync();
        // A copy that did not read as ini reports that instead of the
        // write's result; the check below tells whether the write took.
        if (settings.status() == QSettings::AccessError) {
            return QStringLiteral("the new content cannot be written");
        }
    }
    // Checked under a second name: QSettings keeps what it wrote to the
    // first one and would not read it from the disk again.
    const QString checked = written + QStringLiteral(".new");
    if (::rename(nativePath(written).constData(), nativePath(checked).constData()) != 0) {
        return QStringLiteral("the new content cannot be moved (%1)").arg(systemError());
    }
    const mode_t mode = exists ? (replaced.st_mode & 07777) : mode_t{0644};
    QString reason = checkWritten(checked, filePath, group, values);
    if (reason.isEmpty()) {
        reason = settle(checked, mode, exists ? &replaced : nullptr);
    }
    if (reason.isEmpty() &&
        ::rename(nativePath(checked).constData(), nativePath(filePath).constData()) != 0) {
        reason = QStringLiteral("it cannot be replaced (%1)").arg(systemError());
    }
    if (!reason.isEmpty()) {
        QFile::remove(checked);
        return reason;
    }
    flushFolder(folder);
    return QString();
}

}  // namespace

bool writeIniValues(const QString& filePath, const QString& group, const IniValues& values) {
    const QString reason = replaceIni(linkTarget(filePath), group, values);
    if (reason.isEmpty()) {
        return true;
    }
    qWarning().noquote() << QStringLiteral("Settings not saved, %1 cannot be written: %2.")
                                .arg(QDir::toNativeSeparators(filePath), reason);
    return false;
}
