// 3D acquisition: the capture thread catches frames of the 3D ROI into a
// ring; the processing thread hands each to the live-image callback, turns
// it into a profile with the laser-profile library, and every set of
// profiles into a point cloud, with the trigger signals lost on the way.
//
// The ring is shared through its filled count (the capture thread adds to
// it, the processing thread takes from it) and two events; only the capture
// thread writes slots and only the processing thread reads them. A stop
// ends both threads before anything of the run is freed.
#include <algorithm>
#include <cmath>
#include <new>
#include <thread>

#include "ZDQApi.h"
#include "device/Device.h"

namespace {

// Waits of the threads for a free slot and for a caught frame.
constexpr uint32_t kSlotWaitMs = 200;
constexpr uint32_t kFrameWaitMs = 100;
// The stop waits this long for each thread, then asks a pending frame read
// to end again at this step until the capture thread has ended.
constexpr uint32_t kThreadStopWaitMs = 1000;
constexpr uint32_t kPendingReadStepMs = 100;
// Rates are measured every this many profiles.
constexpr int kRateStep = 100;

}  // namespace

int CDevice::StartAcquisition3D() {
    if (m_3D.bAcquiring) {
        return RET_SUCCESS;
    }
    if (Data16BitsOn()) {
        return RET_ILLEGALOPERATION;  // profiles are made of 8-bit frames
    }
    const FieldOfView& fov = m_Fov[kCaptureFov];
    const int nProfiles = m_3D.nProfiles;
    if (nProfiles <= 0 || fov.nWidth <= 0 || fov.nHeight <= 0 ||
        fov.ulTotalBytes < kFrameHeaderBytes) {
        return RET_3DINITFAIL;
    }
    std::unique_ptr<Laser3DRun> pRun;
    try {
        pRun = std::make_unique<Laser3DRun>();
        pRun->nColSize = fov.nWidth;
        pRun->nRowSize = fov.nHeight;
        pRun->nFrameBytes = fov.ulTotalBytes;
        pRun->nProfiles = nProfiles;
        const size_t nPoints = static_cast<size_t>(fov.nWidth) * static_cast<size_t>(nProfiles);
        pRun->ring.assign(static_cast<size_t>(Laser3DState::kRingSize) * fov.ulTotalBytes, 0);
        pRun->x.assign(nPoints, 0);
        pRun->xCompact.assign(nPoints, 0);
        pRun->y.assign(nPoints, 0.0f);
        pRun->yCompact.assign(nPoints, 0.0f);
        pRun->z.assign(nPoints, 0.0f);
        pRun->zCompact.assign(nPoints, 0.0f);
        pRun->profileImage.assign(static_cast<size_t>(fov.nWidth) * kProfileImageRows, 0);
        pRun->cloudImage.assign(nPoints, 0);
    } catch (const std::bad_alloc&) {
        return RET_3DINITFAIL;
    }
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== CDevice::++StartAcquisition =====");
    m_3D.pRun = std::move(pRun);
    m_3D.fTransmissionRate = 0.0f;
    m_3D.fTriggerRate = 0.0f;
    EmptyFrameBuffer();
    StreamStart();
    if (!m_3D.captureThread.Start([this] { CaptureThread3D(); })) {
        StreamStop();
        m_3D.pRun.reset();
        return RET_3DINITFAIL;
    }
    if (!m_3D.processingThread.Start([this] { ProcessingThread3D(); })) {
        m_3D.bAcquiring = true;  // the stop ends the capture thread
        StopAcquisition3D();
        return RET_3DINITFAIL;
    }
    m_3D.bAcquiring = true;
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== CDevice::--StartAcquisition =====");
    return RET_SUCCESS;
}

