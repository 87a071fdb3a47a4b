// CSensor2048Family: the unit of the 2048 x 1536 sensor family. Its shutter
// delay is read only, the exposure has 16 significant bits, the column start
// moves by two in the skip modes and binning is a flag of the unit.
#pragma once

#include "sensors/RegisterFamilyUnit.h"

class CSensor2048Family final : public CRegisterFamilyUnit {
  public:
    static constexpr int64_t kMaxExposureLines = 65535;

    CSensor2048Family(CVendorRequests& vendor, const DeviceCapability& capability,
                      CLog* const& rpLog, SensorState& state);

    // Pixel clocks of one line (R) and the row-bin overhead (C).
    int32_t LineClocks() const;
    int32_t RowOverheadClocks() const;
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;

    // 21 .. 2047 horizontal, 3 .. 2047 vertical (11 bits).
    int SetHorizontalBlank(int nClocks) override;
    int SetVerticalBlank(int nRows) override;
    int GetHorizontalBlank() const override { return Shadow(HorizontalBlank) & 0x7FF; }
    int GetVerticalBlank() const override { return Shadow(VerticalBlank) & 0x7FF; }
    int GetHorizontalBlankRange(int* pMin, int* pMax) const override;
    int GetVerticalBlankRange(int* pMin, int* pMax) const override;

  private:
    bool ChangesLineTime(uint16_t wAddress) const override;
    int ColumnStartOffset(int nAmCol) const override;
    bool UsesBinnedCodes() const override { return m_bBinning; }
    WindowMasks RegisterMasks() const override { return {0x0FFF, 0x07FF}; }
    uint16_t UpperExposureWord(int64_t nLines) const override {
        return static_cast<uint16_t>((nLines >> 16) & 0xF);
    }
    void AfterInit() override { m_bBinning = false; }
    int32_t ShutterDelayClocks() const { return Shadow(ShutterDelay) & 0x7FF; }
};
