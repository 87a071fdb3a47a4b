// The C interface of the driver: thin calls into the driver object, with the
// error number of a failing call kept per thread.
#include "driver.h"
#include "mlusbimager.h"

namespace {

thread_local uint32_t t_lastError = MLUSB_ERROR_SUCCESS;

// Runs a driver call that reports its error through the last argument.
template <typename Call>
int result(Call call) {
    uint32_t error = MLUSB_ERROR_SUCCESS;
    int ok = call(&error);
    if (!ok) {
        t_lastError = error;
    }
    return ok;
}

}  // namespace

extern "C" {

MlUsbHandle mlusb_open(const char* path) {
    uint32_t error = 0;
    MlUsbHandle handle = usbcam::Driver::instance().open(path, &error);
    if (!handle) {
        t_lastError = error;
    }
    return handle;
}

int mlusb_close(MlUsbHandle handle) {
    return result([&](uint32_t* error) { return usbcam::Driver::instance().close(handle, error); });
}

int mlusb_ioctl(MlUsbHandle handle, uint32_t code, const void* in, uint32_t in_length, void* out,
                uint32_t out_length, uint32_t* returned, MlUsbOverlapped* overlapped) {
    return result([&](uint32_t* error) {
        return usbcam::Driver::instance().ioctl(handle, code, in, in_length, out, out_length,
                                                returned, overlapped, error);
    });
}

int mlusb_read(MlUsbHandle handle, void* buffer, uint32_t length, uint32_t* got,
               MlUsbOverlapped* overlapped) {
    return result([&](uint32_t* error) {
        return usbcam::Driver::instance().read(handle, static_cast<uint8_t*>(buffer), length, 0,
                                               got, overlapped, error);
    });
}

int mlusb_get_overlapped_result(MlUsbHandle handle, MlUsbOverlapped* overlapped, uint32_t* bytes,
                                int wait) {
    return result([&](uint32_t* error) {
        return usbcam::Driver::instance().overlappedResult(handle, overlapped, bytes, wait != 0,
                                                           error);
    });
}

int mlusb_cancel_io(MlUsbHandle handle) {
    return result(
        [&](uint32_t* error) { return usbcam::Driver::instance().cancel(handle, error); });
}

uint32_t mlusb_get_last_error(void) {
    return t_lastError;
}
}
