// The western-blot page's picture helpers: the histogram stretch, the
// parameter overlay's lines and the listing of a capture's pictures.
#include "BlotHistogramRange.h"
#include "ManualSeriesCheck.h"
#include "WesternBlotFiles.h"
#include "WesternBlotOverlay.h"
#include "WesternBlotPicture.h"
#include "database/Westblot_ExperimentDB.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kHeaderBytes = 16;

// A decoded picture as the cooled camera lays it out: width, height, depth,
// channels and the offset of the samples in the header, then the samples.
std::vector<uchar> picture(int width, int height, int bits, const std::vector<int>& samples) {
    const int bytes = bits == 8 ? 1 : 2;
    std::vector<uchar> buffer(kHeaderBytes + samples.size() * bytes);
    qToLittleEndian<quint16>(width, buffer.data() + 4);
    qToLittleEndian<quint16>(height, buffer.data() + 6);
    buffer[8] = static_cast<uchar>(bits);
    buffer[9] = 1;
    qToLittleEndian<quint16>(kHeaderBytes, buffer.data() + 12);
    for (size_t i = 0; i < samples.size(); ++i) {
        if (bytes == 1) {
            buffer[kHeaderBytes + i] = static_cast<uchar>(samples[i]);
        } else {
            qToLittleEndian<quint16>(samples[i], buffer.data() + kHeaderBytes + 2 * i);
        }
    }
    return buffer;
}

std::vector<int> samples16(const std::vector<uchar>& buffer, size_t count) {
    std::vector<int> values;
    for (size_t i = 0; i < count; ++i) {
        values.push_back(qFromLittleEndian<quint16>(buffer.data() + kHeaderBytes + 2 * i));
    }
    return values;
}

TEST(WesternBlotStretch, LevelsOfARangeAndOfAnEmptyOne) {
    struct Case {
        int value, minimum, maximum, level;
    };
    const Case cases[] = {
        {99, 100, 1100, 0},       {100, 100, 1100, 0},      {600, 100, 1100, 32768},
        {1100, 100, 1100, 65535}, {1101, 100, 1100, 65535}, {0, 0, 65535, 0},
        {65535, 0, 65535, 65535}, {499, 500, 500, 0},       {500, 500, 500, 65535},
        {501, 500, 500, 65535},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(stretchedLevel(c.value, c.minimum, c.maximum), c.level)
            << c.value << " in " << c.minimum << ".." << c.maximum;
    }
}

TEST(WesternBlotStretch, PictureStretchedInPlaceWithBoundsOrderedAndClamped) {
    struct Case {
        const char* label;
        int minimum, maximum;
        std::vector<int> expected;
    };
    const std::vector<int> input = {99, 100, 600, 1100, 1101, 65535};
    const Case cases[] = {
        {"ascending", 100, 1100, {0, 0, 32768, 65535, 65535, 65535}},
        {"crossed", 1100, 100, {0, 0, 32768, 65535, 65535, 65535}},
        {"empty range", 600, 600, {0, 0, 65535, 65535, 65535, 65535}},
        {"beyond the levels", -5, 70000, input},
    };
    for (const Case& c : cases) {
        std::vector<uchar> buffer = picture(3, 2, 16, input);
        ASSERT_TRUE(stretchPicture(buffer.data(), buffer.size(), c.minimum, c.maximum)) << c.label;
        EXPECT_EQ(samples16(buffer, input.size()), c.expected) << c.label;
    }
}

TEST(WesternBlotStretch, EightBitSamplesAndUnreadablePictures) {
    std::vector<uchar> eight = picture(2, 1, 8, {0x10, 0x80});
    // 0x1010 .. 0x8080 spread over all levels.
    ASSERT_TRUE(stretchPicture(eight.data(), eight.size(), 0x1010, 0x8080));
    EXPECT_EQ(eight[kHeaderBytes], 0x00);
    EXPECT_EQ(eight[kHeaderBytes + 1], 0xFF);

    std::vector<uchar> tooShort = picture(4, 4, 16, {1, 2, 3});
    const std::vector<uchar> before = tooShort;
    EXPECT_FALSE(stretchPicture(tooShort.data(), tooShort.size(), 0, 10));
    EXPECT_EQ(tooShort, before);
    EXPECT_FALSE(stretchPicture(nullptr, 0, 0, 10));
}

