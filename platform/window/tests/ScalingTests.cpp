// Scaling a whole DIB into another (platwin_stretch_to_dib) against the
// reference: exact box averages, nearest sampling, channels, row order,
// padding, and the arguments it refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ReferenceScale.h"
#include "window/PlatWindow.h"

namespace {

using reference::DibInfo;
using reference::Picture;

// Scales picture to width x height through the library; a negative height
// asks for top-down rows, which are read back as such.
Picture StretchToDib(const Picture& picture, int width, int height) {
    const std::vector<uint8_t> source = reference::ToDibRows(picture);
    const PlatBitmapInfo sourceInfo = DibInfo(picture.width, picture.height, picture.bytesPerPixel);
    const PlatBitmapInfo destinationInfo = DibInfo(width, height, picture.bytesPerPixel);
    std::vector<uint8_t> destination(destinationInfo.bmiHeader.biSizeImage, 0xA5);
    EXPECT_EQ(
        platwin_stretch_to_dib(source.data(), &sourceInfo, destination.data(), &destinationInfo),
        1);
    const int rows = height < 0 ? -height : height;
    return reference::FromDibRows(destination.data(), width, rows, picture.bytesPerPixel,
                                  height < 0);
}

TEST(ReferenceScaleTest, AveragesAndSamplesAsDefined) {
    // 4x1 grey to 2x1: pairs averaged, halves rounded up.
    EXPECT_EQ(reference::Scale({4, 1, 1, {0, 1, 10, 20}}, 2, 1).samples,
              (std::vector<uint8_t>{1, 15}));
    // 3x1 to 2x1: each destination pixel covers one and a half source pixels.
    EXPECT_EQ(reference::Scale({3, 1, 1, {30, 60, 90}}, 2, 1).samples,
              (std::vector<uint8_t>{40, 80}));
    // 2x1 to 3x1 (enlarged): centres at 1/3, 1, 5/3 source pixels.
    EXPECT_EQ(reference::Scale({2, 1, 1, {7, 9}}, 3, 1).samples, (std::vector<uint8_t>{7, 9, 9}));
}

struct SizeCase {
    int sourceWidth, sourceHeight, width, height;
};

class ScaleSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ScaleSizeTest, MatchesTheReferenceForEveryBitCount) {
    const SizeCase& c = GetParam();
    for (int bytesPerPixel : {1, 3, 4}) {
        const Picture source = reference::RandomPicture(c.sourceWidth, c.sourceHeight,
                                                        bytesPerPixel, 7 * c.width + c.height);
        EXPECT_EQ(StretchToDib(source, c.width, c.height),
                  reference::Scale(source, c.width, c.height))
            << bytesPerPixel * 8 << " bits";
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScaleSizeTest,
                         ::testing::Values(SizeCase{8, 6, 4, 3},      // halved
                                           SizeCase{12, 12, 4, 3},    // thirds and quarters
                                           SizeCase{30, 7, 6, 1},     // fifths, all rows in one
                                           SizeCase{7, 5, 3, 2},      // partial pixels on both axes
                                           SizeCase{97, 61, 13, 17},  // coprime sizes
                                           SizeCase{1, 9, 1, 3},      // one column
                                           SizeCase{9, 1, 2, 1},      // one row
                                           SizeCase{1, 1, 5, 4},      // one pixel enlarged
                                           SizeCase{3, 2, 7, 5},      // enlarged
                                           SizeCase{10, 3, 4, 8},     // shrunk across, enlarged up
                                           SizeCase{5, 3, 5, 3},      // same size
                                           SizeCase{40, 91, 7, 5}));  // long row spans

// The preview's ratio (2592 x 1944 into 1000 x 750) and other sizes whose
// 8-bit rows are summed in groups of eight samples, with partial groups at
// the ends of rows.
const SizeCase kGroupedSizes[] = {
    {324, 40, 125, 15},  // the preview's ratio
    {130, 20, 100, 9},   // short spans
    {101, 7, 50, 3},     // a partial group
    {64, 3, 40, 8},      // shrunk across, enlarged up
    {350, 10, 100, 3},   // long spans: groups only where they fit
    {130, 60, 100, 9},   // row spans of up to eight rows, summed four at a time
    {130, 200, 100, 9},  // rows summed one after the other, not in a ring
};
INSTANTIATE_TEST_SUITE_P(GroupedSizes, ScaleSizeTest, ::testing::ValuesIn(kGroupedSizes));

// Darkest and brightest samples where pairs of taps weigh close to the most
// the grouped sums allow (255 into 128: taps of up to 128, pairs of up to 255
// of 256) and beyond it (383 into 192: pairs of up to 383, which must be
// summed otherwise): uniform pictures keep their value, stripes average as
// the reference does.
TEST(ScaleTest, ExtremeSamplesAtLargePairWeights) {
    const int height = 4;
    for (const int width : {255, 383}) {
        const int scaledWidth = (width + 1) / 2;
        for (const uint8_t value : {uint8_t{0}, uint8_t{255}}) {
            const Picture uniform{width, height, 1, std::vector<uint8_t>(width * height, value)};
            EXPECT_EQ(StretchToDib(uniform, scaledWidth, 2).samples,
                      std::vector<uint8_t>(scaledWidth * 2, value))
                << width << " wide, value " << int{value};
        }
        Picture stripes{width, height, 1, {}};
        for (int i = 0; i < width * height; ++i) {
            stripes.samples.push_back(i % width % 3 == 0 ? 0 : 255);
        }
        EXPECT_EQ(StretchToDib(stripes, scaledWidth, 2), reference::Scale(stripes, scaledWidth, 2))
            << width << " wide";
    }
}

TEST(ScaleTest, SameSizeCopiesThePixels) {
    for (int bytesPerPixel : {1, 3, 4}) {
        const Picture source = reference::RandomPicture(5, 3, bytesPerPixel, 11);
        EXPECT_EQ(StretchToDib(source, 5, 3), source);
    }
}

TEST(ScaleTest, WholeFactorShrinkGivesTheBoxAverageOfEachChannel) {
    // 32 bits, 2x2 boxes: channel k of pixel (x, y) is 10 * k + x + 2 * y.
    Picture source{4, 2, 4, {}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            for (int k = 0; k < 4; ++k) {
                source.samples.push_back(static_cast<uint8_t>(10 * k + x + 2 * y));
            }
        }
    }
    // Left box: x 0..1, y 0..1 -> 10k + 2 (average 2.0); right box 10k + 4.
    const Picture expected{2, 1, 4, {2, 12, 22, 32, 4, 14, 24, 34}};
    EXPECT_EQ(StretchToDib(source, 2, 1), expected);
}

