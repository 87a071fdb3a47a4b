/*
 * CamCore_control.h - test control of the simulated cooled camera behind
 * libCamCore.so. Not part of the camera library's interface: the station
 * program never includes it.
 *
 * Configuration
 * -------------
 * The simulator reads its configuration at InitDevice from the environment
 * variable CAMCORE_SIM, a list of key=value separated by ';' or ',' (unknown keys
 * and bad values are ignored, each key keeps its default):
 *
 *   width=512 height=384   sensor pixels at resolution 0 (even, 8 .. 4096)
 *   scene=bands            bands | dark | whole-bright
 *   time_scale=1           real milliseconds a GetRawData waits per
 *                          millisecond of exposure (0: no wait)
 *   max_wait_ms=3000       upper bound of one GetRawData wait
 *   world_file=PATH        the shared world; "blot=1" there lights the
 *                          membrane (the dark-room simulator writes it)
 *   seed=1                 seed of the sensor noise
 *   noise=16               noise amplitude in 16-bit counts (0: none)
 *   signal=300             counts a second of exposure of the brightest band
 *                          at gain 200, one sensor pixel
 *   ambient=25 setpoint=-10 cool_ms=60000
 *                          the sensor cools from ambient towards the set
 *                          point with this time constant, from InitDevice on
 *   devices=1              connected cameras (0 or 1)
 *
 * Sample level of a pixel (16-bit counts, before clipping at 65535):
 *     black + radiance x signal x (exposure_ms / 1000) x (gain / 200) x b^2
 *     + noise
 * with black = 10 x black level, b the binning (1, 2, 4) and the radiance of
 * the scene at the binned pixel's centre: "bands" has eight lanes of three
 * bands on a background of 0.02, each band a dome over its lane's width and
 * its height (the brightest, lane 4's middle band, peaks at 1.0), "dark" is 0
 * everywhere, "whole-bright" is 1.0 everywhere. While the blot light is on
 * the membrane (the middle 80 % of the picture) adds 40. The noise is
 * uniform in [-noise, +noise], from the seed and the frame number. An 8-bit
 * sample is the 16-bit one shifted right by 8. Flip 1 turns the picture
 * upside down, 2 mirrors it, 3 both.
 *
 * All calls are thread-safe.
 */
#ifndef CAMCORE_CONTROL_H
#define CAMCORE_CONTROL_H

#include "CamCore.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Ends the library as ExitDevice does and sets the configuration (the same
 * text as CAMCORE_SIM; null or empty: every default) for the next
 * InitDevice. Clears journal, failures, counters and the stall. */
CAMCORE_API void camsim_reset(const char* config);

/* The next `count` calls of the named function (for example "SetExposure")
 * fail with `code` and change nothing; count -1: every call from now on;
 * count 0 clears it. DeviceCount fails by answering `code` as its count. */
CAMCORE_API void camsim_fail(const char* function, int count, int code);

/* While stalled, GetRawData waits without delivering a frame until the stall
 * is lifted, the sensor is suspended or the library ends. */
CAMCORE_API void camsim_stall_reads(int stalled);

/* The blot light as the shared world would report it; overrides the world
 * file until camsim_reset. -1 returns to the world file. */
CAMCORE_API void camsim_set_blot_light(int on);

/* The journal: one line per call ("SetExposure 5000 -> 0"), in call order.
 * Copies at most size - 1 bytes and a terminating zero; returns the length
 * of the whole journal. */
CAMCORE_API int camsim_journal(char* text, int size);
CAMCORE_API void camsim_clear_journal(void);

/* Frames delivered by GetRawData and decoded by DecodeRaw2Image since the
 * last reset, and the frame number of the last decoded frame. */
CAMCORE_API int camsim_frames_grabbed(void);
CAMCORE_API int camsim_frames_decoded(void);
CAMCORE_API unsigned camsim_last_decoded_frame(void);

/* The exposure (ms) and gain each delivered frame was taken with, oldest
 * first; fills at most `capacity` entries and returns how many frames there
 * were. */
CAMCORE_API int camsim_frame_exposures(float* exposures, int* gains, int capacity);

#ifdef __cplusplus
}
#endif

#endif /* CAMCORE_CONTROL_H */
