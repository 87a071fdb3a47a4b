#include "camera/GelPictureFiles.h"

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

namespace GelPictureFiles {

namespace {
QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yy-MM-dd"));
}
}  // namespace

QString numberText(int number) {
    return QString::number(number).rightJustified(3, QLatin1Char('0'));
}

QString stationFolder(const QDate& date) {
    return stationDirPath() + QStringLiteral("/Pictures/") + dateText(date) +
           QStringLiteral("/Varnu/");
}

QString storageFolder(const QString& storagePath, const QDate& date) {
    return storagePath + QStringLiteral("/") + dateText(date) + QStringLiteral("/Varnu/");
}

QString defaultStoragePath() {
    const QStringList desktops = QStandardPaths::standardLocations(QStandardPaths::DesktopLocation);
    const QString desktop = desktops.isEmpty() ? QDir::homePath() : desktops.first();
    return desktop + QStringLiteral("/UserImages");
}

QString storagePath(UserOpts& userOpt) {
    userOpt.loadUserOpt(UserOpt_storagePath);
    if (userOpt.storagePath.isEmpty()) {
        userOpt.storagePath = defaultStoragePath();
        userOpt.saveUserOpt(UserOpt_storagePath);
    }
    return userOpt.storagePath;
}

bool writeGreyTiff(const QString& path, const cv::Mat& picture, int dpi) {
    if (picture.empty() || picture.type() != CV_8UC1) {
        qWarning() << "no picture to write:" << path;
        return false;
    }
    std::vector<uchar> bytes;
    const std::vector<int> options = {
        cv::IMWRITE_TIFF_RESUNIT, 2,   cv::IMWRITE_TIFF_XDPI,        dpi,
        cv::IMWRITE_TIFF_YDPI,    dpi, cv::IMWRITE_TIFF_COMPRESSION, 1};
    try {
        if (!cv::imencode(".tif", picture, bytes, options)) {
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

}  // namespace GelPictureFiles
