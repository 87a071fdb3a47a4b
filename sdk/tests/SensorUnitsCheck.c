/* A plain C program that opens a simulated camera of each of the AR0130,
 * MT9M031, 30xx, MT9V034, EV76C560, CCD, SPI-style 1280 x 1024, ISG and
 * test-camera units, sets an exposure, a gain and a window, runs the
 * sensor's own automatic exposure where it has one, captures, and compares
 * the frame's size and the chip's registers with the values the sensors'
 * register rules give, computed here. */
#include <stdbool.h>
#include <stdio.h>
#include <stdlib.h>

#include "CChecks.h"
#include "ZDQApi.h"
#include "mlusbimager_control.h"

static float g_T; /* ms per pixel clock of the open camera, single precision */

static unsigned Reg(unsigned short address) {
    unsigned short value = 0;
    CHECK_EQ(mlsim_sensor_read(0, address, &value), 1);
    return value;
}

static unsigned RegByte(unsigned short address) {
    return Reg(address) & 0xFF;
}

static unsigned Fpga(unsigned short reg) {
    unsigned short value = 0;
    CHECK_EQ(mlsim_fpga_read(0, reg, &value), 1);
    return value;
}

static unsigned FrontEnd(unsigned short reg) {
    unsigned value = 0;
    CHECK_EQ(mlsim_ad9923a_read(0, reg, &value), 1);
    return value;
}

/* x + 0.5 truncated, the rounding of every time-to-lines conversion. */
static long Nearest(double x) {
    return (long)(x + 0.5);
}

static bool Open(int type) {
    MlSimProfile profile;
    mlsim_profile_default(type, &profile);
    mlsim_unplug_all();
    CHECK_EQ(mlsim_plug(0, &profile), 1);
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    int reported = 0;
    CHECK_EQ(ZDQ_DeviceGetInformation(0, &reported, NULL, NULL), RET_SUCCESS);
    CHECK_EQ(reported, type);
    g_T = 1.0f / ((float)profile.pixel_clock_mhz * 1000.0f);
    return reported == type;
}

/* Sets the window, captures one frame and checks its size on both sides. */
static void CaptureWindow(int col, int row, int width, int height, int mode, int frameWidth,
                          int frameHeight) {
    CHECK_EQ(ZDQ_CaptureSetFieldOfView(0, col, row, width, height, mode, mode), RET_SUCCESS);
    int w = 0, h = 0;
    CHECK_EQ(ZDQ_CaptureGetSize(0, &w, &h), RET_SUCCESS);
    CHECK_EQ(w, frameWidth);
    CHECK_EQ(h, frameHeight);
    if (w != frameWidth || h != frameHeight) {
        return;
    }
    unsigned char* frame = malloc((size_t)w * h);
    CHECK_EQ(ZDQ_CaptureRawData(0, frame), RET_SUCCESS);
    free(frame);
    MlSimFrameInfo info;
    CHECK_EQ(mlsim_frame_info(0, &info), 1);
    CHECK_EQ(info.width, frameWidth);
    CHECK_EQ(info.height, frameHeight);
}

static void Close(void) {
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    mlsim_unplug_all();
}

static void CaptureFrames(int n) {
    int w = 0, h = 0;
    CHECK_EQ(ZDQ_CaptureGetSize(0, &w, &h), RET_SUCCESS);
    unsigned char* frame = malloc((size_t)w * h);
    for (int i = 0; i < n; ++i) {
        CHECK_EQ(ZDQ_CaptureRawData(0, frame), RET_SUCCESS);
    }
    free(frame);
}

/* AR0130 (monochrome type 18) and MT9M031 (type 63): rows start 2 (4) and
 * columns 0 (2) into the window registers; lines of LINE_LENGTH_PCK clocks
 * plus FINE_INTEGRATION_TIME; one gain into all five gain registers; the
 * engine's window even, its target in the upper 12 bits. */
