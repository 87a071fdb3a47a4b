#include "usb/VendorRequests.h"

#include <cstring>
#include <mutex>

namespace {

constexpr uint8_t kIn = 0xC0;
constexpr uint8_t kOut = 0x40;
constexpr uint16_t kCpuControlRegister = 0xE600;

uint16_t BigEndian16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
uint16_t LittleEndian16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

CVendorRequests::CVendorRequests(CUsbTransport& transport, const DeviceCapability& capability)
    : m_Transport(transport), m_Capability(capability) {}

int CVendorRequests::StatusRequest(uint8_t byRequest, uint16_t wValue, uint16_t wIndex,
                                   uint8_t* pReply, uint16_t wLength) {
    const int nRet =
        m_Transport.VendorCmd(SetupPacket{kIn, byRequest, wValue, wIndex, wLength}, pReply);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return pReply[0] == 0 ? RET_SUCCESS : RET_FAIL;
}

// ---- Sensor registers -------------------------------------------------------

int CVendorRequests::VendorCmd_RdSensor(uint16_t wAddress, uint16_t* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet =
        m_Transport.VendorCmd(SetupPacket{kIn, 0xC2, uint16_t(wAddress & 0xFF), 0, 3}, reply);
    if (nRet != RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_RdSensor Error! ( Return = %d )",
                 nRet);
        return nRet;
    }
    if (reply[0] != 0) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_RdSensor Error! ( Status = %d )",
                 reply[0]);
        return RET_FAIL;
    }
    *pValue = BigEndian16(reply + 1);
    LogPrint(Log(), LOGLEVEL_NORMAL,
             L"ZDQAPI::--VendorCmd_RdSensor Success. ( Address = 0x%02x(%03d), Value = "
             L"0x%04x(%05d)",
             wAddress & 0xFF, wAddress & 0xFF, *pValue, *pValue);
    return RET_SUCCESS;
}

int CVendorRequests::VendorCmd_RdSensorX(uint16_t wAddress, uint16_t* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet = m_Transport.VendorCmd(SetupPacket{kIn, 0xC2, wAddress, 0, 3}, reply);
    if (nRet != RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_RdSensorX Error! ( Return = %d )",
                 nRet);
        return nRet;
    }
    if (reply[0] != 0) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_RdSensorX Error! ( Status = %d )",
                 reply[0]);
        return RET_FAIL;
    }
    *pValue = BigEndian16(reply + 1);
    LogPrint(Log(), LOGLEVEL_NORMAL,
             L"ZDQAPI::--VendorCmd_RdSensorX Success. ( Address = 0x%04x(%05d), Value = "
             L"0x%04x(%05d)",
             wAddress, wAddress, *pValue, *pValue);
    return RET_SUCCESS;
}

int CVendorRequests::VendorCmd_WrSensor(uint16_t wAddress, uint16_t wValue) {
    LogPrint(Log(), LOGLEVEL_NORMAL,
             L"ZDQAPI::++VendorCmd_WrSensor Success. ( Address = 0x%02x(%03d), Value = "
             L"0x%04x(%05d)",
             wAddress & 0xFF, wAddress & 0xFF, wValue, wValue);
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet =
        m_Transport.VendorCmd(SetupPacket{kIn, 0xC3, uint16_t(wAddress & 0xFF), wValue, 3}, reply);
    if (nRet != RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_WrSensor Error! ( Return = %d )",
                 nRet);
        return nRet;
    }
    if (reply[0] != 0) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_WrSensor Error! ( Status = %d )",
                 reply[0]);
        return RET_FAIL;
    }
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_WrSensor Success.");
    return RET_SUCCESS;
}

int CVendorRequests::VendorCmd_WrSensorX(uint16_t wAddress, uint16_t wValue) {
    LogPrint(Log(), LOGLEVEL_NORMAL,
             L"ZDQAPI::++VendorCmd_WrSensorX ( Address = 0x%04x(%05d), Value = 0x%04x(%05d)",
             wAddress, wAddress, wValue, wValue);
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet = m_Transport.VendorCmd(SetupPacket{kIn, 0xC3, wAddress, wValue, 3}, reply);
    if (nRet != RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_WrSensorX Error! ( Return = %d )",
                 nRet);
        return nRet;
    }
    if (reply[0] != 0) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_WrSensorX Error! ( Status = %d )",
                 reply[0]);
        return RET_FAIL;
    }
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_WrSensorX Success.");
    return RET_SUCCESS;
}

