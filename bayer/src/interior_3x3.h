// Driver of the one-pass 3x3 algorithms: runs a pixel rule over the interior
// (rows 1 to height - 2, columns 1 to width - 2), row by row from the first
// image row, each row from left to right. On 8-bit frames it computes 64
// pixels at a time where the processor has AVX-512 with byte permutes (VBMI),
// 32 where it has AVX2, 16 where it has SSSE3 (each row ending with one block
// that overlaps the previous one); otherwise, and for rows narrower than a
// block, pixel by pixel. The blocks of a row run in one function built for
// the instruction set, so no block is a call. Every path evaluates the same
// rule, so their results are identical. The row pass may also write the
// border fill of each row, so that each output row is written in one sweep;
// a large 24-bit output is streamed to memory in whole cache lines.
#pragma once

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "border_fill.h"
#include "cfa_layout.h"
#include "cpu_features.h"
#include "lanes.h"
#include "pixel_rules.h"

namespace mtzdq {

// Byte shuffles that interleave three planes of 16 bytes (pixels 0..15 of
// blue, green and red) into `Channels`-byte pixels: entry [k][c] builds output
// vector k from plane c; -128 leaves a byte zero. The pattern is repeated in
// the second 16 bytes for the 32-byte shuffle, which works on each half.
template <int Channels>
struct InterleaveMasks {
    alignas(32) std::int8_t index[Channels][3][32];
};

template <int Channels>
constexpr InterleaveMasks<Channels> make_interleave_masks() {
    InterleaveMasks<Channels> m{};
    for (int k = 0; k < Channels; ++k) {
        for (int c = 0; c < 3; ++c) {
            for (int j = 0; j < 32; ++j) {
                const int n = 16 * k + j % 16;
                m.index[k][c][j] =
                    n % Channels == c ? static_cast<std::int8_t>(n / Channels) : std::int8_t{-128};
            }
        }
    }
    return m;
}

// Mask of the fourth byte of each 4-byte pixel, kept from the caller's buffer.
struct FourthByteMask {
    alignas(16) std::int8_t index[16];
};

constexpr FourthByteMask make_fourth_byte_mask() {
    FourthByteMask m{};
    for (int j = 0; j < 16; ++j) {
        m.index[j] = j % 4 == 3 ? std::int8_t{-1} : std::int8_t{0};
    }
    return m;
}

// Byte permutes that interleave three planes of 64 bytes (channels 0 to 2 of
// 64 pixels) into `Channels`-byte pixels: output vector k takes channels 0
// and 1 with one two-plane permute (index bit 6 picks plane 1) and channel 2
// with a permute of plane 2 under the mask channel2[k]. Stores write the
// bytes of `written`: all but the fourth byte of 4-channel pixels.
template <int Channels>
struct PermuteInterleave {
    alignas(64) std::uint8_t low[Channels][64];
    alignas(64) std::uint8_t high[Channels][64];
    std::uint64_t channel2[Channels];
    std::uint64_t written;
};

template <int Channels>
constexpr PermuteInterleave<Channels> make_permute_interleave() {
    PermuteInterleave<Channels> m{};
    for (int j = 0; j < 64; ++j) {
        if (j % Channels != 3) {
            m.written |= std::uint64_t{1} << j;
        }
    }
    for (int k = 0; k < Channels; ++k) {
        for (int j = 0; j < 64; ++j) {
            const int n = 64 * k + j;
            const int pixel = n / Channels;
            const int channel = n % Channels;
            if (channel == 2) {
                m.high[k][j] = static_cast<std::uint8_t>(pixel);
                m.channel2[k] |= std::uint64_t{1} << j;
            } else if (channel < 2) {
                m.low[k][j] = static_cast<std::uint8_t>(64 * channel + pixel);
            }
        }
    }
    return m;
}

// Stores one 16-byte output vector, keeping the fourth bytes for 4-channel
// pixels.
template <int Channels>
[[gnu::always_inline]] inline void store_output_vector(std::uint8_t* out, __m128i v) {
    static constexpr FourthByteMask fourth = make_fourth_byte_mask();
    __m128i* dst = reinterpret_cast<__m128i*>(out);
    if constexpr (Channels == 4) {
        const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(fourth.index));
        v = _mm_or_si128(v, _mm_and_si128(_mm_loadu_si128(dst), keep));
    }
    _mm_storeu_si128(dst, v);
}

