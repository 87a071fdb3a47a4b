// Exports of the camera's memory: the parameter block, serial byte and
// description, working and colour modes, the stored LUT and gamma LUT, and
// the FPGA's white-balance gains and colour matrix (programmed, read back,
// or uploaded from the FPGA).
#include "ZDQApi.h"
#include "api/ExportFrame.h"

namespace {

constexpr float kFixedOne = 4096.0f;

// The FPGA's current values of nCount registers from nFirst (x 1/4096,
// signed or not) into pOut; the first failing read ends it with its code
// and nothing is written.
int UploadFpgaValues(CDevice& device, int nFirst, int nCount, bool bSigned, float* pOut) {
    if (device.IsMonochrome()) {
        return RET_NOTSUPPORT;
    }
    if (pOut == nullptr) {
        return RET_PARAMERROR;
    }
    uint16_t wValues[9] = {};
    for (int i = 0; i < nCount; ++i) {
        const int nRet = device.Fpga().Fpga_RdReg(nFirst + i, &wValues[i]);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    for (int i = 0; i < nCount; ++i) {
        const float fValue = bSigned ? static_cast<float>(static_cast<int16_t>(wValues[i]))
                                     : static_cast<float>(wValues[i]);
        pOut[i] = fValue / kFixedOne;
    }
    return RET_SUCCESS;
}

}  // namespace

int ZDQ_ParamProgram(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_ParamProgram", nIndex,
                            [&](CDevice& device) { return device.ParamProgram(); });
}

int ZDQ_ParamErase(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_ParamErase", nIndex,
                            [&](CDevice& device) { return device.ParamErase(); });
}

int ZDQ_LoadParamFromCamera(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_LoadParamFromCamera", nIndex,
                            [&](CDevice& device) { return device.LoadParamFromCamera(); });
}

int ZDQ_SetSerials(int nIndex, int nSerial) {
    ApiLog(L"ZDQAPI::++ZDQ_SetSerials(%d, %d).", nIndex, nSerial);
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.Memory().SetSerial(nSerial); });
    ApiLog(L"ZDQAPI::--ZDQ_SetSerials(Ret = %d).", nRet);
    return nRet;
}

int ZDQ_GetSerials(int nIndex, unsigned char* pSerial) {
    if (pSerial == nullptr) {
        return RET_PARAMERROR;
    }
    ApiLog(L"ZDQAPI::++ZDQ_GetSerials.");
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.Memory().GetSerial(pSerial); });
    ApiLog(L"ZDQAPI::--ZDQ_GetSerials(%d, %d).", static_cast<int>(*pSerial), nRet);
    return nRet;
}

int ZDQ_SerialsDescProgram(int nIndex, unsigned char* pDescription) {
    return LoggedDeviceCall(L"ZDQ_SerialsDescProgram", nIndex, [&](CDevice& device) {
        return device.Memory().SerialsDescProgram(pDescription);
    });
}

int ZDQ_SerialsDescReadout(int nIndex, unsigned char* pDescription) {
    return LoggedDeviceCall(L"ZDQ_SerialsDescReadout", nIndex, [&](CDevice& device) {
        return device.Memory().SerialsDescReadout(pDescription);
    });
}

int ZDQ_WorkingModeProgram(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_WorkingModeProgram", nIndex, [&](CDevice& device) {
        return device.Memory().WorkingModeProgram(nMode);
    });
}

int ZDQ_WorkingModeReadout(int nIndex, unsigned short* pnMode) {
    return LoggedDeviceCall(L"ZDQ_WorkingModeReadout", nIndex, [&](CDevice& device) {
        return device.Memory().WorkingModeReadout(pnMode);
    });
}

int ZDQ_WorkingModeExProgram(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_WorkingModeExProgram", nIndex, [&](CDevice& device) {
        return device.Memory().WorkingModeExProgram(nMode);
    });
}

int ZDQ_WorkingModeExReadout(int nIndex, unsigned char* pMode) {
    return LoggedDeviceCall(L"ZDQ_WorkingModeExReadout", nIndex, [&](CDevice& device) {
        return device.Memory().WorkingModeExReadout(pMode);
    });
}

int ZDQ_ColorModeProgram(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_ColorModeProgram", nIndex, [&](CDevice& device) {
        return device.Memory().ColorModeProgram(nMode);
    });
}

int ZDQ_ColorModeReadout(int nIndex, unsigned short* pnMode) {
    return LoggedDeviceCall(L"ZDQ_ColorModeReadout", nIndex, [&](CDevice& device) {
        return device.Memory().ColorModeReadout(pnMode);
    });
}

