/*
 * ZDQApi.h - C interface of the camera SDK libZDQApi64u.
 *
 * Every function returns an int return code: RET_SUCCESS (1) on success, a
 * negative RET_* value on failure (ZDQ_GetErrorInfo gives its text). Every
 * device function takes the device index first: 0 .. count-1, where count is
 * the number of cameras ZDQ_Init found.
 *
 * Threads: ZDQ_Init, ZDQ_UnInit, ZDQ_DeviceClose and the first call with a
 * device index must come from one thread while no other call for that device
 * runs; ZDQ_LogSet must not run while device calls run.
 *
 * Any other calls for one device may run at once on several threads. The
 * calls that start, stop, pause or resume the preview or stop it around
 * their work take turns on the device, each waiting for the one before to
 * finish: preview start, stop and pause, both field-of-view sets, the 16-bit
 * switch (ZDQ_SetData16Bits), the trigger mode and method, the fixed frame
 * rate, the line-scan start registers, the ring size and every capture. A
 * stop while another stop runs waits for it and then returns 1. Parameter
 * setters (exposure, gain, gamma and the like) run beside them and beside a
 * running preview.
 *
 * Callbacks: from a preview callback, the calls of that list for the same
 * camera return RET_STREAMNOTSTOP (-24) and do nothing (they would wait for
 * the thread that runs the callback); the parameter setters and getters may
 * be called. The automatic-exposure and focus callbacks run while the raw
 * post-processing of the frame holds its lock: they may call the parameter
 * setters and getters, but not the calls of that list (from a preview
 * thread they too get RET_STREAMNOTSTOP). A preview callback runs while the
 * shown frame is held from the colour conversion: when it calls the dark or
 * flat-field functions, the automatic-exposure and focus callbacks must not
 * call the setters of the colour path (Bayer, filter and output modes,
 * saturation, hue and saturation, the calibration map), or the two can wait
 * for each other. The white-balance and colour callbacks may call the
 * getters only; the 3D callbacks must not call the control exports of the
 * same camera.
 *
 * Buffers: every buffer passed in stays owned by the caller; the SDK writes
 * only within the sizes documented at each function and keeps no pointer to
 * it after the call returns. Text buffers are wchar_t arrays (4 bytes per
 * character on Linux).
 *
 * Logging: with [Manage] LogEnable=1 in ZDQApi.ini beside the library, the
 * library writes a user-call log (ZDQApiLog/ZDQLOG_USERCALL_<time>.log beside
 * itself) from load to unload; ZDQ_LogSet turns the per-camera logs on and off.
 */
#ifndef ZDQAPI_H
#define ZDQAPI_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ZDQ_API __attribute__((visibility("default")))

/* ---- Return codes ------------------------------------------------------- */

#define RET_SUCCESS 1            /* "Successful" */
#define RET_PARAMERROR -1        /* "Parameter Error": null or out-of-range argument */
#define RET_MALLOCFAIL -2        /* "Memory Allocation Failed" */
#define RET_NOTSUPPORT -3        /* "Operation is not Supported": the camera lacks it */
#define RET_DEVICENOTDETECTED -4 /* "Device cannt be Detected" */
#define RET_DEVICENOTINIT                                                                  \
    -5                           /* "Device wasn't Initialized": no ZDQ_Init, bad index or \
                                    a camera that failed to open */
#define RET_ILLEGALOPERATION -6  /* "Illegal Operation" */
#define RET_NOPRIVILEGE -7       /* "User No Privilege" */
#define RET_FAIL -8              /* "Fail" */
#define RET_FATALERROR -9        /* "Fatal Error" */
#define RET_RECOVERY_SUCCESS -10 /* "Device Recovery Successful" */
#define RET_RECOVERY_FAIL -11    /* "Device Recovery Fail" */
#define RET_BADFRAME -12         /* "Bad Frame From Device, Should be Discarded" */
#define RET_INVALIDFRAME -13     /* "Invalid Frame, Transmission Error" */
#define RET_ZEROFRAME -14        /* "Zero Frame, Tranmission Error" */
#define RET_VERSIONERROR -15     /* "Version Error" */
#define RET_TIMEOUT -16          /* "Time Out" */
#define RET_DEVICECLOSED -17     /* "Device Has Closed": the driver handle is closed */
#define RET_BUSNOTINIT -18       /* "Bus Not Initialized" */
#define RET_CAMERANOTCREATED -19 /* "Camera Not Created" */
#define RET_INVALIDHANDLE -20    /* "Invalidate Handle or Null Handle" */
#define RET_STREAMNOTSTART -21   /* "Stream Not Start" */
#define RET_3DNOTINIT -22        /* "3D Camera Not Initial" */
#define RET_3DNOTSUPPORT -23     /* "Not Support 3d Function" */
#define RET_STREAMNOTSTOP -24    /* "You Need Stop Strem First" */
#define RET_IOERROR -25          /* "Io Error" */
#define RET_3DINITFAIL -26       /* "3D Camera Initial Fail" */

/* Largest number of cameras (device indexes 0 .. 31). */
#define ZDQ_MAX_DEVICES 32

/* Characters, terminator included, of the buffers the SDK writes texts to. */
#define ZDQ_ERRORINFO_LENGTH 43  /* ZDQ_GetErrorInfo: the longest return-code text */
#define ZDQ_LOGFOLDER_LENGTH 260 /* ZDQ_LogGet: the log folder */

/* The USB setup packet of a vendor request (ZDQ_VendorCmd): request type
 * (bit 7 set: device to host), request, value, index and the length of the
 * data stage. */
typedef struct SetupPacket {
    unsigned char bmRequestType;
    unsigned char bRequest;
    unsigned short wValue;
    unsigned short wIndex;
    unsigned short wLength;
} SetupPacket;

/* ---- Initialisation and device information ------------------------------ */

/* Creates the device manager and counts the cameras behind the driver. A
 * second call while initialised returns 1 and keeps the first count: cameras
 * plugged in later become usable after ZDQ_UnInit and ZDQ_Init.
 * 1, or RET_FAIL when the manager cannot be created. */
ZDQ_API int ZDQ_Init(void);

/* Closes every camera and destroys the device manager (stopping a running
 * preview). Always 1, also without ZDQ_Init. */
ZDQ_API int ZDQ_UnInit(void);

/* The number of cameras behind the driver now (0 .. 32), counted anew; the
 * range of valid device indexes stays the one ZDQ_Init found.
 * RET_DEVICENOTINIT before ZDQ_Init. */
ZDQ_API int ZDQ_DeviceGetCount(void);

/* Closes the camera of a device index; the next call with that index opens
 * a camera again. 1 also when the index was never used; RET_DEVICENOTINIT
 * before ZDQ_Init or for an index outside 0 .. count-1. */
ZDQ_API int ZDQ_DeviceClose(int nIndex);

/* *pStatus = 1 when the camera of the index is open, else 0; opens nothing.
 * RET_DEVICENOTINIT before ZDQ_Init or for an index outside 0 .. 31,
 * RET_PARAMERROR for a null pStatus. */
ZDQ_API int ZDQ_DeviceGetStatus(int nIndex, int* pStatus);

/* The camera's model number, serial number and firmware version (major in
 * the high byte), read from the camera now; each output may be null. A
 * camera without firmware reports 85, 0, 0. RET_DEVICENOTINIT when no camera
 * opens for the index, RET_DEVICECLOSED after ZDQ_Close. */
ZDQ_API int ZDQ_DeviceGetInformation(int nIndex, int* pType, int* pSerial,
                                     unsigned short* pFirmware);
/* The same and the FPGA version (0 when it cannot be read). */
ZDQ_API int ZDQ_DeviceGetInformationEx(int nIndex, int* pType, int* pSerial,
                                       unsigned short* pFirmware, unsigned short* pFpgaVersion);

/* The USB state byte the camera reports (*pState untouched on failure).
 * RET_DEVICENOTINIT when no camera opens, then RET_PARAMERROR for a null
 * pState. */
ZDQ_API int ZDQ_GetUsbState(int nIndex, int* pState);
/* Restarts the camera's USB controller; the device stays open and the next
 * call finds the camera again. */
ZDQ_API int ZDQ_RebootDevice(int nIndex);

/* ---- Return codes and version ------------------------------------------- */

/* Copies the text of a return code into pszText, which must hold
 * ZDQ_ERRORINFO_LENGTH (43) wide characters. 1 for a known code; an unknown
 * code gives the text of RET_NOPRIVILEGE and the result RET_ILLEGALOPERATION.
 * RET_PARAMERROR for a null pszText. Works without ZDQ_Init. */
ZDQ_API int ZDQ_GetErrorInfo(int nReturnCode, wchar_t* pszText);

/* The SDK version 6.0.122.55; each pointer may be null. 1. Works without
 * ZDQ_Init. */
ZDQ_API int ZDQ_GetVersion(int* pMajor, int* pMinor, int* pRevision, int* pBuild);

/* ---- Logging -------------------------------------------------------------- */

/* Turns the per-camera logs on (bEnable != 0) or off for every open camera
 * and for cameras opened later. pszFolder (may be null) becomes the log
 * folder and is created when needed; a camera that logs already keeps its log
 * file. The user-call log is not affected. 1; works without ZDQ_Init. */
ZDQ_API int ZDQ_LogSet(int bEnable, const wchar_t* pszFolder);

/* The log switch and the log folder; each pointer may be null. pszFolder
 * must hold ZDQ_LOGFOLDER_LENGTH (260) wide characters. 1. */
ZDQ_API int ZDQ_LogGet(unsigned char* pbEnable, wchar_t* pszFolder);

/* ---- Driver link --------------------------------------------------------- */

/* These act on a camera already open in its slot (else RET_DEVICENOTINIT).
 * ZDQ_Open claims a free driver device again after ZDQ_Close; ZDQ_Close
 * releases it (later calls give RET_DEVICECLOSED, and a running preview does
 * not reopen it: its frames fail until ZDQ_Open); ZDQ_CancelIo cancels the
 * calling thread's transfers; ZDQ_ResetHost resets the endpoint, the pipe and
 * the USB port. */
ZDQ_API int ZDQ_Open(int nIndex);
ZDQ_API int ZDQ_Close(int nIndex);
ZDQ_API int ZDQ_CancelIo(int nIndex);
ZDQ_API int ZDQ_ResetHost(int nIndex);

/* ---- Registers, vendor requests and camera memory ------------------------ */

/* One vendor request as given (data stage pData, wLength bytes); no log. A
 * request that writes a sensor or FPGA register bypasses the SDK's copies of
 * them, as the register writes below. */
ZDQ_API int ZDQ_VendorCmd(int nIndex, const SetupPacket* pPacket, unsigned char* pData);
/* Image-sensor registers with 8-bit (Reg) or 16-bit (RegX) addresses, as
 * raw bus requests: they bypass the sensor unit's copy of its registers, so
 * the SDK's later settings, restores after a reset and getters go on from
 * the values it last wrote itself. */
