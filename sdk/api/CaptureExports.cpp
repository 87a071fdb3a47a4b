// Exports of still capture, the capture time-out and recovery, the camera's
// frame buffer and stream mode.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

namespace {
using Kind = CDevice::CaptureKind;

// A colour capture that also reports the frame's size and depth.
int CaptureRgbEx(int nIndex, unsigned char* pBuffer, int* pWidth, int* pHeight, int* pBitCount,
                 bool bEmptyFirst) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pBuffer == nullptr) {
            return RET_PARAMERROR;
        }
        const int nRet = device.Capture(Kind::Rgb, pBuffer, bEmptyFirst);
        const FieldOfView& fov = device.Fov(kCaptureFov);
        SetOut(pWidth, fov.nWidth);
        SetOut(pHeight, fov.nHeight);
        SetOut(pBitCount, device.GetOutputBitCount());
        return nRet;
    });
}
}  // namespace

int ZDQ_CaptureRawData(int nIndex, unsigned char* pBuffer) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureRawData(%d, 0x%x)", nIndex, LogPointer(pBuffer));
    const int nRet = WithDevice(
        nIndex, [&](CDevice& device) { return device.Capture(Kind::Raw, pBuffer, false); });
    ApiLog(L"ZDQAPI::--ZDQ_CaptureRawData.Ret(%d, %d)", nIndex, nRet);
    return nRet;
}

int ZDQ_CaptureRgbData(int nIndex, unsigned char* pBuffer) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureRgbData(%d, 0x%x)", nIndex, LogPointer(pBuffer));
    const int nRet = WithDevice(
        nIndex, [&](CDevice& device) { return device.Capture(Kind::Rgb, pBuffer, false); });
    ApiLog(L"ZDQAPI::--ZDQ_CaptureRgbData.Ret(%d, %d)", nIndex, nRet);
    return nRet;
}

int ZDQ_CaptureRgbDataEx(int nIndex, unsigned char* pBuffer, int* pWidth, int* pHeight,
                         int* pBitCount) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureRgbDataEx(%d, 0x%x, 0x%x, 0x%x, 0x%x,)", nIndex,
           LogPointer(pBuffer), LogPointer(pWidth), LogPointer(pHeight), LogPointer(pBitCount));
    return CaptureRgbEx(nIndex, pBuffer, pWidth, pHeight, pBitCount, false);
}

int ZDQ_CaptureRawDataAfterEmptyFrameBuffer(int nIndex, unsigned char* pBuffer) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.Capture(Kind::Raw, pBuffer, true); });
}

int ZDQ_CaptureRgbDataAfterEmptyFrameBuffer(int nIndex, unsigned char* pBuffer) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.Capture(Kind::Rgb, pBuffer, true); });
}

int ZDQ_CaptureRgbDataExAfterEmptyFrameBuffer(int nIndex, unsigned char* pBuffer, int* pWidth,
                                              int* pHeight, int* pBitCount) {
    return CaptureRgbEx(nIndex, pBuffer, pWidth, pHeight, pBitCount, true);
}

int ZDQ_EmptyFrameBuffer(int nIndex) {
    ApiLog(L"ZDQAPI::++ZDQ_EmptyFrameBuffer(%d).", nIndex);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) { return device.EmptyFrameBuffer(); });
    ApiLog(L"ZDQAPI::--ZDQ_EmptyFrameBuffer(%d, nRet=%d).", nIndex, nRet);
    return nRet;
}

int ZDQ_CaptureSetTimeOut(int nIndex, int nMs) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureSetTimeOut(%d, %d).", nIndex, nMs);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.SetCaptureTimeOut(static_cast<uint32_t>(nMs));
        return RET_SUCCESS;
    });
    ApiLog(L"ZDQAPI::--ZDQ_CaptureSetTimeOut(%d, nRet=%d)", nIndex, nRet);
    return nRet;
}

int ZDQ_CaptureGetTimeOut(int nIndex, unsigned int* pMs) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureGetTimeOut(%d).", nIndex);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (pMs != nullptr) {
            *pMs = device.CaptureTimeOut();
        }
        return RET_SUCCESS;
    });
    if (pMs != nullptr) {
        ApiLog(L"ZDQAPI::--ZDQ_CaptureGetTimeOut(%d, nRet=%d)", *pMs, nRet);
    }
    return nRet;
}

int ZDQ_CaptureSetRecover(int nIndex, bool bRecover) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureSetRecover(%d, %d)", nIndex, bRecover ? 1 : 0);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.SetRecover(bRecover);
        return RET_SUCCESS;
    });
    ApiLog(L"ZDQAPI::--ZDQ_CaptureSetRecover(%d, nRet=%d)", nIndex, nRet);
    return nRet;
}

int ZDQ_CaptureGetRecover(int nIndex, bool* pbRecover) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureGetRecover(%d, 0x%x)", nIndex, LogPointer(pbRecover));
    bool bRecover = false;
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        bRecover = device.Recover();
        return RET_SUCCESS;
    });
    if (pbRecover != nullptr) {
        *pbRecover = bRecover;
    }
    ApiLog(L"ZDQAPI::--ZDQ_CaptureGetRecover(%d, %d, nRet=%d)", nIndex, bRecover ? 1 : 0, nRet);
    return nRet;
}

int ZDQ_CaptureSetTimeOutEx(int nIndex, int nMs, bool bRecover) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.SetCaptureTimeOut(static_cast<uint32_t>(nMs));
        device.SetRecover(bRecover);
        return RET_SUCCESS;
    });
}

int ZDQ_CaptureGetTimeOutEx(int nIndex, int* pMs, bool* pbRecover) {
    // A bad index reports recovery on, in a pointer that may then be null.
    if (pbRecover != nullptr) {
        *pbRecover = true;
    }
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pbRecover == nullptr) {
            return RET_PARAMERROR;
        }
        if (pMs != nullptr) {
            *pMs = static_cast<int>(device.CaptureTimeOut());
        }
        *pbRecover = device.Recover();
        return RET_SUCCESS;
    });
}

int ZDQ_IsSupportStreamMode(int nIndex, bool* pbSupported) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pbSupported != nullptr) {
            *pbSupported = device.SupportsStreamMode();
        }
        return RET_SUCCESS;
    });
}

int ZDQ_StreamStart(int nIndex) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.StreamStart(); });
}

int ZDQ_StreamStop(int nIndex) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.StreamStop(); });
}

int ZDQ_StreamIsStart(int nIndex, bool* pbStarted) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pbStarted != nullptr) {
            *pbStarted = device.StreamStarted();
        }
        return RET_SUCCESS;
    });
}

int ZDQ_StreamReadRawData(int nIndex, unsigned char* pBuffer) {
    return WithDevice(
        nIndex, [&](CDevice& device) { return device.StreamCapture(Kind::Raw, pBuffer, nullptr); });
}

int ZDQ_StreamReadRawDataEx(int nIndex, unsigned char* pBuffer, int* pBytesRead) {
    return WithDevice(nIndex, [&](CDevice& device) {
        int nBytesRead = 0;
        const int nRet = device.StreamCapture(Kind::Raw, pBuffer, &nBytesRead);
        SetOut(pBytesRead, nBytesRead);
        return nRet;
    });
}

int ZDQ_StreamReadRgbData(int nIndex, unsigned char* pBuffer) {
    return WithDevice(
        nIndex, [&](CDevice& device) { return device.StreamCapture(Kind::Rgb, pBuffer, nullptr); });
}

int ZDQ_StreamReadRgbDataEx(int nIndex, unsigned char* pBuffer) {
    return ZDQ_StreamReadRgbData(nIndex, pBuffer);
}
