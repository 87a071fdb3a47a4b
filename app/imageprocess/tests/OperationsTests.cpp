// Golden tables of the picture operations: small fixture pictures and the
// bytes each operation must give, written down once and kept.

#include "BlackWhite.h"
#include "Dyeing.h"
#include "GelCapturePicture.h"
#include "HistogramStretch.h"
#include "Inversion.h"
#include "MatConversion.h"
#include "MedianFilter.h"
#include "PseudoColour.h"
#include "RectangleMapping.h"

#include <QColor>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace imageops;

namespace {

using Bytes = std::vector<int>;

// 3 x 2 pixels: red, blue, green / black, white, (10, 20, 30).
QImage fixturePicture() {
    QImage image(3, 2, QImage::Format_RGB32);
    const QRgb pixels[6] = {qRgb(255, 0, 0), qRgb(0, 0, 255),     qRgb(0, 255, 0),
                            qRgb(0, 0, 0),   qRgb(255, 255, 255), qRgb(10, 20, 30)};
    for (int i = 0; i < 6; ++i) {
        image.setPixel(i % 3, i / 3, pixels[i]);
    }
    return image;
}

Bytes matBytes(const cv::Mat& mat) {
    Bytes bytes;
    for (int r = 0; r < mat.rows; ++r) {
        const uchar* row = mat.ptr<uchar>(r);
        for (int c = 0; c < mat.cols * mat.channels(); ++c) {
            bytes.push_back(row[c]);
        }
    }
    return bytes;
}

// R, G, B of every pixel, row by row.
Bytes pictureRgb(const QImage& image) {
    Bytes bytes;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            bytes.insert(bytes.end(), {qRed(p), qGreen(p), qBlue(p)});
        }
    }
    return bytes;
}

}  // namespace

TEST(MatConversion, PictureBecomesBlueGreenRedAndComesBack) {
    const QImage picture = fixturePicture();
    const cv::Mat mat = imageToMat(picture);
    ASSERT_EQ(mat.type(), CV_8UC3);
    EXPECT_EQ(matBytes(mat),
              (Bytes{0, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 30, 20, 10}));
    const QImage back = matToImage(mat);
    EXPECT_EQ(back.format(), QImage::Format_RGB32);
    EXPECT_EQ(back, picture);
    EXPECT_EQ(qAlpha(back.pixel(2, 1)), 255);
}

TEST(MatConversion, RowPaddingAndPremultipliedPicturesAndRefusedFormats) {
    // Width 5: the matrix is read by the picture's own row length.
    QImage wide(5, 2, QImage::Format_RGB32);
    wide.fill(qRgb(1, 2, 3));
    wide.setPixel(4, 1, qRgb(7, 8, 9));
    const cv::Mat mat = imageToMat(wide);
    EXPECT_EQ(mat.at<cv::Vec3b>(1, 4), cv::Vec3b(9, 8, 7));
    EXPECT_EQ(matToImage(mat), wide);

    QImage premultiplied(2, 1, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(qRgba(40, 50, 60, 255));
    EXPECT_EQ(matBytes(imageToMat(premultiplied)), (Bytes{60, 50, 40, 60, 50, 40}));

    EXPECT_TRUE(imageToMat(QImage(2, 2, QImage::Format_RGB888)).empty());
    EXPECT_TRUE(imageToMat(QImage()).empty());
    EXPECT_TRUE(matToImage(cv::Mat()).isNull());
    EXPECT_TRUE(matToImage(cv::Mat(2, 2, CV_16UC3)).isNull());
}

struct ColourCase {
    const char* name;
    std::function<cv::Mat(const cv::Mat&)> operation;
    Bytes expectedRgb;  // of the fixture picture, row by row
};

class ColourOperation : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourOperation, GivesTheGoldenBytes) {
    const ColourCase& c = GetParam();
    const QImage result = matToImage(c.operation(imageToMat(fixturePicture())));
    ASSERT_EQ(result.format(), QImage::Format_RGB32);
    EXPECT_EQ(pictureRgb(result), c.expectedRgb);
}

INSTANTIATE_TEST_SUITE_P(
    Golden, ColourOperation,
    testing::Values(
        ColourCase{"inversion",
                   invert,
                   {0, 255, 255, 255, 255, 0, 255, 0, 255, 255, 255, 255, 0, 0, 0, 245, 235, 225}},
        // The station's grey: pure red 29, pure blue 76.
        ColourCase{"blackAndWhite",
                   blackAndWhite,
                   {29, 29, 29, 76, 76, 76, 150, 150, 150, 0, 0, 0, 255, 255, 255, 22, 22, 22}},
        ColourCase{"pseudoColour",
                   pseudoColour,
                   {0, 0, 244, 0, 176, 255, 218, 255, 38, 0, 0, 128, 128, 0, 0, 0, 0, 216}},
        // Red dye: black stays the dye colour, white comes within a step.
        ColourCase{
            "dyeRed",
            [](const cv::Mat& m) { return dye(m, dyeingTable(QColor(255, 0, 0))); },
            {255, 75, 75, 255, 28, 28, 255, 149, 149, 255, 0, 0, 255, 254, 254, 255, 17, 17}},
        ColourCase{
            "dyeBlue",
            [](const cv::Mat& m) { return dye(m, dyeingTable(QColor(0, 0, 255))); },
            {75, 75, 255, 28, 28, 255, 149, 149, 255, 0, 0, 255, 254, 254, 255, 17, 17, 255}}),
    [](const testing::TestParamInfo<ColourCase>& info) { return std::string(info.param.name); });

