// The histogram tool's numbers: grey bins, logarithm, thinning of the drawn
// curve and the grey range of the picture.

#include "GreyHistogram.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace imageops;

namespace {

// A picture whose pixels take the given grey levels in turn.
QImage greyLevels(const std::vector<int>& levels, int repeat = 1) {
    QImage image(static_cast<int>(levels.size()), repeat, QImage::Format_RGB32);
    for (int y = 0; y < repeat; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int g = levels[static_cast<size_t>(x)];
            image.setPixel(x, y, qRgb(g, g, g));
        }
    }
    return image;
}

std::vector<int> nonEmptyBins(const GreyHistogram& histogram) {
    std::vector<int> levels;
    for (int level = 0; level < 256; ++level) {
        if (histogram[static_cast<size_t>(level)] > 0.0) {
            levels.push_back(level);
        }
    }
    return levels;
}

}  // namespace

TEST(GreyHistogram, OneGreyLevelFillsOneBinWithTheLogOfItsCount) {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(qRgb(93, 93, 93));
    GreyHistogram histogram = computeGrayHistogram(image);
    EXPECT_EQ(nonEmptyBins(histogram), std::vector<int>{93});
    EXPECT_DOUBLE_EQ(histogram[93], std::log(36.0));
    const HistogramCurve curve = thinHistogramCurve(histogram);
    ASSERT_EQ(curve.points.size(), 256);
    EXPECT_EQ(curve.points[93], QPointF(93, std::log(36.0)));
    EXPECT_EQ(curve.minInten, 93);
    EXPECT_EQ(curve.maxInten, 93);
}

TEST(GreyHistogram, ColoursCountByTheirWeightedGrey) {
    struct Case {
        QRgb colour;
        int bin;
    };
    for (const Case& c :
         {Case{qRgb(255, 0, 0), 77}, Case{qRgb(0, 255, 0), 150}, Case{qRgb(0, 0, 255), 28},
          Case{qRgb(255, 255, 255), 255}, Case{qRgb(0, 0, 0), 0}, Case{qRgb(1, 1, 1), 1}}) {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, c.colour);
        EXPECT_EQ(nonEmptyBins(computeGrayHistogram(image)), std::vector<int>{c.bin})
            << std::hex << c.colour;
    }
    // Other formats count by the same colours.
    QImage grey(2, 1, QImage::Format_Grayscale8);
    grey.scanLine(0)[0] = 17;
    grey.scanLine(0)[1] = 200;
    EXPECT_EQ(nonEmptyBins(computeGrayHistogram(grey)), (std::vector<int>{17, 200}));
}

TEST(GreyHistogram, EveryThirdNonEmptyBinIsDrawnAtZeroButTheRangeKeepsIt) {
    struct Case {
        std::vector<int> levels;
        std::vector<int> drawn;
        int minInten;
        int maxInten;
    };
    const Case cases[] = {
        {{10, 20, 30}, {10, 20}, 10, 30},
        {{10, 20, 30, 40}, {10, 20, 40}, 10, 40},
        {{5, 6, 7, 8, 9, 10, 11}, {5, 6, 8, 9, 11}, 5, 11},
        {{0, 255}, {0, 255}, 0, 255},
    };
    for (const Case& c : cases) {
        GreyHistogram histogram = computeGrayHistogram(greyLevels(c.levels, 3));
        const HistogramCurve curve = thinHistogramCurve(histogram);
        EXPECT_EQ(nonEmptyBins(histogram), c.drawn);
        std::vector<int> drawnPoints;
        for (const QPointF& point : curve.points) {
            if (point.y() > 0) {
                drawnPoints.push_back(static_cast<int>(point.x()));
                EXPECT_DOUBLE_EQ(point.y(), std::log(4.0));
            }
        }
        EXPECT_EQ(drawnPoints, c.drawn);
        EXPECT_EQ(curve.minInten, c.minInten);
        EXPECT_EQ(curve.maxInten, c.maxInten);
    }
}

TEST(GreyHistogram, APictureWithoutPixelsHasNoRange) {
    for (const QImage& image : {QImage(), QImage(0, 0, QImage::Format_RGB32)}) {
        GreyHistogram histogram = computeGrayHistogram(image);
        EXPECT_TRUE(nonEmptyBins(histogram).empty());
        const HistogramCurve curve = thinHistogramCurve(histogram);
        EXPECT_EQ(curve.points.size(), 256);
        EXPECT_EQ(curve.minInten, 255);
        EXPECT_EQ(curve.maxInten, 0);
    }
}
