// Exports of the automatic exposure, the focus measure and the sensor's own
// automatic exposure and gain.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

namespace {

// The lowest gain step of a sensor's automatic gain.
constexpr unsigned short kAgcMinGain = 16;

// The leave line "ZDQAPI::--<name>.Ret(<result>)" of the exports that log
// their arguments.
int LeaveWith(const wchar_t* pszName, int nRet) {
    ApiLog(L"ZDQAPI::--%ls.Ret(%d)", pszName, nRet);
    return nRet;
}

int GetRegion(const FrameRegion& region, bool bShown, int* x, int* y, int* pnWidth, int* pnHeight,
              bool* pbShow) {
    SetOut(pbShow, bShown);
    SetOut(x, region.x);
    SetOut(y, region.y);
    SetOut(pnWidth, region.width);
    SetOut(pnHeight, region.height);
    return RET_SUCCESS;
}

}  // namespace

int ZDQ_AESetRegion(int nIndex, int x, int y, int nWidth, int nHeight) {
    ApiLog(L"ZDQAPI::++ZDQ_AESetRegion(%d, %d, %d, %d, %d)", nIndex, x, y, nWidth, nHeight);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.AutoExposure().SetRegion(FrameRegion{x, y, nWidth, nHeight});
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AESetRegion", nRet);
}

int ZDQ_AEGetRegion(int nIndex, int* x, int* y, int* pnWidth, int* pnHeight, bool* pbShow) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const CAutoExposure& ae = device.AutoExposure();
        return GetRegion(ae.ReportedRegion(), ae.RegionShown(), x, y, pnWidth, pnHeight, pbShow);
    });
}

int ZDQ_AEShowRegion(int nIndex, bool bShow) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.AutoExposure().ShowRegion(bShow);
        return RET_SUCCESS;
    });
}

int ZDQ_AESetPeakAveRatio(int nIndex, float fRatio) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.AutoExposure().SetPeakAveRatio(fRatio);
        return RET_SUCCESS;
    });
}

int ZDQ_AEGetPeakAveRatio(int nIndex, float* pfRatio) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pfRatio, device.AutoExposure().PeakAveRatio());
        return RET_SUCCESS;
    });
}

int ZDQ_AESetExposureTimeRange(int nIndex, float fMinMs, float fMaxMs) {
    ApiLog(L"ZDQAPI::++ZDQ_AESetExposureTimeRange(%d, %0.2f, %0.2f)", nIndex, fMinMs, fMaxMs);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.AutoExposure().SetExposureTimeRange(fMinMs, fMaxMs);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AESetExposureTimeRange", nRet);
}

int ZDQ_AEGetExposureTimeRange(int nIndex, float* pfMinMs, float* pfMaxMs) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pfMinMs, device.AutoExposure().ExposureTimeMin());
        SetOut(pfMaxMs, device.AutoExposure().ExposureTimeMax());
        return RET_SUCCESS;
    });
}

int ZDQ_AESetCallback(int nIndex, AECallback pfCallback, void* lpContext) {
    const unsigned nCallback = LogPointer(reinterpret_cast<const void*>(pfCallback));
    ApiLog(L"ZDQAPI::++ZDQ_AESetCallback(%d, 0x%x, 0x%x)", nIndex, nCallback,
           LogPointer(lpContext));
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        LogPrint(device.Log(), LOGLEVEL_NORMAL, L"ZDQAPI::AESetCallback(0x%04x, 0x%04x).",
                 nCallback, LogPointer(lpContext));
        device.AutoExposure().SetCallback(pfCallback, lpContext);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AESetCallback", nRet);
}

int ZDQ_AESetCallbackEx(int nIndex, AECallbackEx pfCallback, void* lpContext) {
    const unsigned nCallback = LogPointer(reinterpret_cast<const void*>(pfCallback));
    ApiLog(L"ZDQAPI::++ZDQ_AESetCallbackEx(%d, 0x%x, 0x%x)", nIndex, nCallback,
           LogPointer(lpContext));
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        LogPrint(device.Log(), LOGLEVEL_NORMAL, L"ZDQAPI::AESetCallbackEx(0x%04x, 0x%04x).",
                 nCallback, LogPointer(lpContext));
        device.AutoExposure().SetCallbackEx(pfCallback, lpContext);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AESetCallbackEx", nRet);
}

