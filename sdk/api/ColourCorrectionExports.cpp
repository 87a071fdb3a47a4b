// Exports of the colour correction: the matrix and the colour-correct tables.
#include <algorithm>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

namespace {

int LeaveWith(const wchar_t* pszName, int nRet) {
    ApiLog(L"ZDQAPI::--%ls.Ret(%d)", pszName, nRet);
    return nRet;
}

template <typename Operation>
int WithColourDevice(int nIndex, Operation&& operation) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.IsMonochrome() ? RET_NOTSUPPORT : operation(device);
    });
}

int ColourResult(const CDevice& device) {
    return device.IsMonochrome() ? RET_NOTSUPPORT : RET_SUCCESS;
}

}  // namespace

int ZDQ_ColorCorrectionSet(int nIndex, int nMode) {
    ApiLog(L"ZDQAPI::++ZDQ_ColorCorrectionSet(%d, %d).", nIndex, nMode);
    const int nRet = WithColourDevice(
        nIndex, [&](CDevice& device) { return device.ColourMatrix().SetMode(nMode); });
    return LeaveWith(L"ZDQ_ColorCorrectionSet", nRet);
}

int ZDQ_ColorCorrectionGet(int nIndex, int* pnMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pnMode, device.ColourMatrix().Mode());
        return ColourResult(device);
    });
}

int ZDQ_ColorCorrectionPresettingSet(int nIndex, int nPreset) {
    return WithColourDevice(
        nIndex, [&](CDevice& device) { return device.ColourMatrix().SetPreset(nPreset); });
}

int ZDQ_ColorCorrectionPresettingGet(int nIndex, int* pnPreset) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pnPreset, device.ColourMatrix().Preset());
        return ColourResult(device);
    });
}

int ZDQ_ColorCorrectionMatrixSet(int nIndex, float* pfMatrix) {
    if (pfMatrix != nullptr) {
        ApiLog(L"ZDQAPI::++ZDQ_ColorCorrectionMatrixSet(%d, %0.2f, %0.2f, %0.2f)", nIndex,
               pfMatrix[0], pfMatrix[1], pfMatrix[2]);
    } else {
        ApiLog(L"ZDQAPI::++ZDQ_ColorCorrectionMatrixSet(%d)", nIndex);
    }
    const int nRet = WithColourDevice(nIndex, [&](CDevice& device) {
        return pfMatrix == nullptr ? RET_PARAMERROR : device.ColourMatrix().SetMatrix(pfMatrix);
    });
    return LeaveWith(L"ZDQ_ColorCorrectionMatrixSet", nRet);
}

int ZDQ_ColorCorrectionMatrixGet(int nIndex, float* pfMatrix) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pfMatrix == nullptr) {
            return RET_PARAMERROR;
        }
        device.ColourMatrix().Matrix(pfMatrix);
        return ColourResult(device);
    });
}

int ZDQ_ColorCorrectSetCallback(int nIndex, ColorCorrectCallback pfCallback, void* lpContext) {
    return WithColourDevice(nIndex, [&](CDevice& device) {
        device.ColourCorrectTables().SetCallback(pfCallback, lpContext);
        return RET_SUCCESS;
    });
}

int ZDQ_ColorCorrectSet(int nIndex, int nMode, int nRed, int nGreen, int nBlue) {
    return WithColourDevice(nIndex, [&](CDevice& device) {
        device.ColourCorrectTables().Set(nMode, nRed, nGreen, nBlue);
        return RET_SUCCESS;
    });
}

int ZDQ_ColorCorrectGet(int nIndex, int* pnMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pnMode == nullptr) {
            return RET_PARAMERROR;
        }
        *pnMode = device.ColourCorrectTables().Mode();
        return RET_SUCCESS;
    });
}

int ZDQ_ColorCorrectGetEx(int nIndex, int* pnMode, int* pnRed, int* pnGreen, int* pnBlue) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pnMode == nullptr || pnRed == nullptr || pnGreen == nullptr || pnBlue == nullptr) {
            return RET_PARAMERROR;
        }
        device.ColourCorrectTables().Get(pnMode, pnRed, pnGreen, pnBlue);
        return RET_SUCCESS;
    });
}

int ZDQ_ColorCorrectTableSave(int nIndex, const wchar_t* pszFile) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.ColourCorrectTables().Save(pszFile, device.DeviceType());
    });
}

int ZDQ_ColorCorrectTableLoad(int nIndex, const wchar_t* pszFile) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.ColourCorrectTables().Load(pszFile); });
}

int ZDQ_IsColorCorrectTableLoad(int nIndex, bool* pbLoad) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pbLoad, device.ColourCorrectTables().Loaded());
        return RET_SUCCESS;
    });
}
