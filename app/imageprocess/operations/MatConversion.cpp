#include "MatConversion.h"

#include <QMetaEnum>
#include <QtDebug>
#include <opencv2/imgproc.hpp>

namespace imageops {

cv::Mat imageToMat(const QImage& image) {
    if (image.format() != QImage::Format_RGB32 &&
        image.format() != QImage::Format_ARGB32_Premultiplied) {
        const QMetaEnum formats = QMetaEnum::fromType<QImage::Format>();
        qDebug() << QStringLiteral("不支持图片格式：") +
                        QLatin1String(formats.valueToKey(image.format()));
        return {};
    }
    // The bytes of a pixel are blue, green, red, alpha in memory.
    const cv::Mat wrapped(image.height(), image.width(), CV_8UC4,
                          const_cast<uchar*>(image.constBits()),
                          static_cast<size_t>(image.bytesPerLine()));
    cv::Mat bgr;
    cv::cvtColor(wrapped, bgr, cv::COLOR_BGRA2BGR);
    return bgr;
}

QImage matToImage(const cv::Mat& mat) {
    if (mat.empty() || mat.depth() != CV_8U || (mat.channels() != 3 && mat.channels() != 4)) {
        return {};
    }
    QImage image(mat.cols, mat.rows, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};  // not enough memory
    }
    // Converted straight into the picture's own rows.
    cv::Mat target(image.height(), image.width(), CV_8UC4, image.bits(),
                   static_cast<size_t>(image.bytesPerLine()));
    cv::cvtColor(mat, target, cv::COLOR_BGR2BGRA);
    return image;
}

}  // namespace imageops
