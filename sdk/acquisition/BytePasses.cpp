#include "acquisition/BytePasses.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// A byte shuffle looks up 16 entries, so the table is taken as two halves
// of 8 rows of 16 entries. Rows are chosen without masks: the low 7 bits of
// a byte x minus 16 k, saturated as a signed byte, keep the low nibble of x
// and have their top bit clear exactly when x lies in row k of its half or a
// later one, and a shuffle gives 0 for indices with the top bit set. So x
// looks up rows 0 .. ((x >> 4) & 7) of a half whose row k holds the
// exclusive-or of rows k and k - 1 of the table, and the exclusive-or of
// those looks is the table's entry. Both halves are looked up this way; the
// top bit of x picks one.
struct ShuffleRows {
    alignas(16) uint8_t row[2][8][16];  // [half][row of the half][entry]
};

ShuffleRows MakeShuffleRows(const ByteTable& table) {
    ShuffleRows rows{};
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < 8; ++k) {
            for (int j = 0; j < 16; ++j) {
                const int n = 128 * h + 16 * k + j;
                rows.row[h][k][j] = table[n] ^ (k == 0 ? 0 : table[n - 16]);
            }
        }
    }
    return rows;
}

void LookUpScalar(const ByteTable& table, uint8_t* pData, size_t nBytes) {
    // Eight bytes a step: one load, eight look-ups, one store (a plain byte
    // loop is turned into slow gathers by some optimisers).
    size_t i = 0;
    for (; i + 8 <= nBytes; i += 8) {
        uint64_t wIn;
        std::memcpy(&wIn, pData + i, sizeof wIn);
        const auto at = [&](int nShift) {
            return static_cast<uint64_t>(table[(wIn >> nShift) & 0xFF]) << nShift;
        };
        const uint64_t wOut = at(0) | at(8) | at(16) | at(24) | at(32) | at(40) | at(48) | at(56);
        std::memcpy(pData + i, &wOut, sizeof wOut);
    }
    for (; i < nBytes; ++i) {
        pData[i] = table[pData[i]];
    }
}

__attribute__((target("ssse3"))) void LookUpSsse3(const ByteTable& table, uint8_t* pData,
                                                  size_t nBytes) {
    const ShuffleRows shuffleRows = MakeShuffleRows(table);
    __m128i rows[2][8];
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < 8; ++k) {
            rows[h][k] = _mm_load_si128(reinterpret_cast<const __m128i*>(shuffleRows.row[h][k]));
        }
    }
    const __m128i low7 = _mm_set1_epi8(0x7F);
    const __m128i step = _mm_set1_epi8(16);
    size_t i = 0;
    for (; i + 16 <= nBytes; i += 16) {
        __m128i* p = reinterpret_cast<__m128i*>(pData + i);
        const __m128i x = _mm_loadu_si128(p);
        __m128i index = _mm_and_si128(x, low7);
        __m128i lower = _mm_shuffle_epi8(rows[0][0], index);
        __m128i upper = _mm_shuffle_epi8(rows[1][0], index);
        for (int k = 1; k < 8; ++k) {
            index = _mm_subs_epi8(index, step);
            lower = _mm_xor_si128(lower, _mm_shuffle_epi8(rows[0][k], index));
            upper = _mm_xor_si128(upper, _mm_shuffle_epi8(rows[1][k], index));
        }
        // SSSE3 has no byte blend: select with the sign of x.
        const __m128i top = _mm_cmplt_epi8(x, _mm_setzero_si128());
        _mm_storeu_si128(p, _mm_or_si128(_mm_andnot_si128(top, lower), _mm_and_si128(top, upper)));
    }
    LookUpScalar(table, pData + i, nBytes - i);
}