TEST(ScaleTest, NegativeDestinationHeightStoresTheSameRowsTopDown) {
    const Picture source = reference::RandomPicture(9, 7, 3, 3);
    const Picture bottomUp = StretchToDib(source, 4, 3);
    EXPECT_EQ(StretchToDib(source, 4, -3), bottomUp);  // read back top-down

    // And in memory the first row is the top one.
    const std::vector<uint8_t> bits = reference::ToDibRows(source);
    const PlatBitmapInfo sourceInfo = DibInfo(9, 7, 3);
    const PlatBitmapInfo topDownInfo = DibInfo(4, -3, 3);
    std::vector<uint8_t> topDown(topDownInfo.bmiHeader.biSizeImage);
    ASSERT_EQ(platwin_stretch_to_dib(bits.data(), &sourceInfo, topDown.data(), &topDownInfo), 1);
    const size_t stride = plat_dib_stride(4, 24);
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(std::equal(&topDown[row * stride], &topDown[row * stride] + 12,
                               &bottomUp.samples[(2 - row) * 12]))
            << "memory row " << row;
    }
}

TEST(ScaleTest, ClearsRowPaddingAndWritesNothingBeyondTheImage) {
    const Picture source = reference::RandomPicture(10, 10, 3, 5);
    const std::vector<uint8_t> bits = reference::ToDibRows(source);
    const PlatBitmapInfo sourceInfo = DibInfo(10, 10, 3);
    const PlatBitmapInfo destinationInfo = DibInfo(5, 2, 3);  // rows of 15 + 1 bytes
    const size_t image = destinationInfo.bmiHeader.biSizeImage;
    std::vector<uint8_t> destination(image + 8, 0xEE);
    ASSERT_EQ(
        platwin_stretch_to_dib(bits.data(), &sourceInfo, destination.data(), &destinationInfo), 1);
    EXPECT_EQ(destination[15], 0);
    EXPECT_EQ(destination[31], 0);
    for (size_t i = image; i < destination.size(); ++i) {
        EXPECT_EQ(destination[i], 0xEE) << i;
    }
}