ZDQ_API int ZDQ_WrSensorReg(int nIndex, unsigned short wAddress, unsigned short wValue);
ZDQ_API int ZDQ_RdSensorReg(int nIndex, unsigned short wAddress, unsigned short* pValue);
ZDQ_API int ZDQ_WrSensorRegX(int nIndex, unsigned short wAddress, unsigned short wValue);
ZDQ_API int ZDQ_RdSensorRegX(int nIndex, unsigned short wAddress, unsigned short* pValue);
/* Restarts the sensor's frame (RET_NOTSUPPORT without the capability). */
ZDQ_API int ZDQ_FrameRestart(int nIndex);
/* FPGA registers by number with the camera's capability tests (the SDK's
 * register shadows are not changed); the Ex forms reach the register as
 * numbered, without tests. A refused write gives RET_FAIL. */
ZDQ_API int ZDQ_WrFpgaReg(int nIndex, int nRegister, unsigned short wValue);
ZDQ_API int ZDQ_RdFpgaReg(int nIndex, int nRegister, unsigned short* pValue);
ZDQ_API int ZDQ_WrFpgaRegEx(int nIndex, int nRegister, unsigned short wValue);
ZDQ_API int ZDQ_RdFpgaRegEx(int nIndex, int nRegister, unsigned short* pValue);
ZDQ_API int ZDQ_ResetFpga(int nIndex, int bFlag);
/* The USB controller's registers, special-function registers and CPU reset
 * (bFlag 1: hold the CPU in reset). */
ZDQ_API int ZDQ_WrFx2Reg(int nIndex, unsigned short wAddress, unsigned char byValue);
ZDQ_API int ZDQ_RdFx2Reg(int nIndex, unsigned short wAddress, unsigned char* pValue);
ZDQ_API int ZDQ_WrFx2Sfr(int nIndex, unsigned char bySfr, unsigned char byValue);
ZDQ_API int ZDQ_RdFx2Sfr(int nIndex, unsigned char bySfr, unsigned char* pValue);
ZDQ_API int ZDQ_ResetFx2(int nIndex, int bFlag);
/* A register of the CCD front end, as a raw bus request: it bypasses the
 * CCD unit's copy of the front end's registers, as the sensor writes above. */
ZDQ_API int ZDQ_WrAD9923A(int nIndex, unsigned short wAddress, unsigned int nValue);
/* Not offered by any camera: RET_NOTSUPPORT for a valid device. */
ZDQ_API int ZDQ_GammaOn(int nIndex, int bOn);
ZDQ_API int ZDQ_RdTMP101(int nIndex, unsigned char byAddress, unsigned short* pValue);
ZDQ_API int ZDQ_WrTMP101(int nIndex, unsigned char byAddress, unsigned short wValue);
/* Camera resets and the end-of-packet request (RET_NOTSUPPORT where the
 * firmware lacks them). */
ZDQ_API int ZDQ_ResetDevice(int nIndex);
ZDQ_API int ZDQ_ReconnectDevice(int nIndex);
ZDQ_API int ZDQ_SendPktEnd(int nIndex);
/* EEPROM: its type (0 .. 7), single bytes at 16-bit or 32-bit addresses and
 * blocks (split at 256-byte pages; a failed page ends the transfer). */
ZDQ_API int ZDQ_EEPROMTypeGet(int nIndex, int* pType);
ZDQ_API int ZDQ_WrEEPROM(int nIndex, unsigned short wAddress, unsigned char byValue);
ZDQ_API int ZDQ_RdEEPROM(int nIndex, unsigned short wAddress, unsigned char* pValue);
ZDQ_API int ZDQ_WrEEPROMEx(int nIndex, unsigned int nAddress, unsigned char byValue);
ZDQ_API int ZDQ_RdEEPROMEx(int nIndex, unsigned int nAddress, unsigned char* pValue);
ZDQ_API int ZDQ_WrEEPROMExEx(int nIndex, unsigned int nAddress, const unsigned char* pBuffer,
                             unsigned int nLength);
ZDQ_API int ZDQ_RdEEPROMExEx(int nIndex, unsigned int nAddress, unsigned int nLength,
                             unsigned char* pBuffer);

/* ---- General-purpose I/O and snap button ------------------------------------ */

/* Direction: bit 0 input, bit 1 output; status: bit 0 input level, bit 1
 * output level. Setting the output needs output mode 1 (else
 * RET_ILLEGALOPERATION). The mode and filter getters accept a null pointer. */
ZDQ_API int ZDQ_GpioSetDirection(int nIndex, int nDirection);
ZDQ_API int ZDQ_GpioGetDirection(int nIndex, unsigned char* pDirection);
ZDQ_API int ZDQ_GpioSetStatus(int nIndex, int nStatus);
ZDQ_API int ZDQ_GpioGetStatus(int nIndex, unsigned char* pStatus);
ZDQ_API int ZDQ_GpioInModeSet(int nIndex, int nMode);
ZDQ_API int ZDQ_GpioInModeGet(int nIndex, int* pMode);
ZDQ_API int ZDQ_GpioOutModeSet(int nIndex, int nMode);
ZDQ_API int ZDQ_GpioOutModeGet(int nIndex, int* pMode);
ZDQ_API int ZDQ_GpioOutStatusSet(int nIndex, int nLevel);
ZDQ_API int ZDQ_GpioInStatusGet(int nIndex, unsigned char* pStatus);
ZDQ_API int ZDQ_GpioFilterSet(int nIndex, unsigned short wValue);
ZDQ_API int ZDQ_GpioFilterGet(int nIndex, unsigned short* pValue);
/* *pPressed = 1 while the snap button is pressed, else 0. */
ZDQ_API int ZDQ_SnapButtonStatus(int nIndex, int* pPressed);

/* ---- Watermark --------------------------------------------------------------- */

/* The FPGA's frame watermark: on/off and mode, and the fields of the last
 * frame's watermark (RET_NOTSUPPORT while off, RET_FAIL when the frame holds
 * none). Each out pointer may be null. */
ZDQ_API int ZDQ_WaterMarkSetEnable(int nIndex, int bEnable);
ZDQ_API int ZDQ_WaterMarkSetMode(int nIndex, int nMode);
ZDQ_API int ZDQ_WaterMarkGetEnable(int nIndex, unsigned char* pbEnable);
ZDQ_API int ZDQ_WaterMarkGetMode(int nIndex, int* pMode);
ZDQ_API int ZDQ_WaterMarkGetInfo(int nIndex, unsigned short* pNumber, int* pValue2, int* pValue3);
ZDQ_API int ZDQ_WaterMarkGetInfoEx(int nIndex, int* pNumber, int* pValue2, int* pValue3,
                                   int* pValue4, unsigned short* pValue5);

/* ---- Strobe output -------------------------------------------------------- */

/* The sensor's strobe (flash) output: on/off, polarity and mode, where the
 * camera's sensor offers them (else RET_NOTSUPPORT). ZDQ_FlashControlSet sets
 * the three in turn and gives the on/off setter's failure, else 1;
 * ZDQ_FlashControlGet gives 1 only when all three could be read. Each out
 * pointer may be null. */
ZDQ_API int ZDQ_FlashEnableSet(int nIndex, int bEnable);
ZDQ_API int ZDQ_FlashEnableGet(int nIndex, unsigned char* pbEnable);
ZDQ_API int ZDQ_FlashInvertSet(int nIndex, int bInvert);
ZDQ_API int ZDQ_FlashInvertGet(int nIndex, unsigned char* pbInvert);
ZDQ_API int ZDQ_FlashSetMode(int nIndex, int nMode);
ZDQ_API int ZDQ_FlashGetMode(int nIndex, int* pMode);
ZDQ_API int ZDQ_FlashControlSet(int nIndex, int bEnable, int bInvert, int nMode);
ZDQ_API int ZDQ_FlashControlGet(int nIndex, unsigned char* pbEnable, unsigned char* pbInvert,
                                int* pMode);

/* ---- Image file helpers ---- */

/* Stateless: they need neither ZDQ_Init nor a device. Frames are 8-bit grey,
 * 24-bit B,G,R or 32-bit B,G,R,X pixels with the rows stored bottom-up (the
 * first row in memory is the bottom image row). A file is created anew (an
 * existing one is replaced); a file that fails while being written is
 * removed. File names are UTF-8 on the system side. */

/* A BMP file of the frame: a 14-byte file header, a 40-byte info header, for
 * 8-bit frames a 256-entry grey palette, then the frame's bytes as they are.
 * pData holds nHeight DWORD-aligned rows of ((nWidth x nBitCount + 31) / 32)
 * x 4 bytes. RET_PARAMERROR for null pData or pszFileName, nWidth or nHeight
 * below 1, nBitCount other than 8, 24, 32, or a file too large for the
 * header's 32-bit sizes; RET_FAIL when the file cannot be created or
 * written; RET_MALLOCFAIL when memory is lacking. */
ZDQ_API int ZDQ_HelperSaveToBmp(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                                const wchar_t* pszFileName);
/* A baseline JPEG file of the frame with quality nQuality (clamped to
 * 1 .. 100): 8-bit frames give one-component greyscale, 24- and 32-bit
 * frames three-component RGB. pData holds nHeight unpadded rows of nWidth x
 * nBitCount / 8 bytes. RET_FAIL for null pData or pszFileName, nWidth or
 * nHeight below 1, nBitCount other than 8, 24, 32, a side beyond 65500
 * pixels, or when the file cannot be created or written; RET_MALLOCFAIL when
 * memory is lacking. Writes no log lines. */
ZDQ_API int ZDQ_HelperSaveToJpg(const unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                                int nQuality, const wchar_t* pszFileName);
/* An uncompressed TIFF file of the frame (one strip, 90 dpi): one sample per
 * pixel is grey, three or four are R,G,B(,X) (swapped from the frame's
 * B,G,R(,X)), rows top-down. pData holds nHeight unpadded rows of nWidth x
 * nSamplesPerPixel samples of nBitsPerSample bits (16-bit samples in the
 * machine's byte order). RET_PARAMERROR for null pData or pszFileName,
 * nWidth or nHeight below 1, nBitsPerSample other than 8, 16 or
 * nSamplesPerPixel other than 1, 3, 4, or an image too large for the 32-bit
 * sizes of the format (nothing of pData is read); RET_FAIL when the file
 * cannot be created or written; RET_MALLOCFAIL when memory is lacking. */
ZDQ_API int ZDQ_HelperSaveToTiff(const unsigned char* pData, int nWidth, int nHeight,
                                 int nBitsPerSample, int nSamplesPerPixel,
                                 const wchar_t* pszFileName);
/* *pSize = the bytes of the header block ZDQ_HelperGetBmpFileHeader writes:
 * 1078 for nBitCount 8 (with the palette), 54 for 24 and 32. RET_PARAMERROR
 * for null pSize or another bit count. */
