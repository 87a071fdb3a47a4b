#include "PictureFiles.h"

#include "MatConversion.h"
#include "pictures/PictureFileWrite.h"

#include <QFileInfo>
#include <QImageReader>
#include <QStringList>
#include <QtDebug>
#include <opencv2/imgcodecs.hpp>

#include <new>
#include <vector>

namespace imageops {

namespace {

bool isQtSuffix(const QString& suffix) {
    return suffix == QLatin1String("bmp") || suffix == QLatin1String("jpg") ||
           suffix == QLatin1String("jpeg") || suffix == QLatin1String("png");
}

QString lowerSuffix(const QString& fileName) {
    return QFileInfo(fileName).suffix().toLower();
}

// The suffix a filter stands for: "*.bmp" gives ".bmp", the dpi filters and
// anything else ".tif".
QString filterSuffix(const QString& selectedFilter) {
    for (const char* suffix : {"bmp", "jpg", "png"}) {
        if (selectedFilter.contains(QStringLiteral("*.") + QLatin1String(suffix))) {
            return QStringLiteral(".") + QLatin1String(suffix);
        }
    }
    return QStringLiteral(".tif");
}

bool writeTiff(const QImage& picture, const QString& fileName, int resolution) {
    try {
        const cv::Mat mat = imageToMat(picture);
        if (mat.empty()) {
            return false;
        }
        const std::vector<int> params = {
            cv::IMWRITE_TIFF_RESUNIT, 2,          cv::IMWRITE_TIFF_XDPI,        resolution,
            cv::IMWRITE_TIFF_YDPI,    resolution, cv::IMWRITE_TIFF_COMPRESSION, 1};
        std::vector<uchar> bytes;
        if (!cv::imencode(".tif", mat, bytes, params)) {
            return false;
        }
        return pictures::writeWholeFile(fileName,
                                        QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<int>(bytes.size())));
    } catch (const cv::Exception& e) {
        qWarning() << "TIFF write failed:" << e.what();
    } catch (const std::bad_alloc&) {
        qWarning() << "TIFF write failed: out of memory.";
    }
    return false;
}

}  // namespace

QString saveFilters() {
    return QStringLiteral("600dpi(*.tif);;300dpi(*.tif);;*.bmp;;*.jpg;;*.png");
}

QString fileNameForSave(const QString& name, const QString& selectedFilter) {
    const QString suffix = lowerSuffix(name);
    if (isQtSuffix(suffix) || suffix == QLatin1String("tif") || suffix == QLatin1String("tiff")) {
        return name;
    }
    return name + filterSuffix(selectedFilter);
}

bool isTiffName(const QString& fileName) {
    const QString suffix = lowerSuffix(fileName);
    return suffix == QLatin1String("tif") || suffix == QLatin1String("tiff");
}

int tiffResolution(const QString& selectedFilter) {
    if (selectedFilter.contains(QLatin1String("300"))) {
        return 300;
    }
    if (selectedFilter.contains(QLatin1String("600"))) {
        return 600;
    }
    return 0;
}

SaveResult savePicture(const QImage& picture, const QString& name, const QString& selectedFilter) {
    SaveResult result;
    result.fileName = fileNameForSave(name, selectedFilter);
    if (picture.isNull()) {
        return result;
    }
    if (isTiffName(result.fileName)) {
        result.tiff = true;
        result.written = writeTiff(picture, result.fileName, tiffResolution(selectedFilter));
    } else {
        const QByteArray format = lowerSuffix(result.fileName).toLatin1();
        result.written = pictures::savePictureWhole(picture, result.fileName, format.constData());
    }
    return result;
}

LoadResult loadPicture(const QString& path) {
    LoadResult result;
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && !pictures::withinLimits(size)) {
        qDebug() << "picture too large:" << size;
        result.error = LoadError::TooLarge;
        return result;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        qDebug() << "picture not read:" << reader.errorString();
        result.error = LoadError::NotSupported;
        return result;
    }
    result.picture = image.convertToFormat(QImage::Format_RGB32);
    qDebug() << result.picture.format();
    if (result.picture.format() != QImage::Format_RGB32) {
        result.error = LoadError::NotSupported;
        result.picture = QImage();
    }
    return result;
}

}  // namespace imageops
