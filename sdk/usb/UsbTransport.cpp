#include "usb/UsbTransport.h"

#include <cstring>
#include <memory>
#include <mutex>

#include "platform/ErrorText.h"
#include "usb/DriverNames.h"

namespace {

constexpr uint8_t kRequestTypeIn = 0xC0;
constexpr uint8_t kRequestDeviceInformation = 0xC9;
constexpr uint16_t kDeviceInformationLength = 5;

void PutLe32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

// Stores the driver's error number where LogLastError() finds it.
void KeepDriverError() {
    plat::SetLastError(mlusb_get_last_error());
}

// Completion of one vendor request. The driver may signal it from a thread of
// its own, even after the request was reported complete, so the record it
// signals is shared: the driver's reference is released by the callback.
struct RequestCompletion {
    plat::Event done{plat::Event::Mode::AutoReset};
};

void SignalRequest(void* pContext) {
    auto* pRef = static_cast<std::shared_ptr<RequestCompletion>*>(pContext);
    (*pRef)->done.Set();
    delete pRef;
}

void SignalReadEvent(void* pContext) {
    static_cast<plat::Event*>(pContext)->Set();
}

}  // namespace

void BuildVendorRequest(const SetupPacket& packet, const void* pData,
                        uint8_t record[MLUSB_VENDOR_REQUEST_SIZE]) {
    std::memset(record, 0, MLUSB_VENDOR_REQUEST_SIZE);
    PutLe32(record + 0, packet.wValue);
    PutLe32(record + 4, packet.wLength);
    PutLe32(record + 8, packet.wIndex);
    record[12] = packet.bRequest;
    record[13] = packet.bmRequestType;
    record[14] = packet.bmRequestType & 0x80;
    const uint64_t nAddress = reinterpret_cast<uintptr_t>(pData);
    for (int i = 0; i < 8; ++i) {
        record[15 + i] = static_cast<uint8_t>(nAddress >> (8 * i));
    }
}

CUsbTransport::CUsbTransport(CLog* const& rpLog) : m_rpLog(rpLog) {}

CUsbTransport::~CUsbTransport() {
    Close();
}

MlUsbHandle CUsbTransport::OpenUnclaimed(int nDriverNumber) {
    MlUsbHandle hDevice = mlusb_open(DriverDevicePath(nDriverNumber).c_str());
    if (hDevice == nullptr) {
        KeepDriverError();
        return nullptr;
    }
    if (plat::NamedClaim::Exists(CameraClaimName(nDriverNumber))) {
        mlusb_close(hDevice);  // taken by another device object or process
        return nullptr;
    }
    return hDevice;
}

bool CUsbTransport::TakeDevice(MlUsbHandle hDevice, int nDriverNumber) {
    if (!m_Claim.Create(CameraClaimName(nDriverNumber))) {
        mlusb_close(hDevice);  // a camera that cannot be claimed is not taken
        return false;
    }
    {
        plat::CriticalSectionLock lock(m_BusLock);
        m_ReadEvent.Reset();
        m_ReadOverlapped = MlUsbOverlapped{};
    }
    m_nDriverNumber = nDriverNumber;
    m_hDevice = hDevice;
    return true;
}

int CUsbTransport::Open() {
    std::lock_guard<std::mutex> lock(m_HandleMutex);
    m_bClosedByOwner = false;
    if (IsOpen()) {
        return RET_SUCCESS;
    }
    for (int i = 0; i < MLUSB_MAX_DEVICES; ++i) {
        MlUsbHandle hDevice = OpenUnclaimed(i);
        if (hDevice != nullptr && TakeDevice(hDevice, i)) {
            return RET_SUCCESS;
        }
    }
    return RET_FAIL;
}

int CUsbTransport::Close() {
    std::lock_guard<std::mutex> lock(m_HandleMutex);
    m_bClosedByOwner = true;
    ReleaseLocked();
    return RET_SUCCESS;
}

int CUsbTransport::ReleaseLostDevice() {
    std::lock_guard<std::mutex> lock(m_HandleMutex);
    if (m_bClosedByOwner) {
        return RET_DEVICECLOSED;
    }
    ReleaseLocked();
    return RET_SUCCESS;
}

void CUsbTransport::ReleaseLocked() {
    MlUsbHandle hDevice = m_hDevice.exchange(nullptr);
    if (hDevice != nullptr) {
        // Closing completes every pending operation of the handle, so the
        // read state is free once it returns.
        mlusb_close(hDevice);
    }
    {
        plat::CriticalSectionLock lock(m_BusLock);
        m_ReadEvent.Reset();
        m_ReadOverlapped = MlUsbOverlapped{};
    }
    m_Claim.Close();
    m_nDriverNumber = -1;
}