// Stores one 32-byte output vector, keeping the fourth bytes for 4-channel
// pixels.
template <int Channels>
__attribute__((target("avx2"))) [[gnu::always_inline]] inline void store_output_vector32(
    std::uint8_t* out, __m256i v) {
    static constexpr FourthByteMask fourth = make_fourth_byte_mask();
    __m256i* dst = reinterpret_cast<__m256i*>(out);
    if constexpr (Channels == 4) {
        const __m256i keep = _mm256_broadcastsi128_si256(
            _mm_load_si128(reinterpret_cast<const __m128i*>(fourth.index)));
        v = _mm256_or_si256(v, _mm256_and_si256(_mm256_loadu_si256(dst), keep));
    }
    _mm256_storeu_si256(dst, v);
}

// Interleaves three planes of 16 bytes (channels 0 to 2 of 16 pixels) into
// the pixels at out.
template <int Channels>
__attribute__((target("ssse3"))) [[gnu::always_inline]] inline void store_planes16(
    const __m128i (&plane)[3], std::uint8_t* out) {
    static constexpr InterleaveMasks<Channels> masks = make_interleave_masks<Channels>();
    for (int k = 0; k < Channels; ++k) {
        __m128i v = _mm_setzero_si128();
        for (int c = 0; c < 3; ++c) {
            const __m128i m = _mm_load_si128(reinterpret_cast<const __m128i*>(masks.index[k][c]));
            v = _mm_or_si128(v, _mm_shuffle_epi8(plane[c], m));
        }
        store_output_vector<Channels>(out + 16 * k, v);
    }
}

// Computes and stores 16 pixels starting at column x0 (site First at x0,
// Second at x0 + 1, alternating) of one row.
template <class Rule, Colour First, Colour Second, Colour Chroma, int Channels>
__attribute__((target("ssse3"))) [[gnu::always_inline]] inline void vector_block16(
    const std::uint8_t* centre_row, std::ptrdiff_t stride, int x0, std::uint8_t* out_row) {
    PairColumns<U16x8> columns;
    load_pair_columns(centre_row, stride, x0, columns);
    const Rgb<U16x8> a = Rule::template pixel<First, Chroma>(LaneSource<0, U16x8>{&columns});
    const Rgb<U16x8> b = Rule::template pixel<Second, Chroma>(LaneSource<1, U16x8>{&columns});

    __m128i plane[3];
    for (int c = 0; c < 3; ++c) {
        const U16x8 bytes = a[c] | (b[c] << 8);
        std::memcpy(&plane[c], &bytes, sizeof bytes);
    }
    store_planes16<Channels>(plane, out_row + static_cast<std::ptrdiff_t>(x0) * Channels);
}

