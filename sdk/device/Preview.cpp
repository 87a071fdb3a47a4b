// The preview: live frames of the preview field of view drawn into the
// caller's window and handed to the preview callbacks. The serial engine
// catches, converts and draws each frame on one thread; the parallel engine
// catches on one thread and converts and draws on another, handing frames
// over through a ring of buffers (the show thread always shows the newest
// frame). A timer measures the frame rates every two seconds.
//
// Stopping never frees what a preview thread may still use: the threads are
// asked to end, the pending frame read is ended, and a stop waits for them.
// Every wait inside the threads is bounded (frame reads by the capture
// time-out), so a stop always returns.
//
// Starts, stops, pauses and resumes run under the device's control lock, so
// calls from several threads take their turns: a stop that another call
// already runs is waited for and then finds the preview stopped. The
// preview's own threads (its callbacks) get RET_STREAMNOTSTOP instead: a stop
// waits for them, and a pause for their acknowledgement.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "device/Device.h"
#include "platform/Time.h"

namespace {
// Waits of the preview threads.
constexpr uint32_t kPausedWaitMs = 1000;  // parked at the pause gate
constexpr uint32_t kSlotWaitMs = 1000;    // for a free ring slot
constexpr uint32_t kReadyWaitMs = 50;     // for a filled ring slot
constexpr uint32_t kCaptureExitWaitMs = 1000;
constexpr uint32_t kThreadExitWaitMs = 5000;
// Pause between two redraws of the paused frame on the show thread.
constexpr uint32_t kPausedRedrawMs = 50;
// Pause after a preview restarts, before the caller goes on.
constexpr uint32_t kRestartPauseMs = 10;
// A preview that restarts paused waits this long at most for a frame of the
// new stream, polling at the shorter pace.
constexpr uint32_t kFirstFrameWaitMs = 5000;
constexpr uint32_t kFirstFramePollMs = 5;

// Resizes a buffer without throwing: false when memory is lacking.
bool Allocate(std::vector<uint8_t>& buffer, size_t nBytes) {
    try {
        buffer.assign(nBytes, 0);
        return true;
    } catch (const std::bad_alloc&) {
        buffer.clear();
        return false;
    }
}
}  // namespace

int CDevice::StartPreview(bool bParallel) {
    return bParallel ? StartPreviewParallel() : StartPreviewSerial();
}

int CDevice::StopPreview(bool bParallel, bool bRestoreCapture) {
    return bParallel ? StopPreviewParallel(bRestoreCapture) : StopPreviewSerial(bRestoreCapture);
}

bool CDevice::OnPreviewThread() const {
    return m_Preview.serialThread.InBody() || m_Preview.captureThread.InBody() ||
           m_Preview.showThread.InBody();
}

int CDevice::RestartPreview(bool bParallel, int nStatusBefore) {
    const int nRet = StartPreview(bParallel);
    if (nRet != RET_SUCCESS || nStatusBefore != PreviewState::kPaused) {
        return nRet;
    }
    // The frame shown while paused is one of the new stream.
    const uint32_t dwStart = plat::TickCount();
    const uint32_t dwBound = std::min(CaptureTimeOut(), kFirstFrameWaitMs);
    while (m_Preview.nShownTotal == 0 && plat::TickCount() - dwStart < dwBound) {
        plat::SleepMs(kFirstFramePollMs);
    }
    return PausePreview();
}

void CDevice::AbandonPreviewStart(int nActiveFovBefore) {
    SaveCallbacksForStop();
    SelectFieldOfView(nActiveFovBefore);
    m_Preview.rawBuffer = std::vector<uint8_t>();
    m_Preview.slots.clear();
    plat::CriticalSectionLock bayer(m_BayerLock);
    m_Preview.rgbBuffer = std::vector<uint8_t>();
    m_Preview.shownRaw = std::vector<uint8_t>();
    m_Preview.bShowsRaw = false;
}

void CDevice::BeginPreviewRun() {
    m_Preview.pause.Reset();
    {
        plat::CriticalSectionLock callbacks(m_CallbackLock);
        m_Preview.pfCallback = m_Preview.pfCallbackSaved;
        m_Preview.pfCallbackEx = m_Preview.pfCallbackExSaved;
    }
    EmptyFrameBuffer();
}

