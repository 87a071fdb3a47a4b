#include "CooledFrame.h"

#include <gtest/gtest.h>

#include <vector>

using namespace imageops;

namespace {

// A decoded frame as the cooled camera's library lays it out: header of
// `headerSize` bytes, then width x height x spp samples of `bits`.
std::vector<unsigned char> frame(int width, int height, int bits, int spp, int headerSize,
                                 const std::vector<int>& samples) {
    std::vector<unsigned char> bytes(static_cast<size_t>(headerSize), 0xEE);
    bytes[4] = static_cast<unsigned char>(width & 0xFF);
    bytes[5] = static_cast<unsigned char>(width >> 8);
    bytes[6] = static_cast<unsigned char>(height & 0xFF);
    bytes[7] = static_cast<unsigned char>(height >> 8);
    bytes[8] = static_cast<unsigned char>(bits);
    bytes[9] = static_cast<unsigned char>(spp);
    bytes[12] = static_cast<unsigned char>(headerSize & 0xFF);
    bytes[13] = static_cast<unsigned char>(headerSize >> 8);
    for (int s : samples) {
        bytes.push_back(static_cast<unsigned char>(s & 0xFF));
        if (bits != 8) {
            bytes.push_back(static_cast<unsigned char>(s >> 8));
        }
    }
    return bytes;
}

std::vector<int> rgbOf(const DecodedFrame& d) {
    return std::vector<int>(d.rgb.begin(), d.rgb.end());
}

}  // namespace

struct DecodeCase {
    const char* name;
    int bits;
    int spp;
    std::vector<int> samples;  // 3 x 1 pixels
    std::vector<int> rgb;
};

class CooledFrameDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(CooledFrameDecode, SamplesBecomeRedGreenBlue) {
    const DecodeCase& c = GetParam();
    const auto bytes = frame(3, 1, c.bits, c.spp, 16, c.samples);
    const DecodedFrame decoded = decodeRawFrame(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded.ok) << decoded.error.toStdString();
    EXPECT_EQ(decoded.header.width, 3);
    EXPECT_EQ(decoded.header.height, 1);
    EXPECT_EQ(rgbOf(decoded), c.rgb);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CooledFrameDecode,
    testing::Values(
        DecodeCase{"grey8", 8, 1, {0, 128, 255}, {0, 0, 0, 128, 128, 128, 255, 255, 255}},
        // 16-bit samples give their high byte.
        DecodeCase{"grey16",
                   16,
                   1,
                   {0x00FF, 0x1234, 0xFF01},
                   {0, 0, 0, 0x12, 0x12, 0x12, 0xFF, 0xFF, 0xFF}},
        DecodeCase{"colour8", 8, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        DecodeCase{"colour16",
                   12,
                   3,
                   {0x0100, 0x0200, 0x0300, 0x0400, 0x0500, 0x0600, 0x07FF, 0x08FF, 0x09FF},
                   {1, 2, 3, 4, 5, 6, 7, 8, 9}}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(CooledFramePicture, RowsKeepTheirOrderUnlessFlipped) {
    // 5 x 2, 16-bit grey, row r has high byte 100 + r.
    std::vector<int> samples;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 5; ++column) {
            samples.push_back((100 + row) << 8 | column);
        }
    }
    const auto bytes = frame(5, 2, 16, 1, 64, samples);
    const DecodedFrame decoded = decodeRawFrame(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded.ok);
    const QImage upright = cooledFrameToPicture(decoded, false);
    ASSERT_EQ(upright.format(), QImage::Format_RGB32);
    ASSERT_EQ(upright.size(), QSize(5, 2));
    EXPECT_EQ(upright.pixel(4, 0), qRgb(100, 100, 100));
    EXPECT_EQ(upright.pixel(0, 1), qRgb(101, 101, 101));
    const QImage flipped = cooledFrameToPicture(decoded, true);
    EXPECT_EQ(flipped.pixel(4, 0), qRgb(101, 101, 101));
    EXPECT_EQ(flipped.pixel(0, 1), qRgb(100, 100, 100));
}

struct LyingCase {
    const char* name;
    int width;
    int height;
    int bits;
    int spp;
    int headerField;  // written at offset 12
    size_t keep;      // bytes of the buffer handed over
};

class CooledFrameRefused : public testing::TestWithParam<LyingCase> {};

TEST_P(CooledFrameRefused, BeforeAnySampleIsRead) {
    const LyingCase& c = GetParam();
    // A true 4 x 2 8-bit grey frame behind a 16-byte header ...
    auto bytes = frame(4, 2, 8, 1, 16, std::vector<int>(8, 7));
    // ... whose header then says something else.
    bytes[4] = static_cast<unsigned char>(c.width & 0xFF);
    bytes[5] = static_cast<unsigned char>(c.width >> 8);
    bytes[6] = static_cast<unsigned char>(c.height & 0xFF);
    bytes[7] = static_cast<unsigned char>(c.height >> 8);
    bytes[8] = static_cast<unsigned char>(c.bits);
    bytes[9] = static_cast<unsigned char>(c.spp);
    bytes[12] = static_cast<unsigned char>(c.headerField & 0xFF);
    bytes[13] = static_cast<unsigned char>(c.headerField >> 8);
    // The buffer is copied to exactly `keep` bytes, so a read past them is
    // an error AddressSanitizer sees.
    std::vector<unsigned char> handed(bytes.begin(), bytes.begin() + static_cast<long>(c.keep));
    const DecodedFrame decoded = decodeRawFrame(handed.data(), handed.size());
    EXPECT_FALSE(decoded.ok);
    EXPECT_FALSE(decoded.error.isEmpty());
    EXPECT_TRUE(decoded.rgb.empty());
    EXPECT_TRUE(cooledFrameToPicture(decoded, false).isNull());
}

INSTANTIATE_TEST_SUITE_P(Cases, CooledFrameRefused,
                         testing::Values(LyingCase{"widerThanTheBuffer", 5, 2, 8, 1, 16, 24},
                                         LyingCase{"sixteenBitClaim", 4, 2, 16, 1, 16, 24},
                                         LyingCase{"colourClaim", 4, 2, 8, 3, 16, 24},
                                         LyingCase{"headerPastTheEnd", 4, 2, 8, 1, 60000, 24},
                                         LyingCase{"huge", 65535, 65535, 16, 3, 16, 24},
                                         LyingCase{"twoSamplesPerPixel", 4, 2, 8, 2, 16, 24},
                                         LyingCase{"zeroSamplesPerPixel", 4, 2, 8, 0, 16, 24},
                                         LyingCase{"noPixels", 0, 2, 8, 1, 16, 24},
                                         LyingCase{"shorterThanTheHeader", 4, 2, 8, 1, 16, 10}),
                         [](const testing::TestParamInfo<LyingCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(CooledFrameRefused, NoBufferAtAll) {
    EXPECT_FALSE(decodeRawFrame(nullptr, 100).ok);
}
