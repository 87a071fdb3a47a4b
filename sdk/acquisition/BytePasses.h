// Byte-wise passes over whole frames, on the widest vector path the
// processor runs: a 256-entry table applied to every byte, and 16-bit
// samples packed into bytes by a shift or through a table. Each pass has one
// rule; the AVX2, SSSE3 (where the pass has one) and scalar paths give
// identical bytes. Builds with VARNU_SCALAR_ONLY always take the scalar path.
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

// In place: the 16-bit little-endian samples of pFrame become the bytes
// pTable[min(sample, nEntries - 1)] at the front of the same buffer
// (nEntries 1 to 65536). AVX2 gathers the entries of tables up to 4096
// entries; other paths and larger tables look them up one by one.
void PackSamplesThroughTable(uint8_t* pFrame, size_t nPixels, const uint8_t* pTable,
                             uint32_t nEntries, EVectorPath path = WidestVectorPath());
