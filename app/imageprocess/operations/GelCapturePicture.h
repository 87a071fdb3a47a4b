#pragma once

#include <QImage>

namespace imageops {

// The gel/UV capture buffer (8-bit grey, rows of `width` bytes with no gap,
// top row first) as the working RGB32 picture, turned by 180 degrees as the
// stored picture holds it: the buffer's first row is the picture's last,
// read from right to left. The buffer stays the caller's. No buffer or a
// size of 0 or less gives a null picture.
QImage gelCaptureToPicture(const uchar* buffer, int width, int height);

}  // namespace imageops
