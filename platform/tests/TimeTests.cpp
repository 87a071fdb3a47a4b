// Local time, tick count and sleeping.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/Time.h"

namespace {

TEST(TimeTest, LocalTimeMatchesTheCLibraryAndHasMilliseconds) {
    const std::time_t before = std::time(nullptr);
    const plat::LocalTime now = plat::GetLocalTime();
    std::tm expected{};
    localtime_r(&before, &expected);
    EXPECT_EQ(now.year, expected.tm_year + 1900);
    EXPECT_EQ(now.month, expected.tm_mon + 1);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
    EXPECT_GE(now.dayOfWeek, 0);
    EXPECT_LE(now.dayOfWeek, 6);
    // The same second, or the next one if the clock just ticked over.
    const int seconds = now.hour * 3600 + now.minute * 60 + now.second;
    const int expectedSeconds = expected.tm_hour * 3600 + expected.tm_min * 60 + expected.tm_sec;
    EXPECT_LE((seconds - expectedSeconds + 86400) % 86400, 1);
}

TEST(TimeTest, MillisecondsAdvance) {
    const plat::LocalTime a = plat::GetLocalTime();
    plat::SleepMs(15);
    const plat::LocalTime b = plat::GetLocalTime();
    const long long ta = (a.hour * 3600LL + a.minute * 60 + a.second) * 1000 + a.millisecond;
    const long long tb = (b.hour * 3600LL + b.minute * 60 + b.second) * 1000 + b.millisecond;
    EXPECT_GE((tb - ta + 86400000) % 86400000, 14);
}

TEST(TimeTest, SleepLastsAtLeastItsTimeOnTheTickClock) {
    for (const uint32_t ms : {0u, 1u, 25u}) {
        const uint32_t start = plat::TickCount();
        plat::SleepMs(ms);
        const uint32_t elapsed = plat::TickCount() - start;
        EXPECT_GE(elapsed + 1, ms) << ms;  // one tick of rounding
        EXPECT_LT(elapsed, ms + 1000) << ms;
    }
}

}  // namespace
