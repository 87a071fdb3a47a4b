// Files of the western-blot page: the export of the picture on show and the
// list of a capture's stored pictures.
#pragma once

#include <QStringList>

#include <cstddef>

struct PictureExportPlan;

// Writes the decoded picture (`capacity` bytes) as the plan says: through
// Qt as the 8-bit colour picture on the screen, or as the 16-bit grey TIFF
// the capture stores (rows in screen order, uncompressed, plan.dpi). False
// when nothing was written.
bool writeWesternBlotExport(const PictureExportPlan& plan, const unsigned char* picture,
                            std::size_t capacity);

// Names of the regular "*.tif" files of `folder`, sorted by name; one empty
// name when the folder is missing or holds none.
QStringList listCapturedTifs(const QString& folder);
