#pragma once

#include <QImage>

namespace imageops {

// The gel/UV capture buffer (8-bit grey, rows of `width` bytes with no gap,
// top row first) as the working RGB32 picture, mirrored top to bottom, so
// the buffer's first row is the picture's last. The buffer stays the
// caller's. No buffer or a size of 0 or less gives a null picture.
QImage gelCaptureToPicture(const uchar* buffer, int width, int height);

}  // namespace imageops
