// The exported functions: each is one instantiation of a body in
// algorithms.h, chosen by pattern, row order, sample size and the variant the
// export uses. Forwarding exports call the body of the export they forward to
// directly (never through the dynamic symbol), so a caller that interposes an
// export cannot change what another export computes.
#include "MT_ZDQBayerFilter.h"
#include "algorithms.h"

using mtzdq::FourthByte;
using mtzdq::kFlipped;
using mtzdq::kUpright;
using mtzdq::NearestVariant;
using mtzdq::Pattern;
using std::uint16_t;
using std::uint8_t;

#define MTZDQ_COLOUR_EXPORT(name, ...)                                      \
    int name(unsigned char* raw, int width, int height, unsigned char* dst, \
             unsigned short bitCount) {                                     \
        return __VA_ARGS__(raw, width, height, dst, bitCount);              \
    }

#define MTZDQ_GREY_EXPORT(name, ...)                                          \
    int name(unsigned char* raw, int width, int height, unsigned char* dst) { \
        return __VA_ARGS__(raw, width, height, dst);                          \
    }

// ---- Nearest neighbour, 8-bit ----
MTZDQ_COLOUR_EXPORT(ZDQCFA_NearestNeighbor_RGGB,
                    mtzdq::nearest_neighbor<Pattern::RGGB, kUpright, uint8_t,
                                            NearestVariant::kAveragedGreen, FourthByte::kOpaque>)
MTZDQ_COLOUR_EXPORT(
    ZDQCFA_NearestNeighbor_RGGB_Flip,
    mtzdq::nearest_neighbor<Pattern::RGGB, kFlipped, uint8_t, NearestVariant::kAveragedGreen>)
MTZDQ_COLOUR_EXPORT(
    ZDQCFA_NearestNeighbor_BGGR,
    mtzdq::nearest_neighbor<Pattern::BGGR, kUpright, uint8_t, NearestVariant::kLeftGreen>)
MTZDQ_COLOUR_EXPORT(
    ZDQCFA_NearestNeighbor_BGGR_Flip,
    mtzdq::nearest_neighbor<Pattern::BGGR, kFlipped, uint8_t, NearestVariant::kAveragedGreen>)
MTZDQ_COLOUR_EXPORT(
    ZDQCFA_NearestNeighbor_GBRG,
    mtzdq::nearest_neighbor<Pattern::GBRG, kUpright, uint8_t, NearestVariant::kRightGreen>)
MTZDQ_COLOUR_EXPORT(
    ZDQCFA_NearestNeighbor_GBRG_Flip,
    mtzdq::nearest_neighbor<Pattern::GBRG, kFlipped, uint8_t, NearestVariant::kRightGreen>)

int ZDQCFA_NearestNeighbor_GRBG(unsigned char* raw, int width, int height, unsigned char* dst,
                                unsigned short bitCount) {
    mtzdq::Trace trace;
    trace.before_border = "ZDQCFA_NearestNeighbor_GRBG";
    return mtzdq::nearest_neighbor<Pattern::GRBG, kUpright, uint8_t,
                                   NearestVariant::kAveragedGreen>(raw, width, height, dst,
                                                                   bitCount, trace);
}

int ZDQCFA_NearestNeighbor_GRBG_Flip(unsigned char* raw, int width, int height, unsigned char* dst,
                                     unsigned short bitCount) {
    mtzdq::Trace trace;
    trace.after_border = "ZDQBayerFilter::ZDQCFA_NearestNeighbor_GRBG_Flip";
    return mtzdq::nearest_neighbor<Pattern::GRBG, kFlipped, uint8_t,
                                   NearestVariant::kAveragedGreen>(raw, width, height, dst,
                                                                   bitCount, trace);
}