void CDevice::StartFrameRateTimer() {
    const uint32_t dwNow = plat::TickCount();
    m_Preview.dwWindowStart = dwNow;
    m_Preview.dwLastTick = dwNow;
    m_Preview.nCaughtTotal = 0;
    m_Preview.nShownTotal = 0;
    m_Preview.nCaughtWindow = 0;
    m_Preview.nShownWindow = 0;
    m_Preview.fCaptureFrameRate = 0.0f;
    m_Preview.fShowFrameRate = 0.0f;
    m_Preview.frameRateTimer.Start(PreviewState::kFrameRatePeriodMs, [this] { FrameRateTick(); });
}

void CDevice::FrameRateTick() {
    const uint32_t dwNow = plat::TickCount();
    m_Preview.dwLastTick = dwNow;
    const uint32_t dwElapsed = dwNow - m_Preview.dwWindowStart;
    if (dwElapsed != 0) {
        const float fElapsed = static_cast<float>(dwElapsed);
        m_Preview.fCaptureFrameRate =
            static_cast<float>(m_Preview.nCaughtWindow.exchange(0) * 1000) / fElapsed;
        m_Preview.fShowFrameRate =
            static_cast<float>(m_Preview.nShownWindow.exchange(0) * 1000) / fElapsed;
    }
    m_Preview.dwWindowStart = plat::TickCount();
    m_Preview.dwLastTick = m_Preview.dwWindowStart.load();
}

void CDevice::EndPreviewRun(bool bRestoreCapture) {
    if (bRestoreCapture) {
        SelectFieldOfView(kCaptureFov);
    }
    m_Preview.frameRateTimer.Stop();
    m_Preview.nCaughtWindow = 0;
    m_Preview.nShownWindow = 0;
    m_Preview.fCaptureFrameRate = 0.0f;
    m_Preview.fShowFrameRate = 0.0f;
    m_Preview.nStatus = PreviewState::kStopped;
}

void CDevice::SaveCallbacksForStop() {
    plat::CriticalSectionLock callbacks(m_CallbackLock);
    m_Preview.pfCallbackSaved = m_Preview.pfCallback;
    m_Preview.pfCallbackExSaved = m_Preview.pfCallbackEx;
    m_Preview.pfCallback = nullptr;
    m_Preview.pfCallbackEx = nullptr;
}

// Waits for a preview thread. A thread that does not end within the time-out
// is still waited for (it is never killed and nothing it uses is freed
// before it ends); its waits are all bounded.
void CDevice::JoinPreviewThread(plat::Thread& thread, uint32_t nTimeOutMs,
                                const wchar_t* pszTimeOutLine) {
    if (!thread.Join(nTimeOutMs)) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"%ls", pszTimeOutLine);
        thread.Join(plat::kInfinite);
    }
}

int CDevice::StartPreviewSerial() {
    return Controlled([this] {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++StartPreviewSerial.");
        if (!m_pBitmapInfo || m_Preview.serialThread.Running() ||
            m_Preview.nStatus != PreviewState::kStopped) {
            LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--StartPreviewSerial Error. (Not Stop)");
            return RET_FAIL;
        }
        m_PreviewFrame = m_Fov[kPreviewFov];
        const size_t nBytes = m_PreviewFrame.ulTotalBytes;
        if (!Allocate(m_Preview.rawBuffer, nBytes) || !Allocate(m_Preview.rgbBuffer, 4 * nBytes) ||
            !Allocate(m_Preview.shownRaw, nBytes)) {
            m_Preview.rawBuffer.clear();
            m_Preview.rgbBuffer.clear();
            m_Preview.shownRaw.clear();
            return RET_MALLOCFAIL;
        }
        const int nActiveFovBefore = m_nActiveFov;
        SelectFieldOfView(kPreviewFov);
        BeginPreviewRun();
        if (!m_Preview.serialThread.Start([this] { SerialPreviewThread(); })) {
            AbandonPreviewStart(nActiveFovBefore);
            LogPrint(m_pLog, LOGLEVEL_NORMAL,
                     L"ZDQAPI::--StartPreviewSerial Error! ( Thread Create Fail )");
            return RET_FAIL;
        }
        StartFrameRateTimer();
        m_Preview.bParallel = false;
        m_Preview.nStatus = PreviewState::kRunning;
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--StartPreviewSerial.");
        return RET_SUCCESS;
    });
}

