#include "camera/TucsenPictureFiles.h"

#include "base/StationDir.h"

#include <QFileInfo>

namespace TucsenPictureFiles {

namespace {

// The most milliseconds looked at for a free name: far more pictures than one
// capture takes within a second.
constexpr int kNameTries = 100000;

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yy-MM-dd"));
}

}  // namespace

QString stationFolder(const QDate& date, const QString& experiment) {
    return stationDirPath() + QStringLiteral("/Pictures/") + dateText(date) + QLatin1Char('/') +
           experiment + QLatin1Char('/');
}

QString storageFolder(const QString& storagePath, const QDate& date, const QString& experiment) {
    return storagePath + QLatin1Char('/') + dateText(date) + QLatin1Char('/') + experiment +
           QLatin1Char('/');
}

QString freeFileName(const QString& folder1, const QString& folder2, QTime time) {
    QString name = time.toString(QStringLiteral("hh-mm-ss-zzz")) + QStringLiteral(".tif");
    for (int i = 0; i < kNameTries; ++i) {
        if (!QFileInfo::exists(folder1 + name) && !QFileInfo::exists(folder2 + name)) {
            break;
        }
        time = time.addMSecs(1);
        name = time.toString(QStringLiteral("hh-mm-ss-zzz")) + QStringLiteral(".tif");
    }
    return name;
}

}  // namespace TucsenPictureFiles
