#include "GelCapturePicture.h"

namespace imageops {

QImage gelCaptureToPicture(const uchar* buffer, int width, int height) {
    if (buffer == nullptr || width <= 0 || height <= 0) {
        return {};
    }
    // Rows are exactly `width` bytes: the row length is given, not left to
    // QImage's 4-byte alignment.
    const QImage grey(buffer, width, height, width, QImage::Format_Grayscale8);
    // Turned by 180 degrees, the way the stored picture holds it.
    return grey.convertToFormat(QImage::Format_RGB32).mirrored(true, true);
}

}  // namespace imageops
