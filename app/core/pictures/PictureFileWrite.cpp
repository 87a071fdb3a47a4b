#include "pictures/PictureFileWrite.h"

#include "platform/FileSystem.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <cstring>

namespace pictures {

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    const int failure = plat::WriteWholeFile(QFile::encodeName(path).toStdString(),
                                             bytes.constData(), static_cast<size_t>(bytes.size()));
    if (failure == 0) {
        return true;
    }
    if (error != nullptr) {
        *error = QStringLiteral("%1 cannot be written: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(failure)));
    }
    return false;
}

bool savePictureWhole(const QImage& picture, const QString& path, const char* format,
                      QString* error) {
    const QByteArray type =
        format != nullptr ? QByteArray(format) : QFileInfo(path).suffix().toLower().toLatin1();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, type);
    if (picture.isNull() || !writer.write(picture)) {
        if (error != nullptr) {
            *error = QStringLiteral("%1 cannot be encoded as %2: %3")
                         .arg(path, QString::fromLatin1(type), writer.errorString());
        }
        return false;
    }
    return writeWholeFile(path, bytes, error);
}

}  // namespace pictures
