#include "GreyHistogram.h"

#include <cmath>
#include <cstdint>

namespace imageops {

namespace {

// The grey bin of every byte triple is (30R + 59G + 11B + 50) / 100; the
// three weighted parts come from tables so the loop only adds and divides.
struct Weights {
    std::array<uint16_t, 256> red{};
    std::array<uint16_t, 256> green{};
    std::array<uint16_t, 256> blue{};
    Weights() {
        for (int v = 0; v < 256; ++v) {
            red[static_cast<size_t>(v)] = static_cast<uint16_t>(30 * v + 50);
            green[static_cast<size_t>(v)] = static_cast<uint16_t>(59 * v);
            blue[static_cast<size_t>(v)] = static_cast<uint16_t>(11 * v);
        }
    }
};

bool isDirect32Bit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

GreyHistogram computeGrayHistogram(const QImage& image) {
    GreyHistogram histogram{};
    if (image.isNull()) {
        return histogram;
    }
    const QImage source =
        isDirect32Bit(image.format()) ? image : image.convertToFormat(QImage::Format_ARGB32);
    if (source.isNull()) {
        return histogram;
    }
    static const Weights weights;
    const auto bin = [](uint32_t p) {
        return (weights.red[(p >> 16) & 0xFFu] + weights.green[(p >> 8) & 0xFFu] +
                weights.blue[p & 0xFFu]) /
               100u;
    };
    // Four partial counts, one for each of four neighbouring pixels, so that
    // pixels falling in the same bin do not wait for each other.
    std::array<std::array<uint32_t, 256>, 4> counts{};
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const auto* pixel = reinterpret_cast<const uint32_t*>(source.constScanLine(y));
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            ++counts[0][bin(pixel[x])];
            ++counts[1][bin(pixel[x + 1])];
            ++counts[2][bin(pixel[x + 2])];
            ++counts[3][bin(pixel[x + 3])];
        }
        for (; x < width; ++x) {
            ++counts[0][bin(pixel[x])];
        }
    }
    for (size_t level = 0; level < histogram.size(); ++level) {
        const uint64_t count = static_cast<uint64_t>(counts[0][level]) + counts[1][level] +
                               counts[2][level] + counts[3][level];
        histogram[level] = std::log(static_cast<double>(count) + 1.0);
    }
    return histogram;
}

HistogramCurve thinHistogramCurve(GreyHistogram& histogram) {
    HistogramCurve curve;
    curve.points.reserve(static_cast<int>(histogram.size()));
    int counter = 0;
    for (size_t level = 0; level < histogram.size(); ++level) {
        double& bin = histogram[level];
        if (bin > 0.0) {
            const int grey = static_cast<int>(level);
            if (grey < curve.minInten) {
                curve.minInten = grey;
            }
            if (grey > curve.maxInten) {
                curve.maxInten = grey;
            }
            if (counter == 2) {
                bin = 0.0;
                counter = 0;
            } else {
                ++counter;
            }
        }
        curve.points.append(QPointF(static_cast<double>(level), bin));
    }
    return curve;
}

}  // namespace imageops
