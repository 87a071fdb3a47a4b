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
 * RET_PARAMERROR for a null pState, RET_DEVICENOTINIT when no camera opens. */
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
 * releases it (later calls give RET_DEVICECLOSED); ZDQ_CancelIo cancels the
 * calling thread's transfers; ZDQ_ResetHost resets the endpoint, the pipe and
 * the USB port. */
ZDQ_API int ZDQ_Open(int nIndex);
ZDQ_API int ZDQ_Close(int nIndex);
ZDQ_API int ZDQ_CancelIo(int nIndex);
ZDQ_API int ZDQ_ResetHost(int nIndex);

/* ---- Registers, vendor requests and camera memory ------------------------ */

/* One vendor request as given (data stage pData, wLength bytes); no log. */
ZDQ_API int ZDQ_VendorCmd(int nIndex, const SetupPacket* pPacket, unsigned char* pData);
/* Image-sensor registers with 8-bit (Reg) or 16-bit (RegX) addresses. */
ZDQ_API int ZDQ_WrSensorReg(int nIndex, unsigned short wAddress, unsigned short wValue);
ZDQ_API int ZDQ_RdSensorReg(int nIndex, unsigned short wAddress, unsigned short* pValue);
ZDQ_API int ZDQ_WrSensorRegX(int nIndex, unsigned short wAddress, unsigned short wValue);
ZDQ_API int ZDQ_RdSensorRegX(int nIndex, unsigned short wAddress, unsigned short* pValue);
/* Restarts the sensor's frame (RET_NOTSUPPORT without the capability). */
ZDQ_API int ZDQ_FrameRestart(int nIndex);
/* FPGA registers by number with the camera's capability tests (the SDK's
 * register shadows are not changed); the Ex forms reach the register as
 * numbered, without tests. */
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
/* A register of the CCD front end. */
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

/* ---- Frame scaling ----------------------------------------------------------- */

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

#ifdef __cplusplus
}
/* Any device-to-host vendor request with the caller's data stage, on a
 * camera already open in its slot. C++ linkage. */
ZDQ_API int ZDQ_VendorCmdEx(int nIndex, unsigned char byRequest, unsigned short wValue,
                            unsigned short wIndex, unsigned short wLength, unsigned char* pData);
#endif

#endif /* ZDQAPI_H */