ZDQ_API int ZDQ_HelperGetBmpFileHeaderSize(int nBitCount, int* pSize);
/* Writes the header block of a BMP file of an unpadded frame into pHeader,
 * which must hold the size ZDQ_HelperGetBmpFileHeaderSize gives: the file
 * and info headers as ZDQ_HelperSaveToBmp writes them, except that the
 * image bytes are nWidth x nBitCount / 8 x nHeight (no row padding), and the
 * palette for 8 bits. RET_PARAMERROR for null pHeader, nWidth or nHeight
 * below 1, nBitCount other than 8, 24, 32, or a file too large for the
 * header's 32-bit sizes. */
ZDQ_API int ZDQ_HelperGetBmpFileHeader(int nWidth, int nHeight, int nBitCount,
                                       unsigned char* pHeader);
/* ---- Camera parameters --------------------------------------------------- */

/* Parameter identifiers of ZDQ_GetParamRange, ZDQ_GetParam and ZDQ_SetParam.
 * Exposure is in milliseconds; the gains are sensor gain steps (ZDQ_RED is
 * the gain of a monochrome camera); contrast and brightness run -128..127,
 * gamma -9..9 (0: off); the start parameters move the capture or preview
 * window. A parameter the camera lacks gives RET_NOTSUPPORT. */
#ifdef __cplusplus
/* Every int is a value of the type, so any number a caller passes is one. */
typedef enum ZDQ_PARAM : int {
#else
typedef enum ZDQ_PARAM {
#endif
    ZDQ_EXPOSURE = 0,
    ZDQ_RED = 1,
    ZDQ_GREEN = 2,
    ZDQ_BLUE = 3,
    ZDQ_GAMMA = 4,
    ZDQ_PREVIEW_COLUMNSTART = 5,
    ZDQ_PREVIEW_ROWSTART = 6,
    ZDQ_CAPTURE_COLUMNSTART = 7,
    ZDQ_CAPTURE_ROWSTART = 8,
    ZDQ_HORIZONTALBLANK = 9,
    ZDQ_VERTICALBLANK = 10,
    ZDQ_FLIP = 11,
    ZDQ_BIN = 12,
    ZDQ_MIRROR = 13,
    ZDQ_CONTRAST = 14,
    ZDQ_BRIGHTNESS = 15,
    ZDQ_VGAGAIN = 16,
    ZDQ_CLAMPLEVEL = 17,
    ZDQ_CDSGAIN = 18,
    ZDQ_RED_SHIFT = 19,
    ZDQ_GREEN_SHIFT = 20,
    ZDQ_BLUE_SHIFT = 21,
    ZDQ_COMPANDING = 22,
    ZDQ_EXPOSURE_LINES = 23,
    ZDQ_SATURATION = 24,
    ZDQ_TRIGGERDELAY = 25,
    ZDQ_STROBEDELAY = 26,
    ZDQ_TRIGGER_MODE = 27,
    ZDQ_TRIGGER_METHOD = 28,
    ZDQ_BLACKLEVEL = 29,
    ZDQ_BLACKLEVEL_THRESHOLD_AUTO = 30,
    ZDQ_BLACKLEVEL_THRESHOLD_LO = 31,
    ZDQ_BLACKLEVEL_THRESHOLD_UPPER = 32
} ZDQ_PARAM;

/* The range of a parameter; both outputs are set to 0 first. RET_PARAMERROR
 * for a null output. */
ZDQ_API int ZDQ_GetParamRange(int nIndex, ZDQ_PARAM param, int* pMin, int* pMax);
/* *pValue is set to 0 first. RET_PARAMERROR for a null pValue. */
ZDQ_API int ZDQ_GetParam(int nIndex, ZDQ_PARAM param, int* pValue);
/* Ranged values are clamped; enumerated ones outside their range refused. */
ZDQ_API int ZDQ_SetParam(int nIndex, ZDQ_PARAM param, int nValue);

/* Exposure time in milliseconds (RET_PARAMERROR for a null pfMs). */
ZDQ_API int ZDQ_ExposureTimeSet(int nIndex, float fMs);
ZDQ_API int ZDQ_ExposureTimeGet(int nIndex, float* pfMs);
/* Pre-exposure and global-reset shutter of the sensors that have them
 * (RET_NOTSUPPORT for the others). */
ZDQ_API int ZDQ_PreExposureRangeGet(int nIndex, int* pMin, int* pMax);
ZDQ_API int ZDQ_PreExposureLinesSet(int nIndex, int nLines);
ZDQ_API int ZDQ_PreExposureLinesGet(int nIndex, int* pLines);
ZDQ_API int ZDQ_PreExposureTimeSet(int nIndex, float fMs);
ZDQ_API int ZDQ_PreExposureTimeGet(int nIndex, float* pfMs);
ZDQ_API int ZDQ_GlobalResetShutterSet(int nIndex, bool bOn);
ZDQ_API int ZDQ_GlobalResetShutterGet(int nIndex, bool* pbOn);
/* Bits per sample of the sensor's converter. */
ZDQ_API int ZDQ_GetADCResolution(int nIndex, int* pBits);
/* 16-bit pixel data (RET_NOTSUPPORT where the camera cannot send it). While
 * it is on, every sample of a captured frame, raw or colour, takes two bytes:
 * size the capture buffer by ZDQ_CaptureGetSizeExEx. The preview's frames
 * stay 8 bits a sample. A running preview restarts around the switch. */
ZDQ_API int ZDQ_SetData16Bits(int nIndex, bool bOn);
ZDQ_API int ZDQ_GetData16Bits(int nIndex, bool* pbOn);
/* Whether the camera offers a function (numbers 0 .. 57). */
ZDQ_API int ZDQ_QueryFunction(int nIndex, int nFunction, int* pValue);

/* ---- Fields of view ------------------------------------------------------- */

/* A field of view is a window of the sensor (column and row start, column
 * and row size in sensor pixels) with column and row addressing modes (0
 * full, 1 skip 2, 2 skip 3, 3 skip 4, 4 skip 8). The sensor aligns and
 * clamps windows; the camera keeps one for still capture and one for
 * preview. */

/* 1 when the sensor takes the window as given, RET_FAIL when it would adjust
 * it; changes nothing. */
ZDQ_API int ZDQ_CheckFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                 int nRowSize, int nAmCol, int nAmRow);
/* The whole sensor; each output may be null. */
ZDQ_API int ZDQ_CaptureGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart,
                                             int* pColSize, int* pRowSize, int* pAmCol,
                                             int* pAmRow);
ZDQ_API int ZDQ_PreviewGetDefaultFieldOfView(int nIndex, int* pColStart, int* pRowStart,
                                             int* pColSize, int* pRowSize, int* pAmCol,
                                             int* pAmRow);
/* Sets the capture window as the sensor adjusts it (RET_STREAMNOTSTOP while
 * stream mode runs). */
ZDQ_API int ZDQ_CaptureSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                      int nRowSize, int nAmCol, int nAmRow);
ZDQ_API int ZDQ_CaptureGetFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                      int* pRowSize, int* pAmCol, int* pAmRow);
/* The same with the number of frames stacked into one transfer. */
ZDQ_API int ZDQ_CaptureSetFieldOfViewEx(int nIndex, int nColStart, int nRowStart, int nColSize,
                                        int nRowSize, int nAmCol, int nAmRow,
                                        unsigned short usMultiFrameNum);
ZDQ_API int ZDQ_CaptureGetFieldOfViewEx(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                        int* pRowSize, int* pAmCol, int* pAmRow,
                                        unsigned short* pMultiFrameNum);
/* Sets the preview window as the sensor adjusts it (ZDQ_PreviewSetFieldOfView:
 * RET_STREAMNOTSTOP while stream mode runs). On a running preview a window
 * that changes its frames stops and restarts it around the change; on a
 * paused preview both give RET_NOTSUPPORT and change nothing. (A capture
 * window set meanwhile is only stored; the next capture takes it.) */
ZDQ_API int ZDQ_PreviewSetFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                      int nRowSize, int nAmCol, int nAmRow);
ZDQ_API int ZDQ_PreviewGetFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                      int* pRowSize, int* pAmCol, int* pAmRow);
ZDQ_API int ZDQ_PreviewSetFieldOfViewEx(int nIndex, int nColStart, int nRowStart, int nColSize,
                                        int nRowSize, int nAmCol, int nAmRow,
                                        unsigned short usMultiFrameNum);
ZDQ_API int ZDQ_PreviewGetFieldOfViewEx(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                        int* pRowSize, int* pAmCol, int* pAmRow,
                                        unsigned short* pMultiFrameNum);
/* Width and height of a captured frame in pixels; the Ex forms add its
 * bitCount, the bits per pixel of the output format (8 for raw output; 24, 32
 * or 8 by the Bayer mode for colour output), and its bitsPerSample (16 while
 * 16-bit data is on, else 8).
 *
 * The capture buffer: every capture form (ZDQ_CaptureRawData,
 * ZDQ_CaptureRgbData and their Ex, AfterEmptyFrameBuffer and stream forms)
 * takes a buffer of width x height x bitCount / 8 x bitsPerSample / 8 bytes,
 * all four as ZDQ_CaptureGetSizeExEx gives them, and writes nothing beyond
 * it. The Rgb forms fill it (with 16-bit data each of a pixel's bitCount / 8
 * channels is a 16-bit sample); the raw forms fill width x height x
 * bitsPerSample / 8 bytes of it, which is all of it for raw output. */
ZDQ_API int ZDQ_CaptureGetSize(int nIndex, int* pWidth, int* pHeight);
ZDQ_API int ZDQ_CaptureGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount);
ZDQ_API int ZDQ_CaptureGetSizeExEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount,
                                   int* pBitsPerSample);

/* ---- Still capture ---------------------------------------------------------- */

/* One frame of the capture window into pBuffer, a capture buffer as stated
 * at ZDQ_CaptureGetSizeExEx. A running preview pauses around the capture. Rgb
 * forms deliver the output format (raw bytes for monochrome cameras).
 * RET_TIMEOUT when no frame came within the capture time-out (recovery off),
 * RET_RECOVERY_SUCCESS when the camera had to be recovered and no frame was
 * delivered, RET_RECOVERY_FAIL when it could not be. */
ZDQ_API int ZDQ_CaptureRawData(int nIndex, unsigned char* pBuffer);
ZDQ_API int ZDQ_CaptureRgbData(int nIndex, unsigned char* pBuffer);
ZDQ_API int ZDQ_CaptureRgbDataEx(int nIndex, unsigned char* pBuffer, int* pWidth, int* pHeight,
                                 int* pBitCount);
/* The same after emptying the camera's frame buffer, so the frame is one
 * exposed after the call. */
ZDQ_API int ZDQ_CaptureRawDataAfterEmptyFrameBuffer(int nIndex, unsigned char* pBuffer);
ZDQ_API int ZDQ_CaptureRgbDataAfterEmptyFrameBuffer(int nIndex, unsigned char* pBuffer);
ZDQ_API int ZDQ_CaptureRgbDataExAfterEmptyFrameBuffer(int nIndex, unsigned char* pBuffer,
                                                      int* pWidth, int* pHeight, int* pBitCount);
