// CColourCube: a look-up over the whole 24-bit colour cube, three bytes for
// each of the 16,777,216 colours (48 MiB and one byte, so that the vector
// look-up may read 4 bytes of the last entry), allocated on first use. Entry
// b x 65536 + g x 256 + r holds the new blue, green and red of the colour
// with those bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "acquisition/FrameWorkers.h"
#include "acquisition/PixelLanes.h"

class CColourCube {
  public:
    static constexpr size_t kColours = size_t{1} << 24;
    // Fills entry (b, g, r) with the three output bytes.
    using Conversion = void (*)(const void* pContext, int b, int g, int r, uint8_t* pOut);

    bool Allocated() const { return m_pCube != nullptr; }
    // Allocates the cube when it is missing (zero-filled); false when memory
    // is short.
    bool Allocate();
    void Release() { m_pCube.reset(); }
    // Entry c holds the three bytes of c itself.
    void FillIdentity();
    // Every entry from the conversion, computed on all cores.
    void Fill(Conversion convert, const void* pContext);
    // The first three bytes of each pixel (nStep bytes apart) replaced by
    // their entry; 3-byte pixels on AVX2 lanes where the level allows.
    void Apply(uint8_t* pPixels, size_t nPixels, size_t nStep, CFrameWorkers* pWorkers,
               LaneLevel level = MachineLaneLevel()) const;

  private:
    std::unique_ptr<uint8_t[]> m_pCube;
};