static void CheckAR0130Type(int type, int colOffset, int rowOffset) {
    if (!Open(type)) {
        return;
    }
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 20), RET_SUCCESS);
    CHECK_EQ(Reg(0x3012), Nearest((20.0 / g_T - Reg(0x3014)) / Reg(0x300C)));
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 40), RET_SUCCESS);
    for (unsigned short a = 0x3056; a <= 0x305E; a += 2) {
        CHECK_EQ(Reg(a), 40);
    }
    CaptureWindow(100, 60, 640, 480, 0, 640, 480);
    CHECK_EQ(Reg(0x3004), 100 + colOffset);
    CHECK_EQ(Reg(0x3008), 100 + colOffset + 639);
    CHECK_EQ(Reg(0x3002), 60 + rowOffset);
    CHECK_EQ(Reg(0x3006), 60 + rowOffset + 479);
    CHECK_EQ(ZDQ_AESetRegion(0, 33, 21, 201, 99), RET_SUCCESS);
    CHECK_EQ(Reg(0x3140), 32);
    CHECK_EQ(Reg(0x3142), 20);
    CHECK_EQ(Reg(0x3144), 200);
    CHECK_EQ(Reg(0x3146), 98);
    CHECK_EQ(ZDQ_AESetTarget(0, 100), RET_SUCCESS);
    CHECK_EQ(Reg(0x3102), 100 << 4);
    CHECK_EQ(ZDQ_AECSetEnable(0, true), RET_SUCCESS);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 5), RET_ILLEGALOPERATION);
    CaptureFrames(20);
    unsigned short cur = 0;
    CHECK_EQ(ZDQ_AECGetCur(0, &cur), RET_SUCCESS);
    /* The simulated engine settles where its luma (8 codes a line) meets
     * the target. */
    CHECK_EQ(cur, (100 << 4) / 8);
    CHECK_EQ(ZDQ_AECSetEnable(0, false), RET_SUCCESS);
    CHECK_EQ(Reg(0x3012), cur);
    Close();
}

/* 30xx type 26: columns and rows 8 into the window registers; skip codes 3
 * for mode 1 in both odd-increment registers and the read mode; lines of
 * the line length the chip computes. */
static void Check30xx(void) {
    if (!Open(26)) {
        return;
    }
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 50), RET_SUCCESS);
    CHECK_EQ(Reg(0x302C), 50);
    CaptureWindow(0, 0, 1928, 1382, 1, 964, 691);
    CHECK_EQ(Reg(0x3004), 8);
    CHECK_EQ(Reg(0x3008), 8 + 1927);
    CHECK_EQ(Reg(0x30A2), 3);
    CHECK_EQ(Reg(0x30A6), 3);
    CHECK_EQ(Reg(0x3040) & 0x1FF, 3 << 6 | 3);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 30), RET_SUCCESS);
    CHECK_EQ(Reg(0x3012), Nearest((30.0 / g_T - Reg(0x3014)) / Reg(0x300C)));
    Close();
}

/* MT9V034 type 36: a line of width + horizontal blanking clocks; gain step
 * + 16; binning by 2 in both bit pairs of the read mode; the simulated
 * engine settles at its wanted level x 64 / gain code lines. */
static void CheckMT9V034(void) {
    if (!Open(36)) {
        return;
    }
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 20), RET_SUCCESS);
    CHECK_EQ(Reg(0x35), 36);
    CaptureWindow(0, 0, 752, 480, 1, 376, 240);
    CHECK_EQ(Reg(0x0D) & 0x0F, 0x05);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 10), RET_SUCCESS);
    CHECK_EQ(Reg(0x0B), Nearest(10.0 / ((Reg(0x04) + Reg(0x05)) * (double)g_T)));
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_HORIZONTALBLANK, 10), RET_SUCCESS);
    CHECK_EQ(Reg(0x05), 61);
    CHECK_EQ(ZDQ_AECSetEnable(0, true), RET_SUCCESS);
    CaptureFrames(20);
    unsigned short cur = 0;
    CHECK_EQ(ZDQ_AECGetCur(0, &cur), RET_SUCCESS);
    CHECK_EQ(cur, Reg(0xA5) * 64 / 36);
    CHECK_EQ(ZDQ_AECSetEnable(0, false), RET_SUCCESS);
    CHECK_EQ(Reg(0x0B), cur);
    CHECK_EQ(ZDQ_AGCSetRange(0, 0, 100), RET_SUCCESS);
    CHECK_EQ(Reg(0xAB), 64);
    Close();
}

/* EV76C560 type 64: rows and columns 6 into the window registers; lines of
 * LINE_CFG x 8 clocks of the chip's clock (the capability's until the
 * oscillator is written). */
static void CheckEV76C560(void) {
    if (!Open(64)) {
        return;
    }
    CaptureWindow(100, 50, 800, 600, 0, 800, 600);
    CHECK_EQ(Reg(0x14), 106);
    CHECK_EQ(Reg(0x12), 56);
    CHECK_EQ(Reg(0x15), 800);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 20), RET_SUCCESS);
    CHECK_EQ(Reg(0x0E), Nearest(20.0 / ((Reg(0x04) & 0x7FF) * 8 * (double)g_T)));
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 300), RET_SUCCESS);
    CHECK_EQ(Reg(0x37) & 0xFF, 255);
    Close();
}