ZDQ_API int ZDQ_EmptyFrameBuffer(int nIndex);
/* Captures one frame of the capture window and puts it on the clipboard of
 * the window system as a DIB (header, grey palette for 8 bits, pixels).
 * RET_NOTSUPPORT while 16-bit data is on, RET_FAIL when the clipboard is
 * held by another thread, else the capture's result. */
ZDQ_API int ZDQ_CaptureRgbDataToClipboard(int nIndex);
/* Time-out of a frame read in ms (5000) and whether a failed read recovers
 * the camera (on). */
ZDQ_API int ZDQ_CaptureSetTimeOut(int nIndex, int nMs);
ZDQ_API int ZDQ_CaptureGetTimeOut(int nIndex, unsigned int* pMs);
ZDQ_API int ZDQ_CaptureSetRecover(int nIndex, bool bRecover);
ZDQ_API int ZDQ_CaptureGetRecover(int nIndex, bool* pbRecover);
ZDQ_API int ZDQ_CaptureSetTimeOutEx(int nIndex, int nMs, bool bRecover);
ZDQ_API int ZDQ_CaptureGetTimeOutEx(int nIndex, int* pMs, bool* pbRecover);
/* Stream mode: the camera sends frames continuously between start and stop;
 * the stream reads take the next one. */
ZDQ_API int ZDQ_IsSupportStreamMode(int nIndex, bool* pbSupported);
ZDQ_API int ZDQ_StreamStart(int nIndex);
ZDQ_API int ZDQ_StreamStop(int nIndex);
ZDQ_API int ZDQ_StreamIsStart(int nIndex, bool* pbStarted);
ZDQ_API int ZDQ_StreamReadRawData(int nIndex, unsigned char* pBuffer);
ZDQ_API int ZDQ_StreamReadRawDataEx(int nIndex, unsigned char* pBuffer, int* pBytesRead);
ZDQ_API int ZDQ_StreamReadRgbData(int nIndex, unsigned char* pBuffer);
ZDQ_API int ZDQ_StreamReadRgbDataEx(int nIndex, unsigned char* pBuffer);

/* ---- Trigger, frame rate and line-scan capture ------------------------------ */

/* Trigger mode 0 free run, 1 external trigger, 2 software trigger, 3 fixed
 * frame rate, 4 high/low fixed frame rate (RET_NOTSUPPORT for another mode or
 * one the FPGA lacks); trigger method 0 falling edge, 1 rising edge, 2 high
 * level, 3 low level (other values use their low two bits). A running
 * preview stops and restarts around a change. ZDQ_TriggerModeGet needs pMode
 * (else RET_PARAMERROR); the other out pointers may be null. */
ZDQ_API int ZDQ_TriggerModeSet(int nIndex, int nMode);
ZDQ_API int ZDQ_TriggerModeGet(int nIndex, int* pMode);
ZDQ_API int ZDQ_TriggerMethodSet(int nIndex, int nMethod);
ZDQ_API int ZDQ_TriggerMethodGet(int nIndex, int* pMethod);
ZDQ_API int ZDQ_TriggerStatusGet(int nIndex, int* pStatus);
/* Delay of a triggered frame after its trigger and of the strobe, 0-65535
 * (the camera's units; the low 16 bits are written). */
ZDQ_API int ZDQ_TriggerDelayGetRange(int nIndex, unsigned short* pMin, unsigned short* pMax);
ZDQ_API int ZDQ_TriggerDelaySet(int nIndex, int nDelay);
ZDQ_API int ZDQ_TriggerDelayGet(int nIndex, unsigned short* pDelay);
ZDQ_API int ZDQ_StrobeDelayGetRange(int nIndex, unsigned short* pMin, unsigned short* pMax);
ZDQ_API int ZDQ_StrobeDelaySet(int nIndex, int nDelay);
ZDQ_API int ZDQ_StrobeDelayGet(int nIndex, unsigned short* pDelay);
/* Frame rate of the fixed-rate trigger modes in frames per second; outside
 * the range of ZDQ_GetFixedFrameRateRang RET_PARAMERROR. bEnable is not
 * used. The getters read the rate the FPGA holds (RET_FAIL while none is
 * set); pbEnabled tells whether one was read. */
ZDQ_API int ZDQ_SetFixedFrameRate(int nIndex, bool bEnable, float fFps);
ZDQ_API int ZDQ_SetFixedFrameRateEx(int nIndex, float fFps);
ZDQ_API int ZDQ_GetFixedFrameRate(int nIndex, bool* pbEnabled, float* pFps);
ZDQ_API int ZDQ_GetFixedFrameRateEx(int nIndex, float* pFps);
ZDQ_API int ZDQ_GetFixedFrameRateRang(int nIndex, float* pMin, float* pMax);
/* Period of the trigger signal in units with 1/256 steps; a period of 0.005
 * or less, or of 256 or more, is refused with RET_PARAMERROR. */
ZDQ_API int ZDQ_TriggerSignalPeriodGetRange(int nIndex, float* pMin, float* pMax);
ZDQ_API int ZDQ_TriggerSignalPeriodSet(int nIndex, float fPeriod);
ZDQ_API int ZDQ_TriggerSignalPeriodGet(int nIndex, float* pPeriod);
/* Line-scan start controls (RET_NOTSUPPORT without them): start/end mode
 * 0-5 (others count as 0), start delay, start filter and multi-line count
 * (0-65535), and the software start pulse. While a start/end mode other than
 * 0 is set, the camera sends frames only after a start. */
ZDQ_API int ZDQ_StartEndModeSet(int nIndex, int nMode);
ZDQ_API int ZDQ_StartEndModeGet(int nIndex, int* pMode);
ZDQ_API int ZDQ_CaptureStartDelaySet(int nIndex, int nDelay);
ZDQ_API int ZDQ_CaptureStartDelayGet(int nIndex, unsigned short* pDelay);
ZDQ_API int ZDQ_CaptureStartDelayGetRange(int nIndex, unsigned short* pMin, unsigned short* pMax);
ZDQ_API int ZDQ_CaptureStartFilterSet(int nIndex, int nFilter);
ZDQ_API int ZDQ_CaptureStartFilterGet(int nIndex, unsigned short* pFilter);
ZDQ_API int ZDQ_CaptureStartFilterRange(int nIndex, unsigned short* pMin, unsigned short* pMax);
ZDQ_API int ZDQ_CaptureMultiLineSet(int nIndex, int nLines);
ZDQ_API int ZDQ_CaptureMultiLineGet(int nIndex, unsigned short* pLines);
ZDQ_API int ZDQ_CaptureMultiLineRange(int nIndex, unsigned short* pMin, unsigned short* pMax);
ZDQ_API int ZDQ_CaptureSoftwareStart(int nIndex);
/* Sensor mode of the 2592 x 1944 family (0, 1, 2); RET_NOTSUPPORT elsewhere. */
ZDQ_API int ZDQ_SensorModeSet(int nIndex, int nMode);
ZDQ_API int ZDQ_SensorModeGet(int nIndex, int* pMode);

/* ---- Look-up tables, flat field and adjustments ----------------------------- */

/* LUT files: version 0x0200, type 'A' (LUT) or 'C' (gamma LUT), a table of
 * 2^n entries (at most 4096). RET_PARAMERROR for a null name, RET_FAIL for a
 * file that cannot be read or is damaged, RET_VERSIONERROR for another
 * version, RET_ILLEGALOPERATION for the other type; else the download's
 * result. ZDQ_LoadMapTableFile does not use nUnused. */
ZDQ_API int ZDQ_LutFileDownload(int nIndex, const wchar_t* pszFile);
ZDQ_API int ZDQ_LoadMapTableFile(int nIndex, int nUnused, const wchar_t* pszFile);
/* The camera's 8-bit LUT: 2^(ADC bits) bytes (RET_PARAMERROR for another
 * length); ZDQ_WriteLUT sends one piece of at most 64 bytes at a byte
 * offset. */
ZDQ_API int ZDQ_LutDataDownload(int nIndex, const void* pData, int nLength);
ZDQ_API int ZDQ_WriteLUT(int nIndex, int nOffset, const void* pData, int nLength);
/* Reading the LUT back is not offered: RET_NOTSUPPORT (RET_DEVICENOTINIT
 * before ZDQ_Init). */
ZDQ_API int ZDQ_ReadLUT(int nIndex);
ZDQ_API int ZDQ_LutSetEnable(int nIndex, bool bOn);
ZDQ_API int ZDQ_EnableLUT(int nIndex, bool bOn);
ZDQ_API int ZDQ_LutGetEnable(int nIndex, bool* pbOn);
ZDQ_API int ZDQ_IsEnableLUT(int nIndex, bool* pbOn);
ZDQ_API int ZDQ_IsSupportLUT(int nIndex);
/* The gamma LUT: 2^(ADC bits) 16-bit entries. */
ZDQ_API int ZDQ_GammaLutFileDownload(int nIndex, const wchar_t* pszFile);
ZDQ_API int ZDQ_GammaLutDataDownload(int nIndex, const unsigned short* pEntries, int nEntries);
ZDQ_API int ZDQ_GammaLutSetEnable(int nIndex, bool bOn);
ZDQ_API int ZDQ_GammaLutGetEnable(int nIndex, bool* pbOn);
/* Which 8 bits of a wider sample an 8-bit frame carries (0-7); the getter
 * reports 4 and RET_NOTSUPPORT where the camera cannot choose. */
ZDQ_API int ZDQ_SensitivitySetMode(int nIndex, int nMode);
ZDQ_API int ZDQ_SensitivityGetMode(int nIndex, int* pMode);
/* Bad-pixel correction in the camera where it has it (the getter then
 * reads the camera), else in the SDK with a near and a far threshold (12 and
 * 24; mode 0 resets them; the getter then answers RET_NOTSUPPORT with the
 * stored settings, the threshold setter works only there). */
ZDQ_API int ZDQ_BadPixelCorrectionSet(int nIndex, bool bOn, int nMode);
ZDQ_API int ZDQ_BadPixelCorrectionGet(int nIndex, bool* pbOn, int* pMode);
ZDQ_API int ZDQ_BadPixelCorrectionSetThreshold(int nIndex, int nNear, int nFar);
ZDQ_API int ZDQ_BadPixelCorrectionGetThreshold(int nIndex, unsigned char* pNear,
                                               unsigned char* pFar);
/* The SDK's contrast and brightness (-128 .. 127) and gamma (-9 .. 9) of
 * 8-bit frames, clamped; 0 switches a step off. */
