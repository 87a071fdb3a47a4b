#include "cpu_features.h"

namespace mtzdq {

VectorLevel vector_level() {
#if defined(MTZDQ_SCALAR_ONLY) || !defined(__x86_64__)
    return VectorLevel::kNone;
#else
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")) {
        return VectorLevel::kAvx512Vbmi;
    }
    if (__builtin_cpu_supports("avx2")) {
        return VectorLevel::kAvx2;
    }
    return __builtin_cpu_supports("ssse3") ? VectorLevel::kSsse3 : VectorLevel::kNone;
#endif
}

}  // namespace mtzdq
