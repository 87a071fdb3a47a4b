// The capture parameters written in red into the lower right corner of a
// captured western-blot picture.
#pragma once

#include <QStringList>

class QPixmap;
struct WestblotExperiment;

// The six lines (binning, exposure, gain, black level, contrast, gamma) for
// picture `index` of the experiment, top to bottom; empty when the record
// has no exposure for that picture (its lists are shorter, or the entry is
// empty).
QStringList westernBlotOverlayLines(const WestblotExperiment& record, int index);

// Paints the lines, 150 pixels from the right edge, the last one 10 pixels
// above the bottom and each one 15 pixels above the next.
void drawWesternBlotOverlay(QPixmap& pixmap, const QStringList& lines);
