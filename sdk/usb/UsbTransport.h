// CUsbTransport: one camera's link to the USB kernel driver. It owns the
// driver handle, the named claim that marks the driver device as taken, the
// overlapped state of frame reads, the bus lock (lock A of the device) and the
// flags the capture and recovery code reads. The device object owns one and
// reaches the camera only through it.
//
// Every operation checks the handle first: RET_DEVICECLOSED while closed.
// After a failed driver call the driver's error number is stored with
// plat::SetLastError(), so LogLastError() can write its text.
//
// Buffers: a vendor request or a frame read never returns while the driver
// may still write into the caller's buffer. A request or read that does not
// complete in time is cancelled and its cancellation awaited before the call
// returns, so the caller may reuse or free its buffer at once.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "ZDQApi.h"
#include "common/Log.h"
#include "mlusbimager.h"
#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "platform/NamedClaim.h"

// Who the camera says it is (device-information request C0/C9).
struct DeviceIdentity {
    int nDeviceType = 0;
    int nSerial = 0;
    uint16_t wFirmwareVersion = 0;

    bool operator==(const DeviceIdentity& other) const {
        return nDeviceType == other.nDeviceType && nSerial == other.nSerial &&
               wFirmwareVersion == other.wFirmwareVersion;
    }
};

// The 31-byte record of control code MLUSB_IOCTL_VENDOR_REQUEST for a setup
// packet whose data stage is at pData.
void BuildVendorRequest(const SetupPacket& packet, const void* pData,
                        uint8_t record[MLUSB_VENDOR_REQUEST_SIZE]);

// How a frame read reaches the driver: a plain read, or the streaming read
// control code.
enum class FrameReadMethod { ReadFile, StreamIoctl };

class CUsbTransport {
  public:
    static constexpr uint32_t kDefaultCaptureTimeOutMs = 5000;
    // Longest wait for a vendor request the driver did not complete at once.
    static constexpr uint32_t kVendorRequestWaitMs = 5000;
    static constexpr uint32_t kNewDriverVersionAbove = 0x07FFFFFF;

    // rpLog is the device's log pointer (null while its log is off); it is
    // read at every line, so the device may switch its log at any time.
    explicit CUsbTransport(CLog* const& rpLog);
    CUsbTransport(const CUsbTransport&) = delete;
    CUsbTransport& operator=(const CUsbTransport&) = delete;
    ~CUsbTransport();

    // Opening, closing and recovery take the handle and the claim under one
    // lock, so a close racing a recovery on another thread never closes a
    // descriptor twice.
    //
    // Takes the first driver device (0 .. 31) that opens and is not claimed:
    // 1 (also when already open), RET_FAIL when none is free.
    int Open();
    // The owner's close: releases the read state, the claim and the handle.
    // The transport then stays closed until the owner opens it again; it is
    // never recovered. Always 1.
    int Close();
    // Recovery's close of a camera that fell off the bus: releases the read
    // state, the claim and the handle so that FindLostDevice may take the
    // camera again. RET_DEVICECLOSED when the owner has closed the transport.
    int ReleaseLostDevice();
    // Reopens the camera of Identity() on any free driver number after it
    // fell off the bus: 1, RET_FAIL when it is not there or the owner has
    // closed the transport.
    int FindLostDevice();

    // The 18-byte USB device descriptor: 1, RET_FAIL, RET_DEVICECLOSED.
    int GetDeviceDescriptor(uint8_t descriptor[18]);
    // Reads the driver version and sets the new-driver flag from it: 1,
    // RET_FAIL or RET_DEVICECLOSED (the flag is then 0).
    int GetDriveVersion(uint32_t* pVersion);

    // One control transfer with the data stage in pData (wLength bytes):
    // 1, RET_FAIL, RET_DEVICECLOSED. No lock.
    int VendorCmd(const SetupPacket& packet, void* pData);
    // The device-information request (C0/C9) on the open camera: its
    // identity, with the request's lines in the user-call log.
    // RET_DEVICECLOSED while no camera is open.
    int QueryIdentity(DeviceIdentity& identity);
    // The same under the bus lock, the data stage passed only through the
    // record's address (host-to-device requests with data).
    int VendorCmdLocked(const SetupPacket& packet, void* pData);

