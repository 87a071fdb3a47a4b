// The frames of flat-field correction: a dark frame, a flat frame and the
// gain table made from them, one float per byte. A corrected byte is
// (v - dark) x gain + 0.5, limited to 0 .. 255. The owner replaces the
// buffers only while no frame is corrected (its raw-post lock).
#pragma once

#include <cstdint>
#include <vector>

#include "acquisition/FrameWorkers.h"
#include "acquisition/PixelLanes.h"

// Bytes nBegin .. nEnd - 1 of pData corrected with their dark bytes and
// gains, on the given lanes (every level gives the same bytes).
void CorrectFlatField(uint8_t* pData, const uint8_t* pDark, const float* pGain, size_t nBegin,
                      size_t nEnd, LaneLevel level);

class CFlatFieldFrames {
  public:
    // The byte average of nFrames frames summed per byte: truncation of
    // sum / nFrames + 0.5, at most 255.
    static std::vector<uint8_t> Average(const std::vector<uint32_t>& sums, int nFrames);

    void SetDark(std::vector<uint8_t> dark);
    void SetFlat(std::vector<uint8_t> flat);
    // The dark frame and gain table as a file gives them (the flat frame is
    // not stored there).
    void SetDarkAndGain(std::vector<uint8_t> dark, std::vector<float> gain);
    // The gain table from the dark and flat frames: RET_ILLEGALOPERATION
    // without both (of one size), else 1. gain = mean(flat - dark) /
    // (flat - dark) where flat exceeds dark, else 1.
    int MakeGain();
    void ClearGain() { m_Gain.clear(); }

    bool HasDark() const { return !m_Dark.empty(); }
    bool HasGain() const { return !m_Gain.empty(); }
    const std::vector<uint8_t>& Dark() const { return m_Dark; }
    const std::vector<float>& Gain() const { return m_Gain; }

    // Corrects nBytes bytes, in pieces on the workers when given; nothing
    // unless dark frame and gain table hold exactly nBytes entries.
    void Apply(uint8_t* pData, uint32_t nBytes, CFrameWorkers* pWorkers = nullptr) const;

  private:
    std::vector<uint8_t> m_Dark;
    std::vector<uint8_t> m_Flat;
    std::vector<float> m_Gain;
};
