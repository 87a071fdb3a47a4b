#include "PictureFile.h"

#include "pictures/PictureLimits.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <vector>

namespace varnu {

namespace {

constexpr qint64 kMaxPictureFileSize = qint64(1) << 30;

}  // namespace

bool loadDocumentPicture(const QString& path, DocumentPicture* picture, QString* error) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        *error = QStringLiteral("%1 is not a picture file").arg(path);
        return false;
    }
    if (info.size() > kMaxPictureFileSize) {
        *error = QStringLiteral("%1 is too large for a report").arg(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) {
        *error = QStringLiteral("%1 is empty").arg(path);
        return false;
    }

    // The header's size is checked before anything is decoded: a small
    // file can claim a picture of gigabytes.
    QBuffer header;
    header.setData(bytes);
    const QSize claimed = QImageReader(&header).size();
    if (claimed.isValid() && !pictures::withinLimits(claimed)) {
        *error = QStringLiteral("%1 is too large for a report (%2 x %3)")
                     .arg(path)
                     .arg(claimed.width())
                     .arg(claimed.height());
        return false;
    }

    cv::Mat image;
    try {
        // The matrix reads `bytes` in place; imdecode copies what it decodes.
        const cv::Mat encoded(1, bytes.size(), CV_8U, const_cast<char*>(bytes.constData()));
        image = cv::imdecode(encoded, cv::IMREAD_UNCHANGED);
    } catch (const cv::Exception& e) {
        *error = QStringLiteral("%1 cannot be decoded: %2").arg(path, QString::fromUtf8(e.what()));
        return false;
    }
    if (image.empty()) {
        *error = QStringLiteral("%1 is not a readable picture").arg(path);
        return false;
    }
    if (image.depth() == CV_16U) {
        cv::Mat scaled;
        image.convertTo(scaled, CV_8U, 1.0 / 257.0);
        image = scaled;
    } else if (image.depth() != CV_8U) {
        *error = QStringLiteral("%1 has samples that are neither 8 nor 16 bits").arg(path);
        return false;
    }

    std::vector<uchar> png;
    if (!cv::imencode(".png", image, png)) {
        *error = QStringLiteral("%1 cannot be encoded as PNG").arg(path);
        return false;
    }
    picture->png =
        QByteArray(reinterpret_cast<const char*>(png.data()), static_cast<int>(png.size()));
    picture->width = image.cols;
    picture->height = image.rows;
    if (!pictureResolution(bytes, &picture->dpiX, &picture->dpiY)) {
        picture->dpiX = 96.0;
        picture->dpiY = 96.0;
    }
    return true;
}

}  // namespace varnu