__attribute__((target("avx2"))) void LookUpAvx2(const ByteTable& table, uint8_t* pData,
                                                size_t nBytes) {
    const ShuffleRows shuffleRows = MakeShuffleRows(table);
    __m256i rows[2][8];
    for (int h = 0; h < 2; ++h) {
        for (int k = 0; k < 8; ++k) {
            rows[h][k] = _mm256_broadcastsi128_si256(
                _mm_load_si128(reinterpret_cast<const __m128i*>(shuffleRows.row[h][k])));
        }
    }
    const __m256i low7 = _mm256_set1_epi8(0x7F);
    const __m256i step = _mm256_set1_epi8(16);
    size_t i = 0;
    for (; i + 32 <= nBytes; i += 32) {
        __m256i* p = reinterpret_cast<__m256i*>(pData + i);
        const __m256i x = _mm256_loadu_si256(p);
        __m256i index = _mm256_and_si256(x, low7);
        __m256i lower = _mm256_shuffle_epi8(rows[0][0], index);
        __m256i upper = _mm256_shuffle_epi8(rows[1][0], index);
        for (int k = 1; k < 8; ++k) {
            index = _mm256_subs_epi8(index, step);
            lower = _mm256_xor_si256(lower, _mm256_shuffle_epi8(rows[0][k], index));
            upper = _mm256_xor_si256(upper, _mm256_shuffle_epi8(rows[1][k], index));
        }
        _mm256_storeu_si256(p, _mm256_blendv_epi8(lower, upper, x));
    }
    LookUpScalar(table, pData + i, nBytes - i);
}

// Sample i is read before byte i is written, and byte i never lies beyond
// sample i; a vector step reads all its samples before it stores.
void PackScalar(uint8_t* pFrame, size_t nBegin, size_t nPixels, int nShift) {
    for (size_t i = nBegin; i < nPixels; ++i) {
        uint16_t v;
        std::memcpy(&v, pFrame + 2 * i, sizeof v);
        pFrame[i] = static_cast<uint8_t>(std::min(v >> nShift, 255));
    }
}

__attribute__((target("ssse3"))) void PackSsse3(uint8_t* pFrame, size_t nPixels, int nShift) {
    const __m128i shift = _mm_cvtsi32_si128(nShift);
    // Below 0x8000 the pack's signed saturation is the unsigned one.
    const __m128i top = _mm_set1_epi16(0x7FFF);
    size_t i = 0;
    for (; i + 16 <= nPixels; i += 16) {
        const __m128i* pIn = reinterpret_cast<const __m128i*>(pFrame + 2 * i);
        const __m128i a = _mm_srl_epi16(_mm_loadu_si128(pIn), shift);
        const __m128i b = _mm_srl_epi16(_mm_loadu_si128(pIn + 1), shift);
        // SSSE3 has no unsigned 16-bit minimum: samples with the top bit set
        // become 0x7FFF, which packs to 255 as they should.
        const __m128i aLow = _mm_and_si128(_mm_or_si128(a, _mm_srai_epi16(a, 15)), top);
        const __m128i bLow = _mm_and_si128(_mm_or_si128(b, _mm_srai_epi16(b, 15)), top);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pFrame + i), _mm_packus_epi16(aLow, bLow));
    }
    PackScalar(pFrame, i, nPixels, nShift);
}

__attribute__((target("avx2"))) void PackAvx2(uint8_t* pFrame, size_t nPixels, int nShift) {
    const __m128i shift = _mm_cvtsi32_si128(nShift);
    const __m256i top = _mm256_set1_epi16(255);
    size_t i = 0;
    for (; i + 32 <= nPixels; i += 32) {
        const __m256i* pIn = reinterpret_cast<const __m256i*>(pFrame + 2 * i);
        const __m256i a = _mm256_min_epu16(_mm256_srl_epi16(_mm256_loadu_si256(pIn), shift), top);
        const __m256i b =
            _mm256_min_epu16(_mm256_srl_epi16(_mm256_loadu_si256(pIn + 1), shift), top);
        // The pack works within 128-bit halves; put the quarters back in order.
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pFrame + i), packed);
    }
    PackScalar(pFrame, i, nPixels, nShift);
}

// Tables up to this many entries are gathered from a copy on the stack.
constexpr uint32_t kGatheredEntries = 4096;

