// Still capture: one call of the caller, one frame in the caller's buffer.
// The capture pauses a running preview and switches the camera to the
// capture field of view; frame catching reads a frame of the active field of
// view and runs it through the pipeline; CatchOneFrame is the bus read with
// its failure and recovery rules, which the preview uses as well.
#include <memory>
#include <new>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "device/Device.h"
#include "platform/Time.h"
#include "sensors/LineSensor.h"

namespace {
// Pause after the controller reset that follows an aborted read.
constexpr uint32_t kAbortedReadResetPauseMs = 100;
// A type whose camera answers no device-reset request while it streams.
constexpr int kTypeWithoutStreamReset = 114;

const wchar_t* EmptyFirstName(CDevice::CaptureKind kind) {
    return kind == CDevice::CaptureKind::Raw ? L"CaptureRawDataAfterEmptyFrameBuffer"
                                             : L"CaptureRgbDataAfterEmptyFrameBuffer";
}
}  // namespace

int CDevice::Capture(CaptureKind kind, uint8_t* pBuffer, bool bEmptyFirst) {
    if (pBuffer == nullptr) {
        return RET_PARAMERROR;
    }
    if (bEmptyFirst) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++%ls.", EmptyFirstName(kind));
    }
    const int nRet = CaptureInCaptureWindow([&] {
        if (bEmptyFirst) {
            EmptyFrameBuffer();
        }
        return CatchForCapture(kind, pBuffer, FrameRead::Plain, nullptr);
    });
    if (bEmptyFirst) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--%ls.", EmptyFirstName(kind));
    }
    return nRet;
}

int CDevice::StreamCapture(CaptureKind kind, uint8_t* pBuffer, int* pBytesRead) {
    if (pBuffer == nullptr) {
        return RET_PARAMERROR;
    }
    return CaptureInCaptureWindow([&] {
        return CatchForCapture(kind, pBuffer,
                               pBytesRead != nullptr ? FrameRead::StreamCounted : FrameRead::Stream,
                               pBytesRead);
    });
}

template <typename Catch>
int CDevice::CaptureInCaptureWindow(Catch&& catchFrame) {
    return Controlled([&] {
        const int nPreviewStateBefore = m_Preview.nStatus;
        if (nPreviewStateBefore == PreviewState::kStopped) {
            // The capture record stays active, as after a stop (a restart
            // that failed leaves the preview record active).
            const int nRet = SelectFieldOfView(kCaptureFov);
            return nRet == RET_SUCCESS || nRet == RET_NOTSUPPORT ? catchFrame() : nRet;
        }
        // A preview that runs is paused also when the capture record is
        // already active (its own could not be programmed back after an
        // earlier capture): its thread never catches while a capture does.
        int nRet = PausePreview();
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        nRet = SelectFieldOfView(kCaptureFov);
        if (nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT) {
            ResumeAfterCapture(nPreviewStateBefore);
            return nRet;
        }
        nRet = catchFrame();
        ResumeAfterCapture(nPreviewStateBefore);
        return nRet;
    });
}

int CDevice::CatchForCapture(CaptureKind kind, uint8_t* pBuffer, FrameRead read, int* pBytesRead) {
    // The control lock is held: the record is the one the caller's buffer
    // was sized for, and the raw buffer below is sized from the same copy.
    const FieldOfView fov = m_Fov[m_nActiveFov];
    if (kind == CaptureKind::Raw || m_nOutputMode == kOutputRaw) {
        return CatchRawData(pBuffer, fov, false, read, pBytesRead);
    }
    std::unique_ptr<uint8_t[]> pRaw(new (std::nothrow) uint8_t[fov.ulTotalBytes]);
    if (!pRaw) {
        return RET_MALLOCFAIL;
    }
    const int nRet = CatchRawData(pRaw.get(), fov, false, read, pBytesRead);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    RawToRgb(pRaw.get(), fov.nWidth, fov.nHeight, GetOutputBitCount(), pBuffer, false);
    return RET_SUCCESS;
}

int CDevice::CatchRawData(uint8_t* pBuffer, const FieldOfView& fov, bool bPreview8) {
    return CatchRawData(pBuffer, fov, bPreview8, FrameRead::Plain, nullptr);
}

int CDevice::CatchRawData(uint8_t* pBuffer, const FieldOfView& fov, bool bPreview8, FrameRead read,
                          int* pBytesRead) {
    if (pBuffer == nullptr) {
        return RET_PARAMERROR;
    }
    plat::CriticalSectionLock rawPost(m_RawPostLock);
    int nBytesRead = 0;
    const int nRet = CatchFrame(pBuffer, fov.ulTotalBytes, read, &nBytesRead);
    if (pBytesRead != nullptr) {
        *pBytesRead = nBytesRead;
    }
    // A counted stream read hands on what arrived, also a short frame.
    const bool bPostProcess =
        nRet == RET_SUCCESS || (read == FrameRead::StreamCounted && nBytesRead > 0);
    if (bPostProcess) {
        // The record's own sample size, which sized the buffer.
        if (fov.ulTotalBytes > fov.ulTotalPixels) {
            RawPostProcess16(pBuffer, fov.nWidth, fov.nHeight, bPreview8);
        } else {
            RawPostProcess(pBuffer, fov.nWidth, fov.nHeight, fov.ulTotalBytes);
        }
    }
    return nRet;
}

