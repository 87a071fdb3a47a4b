#include "camera/ZdqCameraCtrl.h"

#include <QApplication>
#include <QMessageBox>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex g_instanceMutex;
ZdqCameraCtrl* g_instance = nullptr;
}  // namespace

ZdqCameraCtrl* ZdqCameraCtrl::getInstance() {
    QMutexLocker locker(&g_instanceMutex);
    if (!g_instance) {
        g_instance = new ZdqCameraCtrl();
    }
    return g_instance;
}

void ZdqCameraCtrl::postWarning(const QString& text) {
    QMetaObject::invokeMethod(
        qApp,
        [text] {
            QMessageBox::warning(nullptr, QCoreApplication::translate("ZdqCameraCtrl", "Warning"),
                                 text);
        },
        Qt::QueuedConnection);
}

ZdqCameraCtrl::Access ZdqCameraCtrl::cameraAccess() {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    ::ZDQ_Init();
    if (::ZDQ_DeviceGetCount() <= 0) {
        return Access::Missing;
    }
    // The SDK counts a camera another program has claimed but cannot open
    // it: each device call on its index fails.
    int type = 0;
    int serial = 0;
    unsigned short firmware = 0;
    if (::ZDQ_DeviceGetInformation(0, &type, &serial, &firmware) != RET_SUCCESS) {
        return Access::HeldElsewhere;
    }
    return Access::Ready;
}

QString ZdqCameraCtrl::accessWarning(Access access) {
    switch (access) {
        case Access::Missing:
            return QCoreApplication::translate("ZdqCameraCtrl", "ZdqCamera connect error.");
        case Access::HeldElsewhere:
            return QCoreApplication::translate(
                "ZdqCameraCtrl", "ZdqCamera is in use by another program (another station).");
        case Access::Ready:
            break;
    }
    return QString();
}

int ZdqCameraCtrl::ZDQ_Init() {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_Init();
}

int ZdqCameraCtrl::ZDQ_UnInit() {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_UnInit();
}

int ZdqCameraCtrl::ZDQ_DeviceGetCount() {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_DeviceGetCount();
}

int ZdqCameraCtrl::ZDQ_DeviceGetInformation(int nIndex, int* pType, int* pSerial,
                                            unsigned short* pFirmware) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_DeviceGetInformation(nIndex, pType, pSerial, pFirmware);
}

int ZdqCameraCtrl::ZDQ_CaptureGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart,
                                                    int* pColSize, int* pRowSize, int* pAmCol,
                                                    int* pAmRow) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_CaptureGetDefaultFieldOfView(nIndex, pColStart, pRowStart, pColSize, pRowSize,
                                              pAmCol, pAmRow);
}

int ZdqCameraCtrl::ZDQ_CaptureGetSize(int nIndex, int* pWidth, int* pHeight) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_CaptureGetSize(nIndex, pWidth, pHeight);
}

int ZdqCameraCtrl::ZDQ_CaptureGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_CaptureGetSizeEx(nIndex, pWidth, pHeight, pBitCount);
}

int ZdqCameraCtrl::ZDQ_CaptureSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                             int nRowSize, int nAmCol, int nAmRow) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_CaptureSetFieldOfView(nIndex, nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                       nAmRow);
}

int ZdqCameraCtrl::ZDQ_CaptureGetFieldOfView(int nIndex, int* pColStart, int* pRowStart,
                                             int* pColSize, int* pRowSize, int* pAmCol,
                                             int* pAmRow) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_CaptureGetFieldOfView(nIndex, pColStart, pRowStart, pColSize, pRowSize, pAmCol,
                                       pAmRow);
}

int ZdqCameraCtrl::ZDQ_GetParamRange(int nIndex, ZDQ_PARAM param, int* pMin, int* pMax) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_GetParamRange(nIndex, param, pMin, pMax);
}

int ZdqCameraCtrl::ZDQ_SetParam(int nIndex, ZDQ_PARAM param, int nValue) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_SetParam(nIndex, param, nValue);
}

int ZdqCameraCtrl::ZDQ_GetParam(int nIndex, ZDQ_PARAM param, int* pValue) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_GetParam(nIndex, param, pValue);
}

int ZdqCameraCtrl::ZDQ_CaptureRawData(int nIndex, unsigned char* pBuffer) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_CaptureRawData(nIndex, pBuffer);
}

int ZdqCameraCtrl::ZDQ_SetData16Bits(int nIndex, bool bOn) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_SetData16Bits(nIndex, bOn);
}

int ZdqCameraCtrl::ZDQ_HelperSaveToBmp(const unsigned char* pData, int nWidth, int nHeight,
                                       int nBitCount, const wchar_t* pszFileName) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_HelperSaveToBmp(pData, nWidth, nHeight, nBitCount, pszFileName);
}