ZDQ_API int ZDQ_ProcessContrastSet(int nIndex, int nValue);
ZDQ_API int ZDQ_ProcessContrastGet(int nIndex, int* pValue);
ZDQ_API int ZDQ_ProcessContrastGetRange(int nIndex, int* pMin, int* pMax);
ZDQ_API int ZDQ_ProcessBrightnessSet(int nIndex, int nValue);
ZDQ_API int ZDQ_ProcessBrightnessGet(int nIndex, int* pValue);
ZDQ_API int ZDQ_ProcessBrightnessGetRange(int nIndex, int* pMin, int* pMax);
ZDQ_API int ZDQ_GammaSetValue(int nIndex, int nValue);
ZDQ_API int ZDQ_GammaGetValue(int nIndex, int* pValue);
ZDQ_API int ZDQ_GammaGetRange(int nIndex, int* pMin, int* pMax);
/* Flat-field correction of 8-bit frames of one window (adjusted as the
 * sensor takes it): dark and flat frames averaged over nFrames captures of
 * it (RET_ILLEGALOPERATION while a correction is on; a failed capture ends
 * the run with its code and keeps no frame), the preview and capture
 * switches (RET_ILLEGALOPERATION before a dark frame and a gain table
 * exist), and the file of window, dark frame and gain table (RET_FAIL for a
 * file that cannot be written or read or has the wrong length,
 * RET_VERSIONERROR for a window this camera does not take). */
ZDQ_API int ZDQ_SetFlatFieldCorrectionFieldOfView(int nIndex, int nColStart, int nRowStart,
                                                  int nColSize, int nRowSize, int nAmCol,
                                                  int nAmRow, unsigned short usMultiFrameNum);
ZDQ_API int ZDQ_GetFlatFieldCorrectionFieldOfView(int nIndex, int* pColStart, int* pRowStart,
                                                  int* pColSize, int* pRowSize, int* pAmCol,
                                                  int* pAmRow, unsigned short* pMultiFrameNum);
ZDQ_API int ZDQ_MakeDarkFrame(int nIndex, int nFrames);
ZDQ_API int ZDQ_MakeFlatFieldFrame(int nIndex, int nFrames);
ZDQ_API int ZDQ_PreviewSetFlatFieldCorrection(int nIndex, bool bOn);
ZDQ_API int ZDQ_PreviewGetFlatFieldCorrection(int nIndex, bool* pbOn);
ZDQ_API int ZDQ_CaptureSetFlatFieldCorrection(int nIndex, bool bOn);
ZDQ_API int ZDQ_CaptureGetFlatFieldCorrection(int nIndex, bool* pbOn);
ZDQ_API int ZDQ_SaveFlatFieldCorrection(int nIndex, const wchar_t* pszFile);
ZDQ_API int ZDQ_LoadFlatFieldCorrection(int nIndex, const wchar_t* pszFile);
/* No camera has an LED: always RET_NOTSUPPORT. */
ZDQ_API int ZDQ_LedGetStatus(int nIndex, int* pStatus);
ZDQ_API int ZDQ_LedSetStatus(int nIndex, int nStatus);

/* ---- Colour path ------------------------------------------------------------ */

/* Bayer modes 0-23: pattern BGGR, GRBG, RGGB, GBRG by mode % 4; 0-7 give
 * 24-bit, 8-15 32-bit B,G,R(,X) pixels, 16-23 8-bit grey; 0-3, 8-11 and
 * 16-19 rows bottom-up. Demosaic algorithms 0-5: nearest neighbour,
 * bilinear, smooth hue, edge sensing, Laplacian, fast bilinear. */
ZDQ_API int ZDQ_BayerGetDefaultMode(int nIndex, int* pMode);
ZDQ_API int ZDQ_BayerSetMode(int nIndex, int nMode);
ZDQ_API int ZDQ_BayerGetMode(int nIndex, int* pMode);
ZDQ_API int ZDQ_FilterSetMode(int nIndex, int nMode);
ZDQ_API int ZDQ_FilterGetMode(int nIndex, int* pMode);

/* ---- Preview ---------------------------------------------------------------- */

/* A window number issued by the window system (platwin_register of
 * libvarnu_window); 0 draws nowhere. */
typedef uintptr_t ZDQWindow;

/* The memory surface an Ex preview callback draws on: the frame's pixels in
 * the preview's output format, rows bottom-up, nStride bytes a row. What the
 * callback draws here is shown and recorded. */
typedef struct ZDQMemoryDC {
    unsigned char* pBits;
    int nWidth;
    int nHeight;
    int nBitCount;
    int nStride;
} ZDQMemoryDC;

/* Called on the preview's drawing thread for every frame shown, with the
 * converted frame (width x bitCount / 8 bytes a row, the first row in memory
 * is the bottom row of the picture). A callback must return quickly; a
 * start, stop or pause of the preview of the same camera from it returns
 * RET_STREAMNOTSTOP and does nothing (see Threads at the top). */
typedef void (*PreviewCallback)(unsigned char* pData, int nWidth, int nHeight, int nBitCount,
                                void* pContext);
typedef void (*PreviewCallbackEx)(ZDQMemoryDC* pDC, unsigned char* pData, int nWidth, int nHeight,
                                  int nBitCount, void* pContext);

/* Starts (bStart true) or stops the preview: one thread that catches and
 * draws, or (ZDQ_PreviewStartEx with bParallel) a capture thread and a show
 * thread that hand frames over through a ring of buffers. A stop ends the
 * engine that runs, whichever bParallel names, and makes the capture window
 * active again. */
ZDQ_API int ZDQ_PreviewStart(int nIndex, bool bStart);
ZDQ_API int ZDQ_PreviewStartEx(int nIndex, bool bStart, bool bParallel);
/* Pauses (the last frame stays shown) or resumes a running preview;
 * RET_ILLEGALOPERATION to resume a preview that is not paused. */
ZDQ_API int ZDQ_PreviewPause(int nIndex, bool bPause);
/* 0 stopped, 1 running, 2 paused; and the engine of the last start. */
ZDQ_API int ZDQ_PreviewGetStatus(int nIndex, int* pStatus);
ZDQ_API int ZDQ_PreviewGetStatusEx(int nIndex, int* pStatus, bool* pbParallel);
/* The window and the rectangle of its client area frames are scaled into;
 * nothing is drawn while the width or the height is not above 0. */
ZDQ_API int ZDQ_PreviewSetPos(int nIndex, ZDQWindow hWnd, int nX, int nY, int nWidth, int nHeight);
ZDQ_API int ZDQ_PreviewGetPos(int nIndex, int* pX, int* pY, int* pWidth, int* pHeight);
/* Output mode: 0 raw bytes (8-bit grey), 1 colour. */
ZDQ_API int ZDQ_PreviewSetMode(int nIndex, int nMode);
ZDQ_API int ZDQ_PreviewGetMode(int nIndex, int* pMode);
ZDQ_API int ZDQ_PreviewGetDefaultMode(int nIndex, int* pMode);
ZDQ_API int ZDQ_PreviewGetSize(int nIndex, int* pWidth, int* pHeight);
ZDQ_API int ZDQ_PreviewGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount);
/* Frames caught and shown per second over the last two seconds (running
 * preview only, else 0 and RET_NOTSUPPORT), and the totals since the start. */
ZDQ_API int ZDQ_PreviewGetFrameRate(int nIndex, float* pfRate);
ZDQ_API int ZDQ_PreviewGetFrameRateEx(int nIndex, float* pfCaptureRate, float* pfShowRate);
ZDQ_API int ZDQ_GetPreviewFrameCount(int nIndex, int* pCaught, int* pShown);
/* Ring size of the parallel preview: 1 .. 4096 (0 or less: 5). */
ZDQ_API int ZDQ_SetBufferCount(int nIndex, int nCount);
ZDQ_API int ZDQ_GetBufferCount(int nIndex, int* pCount);
/* The frame shown while the preview is paused (RET_FAIL otherwise); pData
 * must hold width x height x bitCount / 8 bytes of ZDQ_PreviewGetSizeEx (8
 * bits a sample, also while 16-bit data is on). */
ZDQ_API int ZDQ_PreviewGetPausedData(int nIndex, unsigned char* pData);
ZDQ_API int ZDQ_PreviewGetPausedDataEx(int nIndex, unsigned char* pData, int* pWidth, int* pHeight,
                                       int* pBitCount);
/* Callbacks set while the preview is stopped take effect at the next start;
 * a null callback switches it off. */
ZDQ_API int ZDQ_PreviewSetCallback(int nIndex, PreviewCallback pfCallback, void* pContext);
ZDQ_API int ZDQ_PreviewSetCallbackEx(int nIndex, PreviewCallbackEx pfCallback, void* pContext);

/* ---- AVI recording ---------------------------------------------------------- */

/* Uncompressed AVI 1.0 files (RIFF, one video stream of DIB frames with an
 * index) that common players open; at most 4 GiB a file. The compressor is
 * chosen by the process's compressor chooser (uncompressed unless another
 * chooser is set) or taken from the options an earlier choice stored under
 * the current user's key SOFTWARE\Morlane\ZDQAPI\Compossor.
 *
 * bStart false stops a recording (1 also when none runs); so does every stop
 * of the preview. A start: RET_ILLEGALOPERATION while recording, and for the
 * preview forms without a running preview; RET_FAIL for fRate below 0.01
 * frames a second, a chooser that is cancelled, a compressor that is not
 * available or a file that cannot be written; a failed start leaves no file.
 * The rate is kept in hundredths of a frame a second. */

/* Records the preview's shown frames (in its output format) while it runs
 * unpaused; the options are always chosen and then stored in the key. */
ZDQ_API int ZDQ_RecordStart(int nIndex, bool bStart, float fRate, const wchar_t* pszFileName);
/* As ZDQ_RecordStart; with bDialog false the options come from the key, and
 * are chosen (and stored) only when the key does not exist yet. */
ZDQ_API int ZDQ_RecordStartEx(int nIndex, bool bStart, float fRate, const wchar_t* pszFileName,
                              bool bDialog);
/* A recording of frames of nWidth x nHeight pixels of nBitCount bits (8, 24
 * or 32; 8-bit frames through a grey palette) that ZDQ_RecordAddOneFrame
 * hands over; no preview needed. RET_PARAMERROR for another size or bit
 * count. */
ZDQ_API int ZDQ_RecordStartExEx(int nIndex, bool bStart, float fRate, int nWidth, int nHeight,
                                int nBitCount, const wchar_t* pszFileName, bool bDialog);
/* Writes one key frame of nWidth x nHeight x nBitCount / 8 bytes from pData
 * at sample position nPosition (positions skipped are dropped frames).
 * RET_NOTSUPPORT without a recording; RET_PARAMERROR for null pData or a
 * format other than the recording's (nothing written); RET_FAIL for a
 * position already written, or when the write fails: a failed write (or
 * one that would take the file past 4 GiB) ends the recording, and the file
 * keeps the frames written before it. */
ZDQ_API int ZDQ_RecordAddOneFrame(int nIndex, const void* pData, int nPosition, int nWidth,
                                  int nHeight, int nBitCount);
