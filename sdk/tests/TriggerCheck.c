/* A plain C program that runs a simulated monochrome camera in real time
 * (type 42 with a 9.0 FPGA, whose fixed frame period counts 50 us steps)
 * first at a fixed frame rate, then in the external trigger mode, and counts
 * the preview frames that arrive: at most one a period at the fixed rate,
 * none without a trigger, one for each trigger. Every wait is bounded. */
#include <math.h>
#include <stdatomic.h>
#include <stdio.h>
#include <time.h>

#include "CChecks.h"
#include "ZDQApi.h"
#include "mlusbimager_control.h"

static atomic_int g_frames;

static void OnFrame(unsigned char* data, int width, int height, int bitCount, void* context) {
    (void)data, (void)context;
    if (width == 320 && height == 240 && bitCount == 8) {
        atomic_fetch_add(&g_frames, 1);
    }
}

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static void Sleep(double seconds) {
    struct timespec pause = {(time_t)seconds, (long)((seconds - (time_t)seconds) * 1e9)};
    nanosleep(&pause, NULL);
}

/* Waits up to 20 s for the frame count to reach a value. */
static int WaitFrames(int count) {
    const double end = Now() + 20.0;
    while (atomic_load(&g_frames) < count) {
        if (Now() > end) {
            return 0;
        }
        Sleep(0.002);
    }
    return 1;
}

int main(void) {
    MlSimProfile profile;
    mlsim_profile_default(42, &profile);
    profile.fpga_version = 0x0900;
    profile.timing = MLSIM_TIMING_REALTIME;
    profile.frame_rate_step = MLSIM_FRAME_STEP_50US;
    mlsim_unplug_all();
    CHECK_EQ(mlsim_plug(0, &profile), 1);
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    /* A small window and a short exposure: the read-out is far below the
     * fixed period. */
    CHECK_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_ExposureTimeSet(0, 1.0f), RET_SUCCESS);
    CHECK_EQ(ZDQ_PreviewSetCallback(0, OnFrame, NULL), RET_SUCCESS);

    /* 8 frames a second: a period of 2500 steps of 50 us. */
    CHECK_EQ(ZDQ_SetFixedFrameRate(0, true, 8.0f), RET_SUCCESS);
    CHECK_EQ(ZDQ_TriggerModeSet(0, 3), RET_SUCCESS);
    int mode = -1;
    CHECK_EQ(ZDQ_TriggerModeGet(0, &mode), RET_SUCCESS);
    CHECK_EQ(mode, 3);
    float fps = 0;
    CHECK_EQ(ZDQ_GetFixedFrameRateEx(0, &fps), RET_SUCCESS);
    CHECK(fabs(fps - 8.0) < 0.01);

    CHECK_EQ(ZDQ_PreviewStart(0, true), RET_SUCCESS);
    CHECK(WaitFrames(2));
    /* The camera's own view of the registers the SDK wrote. */
    MlSimFrameInfo info;
    CHECK_EQ(mlsim_frame_info(0, &info), 1);
    CHECK_EQ(info.trigger_mode, 3);
    CHECK(fabs(info.frame_period_ms - 125.0) < 0.01);
    const int first = atomic_load(&g_frames);
    const double start = Now();
    Sleep(2.0);
    const int atRate = atomic_load(&g_frames) - first;
    const double seconds = Now() - start;
    /* Never faster than the period (one frame may be on its way at each
     * end); a busy machine may deliver fewer. */
    CHECK(atRate <= (int)(seconds / 0.125) + 1);
    CHECK(atRate >= 8);

    /* External trigger: nothing until a trigger, then one frame each. */
    CHECK_EQ(ZDQ_TriggerModeSet(0, 1), RET_SUCCESS);
    CHECK_EQ(mlsim_frame_info(0, &info), 1);
    CHECK_EQ(info.trigger_mode, 1);
    Sleep(0.3);
    const int beforeTriggers = atomic_load(&g_frames);
    Sleep(0.5);
    CHECK_EQ(atomic_load(&g_frames), beforeTriggers);
    for (int i = 1; i <= 3; ++i) {
        CHECK_EQ(mlsim_trigger(0), 1);
        CHECK(WaitFrames(beforeTriggers + i));
    }
    Sleep(0.5);
    CHECK_EQ(atomic_load(&g_frames), beforeTriggers + 3);

    CHECK_EQ(ZDQ_PreviewStart(0, false), RET_SUCCESS);
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    if (g_failures == 0) {
        printf("trigger: %d frames in %.2f s at 8 fps, one frame for each of 3 triggers\n", atRate,
               seconds);
    }
    return g_failures == 0 ? 0 : 1;
}