// The same for 32 pixels with AVX2: each 16-byte half of the shuffled vectors
// holds the output of 16 pixels; the halves are put in output order and
// stored 32 bytes at a time.
template <class Rule, Colour First, Colour Second, Colour Chroma, int Channels>
__attribute__((target("avx2"))) [[gnu::always_inline]] inline void vector_block32(
    const std::uint8_t* centre_row, std::ptrdiff_t stride, int x0, std::uint8_t* out_row) {
    static constexpr InterleaveMasks<Channels> masks = make_interleave_masks<Channels>();
    PairColumns<U16x16> columns;
    load_pair_columns(centre_row, stride, x0, columns);
    const Rgb<U16x16> a = Rule::template pixel<First, Chroma>(LaneSource<0, U16x16>{&columns});
    const Rgb<U16x16> b = Rule::template pixel<Second, Chroma>(LaneSource<1, U16x16>{&columns});

    __m256i plane[3];
    for (int c = 0; c < 3; ++c) {
        const U16x16 bytes = a[c] | (b[c] << 8);
        std::memcpy(&plane[c], &bytes, sizeof bytes);
    }
    __m256i v[Channels];
    for (int k = 0; k < Channels; ++k) {
        v[k] = _mm256_setzero_si256();
        for (int c = 0; c < 3; ++c) {
            const __m256i m =
                _mm256_load_si256(reinterpret_cast<const __m256i*>(masks.index[k][c]));
            v[k] = _mm256_or_si256(v[k], _mm256_shuffle_epi8(plane[c], m));
        }
    }
    // Output order: the low halves of v[0 .. Channels - 1], then the high halves.
    std::uint8_t* out = out_row + static_cast<std::ptrdiff_t>(x0) * Channels;
    if constexpr (Channels == 3) {
        store_output_vector32<3>(out, _mm256_permute2x128_si256(v[0], v[1], 0x20));
        store_output_vector32<3>(out + 32, _mm256_permute2x128_si256(v[2], v[0], 0x30));
        store_output_vector32<3>(out + 64, _mm256_permute2x128_si256(v[1], v[2], 0x31));
    } else {
        store_output_vector32<4>(out, _mm256_permute2x128_si256(v[0], v[1], 0x20));
        store_output_vector32<4>(out + 32, _mm256_permute2x128_si256(v[2], v[3], 0x20));
        store_output_vector32<4>(out + 64, _mm256_permute2x128_si256(v[0], v[1], 0x31));
        store_output_vector32<4>(out + 96, _mm256_permute2x128_si256(v[2], v[3], 0x31));
    }
}

// How the 64-pixel blocks of a row store their output: plainly, or for
// 24-bit pixels with non-temporal stores of whole cache lines, which go to
// memory without reading each line first.
enum class BlockStore { kPlain, kStream };

// The output vectors of 64 pixels with AVX-512 (site First at x0, Second at
// x0 + 1, alternating): the planes hold the 64 pixels in order, and byte
// permutes put them in output order directly.
template <class Rule, Colour First, Colour Second, Colour Chroma, int Channels>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) [[gnu::always_inline]] inline void
vector_block64(const std::uint8_t* centre_row, std::ptrdiff_t stride, int x0,
               __m512i (&out)[Channels]) {
    static constexpr PermuteInterleave<Channels> perm = make_permute_interleave<Channels>();
    PairColumns<U16x32> columns;
    load_pair_columns(centre_row, stride, x0, columns);
    const Rgb<U16x32> a = Rule::template pixel<First, Chroma>(LaneSource<0, U16x32>{&columns});
    const Rgb<U16x32> b = Rule::template pixel<Second, Chroma>(LaneSource<1, U16x32>{&columns});

    __m512i plane[3];
    for (int c = 0; c < 3; ++c) {
        const U16x32 bytes = a[c] | (b[c] << 8);
        std::memcpy(&plane[c], &bytes, sizeof bytes);
    }
    for (int k = 0; k < Channels; ++k) {
        const __m512i low = _mm512_load_si512(perm.low[k]);
        const __m512i high = _mm512_load_si512(perm.high[k]);
        out[k] = _mm512_permutex2var_epi8(plane[0], low, plane[1]);
        out[k] = _mm512_mask_permutexvar_epi8(out[k], perm.channel2[k], high, plane[2]);
    }
}

// Bits begin to end - 1 of a 64-bit mask, the bounds clipped to 0 .. 64.
constexpr std::uint64_t bit_span(int begin, int end) {
    auto below = [](int n) {
        return n <= 0    ? std::uint64_t{0}
               : n >= 64 ? ~std::uint64_t{0}
                         : (std::uint64_t{1} << n) - 1;
    };
    return below(end) & ~below(begin);
}

