#include "WesternBlotFiles.h"

#include "PictureExport.h"
#include "WesternBlotPicture.h"
#include "camera/TucsenPictureOps.h"
#include "camera/UncompressedTiff.h"
#include "pictures/PictureFileWrite.h"

#include <QDir>
#include <QFileInfo>

#include <opencv2/core.hpp>

bool writeWesternBlotExport(const PictureExportPlan& plan, const unsigned char* picture,
                            std::size_t capacity) {
    if (picture == nullptr) {
        return false;
    }
    if (!plan.tiff) {
        const QImage screen = westernBlotScreenImage(picture, capacity);
        return !screen.isNull() && pictures::savePictureWhole(screen, plan.path);
    }
    const cv::Mat stored = TucsenPictureOps::storedImage(picture, capacity);
    return !stored.empty() && writeUncompressedTiff(plan.path, stored, plan.dpi);
}

QStringList listCapturedTifs(const QString& folder) {
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*.tif")}, QDir::Files, QDir::Name);
    return names.isEmpty() ? QStringList{QString()} : names;
}
