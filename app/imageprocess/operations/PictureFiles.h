#pragma once

#include "pictures/PictureLimits.h"

#include <QImage>
#include <QString>

namespace imageops {

// The save dialog's filters, and the choice they make of a name.
QString saveFilters();

// The file a save writes: a name whose suffix is not one of bmp, jpg, jpeg,
// png, tif or tiff (any case) gets the chosen filter's suffix (".tif" for the
// dpi filters).
QString fileNameForSave(const QString& name, const QString& selectedFilter);

// Whether a file name takes the TIFF road (tif, tiff, any case).
bool isTiffName(const QString& fileName);

// The resolution a dpi filter asks for: 300, 600, else 0.
int tiffResolution(const QString& selectedFilter);

struct SaveResult {
    bool written = false;
    // Whether the TIFF road wrote it (resolution tags; audited).
    bool tiff = false;
    QString fileName;
};

// Writes the picture under fileNameForSave(name, filter): bmp, jpg, jpeg and
// png through Qt at default quality; TIFF as uncompressed blue-green-red
// data with the filter's resolution in dots per inch. Never throws; a write
// that fails (unwritable folder, picture of another format) reports
// written false.
SaveResult savePicture(const QImage& picture, const QString& name, const QString& selectedFilter);

// Limits on a picture to import: a side above this, or more pixels than
// kMaxImportPixels, is refused before it is decoded (the station's limits
// for every picture it reads).
constexpr int kMaxImportSide = pictures::kMaxSide;
constexpr qint64 kMaxImportPixels = pictures::kMaxPixels;

enum class LoadError { None, NotSupported, TooLarge };

struct LoadResult {
    LoadError error = LoadError::None;
    QImage picture;  // RGB32 when error is None
};

// Reads a picture file as the working RGB32 picture (16-bit files through
// Qt's conversion to 8 bits). Empty, truncated and unreadable files give
// NotSupported; implausibly large ones TooLarge, without decoding them.
LoadResult loadPicture(const QString& path);

}  // namespace imageops
