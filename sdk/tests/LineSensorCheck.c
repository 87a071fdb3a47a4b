/* A plain C program that opens the two simulated line-sensor cameras of the
 * ini file named by MLUSBIMAGER_CONFIG and reads the black levels their
 * opening calibrated. The simulated sensor sits in the dark: a segment's
 * pixels show 425 - 3 x its black level (limited to 0 .. 255). The opening
 * searches each segment's level from 100 up for the first one whose dark
 * level is 65 or less, and keeps the level before it, raised by 2. */
#include <stdio.h>
#include <stdlib.h>

#include "CChecks.h"
#include "ZDQApi.h"

static int DarkLevel(int level) {
    const int dark = 425 - 3 * level;
    return dark < 0 ? 0 : (dark > 255 ? 255 : dark);
}

static int ExpectedLevel(void) {
    for (int level = 100; level < 200; ++level) {
        if (DarkLevel(level) <= 65) {
            return level - 1 + 2;
        }
    }
    return 160;
}

static void CheckCamera(int index, int segments, int width) {
    unsigned char used = 0;
    CHECK_EQ(ZDQ_AWAIBA_IsUsed(index, &used), RET_SUCCESS);
    CHECK_EQ(used, 1);
    int count = 0;
    CHECK_EQ(ZDQ_AWAIBA_GetSegmentNum(index, &count), RET_SUCCESS);
    CHECK_EQ(count, segments);
    for (int s = 0; s < segments; ++s) {
        int level = -1;
        CHECK_EQ(ZDQ_AWAIBA_GetBlackLevel(index, s, &level), RET_SUCCESS);
        CHECK_EQ(level, ExpectedLevel());
    }
    int fovWidth = 0, fovHeight = 0;
    CHECK_EQ(ZDQ_CaptureGetSize(index, &fovWidth, &fovHeight), RET_SUCCESS);
    CHECK_EQ(fovWidth, width);
    CHECK_EQ(fovHeight, 1);
    unsigned char* frame = malloc((size_t)width);
    if (frame == NULL) {
        ++g_failures;
        return;
    }
    CHECK_EQ(ZDQ_CaptureRawData(index, frame), RET_SUCCESS);
    for (int c = 0; c < width; ++c) {
        if (frame[c] != DarkLevel(ExpectedLevel())) {
            CHECK_EQ(frame[c], DarkLevel(ExpectedLevel()));
            break;
        }
    }
    free(frame);
}

int main(void) {
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    CHECK_EQ(ZDQ_DeviceGetCount(), 2);
    CheckCamera(0, 1, 2048);
    CheckCamera(1, 2, 4096);
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    if (g_failures == 0) {
        printf("line sensors: calibrated levels as expected\n");
    }
    return g_failures == 0 ? 0 : 1;
}