int ZDQ_LutInfoProgram(int nIndex, int nLength) {
    return LoggedDeviceCall(L"ZDQ_LutInfoProgram", nIndex, [&](CDevice& device) {
        return device.Memory().LutInfoProgram(nLength);
    });
}

int ZDQ_LutInfoReadout(int nIndex, unsigned short* pnLength) {
    return LoggedDeviceCall(L"ZDQ_LutInfoReadout", nIndex, [&](CDevice& device) {
        return device.Memory().LutInfoReadout(pnLength);
    });
}

int ZDQ_LutDataProgram(int nIndex, unsigned char* pData, int nLength) {
    return LoggedDeviceCall(L"ZDQ_LutDataProgram", nIndex,
                            [&](CDevice& device) { return device.LutDataProgram(pData, nLength); });
}

int ZDQ_LutDataReadout(int nIndex, unsigned char* pData, int* pnLength) {
    return LoggedDeviceCall(L"ZDQ_LutDataReadout", nIndex, [&](CDevice& device) {
        return device.Memory().LutDataReadout(pData, pnLength);
    });
}

int ZDQ_LutFileProgram(int nIndex, const wchar_t* pszFile) {
    return LoggedDeviceCall(L"ZDQ_LutFileProgram", nIndex,
                            [&](CDevice& device) { return device.LutFileProgram(pszFile); });
}

int ZDQ_GammaLutInfoProgram(int nIndex, int nLength) {
    return LoggedDeviceCall(L"ZDQ_GammaLutInfoProgram", nIndex, [&](CDevice& device) {
        return device.Memory().GammaLutInfoProgram(nLength);
    });
}

int ZDQ_GammaLutInfoReadout(int nIndex, unsigned short* pnLength) {
    return LoggedDeviceCall(L"ZDQ_GammaLutInfoReadout", nIndex, [&](CDevice& device) {
        return device.Memory().GammaLutInfoReadout(pnLength);
    });
}

int ZDQ_GammaLutDataProgram(int nIndex, unsigned short* pData, int nLength) {
    return LoggedDeviceCall(L"ZDQ_GammaLutDataProgram", nIndex, [&](CDevice& device) {
        return device.GammaLutDataProgram(pData, nLength);
    });
}

int ZDQ_GammaLutDataReadout(int nIndex, unsigned short* pData, int* pnLength) {
    return LoggedDeviceCall(L"ZDQ_GammaLutDataReadout", nIndex, [&](CDevice& device) {
        return device.Memory().GammaLutDataReadout(pData, pnLength);
    });
}

int ZDQ_GammaLutFileProgram(int nIndex, const wchar_t* pszFile) {
    return LoggedDeviceCall(L"ZDQ_GammaLutFileProgram", nIndex,
                            [&](CDevice& device) { return device.GammaLutFileProgram(pszFile); });
}

int ZDQ_HWBMatrixProgram(int nIndex, float* pfGains) {
    return LoggedDeviceCall(L"ZDQ_HWBMatrixProgram", nIndex, [&](CDevice& device) {
        return device.Memory().HWBMatrixProgram(pfGains);
    });
}

int ZDQ_HWBMatrixReadout(int nIndex, float* pfGains) {
    return LoggedDeviceCall(L"ZDQ_HWBMatrixReadout", nIndex, [&](CDevice& device) {
        return device.Memory().HWBMatrixReadout(pfGains);
    });
}

int ZDQ_HWBMatrixUpload(int nIndex, float* pfGains) {
    return LoggedDeviceCall(L"ZDQ_HWBMatrixUpload", nIndex, [&](CDevice& device) {
        return UploadFpgaValues(device, FPGAREG_AWB, 3, false, pfGains);
    });
}

int ZDQ_HCCMMatrixProgram(int nIndex, float* pfMatrix) {
    return LoggedDeviceCall(L"ZDQ_HCCMMatrixProgram", nIndex, [&](CDevice& device) {
        return device.Memory().HCCMMatrixProgram(pfMatrix);
    });
}

int ZDQ_HCCMMatrixReadout(int nIndex, float* pfMatrix) {
    return LoggedDeviceCall(L"ZDQ_HCCMMatrixReadout", nIndex, [&](CDevice& device) {
        return device.Memory().HCCMMatrixReadout(pfMatrix);
    });
}

int ZDQ_HCCMMatrixUpload(int nIndex, float* pfMatrix) {
    return LoggedDeviceCall(L"ZDQ_HCCMMatrixUpload", nIndex, [&](CDevice& device) {
        return UploadFpgaValues(device, FPGAREG_CCM, 9, true, pfMatrix);
    });
}
