#include "camera/UncompressedTiff.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <vector>

bool writeUncompressedTiff(const QString& path, const cv::Mat& picture, int dpi) {
    if (picture.empty() || (picture.type() != CV_8UC1 && picture.type() != CV_16UC1)) {
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        qWarning() << "writing the picture failed:" << path;
        return false;
    }
    return true;
}
