#pragma once

#include <QImage>
#include <QString>

#include <cstddef>
#include <vector>

namespace imageops {

// The cooled camera's decoded frame: a header, then the samples row by row.
// Header fields, little-endian: width (u16 at 4), height (u16 at 6), bits
// per sample (at 8: 8, anything else 16-bit samples), samples per pixel (at
// 9: 1 grey or 3 colour), header size (u16 at 12, the offset of the first
// sample).
struct CooledFrameHeader {
    static constexpr size_t kMinimumSize = 14;
    int width = 0;
    int height = 0;
    int bitsPerSample = 0;
    int samplesPerPixel = 0;
    int headerSize = 0;
};

struct DecodedFrame {
    bool ok = false;
    // Why a frame was refused (a log text), empty when decoded.
    QString error;
    CooledFrameHeader header;
    // width * height * 3 bytes, red, green, blue a pixel, rows of width * 3.
    std::vector<unsigned char> rgb;
};

// Reads the header of a frame of `length` bytes and checks it against the
// buffer before any sample is read: the header must fit, the size must not
// be 0, samples per pixel must be 1 or 3, and every sample must lie within
// `length`. 16-bit samples give their high byte; one sample a pixel is
// written to red, green and blue.
DecodedFrame decodeRawFrame(const unsigned char* frame, size_t length);

// The decoded frame as the working RGB32 picture, mirrored top to bottom when
// `flip` is set. A frame that was refused gives a null picture.
QImage cooledFrameToPicture(const DecodedFrame& decoded, bool flip);

}  // namespace imageops