// ---- Nearest neighbour, 16-bit samples ----
#define MTZDQ_NEAREST_16(pattern)                                                                  \
    MTZDQ_COLOUR_EXPORT(                                                                           \
        ZDQCFA_NearestNeighbor_##pattern##_16Bits,                                                 \
        mtzdq::nearest_neighbor<Pattern::pattern, kUpright, uint16_t, NearestVariant::kLeftGreen>) \
    MTZDQ_COLOUR_EXPORT(                                                                           \
        ZDQCFA_NearestNeighbor_##pattern##_Flip_16Bits,                                            \
        mtzdq::nearest_neighbor<Pattern::pattern, kFlipped, uint16_t, NearestVariant::kLeftGreen>)
MTZDQ_NEAREST_16(RGGB)
MTZDQ_NEAREST_16(BGGR)
MTZDQ_NEAREST_16(GRBG)
MTZDQ_NEAREST_16(GBRG)

// ---- Grey ----
// RGGB 8-bit: last two columns copied; the three other 8-bit patterns share
// one body with the last column copied. Every 8-bit flipped grey export runs
// the RGGB one. All 16-bit grey exports copy the last column.
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_RGGB_Gray, mtzdq::grey<uint8_t, kUpright, true>)
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_BGGR_Gray, mtzdq::grey<uint8_t, kUpright, false>)
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_GRBG_Gray, mtzdq::grey<uint8_t, kUpright, false>)
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_GBRG_Gray, mtzdq::grey<uint8_t, kUpright, false>)
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_RGGB_Gray_Flip, mtzdq::grey<uint8_t, kFlipped, true>)
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_BGGR_Gray_Flip, mtzdq::grey<uint8_t, kFlipped, true>)
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_GRBG_Gray_Flip, mtzdq::grey<uint8_t, kFlipped, true>)
MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_GBRG_Gray_Flip, mtzdq::grey<uint8_t, kFlipped, true>)
#define MTZDQ_GREY_16(pattern)                                             \
    MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_##pattern##_Gray_16Bits,      \
                      mtzdq::grey<uint16_t, kUpright, false>)              \
    MTZDQ_GREY_EXPORT(ZDQCFA_NearestNeighbor_##pattern##_Gray_Flip_16Bits, \
                      mtzdq::grey<uint16_t, kFlipped, false>)
MTZDQ_GREY_16(RGGB)
MTZDQ_GREY_16(BGGR)
MTZDQ_GREY_16(GRBG)
MTZDQ_GREY_16(GBRG)

// ---- Border fills ----
#define MTZDQ_EDGE_FILLS(pattern)                                             \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_NearestNeighbor_Edge1_##pattern,               \
                        mtzdq::edge1<Pattern::pattern, kUpright, uint8_t>)    \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_NearestNeighbor_Edge1_##pattern##_Flip,        \
                        mtzdq::edge1<Pattern::pattern, kFlipped, uint8_t>)    \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_NearestNeighbor_Edge1_##pattern##_16Bits,      \
                        mtzdq::edge1<Pattern::pattern, kUpright, uint16_t>)   \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_NearestNeighbor_Edge1_##pattern##_Flip_16Bits, \
                        mtzdq::edge1<Pattern::pattern, kFlipped, uint16_t>)   \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_NearestNeighbor_Edge2_##pattern,               \
                        mtzdq::edge2<Pattern::pattern, kUpright>)             \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_NearestNeighbor_Edge2_##pattern##_Flip,        \
                        mtzdq::edge2<Pattern::pattern, kFlipped>)
MTZDQ_EDGE_FILLS(RGGB)
MTZDQ_EDGE_FILLS(BGGR)
MTZDQ_EDGE_FILLS(GRBG)
MTZDQ_EDGE_FILLS(GBRG)

