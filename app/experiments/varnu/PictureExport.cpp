#include "PictureExport.h"

#include "camera/GelPictureFiles.h"
#include "camera/UncompressedTiff.h"
#include "pictures/PictureFileWrite.h"

#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <opencv2/core.hpp>

namespace {

// "*.png" of a filter such as "*.png" or "600dpi(*.tif)".
QString filterSuffix(const QString& filter) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    return match.hasMatch() ? match.captured(1).toLower() : QStringLiteral("tif");
}

}  // namespace

PictureExportPlan planPictureExport(const QString& chosenName, const QString& selectedFilter) {
    PictureExportPlan plan;
    plan.path = chosenName;
    QString suffix = QFileInfo(chosenName).suffix().toLower();
    if (suffix.isEmpty()) {
        suffix = filterSuffix(selectedFilter);
        plan.path += QStringLiteral(".") + suffix;
    }
    plan.tiff = !(suffix == QLatin1String("bmp") || suffix == QLatin1String("jpg") ||
                  suffix == QLatin1String("jpeg") || suffix == QLatin1String("png"));
    plan.dpi = selectedFilter.contains(QLatin1String("300")) ? 300 : 600;
    return plan;
}

bool writePictureExport(const PictureExportPlan& plan, const QImage& picture) {
    if (picture.isNull()) {
        return false;
    }
    if (!plan.tiff) {
        return pictures::savePictureWhole(picture, plan.path);
    }
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const cv::Mat view(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                       static_cast<size_t>(grey.bytesPerLine()));
    return writeUncompressedTiff(plan.path, view.clone(), plan.dpi);
}
