#include "ScaleKernels.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace platwin {

bool HasAvx2() {
#if defined(VARNU_SCALAR_ONLY) || !defined(__x86_64__)
    return false;
#else
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#endif
}

// With L = ceil(log2 divisor), shift max(8 + 2L, 32) and multiplier
// ceil(2^shift / divisor), the multiplier overshoots 2^shift / divisor by
// e / divisor with e < divisor, and n * e < 256 * divisor * divisor <= 2^shift
// keeps the error of n * multiplier / 2^shift below 1 / divisor: the quotient
// is exact. A shift of at least 32 lets the odd lanes of a vector take their
// quotients without shifting them back up (Quotients).
SumDivision PlanSumDivision(uint32_t divisor) {
    uint32_t bits = 0;
    while ((uint64_t{1} << bits) < divisor) {
        ++bits;
    }
    const uint32_t shift = std::max(8 + 2 * bits, uint32_t{32});
    if (divisor == 0 || shift > 63) {
        return {};
    }
    const uint64_t multiplier = ((uint64_t{1} << shift) + divisor - 1) / divisor;
    if (multiplier > UINT32_MAX) {
        return {};
    }
    return {static_cast<uint32_t>(multiplier), shift};
}

namespace {

// The pair sums of rowCount rows (Rows of them) through the same groups.
template <uint32_t Rows>
__attribute__((target("avx2"))) void SumGroupsOfRows(const uint8_t* const* sourceRows,
                                                     const ColumnGroup* groups, size_t count,
                                                     uint32_t* const* sourcePairs) {
    const uint8_t* rows[Rows];
    uint32_t* pairs[Rows];
    for (uint32_t r = 0; r < Rows; ++r) {
        rows[r] = sourceRows[r];
        pairs[r] = sourcePairs[r];
    }
    const __m256i offset = _mm256_set1_epi8(-128);
    for (size_t i = 0; i < count; ++i) {
        const ColumnGroup& group = groups[i];
        const __m256i taps = _mm256_load_si256(reinterpret_cast<const __m256i*>(group.taps));
        const __m256i weights = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(group.weights));
        const uint32_t low = group.window[0];
        const uint32_t high = group.window[1];
        for (uint32_t r = 0; r < Rows; ++r) {
            const __m256i windows = _mm256_xor_si256(
                _mm256_inserti128_si256(
                    _mm256_castsi128_si256(
                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r] + low))),
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r] + high)), 1),
                offset);
            const __m256i sums = _mm256_maddubs_epi16(weights, _mm256_shuffle_epi8(windows, taps));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(pairs[r] + 8 * i), sums);
        }
    }
}

}  // namespace

void SumColumnGroupsAvx2(const uint8_t* const* rows, uint32_t rowCount, const ColumnGroup* groups,
                         size_t count, uint32_t* const* pairs) {
    using Sum = void (*)(const uint8_t* const*, const ColumnGroup*, size_t, uint32_t* const*);
    static constexpr Sum kByRows[kLongestRowBatch] = {SumGroupsOfRows<1>, SumGroupsOfRows<2>,
                                                      SumGroupsOfRows<3>, SumGroupsOfRows<4>};
    kByRows[rowCount - 1](rows, groups, count, pairs);
}

namespace {

// The sums of eight samples: half plus the weighted column sums of the span.
struct PlainSums {
    __attribute__((target("avx2"))) static __m256i Weighted(__m256i sums, uint32_t weight) {
        return _mm256_mullo_epi32(sums, _mm256_set1_epi32(static_cast<int>(weight)));
    }
};

// The same from pair sums: both halves of a slot take the row's weight.
struct PairSums {
    __attribute__((target("avx2"))) static __m256i Weighted(__m256i pairs, uint32_t weight) {
        return _mm256_madd_epi16(pairs, _mm256_set1_epi32(static_cast<int>(weight * 0x10001u)));
    }
};

// Half plus the weighted column sums of eight samples of a span of Count
// rows, its rows and weights held in registers.
template <typename Sums, uint32_t Count>
struct SpanSums {
    __attribute__((target("avx2")))
    SpanSums(const uint32_t* const* spanRows, const uint32_t* spanWeights, uint32_t half)
        : halves(_mm256_set1_epi32(static_cast<int>(half))) {
        for (uint32_t k = 0; k < Count; ++k) {
            rows[k] = spanRows[k];
            weights[k] = spanWeights[k];
        }
    }
    __attribute__((target("avx2"))) __m256i At(size_t i) const {
        __m256i sum = halves;
        for (uint32_t k = 0; k < Count; ++k) {
            const __m256i sums = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + i));
            sum = _mm256_add_epi32(sum, Sums::Weighted(sums, weights[k]));
        }
        return sum;
    }

    __m256i halves;
    const uint32_t* rows[Count];
    uint32_t weights[Count];
};

// Quotients of eight sums, each in the low byte of its 32-bit lane: even
// and odd lanes through 64-bit products. The shift is at least 32, so an odd
// lane's quotient is the high half of its product shifted 32 bits less.
// The shifts take their counts from vectors (one instruction each) and the
// odd sums come down by a shuffle, which leaves the multiplier ports free.
__attribute__((target("avx2"))) inline __m256i Quotients(__m256i sum, __m256i multiplier,
                                                         __m256i shift, __m256i oddShift) {
    const __m256i even = _mm256_srlv_epi64(_mm256_mul_epu32(sum, multiplier), shift);
    const __m256i odd = _mm256_srlv_epi64(
        _mm256_mul_epu32(_mm256_shuffle_epi32(sum, _MM_SHUFFLE(3, 3, 1, 1)), multiplier), oddShift);
    return _mm256_blend_epi32(even, odd, 0xAA);
}

