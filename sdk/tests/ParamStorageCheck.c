/* A plain C program that keeps a camera's settings in the camera: run with
 * "program" it sets parameters of the simulated camera (the ini file named by
 * MLUSBIMAGER_CONFIG, whose memory_file keeps the camera's memory between
 * processes) and programs them into its memory; run with "verify" in a new
 * process it opens the camera again and reads them back through the getters.
 * The values are derived from the camera's ranges, the same in both runs. */
#include <stdio.h>
#include <string.h>

#include "CChecks.h"
#include "ZDQApi.h"

struct Settings {
    int nExposureLines;
    int nGain;
    int nContrast;
    int nBrightness;
    int nGamma;
    int nMirror;
    int nFlip;
    unsigned int nTimeOut;
    int nPreviewWidth, nPreviewHeight;
};

static struct Settings Wanted(void) {
    struct Settings s;
    int nMin = 0, nMax = 0;
    CHECK_EQ(ZDQ_GetParamRange(0, ZDQ_EXPOSURE_LINES, &nMin, &nMax), RET_SUCCESS);
    s.nExposureLines = nMax - nMin > 777 ? nMin + 777 : nMax;
    CHECK_EQ(ZDQ_GetParamRange(0, ZDQ_RED, &nMin, &nMax), RET_SUCCESS);
    s.nGain = nMin + (nMax - nMin) / 3;
    s.nContrast = 33;
    s.nBrightness = -21;
    s.nGamma = 4;
    s.nMirror = 1;
    s.nFlip = 0; /* a monochrome camera opens flipped */
    s.nTimeOut = 4321;
    s.nPreviewWidth = 1024;
    s.nPreviewHeight = 768;
    return s;
}

static int Param(ZDQ_PARAM param) {
    int nValue = -1;
    CHECK_EQ(ZDQ_GetParam(0, param, &nValue), RET_SUCCESS);
    return nValue;
}

static void Program(void) {
    const struct Settings s = Wanted();
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, s.nExposureLines), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, s.nGain), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_CONTRAST, s.nContrast), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_BRIGHTNESS, s.nBrightness), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_GAMMA, s.nGamma), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_MIRROR, s.nMirror), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_FLIP, s.nFlip), RET_SUCCESS);
    CHECK_EQ(ZDQ_CaptureSetTimeOut(0, (int)s.nTimeOut), RET_SUCCESS);
    CHECK_EQ(ZDQ_PreviewSetFieldOfView(0, 0, 0, s.nPreviewWidth, s.nPreviewHeight, 0, 0),
             RET_SUCCESS);
    CHECK_EQ(ZDQ_ParamProgram(0), RET_SUCCESS);
}

static void Verify(void) {
    const struct Settings s = Wanted();
    CHECK_EQ(Param(ZDQ_EXPOSURE_LINES), s.nExposureLines);
    CHECK_EQ(Param(ZDQ_RED), s.nGain);
    CHECK_EQ(Param(ZDQ_CONTRAST), s.nContrast);
    CHECK_EQ(Param(ZDQ_BRIGHTNESS), s.nBrightness);
    CHECK_EQ(Param(ZDQ_GAMMA), s.nGamma);
    CHECK_EQ(Param(ZDQ_MIRROR), s.nMirror);
    CHECK_EQ(Param(ZDQ_FLIP), s.nFlip);
    unsigned int nTimeOut = 0;
    CHECK_EQ(ZDQ_CaptureGetTimeOut(0, &nTimeOut), RET_SUCCESS);
    CHECK_EQ(nTimeOut, s.nTimeOut);
    int nWidth = 0, nHeight = 0;
    CHECK_EQ(ZDQ_PreviewGetFieldOfView(0, NULL, NULL, &nWidth, &nHeight, NULL, NULL), RET_SUCCESS);
    CHECK_EQ(nWidth, s.nPreviewWidth);
    CHECK_EQ(nHeight, s.nPreviewHeight);
    /* Loading again changes nothing. */
    CHECK_EQ(ZDQ_LoadParamFromCamera(0), RET_SUCCESS);
    CHECK_EQ(Param(ZDQ_CONTRAST), s.nContrast);
}

int main(int argc, char** argv) {
    if (argc != 2 || (strcmp(argv[1], "program") != 0 && strcmp(argv[1], "verify") != 0)) {
        fprintf(stderr, "usage: %s program|verify\n", argv[0]);
        return 2;
    }
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    CHECK_EQ(ZDQ_DeviceGetCount(), 1);
    if (g_failures == 0) {
        if (strcmp(argv[1], "program") == 0) {
            Program();
        } else {
            Verify();
        }
    }
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    return g_failures == 0 ? 0 : 1;
}
