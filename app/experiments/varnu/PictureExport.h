// How an exported gel/UV picture is written, by the suffix of the chosen name
// (case-insensitive) and the chosen filter of the save dialog.
#pragma once

#include <QString>

class QImage;

struct PictureExportPlan {
    QString path;      // the chosen name, with the filter's suffix when it had none
    bool tiff = true;  // TIFF with resolution tags (and audit rows), else through Qt
    int dpi = 600;     // TIFF only
};

// bmp, jpg, jpeg and png are written through Qt; tif, tiff and a name
// without suffix as TIFF at 300 dpi when the filter names 300, else 600.
PictureExportPlan planPictureExport(const QString& chosenName, const QString& selectedFilter);

// Writes an 8-bit grey picture as the plan says; false when nothing was
// written.
bool writePictureExport(const PictureExportPlan& plan, const QImage& picture);
