// CProcessTables: the SDK's own gamma, contrast and brightness of 8-bit raw
// frames. Each setting has a 256-entry table; a frame byte passes the tables
// of the settings that are not 0 in the order gamma, contrast, brightness.
// The three are folded into one table when a setting changes, so a frame
// takes one look-up per byte. Setters may run while another thread applies
// the tables: a frame always sees one consistent table.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

class CFrameWorkers;

class CProcessTables {
  public:
    static constexpr int kMinContrast = -128, kMaxContrast = 127;
    static constexpr int kMinBrightness = -128, kMaxBrightness = 127;
    static constexpr int kMinGamma = -9, kMaxGamma = 9;
    using Table = std::array<uint8_t, 256>;

    CProcessTables();

    // Clamp, store and rebuild; a value equal to the stored one changes
    // nothing (gamma compares before clamping). 1.
    int SetContrast(int nContrast);
    int SetBrightness(int nBrightness);
    int SetGamma(int nGamma);
    int Contrast() const;
    int Brightness() const;
    int Gamma() const;

    // The tables as the settings define them (identity for 0).
    static Table ContrastTable(int nContrast);
    static Table BrightnessTable(int nBrightness);
    static Table GammaTable(int nGamma);

    // Runs the bytes of a frame through the tables, in slices on the workers
    // when there are any; nothing while every setting is 0.
    void Apply(uint8_t* pData, uint32_t nBytes, CFrameWorkers* pWorkers = nullptr) const;

  private:
    void Rebuild();  // under m_Mutex

    mutable std::mutex m_Mutex;
    int m_nProcessContrast = 0;
    int m_nProcessBrightness = 0;
    int m_nProcessGamma = 0;
    Table m_ucContrastTable;
    Table m_ucBrightnessTable;
    Table m_ucGammaTable;
    Table m_Combined;
    bool m_bIdentity = true;
};
