// The resolution fields of picture files, from headers built byte by byte.

#include "PictureFile.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

QByteArray be32(uint32_t v) {
    return QByteArray(1, char(v >> 24)) + char(v >> 16) + char(v >> 8) + char(v);
}
QByteArray le16(uint32_t v) {
    return QByteArray(1, char(v)) + char(v >> 8);
}
QByteArray le32(uint32_t v) {
    return le16(v & 0xffff) + le16(v >> 16);
}

QByteArray png(uint32_t ppmX, uint32_t ppmY, char unit) {
    QByteArray f("\x89PNG\r\n\x1a\n", 8);
    f += be32(13) + "IHDR" + QByteArray(13, '\0') + be32(0);
    f += be32(9) + "pHYs" + be32(ppmX) + be32(ppmY) + unit + be32(0);
    f += be32(0) + "IDAT" + be32(0);
    return f;
}

QByteArray jpeg(char units, uint32_t x, uint32_t y) {
    QByteArray f("\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x02", 13);
    f += units;
    f += QByteArray(1, char(x >> 8)) + char(x) + char(y >> 8) + char(y);
    return f + QByteArray("\x00\x00", 2);
}

QByteArray bmp(int32_t ppmX, int32_t ppmY) {
    QByteArray f = "BM" + le32(0) + le32(0) + le32(54);
    f += le32(40) + le32(8) + le32(8) + le16(1) + le16(8) + le32(0) + le32(0);
    return f + le32(uint32_t(ppmX)) + le32(uint32_t(ppmY)) + le32(0) + le32(0);
}

// Little-endian TIFF with XResolution, YResolution (rationals at offset 50)
// and ResolutionUnit.
QByteArray tiff(uint32_t x, uint32_t y, uint32_t unit) {
    QByteArray f = QByteArray("II*\0", 4) + le32(8);
    f += le16(3);
    f += le16(282) + le16(5) + le32(1) + le32(50);
    f += le16(283) + le16(5) + le32(1) + le32(58);
    f += le16(296) + le16(3) + le32(1) + le32(unit);
    f += le32(0);
    return f + le32(x) + le32(1) + le32(y) + le32(1);
}

TEST(PictureResolution, ReadsTheFieldsOfEachFormat) {
    struct Case {
        const char* label;
        QByteArray file;
        bool found;
        double dpiX, dpiY;
    };
    const Case cases[] = {
        {"tiff inch", tiff(600, 300, 2), true, 600, 300},
        {"tiff centimetre", tiff(100, 100, 3), true, 254, 254},
        {"tiff no unit", tiff(600, 600, 1), false, 0, 0},
        {"tiff cut in the entries", tiff(600, 600, 2).left(30), false, 0, 0},
        {"tiff cut in the rationals", tiff(600, 600, 2).left(60), false, 0, 0},
        {"png metre", png(23622, 11811, 1), true, 600, 300},
        {"png aspect only", png(1, 1, 0), false, 0, 0},
        {"png cut", png(23622, 23622, 1).left(40), false, 0, 0},
        {"jpeg dpi", jpeg(1, 300, 150), true, 300, 150},
        {"jpeg dpcm", jpeg(2, 100, 100), true, 254, 254},
        {"jpeg aspect only", jpeg(0, 1, 1), false, 0, 0},
        {"bmp", bmp(23622, 23622), true, 600, 600},
        {"bmp none", bmp(0, 0), false, 0, 0},
        {"bmp negative", bmp(-5, 100), false, 0, 0},
        {"bmp cut", bmp(23622, 23622).left(40), false, 0, 0},
        {"empty", QByteArray(), false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        double x = 0;
        double y = 0;
        ASSERT_EQ(varnu::pictureResolution(c.file, &x, &y), c.found);
        if (c.found) {
            EXPECT_NEAR(x, c.dpiX, 0.05);
            EXPECT_NEAR(y, c.dpiY, 0.05);
        }
    }
}

}  // namespace
