// CRegisterSensorUnit: what every sensor unit with 16-bit register values
// shares, at 8-bit addresses (VendorCmd_RdSensor / VendorCmd_WrSensor) or, in
// its wide-address variant, at 16-bit addresses (VendorCmd_RdSensorX /
// VendorCmd_WrSensorX). It keeps a shadow word for each register of the
// unit's list, reads the list in the unit's order, writes a register only
// when its value changes (then runs the unit's follow-up for it), writes the
// whole list back in the unit's restore order after a reset, and aligns and
// clamps fields of view to the unit's window limits.
#pragma once

#include <cstdint>
#include <vector>

#include "sensors/FieldOfView.h"
#include "sensors/SensorState.h"
#include "sensors/SensorUnit.h"
#include "usb/VendorRequests.h"

class CRegisterSensorUnit : public CSensorUnit {
  public:
    // The unit's registers: the list (one shadow word each), the order of
    // the reads at start, the order of the restore and the registers that
    // the unit never writes.
    struct Layout {
        std::vector<uint16_t> registers;
        std::vector<uint16_t> readOrder;
        std::vector<uint16_t> restoreOrder;
        std::vector<uint16_t> readOnly;
        bool bWideAddress = false;  // 16-bit register addresses
    };
    // Divisor of each addressing mode (full, skip 2, 3, 4, 8) and the width
    // alignment of each column mode.
    static constexpr int kModeDivisor[5] = {1, 2, 3, 4, 8};
    static constexpr int kWidthAlignment[5] = {4, 8, 12, 16, 32};

    // Zeroes the shadow, reads every register of the read order, then logs
    // the unit's register dump: 1 or the first failing read.
    int ReadRegisters();
    // The unit's register dump in the device log (none by default).
    virtual void LogRegisters() const {}
    // RET_NOTSUPPORT for a register outside the list or a read-only one, 1
    // without traffic when the value equals the shadow, else the write's
    // result; a successful write updates the shadow, runs the follow-up and
    // sets *pbWritten (may be null) to 1.
    int WriteRegister(uint16_t wAddress, uint16_t wValue, uint8_t* pbWritten = nullptr);
    // Writes every shadow of the restore order back to the chip, without
    // the equality test: 1 or the first failing write.
    int RestoreRegisters() override;
    // The shadow of a listed register (0 for an unlisted one).
    uint16_t Shadow(uint16_t wAddress) const;
    // One register read from the chip now, listed or not (a register the
    // chip computes itself): 1 or the read's failure.
    int ReadChip(uint16_t wAddress, uint16_t* pValue) const;
    // A listed register read from the chip into its shadow: 1 or the read's
    // failure (the shadow kept).
    int RereadRegister(uint16_t wAddress);

    // Fills a field of view from the window now in the chip's registers.
    // usMultiFrameNum is the FPGA's frames per transfer; b16BitData doubles
    // the bytes.
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum,
                     bool b16BitData) const override = 0;
    // The exposure the chip runs with now.
    int GetExposureTime(float* pMs) const override;

  protected:
    CRegisterSensorUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                        CLog* const& rpLog, SensorState& state, Layout layout);

    // What a written register changes besides its shadow.
    virtual void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) = 0;
    // Sets a shadow word without traffic (a register whose write also sets
    // others in the chip).
    void SetShadow(uint16_t wAddress, uint16_t wValue);

    // How a unit's field-of-view check differs from the common one.
    struct FovRules {
        bool bCheckRowCapability = false;  // the row mode needs its skip bit too
        bool bEvenStarts = false;          // starts are made even first
    };
    // Aligns and clamps a field of view in place: RET_PARAMERROR for a mode
    // outside 0 .. 4, RET_NOTSUPPORT for a mode the sensor lacks.
    // pMultiFrames (may be null) is cut so one transfer stays within 16 MiB;
    // b16BitOutput doubles the bytes per pixel.
    int CheckFovWith(const FovRules& rules, int& nColStart, int& nRowStart, int& nWidth,
                     int& nHeight, int nAmCol, int nAmRow, uint16_t* pMultiFrames,
                     bool b16BitOutput) const;

    // A window start or size as its register field holds it: clamped to
    // 0 .. wFieldMax, never wrapped.
    static uint16_t WindowField(int64_t nValue, uint16_t wFieldMax);

    CVendorRequests& m_Vendor;
    const DeviceCapability& m_Capability;
    CLog* const& m_rpLog;
    SensorState& m_State;

  private:
    int SlotOf(uint16_t wAddress) const;
    // One register write on the unit's bus, without the shadow.
    int SendRegister(uint16_t wAddress, uint16_t wValue);

    const Layout m_Layout;
    std::vector<uint16_t> m_wShadow;
};

// The first 41 gain steps the 8-bit-register sensors share: 8 .. 32, then
// 81 .. 96 (analogue gain with the doubling bit).
std::vector<uint16_t> LowGainSteps();