int CDevice::StopAcquisition3D() {
    if (!m_3D.bAcquiring) {
        return RET_SUCCESS;
    }
    if (m_3D.processingThreadId.load() == std::this_thread::get_id()) {
        return RET_ILLEGALOPERATION;  // from a callback: the run is still in use
    }
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== CDevice::++StopAcquisition =====");
    Laser3DRun& run = *m_3D.pRun;
    m_3D.captureThread.RequestStop();
    m_3D.processingThread.RequestStop();
    run.frameReady.Set();
    run.slotFreed.Set();
    if (SupportsStreamMode()) {
        StreamStop();
    }
    if (run.bCatching) {
        m_Vendor.VendorCmd_SendPktEnd();  // the pending read ends
    }
    LogPrint(m_pLog, LOGLEVEL_NORMAL,
             L"===== CDevice:: ** StopAcquisition Begin wait threads stop =====");
    if (!m_3D.processingThread.Join(kThreadStopWaitMs)) {
        LogPrint(m_pLog, LOGLEVEL_ERROR,
                 L"===== CDevice:: ** StopAcquisition deal thread stop error =====");
    }
    if (!m_3D.captureThread.Join(kThreadStopWaitMs)) {
        LogPrint(m_pLog, LOGLEVEL_ERROR,
                 L"===== CDevice:: ** StopAcquisition capture thread stop error =====");
    }
    // Nothing of the run is freed while a thread may use it: a read that
    // began after the packet end is ended again until the thread is gone.
    while (!m_3D.captureThread.Join(kPendingReadStepMs)) {
        m_Vendor.VendorCmd_SendPktEnd();
    }
    m_3D.processingThread.Join(plat::kInfinite);
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== CDevice:: ** StopAcquisition has stop threads =====");
    m_3D.pRun.reset();
    m_3D.bAcquiring = false;
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== CDevice::--StopAcquisition =====");
    return RET_SUCCESS;
}

void CDevice::CaptureThread3D() {
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== ++CDevice::CaptureThreadX =====");
    Laser3DRun& run = *m_3D.pRun;
    while (!m_3D.captureThread.StopRequested()) {
        if (run.nFilled.load() >= Laser3DState::kRingSize) {
            run.slotFreed.Wait(kSlotWaitMs);
            continue;
        }
        uint8_t* pSlot = run.ring.data() + static_cast<size_t>(run.nWriteIndex) * run.nFrameBytes;
        run.bCatching = true;
        const int nRet = Capture(CaptureKind::Raw, pSlot, false);
        run.bCatching = false;
        LogPrint(m_pLog, LOGLEVEL_FRAME,
                 L"===== CDevice::CaptureThreadX Catpure image m_nCurWriteIndex=%02d "
                 L"DataBuffer=%p nRet=%d =====",
                 run.nWriteIndex, static_cast<void*>(pSlot), nRet);
        if (nRet == RET_SUCCESS) {
            run.nFilled.fetch_add(1);
            run.frameReady.Set();
            run.nWriteIndex = (run.nWriteIndex + 1) % Laser3DState::kRingSize;
        }
    }
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== --CDevice::CaptureThreadX =====");
}

void CDevice::ProcessingThread3D() {
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== ++CDevice::DealThreadX =====");
    m_3D.processingThreadId = std::this_thread::get_id();
    Laser3DRun& run = *m_3D.pRun;
    // Triggered data modes count the signals of one profile by the period.
    int nMode = 0;
    TriggerModeGet(&nMode);
    int nDivider = 1;
    if (nMode != 0 && nMode != 3) {
        float fPeriod = 0.0f;
        TriggerSignalPeriodGet(&fPeriod);
        nDivider = std::max(static_cast<int>(std::min(fPeriod, 255.0f)), 1);
    }
    uint32_t nFirstMark = 0;
    uint32_t nPreviousMark = 0;
    int nProfileIndex = 0;
    int nCompacted = 0;
    CRateMeter rates;
    plat::Thread& self = m_3D.processingThread;
    while (!self.StopRequested()) {
        if (run.nFilled.load() == 0) {
            run.frameReady.Wait(kFrameWaitMs);
            continue;
        }
        const uint8_t* pFrame =
            run.ring.data() + static_cast<size_t>(run.nReadIndex) * run.nFrameBytes;
        LogPrint(m_pLog, LOGLEVEL_FRAME,
                 L"===== CDevice::DealThreadX deal image m_nCurReadIndex=%02d DataBuffer=%p =====",
                 run.nReadIndex, static_cast<const void*>(pFrame));
        const Laser3DCallbacks& callbacks = m_3D.callbacks;
        if (callbacks.pfLiveImage != nullptr) {
            callbacks.pfLiveImage(m_nIndex, const_cast<uint8_t*>(pFrame), run.nColSize,
                                  run.nRowSize, 8, callbacks.pLiveImageContext);
            if (self.StopRequested()) {
                break;
            }
        }
        const uint32_t nMark = ReadFrameStamp(pFrame).nWaterMark;
        if (!ProcessProfile3D(run, pFrame, nDivider, nFirstMark, nPreviousMark, nProfileIndex,
                              nCompacted, rates)) {
            break;
        }
        run.nFilled.fetch_sub(1);
        nPreviousMark = nMark;
        run.slotFreed.Set();
        run.nReadIndex = (run.nReadIndex + 1) % Laser3DState::kRingSize;
    }
    m_3D.processingThreadId = std::thread::id();
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"===== --CDevice::DealThreadX =====");
}