int CUsbTransport::QueryIdentity(MlUsbHandle hDevice, DeviceIdentity& identity) {
    uint8_t reply[kDeviceInformationLength];
    std::memset(reply, 0xFF, sizeof(reply));
    const SetupPacket packet{kRequestTypeIn, kRequestDeviceInformation, 0, 0,
                             kDeviceInformationLength};
    const int nRet = SendVendorRequest(hDevice, packet, reply, false);
    if (nRet != RET_SUCCESS) {
        LogPrint(g_pLog, LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_GetDeviceInformation Fail! ( VendorCmd Error )");
        return nRet;
    }
    if (reply[0] != 0) {
        LogPrint(g_pLog, LOGLEVEL_NORMAL,
                 L"ZDQAPI::--VendorCmd_GetDeviceInformation Fail! ( VendorCmd Status Error )");
        return RET_FAIL;
    }
    identity.nDeviceType = reply[1];
    identity.nSerial = reply[2];
    identity.wFirmwareVersion = static_cast<uint16_t>(reply[3] | (reply[4] << 8));
    LogPrint(g_pLog, LOGLEVEL_NORMAL,
             L"ZDQAPI::--VendorCmd_GetDeviceInformation Success. ( %d, 0x%04x, 0x%04x )",
             identity.nDeviceType, identity.nSerial, identity.wFirmwareVersion);
    return RET_SUCCESS;
}

int CUsbTransport::FindLostDevice() {
    std::lock_guard<std::mutex> lock(m_HandleMutex);
    if (m_bClosedByOwner) {
        return RET_FAIL;
    }
    if (IsOpen()) {
        return RET_SUCCESS;
    }
    for (int i = 0; i < MLUSB_MAX_DEVICES; ++i) {
        MlUsbHandle hDevice = OpenUnclaimed(i);
        if (hDevice == nullptr) {
            continue;
        }
        DeviceIdentity found;
        if (QueryIdentity(hDevice, found) == RET_SUCCESS) {
            if (found == m_Identity) {
                if (!TakeDevice(hDevice, i)) {
                    continue;
                }
                LogPrint(m_rpLog, LOGLEVEL_ERROR,
                         L"ZDQAPI::**Find Lost Device Success. ( DeviceType = 0x%x, Serials = %d, "
                         L"FirmwareVersion = 0x%x",
                         found.nDeviceType, found.nSerial, found.wFirmwareVersion);
                return RET_SUCCESS;
            }
            LogPrint(m_rpLog, LOGLEVEL_ERROR,
                     L"ZDQAPI::**Dismatch Lost Device! ( DeviceType = 0x%x, Serials = %d, "
                     L"FirmwareVersion = 0x%x",
                     found.nDeviceType, found.nSerial, found.wFirmwareVersion);
        }
        mlusb_close(hDevice);
    }
    return RET_FAIL;
}

int CUsbTransport::GetDeviceDescriptor(uint8_t descriptor[18]) {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++UsbdCmd_GetDeviceDesriptor.");
    MlUsbHandle hDevice = m_hDevice.load();
    if (hDevice == nullptr) {
        LogPrint(m_rpLog, LOGLEVEL_ERROR,
                 L"ZDQAPI::--UsbdCmd_GetDeviceDesriptor Error! ( Invalid Handle )");
        return RET_DEVICECLOSED;
    }
    uint32_t nReturned = 0;
    if (!mlusb_ioctl(hDevice, MLUSB_IOCTL_GET_DESCRIPTOR, nullptr, 0, descriptor, 18, &nReturned,
                     nullptr)) {
        KeepDriverError();
        DebugPrint(false, LOGLEVEL_ERROR, L"ZDQAPI::--UsbdCmd_GetDeviceDesriptor Error!");
        return RET_FAIL;
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::--UsbdCmd_GetDeviceDesriptor (Success).");
    return RET_SUCCESS;
}

int CUsbTransport::GetDriveVersion(uint32_t* pVersion) {
    m_bNewDriver = false;
    MlUsbHandle hDevice = m_hDevice.load();
    if (hDevice == nullptr) {
        LogPrint(m_rpLog, LOGLEVEL_ERROR,
                 L"ZDQAPI::--UsbdCmd_GetDriveVersion Error! ( Invalid Handle )");
        return RET_DEVICECLOSED;
    }
    uint8_t bytes[4] = {};
    uint32_t nReturned = 0;
    if (!mlusb_ioctl(hDevice, MLUSB_IOCTL_GET_DRIVER_VERSION, nullptr, 0, bytes, 4, &nReturned,
                     nullptr)) {
        KeepDriverError();
        LogPrint(m_rpLog, LOGLEVEL_ERROR, L"ZDQAPI::--UsbdCmd_GetDriveVersion Error!");
        return RET_FAIL;
    }
    const uint32_t nVersion = static_cast<uint32_t>(bytes[0]) | (bytes[1] << 8) | (bytes[2] << 16) |
                              (static_cast<uint32_t>(bytes[3]) << 24);
    LogPrint(m_rpLog, LOGLEVEL_NORMAL,
             L"ZDQAPI::--UsbdCmd_GetDriveVersion nDriveVersion=0x%08X (Success).", nVersion);
    m_bNewDriver = nVersion > kNewDriverVersionAbove;
    if (pVersion != nullptr) {
        *pVersion = nVersion;
    }
    return RET_SUCCESS;
}

int CUsbTransport::SendVendorRequest(MlUsbHandle hDevice, const SetupPacket& packet, void* pData,
                                     bool bDataInRecord) {
    uint8_t record[MLUSB_VENDOR_REQUEST_SIZE];
    BuildVendorRequest(packet, pData, record);
    auto pCompletion = std::make_shared<RequestCompletion>();
    MlUsbOverlapped overlapped{};
    overlapped.on_complete = SignalRequest;
    overlapped.context = new std::shared_ptr<RequestCompletion>(pCompletion);
    void* pOut = bDataInRecord ? nullptr : pData;
    const uint32_t nOutLength = bDataInRecord ? 0 : packet.wLength;
    uint32_t nReturned = 0;
    if (mlusb_ioctl(hDevice, MLUSB_IOCTL_VENDOR_REQUEST, record, MLUSB_VENDOR_REQUEST_SIZE, pOut,
                    nOutLength, &nReturned, &overlapped)) {
        // Completed at once; its completion follows (a request whose
        // completion never comes is not trusted).
        return pCompletion->done.Wait(kVendorRequestWaitMs) ? RET_SUCCESS : RET_FAIL;
    }
    const uint32_t nError = mlusb_get_last_error();
    plat::SetLastError(nError);
    if (nError != MLUSB_ERROR_IO_PENDING) {
        // Not accepted: the driver never calls the completion.
        delete static_cast<std::shared_ptr<RequestCompletion>*>(overlapped.context);
        return RET_FAIL;
    }
    // A control transfer must complete at once; one left pending fails. It
    // still owns the buffer and the record, so it is cancelled, and the
    // cancellation returns only once it has completed.
    mlusb_cancel_io(hDevice);
    return RET_FAIL;
}

int CUsbTransport::QueryIdentity(DeviceIdentity& identity) {
    MlUsbHandle hDevice = m_hDevice.load();
    if (hDevice == nullptr) {
        return RET_DEVICECLOSED;
    }
    return QueryIdentity(hDevice, identity);
}

int CUsbTransport::VendorCmd(const SetupPacket& packet, void* pData) {
    MlUsbHandle hDevice = m_hDevice.load();
    if (hDevice == nullptr) {
        return RET_DEVICECLOSED;
    }
    return SendVendorRequest(hDevice, packet, pData, false);
}

int CUsbTransport::VendorCmdLocked(const SetupPacket& packet, void* pData) {
    plat::CriticalSectionLock lock(m_BusLock);
    MlUsbHandle hDevice = m_hDevice.load();
    if (hDevice == nullptr) {
        return RET_DEVICECLOSED;
    }
    return SendVendorRequest(hDevice, packet, pData, true);
}

int CUsbTransport::FrameReadError(uint32_t nError) {
    plat::SetLastError(nError);
    LogPrint(m_rpLog, LOGLEVEL_ERROR, L"System IO Error, code = 0x%08X", nError);
    LogLastError(m_rpLog, LOGLEVEL_ERROR);
    return nError == MLUSB_ERROR_OPERATION_ABORTED ? RET_IOERROR : RET_FAIL;
}

int CUsbTransport::ReadFrame(FrameReadMethod method, void* pBuffer, uint32_t nBytes,
                             uint32_t* pReal) {
    plat::CriticalSectionLock lock(m_BusLock);
    MlUsbHandle hDevice = m_hDevice.load();
    if (hDevice == nullptr) {
        return RET_DEVICECLOSED;
    }
    m_ReadEvent.Reset();
    m_ReadOverlapped = MlUsbOverlapped{};
    m_ReadOverlapped.on_complete = SignalReadEvent;
    m_ReadOverlapped.context = &m_ReadEvent;
    uint32_t nRead = 0;
    const int bDone = method == FrameReadMethod::ReadFile
                          ? mlusb_read(hDevice, pBuffer, nBytes, &nRead, &m_ReadOverlapped)
                          : mlusb_ioctl(hDevice, MLUSB_IOCTL_STREAM_READ, nullptr, 0, pBuffer,
                                        nBytes, &nRead, &m_ReadOverlapped);
    if (bDone) {
        // Completed at once; its completion is awaited so that it cannot
        // signal the next read.
        m_ReadEvent.Wait(m_nCaptureTimeOut);
    } else {
        const uint32_t nError = mlusb_get_last_error();
        if (nError != MLUSB_ERROR_IO_PENDING) {
            return FrameReadError(nError);
        }
        if (!m_ReadEvent.Wait(m_nCaptureTimeOut)) {
            LogPrint(m_rpLog, LOGLEVEL_ERROR,
                     L"ZDQAPI::**Bus_CatchOneFrame Error! ( Wait TimeOut %dms )",
                     static_cast<int>(m_nCaptureTimeOut));
            // The read must not outlive the call: the caller frees or reuses
            // the buffer. Cancelling returns once the read has completed.
            if (!mlusb_cancel_io(hDevice)) {
                KeepDriverError();
            }
            return RET_TIMEOUT;
        }
        if (!mlusb_get_overlapped_result(hDevice, &m_ReadOverlapped, &nRead, 1)) {
            return FrameReadError(mlusb_get_last_error());
        }
    }
    if (pReal != nullptr) {
        *pReal = nRead;
    }
    if (nRead == nBytes) {
        LogPrint(m_rpLog, LOGLEVEL_FRAME,
                 L"ZDQAPI::--Bus_CatchOneFrame Success! ( Need = %04d, Read = %04d )", nBytes,
                 nRead);
        return RET_SUCCESS;
    }
    if (nRead != 0) {
        LogPrint(m_rpLog, LOGLEVEL_ERROR,
                 L"ZDQAPI::--Bus_CatchOneFrame Error! ( Invalid Frame Need %d, Real: %d )", nBytes,
                 nRead);
        return RET_INVALIDFRAME;
    }
    LogPrint(m_rpLog, LOGLEVEL_ERROR, L"ZDQAPI::--Bus_CatchOneFrame Error! ( RET_ZEROFRAME )");
    return RET_ZEROFRAME;
}

int CUsbTransport::CancelIo() {
    MlUsbHandle hDevice = m_hDevice.load();
    if (hDevice == nullptr) {
        return RET_DEVICECLOSED;
    }
    if (!mlusb_cancel_io(hDevice)) {
        KeepDriverError();
        LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++CancelIo Fail!");
        LogLastError(m_rpLog, LOGLEVEL_NORMAL);
    }
    return RET_SUCCESS;
}

int CUsbTransport::PlainControl(uint32_t nCode, const wchar_t* pszEnter, const wchar_t* pszLeave) {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, pszEnter);
    MlUsbHandle hDevice = m_hDevice.load();
    const bool bClearFeature = nCode == MLUSB_IOCTL_CLEAR_FEATURE;
    if (hDevice == nullptr) {
        if (bClearFeature) {
            LogPrint(m_rpLog, LOGLEVEL_NORMAL,
                     L"ZDQAPI::--UsbdCmd_ClearFeature Error! ( Invalid Handle )");
        }
        return RET_DEVICECLOSED;
    }
    uint32_t nReturned = 0;
    if (!mlusb_ioctl(hDevice, nCode, nullptr, 0, nullptr, 0, &nReturned, nullptr)) {
        KeepDriverError();
        if (bClearFeature) {
            DebugPrint(false, LOGLEVEL_ERROR, L"ZDQAPI::--UsbdCmd_ClearFeature Error!");
        }
        return RET_FAIL;
    }
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, pszLeave);
    return RET_SUCCESS;
}

