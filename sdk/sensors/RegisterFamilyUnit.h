// CRegisterFamilyUnit: what the 2592 x 1944 and the 2048 x 1536 sensor units
// share. Their chips have one register design: a 32-bit exposure line count
// in two registers, skip and binning codes in two address-mode registers,
// flip and mirror in ReadMode2 and four colour gains. Each family gives its
// line time, window offsets, address-mode codes, gain table and blanking.
#pragma once

#include <cstdint>
#include <vector>

#include "sensors/RegisterSensorUnit.h"

class CRegisterFamilyUnit : public CRegisterSensorUnit {
  public:
    enum Register : uint16_t {
        RowStart = 1,
        ColumnStart = 2,
        RowSize = 3,
        ColumnSize = 4,
        HorizontalBlank = 5,
        VerticalBlank = 6,
        ShutterWidthUpper = 8,
        ShutterWidthLower = 9,
        ShutterDelay = 12,
        ReadMode1 = 30,
        ReadMode2 = 32,
        RowAddressMode = 34,
        ColumnAddressMode = 35,
        Green1Gain = 43,
        BlueGain = 44,
        RedGain = 45,
        Green2Gain = 46,
        GlobalGain = 53,
    };
    static constexpr uint16_t kFlipBit = 0x8000;    // ReadMode2
    static constexpr uint16_t kMirrorBit = 0x4000;  // ReadMode2
    static constexpr int32_t kMinExposureLines = 1;

    // Address-mode register codes for the modes 0 .. 4.
    struct AddressModeCodes {
        uint16_t rowsPlain[5];
        uint16_t columnsPlain[5];
        uint16_t rowsBinned[5];
        uint16_t columnsBinned[5];
    };

    // Sets the window limits, reads the registers and derives the exposure
    // time: 1 or the first failing read.
    int Init() override;

    // Exposure in lines and ms with the line time now in the shadow.
    float ExposureLinesToTime(int64_t nLines) const override = 0;
    int64_t ExposureTimeToLines(float fMs) const override = 0;
    int64_t MaxExposureLines() const { return m_nMaxExposureLines; }
    // Lines clamped to 1 .. the maximum, upper word then lower word; a failed
    // upper write is returned and the lower word not written.
    int SetExposureLines(int64_t nLines);
    int SetExposureLines(int nLines) override { return SetExposureLines(int64_t{nLines}); }
    // The requested time is remembered even when the write fails.
    int SetExposureTime(float fMs) override;
    int64_t GetExposureLines() const;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;
    // The requested exposure time with the current line time.
    void ReapplyExposureTime();

    // Gain steps 0 .. MaxGainStep(); a step outside is clamped.
    int MaxGainStep() const { return static_cast<int>(m_wGainTable.size()) - 1; }
    uint16_t GainTableValue(int nStep) const;
    // The first step whose table value equals wValue (0 when none does).
    int GainStepOf(uint16_t wValue) const;
    // A colour's gain: the table value of the step into the colour's
    // registers, stopping at the first failing write.
    int SetColourGain(int nStep, const std::vector<uint16_t>& registers);
    // The device's gains: GlobalGain where the family has it on a
    // monochrome camera, else the colour's registers.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // Blanking with the family's bounds; the getters give what the chip
    // uses.
    int SetHorizontalBlank(int nClocks) override = 0;
    int SetVerticalBlank(int nRows) override = 0;
    virtual int GetHorizontalBlank() const = 0;
    virtual int GetVerticalBlank() const = 0;
    int GetHorizontalBlank(int* pClocks) const override;
    int GetVerticalBlank(int* pRows) const override;

    // Aligns and clamps a field of view in place (starts made even, both
    // modes checked against the capability).
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    // Writes the window and the address-mode codes, stopping at the first
    // failure; *pbChanged (may be null) tells whether a register changed.
    // RET_PARAMERROR for a mode outside 0 .. 4.
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;
    // Rewrites both address-mode registers with the plain or binned code of
    // their current mode; the flag follows only when both writes succeed.
    int SetBinning(bool bOn);
    bool Binning() const { return m_bBinning; }
    int GetBinRange(int* pMin, int* pMax) const override;
    int GetBin(int* pbOn) const override;
    int SetBin(bool bOn) override { return SetBinning(bOn); }
    // The addressing mode (0 .. 4) of an address-mode register's skip code.
    static int ModeOfSkipCode(uint16_t wRegister);

    // A ReadMode2 bit (flip, mirror) set or cleared through the shadow.
    int SetReadMode2Bit(uint16_t wBit, bool bOn);
    int SetFlip(bool bFlip) override { return SetReadMode2Bit(kFlipBit, bFlip); }
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override { return SetReadMode2Bit(kMirrorBit, bMirror); }
    int GetMirror(bool* pbMirror) const override;

  protected:
    CRegisterFamilyUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                        CLog* const& rpLog, SensorState& state, Layout layout, RoiLimits roi,
                        int64_t nMaxExposureLines, const AddressModeCodes& codes,
                        std::vector<uint16_t> gainTable);

    // Registers whose write changes the line time re-apply the requested
    // exposure; the exposure registers recompute the current time.
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    virtual bool ChangesLineTime(uint16_t wAddress) const = 0;
    // The offset from a field-of-view column start to ColumnStart.
    virtual int ColumnStartOffset(int nAmCol) const = 0;
    virtual bool UsesBinnedCodes() const = 0;
    // The bits of the window registers that hold the window.
    struct WindowMasks {
        uint16_t wColumnStart;
        uint16_t wOther;  // row start and both sizes
    };
    virtual WindowMasks RegisterMasks() const = 0;
    // The upper exposure word for a line count.
    virtual uint16_t UpperExposureWord(int64_t nLines) const = 0;
    // GlobalGain takes the gain of every colour (a monochrome 2592 camera).
    virtual bool UsesGlobalGain() const { return false; }
    // Run after Init's reads succeeded.
    virtual void AfterInit() {}
    int64_t ClampLines(int64_t nLines) const;

    bool m_bBinning = false;

  private:
    const RoiLimits m_Roi;
    const int64_t m_nMaxExposureLines;
    const AddressModeCodes m_Codes;
    const std::vector<uint16_t> m_wGainTable;
};
