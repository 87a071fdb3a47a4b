#include "PictureFiles.h"

#include <tiffio.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace imageops;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(VARNU_IMAGE_FIXTURES "/") + QLatin1String(name);
}

QImage samplePicture() {
    QImage picture(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            picture.setPixel(x, y, qRgb(40 * x, 60 * y, 200));
        }
    }
    return picture;
}

struct TiffTags {
    bool opened = false;
    float xResolution = -1;
    float yResolution = -1;
    uint16_t unit = 0;
    uint16_t compression = 0;
    uint16_t samplesPerPixel = 0;
    uint32_t width = 0;
    std::vector<uint8_t> firstRow;
};

TiffTags readTiff(const QString& path) {
    TiffTags tags;
    TIFF* tif = TIFFOpen(path.toUtf8().constData(), "r");
    if (tif == nullptr) {
        return tags;
    }
    tags.opened = true;
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &tags.xResolution);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &tags.yResolution);
    TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &tags.unit);
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &tags.compression);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &tags.samplesPerPixel);
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &tags.width);
    tags.firstRow.resize(static_cast<size_t>(TIFFScanlineSize(tif)));
    TIFFReadScanline(tif, tags.firstRow.data(), 0);
    TIFFClose(tif);
    return tags;
}

}  // namespace

struct NameCase {
    const char* name;
    const char* filter;
    const char* written;
    bool tiff;
};

class SaveName : public testing::TestWithParam<NameCase> {};

TEST_P(SaveName, FormatFollowsTheSuffix) {
    const NameCase& c = GetParam();
    EXPECT_EQ(fileNameForSave(QString::fromUtf8(c.name), QString::fromUtf8(c.filter)),
              QString::fromUtf8(c.written));
    EXPECT_EQ(isTiffName(QString::fromUtf8(c.written)), c.tiff);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveName,
    testing::Values(NameCase{"/d/a.png", "600dpi(*.tif)", "/d/a.png", false},
                    NameCase{"/d/a.PNG", "*.png", "/d/a.PNG", false},
                    NameCase{"/d/a.jpeg", "*.jpg", "/d/a.jpeg", false},
                    NameCase{"/d/a.Tif", "300dpi(*.tif)", "/d/a.Tif", true},
                    NameCase{"/d/a.tiff", "*.bmp", "/d/a.tiff", true},
                    // The suffix decides, not a ".jpg" inside the name.
                    NameCase{"/d/shot.jpg.tif", "600dpi(*.tif)", "/d/shot.jpg.tif", true},
                    NameCase{"/gel.png/shot.tif", "600dpi(*.tif)", "/gel.png/shot.tif", true},
                    // Without a suffix of ours the chosen filter's is added.
                    NameCase{"/d/12-00-00-000", "600dpi(*.tif)", "/d/12-00-00-000.tif", true},
                    NameCase{"/d/12-00-00-000", "*.bmp", "/d/12-00-00-000.bmp", false},
                    NameCase{"/d/12.05.2026", "*.jpg", "/d/12.05.2026.jpg", false},
                    NameCase{"/d/noFilter", "", "/d/noFilter.tif", true}),
    [](const testing::TestParamInfo<NameCase>& info) { return std::to_string(info.index); });

TEST(SavePicture, TiffCarriesItsResolutionUncompressed) {
    QTemporaryDir dir;
    for (const auto& [filter, dpi] :
         std::vector<std::pair<QString, float>>{{QStringLiteral("300dpi(*.tif)"), 300.0f},
                                                {QStringLiteral("600dpi(*.tif)"), 600.0f}}) {
        const QString name = dir.filePath(QStringLiteral("shot.jpg.tif"));
        const SaveResult result = savePicture(samplePicture(), name, filter);
        ASSERT_TRUE(result.written);
        EXPECT_TRUE(result.tiff);
        EXPECT_EQ(result.fileName, name);
        const TiffTags tags = readTiff(name);
        ASSERT_TRUE(tags.opened);
        EXPECT_EQ(tags.xResolution, dpi);
        EXPECT_EQ(tags.yResolution, dpi);
        EXPECT_EQ(tags.unit, 2);
        EXPECT_EQ(tags.compression, 1);
        EXPECT_EQ(tags.samplesPerPixel, 3);
        EXPECT_EQ(tags.width, 6u);
        // Row 0 as red, green, blue: (40x, 0, 200).
        EXPECT_EQ(std::vector<uint8_t>(tags.firstRow.begin(), tags.firstRow.begin() + 6),
                  (std::vector<uint8_t>{0, 0, 200, 40, 0, 200}));
    }
}

