// The application's side of the USB camera (device 0) of the gel/UV page: the
// frame of the last capture, and one forwarder per camera SDK export that the
// station uses.
//
// The SDK's device manager is created by ZDQ_Init and destroyed by ZDQ_UnInit
// without a lock of its own, so every forwarder runs under one lock: no call
// of the program into the SDK overlaps ZDQ_Init or ZDQ_UnInit, whichever
// thread makes it. The SDK's own callbacks run inside the SDK and must not
// call through here (ZDQ_UnInit waits for them while it holds the lock).
#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <QUuid>
#include <mutex>

#include "ZDQApi.h"

class ZdqCameraCtrl : public QObject {
    Q_OBJECT
  public:
    static ZdqCameraCtrl* getInstance();

    // Name, row and date of the gel/UV experiment the current capture belongs
    // to, set by the image frame when it creates the row.
    QString curExpName;
    QUuid curExpUuid;
    QDate curExpDate;
    // The 8-bit grey frame of the last finished capture, frameWidth x
    // frameHeight bytes, rows top to bottom, as the camera delivered it.
    // Allocated with new[] by the capture thread, freed with delete[] by the
    // next capture; read on the GUI thread after the capture has finished.
    uchar* frameBuffer = nullptr;
    int frameWidth = 0;
    int frameHeight = 0;

    // Shows "Warning" / text to the user from any thread; the caller never
    // waits for the box.
    void postWarning(const QString& text);

    // Whether camera 0 can serve this program: none is connected, one is
    // connected but another program (another station) holds it, or it is
    // open here. Opens the SDK (ZDQ_Init) when it is not open.
    enum class Access { Missing, HeldElsewhere, Ready };
    Access cameraAccess();
    // What the user is told about a camera that cannot serve (empty for
    // Ready).
    static QString accessWarning(Access access);

    int ZDQ_Init();
    int ZDQ_UnInit();
    int ZDQ_DeviceGetCount();
    int ZDQ_DeviceGetInformation(int nIndex, int* pType, int* pSerial, unsigned short* pFirmware);
    int ZDQ_CaptureGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                         int* pRowSize, int* pAmCol, int* pAmRow);
    int ZDQ_CaptureGetSize(int nIndex, int* pWidth, int* pHeight);
    int ZDQ_CaptureGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount);
    int ZDQ_CaptureSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                  int nRowSize, int nAmCol, int nAmRow);
    int ZDQ_CaptureGetFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                  int* pRowSize, int* pAmCol, int* pAmRow);
    int ZDQ_GetParamRange(int nIndex, ZDQ_PARAM param, int* pMin, int* pMax);
    int ZDQ_SetParam(int nIndex, ZDQ_PARAM param, int nValue);
    int ZDQ_GetParam(int nIndex, ZDQ_PARAM param, int* pValue);
    int ZDQ_CaptureRawData(int nIndex, unsigned char* pBuffer);
    int ZDQ_SetData16Bits(int nIndex, bool bOn);
    int ZDQ_HelperSaveToBmp(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                            const wchar_t* pszFileName);
    int ZDQ_HelperSaveToJpg(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                            int nQuality, const wchar_t* pszFileName);
    int ZDQ_DeviceClose(int nIndex);
    int ZDQ_PreviewGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                         int* pRowSize, int* pAmCol, int* pAmRow);
    int ZDQ_PreviewGetSize(int nIndex, int* pWidth, int* pHeight);
    int ZDQ_PreviewGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount);
    int ZDQ_PreviewSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                  int nRowSize, int nAmCol, int nAmRow);
    int ZDQ_PreviewGetFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                  int* pRowSize, int* pAmCol, int* pAmRow);
    int ZDQ_PreviewSetPos(int nIndex, ZDQWindow hWnd, int nX, int nY, int nWidth, int nHeight);
    int ZDQ_PreviewGetPos(int nIndex, int* pX, int* pY, int* pWidth, int* pHeight);
    int ZDQ_PreviewSetMode(int nIndex, int nMode);
    int ZDQ_PreviewGetMode(int nIndex, int* pMode);
    int ZDQ_PreviewGetDefaultMode(int nIndex, int* pMode);
    int ZDQ_PreviewStart(int nIndex, bool bStart);
    int ZDQ_PreviewPause(int nIndex, bool bPause);
    int ZDQ_PreviewSetCallback(int nIndex, PreviewCallback pfCallback, void* pContext);
    int ZDQ_AFSetRegion(int nIndex, int x, int y, int nWidth, int nHeight);
    int ZDQ_AFSetCallback(int nIndex, AFCallback pfCallback, void* lpContext);
    int ZDQ_AFStart(int nIndex, bool bStart);
    int ZDQ_AESetRegion(int nIndex, int x, int y, int nWidth, int nHeight);
    int ZDQ_AESetCallback(int nIndex, AECallback pfCallback, void* lpContext);
    int ZDQ_AEStart(int nIndex, bool bStart, int nMaxCount, int nTarget);
    int ZDQ_CaptureSetTimeOutEx(int nIndex, int nMs, bool bRecover);

  signals:
    // A preview has opened the SDK and found the camera; emitted on the
    // preview thread, so receivers on the GUI thread get it queued.
    void cameraFound();
    // The exposure range (ms) the camera takes at the preview's field of
    // view, read after it was set; emitted on the thread that set it.
    void exposureRangeFound(int minimum, int maximum);

  private:
    ZdqCameraCtrl() = default;
    ~ZdqCameraCtrl() override = default;

    std::mutex m_sdkMutex;
};
