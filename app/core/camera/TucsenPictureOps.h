// Operations of the western-blot capture on decoded pictures of the cooled
// camera (header and samples, TucsenImageHeader), in place. Every function
// checks the header against the picture's buffer size first and does
// nothing to a picture whose header does not fit.
#pragma once

#include "camera/TucsenImageHeader.h"

#include <QStringList>

#include <cstddef>

namespace cv {
class Mat;
}

namespace TucsenPictureOps {

// Pixel clock of a capture: one above the setting for exposures longer than
// 1200000 ms.
int pixelClockFor(int exposureMs, int pixelClock);

// The time of an exposure-time entry (minutes, seconds, milliseconds, base
// 10): m x 60000 + s x 1000 + ms. Missing texts count as 0.
int entryTimeMs(const QStringList& entry);

// Complements one byte of every sample: every byte of 8-bit samples, the
// high byte of 16-bit samples (0x12F0 becomes 0xEDF0).
void invertHighBytes(uchar* picture, size_t capacity);

// 3 x 3 median of the samples (OpenCV's border handling).
void medianFilter(uchar* picture, size_t capacity);

// The integral accumulation: byte q of every sample of `picture` (every
// byte of 8-bit samples, the high byte of 16-bit ones) becomes
// trunc(q / 255 x p / 255 x 255), p the same byte of `previous`. The two
// pictures must have the same header.
void multiplyHighBytes(uchar* picture, const uchar* previous, size_t capacity);

// The marker blend: every sample a of `marker` becomes
// trunc(a / max x b / max x max), b the sample of `picture` and max 65535
// for 16-bit samples, 255 for 8-bit ones; with `invertPicture` the
// picture's high bytes are complemented first. The pictures must have the
// same header.
void blendWithMarker(uchar* marker, uchar* picture, size_t capacity, bool invertPicture);

// The picture as the 16-bit grey image that is stored: rows reversed
// (buffer row r is image row height - 1 - r), 8-bit samples scaled to 16
// bits, colour turned grey. Empty when the header does not fit.
cv::Mat storedImage(const uchar* picture, size_t capacity);

}  // namespace TucsenPictureOps
