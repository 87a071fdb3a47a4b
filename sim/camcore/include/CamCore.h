/*
 * CamCore.h - the cooled camera library (libCamCore.so).
 *
 * One library call per camera operation. Every call that concerns a camera
 * takes the camera's name (the zero-terminated text DeviceName(0) returns)
 * as its last argument. Calls return 0 for success and a negative
 * CAMCORE_E_* code for failure, except where a comment says otherwise (the
 * getters return the value itself, never negative on success). A failed
 * call writes nothing through its pointers and changes nothing.
 *
 * Before InitDevice, after ExitDevice and with a name that is not a
 * connected camera's, every camera call fails (CAMCORE_E_NOT_STARTED,
 * CAMCORE_E_UNKNOWN_DEVICE).
 *
 * Raw frames and decoded images
 * -----------------------------
 * GetRawData copies one raw frame: a header of CAMCORE_HEADER_LENGTH bytes
 * followed by the samples of the current resolution and depth. RecvMemSize
 * is the size of the largest raw frame (resolution 0, 16 bits), so a buffer
 * of that size takes every frame. DecodeRaw2Image writes the decoded image
 * into a buffer of 3 x RecvMemSize bytes: the same header followed by the
 * grey samples, never more bytes than the raw frame has. The header, little
 * endian:
 *
 *   offset 0   u32  frame number (counted from 1 since InitDevice)
 *   offset 4   u16  width in pixels
 *   offset 6   u16  height in pixels
 *   offset 8   u8   bits per sample: 8 (one byte) or 16 (two bytes)
 *   offset 9   u8   channels: 1 (grey)
 *   offset 10  u16  CAMCORE_FRAME_MAGIC
 *   offset 12  u16  header length (offset of the first sample)
 *   offset 14  u16  0
 *
 * Samples follow row by row, width x height of them.
 */
#ifndef CAMCORE_H
#define CAMCORE_H

