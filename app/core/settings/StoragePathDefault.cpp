#include "settings/StoragePathDefault.h"

#include "settings/UserOpts.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QStringList fixedDriveRoots() {
    QStringList roots;
    const QFileInfoList drives = QDir::drives();
    for (const QFileInfo& drive : drives) {
        roots << drive.absoluteFilePath();
    }
    return roots;
}

QString defaultStoragePath(const QStringList& fixedDrives, const QString& desktop) {
    if (fixedDrives.size() >= 2) {
        return QDir(fixedDrives.at(1)).filePath(QStringLiteral("UserImages"));
    }
    return desktop + QStringLiteral("/UserImages");
}

QString desktopLocation() {
    return QStandardPaths::standardLocations(QStandardPaths::DesktopLocation).value(0);
}

QString storagePathOrDefault(UserOpts& userOpt) {
    userOpt.loadUserOpt(UserOpt_storagePath);
    if (userOpt.storagePath.isEmpty()) {
        userOpt.storagePath = defaultStoragePath(fixedDriveRoots(), desktopLocation());
        // Unsaved (the log names the file), the same default is found again
        // at the next use.
        if (!userOpt.saveUserOpt(UserOpt_storagePath)) {
            qDebug() << "storagePath default used without being saved.";
        }
    }
    return userOpt.storagePath;
}
