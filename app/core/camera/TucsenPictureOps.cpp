#include "camera/TucsenPictureOps.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace TucsenPictureOps {

namespace {

constexpr int kLongExposureMs = 1200000;

// A view of the samples with the picture's own depth and channels.
cv::Mat samplesView(uchar* picture, const TucsenImageHeader& header) {
    const int type = CV_MAKETYPE(header.bits == 8 ? CV_8U : CV_16U, header.channels);
    return cv::Mat(header.height, header.width, type, picture + header.dataOffset);
}

bool readHeader(const uchar* picture, size_t capacity, TucsenImageHeader* header) {
    return TucsenImageHeader::read(picture, capacity, header) && header->sampleCount() > 0;
}

// Offset of the byte that stands for a sample: the sample itself at 8
// bits, its high byte at 16 bits.
size_t highByte(const TucsenImageHeader& header, size_t sample) {
    return header.dataOffset + (header.bits == 8 ? sample : 2 * sample + 1);
}

}  // namespace

int pixelClockFor(int exposureMs, int pixelClock) {
    return exposureMs > kLongExposureMs ? pixelClock + 1 : pixelClock;
}

int entryTimeMs(const QStringList& entry) {
    const int minutes = entry.value(0).toInt(nullptr, 10);
    const int seconds = entry.value(1).toInt(nullptr, 10);
    const int milliseconds = entry.value(2).toInt(nullptr, 10);
    return minutes * 60000 + seconds * 1000 + milliseconds;
}

void invertHighBytes(uchar* picture, size_t capacity) {
    TucsenImageHeader header;
    if (!readHeader(picture, capacity, &header)) {
        return;
    }
    const size_t count = header.sampleCount();
    for (size_t i = 0; i < count; ++i) {
        uchar& byte = picture[highByte(header, i)];
        byte = static_cast<uchar>(~byte);
    }
}

void medianFilter(uchar* picture, size_t capacity) {
    TucsenImageHeader header;
    if (!readHeader(picture, capacity, &header)) {
        return;
    }
    cv::Mat samples = samplesView(picture, header);
    cv::Mat filtered;
    cv::medianBlur(samples, filtered, 3);
    filtered.copyTo(samples);
}

void multiplyHighBytes(uchar* picture, const uchar* previous, size_t capacity) {
    TucsenImageHeader header;
    TucsenImageHeader previousHeader;
    if (!readHeader(picture, capacity, &header) ||
        !readHeader(previous, capacity, &previousHeader) || header.width != previousHeader.width ||
        header.height != previousHeader.height || header.bits != previousHeader.bits ||
        header.channels != previousHeader.channels ||
        header.dataOffset != previousHeader.dataOffset) {
        return;
    }
    const size_t count = header.sampleCount();
    for (size_t i = 0; i < count; ++i) {
        const size_t at = highByte(header, i);
        const double q = picture[at];
        const double p = previous[at];
        picture[at] = static_cast<uchar>(q / 255.0 * (p / 255.0) * 255.0);
    }
}

void blendWithMarker(uchar* marker, uchar* picture, size_t capacity, bool invertPicture) {
    TucsenImageHeader header;
    TucsenImageHeader markerHeader;
    if (!readHeader(picture, capacity, &header) || !readHeader(marker, capacity, &markerHeader) ||
        header.bits != markerHeader.bits || header.width != markerHeader.width ||
        header.height != markerHeader.height || header.channels != markerHeader.channels ||
        header.dataOffset != markerHeader.dataOffset) {
        return;
    }
    if (invertPicture) {
        invertHighBytes(picture, capacity);
    }
    const size_t count = header.sampleCount();
    if (header.bits == 8) {
        uchar* a = marker + header.dataOffset;
        const uchar* b = picture + header.dataOffset;
        for (size_t i = 0; i < count; ++i) {
            a[i] = static_cast<uchar>(a[i] / 255.0 * (b[i] / 255.0) * 255.0);
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        uchar* a = marker + header.dataOffset + 2 * i;
        const uchar* b = picture + header.dataOffset + 2 * i;
        const double av = a[0] | (a[1] << 8);
        const double bv = b[0] | (b[1] << 8);
        const auto blended = static_cast<unsigned>(av / 65535.0 * (bv / 65535.0) * 65535.0);
        a[0] = static_cast<uchar>(blended & 0xFF);
        a[1] = static_cast<uchar>(blended >> 8);
    }
}

cv::Mat storedImage(const uchar* picture, size_t capacity) {
    TucsenImageHeader header;
    if (!readHeader(picture, capacity, &header)) {
        return {};
    }
    cv::Mat samples = samplesView(const_cast<uchar*>(picture), header);
    cv::Mat grey;
    if (header.channels == 3) {
        cv::cvtColor(samples, grey, cv::COLOR_BGR2GRAY);
    } else {
        grey = samples;
    }
    cv::Mat wide;
    grey.convertTo(wide, CV_16U, header.bits == 8 ? 256.0 : 1.0);
    cv::Mat stored;
    cv::flip(wide, stored, 0);
    return stored;
}

}  // namespace TucsenPictureOps
