#include "camera/UncompressedTiff.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <vector>

namespace {

bool encodeTiff(const QString& path, const cv::Mat& picture, int dpi, std::vector<uchar>* bytes) {
    if (picture.empty() || (picture.type() != CV_8UC1 && picture.type() != CV_16UC1)) {
        qWarning() << "no picture to write:" << path;
        return false;
    }
    const std::vector<int> options = {
        cv::IMWRITE_TIFF_RESUNIT, 2,   cv::IMWRITE_TIFF_XDPI,        dpi,
        cv::IMWRITE_TIFF_YDPI,    dpi, cv::IMWRITE_TIFF_COMPRESSION, 1};
    try {
        if (!cv::imencode(".tif", picture, *bytes, options)) {
            qWarning() << "TIFF encoding failed:" << path;
            return false;
        }
    } catch (const cv::Exception& error) {
        qWarning() << "TIFF encoding failed:" << path << error.what();
        return false;
    }
    return true;
}

// The bytes go to a temporary file beside `path` that replaces it only when
// they were all written.
bool saveBytes(const QString& path, const std::vector<uchar>& bytes) {
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

}  // namespace

bool writeUncompressedTiff(const QString& path, const cv::Mat& picture, int dpi) {
    std::vector<uchar> bytes;
    if (!encodeTiff(path, picture, dpi, &bytes)) {
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    return saveBytes(path, bytes);
}

NewPictureFile writeNewUncompressedTiff(const QString& path, const cv::Mat& picture, int dpi) {
    std::vector<uchar> bytes;
    if (!encodeTiff(path, picture, dpi, &bytes)) {
        return NewPictureFile::Failed;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile claim(path);
    if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(path)) {
            return NewPictureFile::NameTaken;
        }
        qWarning() << "writing the picture failed:" << path << claim.errorString();
        return NewPictureFile::Failed;
    }
    claim.close();
    // The empty claimed file is ours alone; the picture replaces it whole.
    if (!saveBytes(path, bytes)) {
        QFile::remove(path);
        return NewPictureFile::Failed;
    }
    return NewPictureFile::Written;
}