// Catches into the raw buffer, converts or takes it as the shown frame,
// draws, until asked to stop; while paused it draws the last frame about
// once a second.
void CDevice::SerialPreviewThread() {
    plat::Thread& self = m_Preview.serialThread;
    while (!self.StopRequested()) {
        if (!m_Preview.pause.Requested()) {
            if (CatchRawData(m_Preview.rawBuffer.data(), m_PreviewFrame, true) != RET_SUCCESS) {
                continue;
            }
            TakeCaughtFrame(m_Preview.rawBuffer);
            ++m_Preview.nCaughtTotal;
            ++m_Preview.nCaughtWindow;
        }
        m_Preview.pause.Park(kPausedWaitMs);
        DrawFrame();
        ++m_Preview.nShownTotal;
        ++m_Preview.nShownWindow;
    }
}

int CDevice::StopPreviewSerial(bool bRestoreCapture) {
    return Controlled([&] { return StopSerialEngine(bRestoreCapture); });
}

int CDevice::StopSerialEngine(bool bRestoreCapture) {
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++StopPreviewSerial.");
    if (m_Preview.nStatus == PreviewState::kStopped) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--StopPreviewSerial. ( Has Stop )");
        return RET_SUCCESS;
    }
    if (m_Preview.bParallel) {
        // The parallel engine runs: only its stop ends its threads before
        // their buffers are freed.
        return StopParallelEngine(bRestoreCapture);
    }
    RecordStop();
    SaveCallbacksForStop();
    m_Preview.serialThread.RequestStop();
    m_Preview.pause.Resume();         // a paused thread need not wait out its pause
    m_Vendor.VendorCmd_SendPktEnd();  // ends a pending frame read
    JoinPreviewThread(m_Preview.serialThread, CaptureTimeOut(),
                      L"ZDQAPI::--WaitForSingleObject TimeOut.");
    m_Bus.ResetDeviceAndHost();
    m_Preview.rawBuffer = std::vector<uint8_t>();
    {
        plat::CriticalSectionLock bayer(m_BayerLock);
        m_Preview.rgbBuffer = std::vector<uint8_t>();
        m_Preview.shownRaw = std::vector<uint8_t>();
        m_Preview.bShowsRaw = false;
    }
    EndPreviewRun(bRestoreCapture);
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--StopPreviewSerial.");
    return RET_SUCCESS;
}

int CDevice::StartPreviewParallel() {
    return Controlled([this] { return StartParallelEngine(); });
}

int CDevice::StartParallelEngine() {
    if (m_Preview.nStatus != PreviewState::kStopped) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--StartPreviewParallel Error. (Not Stop)");
        return RET_FAIL;
    }
    m_PreviewFrame = m_Fov[kPreviewFov];
    const size_t nBytes = m_PreviewFrame.ulTotalBytes;
    m_Preview.slots.clear();
    for (int i = 0; i < m_Preview.nBufferCount; ++i) {
        auto pSlot = std::unique_ptr<PreviewState::Slot>(new (std::nothrow) PreviewState::Slot);
        if (!pSlot || !Allocate(pSlot->frame, nBytes)) {
            m_Preview.slots.clear();
            return RET_MALLOCFAIL;
        }
        m_Preview.slots.push_back(std::move(pSlot));
    }
    if (!Allocate(m_Preview.rgbBuffer, 4 * nBytes) || !Allocate(m_Preview.shownRaw, nBytes)) {
        m_Preview.slots.clear();
        m_Preview.rgbBuffer.clear();
        m_Preview.shownRaw.clear();
        return RET_MALLOCFAIL;
    }
    const int nActiveFovBefore = m_nActiveFov;
    SelectFieldOfView(kPreviewFov);
    BeginPreviewRun();
    m_Preview.nLastFilled = -1;
    if (!m_Preview.captureThread.Start([this] { ParallelCaptureThread(); })) {
        AbandonPreviewStart(nActiveFovBefore);
        return RET_FAIL;
    }
    if (!m_Preview.showThread.Start([this] { ParallelShowThread(); })) {
        m_Preview.captureThread.RequestStop();
        m_Vendor.VendorCmd_SendPktEnd();  // ends a pending frame read
        m_Preview.captureThread.Join(plat::kInfinite);
        AbandonPreviewStart(nActiveFovBefore);
        return RET_FAIL;
    }
    StartFrameRateTimer();
    m_Preview.bParallel = true;
    m_Preview.nStatus = PreviewState::kRunning;
    return RET_SUCCESS;
}