TEST(ColourOperation, TwoInversionsGiveBackThePicture) {
    const QImage picture = fixturePicture();
    EXPECT_EQ(matToImage(invert(imageToMat(matToImage(invert(imageToMat(picture)))))), picture);
}

TEST(ColourOperation, PseudoColourEndsOfTheJetMap) {
    cv::Mat ramp(1, 6, CV_8UC3);
    const int levels[6] = {0, 51, 102, 128, 204, 255};
    for (int i = 0; i < 6; ++i) {
        ramp.at<cv::Vec3b>(0, i) = cv::Vec3b(levels[i], levels[i], levels[i]);
    }
    EXPECT_EQ(matBytes(pseudoColour(ramp)),
              (Bytes{128, 0, 0, 255, 76, 0, 230, 255, 26, 126, 255, 130, 0, 76, 255, 0, 0, 128}));
}

TEST(DyeingTable, RowsRunFromTheColourTowardsWhite) {
    const cv::Mat table = dyeingTable(QColor(10, 100, 200));
    ASSERT_EQ(table.rows, 256);
    ASSERT_EQ(table.cols, 1);
    ASSERT_EQ(table.type(), CV_8UC3);
    EXPECT_EQ(table.at<cv::Vec3b>(0, 0), cv::Vec3b(200, 100, 10));
    EXPECT_EQ(table.at<cv::Vec3b>(128, 0), cv::Vec3b(227, 177, 132));
    EXPECT_EQ(table.at<cv::Vec3b>(255, 0), cv::Vec3b(254, 254, 254));
}

TEST(MedianFilter, ThreeByThreeMedianPerChannel) {
    // A 3 x 3 block in a black 5 x 5 picture, and one white pixel in the
    // top right corner.
    cv::Mat mat(5, 5, CV_8UC3, cv::Scalar(0, 0, 0));
    const cv::Vec3b block(200, 100, 50);
    for (int y = 1; y < 4; ++y) {
        for (int x = 1; x < 4; ++x) {
            mat.at<cv::Vec3b>(y, x) = block;
        }
    }
    mat.at<cv::Vec3b>(0, 4) = cv::Vec3b(255, 255, 255);
    const cv::Mat result = median3(mat);
    // 1 where the block survives, 0 where black.
    const int expected[5][5] = {
        {0, 0, 0, 0, 1}, {0, 0, 1, 1, 0}, {0, 1, 1, 1, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, 0, 0}};
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(result.at<cv::Vec3b>(y, x), expected[y][x] ? block : cv::Vec3b(0, 0, 0))
                << "at " << x << "," << y;
        }
    }
}

TEST(HistogramStretch, ValuesOfTheRange50To200) {
    const std::vector<std::pair<int, int>> cases = {{0, 0},     {49, 0},    {50, 0},    {125, 127},
                                                    {199, 253}, {200, 255}, {201, 255}, {255, 255}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(stretchValue(value, 50, 200), expected) << value;
    }
    // An empty range: below 0, above 255, the value itself 0.
    EXPECT_EQ(stretchValue(99, 100, 100), 0);
    EXPECT_EQ(stretchValue(100, 100, 100), 0);
    EXPECT_EQ(stretchValue(101, 100, 100), 255);
    EXPECT_EQ(stretchValue(255, 255, 255), 0);
}

TEST(HistogramStretch, PictureKeepsItsAlphaAndFormat) {
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(49, 125, 201));
    picture.setPixel(1, 0, qRgb(50, 200, 255));
    const QImage stretched = stretchPicture(picture, 50, 200);
    ASSERT_EQ(stretched.format(), QImage::Format_RGB32);
    EXPECT_EQ(stretched.pixel(0, 0), qRgba(0, 127, 255, 255));
    EXPECT_EQ(stretched.pixel(1, 0), qRgba(0, 255, 255, 255));
    EXPECT_EQ(qAlpha(stretchPicture(picture, 255, 255).pixel(0, 0)), 255);

    // Half-transparent corner of a rotated picture: stretched as its
    // un-premultiplied colour (100 -> 127), alpha 128 kept.
    QImage rotated(1, 1, QImage::Format_ARGB32_Premultiplied);
    rotated.fill(qPremultiply(qRgba(100, 100, 100, 128)));
    const QImage result = stretchPicture(rotated, 50, 150);
    ASSERT_EQ(result.format(), QImage::Format_ARGB32_Premultiplied);
    const QRgb colour = qUnpremultiply(result.pixel(0, 0));
    EXPECT_EQ(qAlpha(colour), 128);
    EXPECT_NEAR(qRed(colour), 127, 1);

    EXPECT_TRUE(stretchPicture(QImage(), 0, 255).isNull());
}

