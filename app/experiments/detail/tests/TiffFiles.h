#pragma once

#include <QString>

// Small TIFF files for the tests of the picture dialogs and the report list,
// written and read with libtiff directly (not through the code under test).

// A grey picture of `bits` (8 or 16) per sample, every sample `value`,
// tagged 600 dpi and uncompressed, as the capture threads write them.
bool writeGreyTiff(const QString& path, int width, int height, int bits, int value);

struct TiffFacts {
    bool read = false;
    int width = 0;
    int height = 0;
    int bitsPerSample = 0;
    int compression = 0;
    int resolutionUnit = 0;
    float xResolution = 0;
    float yResolution = 0;
};
TiffFacts readTiffFacts(const QString& path);
