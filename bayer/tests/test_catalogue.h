// Catalogue of every export of the demosaicing library, for tests that run
// over all of them, and small frame helpers shared by the tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "MT_ZDQBayerFilter.h"

namespace bayer_test {

using ColourFn = int (*)(unsigned char*, int, int, unsigned char*, unsigned short);
using GreyFn = int (*)(unsigned char*, int, int, unsigned char*);

enum class Family {
    kNearest,
    kEdge1,
    kEdge2,
    kBilinear,
    kFastBilinear,
    kSmoothHue,
    kEdgeSensing1,
    kEdgeSensing2,
    kLaplacian,
    kLaplacian2,
};

struct ColourExport {
    const char* name;
    ColourFn fn;
    Family family;
    const char* pattern;
    bool flip;
    bool wide;  // 16-bit samples and channels
};

struct GreyExport {
    const char* name;
    GreyFn fn;
    const char* pattern;
    bool flip;
    bool wide;
};

inline const std::vector<ColourExport>& colour_exports() {
    static const std::vector<ColourExport> all = {
        {"ZDQCFA_NearestNeighbor_RGGB", ZDQCFA_NearestNeighbor_RGGB, Family::kNearest, "RGGB",
         false, false},
        {"ZDQCFA_NearestNeighbor_RGGB_16Bits", ZDQCFA_NearestNeighbor_RGGB_16Bits, Family::kNearest,
         "RGGB", false, true},
        {"ZDQCFA_NearestNeighbor_Edge1_RGGB", ZDQCFA_NearestNeighbor_Edge1_RGGB, Family::kEdge1,
         "RGGB", false, false},
        {"ZDQCFA_NearestNeighbor_Edge1_RGGB_16Bits", ZDQCFA_NearestNeighbor_Edge1_RGGB_16Bits,
         Family::kEdge1, "RGGB", false, true},
        {"ZDQCFA_NearestNeighbor_Edge2_RGGB", ZDQCFA_NearestNeighbor_Edge2_RGGB, Family::kEdge2,
         "RGGB", false, false},
        {"ZDQCFA_Bilinear_RGGB", ZDQCFA_Bilinear_RGGB, Family::kBilinear, "RGGB", false, false},
        {"ZDQCFA_FastBilinear_RGGB", ZDQCFA_FastBilinear_RGGB, Family::kFastBilinear, "RGGB", false,
         false},
        {"ZDQCFA_SmoothHue_RGGB", ZDQCFA_SmoothHue_RGGB, Family::kSmoothHue, "RGGB", false, false},
        {"ZDQCFA_EdgeSensing1_RGGB", ZDQCFA_EdgeSensing1_RGGB, Family::kEdgeSensing1, "RGGB", false,
         false},
        {"ZDQCFA_Laplacian_RGGB", ZDQCFA_Laplacian_RGGB, Family::kLaplacian, "RGGB", false, false},
        {"ZDQCFA_NearestNeighbor_RGGB_Flip", ZDQCFA_NearestNeighbor_RGGB_Flip, Family::kNearest,
         "RGGB", true, false},
        {"ZDQCFA_NearestNeighbor_RGGB_Flip_16Bits", ZDQCFA_NearestNeighbor_RGGB_Flip_16Bits,
         Family::kNearest, "RGGB", true, true},
        {"ZDQCFA_NearestNeighbor_Edge1_RGGB_Flip", ZDQCFA_NearestNeighbor_Edge1_RGGB_Flip,
         Family::kEdge1, "RGGB", true, false},
        {"ZDQCFA_NearestNeighbor_Edge1_RGGB_Flip_16Bits",
         ZDQCFA_NearestNeighbor_Edge1_RGGB_Flip_16Bits, Family::kEdge1, "RGGB", true, true},
        {"ZDQCFA_NearestNeighbor_Edge2_RGGB_Flip", ZDQCFA_NearestNeighbor_Edge2_RGGB_Flip,
         Family::kEdge2, "RGGB", true, false},
        {"ZDQCFA_Bilinear_RGGB_Flip", ZDQCFA_Bilinear_RGGB_Flip, Family::kBilinear, "RGGB", true,
         false},
        {"ZDQCFA_FastBilinear_RGGB_Flip", ZDQCFA_FastBilinear_RGGB_Flip, Family::kFastBilinear,
         "RGGB", true, false},
        {"ZDQCFA_SmoothHue_RGGB_Flip", ZDQCFA_SmoothHue_RGGB_Flip, Family::kSmoothHue, "RGGB", true,
         false},
        {"ZDQCFA_EdgeSensing1_RGGB_Flip", ZDQCFA_EdgeSensing1_RGGB_Flip, Family::kEdgeSensing1,
         "RGGB", true, false},
        {"ZDQCFA_Laplacian_RGGB_Flip", ZDQCFA_Laplacian_RGGB_Flip, Family::kLaplacian, "RGGB", true,
         false},
        {"ZDQCFA_NearestNeighbor_BGGR", ZDQCFA_NearestNeighbor_BGGR, Family::kNearest, "BGGR",
         false, false},
        {"ZDQCFA_NearestNeighbor_BGGR_16Bits", ZDQCFA_NearestNeighbor_BGGR_16Bits, Family::kNearest,
         "BGGR", false, true},
        {"ZDQCFA_NearestNeighbor_Edge1_BGGR", ZDQCFA_NearestNeighbor_Edge1_BGGR, Family::kEdge1,
         "BGGR", false, false},
        {"ZDQCFA_NearestNeighbor_Edge1_BGGR_16Bits", ZDQCFA_NearestNeighbor_Edge1_BGGR_16Bits,
         Family::kEdge1, "BGGR", false, true},
        {"ZDQCFA_NearestNeighbor_Edge2_BGGR", ZDQCFA_NearestNeighbor_Edge2_BGGR, Family::kEdge2,
         "BGGR", false, false},
        {"ZDQCFA_Bilinear_BGGR", ZDQCFA_Bilinear_BGGR, Family::kBilinear, "BGGR", false, false},
        {"ZDQCFA_FastBilinear_BGGR", ZDQCFA_FastBilinear_BGGR, Family::kFastBilinear, "BGGR", false,
         false},
        {"ZDQCFA_SmoothHue_BGGR", ZDQCFA_SmoothHue_BGGR, Family::kSmoothHue, "BGGR", false, false},
        {"ZDQCFA_EdgeSensing1_BGGR", ZDQCFA_EdgeSensing1_BGGR, Family::kEdgeSensing1, "BGGR", false,
         false},
        {"ZDQCFA_Laplacian_BGGR", ZDQCFA_Laplacian_BGGR, Family::kLaplacian, "BGGR", false, false},
        {"ZDQCFA_NearestNeighbor_BGGR_Flip", ZDQCFA_NearestNeighbor_BGGR_Flip, Family::kNearest,
         "BGGR", true, false},
        {"ZDQCFA_NearestNeighbor_BGGR_Flip_16Bits", ZDQCFA_NearestNeighbor_BGGR_Flip_16Bits,
         Family::kNearest, "BGGR", true, true},
        {"ZDQCFA_NearestNeighbor_Edge1_BGGR_Flip", ZDQCFA_NearestNeighbor_Edge1_BGGR_Flip,
         Family::kEdge1, "BGGR", true, false},
        {"ZDQCFA_NearestNeighbor_Edge1_BGGR_Flip_16Bits",
         ZDQCFA_NearestNeighbor_Edge1_BGGR_Flip_16Bits, Family::kEdge1, "BGGR", true, true},
        {"ZDQCFA_NearestNeighbor_Edge2_BGGR_Flip", ZDQCFA_NearestNeighbor_Edge2_BGGR_Flip,
         Family::kEdge2, "BGGR", true, false},
        {"ZDQCFA_Bilinear_BGGR_Flip", ZDQCFA_Bilinear_BGGR_Flip, Family::kBilinear, "BGGR", true,
         false},
        {"ZDQCFA_FastBilinear_BGGR_Flip", ZDQCFA_FastBilinear_BGGR_Flip, Family::kFastBilinear,
         "BGGR", true, false},
        {"ZDQCFA_SmoothHue_BGGR_Flip", ZDQCFA_SmoothHue_BGGR_Flip, Family::kSmoothHue, "BGGR", true,
         false},
        {"ZDQCFA_EdgeSensing1_BGGR_Flip", ZDQCFA_EdgeSensing1_BGGR_Flip, Family::kEdgeSensing1,
         "BGGR", true, false},
        {"ZDQCFA_Laplacian_BGGR_Flip", ZDQCFA_Laplacian_BGGR_Flip, Family::kLaplacian, "BGGR", true,
         false},
        {"ZDQCFA_NearestNeighbor_GRBG", ZDQCFA_NearestNeighbor_GRBG, Family::kNearest, "GRBG",
         false, false},
        {"ZDQCFA_NearestNeighbor_GRBG_16Bits", ZDQCFA_NearestNeighbor_GRBG_16Bits, Family::kNearest,
         "GRBG", false, true},
        {"ZDQCFA_NearestNeighbor_Edge1_GRBG", ZDQCFA_NearestNeighbor_Edge1_GRBG, Family::kEdge1,
         "GRBG", false, false},
        {"ZDQCFA_NearestNeighbor_Edge1_GRBG_16Bits", ZDQCFA_NearestNeighbor_Edge1_GRBG_16Bits,
         Family::kEdge1, "GRBG", false, true},
        {"ZDQCFA_NearestNeighbor_Edge2_GRBG", ZDQCFA_NearestNeighbor_Edge2_GRBG, Family::kEdge2,
         "GRBG", false, false},
        {"ZDQCFA_Bilinear_GRBG", ZDQCFA_Bilinear_GRBG, Family::kBilinear, "GRBG", false, false},
        {"ZDQCFA_FastBilinear_GRBG", ZDQCFA_FastBilinear_GRBG, Family::kFastBilinear, "GRBG", false,
         false},
        {"ZDQCFA_SmoothHue_GRBG", ZDQCFA_SmoothHue_GRBG, Family::kSmoothHue, "GRBG", false, false},
        {"ZDQCFA_EdgeSensing1_GRBG", ZDQCFA_EdgeSensing1_GRBG, Family::kEdgeSensing1, "GRBG", false,
         false},
        {"ZDQCFA_Laplacian_GRBG", ZDQCFA_Laplacian_GRBG, Family::kLaplacian, "GRBG", false, false},
        {"ZDQCFA_NearestNeighbor_GRBG_Flip", ZDQCFA_NearestNeighbor_GRBG_Flip, Family::kNearest,
         "GRBG", true, false},
        {"ZDQCFA_NearestNeighbor_GRBG_Flip_16Bits", ZDQCFA_NearestNeighbor_GRBG_Flip_16Bits,
         Family::kNearest, "GRBG", true, true},
        {"ZDQCFA_NearestNeighbor_Edge1_GRBG_Flip", ZDQCFA_NearestNeighbor_Edge1_GRBG_Flip,
         Family::kEdge1, "GRBG", true, false},
        {"ZDQCFA_NearestNeighbor_Edge1_GRBG_Flip_16Bits",
         ZDQCFA_NearestNeighbor_Edge1_GRBG_Flip_16Bits, Family::kEdge1, "GRBG", true, true},
        {"ZDQCFA_NearestNeighbor_Edge2_GRBG_Flip", ZDQCFA_NearestNeighbor_Edge2_GRBG_Flip,
         Family::kEdge2, "GRBG", true, false},
        {"ZDQCFA_Bilinear_GRBG_Flip", ZDQCFA_Bilinear_GRBG_Flip, Family::kBilinear, "GRBG", true,
         false},
        {"ZDQCFA_FastBilinear_GRBG_Flip", ZDQCFA_FastBilinear_GRBG_Flip, Family::kFastBilinear,
         "GRBG", true, false},
        {"ZDQCFA_SmoothHue_GRBG_Flip", ZDQCFA_SmoothHue_GRBG_Flip, Family::kSmoothHue, "GRBG", true,
         false},
        {"ZDQCFA_EdgeSensing1_GRBG_Flip", ZDQCFA_EdgeSensing1_GRBG_Flip, Family::kEdgeSensing1,
         "GRBG", true, false},
        {"ZDQCFA_Laplacian_GRBG_Flip", ZDQCFA_Laplacian_GRBG_Flip, Family::kLaplacian, "GRBG", true,
         false},
        {"ZDQCFA_NearestNeighbor_GBRG", ZDQCFA_NearestNeighbor_GBRG, Family::kNearest, "GBRG",
         false, false},
        {"ZDQCFA_NearestNeighbor_GBRG_16Bits", ZDQCFA_NearestNeighbor_GBRG_16Bits, Family::kNearest,
         "GBRG", false, true},
        {"ZDQCFA_NearestNeighbor_Edge1_GBRG", ZDQCFA_NearestNeighbor_Edge1_GBRG, Family::kEdge1,
         "GBRG", false, false},
        {"ZDQCFA_NearestNeighbor_Edge1_GBRG_16Bits", ZDQCFA_NearestNeighbor_Edge1_GBRG_16Bits,
         Family::kEdge1, "GBRG", false, true},
        {"ZDQCFA_NearestNeighbor_Edge2_GBRG", ZDQCFA_NearestNeighbor_Edge2_GBRG, Family::kEdge2,
         "GBRG", false, false},
        {"ZDQCFA_Bilinear_GBRG", ZDQCFA_Bilinear_GBRG, Family::kBilinear, "GBRG", false, false},
        {"ZDQCFA_FastBilinear_GBRG", ZDQCFA_FastBilinear_GBRG, Family::kFastBilinear, "GBRG", false,
         false},
        {"ZDQCFA_SmoothHue_GBRG", ZDQCFA_SmoothHue_GBRG, Family::kSmoothHue, "GBRG", false, false},
        {"ZDQCFA_EdgeSensing1_GBRG", ZDQCFA_EdgeSensing1_GBRG, Family::kEdgeSensing1, "GBRG", false,
         false},
        {"ZDQCFA_Laplacian_GBRG", ZDQCFA_Laplacian_GBRG, Family::kLaplacian, "GBRG", false, false},
        {"ZDQCFA_NearestNeighbor_GBRG_Flip", ZDQCFA_NearestNeighbor_GBRG_Flip, Family::kNearest,
         "GBRG", true, false},
        {"ZDQCFA_NearestNeighbor_GBRG_Flip_16Bits", ZDQCFA_NearestNeighbor_GBRG_Flip_16Bits,
         Family::kNearest, "GBRG", true, true},
        {"ZDQCFA_NearestNeighbor_Edge1_GBRG_Flip", ZDQCFA_NearestNeighbor_Edge1_GBRG_Flip,
         Family::kEdge1, "GBRG", true, false},
        {"ZDQCFA_NearestNeighbor_Edge1_GBRG_Flip_16Bits",
         ZDQCFA_NearestNeighbor_Edge1_GBRG_Flip_16Bits, Family::kEdge1, "GBRG", true, true},
        {"ZDQCFA_NearestNeighbor_Edge2_GBRG_Flip", ZDQCFA_NearestNeighbor_Edge2_GBRG_Flip,
         Family::kEdge2, "GBRG", true, false},
        {"ZDQCFA_Bilinear_GBRG_Flip", ZDQCFA_Bilinear_GBRG_Flip, Family::kBilinear, "GBRG", true,
         false},
        {"ZDQCFA_FastBilinear_GBRG_Flip", ZDQCFA_FastBilinear_GBRG_Flip, Family::kFastBilinear,
         "GBRG", true, false},
        {"ZDQCFA_SmoothHue_GBRG_Flip", ZDQCFA_SmoothHue_GBRG_Flip, Family::kSmoothHue, "GBRG", true,
         false},
        {"ZDQCFA_EdgeSensing1_GBRG_Flip", ZDQCFA_EdgeSensing1_GBRG_Flip, Family::kEdgeSensing1,
         "GBRG", true, false},
        {"ZDQCFA_Laplacian_GBRG_Flip", ZDQCFA_Laplacian_GBRG_Flip, Family::kLaplacian, "GBRG", true,
         false},
        {"ZDQCFA_EdgeSensing2_RGGB", ZDQCFA_EdgeSensing2_RGGB, Family::kEdgeSensing2, "RGGB", false,
         false},
        {"ZDQCFA_EdgeSensing2_RGGB_Flip", ZDQCFA_EdgeSensing2_RGGB_Flip, Family::kEdgeSensing2,
         "RGGB", true, false},
        {"ZDQCFA_Laplacian2_RGGB", ZDQCFA_Laplacian2_RGGB, Family::kLaplacian2, "RGGB", false,
         false},
    };
    return all;
}

inline const std::vector<GreyExport>& grey_exports() {
    static const std::vector<GreyExport> all = {
        {"ZDQCFA_NearestNeighbor_RGGB_Gray", ZDQCFA_NearestNeighbor_RGGB_Gray, "RGGB", false,
         false},
        {"ZDQCFA_NearestNeighbor_RGGB_Gray_16Bits", ZDQCFA_NearestNeighbor_RGGB_Gray_16Bits, "RGGB",
         false, true},
        {"ZDQCFA_NearestNeighbor_RGGB_Gray_Flip", ZDQCFA_NearestNeighbor_RGGB_Gray_Flip, "RGGB",
         true, false},
        {"ZDQCFA_NearestNeighbor_RGGB_Gray_Flip_16Bits",
         ZDQCFA_NearestNeighbor_RGGB_Gray_Flip_16Bits, "RGGB", true, true},
        {"ZDQCFA_NearestNeighbor_BGGR_Gray", ZDQCFA_NearestNeighbor_BGGR_Gray, "BGGR", false,
         false},
        {"ZDQCFA_NearestNeighbor_BGGR_Gray_16Bits", ZDQCFA_NearestNeighbor_BGGR_Gray_16Bits, "BGGR",
         false, true},
        {"ZDQCFA_NearestNeighbor_BGGR_Gray_Flip", ZDQCFA_NearestNeighbor_BGGR_Gray_Flip, "BGGR",
         true, false},
        {"ZDQCFA_NearestNeighbor_BGGR_Gray_Flip_16Bits",
         ZDQCFA_NearestNeighbor_BGGR_Gray_Flip_16Bits, "BGGR", true, true},
        {"ZDQCFA_NearestNeighbor_GRBG_Gray", ZDQCFA_NearestNeighbor_GRBG_Gray, "GRBG", false,
         false},
        {"ZDQCFA_NearestNeighbor_GRBG_Gray_16Bits", ZDQCFA_NearestNeighbor_GRBG_Gray_16Bits, "GRBG",
         false, true},
        {"ZDQCFA_NearestNeighbor_GRBG_Gray_Flip", ZDQCFA_NearestNeighbor_GRBG_Gray_Flip, "GRBG",
         true, false},
        {"ZDQCFA_NearestNeighbor_GRBG_Gray_Flip_16Bits",
         ZDQCFA_NearestNeighbor_GRBG_Gray_Flip_16Bits, "GRBG", true, true},
        {"ZDQCFA_NearestNeighbor_GBRG_Gray", ZDQCFA_NearestNeighbor_GBRG_Gray, "GBRG", false,
         false},
        {"ZDQCFA_NearestNeighbor_GBRG_Gray_16Bits", ZDQCFA_NearestNeighbor_GBRG_Gray_16Bits, "GBRG",
         false, true},
        {"ZDQCFA_NearestNeighbor_GBRG_Gray_Flip", ZDQCFA_NearestNeighbor_GBRG_Gray_Flip, "GBRG",
         true, false},
        {"ZDQCFA_NearestNeighbor_GBRG_Gray_Flip_16Bits",
         ZDQCFA_NearestNeighbor_GBRG_Gray_Flip_16Bits, "GBRG", true, true},
    };
    return all;
}

inline bool is_border_fill(const ColourExport& e) {
    return e.family == Family::kEdge1 || e.family == Family::kEdge2;
}

// Thickness of the border an export fills from 2x2 windows.
inline int border_of(const ColourExport& e) {
    return e.family == Family::kEdge2 || e.family == Family::kLaplacian ||
                   e.family == Family::kLaplacian2
               ? 2
               : 1;
}

// Colour of raw pixel (y, x) for a pattern name: 'R', 'G' or 'B'.
inline char site(const std::string& pattern, int y, int x) {
    return pattern[2 * (y & 1) + (x & 1)];
}

// Raw samples of either width, stored in a byte buffer of exactly the frame's
// size, as the library receives them.
struct RawImage {
    int width = 0;
    int height = 0;
    bool wide = false;
    std::vector<unsigned char> bytes;