// ---- FPGA registers ---------------------------------------------------------

int CVendorRequests::VendorCmd_RdFpga(uint8_t byReadAddress, uint16_t* pValue) {
    if (pValue != nullptr) {
        *pValue = 0;
    }
    if (m_Capability.Has(FirmwareCap::bmReadFpgaDead) ||
        (byReadAddress == 128 && !m_Capability.Has(FirmwareCap::bmGetVersionStatus)) ||
        (byReadAddress == 241 && !m_Capability.Has(FirmwareCap::bmGetVersionStatusEx))) {
        return RET_NOTSUPPORT;
    }
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet = StatusRequest(0x2A, byReadAddress, 0, reply, 3);
    if (nRet != RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_RdFpga Error! ( Return = %d )", nRet);
        return nRet;
    }
    *pValue = BigEndian16(reply + 1);
    LogPrint(Log(), LOGLEVEL_NORMAL,
             L"ZDQAPI::--VendorCmd_RdFpga Success. ( Address = 0x%02x(%03d), Value = "
             L"0x%04x(%05d)",
             byReadAddress, byReadAddress, *pValue, *pValue);
    return RET_SUCCESS;
}

int CVendorRequests::VendorCmd_WrFpga(uint8_t byRegister, uint16_t wValue) {
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet = m_Transport.VendorCmd(SetupPacket{kIn, 0x2B, byRegister, wValue, 3}, reply);
    if (nRet != RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_WrFpga Error! ( Return = %d )", nRet);
        return nRet;
    }
    if (reply[0] != 0) {
        // A write the FPGA refused is a failure, so the caller's shadow keeps
        // the value the camera still holds.
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmd_WrFpga Error! ( Status = %d )",
                 reply[0]);
        return RET_FAIL;
    }
    LogPrint(Log(), LOGLEVEL_NORMAL,
             L"ZDQAPI::--VendorCmd_WrFpga Success. ( Address = 0x%02x(%03d), Value = "
             L"0x%04x(%05d)",
             byRegister, byRegister, wValue, wValue);
    return RET_SUCCESS;
}

int CVendorRequests::VendorCmd_ResetFpga(int bFlag) {
    return m_Transport.VendorCmd(SetupPacket{kOut, 0x29, 0, uint16_t(bFlag != 0 ? 1 : 0), 0},
                                 nullptr);
}

// ---- USB controller ---------------------------------------------------------

int CVendorRequests::VendorCmd_RdFx2Reg(uint16_t wAddress, uint8_t* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[2] = {0xFF, 0xFF};
    const int nRet = StatusRequest(0xC0, wAddress, 0, reply, 2);
    if (nRet == RET_SUCCESS) {
        *pValue = reply[1];
    }
    return nRet;
}

int CVendorRequests::VendorCmd_WrFx2Reg(uint16_t wAddress, uint8_t byValue) {
    uint8_t reply[1] = {0xFF};
    return StatusRequest(0xC1, wAddress, byValue, reply, 1);
}

int CVendorRequests::VendorCmd_RdFx2Sfr(uint8_t bySfr, uint8_t* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[2] = {0xFF, 0xFF};
    const int nRet = StatusRequest(0xCA, bySfr, 0, reply, 2);
    if (nRet == RET_SUCCESS) {
        *pValue = reply[1];
    }
    return nRet;
}

int CVendorRequests::VendorCmd_WrFx2Sfr(uint8_t bySfr, uint8_t byValue) {
    uint8_t reply[1] = {0xFF};
    return StatusRequest(0xCB, bySfr, byValue, reply, 1);
}

int CVendorRequests::VendorCmd_ResetFx2(bool bHold) {
    uint8_t byHold = bHold ? 1 : 0;
    return m_Transport.VendorCmd(SetupPacket{kOut, 0xA0, kCpuControlRegister, 0, 1}, &byHold);
}

