#include "CooledFrame.h"

#include <QtDebug>

namespace imageops {

namespace {

int readU16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

DecodedFrame refused(const CooledFrameHeader& header, const QString& why) {
    DecodedFrame result;
    result.header = header;
    result.error = why;
    return result;
}

}  // namespace

DecodedFrame decodeRawFrame(const unsigned char* frame, size_t length) {
    CooledFrameHeader header;
    if (frame == nullptr || length < CooledFrameHeader::kMinimumSize) {
        return refused(header, QStringLiteral("raw frame shorter than its header."));
    }
    header.width = readU16(frame + 4);
    header.height = readU16(frame + 6);
    header.bitsPerSample = frame[8];
    header.samplesPerPixel = frame[9];
    header.headerSize = readU16(frame + 12);
    qDebug() << "headSz:" << header.headerSize;

    if (header.samplesPerPixel != 1 && header.samplesPerPixel != 3) {
        return refused(
            header,
            QStringLiteral("raw frame with %1 samples per pixel.").arg(header.samplesPerPixel));
    }
    if (header.width == 0 || header.height == 0) {
        return refused(header, QStringLiteral("raw frame without pixels."));
    }
    const size_t bytesPerSample = header.bitsPerSample == 8 ? 1 : 2;
    const size_t pixels = static_cast<size_t>(header.width) * static_cast<size_t>(header.height);
    const size_t samples = pixels * static_cast<size_t>(header.samplesPerPixel);
    const size_t headerSize = static_cast<size_t>(header.headerSize);
    // Widths and heights are 16-bit, so these products cannot overflow.
    if (headerSize > length || samples * bytesPerSample > length - headerSize) {
        return refused(header,
                       QStringLiteral("raw frame header promises %1 samples after %2 bytes; "
                                      "the buffer holds %3 bytes.")
                           .arg(samples)
                           .arg(headerSize)
                           .arg(length));
    }

    DecodedFrame result;
    result.header = header;
    result.rgb.resize(pixels * 3);
    // For 16-bit samples the high byte of each little-endian sample.
    const unsigned char* sample = frame + headerSize + (bytesPerSample - 1);
    unsigned char* out = result.rgb.data();
    if (header.samplesPerPixel == 1) {
        for (size_t i = 0; i < pixels; ++i, sample += bytesPerSample) {
            out[3 * i] = out[3 * i + 1] = out[3 * i + 2] = *sample;
        }
    } else {
        for (size_t i = 0; i < samples; ++i, sample += bytesPerSample) {
            out[i] = *sample;
        }
    }
    result.ok = true;
    return result;
}

QImage cooledFrameToPicture(const DecodedFrame& decoded, bool flip) {
    if (!decoded.ok) {
        return {};
    }
    const QImage rgb(decoded.rgb.data(), decoded.header.width, decoded.header.height,
                     decoded.header.width * 3, QImage::Format_RGB888);
    QImage picture = rgb.convertToFormat(QImage::Format_RGB32);
    return flip ? picture.mirrored(false, true) : picture;
}

}  // namespace imageops
