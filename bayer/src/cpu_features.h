// Which vector paths this processor runs. Asked on every call (a cached flag
// read), so the library keeps no state of its own.
#pragma once

#include <cstddef>

namespace mtzdq {

enum class VectorLevel {
    kNone,        // pixel by pixel
    kSsse3,       // blocks of 16 pixels
    kAvx2,        // blocks of 32 pixels, then of 16
    kAvx512Vbmi,  // blocks of 64 pixels (byte permutes across 64 bytes), then as kAvx2
};

// Whether the AVX2 paths run at this level.
constexpr bool has_avx2(VectorLevel level) {
    return level == VectorLevel::kAvx2 || level == VectorLevel::kAvx512Vbmi;
}

// This processor's share of the last-level cache in bytes: the cache size
// over the online processors, read from the system once per process (the
// largest size_t when the system does not tell).
std::size_t last_level_cache_share();

// The widest block path this processor runs, no wider than the level named
// by the environment variable MTZDQ_MAX_VECTOR_LEVEL ("avx2", "ssse3" or
// "none"; read once). Builds with MTZDQ_SCALAR_ONLY always use the per-pixel
// path.
VectorLevel vector_level();

}  // namespace mtzdq
