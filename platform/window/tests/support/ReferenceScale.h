// A plain reference of the scaling rules, written from their definition with
// none of the library's tables, so tests compare two independent views:
//   - per axis, a shorter destination averages by area: destination pixel d
//     covers source positions [d * S / D, (d + 1) * S / D), and each source
//     pixel counts with the part of it that lies inside;
//   - a destination as long as the source or longer takes the source pixel
//     under its centre, (d + 1/2) * S / D;
//   - every byte of a pixel is scaled on its own, the result rounded half up.
// Pictures hold unpadded rows, bottom row first, as the DIBs they stand for.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "window/PlatWindow.h"

namespace reference {

struct Picture {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 1;
    std::vector<uint8_t> samples;  // rows bottom-up, no padding

    uint8_t At(int x, int y, int channel) const {
        return samples[(static_cast<size_t>(y) * width + x) * bytesPerPixel + channel];
    }
    bool operator==(const Picture& other) const {
        return width == other.width && height == other.height &&
               bytesPerPixel == other.bytesPerPixel && samples == other.samples;
    }
};

inline Picture RandomPicture(int width, int height, int bytesPerPixel, unsigned seed) {
    Picture picture{width, height, bytesPerPixel, {}};
    picture.samples.resize(static_cast<size_t>(width) * height * bytesPerPixel);
    std::mt19937 random(seed);
    for (uint8_t& sample : picture.samples) {
        sample = static_cast<uint8_t>(random());
    }
    return picture;
}

// One axis: the source pixels a destination pixel takes and their weights,
// which sum to the returned total.
struct AxisWeights {
    std::vector<int64_t> pixels;
    std::vector<int64_t> weights;
};

inline int64_t Weigh(int64_t d, int64_t sourceLength, int64_t destinationLength, AxisWeights& out) {
    out.pixels.clear();
    out.weights.clear();
    if (destinationLength >= sourceLength) {
        out.pixels.push_back((2 * d + 1) * sourceLength / (2 * destinationLength));
        out.weights.push_back(1);
        return 1;
    }
    // Scaled by destinationLength: the pixel covers [d * S, (d + 1) * S) and
    // source pixel c covers [c * D, (c + 1) * D).
    const int64_t begin = d * sourceLength;
    const int64_t end = (d + 1) * sourceLength;
    for (int64_t c = 0; c < sourceLength; ++c) {
        const int64_t overlap =
            std::min(end, (c + 1) * destinationLength) - std::max(begin, c * destinationLength);
        if (overlap > 0) {
            out.pixels.push_back(c);
            out.weights.push_back(overlap);
        }
    }
    return sourceLength;
}

inline Picture Scale(const Picture& source, int width, int height) {
    Picture result{width, height, source.bytesPerPixel, {}};
    result.samples.resize(static_cast<size_t>(width) * height * source.bytesPerPixel);
    AxisWeights columns;
    AxisWeights rows;
    for (int y = 0; y < height; ++y) {
        const int64_t rowTotal = Weigh(y, source.height, height, rows);
        for (int x = 0; x < width; ++x) {
            const int64_t total = rowTotal * Weigh(x, source.width, width, columns);
            for (int channel = 0; channel < source.bytesPerPixel; ++channel) {
                int64_t sum = 0;
                for (size_t r = 0; r < rows.pixels.size(); ++r) {
                    for (size_t c = 0; c < columns.pixels.size(); ++c) {
                        sum += rows.weights[r] * columns.weights[c] *
                               source.At(static_cast<int>(columns.pixels[c]),
                                         static_cast<int>(rows.pixels[r]), channel);
                    }
                }
                result.samples[(static_cast<size_t>(y) * width + x) * source.bytesPerPixel +
                               channel] = static_cast<uint8_t>((2 * sum + total) / (2 * total));
            }
        }
    }
    return result;
}

// The picture as the padded bottom-up rows of a DIB.
inline std::vector<uint8_t> ToDibRows(const Picture& picture) {
    const size_t stride =
        plat_dib_stride(picture.width, static_cast<uint16_t>(picture.bytesPerPixel * 8));
    const size_t rowBytes = static_cast<size_t>(picture.width) * picture.bytesPerPixel;
    std::vector<uint8_t> bits(stride * picture.height, 0);
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(&bits[y * stride], &picture.samples[y * rowBytes], rowBytes);
    }
    return bits;
}

// The picture held by padded DIB rows (topDown: the first row in memory is
// the top row).
inline Picture FromDibRows(const void* bits, int width, int height, int bytesPerPixel,
                           bool topDown = false) {
    Picture picture{width, height, bytesPerPixel, {}};
    const size_t stride = plat_dib_stride(width, static_cast<uint16_t>(bytesPerPixel * 8));
    const size_t rowBytes = static_cast<size_t>(width) * bytesPerPixel;
    picture.samples.resize(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        const int memoryRow = topDown ? height - 1 - y : y;
        std::memcpy(&picture.samples[y * rowBytes],
                    static_cast<const uint8_t*>(bits) + memoryRow * stride, rowBytes);
    }
    return picture;
}

// The part of a picture inside a rectangle (y counted from the bottom row).
inline Picture Crop(const Picture& picture, int x, int y, int width, int height) {
    Picture part{width, height, picture.bytesPerPixel, {}};
    const size_t rowBytes = static_cast<size_t>(width) * picture.bytesPerPixel;
    for (int row = 0; row < height; ++row) {
        const uint8_t* first = &picture.samples[(static_cast<size_t>(y + row) * picture.width + x) *
                                                picture.bytesPerPixel];
        part.samples.insert(part.samples.end(), first, first + rowBytes);
    }
    return part;
}

// A DIB header of the picture's size (bottom-up; height < 0 for top-down).
inline PlatBitmapInfo DibInfo(int width, int height, int bytesPerPixel) {
    PlatBitmapInfo info{};
    info.bmiHeader.biSize = sizeof(PlatDibHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<uint16_t>(bytesPerPixel * 8);
    info.bmiHeader.biCompression = PLAT_BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<uint32_t>(
        plat_dib_stride(width, info.bmiHeader.biBitCount) * (height < 0 ? -height : height));
    for (int i = 0; i < 256; ++i) {
        info.bmiColors[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                             static_cast<uint8_t>(i), 0};
    }
    return info;
}

}  // namespace reference