int CVendorRequests::VendorCmd_ResetFx3() {
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    LogPrint(Log(), LOGLEVEL_ERROR, L"+++++ VendorCmd_ResetFx3 +++++");
    const int nRet = m_Transport.VendorCmd(SetupPacket{kOut, 0xD7, 0, 0, 0}, nullptr);
    LogPrint(Log(), LOGLEVEL_ERROR, L"----- VendorCmd_ResetFx3 nRet=%d -----", nRet);
    return nRet;
}

// ---- EEPROM -----------------------------------------------------------------

int CVendorRequests::VendorCmd_RdEEPROM(uint16_t wAddress, uint8_t* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[2] = {0xFF, 0xFF};
    const int nRet = StatusRequest(0xC4, wAddress, 0, reply, 2);
    if (nRet == RET_SUCCESS) {
        *pValue = reply[1];
    }
    return nRet;
}

int CVendorRequests::VendorCmd_WrEEPROM(uint16_t wAddress, uint8_t byValue) {
    uint8_t reply[1] = {0xFF};
    return StatusRequest(0xC5, wAddress, byValue, reply, 1);
}

int CVendorRequests::VendorCmd_RdEEPROMEx(uint32_t nAddress, uint8_t* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[2] = {0xFF, 0xFF};
    const int nRet =
        StatusRequest(0xD2, uint16_t(nAddress >> 16), uint16_t(nAddress & 0xFFFF), reply, 2);
    if (nRet == RET_SUCCESS) {
        *pValue = reply[1];
    }
    return nRet;
}

int CVendorRequests::VendorCmd_WrEEPROMEx(uint32_t nAddress, uint8_t byValue) {
    uint8_t address[4] = {uint8_t(nAddress >> 24), uint8_t(nAddress >> 16), uint8_t(nAddress >> 8),
                          uint8_t(nAddress)};
    return m_Transport.VendorCmdLocked(SetupPacket{kOut, 0xD3, 0, byValue, 4}, address);
}

int CVendorRequests::EepromBlock(uint32_t nAddress, uint8_t* pBuffer, uint32_t nLength,
                                 bool bWrite) {
    if (pBuffer == nullptr && nLength != 0) {
        return RET_PARAMERROR;
    }
    // Read pages go unlocked; every write page goes under the bus lock with
    // its data passed through the record.
    auto transfer = [&](uint32_t nAt, uint8_t* pAt, uint32_t nCount) {
        const SetupPacket packet{uint8_t(bWrite ? kOut : kIn), uint8_t(bWrite ? 0xD5 : 0xD4),
                                 uint16_t(nAt >> 16), uint16_t(nAt & 0xFFFF), uint16_t(nCount)};
        return bWrite ? m_Transport.VendorCmdLocked(packet, pAt)
                      : m_Transport.VendorCmd(packet, pAt);
    };
    uint32_t nRemaining = nLength;
    uint32_t nNext = (nAddress / kEepromPageBytes + 1) * kEepromPageBytes;
    while (nNext < nAddress + nRemaining) {
        const uint32_t nChunk = nNext - nAddress;
        const int nRet = transfer(nAddress, pBuffer, nChunk);
        if (nRet != RET_SUCCESS) {
            return RET_FAIL;
        }
        pBuffer += nChunk;
        nRemaining -= nChunk;
        nAddress = nNext;
        nNext += kEepromPageBytes;
    }
    return transfer(nAddress, pBuffer, nRemaining);
}

int CVendorRequests::VendorCmd_RdEEPROMExEx(uint32_t nAddress, uint32_t nLength, uint8_t* pBuffer) {
    return EepromBlock(nAddress, pBuffer, nLength, false);
}

int CVendorRequests::VendorCmd_WrEEPROMExEx(uint32_t nAddress, const uint8_t* pBuffer,
                                            uint32_t nLength) {
    // The driver only reads a host-to-device data stage.
    return EepromBlock(nAddress, const_cast<uint8_t*>(pBuffer), nLength, true);
}

// ---- Working mode and trigger delay ---------------------------------------

