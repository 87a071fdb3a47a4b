// Which vector paths this processor runs. Asked on every call (a cached flag
// read), so the library keeps no state of its own.
#pragma once

namespace mtzdq {

enum class VectorLevel {
    kNone,   // pixel by pixel
    kSsse3,  // blocks of 16 pixels
    kAvx2,   // blocks of 32 pixels, then of 16
};

// The widest block path this processor runs. Builds with MTZDQ_SCALAR_ONLY
// always use the per-pixel path.
VectorLevel vector_level();

}  // namespace mtzdq