int CUsbTransport::UsbdCmd_ClearFeature() {
    return PlainControl(MLUSB_IOCTL_CLEAR_FEATURE, L"ZDQAPI::++UsbdCmd_ClearFeature.",
                        L"ZDQAPI::--UsbdCmd_ClearFeature (Success).");
}

int CUsbTransport::UsbdCmd_ResetPipe() {
    return PlainControl(MLUSB_IOCTL_RESET_PIPE, L"ZDQAPI::++UsbdCmd_ResetPipe.",
                        L"ZDQAPI::--UsbdCmd_ResetPipe (Success).");
}

int CUsbTransport::UsbdCmd_ResetDevice() {
    return PlainControl(MLUSB_IOCTL_RESET_DEVICE, L"ZDQAPI::++UsbdCmd_ResetDevice.",
                        L"ZDQAPI::--UsbdCmd_ResetDevice (Success).");
}

int CUsbTransport::UsbdCmd_Reset() {
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::++UsbdCmd_Reset.");
    UsbdCmd_ClearFeature();
    UsbdCmd_ResetPipe();
    UsbdCmd_ResetDevice();
    LogPrint(m_rpLog, LOGLEVEL_NORMAL, L"ZDQAPI::--UsbdCmd_Reset (Success).");
    return RET_SUCCESS;
}
