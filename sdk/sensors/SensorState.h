// What a sensor unit keeps in the device object besides its registers: the
// window limits and the exposure times.
#pragma once

#include <cstdint>

// Field-of-view limits of the sensor: the offsets from a field-of-view start
// to the chip's window registers and the window's size limits.
struct RoiLimits {
    std::int32_t nColumnOffset = 0;
    std::int32_t nRowOffset = 0;
    std::int32_t nMinWidth = 0;
    std::int32_t nMinHeight = 0;
    std::int32_t nMaxWidth = 0;
    std::int32_t nMaxHeight = 0;
};

struct SensorState {
    static constexpr float kDefaultExposureTimeMs = 50.0f;

    RoiLimits roi;
    // The exposure the chip runs with now, from its exposure register.
    float fExposureTime = kDefaultExposureTimeMs;
    // The exposure the caller asked for last; re-applied when the line time
    // changes, so the time in ms survives window, blanking and skip changes.
    float fRequestedExposureTime = kDefaultExposureTimeMs;
};
