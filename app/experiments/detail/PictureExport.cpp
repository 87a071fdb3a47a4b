#include "PictureExport.h"

#include "pictures/PictureFileWrite.h"
#include "pictures/PictureLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <vector>

namespace {

// 96 dots per inch.
constexpr int kScreenDotsPerMeter = 3780;

const QStringList kQtSuffixes{QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                              QStringLiteral("png")};
const QStringList kTiffSuffixes{QStringLiteral("tif"), QStringLiteral("tiff")};

QString suffixOf(const QString& name) {
    return QFileInfo(name).suffix().toLower();
}

// "600dpi(*.tif)" gives "tif", "*.bmp" gives "bmp"; a filter without a
// pattern gives "tif", the station's picture format.
QString filterSuffix(const QString& selectedFilter) {
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("\\*\\.([A-Za-z0-9]+)")).match(selectedFilter);
    return match.hasMatch() ? match.captured(1).toLower() : QStringLiteral("tif");
}

cv::Mat readUnchanged(const QString& path) {
    if (pictures::checkFile(path) == pictures::SizeCheck::TooLarge) {
        return cv::Mat();
    }
    try {
        return cv::imread(QFile::encodeName(path).toStdString(), cv::IMREAD_UNCHANGED);
    } catch (const cv::Exception&) {
        return cv::Mat();
    }
}

bool writeTiff(const cv::Mat& picture, const QString& targetName, int resolution) {
    const std::vector<int> parameters{
        cv::IMWRITE_TIFF_RESUNIT, 2,          cv::IMWRITE_TIFF_XDPI,        resolution,
        cv::IMWRITE_TIFF_YDPI,    resolution, cv::IMWRITE_TIFF_COMPRESSION, 1};
    std::vector<uchar> bytes;
    try {
        if (!cv::imencode(".tif", picture, bytes, parameters)) {
            return false;
        }
    } catch (const cv::Exception&) {
        return false;
    }
    return pictures::writeWholeFile(
        targetName,
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size())));
}

}  // namespace

QString PictureExport::targetName(const QString& chosenName, const QString& selectedFilter) {
    const QString suffix = suffixOf(chosenName);
    if (kQtSuffixes.contains(suffix) || kTiffSuffixes.contains(suffix)) {
        return chosenName;
    }
    return chosenName + QLatin1Char('.') + filterSuffix(selectedFilter);
}

bool PictureExport::isTiff(const QString& targetName) {
    return kTiffSuffixes.contains(suffixOf(targetName));
}

int PictureExport::resolutionOf(const QString& selectedFilter) {
    if (selectedFilter.contains(QLatin1String("300"))) {
        return 300;
    }
    if (selectedFilter.contains(QLatin1String("600"))) {
        return 600;
    }
    return 0;
}

bool PictureExport::sourceReadable(const QString& sourcePath) {
    return !readUnchanged(sourcePath).empty();
}

PictureExport::Result PictureExport::write(const QString& sourcePath, const QString& targetName,
                                           const QString& selectedFilter) {
    // Written whole or not at all: a file the user already had stays as it
    // was when the export fails.
    bool written = false;
    if (isTiff(targetName)) {
        const cv::Mat picture = readUnchanged(sourcePath);
        if (picture.empty()) {
            return Result::SourceUnreadable;
        }
        written = writeTiff(picture, targetName, resolutionOf(selectedFilter));
    } else {
        QImage picture(sourcePath);
        if (picture.isNull()) {
            return Result::SourceUnreadable;
        }
        picture.setDotsPerMeterX(kScreenDotsPerMeter);
        picture.setDotsPerMeterY(kScreenDotsPerMeter);
        written = pictures::savePictureWhole(picture, targetName);
    }
    if (!written) {
        return Result::WriteFailed;
    }
    return Result::Written;
}