void PackThroughTableScalar(uint8_t* pFrame, size_t nBegin, size_t nPixels, const uint8_t* pTable,
                            uint32_t nEntries) {
    for (size_t i = nBegin; i < nPixels; ++i) {
        uint16_t v;
        std::memcpy(&v, pFrame + 2 * i, sizeof v);
        pFrame[i] = pTable[std::min<uint32_t>(v, nEntries - 1)];
    }
}

__attribute__((target("avx2"))) void PackThroughTableAvx2(uint8_t* pFrame, size_t nPixels,
                                                          const uint8_t* pTable,
                                                          uint32_t nEntries) {
    // A gather reads four bytes from each index: the entries go into a
    // copy with three bytes to spare, and each gathered word keeps its low
    // byte.
    std::array<uint8_t, kGatheredEntries + 3> padded{};
    std::memcpy(padded.data(), pTable, nEntries);
    const int* pBase = reinterpret_cast<const int*>(padded.data());
    const __m256i last = _mm256_set1_epi32(static_cast<int>(nEntries - 1));
    const __m256i lowByte = _mm256_set1_epi32(0xFF);
    size_t i = 0;
    for (; i + 16 <= nPixels; i += 16) {
        const __m256i samples =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pFrame + 2 * i));
        const __m256i a =
            _mm256_min_epu32(_mm256_cvtepu16_epi32(_mm256_castsi256_si128(samples)), last);
        const __m256i b =
            _mm256_min_epu32(_mm256_cvtepu16_epi32(_mm256_extracti128_si256(samples, 1)), last);
        const __m256i ea = _mm256_and_si256(_mm256_i32gather_epi32(pBase, a, 1), lowByte);
        const __m256i eb = _mm256_and_si256(_mm256_i32gather_epi32(pBase, b, 1), lowByte);
        // Packs work within 128-bit halves: words a0-3 b0-3 a4-7 b4-7.
        const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(ea, eb), 0xD8);
        const __m128i bytes =
            _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pFrame + i), bytes);
    }
    PackThroughTableScalar(pFrame, i, nPixels, pTable, nEntries);
}

EVectorPath DetectVectorPath() {
#if defined(VARNU_SCALAR_ONLY) || !defined(__x86_64__)
    return EVectorPath::Scalar;
#else
    if (__builtin_cpu_supports("avx2")) {
        return EVectorPath::Avx2;
    }
    return __builtin_cpu_supports("ssse3") ? EVectorPath::Ssse3 : EVectorPath::Scalar;
#endif
}

}  // namespace

EVectorPath WidestVectorPath() {
    static const EVectorPath path = DetectVectorPath();
    return path;
}

void LookUpBytes(const ByteTable& table, uint8_t* pData, size_t nBytes, EVectorPath path) {
    switch (path) {
        case EVectorPath::Avx2:
            LookUpAvx2(table, pData, nBytes);
            return;
        case EVectorPath::Ssse3:
            LookUpSsse3(table, pData, nBytes);
            return;
        case EVectorPath::Scalar:
            LookUpScalar(table, pData, nBytes);
            return;
    }
}

void PackSamplesShifted(uint8_t* pFrame, size_t nPixels, int nShift, EVectorPath path) {
    switch (path) {
        case EVectorPath::Avx2:
            PackAvx2(pFrame, nPixels, nShift);
            return;
        case EVectorPath::Ssse3:
            PackSsse3(pFrame, nPixels, nShift);
            return;
        case EVectorPath::Scalar:
            PackScalar(pFrame, 0, nPixels, nShift);
            return;
    }
}

void PackSamplesThroughTable(uint8_t* pFrame, size_t nPixels, const uint8_t* pTable,
                             uint32_t nEntries, EVectorPath path) {
    if (path == EVectorPath::Avx2 && nEntries <= kGatheredEntries) {
        PackThroughTableAvx2(pFrame, nPixels, pTable, nEntries);
        return;
    }
    PackThroughTableScalar(pFrame, 0, nPixels, pTable, nEntries);
}
