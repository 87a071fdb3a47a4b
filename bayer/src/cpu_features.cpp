#include "cpu_features.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <limits>

namespace mtzdq {

namespace {

// The level named by MTZDQ_MAX_VECTOR_LEVEL ("avx2", "ssse3" or "none"), read
// once per process; the widest level when it is unset or names none of these.
// The tests use it to run the narrower paths on a processor with wider ones.
VectorLevel level_cap() {
    static const VectorLevel cap = [] {
        const char* name = std::getenv("MTZDQ_MAX_VECTOR_LEVEL");
        if (name == nullptr) {
            return VectorLevel::kAvx512Vbmi;
        }
        if (std::strcmp(name, "avx2") == 0) {
            return VectorLevel::kAvx2;
        }
        if (std::strcmp(name, "ssse3") == 0) {
            return VectorLevel::kSsse3;
        }
        return std::strcmp(name, "none") == 0 ? VectorLevel::kNone : VectorLevel::kAvx512Vbmi;
    }();
    return cap;
}

VectorLevel processor_level() {
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

}  // namespace

VectorLevel vector_level() {
    const VectorLevel level = processor_level();
    const VectorLevel cap = level_cap();
    return static_cast<int>(level) < static_cast<int>(cap) ? level : cap;
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
