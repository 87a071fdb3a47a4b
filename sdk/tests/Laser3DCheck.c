/* A plain C program that runs the simulated laser-profile camera of the ini
 * file named by MLUSBIMAGER_CONFIG through the 3D family: ZDQ3D_Inital, a
 * start, one complete point cloud, a stop. The camera's laser line lies at
 * array row 40 + ((x / 8 + s) mod 64) for array column x and trigger signal
 * s, and its 3D block makes Z = 0.05 x row over the area from column 256, so
 * every point of the cloud must have Z = 0.05 x (40 + (((256 + X) / 8 + s)
 * mod 64)) with s the signal of its profile (the first frame's plus Y, at a
 * Y resolution of 1). The cloud is then saved as a PCD file. */
#include <math.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include "CChecks.h"
#include "ZDQApi.h"

static atomic_int g_clouds = 0;
static atomic_uint g_firstSignal = 0;
static atomic_int g_frames = 0;
static int g_points = 0, g_profiles = 0, g_lost = -1;
static int* g_x = NULL;
static float *g_y = NULL, *g_z = NULL;

static void OnLive(int index, unsigned char* image, int width, int height, int bits,
                   void* context) {
    (void)index, (void)width, (void)height, (void)bits, (void)context;
    if (atomic_fetch_add(&g_frames, 1) == 0) {
        atomic_store(&g_firstSignal, (unsigned)image[6] | (unsigned)image[7] << 8 |
                                         (unsigned)image[16] << 16 | (unsigned)image[17] << 24);
    }
}

static void OnCloud(int index, int points, int profiles, int* x, float* y, float* z, int lost,
                    void* context) {
    (void)index, (void)context;
    if (atomic_load(&g_clouds) != 0) {
        return;
    }
    g_x = malloc(sizeof(int) * (size_t)points);
    g_y = malloc(sizeof(float) * (size_t)points);
    g_z = malloc(sizeof(float) * (size_t)points);
    if (g_x != NULL && g_y != NULL && g_z != NULL) {
        memcpy(g_x, x, sizeof(int) * (size_t)points);
        memcpy(g_y, y, sizeof(float) * (size_t)points);
        memcpy(g_z, z, sizeof(float) * (size_t)points);
        g_points = points;
        g_profiles = profiles;
        g_lost = lost;
    }
    atomic_store(&g_clouds, 1);
}

int main(void) {
    CHECK_EQ(ZDQ3D_Inital(), RET_SUCCESS);
    bool is3D = false;
    CHECK_EQ(ZDQ3D_Is3DCamera(0, &is3D), RET_SUCCESS);
    CHECK(is3D);
    int width = 0, height = 0;
    CHECK_EQ(ZDQ3D_GetRoiMax(0, &width, &height), RET_SUCCESS);
    CHECK_EQ(width, 2048);
    CHECK_EQ(height, 256);
    CHECK_EQ(ZDQ3D_SetObliterateInvalidData(0, false), RET_SUCCESS);
    CHECK_EQ(ZDQ3D_Set3DLaserLineBrightnessThreshold(0, 100), RET_SUCCESS);
    CHECK_EQ(ZDQ3D_RegisterLiveImageCB(0, OnLive, NULL), RET_SUCCESS);
    CHECK_EQ(ZDQ3D_RegisterPointCloudDataCB(0, OnCloud, NULL), RET_SUCCESS);
    CHECK_EQ(ZDQ3D_StartAcquisition(0), RET_SUCCESS);
    for (int waited = 0; waited < 60000 && atomic_load(&g_clouds) == 0; waited += 10) {
        const struct timespec step = {0, 10 * 1000 * 1000};
        nanosleep(&step, NULL);
    }
    CHECK_EQ(ZDQ3D_StopAcquisition(0), RET_SUCCESS);
    CHECK_EQ(atomic_load(&g_clouds), 1);

    int profiles = 0;
    CHECK_EQ(ZDQ3D_GetMaxNumberOfProfilesToCapture(0, &profiles), RET_SUCCESS);
    CHECK_EQ(g_profiles, profiles);
    CHECK_EQ(g_points, profiles * 2048);
    CHECK_EQ(g_lost, 0);
    int wrong = 0;
    for (int i = 0; i < g_points; ++i) {
        const unsigned signal = atomic_load(&g_firstSignal) + (unsigned)lroundf(g_y[i]);
        const int column = 256 + g_x[i];
        const float expected = 0.05f * (float)(40 + ((unsigned)(column / 8) + signal) % 64);
        if (g_x[i] != i % 2048 || fabsf(g_z[i] - expected) > 1e-4f) {
            ++wrong;
        }
    }
    CHECK_EQ(wrong, 0);

    char path[256];
    const char* folder = getenv("TMPDIR");
    snprintf(path, sizeof path, "%s/laser-check-%d.pcd", folder != NULL ? folder : "/tmp",
             (int)getpid());
    wchar_t widePath[256];
    mbstowcs(widePath, path, 256);
    float* xs = malloc(sizeof(float) * (size_t)(g_points > 0 ? g_points : 1));
    if (xs != NULL && g_points > 0) {
        for (int i = 0; i < g_points; ++i) {
            xs[i] = (float)g_x[i];
        }
        CHECK_EQ(ZDQ3D_HelperSaveToPCD(2048, g_profiles, xs, g_y, g_z, widePath), RET_SUCCESS);
        FILE* file = fopen(path, "rb");
        CHECK(file != NULL);
        if (file != NULL) {
            char line[128];
            char expectedLine[64];
            snprintf(expectedLine, sizeof expectedLine, "POINTS %d\n", g_points);
            int found = 0;
            while (fgets(line, sizeof line, file) != NULL) {
                found |= strcmp(line, expectedLine) == 0;
            }
            fclose(file);
            CHECK(found);
        }
        remove(path);
    }
    free(xs);
    free(g_x);
    free(g_y);
    free(g_z);
    CHECK_EQ(ZDQ3D_UnInitial(), RET_SUCCESS);
    if (g_failures == 0) {
        printf("laser camera: one point cloud on the simulator's profile, saved as PCD\n");
    }
    return g_failures == 0 ? 0 : 1;
}
