#include "TiffFiles.h"

#include <QFile>

#include <tiffio.h>

#include <vector>

bool writeGreyTiff(const QString& path, int width, int height, int bits, int value) {
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (tif == nullptr) {
        return false;
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, 600.0f);
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, 600.0f);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bits / 8);
    std::vector<unsigned char> row(rowBytes);
    for (int x = 0; x < width; ++x) {
        if (bits == 16) {
            const auto sample = static_cast<unsigned short>(value);
            memcpy(&row[static_cast<size_t>(x) * 2], &sample, 2);
        } else {
            row[static_cast<size_t>(x)] = static_cast<unsigned char>(value);
        }
    }
    bool ok = true;
    for (int y = 0; y < height && ok; ++y) {
        ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) == 1;
    }
    TIFFClose(tif);
    return ok;
}

TiffFacts readTiffFacts(const QString& path) {
    TiffFacts facts;
    TIFFSetWarningHandler(nullptr);
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (tif == nullptr) {
        return facts;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 0;
    uint16_t compression = 0;
    uint16_t unit = 0;
    facts.read = TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) == 1 &&
                 TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) == 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &facts.xResolution);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &facts.yResolution);
    facts.width = static_cast<int>(width);
    facts.height = static_cast<int>(height);
    facts.bitsPerSample = bits;
    facts.compression = compression;
    facts.resolutionUnit = unit;
    TIFFClose(tif);
    return facts;
}
