// SaturatedCast: a number converted to an integer type without overflow. A
// value beyond the type's range gives the nearest limit, NaN gives 0, and a
// floating-point value inside the range is truncated toward zero.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

template <typename Int, typename Value>
constexpr Int SaturatedCast(Value value) {
    static_assert(std::is_integral_v<Int> && std::is_arithmetic_v<Value>);
    using Limits = std::numeric_limits<Int>;
    if constexpr (std::is_floating_point_v<Value>) {
        if (std::isnan(value)) {
            return 0;
        }
        // The limits as floating-point values are powers of two (or exact),
        // so every value strictly between them converts without overflow.
        if (value >= static_cast<Value>(Limits::max())) {
            return Limits::max();
        }
        if (value <= static_cast<Value>(Limits::min())) {
            return Limits::min();
        }
        return static_cast<Int>(value);
    } else {
        if (value < 0) {
            if constexpr (!std::is_signed_v<Int>) {
                return 0;
            } else if (static_cast<std::intmax_t>(value) < Limits::min()) {
                return Limits::min();
            }
        } else if (static_cast<std::uintmax_t>(value) >
                   static_cast<std::uintmax_t>(Limits::max())) {
            return Limits::max();
        }
        return static_cast<Int>(value);
    }
}
