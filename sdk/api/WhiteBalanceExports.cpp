// Exports of the white balance: the gain loop and the white-balance modes.
#include <algorithm>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

namespace {

int LeaveWith(const wchar_t* pszName, int nRet) {
    ApiLog(L"ZDQAPI::--%ls.Ret(%d)", pszName, nRet);
    return nRet;
}

// RET_NOTSUPPORT for a monochrome camera, else the operation's result.
template <typename Operation>
int WithColourDevice(int nIndex, Operation&& operation) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.IsMonochrome() ? RET_NOTSUPPORT : operation(device);
    });
}

// The gain loop steps the sensor gains: not for sensors with one gain.
bool HasColourGains(CDevice& device) {
    return !device.IsMonochrome() && !device.Capability().Has(SensorCap::bmGlobalGain);
}

// A getter that writes its output also on a monochrome camera.
int ColourResult(const CDevice& device) {
    return device.IsMonochrome() ? RET_NOTSUPPORT : RET_SUCCESS;
}

}  // namespace

int ZDQ_AWBSetRegion(int nIndex, int x, int y, int nWidth, int nHeight) {
    ApiLog(L"ZDQAPI::++ZDQ_AWBSetRegion(%d, %d, %d, %d, %d)", nIndex, x, y, nWidth, nHeight);
    const int nRet = WithColourDevice(nIndex, [&](CDevice& device) {
        device.WhiteBalance().SetRegion(FrameRegion{x, y, nWidth, nHeight});
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AWBSetRegion", nRet);
}

int ZDQ_AWBGetRegion(int nIndex, int* x, int* y, int* pnWidth, int* pnHeight, bool* pbShow) {
    return WithColourDevice(nIndex, [&](CDevice& device) {
        const FrameRegion region = device.WhiteBalance().Region();
        SetOut(x, region.x);
        SetOut(y, region.y);
        SetOut(pnWidth, region.width);
        SetOut(pnHeight, region.height);
        SetOut(pbShow, device.WhiteBalance().RegionShown());
        return RET_SUCCESS;
    });
}

int ZDQ_AWBShowRegion(int nIndex, bool bShow) {
    return WithColourDevice(nIndex, [&](CDevice& device) {
        device.WhiteBalance().ShowRegion(bShow);
        return RET_SUCCESS;
    });
}

int ZDQ_AWBSetCallback(int nIndex, AWBCallback pfCallback, void* lpContext) {
    ApiLog(L"ZDQAPI::++ZDQ_AWBSetCallback(%d, 0x%x, 0x%x)", nIndex,
           LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(lpContext));
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (!HasColourGains(device)) {
            return RET_NOTSUPPORT;
        }
        device.WhiteBalance().SetGainLoopCallback(pfCallback, lpContext);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AWBSetCallback", nRet);
}

int ZDQ_AWBStart(int nIndex, bool bStart, int nMaxCount, int nRedTarget, int nGreenTarget,
                 int nBlueTarget) {
    ApiLog(L"ZDQAPI::++ZDQ_AWBStart(%d, %d, %d, %d, %d, %d)", nIndex, bStart ? 1 : 0, nMaxCount,
           nRedTarget, nGreenTarget, nBlueTarget);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (!HasColourGains(device)) {
            return RET_NOTSUPPORT;
        }
        device.WhiteBalance().StartGainLoop(bStart, nMaxCount, nRedTarget, nGreenTarget,
                                            nBlueTarget);
        return RET_SUCCESS;
    });
    return LeaveWith(L"ZDQ_AWBStart", nRet);
}

int ZDQ_WhiteBalanceSet(int nIndex, int nMode) {
    ApiLog(L"ZDQAPI::++ZDQ_WhiteBalanceSet(%d, %d).", nIndex, nMode);
    const int nRet = WithColourDevice(
        nIndex, [&](CDevice& device) { return device.WhiteBalance().SetMode(nMode); });
    return LeaveWith(L"ZDQ_WhiteBalanceSet", nRet);
}

int ZDQ_WhiteBalanceGet(int nIndex, int* pnMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pnMode, device.WhiteBalance().Mode());
        return ColourResult(device);
    });
}

