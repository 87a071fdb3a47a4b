/*
 * laser3d_control.h - test control of the laser-profile library stand-in
 * (libZDQ3DApi_x64.so), and the layout of its run parameter block.
 *
 * Block (64 bytes, little-endian):
 *   @0  u8   0x5A
 *   @4  i32  3D area column start on the sensor    @8  i32 row start
 *   @12 i32  3D area width                         @16 i32 height
 *   @32 u8   flip (0/1)
 *   @36 f32  Z at row 0 of the 3D area             @40 f32 Z per row
 *   @44 f32  X from   @48 f32 X to   @52 f32 Z from   @56 f32 Z to
 *            (the measurement range reported)
 *
 * A profile: for each column c of the ROI (x, y, width, height within the 3D
 * area) the rows 1 .. height - 1 of the frame are searched (row 0 holds the
 * camera's frame header) for runs of consecutive samples above the
 * threshold; the run with the largest sum is the line, its centroid row r
 * (sum of row x sample / sum of samples over the run). Then
 *     Z = Z0 + Z per row x (y + r),   X = x + c
 * and Z = -1000.0 (X still x + c) where no sample is above the threshold.
 *
 * The library built beside it as libZDQ3DApi_x64_partial.so lacks the entry
 * ZDQ_Set3DROI (a library some entry of which is missing).
 */
#ifndef LASER3D_CONTROL_H
#define LASER3D_CONTROL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LASER3D_API __attribute__((visibility("default")))

#define LASER3D_BLOCK_BYTES 64
#define LASER3D_MAGIC 0x5A
#define LASER3D_AT_COLUMN 4
#define LASER3D_AT_ROW 8
#define LASER3D_AT_WIDTH 12
#define LASER3D_AT_HEIGHT 16
#define LASER3D_AT_FLIP 32
#define LASER3D_AT_Z0 36
#define LASER3D_AT_Z_PER_ROW 40
#define LASER3D_AT_RANGE 44

/* ZDQ_Get3DParamLength answers length (0 restores LASER3D_BLOCK_BYTES; a
 * block shorter than 64 bytes is then still read as 64 bytes only up to its
 * length, the rest counting as 0). */
LASER3D_API void laser3d_sim_set_param_length(int32_t length);
/* Run handles now open (made and not yet released). */
LASER3D_API int32_t laser3d_sim_open_handles(void);
/* The last ROI set on a handle: 1, or 0 for an unknown handle. */
LASER3D_API int laser3d_sim_roi(uint64_t handle, int32_t* x, int32_t* y, int32_t* width,
                                int32_t* height);

#ifdef __cplusplus
}
#endif

#endif /* LASER3D_CONTROL_H */