// Computes the 64 pixels from column x (of either parity) and stores those
// of columns from to to - 1, the output of column x going to out: all of
// them plainly or streamed (a block on whole cache lines), or only some with
// masked stores (no byte outside them is touched).
template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, int Channels,
          BlockStore Store>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) [[gnu::always_inline]] inline void
block64_at(const std::uint8_t* centre_row, std::ptrdiff_t stride, int x, std::uint8_t* out,
           int from, int to) {
    static_assert(Store == BlockStore::kPlain || Channels == 3);
    static constexpr PermuteInterleave<Channels> perm = make_permute_interleave<Channels>();
    __m512i v[Channels];
    if (x & 1) {
        vector_block64<Rule, OddSite, EvenSite, Chroma, Channels>(centre_row, stride, x, v);
    } else {
        vector_block64<Rule, EvenSite, OddSite, Chroma, Channels>(centre_row, stride, x, v);
    }
    const bool whole = from == x && to == x + 64;
    for (int k = 0; k < Channels; ++k) {
        if constexpr (Store == BlockStore::kStream) {
            _mm512_stream_si512(reinterpret_cast<__m512i*>(out + 64 * k), v[k]);
        } else if (Channels == 3 && whole) {
            _mm512_storeu_si512(out + 64 * k, v[k]);
        } else {
            const std::uint64_t bytes =
                bit_span((from - x) * Channels - 64 * k, (to - x) * Channels - 64 * k) &
                perm.written;
            if (bytes != 0) {
                _mm512_mask_storeu_epi8(out + 64 * k, bytes, v[k]);
            }
        }
    }
}

// First column from x on whose output starts on a 64-byte boundary, or -1
// when no column does (4-byte pixels at an address that is not a multiple of
// 4). For 3-byte pixels it lies within 64 columns (3 * 43 = 1 modulo 64), for
// 4-byte pixels within 16.
template <int Channels>
inline int first_line_column(const std::uint8_t* out_row, int x) {
    const auto address = reinterpret_cast<std::uintptr_t>(out_row + std::ptrdiff_t{x} * Channels);
    const unsigned to_line = static_cast<unsigned>(-address) % 64;
    if constexpr (Channels == 3) {
        return x + static_cast<int>(to_line * 43 % 64);
    } else {
        return to_line % 4 == 0 ? x + static_cast<int>(to_line / 4) : -1;
    }
}

// The 64-pixel blocks of one interior row from column x on (a block of n
// pixels reads columns x - 1 to x + n), stored plainly. Where the row is wide
// enough, the blocks in the middle start where the output starts a cache
// line, so each of their stores covers one line. The first block starts at x
// and the last ends at the last interior column, overlapping the middle ones
// and writing the overlapped pixels again with the same values. Returns
// last + 1, or x when the row is narrower than a block.
template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, int Channels>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) int interior_blocks64(
    const std::uint8_t* centre_row, std::ptrdiff_t stride, int x, int last, std::uint8_t* out_row) {
    if (x + 63 > last) {
        return x;
    }
    const int line = first_line_column<Channels>(out_row, x);
    const int tail = last - 63;
    for (bool first = true; x <= last; first = false) {
        const int at = x + 63 <= last ? x : tail;
        block64_at<Rule, EvenSite, OddSite, Chroma, Channels, BlockStore::kPlain>(
            centre_row, stride, at, out_row + std::ptrdiff_t{at} * Channels, at, at + 64);
        x = first && line > x && line + 63 <= last ? line : at + 64;
    }
    return last + 1;
}

template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, int Channels>
__attribute__((target("avx2"))) int interior_blocks32(const std::uint8_t* centre_row,
                                                      std::ptrdiff_t stride, int x, int last,
                                                      std::uint8_t* out_row) {
    for (; x + 31 <= last; x += 32) {
        vector_block32<Rule, OddSite, EvenSite, Chroma, Channels>(centre_row, stride, x, out_row);
    }
    const int tail = last - 31;
    if (x <= last && tail >= 1) {
        if (tail & 1) {
            vector_block32<Rule, OddSite, EvenSite, Chroma, Channels>(centre_row, stride, tail,
                                                                      out_row);
        } else {
            vector_block32<Rule, EvenSite, OddSite, Chroma, Channels>(centre_row, stride, tail,
                                                                      out_row);
        }
        x = last + 1;
    }
    return x;
}

