// ZDQ_HelperStretchBmp against the reference scaler: the frame it writes, the
// row order, the padding, and the arguments it refuses. No ZDQ_Init is made.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ReferenceScale.h"
#include "ZDQApi.h"

namespace {

using reference::Picture;

// The destination buffer of |height| padded rows with guard bytes behind it.
constexpr size_t kGuard = 16;
constexpr unsigned char kUntouched = 0xEE;

size_t ImageBytes(int width, int height, int bitCount) {
    return plat_dib_stride(width, static_cast<uint16_t>(bitCount)) *
           static_cast<size_t>(height < 0 ? -height : height);
}

struct StretchCase {
    int sourceWidth, sourceHeight, bitCount, width, height;
};

class StretchHelperTest : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchHelperTest, WritesTheReferenceFrameWithClearedPadding) {
    const StretchCase& c = GetParam();
    const int bytesPerPixel = c.bitCount / 8;
    const Picture source =
        reference::RandomPicture(c.sourceWidth, c.sourceHeight, bytesPerPixel, 21 + c.width);
    const std::vector<uint8_t> bits = reference::ToDibRows(source);
    const size_t image = ImageBytes(c.width, c.height, c.bitCount);
    std::vector<unsigned char> dst(image + kGuard, kUntouched);
    ASSERT_EQ(ZDQ_HelperStretchBmp(bits.data(), c.sourceWidth, c.sourceHeight, c.bitCount,
                                   dst.data(), c.width, c.height),
              RET_SUCCESS);

    const int rows = c.height < 0 ? -c.height : c.height;
    EXPECT_EQ(reference::FromDibRows(dst.data(), c.width, rows, bytesPerPixel, c.height < 0),
              reference::Scale(source, c.width, rows));
    const size_t stride = plat_dib_stride(c.width, static_cast<uint16_t>(c.bitCount));
    const size_t rowBytes = static_cast<size_t>(c.width) * bytesPerPixel;
    for (size_t row = 0; row < static_cast<size_t>(rows); ++row) {
        for (size_t i = rowBytes; i < stride; ++i) {
            EXPECT_EQ(dst[row * stride + i], 0) << "padding of row " << row;
        }
    }
    for (size_t i = image; i < dst.size(); ++i) {
        EXPECT_EQ(dst[i], kUntouched) << "written past the image at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, StretchHelperTest,
    ::testing::Values(StretchCase{12, 9, 8, 4, 3},    // whole factor 3, grey
                      StretchCase{13, 7, 8, 5, 3},    // partial pixels, padded rows
                      StretchCase{10, 6, 24, 5, 2},   // halved across, thirds up
                      StretchCase{7, 5, 24, 3, -2},   // top-down destination
                      StretchCase{9, 4, 32, 9, 4},    // same size
                      StretchCase{3, 2, 32, 7, -5},   // enlarged, top-down
                      StretchCase{1, 6, 8, 1, 2},     // one column
                      StretchCase{6, 1, 24, 3, 1}));  // one row

TEST(StretchHelperTest, TopDownDestinationHoldsTheRowsInReverse) {
    const Picture source = reference::RandomPicture(8, 6, 1, 5);
    const std::vector<uint8_t> bits = reference::ToDibRows(source);
    std::vector<unsigned char> bottomUp(ImageBytes(4, 3, 8));
    std::vector<unsigned char> topDown(bottomUp.size());
    ASSERT_EQ(ZDQ_HelperStretchBmp(bits.data(), 8, 6, 8, bottomUp.data(), 4, 3), RET_SUCCESS);
    ASSERT_EQ(ZDQ_HelperStretchBmp(bits.data(), 8, 6, 8, topDown.data(), 4, -3), RET_SUCCESS);
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(std::equal(&topDown[row * 4], &topDown[row * 4] + 4, &bottomUp[(2 - row) * 4]))
            << row;
    }
}

TEST(StretchHelperTest, RefusesBadArgumentsWithoutWriting) {
    const std::vector<uint8_t> bits(plat_dib_stride(4, 32) * 4, 7);
    struct Case {
        const char* what;
        bool nullSource, nullDestination;
        int sourceWidth, sourceHeight, bitCount, width, height, result;
    };
    const Case cases[] = {
        {"null source", true, false, 4, 4, 8, 2, 2, RET_PARAMERROR},
        {"null destination", false, true, 4, 4, 8, 2, 2, RET_PARAMERROR},
        {"source width 0", false, false, 0, 4, 8, 2, 2, RET_PARAMERROR},
        {"source height -4", false, false, 4, -4, 8, 2, 2, RET_PARAMERROR},
        {"width 0", false, false, 4, 4, 8, 0, 2, RET_PARAMERROR},
        {"width -2", false, false, 4, 4, 8, -2, 2, RET_PARAMERROR},
        {"height 0", false, false, 4, 4, 8, 2, 0, RET_PARAMERROR},
        {"16 bits", false, false, 4, 4, 16, 2, 2, RET_PARAMERROR},
        {"1 bit", false, false, 4, 4, 1, 2, 2, RET_PARAMERROR},
        // Frames no DIB can describe (over 4 GiB) cannot be scaled.
        {"huge destination", false, false, 4, 4, 32, 1 << 20, 1 << 11, RET_FAIL},
        {"height INT_MIN", false, false, 4, 4, 8, 2, INT_MIN, RET_FAIL},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> dst(64, kUntouched);
        EXPECT_EQ(ZDQ_HelperStretchBmp(c.nullSource ? nullptr : bits.data(), c.sourceWidth,
                                       c.sourceHeight, c.bitCount,
                                       c.nullDestination ? nullptr : dst.data(), c.width, c.height),
                  c.result)
            << c.what;
        EXPECT_EQ(dst, std::vector<unsigned char>(64, kUntouched)) << c.what;
    }
}

}  // namespace