TEST(WesternBlotScreen, SixteenBitSamplesShowTheirHighByteRowsReversed) {
    const std::vector<uchar> buffer = picture(2, 2, 16, {0x1234, 0xABCD, 0x00FF, 0xFF00});
    const QImage image = westernBlotScreenImage(buffer.data(), buffer.size());
    ASSERT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0x12, 0x12, 0x12));
    EXPECT_EQ(image.pixel(1, 1), qRgb(0xAB, 0xAB, 0xAB));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0x00, 0x00, 0x00));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0xFF, 0xFF, 0xFF));
}

TEST(WesternBlotOverlay, LinesOfAPictureAndOfOnesTheRecordDoesNotCover) {
    WestblotExperiment record;
    record.binning = 1;
    record.exposureTime = QStringLiteral("200,5000,");
    record.gain = QStringLiteral("200,585,");
    record.blackLevel = 3;
    record.contrast = 4;
    record.gamma = 5;
    const QStringList second = westernBlotOverlayLines(record, 1);
    EXPECT_EQ(second, (QStringList{"Binning:    2*2", "Exposure:   5000", "Gain:       585",
                                   "BlackLevel: 3", "Contrast:   4", "Gamma:      5"}));
    // The blend of a single capture with marker has no entry of its own.
    EXPECT_TRUE(westernBlotOverlayLines(record, 2).isEmpty());
    EXPECT_TRUE(westernBlotOverlayLines(record, 7).isEmpty());
    EXPECT_TRUE(westernBlotOverlayLines(record, -1).isEmpty());
    record.gain.clear();
    EXPECT_EQ(westernBlotOverlayLines(record, 0).at(2), QStringLiteral("Gain:       "));
}

TEST(WesternBlotFiles, CapturedTifsSortedByName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/");
    EXPECT_EQ(listCapturedTifs(folder), QStringList{QString()});
    EXPECT_EQ(listCapturedTifs(folder + QStringLiteral("missing/")), QStringList{QString()});
    for (const char* name : {"10-00-00-002.tif", "10-00-00-001.tif", "notes.txt"}) {
        QFile file(folder + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(listCapturedTifs(folder), (QStringList{"10-00-00-001.tif", "10-00-00-002.tif"}));
}

TEST(BlotHistogramRange, AutomaticRangeOfTheFilledBins) {
    struct Case {
        const char* label;
        std::vector<int> filled;
        int minimum, maximum;
    };
    const Case cases[] = {
        {"only the top bin", {65535}, 65535, 65535},
        {"none", {}, 65535, 0},
        {"a band of levels", {100, 500, 1100}, 100, 1100},
        {"the bottom bin", {0}, 0, 0},
    };
    for (const Case& c : cases) {
        QVector<double> histogram(65536, 0.0);
        for (int bin : c.filled) {
            histogram[bin] = 0.7;
        }
        EXPECT_EQ(BlotHistogramRange::autoRange(histogram),
                  BlotHistogramRange::Range(c.minimum, c.maximum))
            << c.label;
    }
}

TEST(BlotHistogramRange, MarkerPositionsOnTheStrip) {
    struct Case {
        int minimum, maximum, width, left, right;
    };
    const Case cases[] = {
        {0, 65535, 300, 2, 298}, {32768, 32768, 300, 150, 150}, {65535, 65535, 300, 300, 298},
        {0, 65313, 300, 2, 298}, {655, 64880, 300, 2, 297},     {0, 0, 170, 2, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlotHistogramRange::markerPositions(c.minimum, c.maximum, c.width),
                  BlotHistogramRange::Range(c.left, c.right))
            << c.minimum << ".." << c.maximum << " on " << c.width;
    }
}

TEST(ManualSeries, TimeAccumulatedTimesMustIncrease) {
    struct Case {
        const char* label;
        QList<QStringList> entries;
        bool increase;
    };
    const Case cases[] = {
        {"none", {}, true},
        {"rising", {{"0", "05", "000"}, {"0", "12", "000"}, {"1", "00", "0"}}, true},
        {"equal", {{"0", "05", "000"}, {"0", "05", "000"}}, false},
        {"falling", {{"0", "12", "000"}, {"0", "05", "000"}}, false},
        {"zero first", {{"0", "0", "0"}, {"0", "05", "000"}}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(timesIncrease(c.entries), c.increase) << c.label;
    }
}

}  // namespace
