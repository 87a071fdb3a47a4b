// The device's fields of view: the capture and the preview record, which of
// them is programmed into the camera, their checks, sets and switches.
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>

#include "ZDQApi.h"
#include "device/Device.h"

namespace {
bool SameFieldOfView(const FieldOfView& a, const FieldOfView& b) {
    return a.nColStart == b.nColStart && a.nRowStart == b.nRowStart && a.nColSize == b.nColSize &&
           a.nRowSize == b.nRowSize && a.AmCol == b.AmCol && a.AmRow == b.AmRow &&
           a.nWidth == b.nWidth && a.nHeight == b.nHeight && a.ulTotalPixels == b.ulTotalPixels &&
           a.ulTotalBytes == b.ulTotalBytes && a.usMultiFrameNum == b.usMultiFrameNum;
}

}  // namespace

bool CDevice::Data16BitsOn() const {
    return m_Capability.Has(FpgaCap::bm16BitsTransfer) &&
           (m_Fpga.WorkingMode() & WORKINGMODE_16BIT_DATA) != 0;
}

void CDevice::StoreFieldOfView(int nWhich, int nColStart, int nRowStart, int nColSize, int nRowSize,
                               int nAmCol, int nAmRow, uint16_t usMultiFrameNum) {
    // The catching threads read the record under the raw-post lock, the
    // getters under the records' own lock, the drawing thread the bitmap
    // record under the Bayer lock (one after the other: the Bayer lock is
    // never taken with the raw-post lock held).
    const FieldOfView fov = MakeFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                            nAmRow, usMultiFrameNum, Data16BitsOn());
    // A catching thread holds the raw-post lock for a whole frame read, so a
    // record that already holds this window is left alone: a caller that sets
    // the window it has (a page shown again) does not wait out an exposure.
    // Every writer of the records holds the control lock (or runs before any
    // thread of the device does), so the record can be read here without B.
    if (!SameFieldOfView(m_Fov[nWhich], fov)) {
        plat::CriticalSectionLock rawPost(m_RawPostLock);
        std::lock_guard<std::mutex> records(m_FovMutex);
        m_Fov[nWhich] = fov;
    }
    if (nWhich == kPreviewFov && m_pBitmapInfo) {
        plat::CriticalSectionLock bayer(m_BayerLock);
        PlatDibHeader& header = m_pBitmapInfo->bmiHeader;
        header.biWidth = fov.nWidth;
        header.biHeight = fov.nHeight;
        header.biSizeImage = static_cast<uint32_t>(header.biBitCount / 8) *
                             static_cast<uint32_t>(fov.nHeight) * static_cast<uint32_t>(fov.nWidth);
    }
    LogFieldOfView(m_pLog, nWhich, fov);
}

int CDevice::CheckFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                              int nAmRow) {
    int nCol = nColStart, nRow = nRowStart, nWidth = nColSize, nHeight = nRowSize;
    const int nRet = SensorCheckFov(nCol, nRow, nWidth, nHeight, nAmCol, nAmRow, nullptr);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    const bool bAsGiven =
        nCol == nColStart && nRow == nRowStart && nWidth == nColSize && nHeight == nRowSize;
    return bAsGiven ? RET_SUCCESS : RET_FAIL;
}

int CDevice::AdjustFieldOfView(int& nColStart, int& nRowStart, int& nColSize, int& nRowSize,
                               int nAmCol, int nAmRow, uint16_t& usMultiFrameNum) {
    const int nRet =
        SensorCheckFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow, &usMultiFrameNum);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    // A camera whose FPGA cannot change the frames per transfer sends the
    // count it has: a record with another count would expect frames it never
    // gets.
    const bool bCountPossible = usMultiFrameNum == m_Fpga.Shadows().wMultiFrameNum ||
                                m_Capability.Has(FpgaCap::bmSetMultiFramesNum);
    return bCountPossible ? RET_SUCCESS : RET_NOTSUPPORT;
}

int CDevice::CaptureSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize,
                                   int nAmCol, int nAmRow) {
    return Controlled([&] {
        return CaptureSetFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                     m_Fov[kCaptureFov].usMultiFrameNum);
    });
}

int CDevice::PreviewSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize,
                                   int nAmCol, int nAmRow) {
    return Controlled([&] {
        return PreviewSetFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                     m_Fov[kPreviewFov].usMultiFrameNum);
    });
}

int CDevice::CaptureSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize,
                                   int nAmCol, int nAmRow, uint16_t usMultiFrameNum) {
    return Controlled([&] {
        int nRet = AdjustFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                     usMultiFrameNum);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        if (m_nActiveFov == kCaptureFov) {
            nRet = SensorSetFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow, nullptr);
            if (nRet == RET_SUCCESS) {
                nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_MULTIFRAMES_NUM, usMultiFrameNum);
            }
            if (nRet != RET_SUCCESS) {
                return nRet;
            }
        }
        StoreFieldOfView(kCaptureFov, nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                         usMultiFrameNum);
        return RET_SUCCESS;
    });
}

