#include "pictures/PictureLimits.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QtDebug>

namespace pictures {

bool withinLimits(const QSize& size) {
    return size.width() <= kMaxSide && size.height() <= kMaxSide &&
           static_cast<qint64>(size.width()) * size.height() <= kMaxPixels;
}

SizeCheck checkFile(const QString& path, QSize* headerSize) {
    QImageReader reader(path);
    const QSize size = reader.size();
    if (headerSize != nullptr) {
        *headerSize = size;
    }
    return size.isValid() && !withinLimits(size) ? SizeCheck::TooLarge : SizeCheck::Fits;
}

QImage loadForDisplay(const QString& path, SizeCheck* check) {
    QImageReader reader(path);
    const QSize size = reader.size();
    const bool tooLarge = size.isValid() && !withinLimits(size);
    if (check != nullptr) {
        *check = tooLarge ? SizeCheck::TooLarge : SizeCheck::Fits;
    }
    if (tooLarge) {
        qWarning().noquote() << QStringLiteral("picture too large to show: %1 (%2 x %3)")
                                    .arg(path)
                                    .arg(size.width())
                                    .arg(size.height());
        return QImage();
    }
    QImage image;
    if (!reader.read(&image)) {
        return QImage();
    }
    return image;
}

QString tooLargeMessage(const QStringList& fileNames) {
    return QCoreApplication::translate("PictureLimits", "This picture is too large to be shown: %1")
        .arg(fileNames.join(QStringLiteral(", ")));
}

}  // namespace pictures
