/* The C interface used from a plain C program that includes only ZDQApi.h,
 * with no camera behind the driver. */
#include <stdio.h>
#include <wchar.h>

#include "CChecks.h"
#include "ZDQApi.h"

#define CHECK_TEXT(actual, expected)                                                          \
    do {                                                                                      \
        if (wcscmp((actual), (expected)) != 0) {                                              \
            fprintf(stderr, "%s:%d: text is \"%ls\", expected \"%ls\"\n", __FILE__, __LINE__, \
                    (actual), (expected));                                                    \
            ++g_failures;                                                                     \
        }                                                                                     \
    } while (0)

struct ErrorInfoCase {
    int code;
    int result;
    const wchar_t* text;
};

static void ErrorInfo(void) {
    static const struct ErrorInfoCase cases[] = {
        {RET_3DINITFAIL, RET_SUCCESS, L"3D Camera Initial Fail"},
        {RET_SUCCESS, RET_SUCCESS, L"Successful"},
        {RET_DEVICENOTINIT, RET_SUCCESS, L"Device wasn't Initialized"},
        {RET_BADFRAME, RET_SUCCESS, L"Bad Frame From Device, Should be Discarded"},
        {2, RET_ILLEGALOPERATION, L"User No Privilege"},
        {0, RET_ILLEGALOPERATION, L"User No Privilege"},
        {-27, RET_ILLEGALOPERATION, L"User No Privilege"},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        wchar_t text[ZDQ_ERRORINFO_LENGTH];
        CHECK_EQ(ZDQ_GetErrorInfo(cases[i].code, text), cases[i].result);
        CHECK_TEXT(text, cases[i].text);
    }
    CHECK_EQ(ZDQ_GetErrorInfo(RET_FAIL, NULL), RET_PARAMERROR);
}

static void Version(void) {
    int major = -1, minor = -1, revision = -1, build = -1;
    CHECK_EQ(ZDQ_GetVersion(&major, &minor, &revision, &build), RET_SUCCESS);
    CHECK_EQ(major, 6);
    CHECK_EQ(minor, 0);
    CHECK_EQ(revision, 122);
    CHECK_EQ(build, 55);
    CHECK_EQ(ZDQ_GetVersion(NULL, NULL, NULL, NULL), RET_SUCCESS);
}

static void WithoutInit(void) {
    int status = 7;
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    CHECK_EQ(ZDQ_DeviceGetCount(), RET_DEVICENOTINIT);
    CHECK_EQ(ZDQ_DeviceClose(0), RET_DEVICENOTINIT);
    CHECK_EQ(ZDQ_DeviceGetStatus(0, &status), RET_DEVICENOTINIT);
    CHECK_EQ(status, 7);
}

static void NoCamera(void) {
    int status = 7;
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    CHECK_EQ(ZDQ_Init(), RET_SUCCESS);
    CHECK_EQ(ZDQ_DeviceGetCount(), 0);
    /* Count 0: index 0 names no camera. */
    CHECK_EQ(ZDQ_DeviceClose(0), RET_DEVICENOTINIT);
    CHECK_EQ(ZDQ_DeviceClose(-1), RET_DEVICENOTINIT);
    CHECK_EQ(ZDQ_DeviceGetStatus(0, &status), RET_SUCCESS);
    CHECK_EQ(status, 0);
    CHECK_EQ(ZDQ_DeviceGetStatus(32, &status), RET_DEVICENOTINIT);
    CHECK_EQ(ZDQ_DeviceGetStatus(0, NULL), RET_PARAMERROR);
    CHECK_EQ(ZDQ_UnInit(), RET_SUCCESS);
    CHECK_EQ(ZDQ_DeviceGetCount(), RET_DEVICENOTINIT);
}

static void LogSwitch(void) {
    unsigned char enable = 9;
    wchar_t folder[ZDQ_LOGFOLDER_LENGTH];
    CHECK_EQ(ZDQ_LogGet(&enable, folder), RET_SUCCESS);
    CHECK_EQ(enable, 0); /* no ZDQApi.ini beside the library */
    CHECK_EQ(ZDQ_LogSet(1, NULL), RET_SUCCESS);
    CHECK_EQ(ZDQ_LogGet(&enable, NULL), RET_SUCCESS);
    CHECK_EQ(enable, 1);
    CHECK_EQ(ZDQ_LogSet(0, NULL), RET_SUCCESS);
    CHECK_EQ(ZDQ_LogGet(&enable, NULL), RET_SUCCESS);
    CHECK_EQ(enable, 0);
}

int main(void) {
    ErrorInfo();
    Version();
    WithoutInit();
    NoCamera();
    LogSwitch();
    if (g_failures != 0) {
        fprintf(stderr, "%d check(s) failed\n", g_failures);
        return 1;
    }
    printf("all checks passed\n");
    return 0;
}
