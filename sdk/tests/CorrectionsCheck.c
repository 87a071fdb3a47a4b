/* A plain C program that corrects captures as a caller of the SDK does, on a
 * simulated monochrome 2592 x 1944 camera (type 42 with a 9.0 FPGA, which
 * takes LUT downloads, and the 10-bit ADC the SDK knows the model by)
 * showing the flat-field scene
 * (vignetting, a dark pattern and hot pixels): it writes a LUT file and
 * downloads it, captures through the LUT, makes dark and flat frames, and
 * checks a flat-field corrected capture against its own correction of the
 * frames it captured itself. Expected values come from the simulator's
 * documented scene and the correction's formula, never from the SDK. */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "CChecks.h"
#include "ZDQApi.h"
#include "mlusbimager_control.h"

enum { kWidth = 2592, kHeight = 1944, kPixels = kWidth * kHeight };

/* The LUT under test: a square-root curve, far from the camera's own
 * shift of the sample. */
static unsigned char LutEntry(int v, int full) {
    return (unsigned char)floor(255.0 * sqrt((double)v / full));
}

static void Put32(unsigned char* p, unsigned value) {
    p[0] = (unsigned char)value;
    p[1] = (unsigned char)(value >> 8);
    p[2] = (unsigned char)(value >> 16);
    p[3] = (unsigned char)(value >> 24);
}

/* A LUT file: version 0x0200, type 'A', 2^bits entries, one record of 8
 * bytes before the table. */
static int WriteLutFile(const char* path, const unsigned char* table, int bits) {
    unsigned char header[40] = {0};
    const unsigned length = 1u << bits;
    header[0] = 0x00;
    header[1] = 0x02;
    header[18] = 'A';
    header[19] = (unsigned char)bits;
    Put32(&header[28], 1);
    Put32(&header[36], length);
    const unsigned char record[8] = {0};
    FILE* file = fopen(path, "wb");
    if (file == NULL) {
        return 0;
    }
    const int written = fwrite(header, 1, sizeof header, file) == sizeof header &&
                        fwrite(record, 1, sizeof record, file) == sizeof record &&
                        fwrite(table, 1, length, file) == length;
    return fclose(file) == 0 && written;
}

static int IsHot(int x, int y) {
    return x % 97 == 13 && y % 89 == 7;
}

static int Capture(unsigned char* frame) {
    return ZDQ_CaptureRawData(0, frame) == RET_SUCCESS;
}

