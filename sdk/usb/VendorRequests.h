// CVendorRequests: the camera's vendor-request protocol on the control pipe.
// Each operation builds its setup packet, sends it through the transport and
// decodes the reply: byte 0 of a device-to-host reply is a status (0 = done,
// else RET_FAIL); 16-bit register values follow big-endian (sensor, FPGA),
// the working mode and the trigger delay little-endian, 8-bit values in
// byte 1.
//
// Common results: RET_PARAMERROR for a null output, RET_NOTSUPPORT when the
// camera lacks the request (capability gate, checked before any traffic),
// RET_DEVICECLOSED while the handle is closed, RET_FAIL for a failed
// transfer or a non-zero status.
#pragma once

#include <cstdint>

#include "capability/DeviceCapability.h"
#include "usb/UsbTransport.h"

class CVendorRequests {
  public:
    CVendorRequests(CUsbTransport& transport, const DeviceCapability& capability);
    CVendorRequests(const CVendorRequests&) = delete;
    CVendorRequests& operator=(const CVendorRequests&) = delete;

    // Image-sensor registers: 8-bit (RdSensor/WrSensor) or 16-bit addresses.
    int VendorCmd_RdSensor(uint16_t wAddress, uint16_t* pValue);
    int VendorCmd_RdSensorX(uint16_t wAddress, uint16_t* pValue);
    int VendorCmd_WrSensor(uint16_t wAddress, uint16_t wValue);
    int VendorCmd_WrSensorX(uint16_t wAddress, uint16_t wValue);

    // FPGA registers, raw: the read takes the read address (see
    // FpgaReadAddress), the write the register number.
    int VendorCmd_RdFpga(uint8_t byReadAddress, uint16_t* pValue);
    int VendorCmd_WrFpga(uint8_t byRegister, uint16_t wValue);
    int VendorCmd_ResetFpga(int bFlag);

    // The USB controller: external-memory registers, special-function
    // registers and the CPU reset.
    int VendorCmd_RdFx2Reg(uint16_t wAddress, uint8_t* pValue);
    int VendorCmd_WrFx2Reg(uint16_t wAddress, uint8_t byValue);
    int VendorCmd_RdFx2Sfr(uint8_t bySfr, uint8_t* pValue);
    int VendorCmd_WrFx2Sfr(uint8_t bySfr, uint8_t byValue);
    int VendorCmd_ResetFx2(bool bHold);
    int VendorCmd_ResetFx3();

    // EEPROM: one byte at a 16-bit or 32-bit address, or a block split at
    // 256-byte pages (stops at the first failed page).
    int VendorCmd_RdEEPROM(uint16_t wAddress, uint8_t* pValue);
    int VendorCmd_WrEEPROM(uint16_t wAddress, uint8_t byValue);
    int VendorCmd_RdEEPROMEx(uint32_t nAddress, uint8_t* pValue);
    int VendorCmd_WrEEPROMEx(uint32_t nAddress, uint8_t byValue);
    int VendorCmd_RdEEPROMExEx(uint32_t nAddress, uint32_t nLength, uint8_t* pBuffer);
    int VendorCmd_WrEEPROMExEx(uint32_t nAddress, const uint8_t* pBuffer, uint32_t nLength);

    // Working mode and trigger delay for cameras whose FPGA registers 0 and 3
    // are not directly accessible.
    int VendorCmd_SetWorkingMode(uint16_t wMode);
    int VendorCmd_GetWorkingMode(uint16_t* pMode);
    int VendorCmd_SetTriggerDelay(uint16_t wDelay);
    int VendorCmd_GetTriggerDelay(uint16_t* pDelay);

    // Frames and streaming.
    int VendorCmd_StartFrame();
    int VendorCmd_FrameAck();
    int VendorCmd_StartAcq();
    int VendorCmd_StopAcq();

    // Identity, state and resets. Each identity output may be null.
    int VendorCmd_GetDeviceInformation(int* pDeviceType, int* pSerial, uint16_t* pFirmware);
    int VendorCmd_UsbState(int* pState);
    int VendorCmd_ResetDevice();
    int VendorCmd_SendPktEnd();
    int VendorCmd_ReconnectDevice();

    // LUT downloads: at most 64 bytes (32 gamma entries) per request.
    int VendorCmd_WriteLut(uint16_t wOffset, const uint8_t* pData, uint32_t nLength);
    int VendorCmd_WriteGammaLut(uint16_t wEntryOffset, const uint16_t* pEntries, uint32_t nEntries);

    // CCD front end.
    int VendorCmd_WrAD9923AReg(uint16_t wAddress, uint32_t nValue);

    // Any device-to-host request with the caller's data stage.
    int VendorCmdEx(uint8_t byRequest, uint16_t wValue, uint16_t wIndex, uint16_t wLength,
                    uint8_t* pData);

    static constexpr uint32_t kLutChunkBytes = 64;
    static constexpr uint32_t kEepromPageBytes = 256;

  private:
    // A device-to-host request whose reply starts with a status byte.
    int StatusRequest(uint8_t byRequest, uint16_t wValue, uint16_t wIndex, uint8_t* pReply,
                      uint16_t wLength);
    int EepromBlock(uint32_t nAddress, uint8_t* pBuffer, uint32_t nLength, bool bWrite);
    CLog* Log() const { return m_Transport.Log(); }

    CUsbTransport& m_Transport;
    const DeviceCapability& m_Capability;
};
