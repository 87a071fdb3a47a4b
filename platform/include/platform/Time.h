// Wall-clock and tick time, sleeping.
#pragma once

#include <cstdint>

namespace plat {

struct LocalTime {
    int year;         // e.g. 2026
    int month;        // 1 .. 12
    int dayOfWeek;    // 0 = Sunday .. 6
    int day;          // 1 .. 31
    int hour;         // 0 .. 23
    int minute;       // 0 .. 59
    int second;       // 0 .. 60
    int millisecond;  // 0 .. 999
};

// The local time now, with milliseconds.
LocalTime GetLocalTime();

// Milliseconds of a steady clock, wrapping at 2^32 (about 49.7 days): use
// differences of two ticks (unsigned subtraction), never absolute values.
uint32_t TickCount();

// Sleeps at least ms milliseconds.
void SleepMs(uint32_t ms);

}  // namespace plat