/* Whether a recording runs (written when pbRecording is not null). */
ZDQ_API int ZDQ_RecordStatusGet(int nIndex, bool* pbRecording);

/* ---- Frame scaling ---- */

/* Scales a frame of srcWidth x srcHeight pixels in src (bitCount 8, 24 or 32;
 * bottom-up rows padded to a multiple of 4 bytes) to dstWidth x |dstHeight|
 * pixels in dst, which must hold |dstHeight| rows of ((dstWidth x bitCount +
 * 31) / 32) x 4 bytes; the rows are bottom-up, top-down for a negative
 * dstHeight, and their padding is set to 0. Shrinking averages the source
 * pixels each destination pixel covers; enlarging takes the nearest source
 * pixel; each byte of a pixel is scaled on its own. Needs no ZDQ_Init.
 * RET_PARAMERROR for a null src or dst, a source size or dstWidth of 0 or
 * less, dstHeight 0 or another bit count; RET_MALLOCFAIL when memory is
 * lacking; RET_FAIL when the scaling fails (a frame larger than 4 GiB). */
ZDQ_API int ZDQ_HelperStretchBmp(const unsigned char* src, int srcWidth, int srcHeight,
                                 int bitCount, unsigned char* dst, int dstWidth, int dstHeight);

/* ---- Automatic exposure, focus measure and gain control ---- */

/* The callbacks run on the thread that catches the frame (the caller's
 * thread inside a capture, or a preview thread) while the SDK holds the
 * camera's raw post-processing lock: they must return soon and must not call
 * the capture or preview functions of the same camera (on a preview thread
 * those return RET_STREAMNOTSTOP). */

/* After every AE measurement whose status (below) is not 4: bSuccess when
 * the mean reached the target and AE stopped (status 0); the exposure in ms
 * now. */
typedef void (*AECallback)(bool bSuccess, int nExposureMs, void* lpContext);
/* After every AE measurement, whatever its status:
 *   0 mean within 10 of the target (AE stops)
 *   1 the maximum count of exposure changes is reached (AE stops)
 *   2 the one-line steps keep reversing (AE stops)
 *   3 the exposure needed lies beyond the bounds and the exposure sits at the
 *     bound (AE stops)
 *   4 the exposure was changed, or the sensor's own AE is in charge
 *   5, 6, 7 as 0, 2 and 3 in a continuous run (maximum count < 0), which
 *     goes on */
typedef void (*AECallbackEx)(int nStatus, int nExposureMs, void* lpContext);
/* After every focus measurement: 0 (uniform) .. 10200 (sharpest). */
typedef void (*AFCallback)(int nFocusValue, void* lpContext);

/* Software automatic exposure (AE) on the 8-bit raw frames as they are
 * caught: the mean grey level of a region (saturated pixels weighted extra by
 * the peak/average ratio, 0 .. 1) is brought within 10 of a target by
 * changing the exposure lines, within the exposure-time bounds. A run
 * measures one frame in three while it changes the exposure. Regions are
 * x, y, width, height in pixels of the frame from its top-left corner; any
 * values are accepted and clamped to each frame. Each out pointer may be
 * null. All return 1 for a valid device. */
ZDQ_API int ZDQ_AESetRegion(int nIndex, int x, int y, int nWidth, int nHeight);
ZDQ_API int ZDQ_AEGetRegion(int nIndex, int* x, int* y, int* pnWidth, int* pnHeight, bool* pbShow);
/* Shows the region darkened in the preview. */
ZDQ_API int ZDQ_AEShowRegion(int nIndex, bool bShow);
ZDQ_API int ZDQ_AESetPeakAveRatio(int nIndex, float fRatio);
ZDQ_API int ZDQ_AEGetPeakAveRatio(int nIndex, float* pfRatio);
/* The bounds are narrowed to the sensor's exposure-time range. */
ZDQ_API int ZDQ_AESetExposureTimeRange(int nIndex, float fMinMs, float fMaxMs);
ZDQ_API int ZDQ_AEGetExposureTimeRange(int nIndex, float* pfMinMs, float* pfMaxMs);
ZDQ_API int ZDQ_AESetCallback(int nIndex, AECallback pfCallback, void* lpContext);
ZDQ_API int ZDQ_AESetCallbackEx(int nIndex, AECallbackEx pfCallback, void* lpContext);
/* The most exposure changes of a run (default 10; negative: run on
 * forever); -1 on a sensor with its own AE. */
ZDQ_API int ZDQ_AESetMaxCount(int nIndex, int nMaxCount);
/* The wanted mean grey level (default 128). */
ZDQ_API int ZDQ_AESetTarget(int nIndex, int nTarget);
/* Starts or stops AE. ZDQ_AEStart also sets the maximum count to
 * 3 x nMaxCount and the target; ZDQ_AEStartEx keeps them. A sensor with its
 * own AE runs that instead. */
ZDQ_API int ZDQ_AEStart(int nIndex, bool bStart, int nMaxCount, int nTarget);
ZDQ_API int ZDQ_AEStartEx(int nIndex, bool bStart);
/* Whether AE runs (a run that ended by itself reads false), its maximum
 * count and target. */
ZDQ_API int ZDQ_AEGetStatusEx(int nIndex, bool* pbStart, int* pnMaxCount, int* pnTarget);

/* Focus measure (AF) on every 8-bit raw frame of at least 5 x 5 pixels: the
 * sharpness of a region, given to the AF callback. Each out pointer may be
 * null. All return 1 for a valid device. */
ZDQ_API int ZDQ_AFSetRegion(int nIndex, int x, int y, int nWidth, int nHeight);
ZDQ_API int ZDQ_AFGetRegion(int nIndex, int* x, int* y, int* pnWidth, int* pnHeight, bool* pbShow);
ZDQ_API int ZDQ_AFShowRegion(int nIndex, bool bShow);
ZDQ_API int ZDQ_AFSetCallback(int nIndex, AFCallback pfCallback, void* lpContext);
ZDQ_API int ZDQ_AFStart(int nIndex, bool bStart);

/* The sensor's own automatic exposure (AEC), bounds and current value in
 * lines, and its automatic gain (AGC), gains in steps from 16. RET_NOTSUPPORT
 * where the sensor has none; ZDQ_AECGetEnable and ZDQ_AGCGetEnable then
 * report false, ZDQ_AGCGetRange a minimum of 16. ZDQ_AGCGetEnable needs
 * pbEnable (else RET_PARAMERROR); the other out pointers may be null. */
ZDQ_API int ZDQ_AECSetEnable(int nIndex, bool bEnable);
ZDQ_API int ZDQ_AECGetEnable(int nIndex, bool* pbEnable);
ZDQ_API int ZDQ_AECSetRange(int nIndex, unsigned short usMin, unsigned short usMax);
ZDQ_API int ZDQ_AECGetRange(int nIndex, unsigned short* pusMin, unsigned short* pusMax);
ZDQ_API int ZDQ_AECGetCur(int nIndex, unsigned short* pusCur);
ZDQ_API int ZDQ_AGCSetEnable(int nIndex, bool bEnable);
ZDQ_API int ZDQ_AGCGetEnable(int nIndex, bool* pbEnable);
ZDQ_API int ZDQ_AGCSetRange(int nIndex, unsigned short usMin, unsigned short usMax);
ZDQ_API int ZDQ_AGCGetRange(int nIndex, unsigned short* pusMin, unsigned short* pusMax);
ZDQ_API int ZDQ_AGCGetCur(int nIndex, unsigned short* pusCur);

/* ---- White balance (colour cameras; a monochrome camera answers
 * RET_NOTSUPPORT, some exports still writing their outputs) ----
 * The gain loop steps the sensor gains ZDQ_RED, ZDQ_GREEN and ZDQ_BLUE by at
 * most one a frame until the mean colour of the region (from the picture's
 * top-left corner) meets the targets, or nMaxCount steps were taken.
 * White-balance modes: 0 off, 1 software preset, 2 software automatic once,
 * 3 software automatic continuous, 4 software gains (ZDQ_WhiteBalanceMatrixSet),
 * 5 FPGA preset, 6 FPGA automatic once, 7 FPGA automatic continuous, 8 FPGA
 * gains; modes 5-8 need the FPGA's white balance. Gains are red, green, blue.
 * The callbacks run on the thread that converts frames to RGB and must not
 * call back into the SDK for anything but the getters. */
typedef void (*AWBCallback)(bool bSuccess, int nRed, int nGreen, int nBlue, void* lpContext);
typedef void (*WhiteBalanceAutoCallback)(float* pfMatrix, void* lpContext);
typedef void (*WhiteBalanceAutoCallbackEx)(float fRed, float fGreen, float fBlue, void* lpContext);
ZDQ_API int ZDQ_AWBSetRegion(int nIndex, int x, int y, int nWidth, int nHeight);
ZDQ_API int ZDQ_AWBGetRegion(int nIndex, int* x, int* y, int* pnWidth, int* pnHeight, bool* pbShow);
ZDQ_API int ZDQ_AWBShowRegion(int nIndex, bool bShow);
ZDQ_API int ZDQ_AWBSetCallback(int nIndex, AWBCallback pfCallback, void* lpContext);
ZDQ_API int ZDQ_AWBStart(int nIndex, bool bStart, int nMaxCount, int nRedTarget, int nGreenTarget,
                         int nBlueTarget);
/* RET_PARAMERROR for a mode outside 0-8; a failed FPGA write is returned and
 * the mode stays. */
ZDQ_API int ZDQ_WhiteBalanceSet(int nIndex, int nMode);
ZDQ_API int ZDQ_WhiteBalanceGet(int nIndex, int* pnMode);
ZDQ_API int ZDQ_WhiteBalanceAutoSet(int nIndex, int nThreshold);
/* RET_PARAMERROR for a null pnThreshold. */
ZDQ_API int ZDQ_WhiteBalanceAutoGet(int nIndex, int* pnThreshold);
/* Three gains; modes 4 and 8 only (else RET_ILLEGALOPERATION). */
ZDQ_API int ZDQ_WhiteBalanceMatrixSet(int nIndex, float* pfMatrix);
ZDQ_API int ZDQ_WhiteBalanceMatrixGet(int nIndex, float* pfMatrix);
ZDQ_API int ZDQ_WhiteBalanceAutoSetCallBack(int nIndex, WhiteBalanceAutoCallback pfCallback,
                                            void* lpContext);
ZDQ_API int ZDQ_WhiteBalanceAutoSetCallBackEx(int nIndex, WhiteBalanceAutoCallbackEx pfCallback,
                                              void* lpContext);
/* Presets 0-2 hold gains; another number is stored and keeps the gains. */
ZDQ_API int ZDQ_WhiteBalancePresettingSet(int nIndex, int nPreset);
ZDQ_API int ZDQ_WhiteBalancePresettingGet(int nIndex, int* pnPreset);

