// Pictures the cooled camera decoded (header, then samples) as the
// western-blot page shows and stretches them.
#pragma once

#include "BlotStretch.h"

#include <QImage>
#include <QtGlobal>

#include <cstddef>

// The picture of `buffer` (`capacity` bytes) as 8-bit RGB (32-bit pixels),
// rows reversed so that the camera's first row is at the bottom; a 16-bit
// sample shows its high byte. A null image when the header does not fit
// the buffer.
QImage westernBlotScreenImage(const unsigned char* buffer, std::size_t capacity);

// Stretches every sample of the picture in place (the bounds are ordered
// and kept within 0..65535 first); 8-bit samples are stretched as their
// 16-bit level and keep their high byte. False, and nothing changed, when
// the header does not fit the buffer.
bool stretchPicture(unsigned char* buffer, std::size_t capacity, int minimum, int maximum);
