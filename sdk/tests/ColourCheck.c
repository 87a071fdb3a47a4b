/* A plain C program that runs a simulated colour camera of the 2592 x 1944
 * family (type 41 with a 5.0 FPGA, which has the FPGA's colour processing)
 * on the simulator's colour chart under a warm illuminant tint, and captures
 * 24-bit windows inside chart patches: the plain chart, the software white
 * balance, the FPGA's white balance, a software correction matrix, and the
 * process saturation switched to grey on top of balance and matrix. Each
 * patch colour is computed here from the chart's definition in the
 * simulator's control header and from the steps' formulas, never from the
 * SDK. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "CChecks.h"
#include "ZDQApi.h"
#include "mlusbimager_control.h"

enum { kArrayWidth = 2592, kArrayHeight = 1944, kWindow = 32 };

static const double kTint[3] = {1.3, 1.0, 0.7}; /* red, green, blue */

/* Reflectance (red, green, blue) of the patch in chart column col and row. */
static void Patch(int col, int row, double out[3]) {
    static const double kHues[6][3] = {{0.7, 0.15, 0.15}, {0.7, 0.7, 0.15},  {0.15, 0.7, 0.15},
                                       {0.15, 0.7, 0.7},  {0.15, 0.15, 0.7}, {0.7, 0.15, 0.7}};
    for (int c = 0; c < 3; ++c) {
        out[c] = row == 0 ? (col + 1) / 8.0 : kHues[col][c];
    }
}

/* The 8-bit sample of a light level from the 12-bit ADC. */
static int Sample(double level) {
    return (int)floor(fmin(fmax(level, 0.0), 1.0) * 4095.0) >> 4;
}

/* The patch's bytes (red, green, blue) as the camera sends them, the FPGA's
 * gains (red, green, blue) applied to the light first. */
static void Chart(int col, int row, const double gains[3], int out[3]) {
    double reflectance[3];
    Patch(col, row, reflectance);
    for (int c = 0; c < 3; ++c) {
        out[c] = Sample(reflectance[c] * kTint[c] * gains[c]);
    }
}

/* Software white balance: v x gain in single precision, + 0.5, limited,
 * truncated. */
static void Balance(const float gains[3], int rgb[3]) {
    for (int c = 0; c < 3; ++c) {
        const double value = (double)((float)rgb[c] * gains[c]) + 0.5;
        rgb[c] = (int)fmin(fmax(value, 0.0), 255.0);
    }
}

/* Correction matrix: row c on red, green, blue in single precision,
 * limited, truncated. */
static void Correct(const float m[9], int rgb[3]) {
    const float r = (float)rgb[0], g = (float)rgb[1], b = (float)rgb[2];
    for (int c = 0; c < 3; ++c) {
        const float value = m[3 * c] * r + m[3 * c + 1] * g + m[3 * c + 2] * b;
        rgb[c] = (int)fminf(fmaxf(value, 0.0f), 255.0f);
    }
}

/* Saturation 0: the lightness (max + min) / 2 of the colour in single
 * precision, as a byte in all three channels. */
static void Grey(int rgb[3]) {
    const float r = (float)rgb[0] / 255.0f, g = (float)rgb[1] / 255.0f, b = (float)rgb[2] / 255.0f;
    const float high = fmaxf(r, fmaxf(g, b)), low = fminf(r, fminf(g, b));
    const int value = (int)((high + low) / 2 * 255.0f);
    rgb[0] = rgb[1] = rgb[2] = value;
}

/* Captures a window inside the patch and checks that every pixel has the
 * expected colour. */
