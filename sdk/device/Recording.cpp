// AVI recording of the device: of the shown preview frames, which the
// drawing step appends while the preview runs unpaused, or of frames the
// caller hands over in a format of its own.
//
// The recording object is reached under the drawing lock (lock E), but no
// file is written and no writer waited for while that lock is held: a start
// opens the recording without the lock (the compressor dialog may take long)
// and then hands it over under the lock; a stop takes it away under the lock
// and closes it after; the caller's frames are written outside the lock; the
// drawing step hands a shown frame to the writer threads without waiting and
// a recording that ends there closes on a thread of its own. A frame being
// drawn is thus never written to a closed file.
#include <memory>

#include "ZDQApi.h"
#include "device/Device.h"

int CDevice::RecordStartPreview(float fRate, const wchar_t* pszFile,
                                CAviRecording::Options options) {
    PlatBitmapInfo format{};
    {
        // The format is written under the Bayer lock (window sets, output
        // mode and Bayer sets), taken inside the callback lock as the
        // drawing does.
        plat::CriticalSectionLock callbacks(m_CallbackLock);
        plat::CriticalSectionLock bayer(m_BayerLock);
        if (m_bRecording || m_Preview.nStatus != PreviewState::kRunning || !m_pBitmapInfo) {
            return RET_ILLEGALOPERATION;
        }
        format = *m_pBitmapInfo;
    }
    auto pRecording = std::make_unique<CAviRecording>(m_pLog);
    const int nRet = pRecording->Open(pszFile, fRate, format, options, true);
    return nRet == RET_SUCCESS ? RecordInstall(std::move(pRecording)) : nRet;
}

int CDevice::RecordStartExplicit(float fRate, int nWidth, int nHeight, int nBitCount,
                                 const wchar_t* pszFile, bool bDialog) {
    if (m_bRecording) {
        return RET_ILLEGALOPERATION;
    }
    if (nWidth < 1 || nHeight < 1 || (nBitCount != 8 && nBitCount != 24 && nBitCount != 32) ||
        static_cast<uint64_t>(nWidth) * nHeight * (nBitCount / 8) > UINT32_MAX) {
        return RET_PARAMERROR;
    }
    auto pRecording = std::make_unique<CAviRecording>(m_pLog);
    const int nRet = pRecording->Open(
        pszFile, fRate, CAviRecording::ExplicitFormat(nWidth, nHeight, nBitCount),
        bDialog ? CAviRecording::Options::Dialog : CAviRecording::Options::Registry, false);
    return nRet == RET_SUCCESS ? RecordInstall(std::move(pRecording)) : nRet;
}

int CDevice::RecordInstall(std::unique_ptr<CAviRecording> pRecording) {
    std::shared_ptr<CAviRecording> pEnded;
    {
        plat::CriticalSectionLock callbacks(m_CallbackLock);
        if (m_bRecording) {
            // Another start came first.
            pRecording->Discard();
            return RET_ILLEGALOPERATION;
        }
        // A recording that ended by itself is still being closed.
        pEnded = std::move(m_pRecording);
        m_pRecording = std::move(pRecording);
        m_bRecording = true;
        m_nRecordLeftOut = 0;
    }
    if (pEnded) {
        pEnded->Close();
    }
    return RET_SUCCESS;
}

int CDevice::RecordStop() {
    std::shared_ptr<CAviRecording> pRecording;
    {
        plat::CriticalSectionLock callbacks(m_CallbackLock);
        m_bRecording = false;
        pRecording = std::move(m_pRecording);
    }
    if (pRecording) {
        pRecording->Close();
    }
    return RET_SUCCESS;
}

int CDevice::RecordAddOneFrame(const void* pData, int nPosition, int nWidth, int nHeight,
                               int nBitCount) {
    std::shared_ptr<CAviRecording> pRecording;
    {
        plat::CriticalSectionLock callbacks(m_CallbackLock);
        if (!m_bRecording || !m_pRecording) {
            return RET_NOTSUPPORT;
        }
        if (m_pRecording->ForPreview()) {
            // The preview's frames go at the positions after its own.
            return RET_FAIL;
        }
        pRecording = m_pRecording;
    }
    const int nRet = pRecording->AddFrame(pData, nPosition, nWidth, nHeight, nBitCount);
    if (pRecording->Ended()) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI write failed, recording stopped.");
        {
            plat::CriticalSectionLock callbacks(m_CallbackLock);
            if (m_pRecording != pRecording) {
                return nRet;  // stopped meanwhile
            }
            m_bRecording = false;
            m_pRecording.reset();
        }
        pRecording->Close();
    }
    return nRet;
}

bool CDevice::Recording() const {
    return m_bRecording || m_bRecordClosing;
}

void CDevice::RecordShownFrame(const uint8_t* pFrame, int nWidth, int nHeight, int nBitCount) {
    if (!m_bRecording || !m_pRecording || !m_pRecording->ForPreview() ||
        m_Preview.nStatus != PreviewState::kRunning) {
        return;
    }
    switch (m_pRecording->WriteNextFrame(pFrame, nWidth, nHeight, nBitCount)) {
        case CAviRecording::Shown::kTaken:
            break;
        case CAviRecording::Shown::kLeftOut:
            ++m_nRecordLeftOut;
            break;
        case CAviRecording::Shown::kEnded:
            LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI write failed, recording stopped.");
            m_bRecordClosing = true;
            m_bRecording = false;
            m_pRecording->End([this] { m_bRecordClosing = false; });
            break;
    }
}