int ZDQ_WhiteBalanceAutoSet(int nIndex, int nThreshold) {
    ApiLog(L"ZDQAPI::++ZDQ_WhiteBalanceAutoSet(%d, %d).", nIndex, nThreshold);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.WhiteBalance().SetAutoThreshold(nThreshold);
        return ColourResult(device);
    });
    return LeaveWith(L"ZDQ_WhiteBalanceAutoSet", nRet);
}

int ZDQ_WhiteBalanceAutoGet(int nIndex, int* pnThreshold) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pnThreshold == nullptr) {
            return RET_PARAMERROR;
        }
        *pnThreshold = device.WhiteBalance().AutoThreshold();
        return ColourResult(device);
    });
}

int ZDQ_WhiteBalanceMatrixSet(int nIndex, float* pfMatrix) {
    if (pfMatrix != nullptr) {
        ApiLog(L"ZDQAPI::++ZDQ_WhiteBalanceMatrixSet(%d, %0.2f, %0.2f, %0.2f)", nIndex, pfMatrix[0],
               pfMatrix[1], pfMatrix[2]);
    } else {
        ApiLog(L"ZDQAPI::++ZDQ_WhiteBalanceMatrixSet(%d)", nIndex);
    }
    const int nRet = WithColourDevice(nIndex, [&](CDevice& device) {
        return pfMatrix == nullptr ? RET_PARAMERROR : device.WhiteBalance().SetGains(pfMatrix);
    });
    return LeaveWith(L"ZDQ_WhiteBalanceMatrixSet", nRet);
}

int ZDQ_WhiteBalanceMatrixGet(int nIndex, float* pfMatrix) {
    ApiLog(L"ZDQAPI::++ZDQ_WhiteBalanceMatrixGet(%d).", nIndex);
    float fGains[3] = {};
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (pfMatrix == nullptr) {
            return RET_PARAMERROR;
        }
        device.WhiteBalance().Gains(fGains);
        std::copy_n(fGains, 3, pfMatrix);
        return ColourResult(device);
    });
    ApiLog(L"ZDQAPI::--ZDQ_WhiteBalanceMatrixGet(%d, %0.2f, %0.2f, %0.2f).Ret(%d)", nIndex,
           fGains[0], fGains[1], fGains[2], nRet);
    return nRet;
}

int ZDQ_WhiteBalanceAutoSetCallBack(int nIndex, WhiteBalanceAutoCallback pfCallback,
                                    void* lpContext) {
    ApiLog(L"ZDQAPI::++ZDQ_WhiteBalanceAutoSetCallBack(%d, 0x%x, 0x%x).", nIndex,
           LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(lpContext));
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.WhiteBalance().SetAutoCallback(pfCallback, lpContext);
        return ColourResult(device);
    });
    return LeaveWith(L"ZDQ_WhiteBalanceAutoSetCallBack", nRet);
}

int ZDQ_WhiteBalanceAutoSetCallBackEx(int nIndex, WhiteBalanceAutoCallbackEx pfCallback,
                                      void* lpContext) {
    ApiLog(L"ZDQAPI::++ZDQ_WhiteBalanceAutoSetCallBackEx(%d, 0x%x, 0x%x).", nIndex,
           LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(lpContext));
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.WhiteBalance().SetAutoCallbackEx(pfCallback, lpContext);
        return ColourResult(device);
    });
    return LeaveWith(L"ZDQ_WhiteBalanceAutoSetCallBackEx", nRet);
}

int ZDQ_WhiteBalancePresettingSet(int nIndex, int nPreset) {
    ApiLog(L"ZDQAPI::++ZDQ_WhiteBalancePresettingSet(%d, %d).", nIndex, nPreset);
    const int nRet = WithColourDevice(
        nIndex, [&](CDevice& device) { return device.WhiteBalance().SetPreset(nPreset); });
    return LeaveWith(L"ZDQ_WhiteBalancePresettingSet", nRet);
}

int ZDQ_WhiteBalancePresettingGet(int nIndex, int* pnPreset) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pnPreset, device.WhiteBalance().Preset());
        return ColourResult(device);
    });
}
