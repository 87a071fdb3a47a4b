// CByteRegisterUnit: what the sensor units share whose chips have byte-wide
// registers at 16-bit addresses (read and written with VendorCmd_RdSensorX /
// VendorCmd_WrSensorX; a read gives a word whose low byte is the register).
// A quantity wider than a byte lies in consecutive registers, least
// significant first; the top register of a quantity holds only the bits the
// quantity needs, so each register has the bits the unit keeps, the bits it
// compares and the bits it writes back on a restore. The unit keeps a shadow
// byte of every listed register, filled at init and changed only by the
// write-through rule (WriteRegister).
#pragma once

#include <cstdint>
#include <vector>

#include "capability/DeviceCapability.h"
#include "common/Log.h"
#include "platform/CriticalSection.h"
#include "sensors/SensorState.h"
#include "sensors/SensorUnit.h"
#include "usb/VendorRequests.h"

class CByteRegisterUnit : public CSensorUnit {
  public:
    // A listed register: the bits the shadow takes from a write, the bits a
    // write is compared on and the bits a restore sends.
    struct Register {
        uint16_t wAddress;
        uint8_t byKeep = 0xFF;
        uint8_t byCompare = 0xFF;
        uint8_t byRestore = 0xFF;
    };
    // A quantity: its lowest register and how many registers it spans.
    struct Quantity {
        uint16_t wLow;
        int nBytes;
    };
    // One line of the register dump: the name printed after the unit's
    // prefix and the quantity whose shadow bytes it shows.
    struct DumpLine {
        const wchar_t* pszName;
        Quantity quantity;
    };
    struct Layout {
        const wchar_t* pszUnit;  // "IMX174": the dump's block and line names
        std::vector<Register> registers;
        std::vector<uint16_t> readOrder;
        std::vector<uint16_t> restoreOrder;
        std::vector<DumpLine> dump;  // empty: the unit logs no dump
        int nDumpNameColumns = 18;   // name and colon padded to this width
        bool bDumpRule = true;       // the block ends with a line of "="
    };

    // The write-through rule: RET_NOTSUPPORT for an unlisted address (unless
    // the unit sends those on, OnUnlistedWrite); 1 without traffic when the
    // value equals the shadow in the compared bits; else the write, and on
    // success the kept bits stored, *pbChanged (may be null) set to 1 and
    // the register's follow-up run (its result is not returned).
    int WriteRegister(uint16_t wAddress, uint8_t byValue, uint8_t* pbChanged = nullptr);
    // Every register of the restore order written straight from its shadow
    // (the restored bits): 1 or the first failure.
    int RestoreRegisters() override;
    // The shadow byte of a listed register (0 for an unlisted one).
    uint8_t Byte(uint16_t wAddress) const;
    // A quantity from its shadow bytes, each limited to its kept bits.
    uint32_t Value(Quantity quantity) const;
    // A quantity's bytes, low first, through the write-through rule; stops
    // at the first failure.
    int WriteValue(Quantity quantity, uint32_t nValue, uint8_t* pbChanged = nullptr);
    int GetExposureTime(float* pMs) const override;

  protected:
    CByteRegisterUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                      CLog* const& rpLog, SensorState& state, plat::CriticalSection& busLock,
                      int32_t nDeviceType, Layout layout);

    // Zeroes the shadow and reads the read order: 1 or the first failing read.
    int ReadRegisters();
    void LogRegisters() const;
    const wchar_t* UnitName() const { return m_Layout.pszUnit; }
    // The bits of a listed register the unit keeps (0 for an unlisted one).
    uint8_t KeptBits(uint16_t wAddress) const;
    // What a written register changes besides its shadow.
    virtual void OnRegisterWritten(uint16_t wAddress) = 0;
    // A write to an address outside the list.
    virtual int OnUnlistedWrite(uint16_t /*wAddress*/, uint8_t /*byValue*/) {
        return RET_NOTSUPPORT;
    }
    // A shadow byte set without traffic.
    void SetByte(uint16_t wAddress, uint8_t byValue);
    bool Covers(Quantity quantity, uint16_t wAddress) const {
        return wAddress >= quantity.wLow && wAddress < quantity.wLow + quantity.nBytes;
    }

    // The column or row addressing mode's skip bit is in the capability
    // record (modes 1-4; other modes pass).
    bool ModeAllowed(int nMode) const;
    // usMultiFrameNum (may be null) cut so one transfer of frames of
    // nWidth x nHeight pixels stays within 16 MiB; 0 becomes 1.
    static void LimitMultiFrames(uint16_t* pMultiFrames, int64_t nWidth, int64_t nHeight,
                                 bool b16BitData);
    // Aligns start and size up to a multiple of nAlign (in 64 bits, so no
    // input wraps), clamps the size to the limits, makes the start at least
    // 0 and pulls it back so that the window ends inside nMaxSize.
    static void AlignUpAndClamp(int& nStart, int& nSize, int nAlign, int nMinSize, int nMaxSize);
    // Line time in ms of a line of nClocks pixel clocks.
    double LineTime(uint32_t nClocks) const { return double{m_Capability.T} * nClocks; }
    // ms to whole lines of nClocks each, rounded half up; at least nMin, and
    // nMin for a negative time or a line length of 0.
    int64_t TimeToLines(float fMs, uint32_t nClocks, int64_t nMin) const;

    CVendorRequests& m_Vendor;
    const DeviceCapability& m_Capability;
    CLog* const& m_rpLog;
    SensorState& m_State;
    plat::CriticalSection& m_BusLock;
    const int32_t m_nDeviceType;

  private:
    int SlotOf(uint16_t wAddress) const;

    const Layout m_Layout;
    std::vector<uint8_t> m_byShadow;
};