void CDevice::ParallelCaptureThread() {
    plat::Thread& self = m_Preview.captureThread;
    const int nCount = static_cast<int>(m_Preview.slots.size());
    while (!self.StopRequested()) {
        if (m_Preview.pause.Requested()) {
            m_Preview.pause.Park(kPausedWaitMs);
            continue;
        }
        int i = m_Preview.nLastFilled + 1;
        if (i >= nCount) {
            i = 0;
        }
        PreviewState::Slot& slot = *m_Preview.slots[static_cast<size_t>(i)];
        if (!slot.free.Wait(kSlotWaitMs)) {
            continue;
        }
        if (CatchRawData(slot.frame.data(), m_PreviewFrame, true) == RET_SUCCESS) {
            m_Preview.nLastFilled = i;
            slot.free.Reset();
            slot.ready.Set();
            ++m_Preview.nCaughtTotal;
            ++m_Preview.nCaughtWindow;
        } else {
            LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::CatchRawData Fail!");
        }
    }
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::PreviewEx_CaptureThreadX Exit!");
}

void CDevice::ParallelShowThread() {
    plat::Thread& self = m_Preview.showThread;
    const int nCount = static_cast<int>(m_Preview.slots.size());
    int nShowIndex = 0;
    while (!self.StopRequested()) {
        if (m_Preview.pause.Parked()) {
            // Paused: the last frame is drawn again at a steady pace.
            DrawFrame();
            self.WaitForStop(kPausedRedrawMs);
            continue;
        }
        PreviewState::Slot& slot = *m_Preview.slots[static_cast<size_t>(nShowIndex)];
        if (!slot.ready.Wait(kReadyWaitMs)) {
            continue;
        }
        if (nShowIndex == m_Preview.nLastFilled) {
            TakeCaughtFrame(slot.frame);
            DrawFrame();
            ++m_Preview.nShownTotal;
            ++m_Preview.nShownWindow;
        }
        // An older frame that a newer one has overtaken is dropped unseen.
        slot.ready.Reset();
        slot.free.Set();
        nShowIndex = nShowIndex + 1 < nCount ? nShowIndex + 1 : 0;
    }
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::PreviewEx_ShowThreadX Exit!");
}

void CDevice::TakeCaughtFrame(std::vector<uint8_t>& frame) {
    plat::CriticalSectionLock bayer(m_BayerLock);
    if (m_nOutputMode == kOutputRaw) {
        // A raw frame is shown as it was caught: it trades buffers with the
        // frame shown before, which the caller catches into next.
        m_Preview.shownRaw.swap(frame);
        m_Preview.bShowsRaw = true;
        return;
    }
    // The frame is one of the record the buffers were sized for.
    RawToRgb8(frame.data(), m_PreviewFrame.nWidth, m_PreviewFrame.nHeight, GetOutputBitCount(),
              m_Preview.rgbBuffer.data());
    m_Preview.bShowsRaw = false;
}

int CDevice::StopPreviewParallel(bool bRestoreCapture) {
    return Controlled([&] { return StopParallelEngine(bRestoreCapture); });
}

int CDevice::StopParallelEngine(bool bRestoreCapture) {
    if (m_Preview.nStatus == PreviewState::kStopped) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--StopPreviewParallel. ( Has Stop )");
        return RET_SUCCESS;
    }
    if (!m_Preview.bParallel) {
        // The serial engine runs: only its stop ends its thread before its
        // buffers are freed.
        return StopSerialEngine(bRestoreCapture);
    }
    RecordStop();
    SaveCallbacksForStop();
    m_Preview.captureThread.RequestStop();
    m_Preview.pause.Resume();
    if (!m_Preview.captureThread.Join(kCaptureExitWaitMs)) {
        m_Vendor.VendorCmd_SendPktEnd();
    }
    JoinPreviewThread(m_Preview.captureThread, kThreadExitWaitMs,
                      L"ZDQAPI::m_hThreadPreviewExCapture TerminateThread!");
    m_Preview.showThread.RequestStop();
    JoinPreviewThread(m_Preview.showThread, kThreadExitWaitMs,
                      L"ZDQAPI::m_hThreadPreviewExShow TerminateThread!");
    {
        plat::CriticalSectionLock bayer(m_BayerLock);
        m_Preview.rgbBuffer = std::vector<uint8_t>();
        m_Preview.shownRaw = std::vector<uint8_t>();
        m_Preview.bShowsRaw = false;
    }
    m_Preview.slots.clear();
    EndPreviewRun(bRestoreCapture);
    return RET_SUCCESS;
}

int CDevice::PausePreview() {
    return Controlled([this] { return PauseEngine(); });
}