int ZdqCameraCtrl::ZDQ_HelperSaveToJpg(const unsigned char* pData, int nWidth, int nHeight,
                                       int nBitCount, int nQuality, const wchar_t* pszFileName) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_HelperSaveToJpg(pData, nWidth, nHeight, nBitCount, nQuality, pszFileName);
}

int ZdqCameraCtrl::ZDQ_DeviceClose(int nIndex) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_DeviceClose(nIndex);
}

int ZdqCameraCtrl::ZDQ_PreviewGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart,
                                                    int* pColSize, int* pRowSize, int* pAmCol,
                                                    int* pAmRow) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewGetDefaultFieldOfView(nIndex, pColStart, pRowStart, pColSize, pRowSize,
                                              pAmCol, pAmRow);
}

int ZdqCameraCtrl::ZDQ_PreviewGetSize(int nIndex, int* pWidth, int* pHeight) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewGetSize(nIndex, pWidth, pHeight);
}

int ZdqCameraCtrl::ZDQ_PreviewGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewGetSizeEx(nIndex, pWidth, pHeight, pBitCount);
}

int ZdqCameraCtrl::ZDQ_PreviewSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                             int nRowSize, int nAmCol, int nAmRow) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewSetFieldOfView(nIndex, nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                       nAmRow);
}

int ZdqCameraCtrl::ZDQ_PreviewGetFieldOfView(int nIndex, int* pColStart, int* pRowStart,
                                             int* pColSize, int* pRowSize, int* pAmCol,
                                             int* pAmRow) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewGetFieldOfView(nIndex, pColStart, pRowStart, pColSize, pRowSize, pAmCol,
                                       pAmRow);
}

int ZdqCameraCtrl::ZDQ_PreviewSetPos(int nIndex, ZDQWindow hWnd, int nX, int nY, int nWidth,
                                     int nHeight) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewSetPos(nIndex, hWnd, nX, nY, nWidth, nHeight);
}

int ZdqCameraCtrl::ZDQ_PreviewGetPos(int nIndex, int* pX, int* pY, int* pWidth, int* pHeight) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewGetPos(nIndex, pX, pY, pWidth, pHeight);
}

int ZdqCameraCtrl::ZDQ_PreviewSetMode(int nIndex, int nMode) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewSetMode(nIndex, nMode);
}

int ZdqCameraCtrl::ZDQ_PreviewGetMode(int nIndex, int* pMode) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewGetMode(nIndex, pMode);
}

int ZdqCameraCtrl::ZDQ_PreviewGetDefaultMode(int nIndex, int* pMode) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewGetDefaultMode(nIndex, pMode);
}

int ZdqCameraCtrl::ZDQ_PreviewStart(int nIndex, bool bStart) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewStart(nIndex, bStart);
}

int ZdqCameraCtrl::ZDQ_PreviewPause(int nIndex, bool bPause) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewPause(nIndex, bPause);
}

int ZdqCameraCtrl::ZDQ_PreviewSetCallback(int nIndex, PreviewCallback pfCallback, void* pContext) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_PreviewSetCallback(nIndex, pfCallback, pContext);
}

int ZdqCameraCtrl::ZDQ_AFSetRegion(int nIndex, int x, int y, int nWidth, int nHeight) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_AFSetRegion(nIndex, x, y, nWidth, nHeight);
}

int ZdqCameraCtrl::ZDQ_AFSetCallback(int nIndex, AFCallback pfCallback, void* lpContext) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_AFSetCallback(nIndex, pfCallback, lpContext);
}

int ZdqCameraCtrl::ZDQ_AFStart(int nIndex, bool bStart) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_AFStart(nIndex, bStart);
}

int ZdqCameraCtrl::ZDQ_AESetRegion(int nIndex, int x, int y, int nWidth, int nHeight) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_AESetRegion(nIndex, x, y, nWidth, nHeight);
}

int ZdqCameraCtrl::ZDQ_AESetCallback(int nIndex, AECallback pfCallback, void* lpContext) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_AESetCallback(nIndex, pfCallback, lpContext);
}

int ZdqCameraCtrl::ZDQ_AEStart(int nIndex, bool bStart, int nMaxCount, int nTarget) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_AEStart(nIndex, bStart, nMaxCount, nTarget);
}

int ZdqCameraCtrl::ZDQ_CaptureSetTimeOutEx(int nIndex, int nMs, bool bRecover) {
    std::lock_guard<std::mutex> lock(m_sdkMutex);
    return ::ZDQ_CaptureSetTimeOutEx(nIndex, nMs, bRecover);
}
