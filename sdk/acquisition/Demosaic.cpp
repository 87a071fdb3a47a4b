#include "acquisition/Demosaic.h"

#include "MT_ZDQBayerFilter.h"
#include "ZDQApi.h"

namespace {

using ColourFunction = int (*)(unsigned char*, int, int, unsigned char*, unsigned short);
using GreyFunction = int (*)(unsigned char*, int, int, unsigned char*);

// Patterns in the order of the Bayer modes within a group of four.
#define MTZDQ_PATTERNS(method, suffix)                                     \
    {                                                                      \
        ZDQCFA_##method##_BGGR##suffix, ZDQCFA_##method##_GRBG##suffix,    \
            ZDQCFA_##method##_RGGB##suffix, ZDQCFA_##method##_GBRG##suffix \
    }
#define MTZDQ_ALGORITHM(method) \
    { MTZDQ_PATTERNS(method, ), MTZDQ_PATTERNS(method, _Flip) }

// [algorithm][0 plain, 1 _Flip][pattern], algorithms in DemosaicAlgorithm
// order.
const ColourFunction kColour[6][2][4] = {
    MTZDQ_ALGORITHM(NearestNeighbor), MTZDQ_ALGORITHM(Bilinear),  MTZDQ_ALGORITHM(SmoothHue),
    MTZDQ_ALGORITHM(EdgeSensing1),    MTZDQ_ALGORITHM(Laplacian), MTZDQ_ALGORITHM(FastBilinear),
};
const ColourFunction kColour16[2][4] = {MTZDQ_PATTERNS(NearestNeighbor, _16Bits),
                                        MTZDQ_PATTERNS(NearestNeighbor, _Flip_16Bits)};

#undef MTZDQ_ALGORITHM
#undef MTZDQ_PATTERNS

unsigned char* Raw(const uint8_t* p) {
    return const_cast<unsigned char*>(p);  // the library only reads it
}

}  // namespace

int BayerModeBitCount(int nMode) {
    if (nMode < 0 || nMode > kMaxBayerMode) {
        return 0;
    }
    return nMode < 8 ? 24 : nMode < 16 ? 32 : 8;
}

int BayerToRgb8(int nMode, int nAlgorithm, const uint8_t* pRaw, int nWidth, int nHeight,
                uint8_t* pOut) {
    if (nMode >= 16 && nMode <= kMaxBayerMode) {
        // Grey 2 x 2 means whatever the algorithm: modes 16-19 bottom-up.
        return nMode < 20 ? ZDQCFA_NearestNeighbor_RGGB_Gray_Flip(Raw(pRaw), nWidth, nHeight, pOut)
                          : ZDQCFA_NearestNeighbor_RGGB_Gray(Raw(pRaw), nWidth, nHeight, pOut);
    }
    if (nMode < 0 || nMode >= 16 || nAlgorithm < 0 || nAlgorithm > kMaxDemosaicAlgorithm) {
        return RET_NOTSUPPORT;
    }
    // Modes 0-3 and 8-11 write rows bottom-up (_Flip), 4-7 and 12-15 top-down.
    const int nFlip = (nMode % 8) < 4 ? 1 : 0;
    const unsigned short wBits = static_cast<unsigned short>(BayerModeBitCount(nMode));
    return kColour[nAlgorithm][nFlip][nMode % 4](Raw(pRaw), nWidth, nHeight, pOut, wBits);
}

int BayerToRgb16(int nMode, const uint8_t* pRaw, int nWidth, int nHeight, uint8_t* pOut) {
    if (nMode >= 16 && nMode <= kMaxBayerMode) {
        if (nMode < 20) {
            ZDQCFA_NearestNeighbor_RGGB_Gray_16Bits(Raw(pRaw), nWidth, nHeight, pOut);
        } else {
            ZDQCFA_NearestNeighbor_RGGB_Gray_Flip_16Bits(Raw(pRaw), nWidth, nHeight, pOut);
        }
    } else if (nMode >= 0 && nMode < 16) {
        const int nFlip = (nMode % 8) < 4 ? 0 : 1;
        const unsigned short wBits = static_cast<unsigned short>(BayerModeBitCount(nMode));
        kColour16[nFlip][nMode % 4](Raw(pRaw), nWidth, nHeight, pOut, wBits);
    }
    return RET_SUCCESS;
}
