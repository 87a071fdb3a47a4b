#include "GelTiff.h"

#include <tiffio.h>
#include <QFile>

GelTiff readGelTiff(const QString& path) {
    GelTiff result;
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tiff) {
        return result;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 0;
    uint16_t samples = 0;
    uint16_t compression = 0;
    uint16_t unit = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &result.xResolution);
    TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &result.yResolution);
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(height);
    result.bitsPerSample = bits;
    result.samplesPerPixel = samples;
    result.compression = compression;
    result.resolutionUnit = unit;
    if (bits == 8 && samples == 1) {
        result.pixels.resize(static_cast<size_t>(width) * height);
        bool ok = true;
        for (uint32_t row = 0; row < height && ok; ++row) {
            ok = TIFFReadScanline(tiff, result.pixels.data() + static_cast<size_t>(row) * width,
                                  row) >= 0;
        }
        result.valid = ok;
    }
    TIFFClose(tiff);
    return result;
}