template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, int Channels>
__attribute__((target("ssse3"))) int interior_blocks16(const std::uint8_t* centre_row,
                                                       std::ptrdiff_t stride, int x, int last,
                                                       std::uint8_t* out_row) {
    for (; x + 15 <= last; x += 16) {
        vector_block16<Rule, OddSite, EvenSite, Chroma, Channels>(centre_row, stride, x, out_row);
    }
    const int tail = last - 15;
    if (x <= last && tail >= 1) {
        if (tail & 1) {
            vector_block16<Rule, OddSite, EvenSite, Chroma, Channels>(centre_row, stride, tail,
                                                                      out_row);
        } else {
            vector_block16<Rule, EvenSite, OddSite, Chroma, Channels>(centre_row, stride, tail,
                                                                      out_row);
        }
        x = last + 1;
    }
    return x;
}

template <class Rule, Colour Own, Colour Chroma, class Sample>
inline void scalar_pixel(const Sample* centre, std::ptrdiff_t stride, Sample* px) {
    const Rgb<int> v = Rule::template pixel<Own, Chroma>(ScalarSource<Sample>{centre, stride});
    px[0] = static_cast<Sample>(v[0]);
    px[1] = static_cast<Sample>(v[1]);
    px[2] = static_cast<Sample>(v[2]);
}

// One interior row whose even columns are EvenSite and odd columns OddSite.
template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, int Channels, class Sample,
          bool Flip>
void interior_row(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst, int y,
                  VectorLevel level) {
    const std::ptrdiff_t stride = raw.width;
    const Sample* centre_row = raw.row(y);
    Sample* out_row = dst.row(y);
    const int last = raw.width - 2;
    int x = 1;
    if constexpr (sizeof(Sample) == 1) {
        if (level == VectorLevel::kAvx512Vbmi) {
            x = interior_blocks64<Rule, EvenSite, OddSite, Chroma, Channels>(centre_row, stride, x,
                                                                             last, out_row);
        }
        if (has_avx2(level)) {
            x = interior_blocks32<Rule, EvenSite, OddSite, Chroma, Channels>(centre_row, stride, x,
                                                                             last, out_row);
        }
        if (level != VectorLevel::kNone) {
            x = interior_blocks16<Rule, EvenSite, OddSite, Chroma, Channels>(centre_row, stride, x,
                                                                             last, out_row);
        }
    }
    for (; x <= last; ++x) {
        Sample* px = out_row + static_cast<std::ptrdiff_t>(x) * Channels;
        if (x & 1) {
            scalar_pixel<Rule, OddSite, Chroma>(centre_row + x, stride, px);
        } else {
            scalar_pixel<Rule, EvenSite, Chroma>(centre_row + x, stride, px);
        }
    }
}

// Whether the row pass also writes the 1-pixel border fill of each row (its
// first and last pixel, the whole of rows 0 and height - 1) just before the
// interior of the row, so every output row is written in one sweep. The two
// touch different pixels, so the order does not change the output.
enum class RowBorder { kSeparate, kInRowPass };

template <class Rule, Pattern P, int Channels, class Sample, bool Flip>
void rows_3x3(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst, VectorLevel level,
              RowBorder border) {
    for (int y = 0; y < raw.height; ++y) {
        if (border == RowBorder::kInRowPass) {
            fill_border1_row<P>(raw, dst, y);
        }
        if (y == 0 || y == raw.height - 1) {
            continue;
        }
        if (y & 1) {
            interior_row<Rule, site_colour(P, 1, 0), site_colour(P, 1, 1), row_chroma(P, 1),
                         Channels>(raw, dst, y, level);
        } else {
            interior_row<Rule, site_colour(P, 0, 0), site_colour(P, 0, 1), row_chroma(P, 0),
                         Channels>(raw, dst, y, level);
        }
    }
}

