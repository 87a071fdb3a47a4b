// AVI recording of the device: of the shown preview frames, which the
// drawing step appends while the preview runs unpaused, or of frames the
// caller hands over in a format of its own.
//
// The recording object is reached only under the drawing lock (lock E): a
// start opens it without the lock (the compressor dialog may take long) and
// then hands it over under the lock; a stop takes it away and closes it
// under the lock, so a frame being drawn is never written to a closed file.
#include <memory>
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"

namespace {
using Guard = std::lock_guard<plat::CriticalSection>;
}  // namespace

int CDevice::RecordStartPreview(float fRate, const wchar_t* pszFile,
                                CAviRecording::Options options) {
    PlatBitmapInfo format{};
    {
        Guard callbacks(m_CallbackLock);
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
    Guard callbacks(m_CallbackLock);
    if (m_pRecording) {
        // Another start came first.
        pRecording->Discard();
        return RET_ILLEGALOPERATION;
    }
    m_pRecording = std::move(pRecording);
    m_bRecording = true;
    return RET_SUCCESS;
}

int CDevice::RecordStop() {
    Guard callbacks(m_CallbackLock);
    m_bRecording = false;
    if (m_pRecording) {
        m_pRecording->Close();
        m_pRecording.reset();
    }
    return RET_SUCCESS;
}

int CDevice::RecordAddOneFrame(const void* pData, int nPosition, int nWidth, int nHeight,
                               int nBitCount) {
    Guard callbacks(m_CallbackLock);
    if (!m_pRecording) {
        return RET_NOTSUPPORT;
    }
    const int nRet = m_pRecording->AddFrame(pData, nPosition, nWidth, nHeight, nBitCount);
    if (m_pRecording->Ended()) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI write failed, recording stopped.");
        RecordStop();
    }
    return nRet;
}

void CDevice::RecordShownFrame(const uint8_t* pFrame, int nWidth, int nHeight, int nBitCount) {
    if (!m_pRecording || !m_pRecording->ForPreview() ||
        m_Preview.nStatus != PreviewState::kRunning) {
        return;
    }
    if (!m_pRecording->WriteNextFrame(pFrame, nWidth, nHeight, nBitCount)) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI write failed, recording stopped.");
        RecordStop();
    }
}
