// Exports of the Bayer mode and the demosaic algorithm of the colour path.
#include "ZDQApi.h"
#include "api/ExportFrame.h"

int ZDQ_BayerGetDefaultMode(int nIndex, int* pMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pMode != nullptr) {
            *pMode = device.BayerDefaultMode();
        }
        return RET_SUCCESS;
    });
}

int ZDQ_BayerSetMode(int nIndex, int nMode) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.BayerSetMode(nMode); });
}

int ZDQ_BayerGetMode(int nIndex, int* pMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pMode != nullptr) {
            *pMode = device.BayerMode();
        }
        return RET_SUCCESS;
    });
}

int ZDQ_FilterSetMode(int nIndex, int nMode) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.FilterSetMode(nMode); });
}

int ZDQ_FilterGetMode(int nIndex, int* pMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pMode != nullptr) {
            *pMode = device.FilterMode();
        }
        return RET_SUCCESS;
    });
}
