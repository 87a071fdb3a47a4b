/* A plain C program that captures as the station program does, from a
 * simulated monochrome 2592 x 1944 camera (the ini file named by
 * MLUSBIMAGER_CONFIG): exposure 300 ms, gain 8, contrast 10, brightness 25,
 * gamma 0, no binning, the whole sensor. It checks the frame's size and every
 * byte against the simulator's test pattern as the settings change it. */
#include <stdio.h>
#include <stdlib.h>

#include "CChecks.h"
#include "ZDQApi.h"
#include "mlusbimager_control.h"

/* Contrast c then brightness b of one byte, as the station's settings
 * define them (integer division truncating toward zero). */
static unsigned char Adjust(int v, int c, int b) {
    v = 128 + ((v - 128) * (c + 128)) / 128;
    v = v < 1 ? 0 : (v > 255 ? 255 : v);
    v = (v * (b + 128)) / 128;
    return (unsigned char)(v > 255 ? 255 : v);
}

int main(void) {
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    CHECK_EQ(ZDQ_DeviceGetCount(), 1);
    int type = 0, serial = 0;
    unsigned short firmware = 0;
    CHECK_EQ(ZDQ_DeviceGetInformation(0, &type, &serial, &firmware), RET_SUCCESS);
    CHECK_EQ(type, 9);
    CHECK_EQ(serial, 7);
    CHECK_EQ(firmware, 0x0105);

    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 300), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 8), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_CONTRAST, 10), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_BRIGHTNESS, 25), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_GAMMA, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_BIN, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_MIRROR, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_FLIP, 1), RET_SUCCESS);
    CHECK_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 2592, 1944, 0, 0), RET_SUCCESS);
    int exposure = 0;
    CHECK_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE, &exposure), RET_SUCCESS);
    CHECK_EQ(exposure, 300);

    int width = 0, height = 0;
    CHECK_EQ(ZDQ_CaptureGetSize(0, &width, &height), RET_SUCCESS);
    CHECK_EQ(width, 2592);
    CHECK_EQ(height, 1944);
    if (width != 2592 || height != 1944) {
        return 1;
    }
    unsigned char* frame = malloc((size_t)width * height);
    MlSimFrameInfo info;
    mlsim_frame_info(0, &info);
    const unsigned long long n = info.frames_sent;
    CHECK_EQ(ZDQ_CaptureRawData(0, frame), RET_SUCCESS);

    /* The sensor flips: output row r is sensor row height - 1 - r. */
    long wrong = 0;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const int y = height - 1 - r;
            const unsigned char expected = Adjust((int)((c + 3 * y + n) & 0xFF), 10, 25);
            if (frame[(size_t)r * width + c] != expected) {
                ++wrong;
            }
        }
    }
    CHECK_EQ(wrong, 0);
    free(frame);
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    if (g_failures == 0) {
        printf("station capture: 2592 x 1944, every byte as expected\n");
    }
    return g_failures == 0 ? 0 : 1;
}
