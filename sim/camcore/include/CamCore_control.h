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
 *   signal=65              counts a second of the brightest band's
 *                          chemiluminescence at gain 200, one sensor pixel
 *   membrane=160000        counts a second of the lit membrane at gain 200,
 *                          one sensor pixel
 *   ambient=25 setpoint=-10 cool_ms=60000
 *                          the sensor cools from ambient towards the set
 *                          point with this time constant, from InitDevice on
 *   devices=1              connected cameras (0 or 1)
 *
 * Sample level of a pixel (16-bit counts, before clipping at 65535):
 *     black + (radiance x signal + lit x reflectance x membrane)
 *             x (exposure_ms / 1000) x (gain / 200) x b^2 + noise
 * with black = 10 x black level, b the binning (1, 2, 4), lit 1 while the
 * blot light is on (else 0), and the radiance and reflectance of the scene
 * at the binned pixel's centre. The membrane fills the middle 80 % of the
 * picture. "bands" has eight lanes of three bands side by side on it; each
 * band is a spot over its lane's width and its height, densest at its
 * centre and falling off evenly to its rim (density 1.0 at the centre of
 * lane 3's middle band, 0.2 to 0.8 at the others). The bands glow with
 * their density on a background glow of 0.02 of the membrane, nothing
 * glows off it; "dark" glows nowhere, "whole-bright" 1.0 everywhere. The
 * membrane reflects the blot light: all of it where it is bare, 1 - 0.5
 * x density on a band; nothing outside the membrane reflects. The noise is
 * uniform in [-noise, +noise], from the seed and the frame number. An 8-bit
 * sample is the 16-bit one shifted right by 8. Flip 1 turns the picture
 * upside down, 2 mirrors it, 3 both.
 *
 * Levels with the defaults, at full resolution:
 *   - the lit membrane at 200 ms and gain 200 (the station's first-start
 *     preview): 100 + 160000 x 0.2 = 32100, 49 % of full scale; the
 *     brightest band on it 16100, 25 %;
 *   - without the light the bands at 200 ms: at most 113, below 0.2 %;
 *     the brightest band reaches half of full scale after 170 s at gain
 *     585 (the capture gain), after 11 s at 4 x 4 binning;
 *   - on a sensor of 1024 x 1024 pixels or more, the station's exposure
 *     estimate (5000 ms at 4 x 4 binning, gain 200, first-run calibration
 *     1.04 and 0.7) proposes about 3.5 minutes at full resolution, where the
 *     brightest band at gain 585 lies near 62 % of full scale and the
 *     weakest near 13 %.
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