// Streamed 24-bit output of 8-bit frames. Every cache line that holds output
// of an interior row is written whole, once, by a non-temporal store, so no
// line is read before it is written. The 64-pixel blocks in the middle of a
// row stream their lines directly. The bytes between the middles of two rows
// that are neighbours in memory (the end of one row and the start of the
// other, with their border pixels) are gathered in a seam and streamed from
// it once both rows have given their part. The border rows 0 and height - 1
// are written plainly, and so are the row parts next to them, so no line is
// both streamed and written through the cache (when the border fill runs as
// a pass of its own, the seams write its first and last columns once more,
// with the same values).

// The output of one interior row: its middle, [line, stop), holds the
// columns whose output fills whole cache lines; the columns before it are
// the row's start, those after it the row's end.
struct StreamedRow {
    std::uint8_t* out;  // output of column 0
    int line;           // first column of the middle, whose output starts a line
    int stop;           // past the last column of the middle

    StreamedRow(std::uint8_t* out_row, int width)
        : out(out_row),
          line(first_line_column<3>(out_row, 1)),
          stop(line + (width - 1 - line) / 64 * 64) {}
    std::uint8_t* at(int x) const { return out + std::ptrdiff_t{x} * 3; }
};

// Lines around the boundary of two rows adjacent in memory, gathered before
// they are streamed. A row gives at most 64 columns (192 bytes) on either
// side of the boundary, and its partial blocks reach 195 bytes from it; the
// seam keeps them from 256 bytes before the line of the boundary.
class Seam {
  public:
    void start(std::uint8_t* boundary) {
        anchor_ = (reinterpret_cast<std::uintptr_t>(boundary) & ~std::uintptr_t{63}) - 256;
        low_ = ~std::uintptr_t{0};
        high_ = 0;
    }

    // Where the byte for address goes.
    std::uint8_t* at(std::uint8_t* address) {
        return bytes_ + (reinterpret_cast<std::uintptr_t>(address) - anchor_);
    }

    // Marks [begin, end) as gathered; the two rows together gather whole lines.
    void cover(std::uint8_t* begin, std::uint8_t* end) {
        low_ = std::min(low_, reinterpret_cast<std::uintptr_t>(begin));
        high_ = std::max(high_, reinterpret_cast<std::uintptr_t>(end));
    }

    __attribute__((target("avx512f"))) void stream() const {
        for (std::uintptr_t line = low_; line < high_; line += 64) {
            const __m512i v = _mm512_load_si512(bytes_ + (line - anchor_));
            _mm512_stream_si512(reinterpret_cast<__m512i*>(line), v);
        }
    }

  private:
    alignas(64) std::uint8_t bytes_[576];
    std::uintptr_t anchor_ = 0;
    std::uintptr_t low_ = 0;
    std::uintptr_t high_ = 0;
};

// Writes the start of an interior row (border column 0 and the columns before
// the middle), each byte to place(its address), and returns its bytes.
template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, Pattern P, class Place>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::pair<std::uint8_t*, std::uint8_t*>
write_row_start(const RawFrame<std::uint8_t>& raw, int y, const StreamedRow& row, Place place) {
    fill_border1_pixel<P>(raw, y, 0, place(row.at(0)));
    if (row.line > 1) {
        block64_at<Rule, EvenSite, OddSite, Chroma, 3, BlockStore::kPlain>(
            raw.row(y), raw.width, 1, place(row.at(1)), 1, row.line);
    }
    return {row.at(0), row.at(row.line)};
}