bool CDevice::ProcessProfile3D(Laser3DRun& run, const uint8_t* pFrame, int nDivider,
                               uint32_t& nFirstMark, uint32_t& nPreviousMark, int& nProfileIndex,
                               int& nCompacted, CRateMeter& rates) {
    const Laser3DCallbacks& callbacks = m_3D.callbacks;
    // A stop asked for during a callback is obeyed before the next one.
    plat::Thread& self = m_3D.processingThread;
    const FrameStamp stamp = ReadFrameStamp(pFrame);
    LogPrint(m_pLog, LOGLEVEL_FRAME,
             L"===== nWaterMark=%d pImageData[6,7,16,17]=%02X %02X %02X %02X  "
             L"ullTimesTamp=0x%08X =====",
             static_cast<int>(stamp.nWaterMark), pFrame[6], pFrame[7], pFrame[16], pFrame[17],
             static_cast<unsigned>(stamp.ullTimeStamp));
    const int nCol = run.nColSize;
    int nLost = 0;
    if (nProfileIndex == 0) {
        nFirstMark = stamp.nWaterMark;
    } else {
        nLost = LostSignals(stamp.nWaterMark, nPreviousMark, nDivider);
    }
    const int nSignals = static_cast<int>(stamp.nWaterMark - nFirstMark);
    if (callbacks.AnyProfileOrCloud()) {
        LogPrint(m_pLog, LOGLEVEL_FRAME,
                 L"===== nTotalSignalCount=%d m_nCurProfileIndex=%d m_nCurReadIndex=%d "
                 L"nWaterMark=%d m_nPreImageWaterMark=%d m_nFirstImageWaterMark=%d "
                 L"nCurLostNum=%d =====",
                 nSignals, nProfileIndex, run.nReadIndex, static_cast<int>(stamp.nWaterMark),
                 static_cast<int>(nPreviousMark), static_cast<int>(nFirstMark), nLost);
        const double dY = nSignals * static_cast<double>(m_3D.fYResolution);
        const size_t nStart = static_cast<size_t>(nProfileIndex) * static_cast<size_t>(nCol);
        float* pZ = run.z.data() + nStart;
        int* pX = run.x.data() + nStart;
        m_3D.pLibrary->ImageToPointCloud(pFrame, m_3D.ullRunHandle, m_3D.nThreshold, pZ, pX);
        std::fill_n(run.y.data() + nStart, nCol, static_cast<float>(dY));
        if (m_3D.bObliterate) {
            const int nFrom = nCompacted;
            for (int i = 0; i < nCol; ++i) {
                if (pZ[i] != kInvalidHeight) {
                    run.xCompact[static_cast<size_t>(nCompacted)] = pX[i];
                    run.yCompact[static_cast<size_t>(nCompacted)] = static_cast<float>(dY);
                    run.zCompact[static_cast<size_t>(nCompacted)] = pZ[i];
                    ++nCompacted;
                }
            }
            if (callbacks.pfProfileData != nullptr) {
                callbacks.pfProfileData(m_nIndex, nCompacted - nFrom, dY, nProfileIndex,
                                        run.xCompact.data() + nFrom, run.zCompact.data() + nFrom,
                                        nLost, callbacks.pProfileDataContext);
            }
        } else if (callbacks.pfProfileData != nullptr) {
            callbacks.pfProfileData(m_nIndex, nCol, dY, nProfileIndex, pX, pZ, nLost,
                                    callbacks.pProfileDataContext);
        }
        if (self.StopRequested()) {
            return false;
        }
        if (callbacks.pfProfileImage != nullptr) {
            DrawProfileImage(run.profileImage.data(), pZ, nCol, m_3D.fZMin, m_3D.fZMax);
            callbacks.pfProfileImage(m_nIndex, run.profileImage.data(), nCol, kProfileImageRows, 8,
                                     callbacks.pProfileImageContext);
            if (self.StopRequested()) {
                return false;
            }
        }
    }
    if (nProfileIndex < run.nProfiles - 1) {
        ++nProfileIndex;
        if (nProfileIndex % kRateStep == 0) {
            float fTransmission = m_3D.fTransmissionRate;
            float fTrigger = m_3D.fTriggerRate;
            rates.Update(stamp.ullTimeStamp, nProfileIndex, stamp.nWaterMark, &fTransmission,
                         &fTrigger);
            m_3D.fTransmissionRate = fTransmission;
            m_3D.fTriggerRate = fTrigger;
        }
        return true;
    }
    const int nLostTotal = std::max(nSignals / nDivider - nProfileIndex, 0);
    LogPrint(m_pLog, LOGLEVEL_FRAME,
             L"===== m_nColSize=%d m_nNumberOfProfiles=%d nTotalSignalCount=%d nDivider=%d "
             L"m_nPreImageWaterMark=%d (nTotalSignalCount/nDivider-m_nCurProfileIndex)=%d "
             L"m_nCurProfileIndex=%d =====",
             nCol, run.nProfiles, nSignals, nDivider, static_cast<int>(nPreviousMark), nLostTotal,
             nProfileIndex);
    const int nSetProfiles = nProfileIndex + 1;
    // The set's rates are measured whether or not a stop cuts its callbacks
    // short.
    const auto finishSet = [&] {
        float fTransmission = m_3D.fTransmissionRate;
        float fTrigger = m_3D.fTriggerRate;
        rates.Update(stamp.ullTimeStamp, nProfileIndex, stamp.nWaterMark, &fTransmission,
                     &fTrigger);
        m_3D.fTransmissionRate = fTransmission;
        m_3D.fTriggerRate = fTrigger;
        nProfileIndex = 0;
        nCompacted = 0;
        rates.Reset();
    };
    if (callbacks.pfPointCloudData != nullptr) {
        if (m_3D.bObliterate) {
            callbacks.pfPointCloudData(m_nIndex, nCompacted, nSetProfiles, run.xCompact.data(),
                                       run.yCompact.data(), run.zCompact.data(), nLostTotal,
                                       callbacks.pPointCloudDataContext);
        } else {
            callbacks.pfPointCloudData(m_nIndex, nSetProfiles * nCol, nSetProfiles, run.x.data(),
                                       run.y.data(), run.z.data(), nLostTotal,
                                       callbacks.pPointCloudDataContext);
        }
        if (self.StopRequested()) {
            finishSet();
            return false;
        }
    }
    if (callbacks.pfPointCloudImage != nullptr) {
        const size_t nPoints = static_cast<size_t>(nSetProfiles) * static_cast<size_t>(nCol);
        for (size_t i = 0; i < nPoints; ++i) {
            run.cloudImage[i] = HeightToGrey(run.z[i], m_3D.fZMin, m_3D.fZMax);
        }
        callbacks.pfPointCloudImage(m_nIndex, run.cloudImage.data(), nCol, nSetProfiles, 8,
                                    callbacks.pPointCloudImageContext);
    }
    finishSet();
    return !self.StopRequested();
}