int main(void) {
    MlSimProfile profile;
    mlsim_profile_default(42, &profile);
    profile.fpga_version = 0x0900;
    profile.adc_bits = 10;
    profile.content = MLSIM_CONTENT_FLAT_FIELD;
    profile.timing = MLSIM_TIMING_INSTANT;
    mlsim_unplug_all();
    CHECK_EQ(mlsim_plug(0, &profile), 1);
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    const int bits = profile.adc_bits;
    const int full = (1 << bits) - 1;
    CHECK(bits >= 8 && bits <= 12);

    /* The LUT file, downloaded: the camera holds the table. */
    static unsigned char lut[4096];
    for (int v = 0; v <= full; ++v) {
        lut[v] = LutEntry(v, full);
    }
    const char* scratch = getenv("VARNU_TEST_SCRATCH");
    char path[4096];
    snprintf(path, sizeof path, "%s/corrections-check.lut", scratch != NULL ? scratch : ".");
    CHECK(WriteLutFile(path, lut, bits));
    wchar_t widePath[4096];
    CHECK(mbstowcs(widePath, path, 4096) < 4096);
    CHECK_EQ(ZDQ_LutFileDownload(0, widePath), RET_SUCCESS);
    static unsigned char received[4096];
    CHECK_EQ(mlsim_lut_read(0, received), 1);
    CHECK_EQ(memcmp(received, lut, (size_t)full + 1), 0);
    CHECK_EQ(ZDQ_LutSetEnable(0, true), RET_SUCCESS);

    CHECK_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetFlatFieldCorrectionFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0, 1), RET_SUCCESS);
    CHECK_EQ(ZDQ_CaptureSetTimeOutEx(0, 20000, false), RET_SUCCESS);
    unsigned char* dark = malloc(kPixels);
    unsigned char* flat = malloc(kPixels);
    unsigned char* raw = malloc(kPixels);
    unsigned char* corrected = malloc(kPixels);
    if (dark == NULL || flat == NULL || raw == NULL || corrected == NULL) {
        return 1;
    }

    /* The lens almost covered: each byte is the LUT of the documented dark
     * level plus at most the light of this exposure. */
    CHECK_EQ(ZDQ_ExposureTimeSet(0, 0.05f), RET_SUCCESS);
    CHECK(Capture(dark));
    MlSimFrameInfo info;
    CHECK_EQ(mlsim_frame_info(0, &info), 1);
    CHECK(info.width == kWidth && info.height == kHeight);
    const double light = full * (info.exposure_ms / 40.0) * info.gain * 0.6;
    long outside = 0, hot = 0;
    for (int r = 0; r < kHeight; ++r) {
        for (int c = 0; c < kWidth; ++c) {
            /* The array position of output pixel (c, r). */
            const int x = info.col_start + (info.mirror ? kWidth - 1 - c : c) * info.col_skip;
            const int y = info.row_start + (info.flip ? kHeight - 1 - r : r) * info.row_skip;
            const unsigned char v = dark[(size_t)r * kWidth + c];
            if (IsHot(x, y)) {
                hot += v == lut[full];
                continue;
            }
            const double level = full * (4 + ((7 * x + 3 * y) & 7)) / 255.0;
            const int low = (int)level;
            const int high = (int)fmin(level + light, full);
            outside += v < lut[low] || v > lut[high];
        }
    }
    CHECK_EQ(outside, 0);
    CHECK_EQ(hot, (long)((kWidth - 13 + 96) / 97) * ((kHeight - 7 + 88) / 89));

    /* Dark and flat frames made by the SDK from the same scene. */
    CHECK_EQ(ZDQ_MakeDarkFrame(0, 1), RET_SUCCESS);
    CHECK_EQ(ZDQ_ExposureTimeSet(0, 25.0f), RET_SUCCESS);
    CHECK(Capture(flat));
    CHECK_EQ(ZDQ_MakeFlatFieldFrame(0, 1), RET_SUCCESS);

    /* A capture at another exposure, plain and corrected. */
    CHECK_EQ(ZDQ_ExposureTimeSet(0, 15.0f), RET_SUCCESS);
    CHECK(Capture(raw));
    CHECK_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_SUCCESS);
    CHECK(Capture(corrected));

    /* The correction: (v - dark) x mean(flat - dark) / (flat - dark) + 0.5,
     * the gain 1 where the flat frame is not above the dark one, limited to
     * 0 .. 255 and truncated. Single precision rounding may move a byte by 1. */
    double sum = 0;
    for (size_t i = 0; i < kPixels; ++i) {
        sum += (double)flat[i] - dark[i];
    }
    const double mean = sum / kPixels;
    long wrong = 0, changed = 0;
    for (size_t i = 0; i < kPixels; ++i) {
        const double gain = flat[i] > dark[i] ? mean / ((double)flat[i] - dark[i]) : 1.0;
        const double value = fmin(fmax(((double)raw[i] - dark[i]) * gain + 0.5, 0.0), 255.0);
        const int expected = (int)value;
        wrong += abs(corrected[i] - expected) > 1;
        changed += corrected[i] != raw[i];
    }
    CHECK_EQ(wrong, 0);
    CHECK(changed > kPixels / 2);

    free(dark);
    free(flat);
    free(raw);
    free(corrected);
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    remove(path);
    if (g_failures == 0) {
        printf("corrections: LUT of %d entries downloaded, flat-field capture as computed\n",
               full + 1);
    }
    return g_failures == 0 ? 0 : 1;
}