// Walks the lines of the rows of a RowPrefetch, a few at a time.
class LinePrefetcher {
  public:
    // Plans the lines over steps calls of Step.
    LinePrefetcher(const RowPrefetch& rows, size_t steps)
        : m_rows(rows),
          m_perStep((rows.rowCount * ((rows.rowBytes + kCacheLine - 1) / kCacheLine) + steps - 1) /
                    steps),
          m_line(rows.first),
          m_rowEnd(rows.first + rows.rowBytes) {}

    void Step() {
        for (size_t n = 0; n < m_perStep && m_row < m_rows.rowCount; ++n) {
            __builtin_prefetch(m_line, 0, 3);
            m_line += kCacheLine;
            if (m_line >= m_rowEnd) {
                ++m_row;
                m_rowStart += m_rows.pitch;
                m_line = m_rowStart;
                m_rowEnd = m_rowStart + m_rows.rowBytes;
            }
        }
    }

  private:
    static constexpr size_t kCacheLine = 64;

    const RowPrefetch m_rows;
    const size_t m_perStep;
    uint32_t m_row = 0;
    const uint8_t* m_rowStart = m_rows.first;
    const uint8_t* m_line;
    const uint8_t* m_rowEnd;
};

template <typename Sums, uint32_t Count>
__attribute__((target("avx2"))) void FinishSpan(const uint32_t* const* rows,
                                                const uint32_t* weights, uint32_t half,
                                                SumDivision division, uint8_t* out, size_t begin,
                                                size_t end, const RowPrefetch& prefetch) {
    const SpanSums<Sums, Count> span(rows, weights, half);
    LinePrefetcher prefetcher(prefetch, (end - begin) / 32 + 1);
    const __m256i multiplier = _mm256_set1_epi64x(division.multiplier);
    const __m256i shift = _mm256_set1_epi64x(division.shift);
    const __m256i oddShift = _mm256_set1_epi64x(division.shift - 32);
    size_t i = begin;
    // 32 samples a step: four quotient vectors packed into one store. The
    // packs work within 128-bit halves, the permutation puts them in order.
    for (; i + 32 <= end; i += 32) {
        const __m256i q0 = Quotients(span.At(i), multiplier, shift, oddShift);
        const __m256i q1 = Quotients(span.At(i + 8), multiplier, shift, oddShift);
        const __m256i q2 = Quotients(span.At(i + 16), multiplier, shift, oddShift);
        const __m256i q3 = Quotients(span.At(i + 24), multiplier, shift, oddShift);
        const __m256i bytes =
            _mm256_packus_epi16(_mm256_packus_epi32(q0, q1), _mm256_packus_epi32(q2, q3));
        const __m256i ordered =
            _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), ordered);
        prefetcher.Step();
    }
    for (; i < end; i += 8) {
        const __m256i q = Quotients(span.At(i), multiplier, shift, oddShift);
        const __m256i words = _mm256_packus_epi32(q, q);
        const __m256i bytes = _mm256_packus_epi16(words, words);
        const uint32_t lowBytes = static_cast<uint32_t>(_mm256_extract_epi32(bytes, 0));
        const uint32_t highBytes = static_cast<uint32_t>(_mm256_extract_epi32(bytes, 4));
        std::memcpy(out + i, &lowBytes, sizeof lowBytes);
        std::memcpy(out + i + 4, &highBytes, sizeof highBytes);
    }
    prefetcher.Step();
}

template <typename Sums>
void FinishAnySpan(const uint32_t* const* rows, const uint32_t* weights, uint32_t count,
                   uint32_t half, SumDivision division, uint8_t* out, size_t begin, size_t end,
                   const RowPrefetch& prefetch) {
    using Finish = void (*)(const uint32_t* const*, const uint32_t*, uint32_t, SumDivision,
                            uint8_t*, size_t, size_t, const RowPrefetch&);
    static constexpr Finish kByCount[kLongestVectorSpan] = {
        FinishSpan<Sums, 1>, FinishSpan<Sums, 2>, FinishSpan<Sums, 3>, FinishSpan<Sums, 4>,
        FinishSpan<Sums, 5>, FinishSpan<Sums, 6>, FinishSpan<Sums, 7>, FinishSpan<Sums, 8>};
    kByCount[count - 1](rows, weights, half, division, out, begin, end, prefetch);
}

}  // namespace

void FinishSamplesAvx2(const uint32_t* const* rows, const uint32_t* weights, uint32_t count,
                       uint32_t half, SumDivision division, uint8_t* out, size_t begin, size_t end,
                       const RowPrefetch& prefetch) {
    FinishAnySpan<PlainSums>(rows, weights, count, half, division, out, begin, end, prefetch);
}

void FinishPairSamplesAvx2(const uint32_t* const* rows, const uint32_t* weights, uint32_t count,
                           uint32_t half, SumDivision division, uint8_t* out, size_t begin,
                           size_t end, const RowPrefetch& prefetch) {
    FinishAnySpan<PairSums>(rows, weights, count, half, division, out, begin, end, prefetch);
}

}  // namespace platwin