static void ExpectPatch(const char* stage, int col, int row, const int expected[3]) {
    const int x = col * (kArrayWidth / 6) + 128, y = row * (kArrayHeight / 2) + 128;
    static unsigned char frame[kWindow * kWindow * 3];
    memset(frame, 0, sizeof frame);
    CHECK_EQ(ZDQ_CaptureSetFieldOfView(0, x, y, kWindow, kWindow, 0, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_CaptureRgbData(0, frame), RET_SUCCESS);
    int wrong = 0;
    for (int i = 0; i < kWindow * kWindow; ++i) {
        for (int c = 0; c < 3; ++c) {
            /* B, G, R order. */
            wrong += frame[3 * i + 2 - c] != expected[c];
        }
    }
    if (wrong != 0) {
        fprintf(stderr, "%s, patch %d,%d: expected %d %d %d, the window starts %d %d %d\n", stage,
                col, row, expected[0], expected[1], expected[2], frame[2], frame[1], frame[0]);
    }
    CHECK_EQ(wrong, 0);
}

int main(void) {
    MlSimProfile profile;
    mlsim_profile_default(41, &profile);
    profile.fpga_version = 0x0500;
    profile.content = MLSIM_CONTENT_CHART;
    profile.timing = MLSIM_TIMING_INSTANT;
    mlsim_unplug_all();
    CHECK_EQ(mlsim_plug(0, &profile), 1);
    CHECK_EQ(mlsim_set_illuminant(0, kTint[0], kTint[1], kTint[2]), 1);
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    /* Nearest-neighbour demosaicing keeps a uniform patch uniform. */
    CHECK_EQ(ZDQ_FilterSetMode(0, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_WhiteBalanceSet(0, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_ColorCorrectionSet(0, 0), RET_SUCCESS);

    /* A grey step, and the red and cyan hues. */
    const int patches[3][2] = {{2, 0}, {0, 1}, {3, 1}};
    const double unity[3] = {1, 1, 1};
    /* Gains that undo the tint. */
    float gains[3] = {(float)(1 / kTint[0]), 1.0f, (float)(1 / kTint[2])};
    const float matrix[9] = {1.4f, -0.3f, -0.1f, -0.2f, 1.3f, -0.1f, -0.1f, -0.4f, 1.5f};

    for (int p = 0; p < 3; ++p) {
        int rgb[3];
        Chart(patches[p][0], patches[p][1], unity, rgb);
        ExpectPatch("plain", patches[p][0], patches[p][1], rgb);
    }

    /* Software white balance with the user gains: the grey step comes out
     * grey. */
    CHECK_EQ(ZDQ_WhiteBalanceSet(0, 4), RET_SUCCESS);
    CHECK_EQ(ZDQ_WhiteBalanceMatrixSet(0, gains), RET_SUCCESS);
    for (int p = 0; p < 3; ++p) {
        int rgb[3];
        Chart(patches[p][0], patches[p][1], unity, rgb);
        Balance(gains, rgb);
        ExpectPatch("software white balance", patches[p][0], patches[p][1], rgb);
        if (p == 0) {
            CHECK(abs(rgb[0] - rgb[1]) <= 1 && abs(rgb[2] - rgb[1]) <= 1);
        }
    }

    /* The same gains in the FPGA: registers 16-18 keep them x 4096, and the
     * light of each colour is multiplied before the ADC. */
    CHECK_EQ(ZDQ_WhiteBalanceSet(0, 8), RET_SUCCESS);
    CHECK_EQ(ZDQ_WhiteBalanceMatrixSet(0, gains), RET_SUCCESS);
    double kept[3];
    for (int c = 0; c < 3; ++c) {
        unsigned short value = 0;
        CHECK_EQ(mlsim_fpga_read(0, (unsigned short)(16 + c), &value), 1);
        CHECK(fabs(value - gains[c] * 4096.0) <= 1.0);
        kept[c] = value / 4096.0;
    }
    for (int p = 0; p < 3; ++p) {
        int rgb[3];
        Chart(patches[p][0], patches[p][1], kept, rgb);
        ExpectPatch("FPGA white balance", patches[p][0], patches[p][1], rgb);
    }

    /* Software white balance, then a user correction matrix. */
    CHECK_EQ(ZDQ_WhiteBalanceSet(0, 4), RET_SUCCESS);
    CHECK_EQ(ZDQ_WhiteBalanceMatrixSet(0, gains), RET_SUCCESS);
    CHECK_EQ(ZDQ_ColorCorrectionSet(0, 2), RET_SUCCESS);
    CHECK_EQ(ZDQ_ColorCorrectionMatrixSet(0, (float*)matrix), RET_SUCCESS);
    for (int p = 0; p < 3; ++p) {
        int rgb[3];
        Chart(patches[p][0], patches[p][1], unity, rgb);
        Balance(gains, rgb);
        Correct(matrix, rgb);
        ExpectPatch("white balance and matrix", patches[p][0], patches[p][1], rgb);
    }

    /* The process saturation at its lowest: every colour becomes its
     * lightness. */
    CHECK_EQ(ZDQ_ProcessSaturationSet(0, -128), RET_SUCCESS);
    for (int p = 0; p < 3; ++p) {
        int rgb[3];
        Chart(patches[p][0], patches[p][1], unity, rgb);
        Balance(gains, rgb);
        Correct(matrix, rgb);
        Grey(rgb);
        ExpectPatch("saturation", patches[p][0], patches[p][1], rgb);
    }

    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    if (g_failures == 0) {
        printf(
            "colour: chart under a tint through white balance, matrix and saturation as "
            "computed\n");
    }
    return g_failures == 0 ? 0 : 1;
}
