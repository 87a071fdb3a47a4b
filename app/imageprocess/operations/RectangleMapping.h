#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace imageops {

// Where a picture shown at `zoom` sits on the label that fills a scroll area
// of `area`: the label centres a smaller picture, and along a side that
// scrolls, 30 pixels go to the scroll bar of the other side.
QPoint labelOffset(const QSize& area, const QSize& picture, double zoom);

// A label rectangle (inclusive corners, either order) in picture pixels: the
// label offset removed, then divided by the zoom, each part truncated. An
// empty label rectangle or a zoom of 0 or less gives an empty rectangle.
QRect cropRectangle(const QRect& labelRect, const QSize& picture, double zoom, const QSize& area);

// The rectangle a text label is drawn into: as cropRectangle, moved 4 pixels
// right and down (the editor's document margin) before truncation.
QRect textRectangle(const QRect& labelRect, const QSize& picture, double zoom, const QSize& area);

// The pixel size of a text label's font: points * 96 / 72 in integers.
int fontPixelSize(int pointSize);

}  // namespace imageops
