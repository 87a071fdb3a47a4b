#include "device/BusControl.h"

#include <mutex>

#include "platform/Time.h"

CBusControl::CBusControl(CUsbTransport& transport, CVendorRequests& vendor, CFpgaRegisters& fpga,
                         const DeviceCapability& capability)
    : m_Transport(transport), m_Vendor(vendor), m_Fpga(fpga), m_Capability(capability) {}

int CBusControl::Bus_CatchOneFrame(uint8_t* pBuffer, uint32_t nBytes) {
    if (m_Transport.StreamStarted()) {
        return Bus_CatchOneFrameIoctl(pBuffer, nBytes);
    }
    plat::CriticalSectionLock lock(m_Transport.BusLock());
    LogPrint(m_Transport.Log(), LOGLEVEL_FRAME, L"ZDQAPI::++Bus_CatchOneFrame(0x%x, %d).",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(pBuffer)), nBytes);
    m_Vendor.VendorCmd_FrameAck();  // the cameras that need it; the others answer -3
    return m_Transport.ReadFrame(FrameReadMethod::ReadFile, pBuffer, nBytes, nullptr);
}

int CBusControl::StreamRead(uint8_t* pBuffer, uint32_t nBytes, uint32_t* pReal) {
    m_Vendor.VendorCmd_FrameAck();
    const bool bSoftwareTrigger = IsSoftwareTriggerWorkingMode(m_Fpga.WorkingMode());
    if (!m_Transport.StreamStarted() || bSoftwareTrigger) {
        m_Vendor.VendorCmd_StartFrame();
    }
    return m_Transport.ReadFrame(FrameReadMethod::StreamIoctl, pBuffer, nBytes, pReal);
}

int CBusControl::Bus_CatchOneFrameIoctl(uint8_t* pBuffer, uint32_t nBytes) {
    plat::CriticalSectionLock lock(m_Transport.BusLock());
    LogPrint(m_Transport.Log(), LOGLEVEL_FRAME, L"ZDQAPI::++Bus_CatchOneFrame(0x%x, %d).",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(pBuffer)), nBytes);
    return StreamRead(pBuffer, nBytes, nullptr);
}

int CBusControl::Bus_CatchOneFrameNoCmdEx(uint8_t* pBuffer, int* pReal, uint32_t nBytes) {
    plat::CriticalSectionLock lock(m_Transport.BusLock());
    LogPrint(m_Transport.Log(), LOGLEVEL_FRAME, L"ZDQAPI::++Bus_CatchOneFrameNoCmdEx(0x%x, %d).",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(pBuffer)), nBytes);
    uint32_t nReal = 0;
    const int nRet = StreamRead(pBuffer, nBytes, &nReal);
    if (pReal != nullptr) {
        *pReal = static_cast<int>(nReal);
    }
    return nRet;
}

int CBusControl::ResetDeviceAndHost() {
    m_Vendor.VendorCmd_ResetDevice();
    m_Transport.UsbdCmd_Reset();
    return RET_SUCCESS;
}

int CBusControl::Recover() {
    CLog* pLog = m_Transport.Log();
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++Recover.");
    plat::SleepMs(kRecoverPauseMs);
    const bool bWasStreaming = m_Transport.StreamStarted();
    const bool bStreamControl = m_Capability.Has(FpgaCap::bmStreamMode) && m_Transport.NewDriver();
    if (bWasStreaming && bStreamControl) {
        m_Transport.SetStreamStarted(false);
        m_Vendor.VendorCmd_StopAcq();
    }
    if (m_Transport.ReleaseLostDevice() != RET_SUCCESS) {
        LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::**Recover Error! ( Close Fail )");
        m_Transport.SetStreamStarted(bWasStreaming);
        return RET_RECOVERY_FAIL;
    }
    if (m_Transport.FindLostDevice() != RET_SUCCESS) {
        LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::**Recover Error! ( Open Fail )");
        m_Transport.SetStreamStarted(bWasStreaming);
        return RET_RECOVERY_FAIL;
    }
    ResetDeviceAndHost();
    const int nRet = restoreRegisters ? restoreRegisters() : RET_RECOVERY_SUCCESS;
    ResetDeviceAndHost();
    if (bWasStreaming && bStreamControl && !m_Transport.StreamStarted()) {
        if (m_Vendor.VendorCmd_StartAcq() == RET_SUCCESS) {
            m_Transport.SetStreamStarted(true);
        }
    }
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--Recover. ( Return = %d )", nRet);
    return nRet;
}
