#include "acquisition/PixelLanes.h"

LaneLevel MachineLaneLevel() {
#if defined(__x86_64__)
    static const LaneLevel level = __builtin_cpu_supports("avx2")    ? LaneLevel::kAvx2
                                   : __builtin_cpu_supports("ssse3") ? LaneLevel::kSsse3
                                                                     : LaneLevel::kScalar;
    return level;
#else
    return LaneLevel::kScalar;
#endif
}
