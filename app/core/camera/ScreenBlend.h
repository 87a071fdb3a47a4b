// The screen blend of an accumulated gel/UV capture.
#pragma once

#include <cstddef>
#include <cstdint>

// accumulated[j] := int((1 - (1 - fresh[j] / 255) * (1 - accumulated[j] / 255)) * 255)
// for every one of `count` pixels, in double precision and in that order of
// operations, truncated toward zero.
void screenBlend(uint8_t* accumulated, const uint8_t* fresh, size_t count);