int CVendorRequests::VendorCmd_SetWorkingMode(uint16_t wMode) {
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::++VendorCmd_SetWorkingMode.");
    uint8_t reply[1] = {0xFF};
    const int nRet = StatusRequest(0xCE, wMode, 0, reply, 1);
    if (nRet == RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_SetWorkingMode Success. ( WorkingMode = 0x%04x )", wMode);
    }
    return nRet;
}

int CVendorRequests::VendorCmd_GetWorkingMode(uint16_t* pMode) {
    if (pMode == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet = StatusRequest(0xCF, 0, 0, reply, 3);
    if (nRet == RET_SUCCESS) {
        *pMode = LittleEndian16(reply + 1);
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_GetWorkingMode Success. ( WorkingMode = 0x%04x )", *pMode);
    }
    return nRet;
}

int CVendorRequests::VendorCmd_SetTriggerDelay(uint16_t wDelay) {
    uint8_t reply[1] = {0xFF};
    return StatusRequest(0xD6, wDelay, 0, reply, 1);
}

int CVendorRequests::VendorCmd_GetTriggerDelay(uint16_t* pDelay) {
    if (pDelay == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    const int nRet = StatusRequest(0xD8, 0, 0, reply, 3);
    if (nRet == RET_SUCCESS) {
        *pDelay = LittleEndian16(reply + 1);
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_GetTriggerDelay. ( TriggerDelay = 0x%04x )", *pDelay);
    }
    return nRet;
}

// ---- Frames and streaming -------------------------------------------------

int CVendorRequests::VendorCmd_StartFrame() {
    uint8_t reply[1] = {0xFF};
    return StatusRequest(0xC8, 0, 0, reply, 1);
}

int CVendorRequests::VendorCmd_FrameAck() {
    const int nType = m_Transport.Identity().nDeviceType;
    if (nType < 46 || nType > 51) {
        return RET_NOTSUPPORT;
    }
    uint8_t reply[1] = {0xFF};
    return StatusRequest(0xDA, 0, 0, reply, 1);
}

int CVendorRequests::VendorCmd_StartAcq() {
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::++VendorCmd_StartAcq");
    uint8_t reply[1] = {0};
    const int nRet = m_Transport.VendorCmd(SetupPacket{kIn, 0xEC, 0, 0, 1}, reply);
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_StartAcq! ( Return = %d )", nRet);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return reply[0] == 0 ? RET_SUCCESS : RET_FAIL;
}

int CVendorRequests::VendorCmd_StopAcq() {
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::++VendorCmd_StopAcq");
    uint8_t reply[1] = {0};
    const int nRet = m_Transport.VendorCmd(SetupPacket{kIn, 0xED, 0, 0, 1}, reply);
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_StopAcq! ( Return = %d )", nRet);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    return reply[0] == 0 ? RET_SUCCESS : RET_FAIL;
}

// ---- Identity, state and resets --------------------------------------------

int CVendorRequests::VendorCmd_GetDeviceInformation(int* pDeviceType, int* pSerial,
                                                    uint16_t* pFirmware) {
    DeviceIdentity identity;
    const int nRet = m_Transport.QueryIdentity(identity);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (pDeviceType != nullptr) {
        *pDeviceType = identity.nDeviceType;
    }
    if (pSerial != nullptr) {
        *pSerial = identity.nSerial;
    }
    if (pFirmware != nullptr) {
        *pFirmware = identity.wFirmwareVersion;
    }
    return RET_SUCCESS;
}

int CVendorRequests::VendorCmd_UsbState(int* pState) {
    if (pState == nullptr) {
        return RET_PARAMERROR;
    }
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::++VendorCmd_UsbState");
    uint8_t reply[2] = {0, 0};
    const int nRet = m_Transport.VendorCmd(SetupPacket{kIn, 0xEE, 0, 0, 2}, reply);
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_UsbState ! ( Return = %d Value = %d )",
             nRet, reply[1]);
    if (nRet == RET_SUCCESS) {
        *pState = reply[1];
    }
    return nRet;
}

int CVendorRequests::VendorCmd_ResetDevice() {
    if (!m_Capability.Has(FirmwareCap::bmResetDevice)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_ResetDevice Success. ( Not Support! )");
        return RET_NOTSUPPORT;
    }
    uint8_t reply[1] = {0xFF};
    const int nRet = StatusRequest(0xDB, 0, 0, reply, 1);
    if (nRet == RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_ResetDevice Success.");
    }
    return nRet;
}

int CVendorRequests::VendorCmd_SendPktEnd() {
    if (!m_Capability.Has(FirmwareCap::bmSendPktEnd)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_SendPktEnd Success. ( Not Support! )");
        return RET_NOTSUPPORT;
    }
    uint8_t reply[1] = {0xFF};
    const int nRet = StatusRequest(0xE2, 0, 0, reply, 1);
    if (nRet == RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_SendPktEnd Success.");
    }
    return nRet;
}

int CVendorRequests::VendorCmd_ReconnectDevice() {
    if (!m_Capability.Has(FirmwareCap::bmReconnect)) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_ReconnectDevice. ( Not Support! )");
        return RET_NOTSUPPORT;
    }
    uint8_t reply[1] = {0xFF};
    int nRet;
    {
        plat::CriticalSectionLock lock(m_Transport.BusLock());
        nRet = StatusRequest(0xE8, 0, 0, reply, 1);
    }
    if (nRet == RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmd_ReconnectDevice Success.");
    }
    return nRet;
}