int CDevice::PauseEngine() {
    if (m_Preview.nStatus == PreviewState::kPaused) {
        return RET_SUCCESS;
    }
    if (m_Preview.nStatus != PreviewState::kRunning) {
        return RET_ILLEGALOPERATION;
    }
    const bool bAcknowledged = m_Preview.pause.Pause(CaptureTimeOut());
    m_Preview.nStatus = PreviewState::kPaused;
    if (!bAcknowledged) {
        ResumePreview();
        return RET_FAIL;
    }
    return RET_SUCCESS;
}

int CDevice::ResumePreview() {
    return Controlled([this] {
        if (m_Preview.nStatus != PreviewState::kPaused) {
            return RET_ILLEGALOPERATION;
        }
        m_Preview.pause.Resume();
        m_Preview.nStatus = PreviewState::kRunning;
        return RET_SUCCESS;
    });
}

int CDevice::SetPreviewCallback(PreviewCallback pfCallback, void* pContext) {
    plat::CriticalSectionLock callbacks(m_CallbackLock);
    m_Preview.pfCallback = pfCallback;
    m_Preview.pfCallbackSaved = pfCallback;
    m_Preview.pContext = pContext;
    return RET_SUCCESS;
}

int CDevice::SetPreviewCallbackEx(PreviewCallbackEx pfCallback, void* pContext) {
    plat::CriticalSectionLock callbacks(m_CallbackLock);
    m_Preview.pfCallbackEx = pfCallback;
    m_Preview.pfCallbackExSaved = pfCallback;
    m_Preview.pContextEx = pContext;
    return RET_SUCCESS;
}

void CDevice::SetPreviewPlacement(PlatWindow hWnd, int x, int y, int nWidth, int nHeight) {
    std::lock_guard<std::mutex> lock(m_Preview.placementMutex);
    m_Preview.placement = PreviewState::Placement{hWnd, x, y, nWidth, nHeight};
}

PreviewState::Placement CDevice::PreviewPlacement() const {
    std::lock_guard<std::mutex> lock(m_Preview.placementMutex);
    return m_Preview.placement;
}

int CDevice::SetBufferCount(int nCount) {
    return Controlled([&] {
        const int n = nCount <= 0                              ? PreviewState::kDefaultBufferCount
                      : nCount > PreviewState::kMaxBufferCount ? PreviewState::kMaxBufferCount
                                                               : nCount;
        if (n == m_Preview.nBufferCount) {
            return RET_SUCCESS;
        }
        const bool bKeepPreview = LosesRegistersWhenStreamStops(m_nDeviceType);
        const int nStatus = m_Preview.nStatus;
        const bool bParallel = m_Preview.bParallel;
        const bool bRestart = nStatus == PreviewState::kRunning && !bKeepPreview;
        if (bRestart) {
            StopPreview(bParallel, false);
        }
        const bool bStopAcquisition = SupportsStreamMode() && m_Transport.StreamStarted();
        if (bStopAcquisition) {
            m_Transport.SetStreamStarted(false);
            m_Vendor.VendorCmd_StopAcq();
        }
        m_Preview.nBufferCount = n;
        if (bStopAcquisition && !m_Transport.StreamStarted() &&
            m_Vendor.VendorCmd_StartAcq() == RET_SUCCESS) {
            m_Transport.SetStreamStarted(true);
        }
        if (bKeepPreview) {
            if (nStatus == PreviewState::kStopped) {
                SensorRestoreRegs();
                m_Bus.ResetDeviceAndHost();
                plat::SleepMs(kRestartPauseMs);
            }
        } else if (bRestart) {
            StartPreview(bParallel);
            plat::SleepMs(kRestartPauseMs);
        }
        return RET_SUCCESS;
    });
}

int CDevice::PreviewGetPausedData(uint8_t* pData) {
    if (m_Preview.nStatus != PreviewState::kPaused) {
        return RET_FAIL;
    }
    if (pData == nullptr) {
        return RET_PARAMERROR;
    }
    plat::CriticalSectionLock bayer(m_BayerLock);
    const size_t nBytes =
        static_cast<size_t>(GetOutputBitCount() / 8) * Fov(kPreviewFov).ulTotalPixels;
    const std::vector<uint8_t>& shown = m_Preview.ShownFrame(nBytes);
    if (shown.empty()) {
        return RET_FAIL;
    }
    std::memcpy(pData, shown.data(), std::min(nBytes, shown.size()));
    return RET_SUCCESS;
}