/* ---- Colour correction (colour cameras) ----
 * Matrix modes: 0 off, 1 software preset, 2 software user matrix, 3 FPGA
 * preset, 4 FPGA user matrix (other modes: 1, nothing changes). The matrix
 * is nine floats row by row; rows give output red, green, blue.
 * Table modes (ZDQ_ColorCorrectSet): 0 off, 1 grey-world offsets, 2 and 3
 * histogram equalisation per colour and of all pixels, computed from the
 * next raw frame in the white-balance region; 4 the automatic white-balance
 * search on the next RGB frame. ZDQ_RED_SHIFT .. ZDQ_BLUE_SHIFT write the
 * tables too. */
typedef void (*ColorCorrectCallback)(bool bSuccess, int nRedOffset, int nGreenOffset,
                                     int nBlueOffset, void* lpContext);
ZDQ_API int ZDQ_ColorCorrectionSet(int nIndex, int nMode);
ZDQ_API int ZDQ_ColorCorrectionGet(int nIndex, int* pnMode);
ZDQ_API int ZDQ_ColorCorrectionPresettingSet(int nIndex, int nPreset);
ZDQ_API int ZDQ_ColorCorrectionPresettingGet(int nIndex, int* pnPreset);
ZDQ_API int ZDQ_ColorCorrectionMatrixSet(int nIndex, float* pfMatrix);
ZDQ_API int ZDQ_ColorCorrectionMatrixGet(int nIndex, float* pfMatrix);
ZDQ_API int ZDQ_ColorCorrectSetCallback(int nIndex, ColorCorrectCallback pfCallback,
                                        void* lpContext);
ZDQ_API int ZDQ_ColorCorrectSet(int nIndex, int nMode, int nRed, int nGreen, int nBlue);
/* RET_PARAMERROR for a null output. */
ZDQ_API int ZDQ_ColorCorrectGet(int nIndex, int* pnMode);
ZDQ_API int ZDQ_ColorCorrectGetEx(int nIndex, int* pnMode, int* pnRed, int* pnGreen, int* pnBlue);
/* The table file (812 bytes): saving needs a table mode other than 0
 * (RET_FAIL); loading a null name resets the tables; RET_FAIL for a file
 * that cannot be read, RET_VERSIONERROR for one that is not a table file. */
ZDQ_API int ZDQ_ColorCorrectTableSave(int nIndex, const wchar_t* pszFile);
ZDQ_API int ZDQ_ColorCorrectTableLoad(int nIndex, const wchar_t* pszFile);
ZDQ_API int ZDQ_IsColorCorrectTableLoad(int nIndex, bool* pbLoad);

/* ---- Hue-saturation, process saturation and the calibration map ----
 * Range 0 is the master entry, 1-6 the colours centred on red, yellow,
 * green, cyan, blue and magenta (another range: RET_PARAMERROR); hue
 * -180..180, saturation and lightness -100..100. Each adjustment allocates a
 * 48 MiB colour cube when first used (RET_MALLOCFAIL when memory is short).
 * The process saturation (-128..127, 0 off) is ZDQ_SATURATION. */
ZDQ_API int ZDQ_HueSaturationSet(int nIndex, int nRange, int nHue, int nSaturation, int nLightness);
ZDQ_API int ZDQ_HueSaturationGet(int nIndex, int nRange, int* pnHue, int* pnSaturation,
                                 int* pnLightness);
ZDQ_API int ZDQ_HueSaturationSetEnable(int nIndex, bool bOn);
ZDQ_API int ZDQ_HueSaturationGetEnable(int nIndex, bool* pbOn);
ZDQ_API int ZDQ_ProcessSaturationSet(int nIndex, int nValue);
ZDQ_API int ZDQ_ProcessSaturationGet(int nIndex, int* pnValue);
ZDQ_API int ZDQ_ProcessSaturationGetRange(int nIndex, int* pnMin, int* pnMax);
/* The lens-distortion map from a file (null: the map is removed): RET_FAIL
 * for a file that cannot be read, RET_VERSIONERROR for a wrong header or a
 * file whose length does not match it. Mode 1 interpolates, others take the
 * nearest pixel; the map applies to frames of its size only. */
ZDQ_API int ZDQ_LoadCalibrationMapFile(int nIndex, const wchar_t* pszFile);
ZDQ_API int ZDQ_SetCalibrationMapMode(int nIndex, int nMode);
ZDQ_API int ZDQ_GetCalibrationMapMode(int nIndex, int* pnMode);
ZDQ_API int ZDQ_PreviewSetCalibration(int nIndex, bool bOn);
ZDQ_API int ZDQ_PreviewGetCalibration(int nIndex, bool* pbOn);
ZDQ_API int ZDQ_CaptureSetCalibration(int nIndex, bool bOn);
ZDQ_API int ZDQ_CaptureGetCalibration(int nIndex, bool* pbOn);
/* The calibration record in the camera's memory (memory kinds 1 and 2, else
 * RET_NOTSUPPORT): the camera model of 14 floats (56 bytes: the camera
 * matrix row by row, then k1, k2, p1, p2, k3) stored with the capture size.
 * The readout writes the stored count of entries x 4 bytes (at most 56) into
 * pData: RET_VERSIONERROR for a record without its header, RET_ILLEGALOPERATION
 * for a count above 14. The map is built from the record when the camera
 * opens. */
ZDQ_API int ZDQ_CalibrationProgram(int nIndex, const void* pData);
ZDQ_API int ZDQ_CalibrationReadout(int nIndex, unsigned char* pData);

/* ---- Settings kept in the camera's memory ----
 * The memory kind (ZDQ_EEPROMTypeGet) decides what a camera keeps: kind 0
 * only the serial byte and the working and colour modes; kinds 1 and 2 also
 * the parameter block, the LUT, the white-balance gains and colour matrix
 * and the calibration record; kind 1 also the serial description, the
 * working mode Ex and the gamma LUT. An item the memory kind has no place
 * for, or whose capability the camera lacks, gives RET_NOTSUPPORT. A failing
 * request ends a transfer with its code (what went before stays written);
 * RET_DEVICECLOSED after ZDQ_Close. */

/* The parameter block: every setting of the camera (fields of view,
 * exposure, gains, flip and mirror, white balance, colour matrix, automatic
 * exposure, trigger, strobe, 16-bit data, sensitivity, bad pixels, time-out,
 * Bayer mode and demosaic algorithm, contrast, brightness, gamma,
 * saturation, GPIO, line-scan registers) written into the camera, erased,
 * or read back and applied. A camera applies its stored block when it
 * opens. ZDQ_LoadParamFromCamera: RET_FATALERROR when no valid block is
 * stored; else 1, whatever each setting's own result (a setting the camera
 * refuses is logged and skipped). */
ZDQ_API int ZDQ_ParamProgram(int nIndex);
ZDQ_API int ZDQ_ParamErase(int nIndex);
ZDQ_API int ZDQ_LoadParamFromCamera(int nIndex);
/* The serial byte (the low byte of nSerial). ZDQ_GetSerials: RET_PARAMERROR
 * for a null pSerial. */
ZDQ_API int ZDQ_SetSerials(int nIndex, int nSerial);
ZDQ_API int ZDQ_GetSerials(int nIndex, unsigned char* pSerial);
/* The serial description: 16 bytes from or into pDescription
 * (RET_PARAMERROR for null). */
ZDQ_API int ZDQ_SerialsDescProgram(int nIndex, unsigned char* pDescription);
ZDQ_API int ZDQ_SerialsDescReadout(int nIndex, unsigned char* pDescription);
/* The stored working mode, colour mode (colour cameras) and working mode Ex
 * (16 bits each; the Ex readout fills 2 bytes, low first). A stored working
 * mode with bit 8 set makes the camera open with 8-bit data, sensitivity 0
 * and free run. The readouts give RET_PARAMERROR for a null output. */
ZDQ_API int ZDQ_WorkingModeProgram(int nIndex, int nMode);
ZDQ_API int ZDQ_WorkingModeReadout(int nIndex, unsigned short* pnMode);
ZDQ_API int ZDQ_WorkingModeExProgram(int nIndex, int nMode);
ZDQ_API int ZDQ_WorkingModeExReadout(int nIndex, unsigned char* pMode);
ZDQ_API int ZDQ_ColorModeProgram(int nIndex, int nMode);
ZDQ_API int ZDQ_ColorModeReadout(int nIndex, unsigned short* pnMode);
/* The stored LUT: 2^(ADC bits) bytes (ZDQ_GetADCResolution; at most 4096).
 * The program writes the table and its length into the camera's memory,
 * then downloads it into the camera (ZDQ_LutDataDownload) and gives that
 * result; another length is RET_PARAMERROR. The readout sets *pnLength to
 * the table's length and, with pData (may be null), fills pData with that
 * many bytes; a stored length other than the table's is RET_FAIL. The LUT
 * file (type 'A') must hold a table of exactly that many entries:
 * RET_PARAMERROR for a null name, RET_FAIL for a file that cannot be read
 * or is short, RET_VERSIONERROR for another version, RET_ILLEGALOPERATION
 * for another type or table size. The length alone: ZDQ_LutInfo* (RET_FAIL
 * when the camera refuses the read). */
ZDQ_API int ZDQ_LutInfoProgram(int nIndex, int nLength);
ZDQ_API int ZDQ_LutInfoReadout(int nIndex, unsigned short* pnLength);
ZDQ_API int ZDQ_LutDataProgram(int nIndex, unsigned char* pData, int nLength);
ZDQ_API int ZDQ_LutDataReadout(int nIndex, unsigned char* pData, int* pnLength);
ZDQ_API int ZDQ_LutFileProgram(int nIndex, const wchar_t* pszFile);
/* The stored gamma LUT, the same way with 2^(ADC bits) 16-bit entries
 * (pData of the readout holds that many entries); a gamma LUT file (type
 * 'C') of another type is RET_PARAMERROR. */
ZDQ_API int ZDQ_GammaLutInfoProgram(int nIndex, int nLength);
ZDQ_API int ZDQ_GammaLutInfoReadout(int nIndex, unsigned short* pnLength);
ZDQ_API int ZDQ_GammaLutDataProgram(int nIndex, unsigned short* pData, int nLength);
ZDQ_API int ZDQ_GammaLutDataReadout(int nIndex, unsigned short* pData, int* pnLength);
ZDQ_API int ZDQ_GammaLutFileProgram(int nIndex, const wchar_t* pszFile);
/* The FPGA's white-balance gains (3 floats: red, green, blue) and colour
 * matrix (9 floats, row by row) kept in the camera's memory as signed fixed
 * point x 4096 (values beyond -8 .. 8 saturate); colour cameras. The Upload
 * forms read the values the FPGA uses now into the floats (RET_NOTSUPPORT
 * where the FPGA cannot be read back). RET_PARAMERROR for null floats. */
