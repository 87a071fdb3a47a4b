// CCalibrationMap: lens-distortion removal by a per-pixel remap. Each output
// pixel takes the source column and row of its map entry (16-bit integer
// parts and fractions of 2^fraction bits), interpolated (mode 1) or the
// nearest source pixel (other modes). The map comes from the camera model
// stored in the camera (camera matrix K and distortion k1, k2, p1, p2, k3)
// or from a map file. It applies only to frames of the map's size, and only
// to the preview or the capture frames as their flags say.
//
// Threads: the map is replaced or released only under the device's lock of
// the chain that applies it; the flags and mode are single words.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "acquisition/FrameWorkers.h"

class CCalibrationMap {
  public:
    static constexpr uint16_t kMagic = 0x4D43;
    static constexpr uint16_t kVersion = 0x0100;
    static constexpr uint32_t kFileHeaderSize = 24;
    static constexpr uint32_t kModelFractionBits = 10;
    static constexpr uint32_t kMaxFractionBits = 15;
    // A source coordinate outside the frame.
    static constexpr uint16_t kOutside = 0xFFFF;
    // The camera model: K row by row, then k1, k2, p1, p2, k3.
    static constexpr int kModelValues = 14;

    struct Header {
        uint16_t wMagic = 0;
        uint16_t wVersion = 0;
        uint32_t nWidth = 0;
        uint32_t nHeight = 0;
        uint32_t nFractionBits = 0;
        uint32_t nXSize = 0;  // bytes of each column array
        uint32_t nYSize = 0;  // bytes of each row array
    };

    // The map of a camera model for a frame of nWidth x nHeight: false (no
    // map) for a model whose values are not finite, whose K cannot be
    // inverted, a size beyond 16-bit coordinates or memory that is short.
    bool BuildFromModel(const float fModel[kModelValues], uint32_t nWidth, uint32_t nHeight);
    // The map from a file (UTF-8 name): RET_FAIL when it cannot be opened or
    // read, RET_VERSIONERROR for a wrong magic or version, fraction bits
    // above 15, array sizes other than width x height x 2 or a file of
    // another length (the map is then kept as it was), RET_MALLOCFAIL.
    int LoadFile(const char* pszFile);
    void Release();
    bool Present() const { return !m_SourceColumn.empty(); }
    const Header& MapHeader() const { return m_Header; }

    void SetMode(int nMode) { m_nMode = nMode; }
    int Mode() const { return m_nMode; }
    void SetPreview(bool bOn) { m_bPreview = bOn; }
    bool Preview() const { return m_bPreview; }
    void SetCapture(bool bOn) { m_bCapture = bOn; }
    bool Capture() const { return m_bCapture; }
    // Whether a frame of the preview (else the capture) field of view is
    // remapped.
    bool AppliesTo(bool bPreviewFrame) const { return bPreviewFrame ? m_bPreview : m_bCapture; }

    // The remap of an 8-bit raw frame (interpolating along the rows only)
    // and of an RGB frame of 24 or 32 bits; a frame of another size passes
    // unchanged.
    void ApplyRaw(uint8_t* pFrame, int nWidth, int nHeight, CFrameWorkers* pWorkers = nullptr);
    void ApplyRgb(uint8_t* pFrame, int nWidth, int nHeight, int nBitCount,
                  CFrameWorkers* pWorkers = nullptr);

    // Entry of pixel k: source column and row with their fractions.
    uint16_t SourceColumn(size_t k) const { return m_SourceColumn[k]; }
    uint16_t SourceColumnFraction(size_t k) const { return m_ColumnFraction[k]; }
    uint16_t SourceRow(size_t k) const { return m_SourceRow[k]; }
    uint16_t SourceRowFraction(size_t k) const { return m_RowFraction[k]; }

  private:
    bool Matches(int nWidth, int nHeight) const;

    Header m_Header;
    std::atomic<int> m_nMode{1};
    std::atomic<bool> m_bPreview{false};
    std::atomic<bool> m_bCapture{false};
    std::vector<uint16_t> m_SourceColumn;
    std::vector<uint16_t> m_ColumnFraction;
    std::vector<uint16_t> m_SourceRow;
    std::vector<uint16_t> m_RowFraction;
    std::vector<uint8_t> m_Scratch;
};
