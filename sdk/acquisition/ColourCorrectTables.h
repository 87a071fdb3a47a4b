// CColourCorrectTables: three 256-entry tables (red, green, blue) every RGB
// frame of a colour camera passes while the table mode is not 0. A request
// (ZDQ_ColorCorrectSet) fills them once from statistics of the next raw
// Bayer frame: grey-world offsets (mode 1), histogram equalisation per
// colour (mode 2) or of all pixels (mode 3); in mode 4 the white balance's
// automatic search fills them from the next RGB frame. The channel shifts,
// the white balance's table rebuilds and the table file write them too.
//
// Threads: the statistics run on the thread that catches frames, the
// look-up on the thread that converts them, the setters on the
// application's; all of them take the object's own lock, which nothing else
// is taken under (the callback runs under it and may call the getters).
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "ZDQApi.h"
#include "acquisition/FrameRegion.h"
#include "acquisition/FrameWorkers.h"
#include "acquisition/RgbTablePass.h"

class CColourCorrectTables {
  public:
    using Table = std::array<uint8_t, 256>;
    static constexpr int kDefaultTarget = 180;
    static constexpr int kMaxOffset = 255;
    // The size of the table file.
    static constexpr uint32_t kFileSize = 812;

    CColourCorrectTables();

    void SetCallback(ColorCorrectCallback pfCallback, void* pContext);
    // Mode and targets stored as given; the loaded flag is cleared and the
    // request set.
    void Set(int nMode, int nRed, int nGreen, int nBlue);
    int Mode() const;
    void Get(int* pMode, int* pRed, int* pGreen, int* pBlue) const;
    bool Loaded() const;

    // Offset of channel 0 red, 1 green, 2 blue, clamped to -255..255; its
    // table becomes table[i] = clamp(i + offset, 0, 255).
    void SetShift(int nChannel, int nOffset);
    // The three tables as another step computed them.
    void SetTables(const Table& red, const Table& green, const Table& blue);
    void Tables(Table& red, Table& green, Table& blue) const;

    // Statistics of an 8-bit Bayer frame of nWidth x nHeight in the region
    // (clamped to the frame here) when a request of modes 1-3 is pending;
    // nBayerPhase (0-3) tells which pixels are red, green and blue. Any other
    // mode only clears the request. The frame is only read.
    void RawStatistics(const uint8_t* pFrame, int nWidth, int nHeight, int nBayerPhase,
                       FrameRegion region);
    // In mode 4 with a request pending: clears it and returns true (the
    // caller then runs the white balance's search, which fills the tables).
    bool TakeRgbRequest();
    // The tables on a 24 or 32-bit frame (B, G, R order; the fourth byte
    // kept) while the mode is 1-4.
    void Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
               CFrameWorkers* pWorkers = nullptr) const;
    // While the mode is 1-4: these tables after the given ones (bTables) or
    // alone, written into tables, and true; else bTables.
    bool ComposeOnto(RgbTables& tables, bool bTables) const;

    // The table file: Save RET_FAIL in mode 0 or for any failed write;
    // Load with a null name resets the tables to the identity and the mode to
    // 0, else RET_FAIL for an unreadable file, RET_VERSIONERROR for a header
    // other than a table file's (or a file whose length is not its size).
    int Save(const wchar_t* pszFile, int nDeviceType) const;
    int Load(const wchar_t* pszFile);

  private:
    void SetOffsetTable(int nChannel, int nOffset);
    void Offsets(const uint64_t sums[3], const uint64_t counts[3], int nBayerPhase);

    mutable std::recursive_mutex m_Mutex;
    ColorCorrectCallback m_pfCallback = nullptr;
    void* m_pCallbackContext = nullptr;
    int m_nMode = 0;
    int m_nTarget[3] = {kDefaultTarget, kDefaultTarget, kDefaultTarget};
    bool m_bRequest = false;
    int m_nOffset[3] = {};
    Table m_Table[3];
    bool m_bLoaded = false;
};