TEST(ScaleTest, LargeCoprimeSizesStayWithinOneStepOfTheExactAverage) {
    // Exact weight totals of 4507 x 4409 would overflow 32-bit sums (255 x
    // 4507 x 4409 > 2^32); they must be rescaled without drifting.
    const Picture source = reference::RandomPicture(4507, 4409, 1, 13);
    const Picture scaled = StretchToDib(source, 10, 10);
    const Picture expected = reference::Scale(source, 10, 10);
    for (size_t i = 0; i < expected.samples.size(); ++i) {
        EXPECT_NEAR(scaled.samples[i], expected.samples[i], 1) << i;
    }
    // Constant pictures stay constant whatever the weights.
    Picture white{4507, 4409, 1, std::vector<uint8_t>(source.samples.size(), 255)};
    EXPECT_EQ(StretchToDib(white, 3, 3).samples, std::vector<uint8_t>(9, 255));
}

TEST(ScaleTest, RefusesBadArgumentsWithoutWriting) {
    const std::vector<uint8_t> bits(plat_dib_stride(4, 24) * 4, 1);
    const PlatBitmapInfo good = DibInfo(4, 4, 3);
    const PlatBitmapInfo target = DibInfo(2, 2, 3);
    struct Case {
        const char* what;
        void (*spoil)(PlatBitmapInfo& source, PlatBitmapInfo& destination);
    };
    const Case cases[] = {
        {"source width 0", [](PlatBitmapInfo& s, PlatBitmapInfo&) { s.bmiHeader.biWidth = 0; }},
        {"top-down source", [](PlatBitmapInfo& s, PlatBitmapInfo&) { s.bmiHeader.biHeight = -4; }},
        {"16-bit", [](PlatBitmapInfo& s,
                      PlatBitmapInfo& d) { s.bmiHeader.biBitCount = d.bmiHeader.biBitCount = 16; }},
        {"bit counts differ",
         [](PlatBitmapInfo&, PlatBitmapInfo& d) {
             d.bmiHeader.biBitCount = 32;
             d.bmiHeader.biSizeImage = 64;
         }},
        {"compressed", [](PlatBitmapInfo& s, PlatBitmapInfo&) { s.bmiHeader.biCompression = 1; }},
        {"destination width -2",
         [](PlatBitmapInfo&, PlatBitmapInfo& d) { d.bmiHeader.biWidth = -2; }},
        {"destination height 0",
         [](PlatBitmapInfo&, PlatBitmapInfo& d) { d.bmiHeader.biHeight = 0; }},
        {"image size short of the rows",
         [](PlatBitmapInfo&, PlatBitmapInfo& d) { d.bmiHeader.biSizeImage = 15; }},
    };
    for (const Case& c : cases) {
        PlatBitmapInfo source = good;
        PlatBitmapInfo destination = target;
        c.spoil(source, destination);
        std::vector<uint8_t> out(64, 0xEE);
        EXPECT_EQ(platwin_stretch_to_dib(bits.data(), &source, out.data(), &destination), 0)
            << c.what;
        EXPECT_EQ(out, std::vector<uint8_t>(64, 0xEE)) << c.what;
    }
    std::vector<uint8_t> out(64);
    EXPECT_EQ(platwin_stretch_to_dib(nullptr, &good, out.data(), &target), 0);
    EXPECT_EQ(platwin_stretch_to_dib(bits.data(), nullptr, out.data(), &target), 0);
    EXPECT_EQ(platwin_stretch_to_dib(bits.data(), &good, nullptr, &target), 0);
    EXPECT_EQ(platwin_stretch_to_dib(bits.data(), &good, out.data(), nullptr), 0);
}

}  // namespace
