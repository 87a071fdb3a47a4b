#include "cpu_features.h"

namespace mtzdq {

bool use_vector_blocks() {
#if defined(MTZDQ_SCALAR_ONLY) || !defined(__x86_64__)
    return false;
#else
    return __builtin_cpu_supports("ssse3") != 0;
#endif
}

}  // namespace mtzdq