// ---- LUT downloads and the CCD front end -----------------------------------

int CVendorRequests::VendorCmd_WriteLut(uint16_t wOffset, const uint8_t* pData, uint32_t nLength) {
    if (!m_Capability.Has(FpgaCap::bmLutDownload)) {
        return RET_NOTSUPPORT;
    }
    if (pData == nullptr || nLength == 0 || nLength > kLutChunkBytes) {
        return RET_PARAMERROR;
    }
    uint8_t data[kLutChunkBytes];
    std::memcpy(data, pData, nLength);
    return m_Transport.VendorCmdLocked(SetupPacket{kOut, 0xDD, wOffset, 0, uint16_t(nLength)},
                                       data);
}

int CVendorRequests::VendorCmd_WriteGammaLut(uint16_t wEntryOffset, const uint16_t* pEntries,
                                             uint32_t nEntries) {
    if (!m_Capability.Has(FpgaCap::bmGammaLutDownload)) {
        return RET_NOTSUPPORT;
    }
    if (pEntries == nullptr || nEntries == 0 || nEntries * 2 > kLutChunkBytes) {
        return RET_PARAMERROR;
    }
    uint8_t data[kLutChunkBytes];
    for (uint32_t i = 0; i < nEntries; ++i) {
        data[2 * i] = static_cast<uint8_t>(pEntries[i]);
        data[2 * i + 1] = static_cast<uint8_t>(pEntries[i] >> 8);
    }
    return m_Transport.VendorCmdLocked(
        SetupPacket{kOut, 0xE9, wEntryOffset, 0, uint16_t(nEntries * 2)}, data);
}

int CVendorRequests::VendorCmd_WrAD9923AReg(uint16_t wAddress, uint32_t nValue) {
    uint8_t data[6] = {uint8_t(wAddress),    uint8_t(wAddress >> 8), uint8_t(nValue),
                       uint8_t(nValue >> 8), uint8_t(nValue >> 16),  uint8_t(nValue >> 24)};
    const int nRet = m_Transport.VendorCmdLocked(SetupPacket{kOut, 0x27, 0, 0, 6}, data);
    if (nRet == RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_WrAD9923AReg Success. ( Address = 0x%04x(%05d), Value = "
                 L"0x%04x(%05d)",
                 wAddress, wAddress, nValue, nValue);
    }
    return nRet;
}

int CVendorRequests::VendorCmdEx(uint8_t byRequest, uint16_t wValue, uint16_t wIndex,
                                 uint16_t wLength, uint8_t* pData) {
    if (pData == nullptr && wLength != 0) {
        return RET_PARAMERROR;
    }
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::++VendorCmdEx.");
    const int nRet =
        m_Transport.VendorCmd(SetupPacket{kIn, byRequest, wValue, wIndex, wLength}, pData);
    if (nRet == RET_SUCCESS) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--VendorCmdEx Success.");
    } else {
        LogPrint(Log(), LOGLEVEL_ERROR, L"ZDQAPI::--VendorCmdEx Error! ( Return = %d )", nRet);
    }
    return nRet;
}
