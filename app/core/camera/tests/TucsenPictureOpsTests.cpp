#include "TestStation.h"
#include "camera/TucsenPictureFiles.h"
#include "camera/TucsenPictureOps.h"
#include "settings/StoragePathDefault.h"
#include "settings/UserOpts.h"

#include <QDir>
#include <QFile>
#include <QTime>

#include <opencv2/core.hpp>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr size_t kCapacity = 1024;

// A decoded picture of `width` x `height` samples of `bits`, all `value`.
std::vector<uchar> picture(int width, int height, int bits, unsigned value, int channels = 1) {
    std::vector<uchar> buffer(kCapacity, 0);
    buffer[4] = static_cast<uchar>(width);
    buffer[6] = static_cast<uchar>(height);
    buffer[8] = static_cast<uchar>(bits);
    buffer[9] = static_cast<uchar>(channels);
    buffer[12] = 16;
    const int samples = width * height * channels;
    for (int i = 0; i < samples; ++i) {
        if (bits == 8) {
            buffer[16 + i] = static_cast<uchar>(value);
        } else {
            buffer[16 + 2 * i] = static_cast<uchar>(value & 0xFF);
            buffer[17 + 2 * i] = static_cast<uchar>(value >> 8);
        }
    }
    return buffer;
}

unsigned sample16(const std::vector<uchar>& buffer, int index) {
    return buffer[16 + 2 * index] | (buffer[17 + 2 * index] << 8);
}

TEST(TucsenPictureOps, PixelClockAndEntryTimes) {
    EXPECT_EQ(TucsenPictureOps::pixelClockFor(1200000, 2), 2);
    EXPECT_EQ(TucsenPictureOps::pixelClockFor(1200001, 2), 3);
    EXPECT_EQ(TucsenPictureOps::entryTimeMs({"0", "05", "000"}), 5000);
    EXPECT_EQ(TucsenPictureOps::entryTimeMs({"2", "12", "345"}), 132345);
    EXPECT_EQ(TucsenPictureOps::entryTimeMs({"08", "09", "010"}), 8 * 60000 + 9000 + 10);
    EXPECT_EQ(TucsenPictureOps::entryTimeMs({}), 0);
}

TEST(TucsenPictureOps, InversionComplementsTheHighByte) {
    struct Case {
        int bits, channels;
        unsigned value, expected;
        int samples;
    };
    const Case cases[] = {
        {16, 1, 0x12F0, 0xEDF0, 6}, {8, 1, 0x12, 0xED, 6}, {16, 3, 0x0001, 0xFF01, 18}};
    for (const Case& c : cases) {
        std::vector<uchar> p = picture(3, 2, c.bits, c.value, c.channels);
        TucsenPictureOps::invertHighBytes(p.data(), p.size());
        for (int i = 0; i < c.samples; ++i) {
            const unsigned got = c.bits == 8 ? p[16 + i] : sample16(p, i);
            ASSERT_EQ(got, c.expected) << c.bits << " " << i;
        }
        // Nothing beyond the samples.
        const size_t end = 16 + static_cast<size_t>(c.samples) * (c.bits / 8);
        EXPECT_EQ(p[end], 0);
    }
    // A header that does not fit its buffer is left alone.
    std::vector<uchar> tooLarge = picture(3, 2, 16, 0x12F0);
    tooLarge[5] = 0x40;
    TucsenPictureOps::invertHighBytes(tooLarge.data(), tooLarge.size());
    EXPECT_EQ(sample16(tooLarge, 0), 0x12F0u);
}