TEST(SavePicture, QtFormatsReadBackAndNameWithoutSuffixGetsTheFilters) {
    QTemporaryDir dir;
    for (const char* suffix : {"png", "bmp"}) {
        const QString name = dir.filePath(QStringLiteral("lossless.") + QLatin1String(suffix));
        const SaveResult result =
            savePicture(samplePicture(), name, QStringLiteral("600dpi(*.tif)"));
        ASSERT_TRUE(result.written) << suffix;
        EXPECT_FALSE(result.tiff);
        EXPECT_EQ(QImageReader(name).format(), QByteArray(suffix));
        EXPECT_EQ(QImage(name).convertToFormat(QImage::Format_RGB32), samplePicture());
    }
    const SaveResult jpeg = savePicture(samplePicture(), dir.filePath("12-00-00-000"), "*.jpg");
    ASSERT_TRUE(jpeg.written);
    EXPECT_EQ(QFileInfo(jpeg.fileName).fileName(), "12-00-00-000.jpg");
    EXPECT_EQ(QImageReader(jpeg.fileName).format(), "jpeg");

    const SaveResult tiff =
        savePicture(samplePicture(), dir.filePath("12-00-00-001"), "300dpi(*.tif)");
    ASSERT_TRUE(tiff.written);
    EXPECT_TRUE(tiff.tiff);
    EXPECT_EQ(readTiff(tiff.fileName).xResolution, 300.0f);
}

TEST(SavePicture, FailedWritesAreReportedAndNeverThrow) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/a"));
    EXPECT_FALSE(savePicture(samplePicture(), missing + ".tif", "600dpi(*.tif)").written);
    EXPECT_FALSE(savePicture(samplePicture(), missing + ".png", "*.png").written);
    EXPECT_FALSE(savePicture(QImage(), dir.filePath("empty.tif"), "600dpi(*.tif)").written);
    // A picture the TIFF road cannot take.
    QImage grey(4, 4, QImage::Format_Grayscale8);
    grey.fill(9);
    EXPECT_FALSE(savePicture(grey, dir.filePath("grey.tif"), "600dpi(*.tif)").written);
    EXPECT_FALSE(QFile::exists(dir.filePath("grey.tif")));
}

struct LoadCase {
    const char* file;
    LoadError error;
    QSize size;
    std::vector<QRgb> pixels;  // row by row
};

class LoadPicture : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadPicture, GivesTheWorkingPictureOrARefusal) {
    const LoadCase& c = GetParam();
    const LoadResult result = loadPicture(fixture(c.file));
    EXPECT_EQ(result.error, c.error);
    if (c.error != LoadError::None) {
        EXPECT_TRUE(result.picture.isNull());
        return;
    }
    ASSERT_EQ(result.picture.format(), QImage::Format_RGB32);
    ASSERT_EQ(result.picture.size(), c.size);
    std::vector<QRgb> pixels;
    for (int y = 0; y < c.size.height(); ++y) {
        for (int x = 0; x < c.size.width(); ++x) {
            pixels.push_back(result.picture.pixel(x, y));
        }
    }
    EXPECT_EQ(pixels, c.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, LoadPicture,
    testing::Values(
        // 16-bit grey 0, 0x0180, 0x7FFF, 0xFFFF / 0x1000, 0x2000, 0x8000, 0xC000.
        LoadCase{"grey16.tif",
                 LoadError::None,
                 {4, 2},
                 {qRgb(0, 0, 0), qRgb(1, 1, 1), qRgb(127, 127, 127), qRgb(255, 255, 255),
                  qRgb(16, 16, 16), qRgb(32, 32, 32), qRgb(128, 128, 128), qRgb(191, 191, 191)}},
        LoadCase{"rgb16.tif", LoadError::None, {2, 1}, {qRgb(255, 128, 0), qRgb(18, 86, 154)}},
        // A PNG under a TIFF name is read by its content.
        LoadCase{"grey8_as.tif",
                 LoadError::None,
                 {3, 2},
                 {qRgb(0, 0, 0), qRgb(100, 100, 100), qRgb(200, 200, 200), qRgb(50, 50, 50),
                  qRgb(150, 150, 150), qRgb(250, 250, 250)}},
        LoadCase{"truncated.png", LoadError::NotSupported, {}, {}},
        LoadCase{"empty.png", LoadError::NotSupported, {}, {}},
        LoadCase{"not_a_picture.jpg", LoadError::NotSupported, {}, {}},
        LoadCase{"huge.png", LoadError::TooLarge, {}, {}},
        LoadCase{"missing.png", LoadError::NotSupported, {}, {}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::to_string(info.index); });