ZDQ_API int ZDQ_HWBMatrixProgram(int nIndex, float* pfGains);
ZDQ_API int ZDQ_HWBMatrixReadout(int nIndex, float* pfGains);
ZDQ_API int ZDQ_HWBMatrixUpload(int nIndex, float* pfGains);
ZDQ_API int ZDQ_HCCMMatrixProgram(int nIndex, float* pfMatrix);
ZDQ_API int ZDQ_HCCMMatrixReadout(int nIndex, float* pfMatrix);
ZDQ_API int ZDQ_HCCMMatrixUpload(int nIndex, float* pfMatrix);
/* Segmented line sensors (device types 98-101). ZDQ_AWAIBA_IsUsed gives 1
 * with *pbUsed 1 for such a camera, 0 for another; ZDQ_AWAIBA_GetSegmentNum
 * their segment count (0 for other cameras). Gain and black level per
 * segment, 0-255 each (a gain outside 0-255 as a 16-bit value sets gain 255,
 * a level above 255 as a 16-bit value sets 255); RET_NOTSUPPORT for another
 * camera or a segment beyond the count. ZDQ_AWAIBA_AutoBlackLevel calibrates
 * one segment's black level from dark frames. The split switch (non-zero: on) puts each
 * row's interleaved segments side by side in the frames handed out. */
ZDQ_API int ZDQ_AWAIBA_IsUsed(int nIndex, unsigned char* pbUsed);
ZDQ_API int ZDQ_AWAIBA_GetSegmentNum(int nIndex, int* pnSegments);
ZDQ_API int ZDQ_AWAIBA_GetGainRange(int nIndex, int nSegment, int* pnMin, int* pnMax);
ZDQ_API int ZDQ_AWAIBA_SetGain(int nIndex, int nSegment, int nGain);
ZDQ_API int ZDQ_AWAIBA_GetGain(int nIndex, int nSegment, int* pnGain);
ZDQ_API int ZDQ_AWAIBA_GetBlackLevelRange(int nIndex, int nSegment, int* pnMin, int* pnMax);
ZDQ_API int ZDQ_AWAIBA_SetBlackLevel(int nIndex, int nSegment, int nLevel);
ZDQ_API int ZDQ_AWAIBA_GetBlackLevel(int nIndex, int nSegment, int* pnLevel);
ZDQ_API int ZDQ_AWAIBA_AutoBlackLevel(int nIndex, int nSegment);
ZDQ_API int ZDQ_AWAIBA_SetSplitSegment(int nIndex, unsigned char bySplit);
ZDQ_API int ZDQ_AWAIBA_GetSplitSegment(int nIndex, unsigned char* pbSplit);

/* 3D laser-profile cameras. ZDQ3D_Inital opens the cameras (as ZDQ_Init) and
 * puts every one whose memory holds a 3D block into 3D mode: 1 when one
 * did, RET_FAIL (-8) when none did (also without the laser-profile library
 * libZDQ3DApi_x64.so, looked for beside this library first). A started
 * acquisition catches frames of the 3D ROI into a ring of 64 and turns each
 * into a profile of colSize points (Z -1000.0 where no laser line was
 * found); every ZDQ3D_SetMaxNumberOfProfilesToCapture profiles make a point
 * cloud. The callbacks run on the SDK's processing thread; they must return
 * and must not call the control exports of the same camera. Exports of a
 * camera not in 3D mode give RET_3DNOTINIT (-22); settings that change the
 * frame stream give RET_ILLEGALOPERATION (-6) while acquiring. */
typedef void (*ZDQ3DImageCallback)(int nIndex, unsigned char* pImage, int nWidth, int nHeight,
                                   int nBitCount, void* pContext);
/* One profile: nPoints X and Z values (only the valid points while
 * obliterate is on), its Y, its index in the cloud and the trigger signals
 * lost before it. */
typedef void (*ZDQ3DProfileDataCallback)(int nIndex, int nPoints, double dY, int nProfileIndex,
                                         int* pX, float* pZ, int nLostSignals, void* pContext);
/* One point cloud of nProfiles profiles (nPoints points) and the trigger
 * signals lost while it was taken. */
typedef void (*ZDQ3DPointCloudDataCallback)(int nIndex, int nPoints, int nProfiles, int* pX,
                                            float* pY, float* pZ, int nLostSignals, void* pContext);
ZDQ_API int ZDQ3D_Inital(void);
ZDQ_API int ZDQ3D_UnInitial(void);
ZDQ_API int ZDQ3D_GetAPIVersion(int* pMajor, int* pMinor, int* pRevision, int* pBuild);
ZDQ_API int ZDQ3D_GetDeviceCount(int* pnCount);
ZDQ_API int ZDQ3D_GetDeviceInformation(int nIndex, int* pType, int* pSerial,
                                       unsigned short* pFirmware);
ZDQ_API int ZDQ3D_Is3DCamera(int nIndex, bool* pbIs3D);
ZDQ_API int ZDQ3D_RegisterLiveImageCB(int nIndex, ZDQ3DImageCallback pfCallback, void* pContext);
ZDQ_API int ZDQ3D_RegisterProfileDataCB(int nIndex, ZDQ3DProfileDataCallback pfCallback,
                                        void* pContext);
ZDQ_API int ZDQ3D_RegisterProfileImageCB(int nIndex, ZDQ3DImageCallback pfCallback, void* pContext);
ZDQ_API int ZDQ3D_RegisterPointCloudDataCB(int nIndex, ZDQ3DPointCloudDataCallback pfCallback,
                                           void* pContext);
ZDQ_API int ZDQ3D_RegisterPointCloudImageCB(int nIndex, ZDQ3DImageCallback pfCallback,
                                            void* pContext);
/* The 3D area's size, and the ROI within it (a start outside the area
 * becomes 0, a size is cut to the area). */
ZDQ_API int ZDQ3D_GetRoiMax(int nIndex, int* pnWidth, int* pnHeight);
ZDQ_API int ZDQ3D_SetRoi(int nIndex, int nX, int nY, int nWidth, int nHeight);
ZDQ_API int ZDQ3D_GetRoi(int nIndex, int* pnX, int* pnY, int* pnWidth, int* pnHeight);
ZDQ_API int ZDQ3D_GetExposureTimeRange(int nIndex, float* pfMin, float* pfMax);
ZDQ_API int ZDQ3D_SetExposureTime(int nIndex, float fMs);
ZDQ_API int ZDQ3D_GetExposureTime(int nIndex, float* pfMs);
ZDQ_API int ZDQ3D_GetGainRange(int nIndex, int* pnMin, int* pnMax);
ZDQ_API int ZDQ3D_SetGain(int nIndex, int nGain);
ZDQ_API int ZDQ3D_GetGain(int nIndex, int* pnGain);
/* Start trigger: off, or on the rising (edge 0) or falling (edge 1) edge. */
ZDQ_API int ZDQ3D_SetStartTrigger(int nIndex, int nReserved, bool bEnable, int nEdge);
ZDQ_API int ZDQ3D_GetStartTrigger(int nIndex, int* pnReserved, bool* pbOff, int* pnEdge);
ZDQ_API int ZDQ3D_SetStartTriggerParameters(int nIndex, int nFilter, int nDelay);
ZDQ_API int ZDQ3D_GetStartTriggerParameters(int nIndex, int* pnFilter, int* pnDelay);
/* Data trigger: 0 free run, 1 internal at a fixed frequency, 2 external. */
ZDQ_API int ZDQ3D_SetDataTriggerMode(int nIndex, int nMode);
ZDQ_API int ZDQ3D_GetDataTriggerMode(int nIndex, int* pnMode);
ZDQ_API int ZDQ3D_SetDataTriggerInternalFrequency(int nIndex, int nHz);
ZDQ_API int ZDQ3D_GetDataTriggerInternalFrequency(int nIndex, int* pnHz);
ZDQ_API int ZDQ3D_SetDataTriggerExternalTriggerParameters(int nIndex, int nPeriod, int nDelay,
                                                          int nFilter, int nEdge);
ZDQ_API int ZDQ3D_GetDataTriggerExternalTriggerParameters(int nIndex, int* pnPeriod, int* pnDelay,
                                                          int* pnFilter, int* pnEdge);
/* Profiles per point cloud, 1 .. 65535. */
ZDQ_API int ZDQ3D_SetMaxNumberOfProfilesToCapture(int nIndex, int nProfiles);
ZDQ_API int ZDQ3D_GetMaxNumberOfProfilesToCapture(int nIndex, int* pnProfiles);
ZDQ_API int ZDQ3D_StartAcquisition(int nIndex);
ZDQ_API int ZDQ3D_StopAcquisition(int nIndex);
ZDQ_API int ZDQ3D_SetObliterateInvalidData(int nIndex, bool bOn);
ZDQ_API int ZDQ3D_GetObliterateInvalidData(int nIndex, bool* pbOn);
ZDQ_API int ZDQ3D_Set3DLaserLineBrightnessThreshold(int nIndex, int nThreshold);
ZDQ_API int ZDQ3D_Get3DLaserLineBrightnessThreshold(int nIndex, int* pnThreshold);
/* Laser 0 off, 1 on, 2 driven by the strobe output. */
ZDQ_API int ZDQ3D_LaserModeSet(int nIndex, int nMode);
ZDQ_API int ZDQ3D_LaserModeGet(int nIndex, int* pnMode);
ZDQ_API int ZDQ3D_GetMeasurementRange(int nIndex, float* pfXFrom, float* pfXTo, float* pfZFrom,
                                      float* pfZTo);
/* Heights mapped to grey 0 .. 255 in the images (min below max). */
ZDQ_API int ZDQ3D_SetZMap(int nIndex, float fMin, float fMax);
ZDQ_API int ZDQ3D_GetZMap(int nIndex, float* pfMin, float* pfMax);
/* Y distance per trigger signal, above 0. */
ZDQ_API int ZDQ3D_SetYResolution(int nIndex, float fResolution);
ZDQ_API int ZDQ3D_GetYResolution(int nIndex, float* pfResolution);
/* Profiles and trigger signals per second, measured. */
ZDQ_API int ZDQ3D_GetTransmissionRate(int nIndex, float* pfRate);
ZDQ_API int ZDQ3D_GetExternalTriggerRate(int nIndex, float* pfRate);
/* Writes nWidth x nHeight points as an ASCII PCD file ("nan nan nan" for a
 * point whose x is -1000.0): RET_PARAMERROR for a size not above 0 or a null
 * pointer, RET_FAIL when the file cannot be written. */
ZDQ_API int ZDQ3D_HelperSaveToPCD(int nWidth, int nHeight, float* pX, float* pY, float* pZ,
                                  const wchar_t* pszFile);

#ifdef __cplusplus
}
/* Any device-to-host vendor request with the caller's data stage, on a
 * camera already open in its slot. C++ linkage. */
ZDQ_API int ZDQ_VendorCmdEx(int nIndex, unsigned char byRequest, unsigned short wValue,
                            unsigned short wIndex, unsigned short wLength, unsigned char* pData);
#endif

#endif /* ZDQAPI_H */
