// The two colour adjustments of RGB frames, each a look-up through a colour
// cube rebuilt only after a setting changed:
// - CHueSaturation: hue, saturation and lightness of a master entry (0) and
//   of six colour ranges centred on red, yellow, green, cyan, blue and
//   magenta (1-6);
// - CProcessSaturation: one saturation factor, (value + 128) / 128.
//
// Threads: the setters run on the application's threads, Apply on the
// thread that converts frames; both take the object's own lock, so a frame
// sees one set of settings and the cube is never replaced under it.
#pragma once

#include <mutex>

#include "acquisition/ColourCube.h"

class CHueSaturation {
  public:
    static constexpr int kRanges = 7;

    // Range 0-6 (else RET_PARAMERROR); hue clamped to -180..180, saturation
    // and lightness to -100..100. A change marks the cube for a rebuild.
    int Set(int nRange, int nHue, int nSaturation, int nLightness);
    int Get(int nRange, int* pHue, int* pSaturation, int* pLightness) const;
    // On: the cube is allocated (RET_MALLOCFAIL and off when memory is
    // short) and rebuilt at the next frame. Off keeps the cube until close.
    int SetEnable(bool bOn);
    bool Enabled() const;
    // The look-up on 24 or 32-bit frames while enabled.
    void Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
               CFrameWorkers* pWorkers = nullptr);

    // Entry (b, g, r) of the cube for the given settings (hue, saturation,
    // lightness per range).
    static void Convert(const int nSettings[kRanges][3], int b, int g, int r, uint8_t* pOut);

  private:
    mutable std::mutex m_Mutex;
    int m_nSettings[kRanges][3] = {};  // hue, saturation, lightness
    bool m_bHueSaturation = false;
    bool m_bHueSaturationDirty = false;
    CColourCube m_Cube;
};

class CProcessSaturation {
  public:
    static constexpr int kMin = -128, kMax = 127;

    // Equal to the stored value: 1. Else clamped and stored, the cube
    // allocated (unless 0; RET_MALLOCFAIL and 0 when memory is short) and
    // marked for a rebuild.
    int Set(int nValue);
    int Value() const;
    // The look-up on 24 or 32-bit frames while the value is not 0.
    void Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
               CFrameWorkers* pWorkers = nullptr);

    static void Convert(float fFactor, int b, int g, int r, uint8_t* pOut);

  private:
    mutable std::mutex m_Mutex;
    int m_nProcessSaturation = 0;
    float m_fSaturationFactor = 1.0f;
    bool m_bSaturationDirty = false;
    CColourCube m_Cube;
};
