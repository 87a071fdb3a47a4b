// Darkened regions in bottom-up frames of 8, 24 and 32 bits per pixel: the
// whole buffer is compared with one darkened pixel by pixel in the test.
#include <gtest/gtest.h>

#include <vector>

#include "acquisition/RegionOverlay.h"

namespace {

struct Rect {
    int x, y, width, height;
};

// A frame whose bytes run through all values, with a row padding and a
// guard zone behind it that must stay untouched.
std::vector<uint8_t> PatternFrame(size_t nBytes) {
    std::vector<uint8_t> frame(nBytes);
    for (size_t i = 0; i < nBytes; ++i) {
        frame[i] = static_cast<uint8_t>(i * 7);
    }
    return frame;
}

// The frame with the colour bytes of every pixel in the picture rectangle
// darkened by 10, down to 0; picture row y is buffer row height - 1 - y.
std::vector<uint8_t> Darkened(std::vector<uint8_t> frame, int nWidth, int nHeight, int nBitCount,
                              const Rect& picture) {
    const size_t nStride = ((static_cast<size_t>(nBitCount) * nWidth + 31) / 32) * 4;
    const int nPixelBytes = nBitCount / 8;
    const int nColourBytes = nBitCount == 8 ? 1 : 3;
    for (int y = picture.y; y < picture.y + picture.height; ++y) {
        for (int x = picture.x; x < picture.x + picture.width; ++x) {
            uint8_t* pPixel = &frame[(nHeight - 1 - y) * nStride + x * nPixelBytes];
            for (int b = 0; b < nColourBytes; ++b) {
                pPixel[b] = pPixel[b] >= 10 ? pPixel[b] - 10 : 0;
            }
        }
    }
    return frame;
}

TEST(RegionOverlayTest, DarkensTheClippedRegionOnly) {
    constexpr int kWidth = 7;  // rows of 8-bit and 24-bit frames are padded
    constexpr int kHeight = 5;
    const struct {
        Rect region;   // as set
        Rect picture;  // what is darkened, in picture coordinates
    } kCases[] = {
        {{1, 1, 3, 2}, {1, 1, 3, 2}},   {{0, 0, kWidth, kHeight}, {0, 0, kWidth, kHeight}},
        {{5, 3, 10, 10}, {5, 3, 2, 2}},  // reaches past the frame
        {{-3, -2, 2, 2}, {0, 0, 2, 2}},  // negative x and y count as 0
        {{20, 20, 4, 4}, {6, 4, 1, 1}},  // beyond the frame: its last pixel
        {{2, 2, 0, -1}, {2, 2, 1, 1}},   // at least one pixel
    };
    for (const int nBitCount : {8, 24, 32}) {
        const size_t nStride = ((static_cast<size_t>(nBitCount) * kWidth + 31) / 32) * 4;
        const size_t nFrameBytes = nStride * kHeight;
        for (const auto& c : kCases) {
            // Guard bytes behind the frame show writes past its end.
            std::vector<uint8_t> frame = PatternFrame(nFrameBytes + 16);
            const std::vector<uint8_t> expected =
                Darkened(frame, kWidth, kHeight, nBitCount, c.picture);
            DarkenRegion(frame.data(), kWidth, kHeight, nBitCount, c.region.x, c.region.y,
                         c.region.width, c.region.height);
            EXPECT_EQ(frame, expected)
                << nBitCount << " bits, region " << c.region.x << ", " << c.region.y << ", "
                << c.region.width << ", " << c.region.height;
        }
    }
}

TEST(RegionOverlayTest, DarkPixelsStopAtBlack) {
    std::vector<uint8_t> frame = {0, 5, 9, 10, 11, 255, 0, 0};  // one 8-bit row of 6 pixels
    DarkenRegion(frame.data(), 6, 1, 8, 0, 0, 6, 1);
    EXPECT_EQ(frame, (std::vector<uint8_t>{0, 0, 0, 0, 1, 245, 0, 0}));

    std::vector<uint8_t> rgbx = {3, 12, 200, 7};  // one 32-bit pixel: B, G, R, X
    DarkenRegion(rgbx.data(), 1, 1, 32, 0, 0, 1, 1);
    EXPECT_EQ(rgbx, (std::vector<uint8_t>{0, 2, 190, 7}));
}

TEST(RegionOverlayTest, OtherBitCountsAndEmptyFramesStayAsTheyAre) {
    const std::vector<uint8_t> original = PatternFrame(64);
    for (const int nBitCount : {0, 16, 48}) {
        std::vector<uint8_t> frame = original;
        DarkenRegion(frame.data(), 4, 4, nBitCount, 0, 0, 4, 4);
        EXPECT_EQ(frame, original) << nBitCount;
    }
    std::vector<uint8_t> frame = original;
    DarkenRegion(frame.data(), 0, 4, 8, 0, 0, 4, 4);
    DarkenRegion(frame.data(), 4, 0, 8, 0, 0, 4, 4);
    DarkenRegion(nullptr, 4, 4, 8, 0, 0, 4, 4);
    EXPECT_EQ(frame, original);
}

}  // namespace
