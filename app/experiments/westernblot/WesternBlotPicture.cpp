#include "WesternBlotPicture.h"

#include "camera/TucsenImageHeader.h"

#include <QtEndian>

#include <vector>

QImage westernBlotScreenImage(const unsigned char* buffer, std::size_t capacity) {
    TucsenImageHeader header;
    if (buffer == nullptr || !TucsenImageHeader::read(buffer, capacity, &header) ||
        header.width == 0 || header.height == 0) {
        return QImage();
    }
    const int step = header.bytesPerSample();
    // The high byte of a little-endian 16-bit sample is its second.
    const unsigned char* sample = buffer + header.dataOffset + (step == 2 ? 1 : 0);
    // 32-bit pixels: what the screen and the smooth scaling work in, so
    // neither converts the picture again.
    QImage image(header.width, header.height, QImage::Format_RGB32);
    if (image.isNull()) {
        return image;
    }
    for (int y = 0; y < header.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(header.height - 1 - y));
        if (header.channels == 1) {
            for (int x = 0; x < header.width; ++x, sample += step) {
                row[x] = qRgb(*sample, *sample, *sample);
            }
        } else {
            for (int x = 0; x < header.width; ++x, sample += 3 * step) {
                row[x] = qRgb(sample[0], sample[step], sample[2 * step]);
            }
        }
    }
    return image;
}

bool stretchPicture(unsigned char* buffer, std::size_t capacity, int minimum, int maximum) {
    TucsenImageHeader header;
    if (buffer == nullptr || !TucsenImageHeader::read(buffer, capacity, &header)) {
        return false;
    }
    // One table for all samples: a 2048 x 2048 picture has 4 M samples and
    // only 64 K levels.
    const std::vector<quint16> table = stretchTable(minimum, maximum);
    unsigned char* samples = buffer + header.dataOffset;
    const std::size_t count = header.sampleCount();
    if (header.bytesPerSample() == 1) {
        for (std::size_t i = 0; i < count; ++i) {
            samples[i] = static_cast<unsigned char>(table[samples[i] * 257] >> 8);
        }
        return true;
    }
    for (std::size_t i = 0; i < count; ++i) {
        unsigned char* sample = samples + 2 * i;
        qToLittleEndian(table[qFromLittleEndian<quint16>(sample)], sample);
    }
    return true;
}
