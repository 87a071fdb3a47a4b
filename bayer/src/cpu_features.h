// Which vector paths this processor runs. Asked on every call (a cached flag
// read), so the library keeps no state of its own.
#pragma once

namespace mtzdq {

// True when the 16-pixel SSSE3 block path may run. Builds with
// MTZDQ_SCALAR_ONLY always use the per-pixel path.
bool use_vector_blocks();

}  // namespace mtzdq