    RawImage(int w, int h, bool is_wide)
        : width(w),
          height(h),
          wide(is_wide),
          bytes(static_cast<std::size_t>(w) * h * (is_wide ? 2 : 1)) {}

    unsigned at(int y, int x) const {
        const std::size_t i = static_cast<std::size_t>(y) * width + x;
        if (!wide) {
            return bytes[i];
        }
        std::uint16_t v;
        std::memcpy(&v, &bytes[2 * i], 2);
        return v;
    }
    void set(int y, int x, unsigned v) {
        const std::size_t i = static_cast<std::size_t>(y) * width + x;
        if (!wide) {
            bytes[i] = static_cast<unsigned char>(v);
            return;
        }
        const std::uint16_t s = static_cast<std::uint16_t>(v);
        std::memcpy(&bytes[2 * i], &s, 2);
    }
    void fill(unsigned v) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                set(y, x, v);
            }
        }
    }
    void randomize(std::uint32_t seed, unsigned max_value) {
        std::mt19937 gen(seed);
        std::uniform_int_distribution<unsigned> dist(0, max_value);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                set(y, x, dist(gen));
            }
        }
    }
    unsigned char* data() { return bytes.data(); }
};

// Colour output of one call, in a buffer of exactly the documented size,
// initialised with a sentinel so untouched values show.
struct ColourImage {
    int width = 0;
    int height = 0;
    int channels = 3;
    bool wide = false;
    std::vector<unsigned char> bytes;

