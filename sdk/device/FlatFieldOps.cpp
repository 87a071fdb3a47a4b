// Flat-field correction: its window, the dark and flat frames averaged from
// captures of that window, the gain table and the step of the raw chain.
// The frames and the gain table are replaced only under the raw-post lock,
// which the raw chain holds while it runs.
#include "ZDQApi.h"
#include "device/Device.h"

namespace {
bool SameWindow(const FieldOfView& a, const FieldOfView& b) {
    return a.nColStart == b.nColStart && a.nRowStart == b.nRowStart && a.nColSize == b.nColSize &&
           a.nRowSize == b.nRowSize && a.nWidth == b.nWidth && a.nHeight == b.nHeight;
}

}  // namespace

int CDevice::SetFlatFieldFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize,
                                     int nAmCol, int nAmRow, uint16_t usMultiFrameNum) {
    const int nRet =
        SensorCheckFov(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow, &usMultiFrameNum);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    plat::CriticalSectionLock rawPost(m_RawPostLock);
    m_FlatFieldFov = MakeFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow,
                                     usMultiFrameNum, Data16BitsOn());
    return RET_SUCCESS;
}

int CDevice::CaptureFlatFieldAverage(int nFrames, std::vector<uint8_t>& average) {
    // The caller holds the control lock: no window set or 16-bit switch
    // falls between the window set here, the captures and the restore.
    const FieldOfView keep = m_Fov[kCaptureFov];
    FieldOfView record;
    {
        plat::CriticalSectionLock rawPost(m_RawPostLock);
        record = m_FlatFieldFov;
    }
    int nRet =
        CaptureSetFieldOfView(record.nColStart, record.nRowStart, record.nColSize, record.nRowSize,
                              record.AmCol, record.AmRow, record.usMultiFrameNum);
    if (nRet == RET_SUCCESS && m_Fov[kCaptureFov].ulTotalBytes != record.ulTotalBytes) {
        nRet = RET_FAIL;  // the window as the camera now takes it differs
    }
    if (nRet == RET_SUCCESS) {
        std::vector<uint8_t> frame(record.ulTotalBytes);
        std::vector<uint32_t> sums(record.ulTotalBytes, 0);
        for (int i = 0; i < nFrames && nRet == RET_SUCCESS; ++i) {
            nRet = Capture(CaptureKind::Raw, frame.data(), false);
            for (size_t j = 0; nRet == RET_SUCCESS && j < frame.size(); ++j) {
                sums[j] += frame[j];
            }
        }
        if (nRet == RET_SUCCESS) {
            average = CFlatFieldFrames::Average(sums, nFrames);
        }
    }
    const int nRestore =
        CaptureSetFieldOfView(keep.nColStart, keep.nRowStart, keep.nColSize, keep.nRowSize,
                              keep.AmCol, keep.AmRow, keep.usMultiFrameNum);
    return nRet != RET_SUCCESS ? nRet : nRestore;
}

bool CDevice::AnyFlatFieldCorrectionOn() {
    plat::CriticalSectionLock rawPost(m_RawPostLock);
    return m_bPreviewFlatField || m_bCaptureFlatField;
}

// Both run under the control lock from the first check to the last frame:
// the window they set stays the one the captures read.
int CDevice::MakeDarkFrame(int nFrames) {
    return Controlled([&] {
        if (AnyFlatFieldCorrectionOn()) {
            return RET_ILLEGALOPERATION;
        }
        if (nFrames < 1) {
            return RET_PARAMERROR;
        }
        {
            plat::CriticalSectionLock rawPost(m_RawPostLock);
            m_FlatField.SetDark({});
            m_FlatField.ClearGain();
        }
        std::vector<uint8_t> dark;
        const int nRet = CaptureFlatFieldAverage(nFrames, dark);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        plat::CriticalSectionLock rawPost(m_RawPostLock);
        m_FlatField.SetDark(std::move(dark));
        m_FlatField.MakeGain();  // without a flat frame yet there is none
        return RET_SUCCESS;
    });
}

int CDevice::MakeFlatFieldFrame(int nFrames) {
    return Controlled([&] {
        if (AnyFlatFieldCorrectionOn()) {
            return RET_ILLEGALOPERATION;
        }
        if (nFrames < 1) {
            return RET_PARAMERROR;
        }
        {
            plat::CriticalSectionLock rawPost(m_RawPostLock);
            m_FlatField.SetFlat({});
        }
        std::vector<uint8_t> flat;
        const int nRet = CaptureFlatFieldAverage(nFrames, flat);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        plat::CriticalSectionLock rawPost(m_RawPostLock);
        m_FlatField.SetFlat(std::move(flat));
        m_FlatField.MakeGain();  // without a dark frame there is none
        return RET_SUCCESS;
    });
}

int CDevice::SetFlatFieldCorrection(bool bPreview, bool bOn) {
    plat::CriticalSectionLock rawPost(m_RawPostLock);
    if (!m_FlatField.HasDark() || !m_FlatField.HasGain()) {
        return RET_ILLEGALOPERATION;
    }
    (bPreview ? m_bPreviewFlatField : m_bCaptureFlatField) = bOn;
    return RET_SUCCESS;
}

bool CDevice::FlatFieldCorrection(bool bPreview) {
    plat::CriticalSectionLock rawPost(m_RawPostLock);
    return bPreview ? m_bPreviewFlatField : m_bCaptureFlatField;
}

void CDevice::ApplyFlatField(uint8_t* pFrame, uint32_t nBytes) {
    const bool bOn = m_nActiveFov == kPreviewFov ? m_bPreviewFlatField : m_bCaptureFlatField;
    if (bOn && SameWindow(m_Fov[m_nActiveFov], m_FlatFieldFov) &&
        nBytes == m_FlatFieldFov.ulTotalBytes) {
        m_FlatField.Apply(pFrame, nBytes, &m_FrameWorkers);
    }
}
