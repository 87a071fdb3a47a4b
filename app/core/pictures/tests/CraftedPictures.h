#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// Small picture files whose headers claim a size they do not hold: an
// ordinary 8 x 8 grey picture encoded by Qt, with the width and height of
// its header replaced. Decoding one would allocate the claimed size.
namespace craftedpictures {

// "png", "jpg" or "tif"; empty for another format.
QByteArray pictureClaiming(const char* format, QSize claimed);

// Writes the bytes to `path`; false when that fails.
bool writeFile(const QString& path, const QByteArray& bytes);

}  // namespace craftedpictures
