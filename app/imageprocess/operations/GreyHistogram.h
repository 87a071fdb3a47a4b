#pragma once

#include <QImage>
#include <QList>
#include <QPointF>

#include <array>

namespace imageops {

// Grey-level histogram of a picture: one bin per level 0 to 255, each the
// natural logarithm of its pixel count plus one (an empty bin stays 0). A
// pixel of red R, green G and blue B counts in bin (30R + 59G + 11B + 50) / 100
// in integer arithmetic. The colour is read as the picture stores it; formats
// other than the 32-bit ones are converted first.
using GreyHistogram = std::array<double, 256>;
GreyHistogram computeGrayHistogram(const QImage& image);

// The histogram as the histogram tool draws and ranges it.
struct HistogramCurve {
    // 256 points (level, bin); of the non-empty bins, counted upwards from
    // the lowest, the 3rd, 6th, 9th ... are drawn at 0 to thin the curve.
    QList<QPointF> points;
    // The lowest and highest level of any non-empty bin, thinned or not;
    // 255 and 0 when every bin is empty.
    int minInten = 255;
    int maxInten = 0;
};
// Thins `histogram` in place as drawn and returns the curve and the range.
HistogramCurve thinHistogramCurve(GreyHistogram& histogram);

}  // namespace imageops