    ColourImage(int w, int h, int bit_count, bool is_wide, unsigned char sentinel = 0xA5)
        : width(w),
          height(h),
          channels(bit_count / 8),
          wide(is_wide),
          bytes(static_cast<std::size_t>(w) * h * (bit_count / 8) * (is_wide ? 2 : 1), sentinel) {}

    // Value of channel c of output row `row` (memory order), column x.
    unsigned at_row(int row, int x, int c) const {
        const std::size_t i = (static_cast<std::size_t>(row) * width + x) * channels + c;
        if (!wide) {
            return bytes[i];
        }
        std::uint16_t v;
        std::memcpy(&v, &bytes[2 * i], 2);
        return v;
    }
    // Value of channel c of image pixel (y, x) for an export's row order.
    unsigned at(int y, int x, int c, bool flip) const {
        return at_row(flip ? height - 1 - y : y, x, c);
    }
    unsigned char* data() { return bytes.data(); }
};

inline int run(const ColourExport& e, RawImage& raw, ColourImage& out) {
    return e.fn(raw.data(), raw.width, raw.height, out.data(),
                static_cast<unsigned short>(out.channels * 8));
}

inline const ColourExport& colour_export(const std::string& name) {
    for (const auto& e : colour_exports()) {
        if (name == e.name) {
            return e;
        }
    }
    throw std::runtime_error("no export " + name);
}

constexpr int kBlue = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;

}  // namespace bayer_test
