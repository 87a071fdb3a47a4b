// Exports of the segmented line sensors: whether the camera has one, its
// segments, gain and black level per segment, the black-level calibration
// and the split-segment switch.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"
#include "sensors/LineSensor.h"

namespace {

// 0 and 255 into the outputs (zeroed first) of a line-sensor camera.
int FullByteRange(CDevice& device, int* pnMin, int* pnMax) {
    SetOut(pnMin, 0);
    SetOut(pnMax, 0);
    if (!IsLineSensorType(device.DeviceType())) {
        return RET_NOTSUPPORT;
    }
    SetOut(pnMax, 255);
    return RET_SUCCESS;
}

}  // namespace

int ZDQ_AWAIBA_IsUsed(int nIndex, unsigned char* pbUsed) {
    ApiLog(L"ZDQAPI::++ZDQ_AWAIBA_IsUsed(%d).", nIndex);
    unsigned char byUsed = 0;
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (pbUsed == nullptr) {
            return RET_PARAMERROR;
        }
        byUsed = IsLineSensorType(device.DeviceType()) ? 1 : 0;
        *pbUsed = byUsed;
        return RET_SUCCESS;
    });
    ApiLog(L"ZDQAPI::--ZDQ_AWAIBA_IsUsed(%d).Ret(%d)", byUsed, nRet);
    return nRet;
}

int ZDQ_AWAIBA_GetSegmentNum(int nIndex, int* pnSegments) {
    ApiLog(L"ZDQAPI::++ZDQ_AWAIBA_GetSegmentNum(%d).", nIndex);
    int nSegments = 0;
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (pnSegments == nullptr) {
            return RET_PARAMERROR;
        }
        nSegments = device.AwaibaSegmentCount();
        *pnSegments = nSegments;
        return RET_SUCCESS;
    });
    ApiLog(L"ZDQAPI::--ZDQ_AWAIBA_GetSegmentNum(%d).Ret(%d)", nSegments, nRet);
    return nRet;
}

int ZDQ_AWAIBA_GetGainRange(int nIndex, int /*nSegment*/, int* pnMin, int* pnMax) {
    return WithDevice(nIndex, [&](CDevice& device) { return FullByteRange(device, pnMin, pnMax); });
}

int ZDQ_AWAIBA_SetGain(int nIndex, int nSegment, int nGain) {
    ApiLog(L"ZDQAPI::++ZDQ_AWAIBA_SetGain(%d, %d, %d).", nIndex, nSegment, nGain);
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.AwaibaSetGain(nSegment, nGain); });
    ApiLog(L"ZDQAPI::--ZDQ_AWAIBA_SetGain.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_AWAIBA_GetGain(int nIndex, int nSegment, int* pnGain) {
    ApiLog(L"ZDQAPI::++ZDQ_AWAIBA_GetGain(%d, %d).", nIndex, nSegment);
    int nGain = 0;
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (pnGain == nullptr) {
            return RET_PARAMERROR;
        }
        *pnGain = 0;
        const int nResult = device.AwaibaGetGain(nSegment, &nGain);
        if (nResult == RET_SUCCESS) {
            *pnGain = nGain;
        }
        return nResult;
    });
    ApiLog(L"ZDQAPI::--ZDQ_AWAIBA_GetGain(%d). Ret(%d)", nGain, nRet);
    return nRet;
}

int ZDQ_AWAIBA_GetBlackLevelRange(int nIndex, int /*nSegment*/, int* pnMin, int* pnMax) {
    return WithDevice(nIndex, [&](CDevice& device) { return FullByteRange(device, pnMin, pnMax); });
}

int ZDQ_AWAIBA_SetBlackLevel(int nIndex, int nSegment, int nLevel) {
    ApiLog(L"ZDQAPI::++ZDQ_AWAIBA_SetBlackLevel(%d, %d, %d).", nIndex, nSegment, nLevel);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        return device.AwaibaSetBlackLevel(nSegment, static_cast<uint16_t>(nLevel));
    });
    ApiLog(L"ZDQAPI::--ZDQ_AWAIBA_SetBlackLevel.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_AWAIBA_GetBlackLevel(int nIndex, int nSegment, int* pnLevel) {
    ApiLog(L"ZDQAPI::++ZDQ_AWAIBA_GetBlackLevel(%d, %d).", nIndex, nSegment);
    int nLevel = 0;
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (pnLevel == nullptr) {
            return RET_PARAMERROR;
        }
        *pnLevel = 0;
        const int nResult = device.AwaibaGetBlackLevel(nSegment, &nLevel);
        if (nResult == RET_SUCCESS) {
            *pnLevel = nLevel;
        }
        return nResult;
    });
    ApiLog(L"ZDQAPI::--ZDQ_AWAIBA_GetBlackLevel(%d). Ret(%d)", nLevel, nRet);
    return nRet;
}

int ZDQ_AWAIBA_AutoBlackLevel(int nIndex, int nSegment) {
    ApiLog(L"ZDQAPI::++ZDQ_AWAIBA_AutoBlackLevel(%d, %d).", nIndex, nSegment);
    const int nRet = WithDevice(
        nIndex, [&](CDevice& device) { return device.AwaibaAutoBlackLevelSeg(nSegment & 0xFF); });
    ApiLog(L"ZDQAPI::--ZDQ_AWAIBA_AutoBlackLevel.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_AWAIBA_SetSplitSegment(int nIndex, unsigned char bySplit) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.AwaibaSetSplitSegment(bySplit);
        return RET_SUCCESS;
    });
}

int ZDQ_AWAIBA_GetSplitSegment(int nIndex, unsigned char* pbSplit) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pbSplit, device.AwaibaSplitSegment());
        return RET_SUCCESS;
    });
}