int CDevice::PreviewSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize,
                                   int nAmCol, int nAmRow, uint16_t usMultiFrameNum) {
    return Controlled([&] {
        int nRet = AdjustFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                     usMultiFrameNum);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        const bool bStopped = m_Preview.nStatus == PreviewState::kStopped;
        if (m_nActiveFov != kPreviewFov && bStopped) {
            StoreFieldOfView(kPreviewFov, nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                             usMultiFrameNum);
            return RET_SUCCESS;
        }
        if (m_Preview.nStatus == PreviewState::kPaused) {
            return RET_NOTSUPPORT;
        }
        const FieldOfView wanted = MakeFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                                   nAmRow, usMultiFrameNum, Data16BitsOn());
        // The preview's buffers are sized for its frames: a window that
        // changes them is set with the preview stopped, and the preview
        // starts again. So is any window of a preview that runs with the
        // capture record programmed (its own could not be programmed back
        // after a capture): the start programs it.
        const bool bRestart =
            m_nActiveFov != kPreviewFov || SensorFovChanged(wanted, m_Fov[kPreviewFov]);
        const bool bParallel = m_Preview.bParallel;
        if (bRestart) {
            StopPreview(bParallel, false);
        }
        bool bStored = false;
        nRet = SensorSetFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow, nullptr);
        if (nRet == RET_SUCCESS) {
            nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_MULTIFRAMES_NUM, usMultiFrameNum);
            bStored = nRet == RET_SUCCESS || nRet == RET_NOTSUPPORT;
            if (bStored) {
                StoreFieldOfView(kPreviewFov, nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                 nAmRow, usMultiFrameNum);
            }
        }
        // A failed write is what the caller learns; the preview starts
        // again on the window it had.
        if (bRestart) {
            const int nStart = StartPreview(bParallel);
            if (bStored) {
                nRet = nStart;
            }
        }
        return nRet;
    });
}

FieldOfView CDevice::Fov(int nWhich) const {
    std::lock_guard<std::mutex> records(m_FovMutex);
    return m_Fov[nWhich];
}

int CDevice::GetFieldOfView(int nWhich, int* pColStart, int* pRowStart, int* pColSize,
                            int* pRowSize, int* pAmCol, int* pAmRow,
                            uint16_t* pMultiFrameNum) const {
    const FieldOfView fov = Fov(nWhich);
    const struct {
        int* pOut;
        int nValue;
    } kMembers[] = {{pColStart, fov.nColStart}, {pRowStart, fov.nRowStart},
                    {pColSize, fov.nColSize},   {pRowSize, fov.nRowSize},
                    {pAmCol, fov.AmCol},        {pAmRow, fov.AmRow}};
    for (const auto& member : kMembers) {
        if (member.pOut != nullptr) {
            *member.pOut = member.nValue;
        }
    }
    if (pMultiFrameNum != nullptr) {
        *pMultiFrameNum = fov.usMultiFrameNum;
    }
    return RET_SUCCESS;
}

int CDevice::SelectFieldOfView(int nWhich) {
    if (nWhich == m_nActiveFov) {
        return RET_SUCCESS;
    }
    const FieldOfView& fov = m_Fov[nWhich];
    uint8_t bChanged = 0;
    int nRet = SensorSetFov(fov.nColStart, fov.nRowStart, fov.nColSize, fov.nRowSize, fov.AmCol,
                            fov.AmRow, &bChanged);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_MULTIFRAMES_NUM, fov.usMultiFrameNum);
    if (nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT) {
        return nRet;
    }
    m_nActiveFov = nWhich;
    if (bChanged != 0) {
        DropOneFrame(nWhich);
    }
    return nRet;
}

void CDevice::ResumeAfterCapture(int nPreviewStateBefore) {
    SelectFieldOfView(kPreviewFov);
    if (nPreviewStateBefore == PreviewState::kRunning &&
        m_Preview.nStatus == PreviewState::kPaused) {
        m_Preview.pause.Resume();
        m_Preview.nStatus = PreviewState::kRunning;
    }
}

int CDevice::DropOneFrame(int nWhich) {
    if (IsTriggeredWorkingMode(m_Fpga.Shadows().WorkingMode)) {
        return RET_SUCCESS;
    }
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++DropOneFrame.");
    const uint32_t nBytes = m_Fov[nWhich].ulTotalBytes;
    std::unique_ptr<uint8_t[]> pFrame(new (std::nothrow) uint8_t[nBytes]);
    const int nRet = pFrame ? CatchOneFrame(pFrame.get(), nBytes) : RET_MALLOCFAIL;
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--DropOneFrame. ( Return = %d)", nRet);
    return nRet;
}
