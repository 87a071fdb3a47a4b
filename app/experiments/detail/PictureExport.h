#pragma once

#include <QString>

// Writing an experiment's picture under a name the user chose in the save
// dialog. The file's format follows the name's suffix, whatever filter was
// picked: ".bmp", ".jpg", ".jpeg" and ".png" (any case) are written at
// 96 dpi; ".tif" and ".tiff" as an uncompressed TIFF with the resolution of
// the picked filter ("300dpi..." 300, "600dpi..." 600, else 0), keeping the
// source's channels and bit depth. A name without one of these suffixes gets
// the picked filter's suffix first.
struct PictureExport {
    enum class Result {
        Written,
        SourceUnreadable,  // missing, or not a picture
        WriteFailed,       // the target could not be written
    };

    // The name that will be written: `chosenName`, with the filter's suffix
    // when it has none of the known ones.
    static QString targetName(const QString& chosenName, const QString& selectedFilter);
    // True when `targetName` is written as a TIFF (and so audited).
    static bool isTiff(const QString& targetName);
    // The TIFF resolution a filter stands for.
    static int resolutionOf(const QString& selectedFilter);
    // Whether the picture at `sourcePath` can be read.
    static bool sourceReadable(const QString& sourcePath);

    // Reads `sourcePath` and writes it to `targetName` (see above). A new target
    // that could not be written completely is removed.
    static Result write(const QString& sourcePath, const QString& targetName,
                        const QString& selectedFilter);
};