struct MappingCase {
    const char* name;
    QSize area;
    QSize picture;
    double zoom;
    QRect labelRect;
    QPoint offset;
    QRect crop;
    QRect text;
};

class RectangleMapping : public testing::TestWithParam<MappingCase> {};

TEST_P(RectangleMapping, OffsetCropAndTextRectangles) {
    const MappingCase& c = GetParam();
    EXPECT_EQ(labelOffset(c.area, c.picture, c.zoom), c.offset);
    EXPECT_EQ(cropRectangle(c.labelRect, c.picture, c.zoom, c.area), c.crop);
    EXPECT_EQ(textRectangle(c.labelRect, c.picture, c.zoom, c.area), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, RectangleMapping,
                         testing::Values(
                             // A 200 x 100 picture centred in 600 x 400 at zoom 1: a rectangle
                             // exactly around it is the whole picture.
                             MappingCase{"fits",
                                         {600, 400},
                                         {200, 100},
                                         1.0,
                                         QRect(QPoint(200, 150), QPoint(399, 249)),
                                         {200, 150},
                                         QRect(0, 0, 200, 100),
                                         QRect(4, 4, 200, 100)},
                             // Zoom 2: 100 x 50 label pixels are 50 x 25 picture pixels.
                             MappingCase{"fitsZoom2",
                                         {600, 400},
                                         {200, 100},
                                         2.0,
                                         QRect(QPoint(110, 110), QPoint(209, 159)),
                                         {100, 100},
                                         QRect(5, 5, 50, 25),
                                         QRect(9, 9, 50, 25)},
                             // Taller than the area: the width leaves room for the scroll bar.
                             MappingCase{"taller",
                                         {600, 400},
                                         {200, 300},
                                         2.0,
                                         QRect(QPoint(85, 0), QPoint(184, 49)),
                                         {85, 0},
                                         QRect(0, 0, 50, 25),
                                         QRect(4, 4, 50, 25)},
                             MappingCase{"tallerNoRoom",
                                         {420, 400},
                                         {200, 300},
                                         2.0,
                                         QRect(QPoint(10, 10), QPoint(19, 19)),
                                         {0, 0},
                                         QRect(5, 5, 5, 5),
                                         QRect(9, 9, 5, 5)},
                             MappingCase{"wider",
                                         {400, 600},
                                         {300, 200},
                                         2.0,
                                         QRect(QPoint(0, 85), QPoint(49, 184)),
                                         {0, 85},
                                         QRect(0, 0, 25, 50),
                                         QRect(4, 4, 25, 50)},
                             MappingCase{"both",
                                         {300, 300},
                                         {400, 400},
                                         1.0,
                                         QRect(QPoint(10, 20), QPoint(59, 69)),
                                         {0, 0},
                                         QRect(10, 20, 50, 50),
                                         QRect(14, 24, 50, 50)},
                             // Dragged up and to the left: normalised before use.
                             MappingCase{"reversed",
                                         {600, 400},
                                         {200, 100},
                                         1.0,
                                         QRect(QPoint(399, 249), QPoint(200, 150)),
                                         {200, 150},
                                         QRect(0, 0, 200, 100),
                                         QRect(4, 4, 200, 100)},
                             // A zoom that is not positive maps nothing.
                             MappingCase{"zoom0",
                                         {600, 400},
                                         {200, 100},
                                         0.0,
                                         QRect(QPoint(0, 0), QPoint(9, 9)),
                                         {300, 200},
                                         QRect(),
                                         QRect()}),
                         [](const testing::TestParamInfo<MappingCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(RectangleMapping, FontPixelSize) {
    EXPECT_EQ(fontPixelSize(16), 21);
    EXPECT_EQ(fontPixelSize(12), 16);
    EXPECT_EQ(fontPixelSize(1), 1);
}

TEST(GelCapturePicture, BufferTurnedBy180DegreesWithUnpaddedRows) {
    // Width 5 (not a multiple of 4), 3 rows: byte = 10 * row + column.
    std::vector<uchar> buffer;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            buffer.push_back(static_cast<uchar>(10 * row + column));
        }
    }
    const QImage picture = gelCaptureToPicture(buffer.data(), 5, 3);
    ASSERT_EQ(picture.format(), QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(5, 3));
    const int expected[3][5] = {{24, 23, 22, 21, 20}, {14, 13, 12, 11, 10}, {4, 3, 2, 1, 0}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(picture.pixel(x, y), qRgb(expected[y][x], expected[y][x], expected[y][x]));
        }
    }
    EXPECT_TRUE(gelCaptureToPicture(nullptr, 5, 3).isNull());
    EXPECT_TRUE(gelCaptureToPicture(buffer.data(), 0, 3).isNull());
}
