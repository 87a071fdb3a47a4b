#include "camera/TucsenPictureFiles.h"

#include "base/StationDir.h"
#include "settings/UserOpts.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtDebug>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <vector>

namespace TucsenPictureFiles {

namespace {

constexpr int kDpi = 600;
// The most milliseconds looked at for a free name: far more pictures than one
// capture takes within a second.
constexpr int kNameTries = 100000;

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yy-MM-dd"));
}

QString defaultStoragePath() {
    const QStringList desktops = QStandardPaths::standardLocations(QStandardPaths::DesktopLocation);
    const QString desktop = desktops.isEmpty() ? QDir::homePath() : desktops.first();
    return desktop + QStringLiteral("/UserImages");
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

QString storagePath(UserOpts& userOpt) {
    userOpt.loadUserOpt(UserOpt_storagePath);
    if (userOpt.storagePath.isEmpty()) {
        userOpt.storagePath = defaultStoragePath();
        userOpt.saveUserOpt(UserOpt_storagePath);
    }
    return userOpt.storagePath;
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

bool writeTiff16(const QString& path, const cv::Mat& image) {
    if (image.empty() || image.type() != CV_16UC1) {
        qWarning() << "no picture to write:" << path;
        return false;
    }
    std::vector<uchar> bytes;
    const std::vector<int> options = {
        cv::IMWRITE_TIFF_RESUNIT, 2,    cv::IMWRITE_TIFF_XDPI,        kDpi,
        cv::IMWRITE_TIFF_YDPI,    kDpi, cv::IMWRITE_TIFF_COMPRESSION, 1};
    try {
        if (!cv::imencode(".tif", image, bytes, options)) {
            qWarning() << "TIFF encoding failed:" << path;
            return false;
        }
    } catch (const cv::Exception& error) {
        qWarning() << "TIFF encoding failed:" << path << error.what();
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        qWarning() << "writing the picture failed:" << path;
        return false;
    }
    return true;
}

}  // namespace TucsenPictureFiles
