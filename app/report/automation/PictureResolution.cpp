// The resolution fields of the picture formats a report takes: TIFF tags,
// the PNG pHYs chunk, the JFIF header of JPEG and the BMP info header. Every
// read is checked against the file's length.

#include "PictureFile.h"

#include <cstdint>

namespace varnu {

namespace {

class Bytes {
  public:
    Bytes(const QByteArray& data, bool littleEndian) : m_data(data), m_little(littleEndian) {}

    bool has(qint64 offset, qint64 count) const {
        return offset >= 0 && count >= 0 && offset + count <= m_data.size();
    }
    uint32_t u8(qint64 o) const { return static_cast<uint8_t>(m_data[static_cast<int>(o)]); }
    uint32_t u16(qint64 o) const {
        return m_little ? (u8(o) | u8(o + 1) << 8) : (u8(o) << 8 | u8(o + 1));
    }
    uint32_t u32(qint64 o) const {
        return m_little ? (u16(o) | u16(o + 2) << 16) : (u16(o) << 16 | u16(o + 2));
    }

  private:
    const QByteArray& m_data;
    bool m_little;
};

constexpr double kInchesPerMetre = 39.3700787;
constexpr double kCentimetresPerInch = 2.54;

bool usable(double dpiX, double dpiY) {
    return dpiX >= 1.0 && dpiY >= 1.0 && dpiX <= 100000.0 && dpiY <= 100000.0;
}

bool tiffResolution(const QByteArray& file, double* dpiX, double* dpiY) {
    if (file.size() < 8 || !(file.startsWith("II*") || file.startsWith("MM\0*"))) {
        return false;
    }
    const Bytes b(file, file[0] == 'I');
    const qint64 ifd = b.u32(4);
    if (!b.has(ifd, 2)) {
        return false;
    }
    const uint32_t count = b.u16(ifd);
    double x = 0.0;
    double y = 0.0;
    uint32_t unit = 2;  // inch, the TIFF default
    for (uint32_t i = 0; i < count; ++i) {
        const qint64 entry = ifd + 2 + 12 * static_cast<qint64>(i);
        if (!b.has(entry, 12)) {
            return false;
        }
        const uint32_t tag = b.u16(entry);
        const uint32_t type = b.u16(entry + 2);
        if ((tag == 282 || tag == 283) && type == 5) {  // RATIONAL
            const qint64 at = b.u32(entry + 8);
            if (!b.has(at, 8) || b.u32(at + 4) == 0) {
                continue;
            }
            const double value = static_cast<double>(b.u32(at)) / b.u32(at + 4);
            (tag == 282 ? x : y) = value;
        } else if (tag == 296 && type == 3) {  // SHORT
            unit = b.u16(entry + 8);
        }
    }
    if (unit == 3) {
        x *= kCentimetresPerInch;
        y *= kCentimetresPerInch;
    } else if (unit != 2) {
        return false;
    }
    *dpiX = x;
    *dpiY = y;
    return usable(x, y);
}

bool pngResolution(const QByteArray& file, double* dpiX, double* dpiY) {
    if (!file.startsWith("\x89PNG\r\n\x1a\n")) {
        return false;
    }
    const Bytes b(file, false);
    qint64 at = 8;
    while (b.has(at, 8)) {
        const qint64 length = b.u32(at);
        const QByteArray type = file.mid(static_cast<int>(at + 4), 4);
        if (type == "IDAT" || type == "IEND") {
            return false;
        }
        if (type == "pHYs" && length == 9 && b.has(at + 8, 9)) {
            if (b.u8(at + 16) != 1) {  // 1: pixels per metre
                return false;
            }
            *dpiX = b.u32(at + 8) / kInchesPerMetre;
            *dpiY = b.u32(at + 12) / kInchesPerMetre;
            return usable(*dpiX, *dpiY);
        }
        at += 12 + length;
    }
    return false;
}

bool jpegResolution(const QByteArray& file, double* dpiX, double* dpiY) {
    // SOI, then an APP0 segment "JFIF\0": version (2), units (1),
    // x and y density (2 each).
    if (!file.startsWith("\xff\xd8\xff\xe0")) {
        return false;
    }
    const Bytes b(file, false);
    if (!b.has(4, 14) || file.mid(6, 5) != QByteArray("JFIF\0", 5)) {
        return false;
    }
    const uint32_t units = b.u8(13);
    const double x = b.u16(14);
    const double y = b.u16(16);
    if (units == 1) {
        *dpiX = x;
        *dpiY = y;
    } else if (units == 2) {
        *dpiX = x * kCentimetresPerInch;
        *dpiY = y * kCentimetresPerInch;
    } else {
        return false;
    }
    return usable(*dpiX, *dpiY);
}

bool bmpResolution(const QByteArray& file, double* dpiX, double* dpiY) {
    const Bytes b(file, true);
    // File header (14 bytes), then an info header of at least 40 bytes whose
    // pixels-per-metre fields are at 24 and 28.
    if (!file.startsWith("BM") || !b.has(14, 40) || b.u32(14) < 40) {
        return false;
    }
    *dpiX = static_cast<int32_t>(b.u32(38)) / kInchesPerMetre;
    *dpiY = static_cast<int32_t>(b.u32(42)) / kInchesPerMetre;
    return usable(*dpiX, *dpiY);
}

}  // namespace

bool pictureResolution(const QByteArray& file, double* dpiX, double* dpiY) {
    return tiffResolution(file, dpiX, dpiY) || pngResolution(file, dpiX, dpiY) ||
           jpegResolution(file, dpiX, dpiY) || bmpResolution(file, dpiX, dpiY);
}

}  // namespace varnu
