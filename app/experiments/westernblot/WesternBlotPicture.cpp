#include "WesternBlotPicture.h"

#include "camera/TucsenImageHeader.h"

QImage westernBlotScreenImage(const unsigned char* buffer, std::size_t capacity) {
    TucsenImageHeader header;
    if (buffer == nullptr || !TucsenImageHeader::read(buffer, capacity, &header) ||
        header.width == 0 || header.height == 0) {
        return QImage();
    }
    const int step = header.bytesPerSample();
    // The high byte of a little-endian 16-bit sample is its second.
    const unsigned char* sample = buffer + header.dataOffset + (step == 2 ? 1 : 0);
    QImage image(header.width, header.height, QImage::Format_RGB888);
    for (int y = 0; y < header.height; ++y) {
        uchar* row = image.scanLine(header.height - 1 - y);
        for (int x = 0; x < header.width; ++x) {
            if (header.channels == 1) {
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = *sample;
                sample += step;
            } else {
                for (int c = 0; c < 3; ++c) {
                    row[3 * x + c] = *sample;
                    sample += step;
                }
            }
        }
    }
    return image;
}
