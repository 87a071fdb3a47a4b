// Byte-wise passes over whole frames, on the widest vector path the
// processor runs: a 256-entry table applied to every byte, and 16-bit
// samples packed into bytes. Each pass has one rule; the AVX2 (32 bytes a
// step), SSSE3 (16 bytes a step) and scalar paths give identical bytes.
// Builds with VARNU_SCALAR_ONLY always take the scalar path.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

enum class EVectorPath {
    Scalar,
    Ssse3,
    Avx2,
};

// The widest path this processor runs (asked once, then a cached value).
EVectorPath WidestVectorPath();

using ByteTable = std::array<uint8_t, 256>;

// pData[i] = table[pData[i]] for i < nBytes.
void LookUpBytes(const ByteTable& table, uint8_t* pData, size_t nBytes,
                 EVectorPath path = WidestVectorPath());

// In place: the 16-bit little-endian samples of pFrame become the bytes
// min(sample >> nShift, 255) at the front of the same buffer. nShift is 0 to 8.
void PackSamplesShifted(uint8_t* pFrame, size_t nPixels, int nShift,
                        EVectorPath path = WidestVectorPath());
