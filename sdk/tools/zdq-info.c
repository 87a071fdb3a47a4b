/* zdq-info: initialises the camera SDK, prints how many cameras are behind
 * the driver and the SDK version, and uninitialises it again.
 * Exit status 0 on success, 1 when the SDK fails. */
#include <stdio.h>
#include <wchar.h>

#include "ZDQApi.h"

static void PrintFailure(const char* call, int ret) {
    wchar_t text[ZDQ_ERRORINFO_LENGTH];
    ZDQ_GetErrorInfo(ret, text);
    fprintf(stderr, "zdq-info: %s failed: %d (%ls)\n", call, ret, text);
}

int main(void) {
    int ret = ZDQ_Init();
    if (ret != RET_SUCCESS) {
        PrintFailure("ZDQ_Init", ret);
        return 1;
    }
    const int count = ZDQ_DeviceGetCount();
    int major = 0, minor = 0, revision = 0, build = 0;
    ZDQ_GetVersion(&major, &minor, &revision, &build);
    ZDQ_UnInit();
    if (count < 0) {
        PrintFailure("ZDQ_DeviceGetCount", count);
        return 1;
    }
    printf("Cameras: %d\n", count);
    printf("SDK version: %d.%d.%d.%d\n", major, minor, revision, build);
    return 0;
}
