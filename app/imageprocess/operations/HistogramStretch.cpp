#include "HistogramStretch.h"

#include <array>
#include <cstdint>

namespace imageops {

int stretchValue(int value, int minInten, int maxInten) {
    if (value < minInten) {
        return 0;
    }
    if (value > maxInten) {
        return 255;
    }
    if (maxInten == minInten) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(value - minInten) / (maxInten - minInten) * 255.0);
}

namespace {

// Stretches blue, green and red of 32-bit pixels in place; alpha stays.
void stretchColourBytes(QImage& image, const std::array<uint32_t, 256>& table) {
    for (int y = 0; y < image.height(); ++y) {
        auto* pixel = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uint32_t p = pixel[x];
            pixel[x] = (p & 0xFF000000u) | (table[(p >> 16) & 0xFF] << 16) |
                       (table[(p >> 8) & 0xFF] << 8) | table[p & 0xFF];
        }
    }
}

}  // namespace

QImage stretchPicture(const QImage& image, int minInten, int maxInten) {
    const QImage::Format format = image.format();
    QImage result;
    if (format == QImage::Format_RGB32) {
        result = image.copy();
    } else if (format == QImage::Format_ARGB32_Premultiplied) {
        result = image.convertToFormat(QImage::Format_ARGB32);
    } else {
        return {};
    }
    if (result.isNull()) {
        return {};
    }
    std::array<uint32_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        table[static_cast<size_t>(v)] = static_cast<uint32_t>(stretchValue(v, minInten, maxInten));
    }
    stretchColourBytes(result, table);
    if (format == QImage::Format_ARGB32_Premultiplied) {
        result = result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    return result;
}

}  // namespace imageops
