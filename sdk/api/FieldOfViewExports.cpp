// Exports of the fields of view and frame sizes.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

namespace {
// The sensor's whole frame, as a window at 0, 0 with full addressing.
int DefaultFieldOfView(CDevice& device, int* pColStart, int* pRowStart, int* pColSize,
                       int* pRowSize, int* pAmCol, int* pAmRow) {
    const RoiLimits& roi = device.Sensor().roi;
    const struct {
        int* pOut;
        int nValue;
    } kMembers[] = {
        {pColStart, 0}, {pRowStart, 0}, {pColSize, roi.nMaxWidth}, {pRowSize, roi.nMaxHeight},
        {pAmCol, 0},    {pAmRow, 0}};
    for (const auto& member : kMembers) {
        if (member.pOut != nullptr) {
            *member.pOut = member.nValue;
        }
    }
    return RET_SUCCESS;
}

}  // namespace

int ZDQ_CheckFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize, int nRowSize,
                         int nAmCol, int nAmRow) {
    ApiLog(L"ZDQAPI::++ZDQ_CheckFieldOfView(%d, %d, %d, %d, %d, %d, %d).", nIndex, nColStart,
           nRowStart, nColSize, nRowSize, nAmCol, nAmRow);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (device.Is3D()) {
            return RET_3DNOTSUPPORT;
        }
        if (device.StreamStarted()) {
            return RET_STREAMNOTSTOP;
        }
        return device.CheckFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow);
    });
    ApiLog(L"ZDQAPI::--ZDQ_CheckFieldOfView.Ret(%d, %d)", nIndex, nRet);
    return nRet;
}

int ZDQ_CaptureGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                     int* pRowSize, int* pAmCol, int* pAmRow) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureGetDefaultFieldOfView(%d)", nIndex);
    return WithDevice(nIndex, [&](CDevice& device) {
        return DefaultFieldOfView(device, pColStart, pRowStart, pColSize, pRowSize, pAmCol, pAmRow);
    });
}

int ZDQ_PreviewGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                     int* pRowSize, int* pAmCol, int* pAmRow) {
    return ZDQ_CaptureGetDefaultFieldOfView(nIndex, pColStart, pRowStart, pColSize, pRowSize,
                                            pAmCol, pAmRow);
}

int ZDQ_CaptureSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize, int nRowSize,
                              int nAmCol, int nAmRow) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureSetFieldOfView(%d, %d, %d, %d, %d, %d, %d).", nIndex, nColStart,
           nRowStart, nColSize, nRowSize, nAmCol, nAmRow);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (device.Is3D()) {
            return RET_3DNOTSUPPORT;
        }
        if (device.StreamStarted()) {
            return RET_STREAMNOTSTOP;
        }
        return device.CaptureSetFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                            nAmRow);
    });
    ApiLog(L"ZDQAPI::--ZDQ_CaptureSetFieldOfView.Ret(%d, %d)", nIndex, nRet);
    return nRet;
}

int ZDQ_CaptureGetFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                              int* pRowSize, int* pAmCol, int* pAmRow) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureGetFieldOfView(%d)", nIndex);
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.GetFieldOfView(kCaptureFov, pColStart, pRowStart, pColSize, pRowSize, pAmCol,
                                     pAmRow, nullptr);
    });
}

int ZDQ_CaptureSetFieldOfViewEx(int nIndex, int nColStart, int nRowStart, int nColSize,
                                int nRowSize, int nAmCol, int nAmRow,
                                unsigned short usMultiFrameNum) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureSetFieldOfViewEx(%d, %d, %d, %d, %d, %d, %d, %d).", nIndex,
           nColStart, nRowStart, nColSize, nRowSize, nAmCol, nAmRow, usMultiFrameNum);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (device.Is3D()) {
            return RET_3DNOTSUPPORT;
        }
        return device.CaptureSetFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                            nAmRow, usMultiFrameNum);
    });
    ApiLog(L"ZDQAPI::--ZDQ_CaptureSetFieldOfViewEx.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_CaptureGetFieldOfViewEx(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                int* pRowSize, int* pAmCol, int* pAmRow,
                                unsigned short* pMultiFrameNum) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureGetFieldOfViewEx(%d)", nIndex);
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.GetFieldOfView(kCaptureFov, pColStart, pRowStart, pColSize, pRowSize, pAmCol,
                                     pAmRow, pMultiFrameNum);
    });
}

int ZDQ_PreviewSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize, int nRowSize,
                              int nAmCol, int nAmRow) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (device.Is3D()) {
            return RET_3DNOTSUPPORT;
        }
        if (device.StreamStarted()) {
            return RET_STREAMNOTSTOP;
        }
        return device.PreviewSetFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                            nAmRow);
    });
}

int ZDQ_PreviewGetFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                              int* pRowSize, int* pAmCol, int* pAmRow) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.GetFieldOfView(kPreviewFov, pColStart, pRowStart, pColSize, pRowSize, pAmCol,
                                     pAmRow, nullptr);
    });
}

int ZDQ_PreviewSetFieldOfViewEx(int nIndex, int nColStart, int nRowStart, int nColSize,
                                int nRowSize, int nAmCol, int nAmRow,
                                unsigned short usMultiFrameNum) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (device.Is3D()) {
            return RET_3DNOTSUPPORT;
        }
        return device.PreviewSetFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                            nAmRow, usMultiFrameNum);
    });
}

int ZDQ_PreviewGetFieldOfViewEx(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                int* pRowSize, int* pAmCol, int* pAmRow,
                                unsigned short* pMultiFrameNum) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.GetFieldOfView(kPreviewFov, pColStart, pRowStart, pColSize, pRowSize, pAmCol,
                                     pAmRow, pMultiFrameNum);
    });
}

int ZDQ_CaptureGetSize(int nIndex, int* pWidth, int* pHeight) {
    return ZDQ_CaptureGetSizeExEx(nIndex, pWidth, pHeight, nullptr, nullptr);
}

int ZDQ_CaptureGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount) {
    return ZDQ_CaptureGetSizeExEx(nIndex, pWidth, pHeight, pBitCount, nullptr);
}

int ZDQ_CaptureGetSizeExEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount,
                           int* pBitsPerSample) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const FieldOfView fov = device.Fov(kCaptureFov);
        SetOut(pWidth, fov.nWidth);
        SetOut(pHeight, fov.nHeight);
        SetOut(pBitCount, device.GetOutputBitCount());
        SetOut(pBitsPerSample, device.Data16BitsOn() ? 16 : 8);
        return RET_SUCCESS;
    });
}
