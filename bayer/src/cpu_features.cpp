#include "cpu_features.h"

#include <unistd.h>

#include <limits>

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

std::size_t last_level_cache_share() {
    static const std::size_t share = [] {
        const long size = sysconf(_SC_LEVEL3_CACHE_SIZE);
        const long processors = sysconf(_SC_NPROCESSORS_ONLN);
        return size > 0 && processors > 0 ? static_cast<std::size_t>(size / processors)
                                          : std::numeric_limits<std::size_t>::max();
    }();
    return share;
}

}  // namespace mtzdq