TEST(TucsenPictureOps, IntegralAccumulationAndMarkerBlend) {
    // q = 0x80, p = 0x40: trunc(128/255 x 64/255 x 255) = 32; the low byte
    // stays.
    std::vector<uchar> current = picture(2, 2, 16, 0x8011);
    const std::vector<uchar> previous = picture(2, 2, 16, 0x40FF);
    TucsenPictureOps::multiplyHighBytes(current.data(), previous.data(), kCapacity);
    EXPECT_EQ(sample16(current, 3), 0x2011u);

    // a = 0x8000, b = 0x4000: trunc(32768/65535 x 16384/65535 x 65535) = 8192.
    std::vector<uchar> marker = picture(2, 2, 16, 0x8000);
    std::vector<uchar> chemi = picture(2, 2, 16, 0x4000);
    TucsenPictureOps::blendWithMarker(marker.data(), chemi.data(), kCapacity, false);
    EXPECT_EQ(sample16(marker, 0), 8192u);
    // Inverted first: 0x4000 becomes 0xBF00.
    marker = picture(2, 2, 16, 0xFFFF);
    TucsenPictureOps::blendWithMarker(marker.data(), chemi.data(), kCapacity, true);
    EXPECT_EQ(sample16(marker, 0), 0xBF00u);

    // 8-bit samples multiply as 8-bit values: a = 0x80, b = 0x40 gives
    // trunc(128/255 x 64/255 x 255) = 32; inverted first, b = 0xBF gives 95.
    struct Case {
        bool invert;
        unsigned expected;
    };
    for (const Case& c : {Case{false, 32}, Case{true, 95}}) {
        std::vector<uchar> marker8 = picture(2, 2, 8, 0x80);
        std::vector<uchar> chemi8 = picture(2, 2, 8, 0x40);
        TucsenPictureOps::blendWithMarker(marker8.data(), chemi8.data(), kCapacity, c.invert);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(marker8[16 + i], c.expected) << c.invert << " " << i;
        }
        EXPECT_EQ(marker8[20], 0);  // nothing beyond the samples
    }
    // Pictures of different depths are not blended.
    std::vector<uchar> marker8 = picture(2, 2, 8, 0x80);
    TucsenPictureOps::blendWithMarker(marker8.data(), chemi.data(), kCapacity, false);
    EXPECT_EQ(marker8[16], 0x80);
}

TEST(TucsenPictureOps, MedianAndTheStoredImage) {
    std::vector<uchar> p = picture(3, 3, 16, 100);
    p[16 + 2 * 4] = 0xFF;  // one hot pixel in the middle
    p[17 + 2 * 4] = 0xFF;
    p[16 + 2 * 0] = 7;  // first row, first column
    TucsenPictureOps::medianFilter(p.data(), p.size());
    EXPECT_EQ(sample16(p, 4), 100u);

    const cv::Mat stored = TucsenPictureOps::storedImage(p.data(), p.size());
    ASSERT_EQ(stored.type(), CV_16UC1);
    ASSERT_EQ(stored.rows, 3);
    // Buffer row 0 is the image's last row.
    EXPECT_EQ(stored.at<ushort>(2, 0), sample16(p, 0));
    const std::vector<uchar> eight = picture(2, 1, 8, 0x12);
    EXPECT_EQ(TucsenPictureOps::storedImage(eight.data(), eight.size()).at<ushort>(0, 1), 0x1200);
}

TEST(TucsenPictureFiles, ATimeNameAlreadyTakenMovesOnByAMillisecond) {
    const QString scratch = qEnvironmentVariable("VARNU_TEST_SCRATCH", QDir::tempPath());
    const QString folder1 = scratch + "/names1/";
    const QString folder2 = scratch + "/names2/";
    QDir(folder1).removeRecursively();
    QDir(folder2).removeRecursively();
    QDir().mkpath(folder1);
    QDir().mkpath(folder2);
    const QTime time(10, 20, 30, 998);
    EXPECT_EQ(TucsenPictureFiles::freeFileName(folder1, folder2, time), "10-20-30-998.tif");
    QFile(folder1 + "10-20-30-998.tif").open(QIODevice::WriteOnly);
    QFile(folder2 + "10-20-30-999.tif").open(QIODevice::WriteOnly);
    EXPECT_EQ(TucsenPictureFiles::freeFileName(folder1, folder2, time), "10-20-31-000.tif");
}

TEST(TucsenPictureFiles, AnEmptyStoragePathTakesTheDefaultAndKeepsIt) {
    TestStation station("storage-path");
    station.setUserOption("storagePath", "");
    UserOpts userOpt;
    const QString chosen = storagePathOrDefault(userOpt);
    EXPECT_TRUE(chosen.endsWith("/UserImages")) << chosen.toStdString();
    EXPECT_GT(chosen.size(), QString("/UserImages").size());
    EXPECT_EQ(station.userOption("storagePath").toString(), chosen);

    station.setUserOption("storagePath", station.path() + "/mine");
    EXPECT_EQ(storagePathOrDefault(userOpt), station.path() + "/mine");
}

}  // namespace
