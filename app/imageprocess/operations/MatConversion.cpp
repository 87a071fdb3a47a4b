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
    cv::Mat bgra;
    cv::cvtColor(mat, bgra, cv::COLOR_BGR2BGRA);
    const QImage view(bgra.data, bgra.cols, bgra.rows, static_cast<int>(bgra.step),
                      QImage::Format_RGB32);
    return view.copy();
}

}  // namespace imageops