// ---- Bilinear and fast bilinear: the upright ones set the fourth byte ----
#define MTZDQ_BILINEAR(pattern)                                                                \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_Bilinear_##pattern,                                             \
                        mtzdq::bilinear<Pattern::pattern, kUpright, FourthByte::kOpaque>)      \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_Bilinear_##pattern##_Flip,                                      \
                        mtzdq::bilinear<Pattern::pattern, kFlipped, FourthByte::kKept>)        \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_FastBilinear_##pattern,                                         \
                        mtzdq::fast_bilinear<Pattern::pattern, kUpright, FourthByte::kOpaque>) \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_FastBilinear_##pattern##_Flip,                                  \
                        mtzdq::fast_bilinear<Pattern::pattern, kFlipped, FourthByte::kKept>)
MTZDQ_BILINEAR(RGGB)
MTZDQ_BILINEAR(BGGR)
MTZDQ_BILINEAR(GRBG)
MTZDQ_BILINEAR(GBRG)

// ---- Smooth hue: only the flipped BGGR one clears the fourth byte ----
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_RGGB,
                    mtzdq::smooth_hue<Pattern::RGGB, kUpright, FourthByte::kKept>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_RGGB_Flip,
                    mtzdq::smooth_hue<Pattern::RGGB, kFlipped, FourthByte::kKept>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_BGGR,
                    mtzdq::smooth_hue<Pattern::BGGR, kUpright, FourthByte::kKept>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_BGGR_Flip,
                    mtzdq::smooth_hue<Pattern::BGGR, kFlipped, FourthByte::kZero>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_GRBG,
                    mtzdq::smooth_hue<Pattern::GRBG, kUpright, FourthByte::kKept>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_GRBG_Flip,
                    mtzdq::smooth_hue<Pattern::GRBG, kFlipped, FourthByte::kKept>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_GBRG,
                    mtzdq::smooth_hue<Pattern::GBRG, kUpright, FourthByte::kKept>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_SmoothHue_GBRG_Flip,
                    mtzdq::smooth_hue<Pattern::GBRG, kFlipped, FourthByte::kKept>)

// ---- Edge sensing: RGGB chooses the flatter diagonal, like EdgeSensing2 ----
MTZDQ_COLOUR_EXPORT(ZDQCFA_EdgeSensing2_RGGB, mtzdq::edge_sensing<Pattern::RGGB, kUpright, true>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_EdgeSensing2_RGGB_Flip,
                    mtzdq::edge_sensing<Pattern::RGGB, kFlipped, true>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_EdgeSensing1_RGGB, mtzdq::edge_sensing<Pattern::RGGB, kUpright, true>)
MTZDQ_COLOUR_EXPORT(ZDQCFA_EdgeSensing1_RGGB_Flip,
                    mtzdq::edge_sensing<Pattern::RGGB, kFlipped, true>)
#define MTZDQ_EDGE_SENSING1(pattern)                                            \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_EdgeSensing1_##pattern,                          \
                        mtzdq::edge_sensing<Pattern::pattern, kUpright, false>) \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_EdgeSensing1_##pattern##_Flip,                   \
                        mtzdq::edge_sensing<Pattern::pattern, kFlipped, false>)
MTZDQ_EDGE_SENSING1(BGGR)
MTZDQ_EDGE_SENSING1(GRBG)
MTZDQ_EDGE_SENSING1(GBRG)

// ---- Laplacian ----
#define MTZDQ_LAPLACIAN(pattern)                                                                  \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_Laplacian_##pattern, mtzdq::laplacian<Pattern::pattern, kUpright>) \
    MTZDQ_COLOUR_EXPORT(ZDQCFA_Laplacian_##pattern##_Flip,                                        \
                        mtzdq::laplacian<Pattern::pattern, kFlipped>)
MTZDQ_LAPLACIAN(RGGB)
MTZDQ_LAPLACIAN(BGGR)
MTZDQ_LAPLACIAN(GRBG)
MTZDQ_LAPLACIAN(GBRG)

MTZDQ_COLOUR_EXPORT(ZDQCFA_Laplacian2_RGGB, mtzdq::laplacian2_rggb)
