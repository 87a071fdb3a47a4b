/* A plain C program that previews as the station program does, from the
 * simulated station camera on the gel scene (the ini file named by
 * MLUSBIMAGER_CONFIG): a window of the window system receives the frames,
 * a preview callback counts them, and automatic exposure with the station's
 * settings (20 steps, target 30) converges; the converged exposure is read
 * back. Every wait is bounded. */
#include <stdatomic.h>
#include <stdio.h>
#include <time.h>

#include "CChecks.h"
#include "ZDQApi.h"
#include "window/PlatWindow.h"

static atomic_int g_drawn;
static atomic_int g_frames;
static atomic_int g_aeDone;
static atomic_int g_aeSuccess;
static atomic_int g_aeExposure;

static void Sink(void* user, const PlatBitmapInfo* info, const void* bits, int x, int y, int width,
                 int height) {
    (void)user, (void)info, (void)bits, (void)x, (void)y;
    if (width == 400 && height == 320) {
        atomic_fetch_add(&g_drawn, 1);
    }
}

static void OnFrame(unsigned char* data, int width, int height, int bitCount, void* context) {
    (void)data, (void)context;
    if (width == 1280 && height == 1024 && bitCount == 8) {
        atomic_fetch_add(&g_frames, 1);
    }
}

static void OnAe(bool success, int exposureMs, void* context) {
    (void)context;
    atomic_store(&g_aeSuccess, success ? 1 : 0);
    atomic_store(&g_aeExposure, exposureMs);
    atomic_store(&g_aeDone, 1);
}

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* Waits up to 20 s for a counter to reach a value. */
static int WaitAtLeast(atomic_int* counter, int value) {
    const double end = Now() + 20.0;
    while (atomic_load(counter) < value) {
        if (Now() > end) {
            return 0;
        }
        struct timespec pause = {0, 2000000};
        nanosleep(&pause, NULL);
    }
    return 1;
}

int main(void) {
    CHECK(ZDQ_Init() == RET_SUCCESS);
    CHECK(ZDQ_DeviceGetCount() == 1);
    const PlatWindow window = platwin_register(Sink, NULL);
    CHECK(window != 0);
    CHECK(ZDQ_SetParam(0, ZDQ_EXPOSURE, 5) == RET_SUCCESS);
    CHECK(ZDQ_SetParam(0, ZDQ_RED, 8) == RET_SUCCESS);
    CHECK(ZDQ_PreviewSetFieldOfView(0, 0, 0, 1280, 1024, 0, 0) == RET_SUCCESS);
    CHECK(ZDQ_PreviewSetMode(0, 0) == RET_SUCCESS);
    CHECK(ZDQ_PreviewSetPos(0, window, 0, 0, 400, 320) == RET_SUCCESS);
    CHECK(ZDQ_PreviewSetCallback(0, OnFrame, NULL) == RET_SUCCESS);
    CHECK(ZDQ_AESetCallback(0, OnAe, NULL) == RET_SUCCESS);
    CHECK(ZDQ_PreviewStart(0, true) == RET_SUCCESS);

    CHECK(WaitAtLeast(&g_drawn, 10));
    CHECK(WaitAtLeast(&g_frames, 10));
    CHECK(ZDQ_AEStart(0, true, 20, 30) == RET_SUCCESS);
    CHECK(WaitAtLeast(&g_aeDone, 1));
    CHECK(atomic_load(&g_aeSuccess) == 1);
    int exposure = 0;
    CHECK(ZDQ_GetParam(0, ZDQ_EXPOSURE, &exposure) == RET_SUCCESS);
    CHECK(exposure == atomic_load(&g_aeExposure));
    CHECK(exposure > 5);

    CHECK(ZDQ_PreviewStart(0, false) == RET_SUCCESS);
    CHECK(platwin_unregister(window) == 1);
    CHECK(ZDQ_UnInit() == RET_SUCCESS);
    if (g_failures == 0) {
        printf("station preview: %d frames drawn, automatic exposure converged at %d ms\n",
               atomic_load(&g_drawn), exposure);
    }
    return g_failures == 0 ? 0 : 1;
}
