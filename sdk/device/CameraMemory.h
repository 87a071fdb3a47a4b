// CCameraMemory: the camera's non-volatile memory as the SDK keeps its
// settings there. The memory kind (HardwareCapability bmE2PRomType) decides
// where each item lives and which requests reach it:
//   kind 0  small memory, 16-bit addresses: single bytes only (the serial
//           byte, the working and colour modes as two bytes each);
//   kind 1  24-bit addresses: single bytes through the 32-bit-address byte
//           requests, blocks through the page-split block requests;
//   kind 2  16-bit addresses: single bytes through the 16-bit-address byte
//           requests, blocks as in kind 1.
// Blocks go in pieces of at most 64 bytes (the gamma LUT is read 128 bytes a
// request), none crossing a 256-byte page. The first failing request ends a
// transfer with its code; what went before stays written. Multi-byte values
// are little-endian.
//
// The item operations check the capability bits an item needs and answer
// RET_NOTSUPPORT where the camera lacks them or the memory kind has no place
// for the item. No lock of its own: each request goes through the vendor
// request path and its locks; a transfer is not atomic as a whole.
#pragma once

#include <cstdint>

#include "capability/DeviceCapability.h"
#include "usb/UsbTransport.h"
#include "usb/VendorRequests.h"

enum class MemoryItem {
    SerialByte,
    SerialDescription,
    WorkingMode,
    ColourMode,
    WorkingModeEx,
    LutLength,
    LutData,
    GammaLutLength,
    GammaLutData,
    WhiteBalanceGains,
    ColourMatrix,
    CalibrationHeader,
    CalibrationData,
    ParamBlock,
    Laser3DBlock,
};

class CCameraMemory {
  public:
    static constexpr uint32_t kSerialDescriptionBytes = 16;
    // The largest LUT the memory holds: 4096 entries.
    static constexpr uint32_t kMaxLutEntries = 4096;

    CCameraMemory(CVendorRequests& vendor, CUsbTransport& transport,
                  const DeviceCapability& capability);
    CCameraMemory(const CCameraMemory&) = delete;
    CCameraMemory& operator=(const CCameraMemory&) = delete;

    // The memory kind, 0 .. 7 (only 0, 1 and 2 hold anything).
    int Kind() const;
    // nLength bytes of an item from nOffset into it: RET_NOTSUPPORT when the
    // memory kind has no place for the item, RET_PARAMERROR for a range
    // outside the item, RET_DEVICECLOSED on a closed driver handle, else 1 or
    // the first failing request's code.
    int Read(MemoryItem item, uint32_t nOffset, uint8_t* pData, uint32_t nLength);
    int Write(MemoryItem item, uint32_t nOffset, const uint8_t* pData, uint32_t nLength);

    // The serial byte (any kind).
    int SetSerial(int nSerial);
    int GetSerial(uint8_t* pSerial);
    // The 16-byte serial description (kind 1, bmProgramSerialsDesc).
    int SerialsDescProgram(const uint8_t* pDescription);
    int SerialsDescReadout(uint8_t* pDescription);
    // The 16-bit working mode (bmProgramWorkingMode), colour mode
    // (bmProgramColorMode, colour sensors) and working mode Ex (kind 1,
    // bmProgramWorkingModeEx; read as two bytes, low first).
    int WorkingModeProgram(int nMode);
    int WorkingModeReadout(uint16_t* pMode);
    int ColorModeProgram(int nMode);
    int ColorModeReadout(uint16_t* pMode);
    int WorkingModeExProgram(int nMode);
    int WorkingModeExReadout(uint8_t* pMode);
    // Length of the stored LUT (kinds 1 and 2, bmProgramLut) and of the
    // stored gamma LUT (kind 1, bmProgramGammaLut).
    int LutInfoProgram(int nLength);
    int LutInfoReadout(uint16_t* pLength);
    int GammaLutInfoProgram(int nLength);
    int GammaLutInfoReadout(uint16_t* pLength);
    // The stored tables: their length must be 2 to the power of the sensor's
    // ADC bits (at most 4096), else RET_PARAMERROR when writing and RET_FAIL
    // when reading back. The readouts give the length and, with a table
    // buffer (may be null), fill it with that many bytes or entries.
    int LutDataWrite(const uint8_t* pData, int nLength);
    int LutDataReadout(uint8_t* pData, int* pLength);
    int GammaLutDataWrite(const uint16_t* pEntries, int nEntries);
    int GammaLutDataReadout(uint16_t* pEntries, int* pEntriesRead);
    // The FPGA's white-balance gains (red, green, blue) and colour matrix
    // (nine, row by row) as signed fixed point x 4096 (bmProgramColorMatrix,
    // colour sensors, kinds 1 and 2).
    int HWBMatrixProgram(const float* pGains);
    int HWBMatrixReadout(float* pGains);
    int HCCMMatrixProgram(const float* pMatrix);
    int HCCMMatrixReadout(float* pMatrix);

    // Entries of a table the sensor's ADC needs: 2^bits, or 0 beyond 4096.
    uint32_t AdcTableLength() const;

  private:
    // Where an item lives in this memory kind; false when it has no place.
    bool Locate(MemoryItem item, uint32_t& nAddress, uint32_t& nSize) const;
    // The address of nLength bytes from nOffset into the item: RET_NOTSUPPORT
    // when the item has no place, RET_PARAMERROR without data or beyond the
    // item, RET_DEVICECLOSED when the camera is closed.
    int Reach(MemoryItem item, uint32_t nOffset, const void* pData, uint32_t nLength,
              uint32_t& nAddress) const;
    // Items sent one byte a request (the others go as blocks).
    bool IsByteItem(MemoryItem item) const;
    int ReadByte(uint32_t nAddress, uint8_t* pValue);
    int WriteByte(uint32_t nAddress, uint8_t byValue);
    int ReadWord(MemoryItem item, uint16_t* pValue);
    int WriteWord(MemoryItem item, uint16_t wValue);
    // The item is in this kind and the capability bit (if any) is set.
    bool Offers(MemoryItem item, const CapField* pNeeds) const;
    bool IsColourSensor() const;
    int WriteFixed(MemoryItem item, const float* pValues, int nCount);
    int ReadFixed(MemoryItem item, float* pValues, int nCount);

    CVendorRequests& m_Vendor;
    CUsbTransport& m_Transport;
    const DeviceCapability& m_Capability;
};
