// SaturatedCast at the limits of its target types.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/Saturate.h"

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int64_t kLongMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kLongMin = std::numeric_limits<int64_t>::min();

TEST(SaturatedCast, FloatingPointToInt) {
    const struct {
        double value;
        int expected;
    } cases[] = {
        {0.0, 0},
        {1.9, 1},
        {-1.9, -1},
        {2147483646.5, 2147483646},
        {2147483647.0, kIntMax},
        {3e9, kIntMax},
        {-3e9, kIntMin},
        {-2147483648.0, kIntMin},
        {HUGE_VAL, kIntMax},
        {-HUGE_VAL, kIntMin},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SaturatedCast<int>(c.value), c.expected) << c.value;
    }
    EXPECT_EQ(SaturatedCast<int>(3e9f), kIntMax);
    EXPECT_EQ(SaturatedCast<int>(std::nanf("")), 0);
}

TEST(SaturatedCast, FloatingPointToInt64) {
    EXPECT_EQ(SaturatedCast<int64_t>(1e18), 1000000000000000000);
    EXPECT_EQ(SaturatedCast<int64_t>(9.3e18), kLongMax);
    EXPECT_EQ(SaturatedCast<int64_t>(-9.3e18), kLongMin);
    EXPECT_EQ(SaturatedCast<int64_t>(std::nan("")), 0);
}

TEST(SaturatedCast, WideIntegerToInt) {
    EXPECT_EQ(SaturatedCast<int>(int64_t{42}), 42);
    EXPECT_EQ(SaturatedCast<int>(int64_t{kIntMax} + 1), kIntMax);
    EXPECT_EQ(SaturatedCast<int>(int64_t{kIntMin} - 1), kIntMin);
    EXPECT_EQ(SaturatedCast<int>(kLongMax), kIntMax);
    EXPECT_EQ(SaturatedCast<int>(kLongMin), kIntMin);
    EXPECT_EQ(SaturatedCast<int>(uint32_t{4000000000u}), kIntMax);
    EXPECT_EQ(SaturatedCast<unsigned>(-1), 0u);
}

}  // namespace