/* CCD type 48 (1493 lines of 1920 clocks, shutter position counted from the
 * frame's start): n = q x N + r lines as frame count q and a shutter field
 * N - r, sent as the line r. */
static void CheckCcd(void) {
    if (!Open(48)) {
        return;
    }
    const long N = 1493;
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 260), RET_SUCCESS);
    const long n = Nearest(260.0 / ((double)g_T * 1920));
    CHECK_EQ(FrontEnd(99), n / N);
    CHECK_EQ(FrontEnd(100), n % N);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_VGAGAIN, 5000), RET_SUCCESS);
    CHECK_EQ(FrontEnd(5), 1023);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 2), RET_SUCCESS);
    CHECK_EQ(FrontEnd(4), 2);
    CaptureWindow(10, 10, 640, 480, 0, 1628, 1236);
    Close();
}

/* SPI-style type 57: column start to 16, width to 8, written as column
 * blocks; exposure in units of register 199 clocks. */
static void CheckSpi1280(void) {
    if (!Open(57)) {
        return;
    }
    CaptureWindow(100, 0, 500, 400, 0, 504, 400);
    CHECK_EQ(Reg(256), 76 << 8 | 14);
    CHECK_EQ(Reg(258), 399);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 5), RET_SUCCESS);
    CHECK_EQ(Reg(201), Nearest(5.0 / (Reg(199) * (double)g_T)));
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 100), RET_SUCCESS);
    CHECK_EQ(Reg(205), 100);
    Close();
}

/* ISG1307 type 117: starts and sizes to multiples of 4, rows in the chip
 * (most significant byte at the lower address), columns in FPGA registers
 * 43 and 44; exposure units of 321 / (pixel clock / 10) us. */
static void CheckIsg1307(void) {
    if (!Open(117)) {
        return;
    }
    CaptureWindow(101, 50, 639, 479, 0, 640, 480);
    CHECK_EQ(Fpga(43), 104);
    CHECK_EQ(Fpga(44), 640);
    CHECK_EQ(RegByte(0x15B) | (RegByte(0x15A) & 0x0F) << 8, 52);
    CHECK_EQ(RegByte(0x159) | (RegByte(0x158) & 0x0F) << 8, 480);
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 2), RET_SUCCESS);
    const long e = RegByte(0x194) | RegByte(0x193) << 8 | RegByte(0x192) << 16;
    CHECK_EQ(e, Nearest(2.0 * 1000 / (321.0 / (600.0 / 10))));
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 10), RET_SUCCESS);
    CHECK_EQ(RegByte(0x1E) & 0x1F, 10);
    Close();
}

/* ISG4006A type 111 and ISG4006 type 108: exposure units of 2580 clocks. */
static void CheckIsg4006(int type, unsigned short exposureLow, unsigned short gain) {
    if (!Open(type)) {
        return;
    }
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 2), RET_SUCCESS);
    const long e =
        RegByte(exposureLow) | RegByte(exposureLow - 1) << 8 | RegByte(exposureLow - 2) << 16;
    CHECK_EQ(e, Nearest(2.0 / (2580 * (double)g_T)));
    CHECK_EQ(ZDQ_SetParam(0, ZDQ_RED, 6), RET_SUCCESS);
    CHECK_EQ(RegByte(gain) & 0x1F, type == 108 ? 12 : 6);
    if (type == 108) {
        CaptureWindow(0, 8, 2040, 200, 0, 2040, 200);
    } else {
        CaptureWindow(9, 3, 1000, 1001, 0, 1000, 1004);
        CHECK_EQ(Fpga(43), 16);
    }
    Close();
}

/* The test camera: frames of the size its FPGA reports. */
static void CheckTestCam(void) {
    if (!Open(110)) {
        return;
    }
    CaptureWindow(0, 0, 320, 240, 0, (int)Fpga(1), (int)Fpga(2));
    Close();
}

int main(void) {
    CheckAR0130Type(18, 0, 2);
    CheckAR0130Type(63, 2, 4);
    Check30xx();
    CheckMT9V034();
    CheckEV76C560();
    CheckCcd();
    CheckSpi1280();
    CheckIsg1307();
    CheckIsg4006(111, 0x146, 0x17);
    CheckIsg4006(108, 0x32, 0x05);
    CheckTestCam();
    if (g_failures == 0) {
        printf("sensor units: eleven units opened, set, captured and checked\n");
    }
    return g_failures == 0 ? 0 : 1;
}
