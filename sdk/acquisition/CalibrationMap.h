// CCalibrationMap: lens-distortion removal by a per-pixel remap. Each output
// pixel takes the source column and row of its map entry (16-bit integer
// parts and fractions of 2^fraction bits), interpolated (mode 1) or the
// nearest source pixel (other modes). The map comes from the camera model
// stored in the camera (camera matrix K and distortion k1, k2, p1, p2, k3)
// or from a map file. It applies only to frames of the map's size, and only
// to the preview or the capture frames as their flags say.
//
// Threads: the raw chain and the colour chain each hold the map's arrays
// through a reference of their own, with a scratch frame of their own; each
// reference is replaced only under the device's lock of its chain, so a new
// map is installed one chain after the other without holding both locks. The
// flags and mode are single words.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
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

    // The map's arrays, never changed once made: entry k of each array
    // belongs to output pixel k.
    struct Table {
        Header header;
        std::vector<uint16_t> sourceColumn, columnFraction, sourceRow, rowFraction;
    };
    using TablePtr = std::shared_ptr<const Table>;

    // The map of a camera model for a frame of nWidth x nHeight: null for a
    // model whose values are not finite, whose K cannot be inverted, a size
    // beyond 16-bit coordinates or memory that is short.
    static TablePtr MakeFromModel(const float fModel[kModelValues], uint32_t nWidth,
                                  uint32_t nHeight);
    // The map from a file (UTF-8 name) into *pTable: RET_FAIL when it cannot
    // be opened or read, RET_VERSIONERROR for a wrong magic or version,
    // fraction bits above 15, array sizes other than width x height x 2 or a
    // file of another length, RET_MALLOCFAIL.
    static int ReadFile(const char* pszFile, TablePtr* pTable);
    // Makes a table (null: none) the one a chain applies, with that chain's
    // scratch frame; false, with no map for the chain, when the scratch
    // frame cannot be allocated.
    bool InstallForRaw(TablePtr pTable);
    bool InstallForRgb(TablePtr pTable);

    // Both chains at once, for a caller with no frame in flight (the
    // opening, tests): as the makers above, installed for both chains; a
    // failed load keeps the map as it was.
    bool BuildFromModel(const float fModel[kModelValues], uint32_t nWidth, uint32_t nHeight);
    int LoadFile(const char* pszFile);
    void Release();
    bool Present() const { return m_pRawTable != nullptr; }
    const Header& MapHeader() const { return m_pRawTable ? m_pRawTable->header : m_NoHeader; }

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

    // Entry of pixel k of the present map: source column and row with their
    // fractions.
    uint16_t SourceColumn(size_t k) const { return m_pRawTable->sourceColumn[k]; }
    uint16_t SourceColumnFraction(size_t k) const { return m_pRawTable->columnFraction[k]; }
    uint16_t SourceRow(size_t k) const { return m_pRawTable->sourceRow[k]; }
    uint16_t SourceRowFraction(size_t k) const { return m_pRawTable->rowFraction[k]; }

  private:
    static bool Matches(const TablePtr& pTable, int nWidth, int nHeight);
    static bool Install(TablePtr pTable, size_t nScratchBytesPerPixel, TablePtr& pTarget,
                        std::vector<uint8_t>& scratch);

    static const Header m_NoHeader;
    std::atomic<int> m_nMode{1};
    std::atomic<bool> m_bPreview{false};
    std::atomic<bool> m_bCapture{false};
    TablePtr m_pRawTable;
    std::vector<uint8_t> m_RawScratch;
    TablePtr m_pRgbTable;
    std::vector<uint8_t> m_RgbScratch;
};
