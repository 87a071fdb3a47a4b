#pragma once

#include <QtGlobal>

#include <cstddef>

// The header at the start of every image the cooled camera decodes: width,
// height, bits per sample, channels and the offset of the first sample.
struct TucsenImageHeader {
    quint16 width = 0;
    quint16 height = 0;
    quint8 bits = 0;
    quint8 channels = 0;
    quint16 dataOffset = 0;

    int bytesPerSample() const { return bits == 8 ? 1 : 2; }
    // Samples of one picture: width x height, x 3 for colour.
    size_t sampleCount() const;
    // Reads the header of `buffer` and checks that its samples lie inside the
    // `capacity` bytes of the buffer; false (and nothing read beyond the
    // header) when they do not, or when the channel count is neither 1 nor 3.
    static bool read(const uchar* buffer, size_t capacity, TucsenImageHeader* header);
};
