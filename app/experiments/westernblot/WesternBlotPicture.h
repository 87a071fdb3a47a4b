// Turns a picture the cooled camera decoded (header, then samples) into an
// RGB image for the screen.
#pragma once

#include <QImage>

#include <cstddef>

// The picture of `buffer` (`capacity` bytes) as RGB888, rows reversed so
// that the camera's first row is at the bottom; a 16-bit sample shows its
// high byte. A null image when the header does not fit the buffer.
QImage westernBlotScreenImage(const unsigned char* buffer, std::size_t capacity);