int ZDQ_AESetMaxCount(int nIndex, int nMaxCount) {
    ApiLog(L"ZDQAPI::++ZDQ_AESetMaxCount(%d, %d)", nIndex, nMaxCount);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.AutoExposure().SetMaxCount(nMaxCount);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AESetMaxCount", nRet);
}

int ZDQ_AESetTarget(int nIndex, int nTarget) {
    ApiLog(L"ZDQAPI::++ZDQ_AESetTarget(%d, %d)", nIndex, nTarget);
    const int nRet = WithDevice(
        nIndex, [&](CDevice& device) { return device.AutoExposure().SetTarget(nTarget); });
    return LeaveWith(L"ZDQ_AESetTarget", nRet);
}

int ZDQ_AEStart(int nIndex, bool bStart, int nMaxCount, int nTarget) {
    ApiLog(L"ZDQAPI::++ZDQ_AEStart(%d, %d, %d, %d)", nIndex, bStart ? 1 : 0, nMaxCount, nTarget);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.AutoExposure().Start(bStart, nMaxCount, nTarget);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AEStart", nRet);
}

int ZDQ_AEStartEx(int nIndex, bool bStart) {
    ApiLog(L"ZDQAPI::++ZDQ_AEStartEx(%d, %d)", nIndex, bStart ? 1 : 0);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.AutoExposure().StartEx(bStart);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AEStartEx", nRet);
}

int ZDQ_AEGetStatusEx(int nIndex, bool* pbStart, int* pnMaxCount, int* pnTarget) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const CAutoExposure& ae = device.AutoExposure();
        SetOut(pbStart, ae.Started());
        SetOut(pnMaxCount, ae.MaxCount());
        SetOut(pnTarget, ae.Target());
        return RET_SUCCESS;
    });
}

int ZDQ_AFSetRegion(int nIndex, int x, int y, int nWidth, int nHeight) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.FocusMeasure().SetRegion(FrameRegion{x, y, nWidth, nHeight});
        return RET_SUCCESS;
    });
}

int ZDQ_AFGetRegion(int nIndex, int* x, int* y, int* pnWidth, int* pnHeight, bool* pbShow) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const CFocusMeasure& af = device.FocusMeasure();
        return GetRegion(af.Region(), af.RegionShown(), x, y, pnWidth, pnHeight, pbShow);
    });
}

int ZDQ_AFShowRegion(int nIndex, bool bShow) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.FocusMeasure().ShowRegion(bShow);
        return RET_SUCCESS;
    });
}

int ZDQ_AFSetCallback(int nIndex, AFCallback pfCallback, void* lpContext) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.FocusMeasure().SetCallback(pfCallback, lpContext);
        return RET_SUCCESS;
    });
}

int ZDQ_AFStart(int nIndex, bool bStart) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.FocusMeasure().Start(bStart);
        return RET_SUCCESS;
    });
}

int ZDQ_AECSetEnable(int nIndex, bool bEnable) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.AutoExposure().AECSetEnable(bEnable); });
}

int ZDQ_AECGetEnable(int nIndex, bool* pbEnable) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SensorAECGetEnable(pbEnable); });
}

int ZDQ_AECSetRange(int nIndex, unsigned short usMin, unsigned short usMax) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.SensorAECSetRange(usMin, usMax); });
}

int ZDQ_AECGetRange(int nIndex, unsigned short* pusMin, unsigned short* pusMax) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.SensorAECGetRange(pusMin, pusMax); });
}

int ZDQ_AECGetCur(int nIndex, unsigned short* pusCur) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SensorAECGetCur(pusCur); });
}

// The sensor's own automatic gain (the MT9V034's); its gain steps count from
// the chip's lowest analogue gain code.
int ZDQ_AGCSetEnable(int nIndex, bool bEnable) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SensorAGCSetEnable(bEnable); });
}

int ZDQ_AGCGetEnable(int nIndex, bool* pbEnable) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pbEnable == nullptr) {
            return RET_PARAMERROR;
        }
        return device.SensorAGCGetEnable(pbEnable);
    });
}

int ZDQ_AGCSetRange(int nIndex, unsigned short /*usMin*/, unsigned short usMax) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SensorAGCSetMax(usMax); });
}

int ZDQ_AGCGetRange(int nIndex, unsigned short* pusMin, unsigned short* pusMax) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pusMin, kAgcMinGain);
        return device.SensorAGCGetMax(pusMax);
    });
}

int ZDQ_AGCGetCur(int nIndex, unsigned short* pusCur) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SensorAGCGetCur(pusCur); });
}