    // Reads one frame of nBytes into pBuffer (the caller holds the bus lock):
    // RET_SUCCESS, RET_INVALIDFRAME (short), RET_ZEROFRAME, RET_TIMEOUT
    // (nothing within the capture time-out; the read is cancelled),
    // RET_IOERROR (aborted), RET_FAIL, RET_DEVICECLOSED. *pReal (may be
    // null) receives the bytes transferred.
    int ReadFrame(FrameReadMethod method, void* pBuffer, uint32_t nBytes, uint32_t* pReal);

    // Cancels the calling thread's I/O on the handle: 1 or RET_DEVICECLOSED.
    int CancelIo();
    // Port-level resets: 1, RET_FAIL or RET_DEVICECLOSED.
    int UsbdCmd_ClearFeature();
    int UsbdCmd_ResetPipe();
    int UsbdCmd_ResetDevice();
    // The three in this order, results ignored: 1.
    int UsbdCmd_Reset();

    bool IsOpen() const { return m_hDevice.load() != nullptr; }
    // Driver number of the open camera, -1 while closed.
    int DriverNumber() const { return m_nDriverNumber; }

    const DeviceIdentity& Identity() const { return m_Identity; }
    void SetIdentity(const DeviceIdentity& identity) { m_Identity = identity; }

    uint32_t CaptureTimeOut() const { return m_nCaptureTimeOut; }
    void SetCaptureTimeOut(uint32_t nMs) { m_nCaptureTimeOut = nMs; }
    bool StreamStarted() const { return m_bStreamStarted.load(); }
    void SetStreamStarted(bool bStarted) { m_bStreamStarted = bStarted; }
    bool NewDriver() const { return m_bNewDriver; }
    bool RecoverEnabled() const { return m_bRecover; }
    void SetRecoverEnabled(bool bRecover) { m_bRecover = bRecover; }

    // Lock A of the device: frame reads, locked requests, EEPROM pages.
    plat::CriticalSection& BusLock() { return m_BusLock; }
    CLog* Log() const { return m_rpLog; }

  private:
    // Releases the handle, the read state and the claim (the handle lock
    // held).
    void ReleaseLocked();
    // Opens driver device i when its claim is free; the handle or null.
    MlUsbHandle OpenUnclaimed(int nDriverNumber);
    // Claims driver device i for the handle and prepares the read state (the
    // handle lock held); false (the handle closed) when the claim cannot be
    // taken.
    bool TakeDevice(MlUsbHandle hDevice, int nDriverNumber);
    // Device-information request on a handle not yet taken.
    int QueryIdentity(MlUsbHandle hDevice, DeviceIdentity& identity);
    int SendVendorRequest(MlUsbHandle hDevice, const SetupPacket& packet, void* pData,
                          bool bDataInRecord);
    int PlainControl(uint32_t nCode, const wchar_t* pszEnter, const wchar_t* pszLeave);
    int FrameReadError(uint32_t nError);

    CLog* const& m_rpLog;
    // Guards taking and releasing the handle and the claim; taken before the
    // bus lock.
    std::mutex m_HandleMutex;
    std::atomic<MlUsbHandle> m_hDevice{nullptr};
    std::atomic<int> m_nDriverNumber{-1};
    bool m_bClosedByOwner = false;  // under m_HandleMutex
    plat::NamedClaim m_Claim;
    // Frame reads: the read event, set by the driver's completion, and the
    // overlapped record, both used by one read at a time (under lock A).
    plat::Event m_ReadEvent{plat::Event::Mode::ManualReset};
    MlUsbOverlapped m_ReadOverlapped{};
    // Set by the caller's thread, read by every frame read and recovery.
    std::atomic<uint32_t> m_nCaptureTimeOut{kDefaultCaptureTimeOutMs};
    std::atomic<bool> m_bStreamStarted{false};
    bool m_bNewDriver = false;
    std::atomic<bool> m_bRecover{true};
    DeviceIdentity m_Identity;
    plat::CriticalSection m_BusLock;
};
