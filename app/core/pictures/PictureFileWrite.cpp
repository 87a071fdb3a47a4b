#include "pictures/PictureFileWrite.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

namespace pictures {

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    // Unbuffered, so that a short write shows in write()'s count; a buffered
    // one would lose it when the buffer is flushed at commit().
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit()) {
        return true;
    }
    if (error != nullptr) {
        *error = QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
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