int CDevice::CatchOneFrame(uint8_t* pBuffer, uint32_t nBytes) {
    return CatchFrame(pBuffer, nBytes, FrameRead::Plain, nullptr);
}

int CDevice::CatchFrame(uint8_t* pBuffer, uint32_t nBytes, FrameRead read, int* pBytesRead) {
    if (!m_Transport.IsOpen() && m_Bus.Recover() != RET_RECOVERY_SUCCESS) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::--CatchOneFrame Error! (RET_RECOVERY_FAIL)");
        return RET_RECOVERY_FAIL;
    }
    if (pBuffer == nullptr || nBytes == 0) {
        return RET_PARAMERROR;
    }
    if (m_bFrameFailed && IsLineSensorType(m_nDeviceType)) {
        // A failed read may have left a segment's black level off.
        AwaibaAutoBlackLevelAllSeg();
    }
    int nRet;
    switch (read) {
        case FrameRead::Plain:
            nRet = m_Bus.Bus_CatchOneFrame(pBuffer, nBytes);
            break;
        case FrameRead::Stream:
            nRet = m_Bus.Bus_CatchOneFrameIoctl(pBuffer, nBytes);
            break;
        case FrameRead::StreamCounted:
        default:
            nRet = m_Bus.Bus_CatchOneFrameNoCmdEx(pBuffer, pBytesRead, nBytes);
            break;
    }
    if (nRet == RET_SUCCESS) {
        return RET_SUCCESS;
    }
    m_Transport.CancelIo();
    switch (nRet) {
        case RET_FAIL:
            m_bFrameFailed = true;
            return m_Bus.Recover();
        case RET_IOERROR:
            // The controller aborted the transfer: it is restarted, and the
            // camera is found again and given back its registers.
            m_Vendor.VendorCmd_ResetFx3();
            plat::SleepMs(kAbortedReadResetPauseMs);
            return m_Bus.Recover();
        case RET_INVALIDFRAME:
        case RET_ZEROFRAME:
            m_Bus.ResetDeviceAndHost();
            return nRet;
        default:
            if (Recover()) {
                return m_Bus.Recover();
            }
            if (read == FrameRead::Plain || !m_Transport.StreamStarted()) {
                m_Bus.ResetDeviceAndHost();
            }
            return nRet;
    }
}

int CDevice::EmptyFrameBuffer() {
    const bool bSoftwareTrigger = IsSoftwareTriggerWorkingMode(m_Fpga.WorkingMode());
    if (!m_Capability.Has(FpgaCap::bmEmptyFrameBuffer) || bSoftwareTrigger) {
        return RET_NOTSUPPORT;
    }
    plat::CriticalSectionLock bus(BusLock());
    const bool bStreaming = m_Transport.StreamStarted();
    if (bStreaming) {
        m_Vendor.VendorCmd_StopAcq();
    }
    // The command bit goes with the mode as it is when the register is
    // written, not as it was read above (a trigger-mode write may fall in
    // between).
    const int nRet =
        m_Fpga.Fpga_SetRelateRegBits(FPGAREG_WORKING_MODE, WORKINGMODE_EMPTY_FRAME_BUFFER, 0);
    if (bStreaming) {
        if (m_nDeviceType != kTypeWithoutStreamReset) {
            m_Vendor.VendorCmd_ResetDevice();
        }
        m_Transport.UsbdCmd_Reset();
        m_Vendor.VendorCmd_StartAcq();
    }
    return nRet;
}

bool CDevice::SupportsStreamMode() const {
    return m_Capability.Has(FpgaCap::bmStreamMode) && m_Transport.NewDriver();
}

int CDevice::StreamStart() {
    if (!SupportsStreamMode()) {
        return RET_NOTSUPPORT;
    }
    if (m_Transport.StreamStarted()) {
        return RET_SUCCESS;
    }
    const int nRet = m_Vendor.VendorCmd_StartAcq();
    if (nRet == RET_SUCCESS) {
        m_Transport.SetStreamStarted(true);
    }
    return nRet;
}

int CDevice::StreamStop() {
    if (!SupportsStreamMode()) {
        return RET_NOTSUPPORT;
    }
    m_Transport.SetStreamStarted(false);
    return m_Vendor.VendorCmd_StopAcq();
}
