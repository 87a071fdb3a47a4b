#include "camera/UncompressedTiff.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <cerrno>
#include <cstring>
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

// The bytes go to a temporary file beside `path` that takes its place only
// when they were all written. 0 when written, else the errno.
int saveBytes(const QString& path, const std::vector<uchar>& bytes, plat::WholeFileMode mode) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    plat::WholeFileOptions options;
    options.mode = mode;
    return plat::WriteWholeFile(QFile::encodeName(path).toStdString(), bytes.data(), bytes.size(),
                                options);
}

void warnNotWritten(const QString& path, int error) {
    qWarning() << "writing the picture failed:" << path << std::strerror(error);
}

}  // namespace

bool writeUncompressedTiff(const QString& path, const cv::Mat& picture, int dpi) {
    std::vector<uchar> bytes;
    if (!encodeTiff(path, picture, dpi, &bytes)) {
        return false;
    }
    const int error = saveBytes(path, bytes, plat::WholeFileMode::Replace);
    if (error != 0) {
        warnNotWritten(path, error);
    }
    return error == 0;
}

NewPictureFile writeNewUncompressedTiff(const QString& path, const cv::Mat& picture, int dpi) {
    std::vector<uchar> bytes;
    if (!encodeTiff(path, picture, dpi, &bytes)) {
        return NewPictureFile::Failed;
    }
    // The name is taken only by the finished file: until then nothing of that
    // name exists, and a file another writer put there first stays.
    const int error = saveBytes(path, bytes, plat::WholeFileMode::CreateNew);
    if (error == EEXIST) {
        return NewPictureFile::NameTaken;
    }
    if (error != 0) {
        warnNotWritten(path, error);
        return NewPictureFile::Failed;
    }
    return NewPictureFile::Written;
}
