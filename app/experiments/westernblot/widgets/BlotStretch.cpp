#include "BlotStretch.h"

#include <algorithm>
#include <vector>

namespace {
constexpr int kTopLevel = 65535;
}  // namespace

quint16 stretchedLevel(int value, int minimum, int maximum) {
    if (value < minimum) {
        return 0;
    }
    if (value > maximum || minimum == maximum) {
        return kTopLevel;
    }
    const double share = static_cast<double>(value - minimum) / (maximum - minimum);
    return static_cast<quint16>(share * kTopLevel + 0.5);
}

QPair<int, int> automaticLevels(const QImage& picture) {
    QPair<int, int> range(kTopLevel, 0);
    if (picture.format() != QImage::Format_Grayscale16) {
        return range;
    }
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const quint16*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            range.first = std::min<int>(range.first, row[x]);
            range.second = std::max<int>(range.second, row[x]);
        }
    }
    return range;
}

std::vector<quint16> stretchTable(int minimum, int maximum) {
    minimum = qBound(0, minimum, kTopLevel);
    maximum = qBound(0, maximum, kTopLevel);
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    std::vector<quint16> table(kTopLevel + 1);
    for (int level = 0; level <= kTopLevel; ++level) {
        table[level] = stretchedLevel(level, minimum, maximum);
    }
    return table;
}

QImage stretchedForScreen(const QImage& picture, int minimum, int maximum) {
    if (picture.format() != QImage::Format_Grayscale16) {
        return picture;
    }
    const std::vector<quint16> table = stretchTable(minimum, maximum);
    QImage shown(picture.size(), QImage::Format_Grayscale8);
    if (shown.isNull()) {
        return shown;
    }
    for (int y = 0; y < picture.height(); ++y) {
        const auto* in = reinterpret_cast<const quint16*>(picture.constScanLine(y));
        uchar* out = shown.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            out[x] = static_cast<uchar>(table[in[x]] >> 8);
        }
    }
    return shown;
}
