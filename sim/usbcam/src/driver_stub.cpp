// First cut of the driver stand-in: the driver is loaded but no camera is
// plugged, so every path fails to open and every handle is invalid.
#include "mlusbimager.h"

namespace {
thread_local uint32_t t_lastError = MLUSB_ERROR_SUCCESS;

int fail(uint32_t error) {
    t_lastError = error;
    return 0;
}
}  // namespace

extern "C" {

MlUsbHandle mlusb_open(const char*) {
    t_lastError = MLUSB_ERROR_FILE_NOT_FOUND;
    return nullptr;
}

int mlusb_close(MlUsbHandle handle) {
    return handle ? 1 : fail(MLUSB_ERROR_INVALID_HANDLE);
}

int mlusb_ioctl(MlUsbHandle, uint32_t, const void*, uint32_t, void*, uint32_t, uint32_t*,
                MlUsbOverlapped*) {
    return fail(MLUSB_ERROR_INVALID_HANDLE);
}

int mlusb_read(MlUsbHandle, void*, uint32_t, uint32_t*, MlUsbOverlapped*) {
    return fail(MLUSB_ERROR_INVALID_HANDLE);
}

int mlusb_get_overlapped_result(MlUsbHandle, MlUsbOverlapped*, uint32_t*, int) {
    return fail(MLUSB_ERROR_INVALID_HANDLE);
}

int mlusb_cancel_io(MlUsbHandle) { return fail(MLUSB_ERROR_INVALID_HANDLE); }

uint32_t mlusb_get_last_error(void) { return t_lastError; }
}
