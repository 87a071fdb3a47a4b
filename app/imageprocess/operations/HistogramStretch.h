#pragma once

#include <QImage>

namespace imageops {

// The stretch of one byte value to [min, max]: 0 below min, 255 above max,
// otherwise int((v - min) / (max - min) * 255). An empty range (min equal to
// max) maps that value to 0.
int stretchValue(int value, int minInten, int maxInten);

// The colour bytes of every pixel stretched to [min, max]; alpha is kept. A
// premultiplied picture is stretched on its un-premultiplied colours and
// keeps its format. Other formats give a null picture; so does a picture
// that cannot be allocated.
QImage stretchPicture(const QImage& image, int minInten, int maxInten);

}  // namespace imageops