#ifdef __cplusplus
extern "C" {
#endif

#define CAMCORE_API __attribute__((visibility("default")))

/* An 8-bit truth value. */
typedef unsigned char CamBool;

#define CAMCORE_OK 0
#define CAMCORE_E_NOT_STARTED (-1)    /* InitDevice not called, or ExitDevice since */
#define CAMCORE_E_UNKNOWN_DEVICE (-2) /* the name is no connected camera's */
#define CAMCORE_E_ARGUMENT (-3)       /* null pointer, value out of range, foreign frame */
#define CAMCORE_E_NOT_RUNNING (-4)    /* the sensor is suspended: no frame */
#define CAMCORE_E_BUFFER (-5)         /* destination smaller than the frame */
#define CAMCORE_E_UNSUPPORTED (-6)    /* this camera has no such function */
#define CAMCORE_E_DEVICE (-7)         /* the camera refused or failed the request */

#define CAMCORE_HEADER_LENGTH 16
#define CAMCORE_FRAME_MAGIC 0xCC16

/* Resolution indices: binning of the sensor's pixels. */
#define CAMCORE_RES_1X1 0
#define CAMCORE_RES_2X2 1
#define CAMCORE_RES_4X4 2

/* Start and end of the library. `path` names the folder of the camera's
 * configuration (it must end in '/'). */
CAMCORE_API int InitDevice(const char* path);
CAMCORE_API int ExitDevice(void);

/* Connected cameras; 0 before InitDevice. */
CAMCORE_API int DeviceCount(void);
/* The name of camera `index`; an empty text for no such camera. The text
 * stays valid until ExitDevice. */
CAMCORE_API const char* DeviceName(int index);
/* 1 while the sensor runs (resumed), 0 while suspended. */
CAMCORE_API int DeviceState(const char* name);

/* Bytes of the largest raw frame. */
CAMCORE_API int RecvMemSize(const char* name);
/* Bytes of the frame header. */
CAMCORE_API int DataHeadLen(const char* name);

CAMCORE_API int ResumeDevice(const char* name);
CAMCORE_API int SuspendDevice(const char* name);
/* Restarts the sensor's read-out: a frame being exposed is dropped (its
 * GetRawData fails with CAMCORE_E_DEVICE); parameters and the running state
 * stay. */
CAMCORE_API int ResetDevice(const char* name);
/* 1: the camera supports ResetDevice. */
CAMCORE_API int ResetSupport(const char* name);

/* Resolution: 0 full, 1 2x2 binning, 2 4x4 binning. */
CAMCORE_API int SetResolution(int index, const char* name);
CAMCORE_API int GetResolution(const char* name);
CAMCORE_API int GetResolutionCount(const char* name);
CAMCORE_API int GetResWidth(int index, const char* name);
CAMCORE_API int GetResHeight(int index, const char* name);
CAMCORE_API int GetResItemName(int index, const char* name);

/* Pixel clock: indices 0 to 3 (3 is the slow clock of long exposures). */
CAMCORE_API int SetPixelclock(int index, const char* name);
CAMCORE_API int GetPixelclock(const char* name);
CAMCORE_API int GetPixelclockCount(const char* name);
CAMCORE_API int GetPixclkItemName(int index, const char* name);

/* Raw depth in bits: 8 or 16. */
CAMCORE_API int SetRawDepth(int bits, const char* name);
CAMCORE_API int GetRawDepth(const char* name);
/* 1: the depth of `bits` is available. */
CAMCORE_API int GetRawDepthState(int bits, const char* name);
CAMCORE_API int GetImageChannles(const char* name);
/* Width, height and bytes of the current raw frame. */
CAMCORE_API int GetRawSize(int* width, int* height, const char* name);

/* Exposure in milliseconds, 0.1 to 3600000. */
CAMCORE_API int SetExposure(float milliseconds, const char* name);
/* The current exposure in milliseconds; -1 on failure. */
CAMCORE_API float GetExposure(const char* name);
CAMCORE_API int GetExposureRange(float* minimum, float* maximum, float* fallback, const char* name);
CAMCORE_API int SetAutoExposure(CamBool on, const char* name);
CAMCORE_API int GetAutoExposure(CamBool* on, const char* name);
CAMCORE_API int SetAETarget(int target, const char* name);
CAMCORE_API int GetAETarget(const char* name);
CAMCORE_API int GetAETargetRange(int* minimum, int* maximum, int* fallback, const char* name);

/* Analog gain: the range is minimum, maximum and default, in that order. */
CAMCORE_API int SetAnaloggain(int gain, const char* name);
CAMCORE_API int GetAnaloggain(const char* name);
CAMCORE_API int GetAnaloggainRange(int* minimum, int* maximum, int* fallback, const char* name);

/* Black level 0 to 255 (ten counts of a 16-bit sample each); contrast,
 * gamma and stretch act on the camera's display path only: raw data stays
 * linear. */
CAMCORE_API int SetBlacklevel(int level, const char* name);
CAMCORE_API int GetBlacklevel(const char* name);
CAMCORE_API int GetBlacklevelRange(int* minimum, int* maximum, int* fallback, const char* name);
CAMCORE_API int SetGamma(int gamma, const char* name);
CAMCORE_API int GetGamma(const char* name);
CAMCORE_API int GetGammaRange(int* minimum, int* maximum, int* fallback, const char* name);
CAMCORE_API int SetContrast(int contrast, const char* name);
CAMCORE_API int GetContrast(const char* name);
CAMCORE_API int GetContrastRange(int* minimum, int* maximum, int* fallback, const char* name);
CAMCORE_API int SetStretch(int low, int high, CamBool on, const char* name);
CAMCORE_API int GetStretch(int* low, int* high, CamBool* on, const char* name);
CAMCORE_API int GetStretchRange(int* minimum, int* maximum, int* fallback, const char* name);

/* Flip: 0 none, 1 upside down, 2 mirrored, 3 both. */
CAMCORE_API int SetFlip(int flip, const char* name);
CAMCORE_API int GetFlip(const char* name);

CAMCORE_API int SetHistogramState(CamBool on, const char* name);
CAMCORE_API int GetHistogramState(CamBool* on, const char* name);
CAMCORE_API int SetFlatfieldState(CamBool on, const char* name);
CAMCORE_API int GetFlatfieldState(CamBool* on, const char* name);
CAMCORE_API int SetDefectCorrectionState(CamBool on, const char* name);
CAMCORE_API int GetDefectCorrectionState(CamBool* on, const char* name);

/* Cooling: the sensor is cooled from InitDevice on. Temperature in deg C. */
CAMCORE_API int SetCooled(CamBool on, const char* name);
CAMCORE_API int GetCooled(CamBool* on, const char* name);
CAMCORE_API int GetTemperature(float* celsius, const char* name);

CAMCORE_API int SetImageFormat(int format, const char* name);
CAMCORE_API int GetImageFormat(int* format, const char* name);
CAMCORE_API int SetRoiState(CamBool on, const char* name);
CAMCORE_API int GetRoiState(CamBool* on, const char* name);
CAMCORE_API int SetRoi(int x, int y, int width, int height, const char* name);
CAMCORE_API int GetRoi(int* x, int* y, int* width, int* height, const char* name);

CAMCORE_API int SetDefaultConfiguration(const char* name);
CAMCORE_API int GetCurrentConfiguration(const char* name);
CAMCORE_API int SaveConfiguration(int slot, const char* name);
CAMCORE_API int LoadConfiguration(int slot, const char* name);
CAMCORE_API int WriteInf(const void* data, int size, const char* name);
CAMCORE_API int ReadInf(void* data, int size, const char* name);
CAMCORE_API int SaveImage(const char* path, int format, const char* name);
CAMCORE_API int SaveFile(const void* image, const char* path, int format, const char* name);

/* Frames. GetRawData waits for the exposure and copies one raw frame into
 * `buffer` (`size` bytes, at least the current frame's); CAMCORE_E_NOT_RUNNING
 * while the sensor is suspended (or when it is suspended during the wait). */
CAMCORE_API int GetRawData(void* buffer, int size, const char* name);
/* Decodes a raw frame of this camera into `image` (3 x RecvMemSize bytes). */
CAMCORE_API int DecodeRaw2Image(const void* raw, void* image, const char* name);
/* Flat-field correction of a raw frame in place (when `on` and the state is
 * on). */
CAMCORE_API int CalcFlatfield(void* raw, CamBool on, const char* name);
/* Measures the sensor's defect pixels for the correction. */
CAMCORE_API int CalcDefectCorrection(const char* name);
CAMCORE_API int ResizeImage(const void* source, void* destination, int width, int height);
CAMCORE_API int GetPointIntensity(int x, int y, const char* name);
CAMCORE_API int GetImageIntensity(const void* image, int x, int y, int width, int height,
                                  int* minimum, int* maximum, int* mean, int* deviation,
                                  const char* name);

#ifdef __cplusplus
}
#endif

#endif /* CAMCORE_H */
