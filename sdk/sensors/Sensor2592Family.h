// CSensor2592Family: the unit of the 2592 x 1944 sensor family. Its shutter
// delay is writable and changes the line time; GlobalGain is written only and
// sets the four colour gains in the chip; ReadMode1 carries the strobe and
// the sensor mode.
#pragma once

#include "sensors/RegisterFamilyUnit.h"

class CSensor2592Family final : public CRegisterFamilyUnit {
  public:
    static constexpr int64_t kMaxExposureLines = 2147483647;

    CSensor2592Family(CVendorRequests& vendor, const DeviceCapability& capability,
                      CLog* const& rpLog, SensorState& state);

    // Half a line (L) and the shutter overhead (S), in pixel clocks; a line
    // lasts 2 x L clocks.
    int32_t HalfLineClocks() const;
    int32_t ShutterOverheadClocks() const;
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;

    // 0 .. 4095 horizontal, 8 .. 2047 vertical.
    int SetHorizontalBlank(int nClocks) override;
    int SetVerticalBlank(int nRows) override;
    int GetHorizontalBlank() const override { return Shadow(HorizontalBlank); }
    int GetVerticalBlank() const override { return Shadow(VerticalBlank); }
    int GetHorizontalBlankRange(int* pMin, int* pMax) const override;
    int GetVerticalBlankRange(int* pMin, int* pMax) const override;

    // Strobe in ReadMode1: bit 4 enable, bit 5 invert, bits 0-3 mode.
    int SetStrobeEnable(bool bOn) override { return SetReadMode1Bits(0x0010, bOn ? 0x0010 : 0); }
    bool StrobeEnabled() const { return (Shadow(ReadMode1) & 0x0010) != 0; }
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bOn) override { return SetReadMode1Bits(0x0020, bOn ? 0x0020 : 0); }
    bool StrobeInverted() const { return (Shadow(ReadMode1) & 0x0020) != 0; }
    int GetStrobeInvert(bool* pbInvert) const override;
    // Mode 1 or 2; any other clears the mode bits.
    int SetStrobeMode(int nMode) override;
    // RET_NOTSUPPORT (mode 0) for bits the SDK never sets.
    int GetStrobeMode(int* pMode) const override;
    // Sensor mode in ReadMode1 bits 7-8: 0 (bit 8), 2 (both), else 1 (none).
    int SetSensorMode(int nMode) override;
    // RET_NOTSUPPORT for bit 7 alone.
    int GetSensorMode(int* pMode) const override;

  private:
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    bool ChangesLineTime(uint16_t wAddress) const override;
    int ColumnStartOffset(int /*nAmCol*/) const override { return 16; }
    bool UsesBinnedCodes() const override { return true; }
    bool UsesGlobalGain() const override { return m_Capability.Has(SensorCap::bmMono); }
    WindowMasks RegisterMasks() const override { return {0xFFFF, 0xFFFF}; }
    uint16_t UpperExposureWord(int64_t nLines) const override {
        return static_cast<uint16_t>(nLines >> 16);
    }
    int SetReadMode1Bits(uint16_t wMask, uint16_t wBits);
};
