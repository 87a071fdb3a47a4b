/*
 * ZDQ3DApi.h - the laser-profile library's seven entries (libZDQ3DApi_x64.so,
 * our stand-in of the camera maker's library).
 *
 * A run parameter block (ZDQ_Get3DParamLength bytes) describes the 3D area on
 * the camera's sensor and the library's own calibration; ZDQ_Init3DRunParam
 * makes a run handle of it. For each frame of the current ROI (colSize x
 * rowSize bytes, 8-bit samples, rows top-down) ZDQ_ImageToPointCloud gives one
 * profile: per column the laser line's Z, or -1000.0 where no line is found,
 * and the column's X. All entries return 1 on success.
 */
#ifndef ZDQ3DAPI_H
#define ZDQ3DAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ZDQ3D_API __attribute__((visibility("default")))

/* Z of a column without a laser line. */
#define ZDQ3D_INVALID_Z (-1000.0f)

ZDQ3D_API int ZDQ_3DGetVersion(int* pMajor, int* pMinor);
/* Bytes of the run parameter block. */
ZDQ3D_API int ZDQ_Get3DParamLength(void);
/* A run handle for a block (magic 0x5A, a 3D area of positive size): 1, or
 * -1 for a null pointer or a block it cannot use. The ROI starts as the
 * whole 3D area. */
ZDQ3D_API int ZDQ_Init3DRunParam(const unsigned char* pBlock, uint64_t* pHandle);
ZDQ3D_API int ZDQ_Uninit3DRunParam(uint64_t handle);
/* The ROI within the 3D area: -1 for an unknown handle or a ROI outside the
 * area. */
ZDQ3D_API int ZDQ_Set3DROI(uint64_t handle, int x, int y, int width, int height);
/* One profile of a frame of the ROI's size: width Z and width X values.
 * -1 for an unknown handle or a null pointer. */
ZDQ3D_API int ZDQ_ImageToPointCloud(const unsigned char* pFrame, uint64_t handle, int threshold,
                                    float* pZ, int* pX);
/* The measurement range of the block: X from, X to, Z from, Z to. */
ZDQ3D_API int ZDQ_GetMeasurementRange(uint64_t handle, float* pXFrom, float* pXTo, float* pZFrom,
                                      float* pZTo);

#ifdef __cplusplus
}
#endif

#endif /* ZDQ3DAPI_H */
