#include "settings/IniWrite.h"

#include "platform/FileSystem.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryFile>

#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kLockWaitMs = 5000;
// Between a settings file's name and the six letters or digits of a write's
// copy of it.
constexpr char kCopyMarker[] = ".saving-";

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
        if (!value.isValid()) {
            if (check.contains(name)) {
                return QStringLiteral("the new content reads back with %1 still in it").arg(name);
            }
            continue;
        }
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

// The file a link (or a chain of them) stands for: its content is replaced,
// the link stays.
QString linkTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth) {
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

// Writes the new content to a scratch copy of the file beside it through
// QSettings, checks it, and writes it whole over the file. Empty when done,
// else the reason; the file is then untouched and no copy is left.
QString replaceIni(const QString& filePath, const QString& group, const IniValues& values,
                   IniFileAccess access) {
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
    const bool exists = info.exists();
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

    // The copy's name says what it is, so that a start tells it from a file
    // the user keeps beside the settings (a backup, say).
    QTemporaryFile copy(folder + QLatin1Char('/') + info.fileName() + QLatin1String(kCopyMarker) +
                        QStringLiteral("XXXXXX"));
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
        // The copy is this write's own: written in place, without a further
        // temporary file of QSettings beside it.
        settings.setAtomicSyncRequired(false);
        if (!group.isEmpty()) {
            settings.beginGroup(group);
        }
        for (const auto& [key, value] : values) {
            if (value.isValid()) {
                settings.setValue(key, value);
            } else {
                settings.remove(key);
            }
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
    QString reason = checkWritten(checked, filePath, group, values);
    QByteArray replacement;
    if (reason.isEmpty()) {
        QFile result(checked);
        if (!result.open(QIODevice::ReadOnly)) {
            reason =
                QStringLiteral("the new content cannot be read (%1)").arg(result.errorString());
        } else {
            replacement = result.readAll();
        }
    }
    QFile::remove(checked);
    if (!reason.isEmpty()) {
        return reason;
    }
    plat::WholeFileOptions options;
    options.permissions = access == IniFileAccess::OwnerOnly ? 0600 : -1;
    options.distinctTime = true;
    const int error =
        plat::WriteWholeFile(nativePath(filePath).toStdString(), replacement.constData(),
                             static_cast<size_t>(replacement.size()), options);
    if (error != 0) {
        return QStringLiteral("it cannot be replaced (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
    return QString();
}

// What a write of `fileName` leaves beside it when the program ends in it:
// its copy (the name, kCopyMarker, six letters or digits), the checked copy
// (".new" after that), and what QSettings made beside the copy while writing it (its
// own copy, six more letters or digits, or its ".lock").
enum class Leftover { None, Copy, Lock };
Leftover leftoverOf(const QString& name, const QString& fileName) {
    static const QRegularExpression suffix(QRegularExpression::anchoredPattern(
        QStringLiteral("(\\.lock|%1[A-Za-z0-9]{6}(\\.new|\\.lock|\\.[A-Za-z0-9]{6})?)")
            .arg(QRegularExpression::escape(QLatin1String(kCopyMarker)))));
    if (!name.startsWith(fileName)) {
        return Leftover::None;
    }
    const QRegularExpressionMatch match = suffix.match(name.mid(fileName.size()));
    if (!match.hasMatch()) {
        return Leftover::None;
    }
    return name.endsWith(QStringLiteral(".lock")) ? Leftover::Lock : Leftover::Copy;
}

}  // namespace

bool writeIniValues(const QString& filePath, const QString& group, const IniValues& values,
                    IniFileAccess access) {
    const QString reason = replaceIni(linkTarget(filePath), group, values, access);
    if (reason.isEmpty()) {
        return true;
    }
    qWarning().noquote() << QStringLiteral("Settings not saved, %1 cannot be written: %2.")
                                .arg(QDir::toNativeSeparators(filePath), reason);
    return false;
}

void removeIniWriteLeftovers(const QString& filePath) {
    const QFileInfo target(linkTarget(filePath));
    const QString fileName = target.fileName();
    const QDir folder = target.absoluteDir();
    const QStringList names = folder.entryList({fileName + QStringLiteral(".*")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        const Leftover kind = leftoverOf(name, fileName);
        if (kind == Leftover::None || QFileInfo(path).isSymLink()) {
            continue;
        }
        if (kind == Leftover::Lock) {
            // A lock whose holder is gone is taken over and removed with its
            // release; one that a running program holds stays.
            QLockFile lock(path);
            if (!lock.tryLock(0)) {
                continue;
            }
            lock.unlock();
        } else if (!QFile::remove(path)) {
            continue;
        }
        qDebug().noquote() << QStringLiteral(
                                  "Removed %1, left by a settings write that ended before it "
                                  "was done.")
                                  .arg(QDir::toNativeSeparators(path));
    }
}