// Writes the end of an interior row (the columns after the middle and border
// column width - 1) the same way.
template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, Pattern P, class Place>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) std::pair<std::uint8_t*, std::uint8_t*>
write_row_end(const RawFrame<std::uint8_t>& raw, int y, const StreamedRow& row, Place place) {
    const int last = raw.width - 2;
    if (row.stop <= last) {
        block64_at<Rule, EvenSite, OddSite, Chroma, 3, BlockStore::kPlain>(
            raw.row(y), raw.width, last - 63, place(row.at(last - 63)), row.stop, last + 1);
    }
    fill_border1_pixel<P>(raw, y, raw.width - 1, place(row.at(raw.width - 1)));
    return {row.at(row.stop), row.at(raw.width)};
}

// One streamed interior row. Its part next to the row processed before it
// (row y - 1, before it in memory, or after it in a bottom-up frame)
// completes their seam, which is then streamed; its other part starts the
// seam with row y + 1.
template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, Pattern P, bool Flip>
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void streamed_row(
    const RawFrame<std::uint8_t>& raw, const DstFrame<std::uint8_t, Flip>& dst, int y, Seam& seam) {
    const StreamedRow row(dst.row(y), raw.width);
    auto plain = [](std::uint8_t* address) { return address; };
    auto gathered = [&seam](std::uint8_t* address) { return seam.at(address); };
    auto write_part = [&](bool start, auto place) {
        return start ? write_row_start<Rule, EvenSite, OddSite, Chroma, P>(raw, y, row, place)
                     : write_row_end<Rule, EvenSite, OddSite, Chroma, P>(raw, y, row, place);
    };

    if (y == 1) {
        write_part(!Flip, plain);
    } else {
        const auto bytes = write_part(!Flip, gathered);
        seam.cover(bytes.first, bytes.second);
        seam.stream();
    }
    for (int x = row.line; x < row.stop; x += 64) {
        block64_at<Rule, EvenSite, OddSite, Chroma, 3, BlockStore::kStream>(
            raw.row(y), raw.width, x, row.at(x), x, x + 64);
    }
    if (y == raw.height - 2) {
        write_part(Flip, plain);
    } else {
        seam.start(Flip ? row.at(0) : row.at(raw.width));
        const auto bytes = write_part(Flip, gathered);
        seam.cover(bytes.first, bytes.second);
    }
}

template <class Rule, Pattern P, bool Flip>
void rows_3x3_streamed(const RawFrame<std::uint8_t>& raw, const DstFrame<std::uint8_t, Flip>& dst,
                       RowBorder border) {
    Seam seam;
    for (int y = 0; y < raw.height; ++y) {
        if (y == 0 || y == raw.height - 1) {
            if (border == RowBorder::kInRowPass) {
                fill_border1_row<P>(raw, dst, y);
            }
        } else if (y & 1) {
            streamed_row<Rule, site_colour(P, 1, 0), site_colour(P, 1, 1), row_chroma(P, 1), P>(
                raw, dst, y, seam);
        } else {
            streamed_row<Rule, site_colour(P, 0, 0), site_colour(P, 0, 1), row_chroma(P, 0), P>(
                raw, dst, y, seam);
        }
    }
    _mm_sfence();  // the streamed lines reach memory before the caller goes on
}

// Interior of a 3x3 algorithm at the pixel size of the destination, with or
// without the border fill. A 24-bit output larger than this processor's
// share of the last-level cache would not stay in it for the reader, so it
// is streamed to memory instead of reading each line first (rows of at least
// 129 pixels, which always have a middle).
template <class Rule, Pattern P, class Sample, bool Flip>
void rows_3x3(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst, VectorLevel level,
              RowBorder border) {
    if constexpr (sizeof(Sample) == 1) {
        if (level == VectorLevel::kAvx512Vbmi && dst.channels == 3 && raw.width >= 129 &&
            dst.bytes() > last_level_cache_share()) {
            rows_3x3_streamed<Rule, P>(raw, dst, border);
            return;
        }
    }
    if (dst.channels == 4) {
        rows_3x3<Rule, P, 4>(raw, dst, level, border);
    } else {
        rows_3x3<Rule, P, 3>(raw, dst, level, border);
    }
}

}  // namespace mtzdq
