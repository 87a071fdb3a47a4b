#include "CraftedPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QtEndian>

namespace craftedpictures {

namespace {

quint32 crc32(const char* data, int size) {
    quint32 crc = 0xFFFFFFFFu;
    for (int i = 0; i < size; ++i) {
        crc ^= static_cast<uchar>(data[i]);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QByteArray encoded(const char* format) {
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(100);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    grey.save(&buffer, format);
    return bytes;
}

// PNG: IHDR follows the 8-byte signature; width and height are its first
// two big-endian words, and the chunk's CRC covers its type and data.
QByteArray patchPng(QByteArray png, QSize claimed) {
    if (png.size() < 33) {
        return QByteArray();
    }
    quint32 words[2] = {qToBigEndian<quint32>(static_cast<quint32>(claimed.width())),
                        qToBigEndian<quint32>(static_cast<quint32>(claimed.height()))};
    png.replace(16, 8, reinterpret_cast<const char*>(words), 8);
    const quint32 crc = qToBigEndian<quint32>(crc32(png.constData() + 12, 4 + 13));
    png.replace(29, 4, reinterpret_cast<const char*>(&crc), 4);
    return png;
}

// JPEG: the baseline frame header (FF C0) holds height then width, after
// its length and precision.
QByteArray patchJpeg(QByteArray jpeg, QSize claimed) {
    const int sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0) {
        return QByteArray();
    }
    uchar* header = reinterpret_cast<uchar*>(jpeg.data()) + sof;
    qToBigEndian<quint16>(static_cast<quint16>(claimed.height()), header + 5);
    qToBigEndian<quint16>(static_cast<quint16>(claimed.width()), header + 7);
    return jpeg;
}

// TIFF (little-endian, as Qt writes it): the tags ImageWidth (256) and
// ImageLength (257) of the first directory, SHORT or LONG.
QByteArray patchTiff(QByteArray tiff, QSize claimed) {
    if (!tiff.startsWith("II")) {
        return QByteArray();
    }
    uchar* data = reinterpret_cast<uchar*>(tiff.data());
    const quint32 directory = qFromLittleEndian<quint32>(data + 4);
    const quint16 entries = qFromLittleEndian<quint16>(data + directory);
    for (quint16 i = 0; i < entries; ++i) {
        uchar* entry = data + directory + 2 + 12 * i;
        const quint16 tag = qFromLittleEndian<quint16>(entry);
        if (tag != 256 && tag != 257) {
            continue;
        }
        const quint32 value = static_cast<quint32>(tag == 256 ? claimed.width() : claimed.height());
        if (qFromLittleEndian<quint16>(entry + 2) == 3) {
            qToLittleEndian<quint16>(static_cast<quint16>(value), entry + 8);
        } else {
            qToLittleEndian<quint32>(value, entry + 8);
        }
    }
    return tiff;
}

}  // namespace

QByteArray pictureClaiming(const char* format, QSize claimed) {
    const QByteArray name(format);
    if (name == "png") {
        return patchPng(encoded("PNG"), claimed);
    }
    if (name == "jpg") {
        return patchJpeg(encoded("JPEG"), claimed);
    }
    if (name == "tif") {
        return patchTiff(encoded("TIFF"), claimed);
    }
    return QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

}  // namespace craftedpictures
