/*
 * mlusbimager.h - user-space interface of the camera USB driver.
 *
 * The camera maker's kernel driver exposes one device object per attached
 * camera, named "\\.\mlusbimager-N" where N is the single character of code
 * 48 + i for driver number i = 0 .. 31. This library is that driver's face:
 * open a path, send control codes, read frames with overlapped-style
 * completion, cancel and close. Calls follow the shape of the system calls the
 * SDK was written against: they return 1 (true) or 0 (false) and leave an error
 * number for mlusb_get_last_error() on the calling thread.
 *
 * Ownership: buffers passed to a call stay owned by the caller. An operation
 * that is pending (false + MLUSB_ERROR_IO_PENDING) may write into its buffer
 * until it completes; the caller keeps the buffer and the MlUsbOverlapped
 * alive until then. mlusb_cancel_io() and mlusb_close() are synchronous: when
 * they return, every operation they cancelled has completed and the driver
 * touches none of its buffers any more.
 */
#ifndef MLUSBIMAGER_H
#define MLUSBIMAGER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MLUSB_API __attribute__((visibility("default")))

/* Number of driver device objects (driver numbers 0 .. 31). */
#define MLUSB_MAX_DEVICES 32

/* Control codes (device type 0x22). */
#define MLUSB_IOCTL_RESET_DEVICE 0x220004u       /* reset the USB port; no buffers */
#define MLUSB_IOCTL_RESET_PIPE 0x220008u         /* reset the data pipe; no buffers */
#define MLUSB_IOCTL_GET_DESCRIPTOR 0x22000Cu     /* out: 18-byte USB device descriptor */
#define MLUSB_IOCTL_CLEAR_FEATURE 0x220010u      /* clear endpoint halt; no buffers */
#define MLUSB_IOCTL_VENDOR_REQUEST 0x222000u     /* in: 31-byte vendor request record */
#define MLUSB_IOCTL_GET_DRIVER_VERSION 0x222004u /* out: 4 bytes, little-endian */
#define MLUSB_IOCTL_STREAM_READ 0x22200Au        /* out: the frame buffer (streaming) */

/* Size of the vendor-request record (packed, little-endian):
 *   @0  u32 wValue (zero-extended)     @4  u32 wLength (data stage length)
 *   @8  u32 wIndex (zero-extended)     @12 u8  bRequest
 *   @13 u8  bmRequestType              @14 u8  direction (bmRequestType & 0x80)
 *   @15 u64 address of the caller's data buffer (unaligned)
 *   @23 8 zero bytes
 * The data stage goes to the output buffer of the call when one is given
 * (its length must equal wLength), else to or from the address in the record. */
#define MLUSB_VENDOR_REQUEST_SIZE 31u

/* Error numbers left by failing calls. */
#define MLUSB_ERROR_SUCCESS 0u
#define MLUSB_ERROR_FILE_NOT_FOUND 2u
#define MLUSB_ERROR_INVALID_HANDLE 6u
#define MLUSB_ERROR_GEN_FAILURE 31u
#define MLUSB_ERROR_INVALID_PARAMETER 87u
#define MLUSB_ERROR_OPERATION_ABORTED 995u
#define MLUSB_ERROR_IO_INCOMPLETE 996u
#define MLUSB_ERROR_IO_PENDING 997u
#define MLUSB_ERROR_DEVICE_NOT_CONNECTED 1167u

typedef struct MlUsbDevice* MlUsbHandle; /* NULL: no handle */

/* Called by the driver, on a thread of its own or on the calling thread, once
 * per operation accepted with an MlUsbOverlapped (completed at once or
 * pending), after the result can be read with mlusb_get_overlapped_result().
 * It must not call back into the driver. */
typedef void (*MlUsbCompletion)(void* context);

/* Overlapped-operation record, owned by the caller. Fill on_complete and
 * context (both may be zero) and zero the rest before each operation. */
typedef struct MlUsbOverlapped {
    MlUsbCompletion on_complete;
    void* context;
    uint64_t driver_reserved[4]; /* the driver's; do not touch while pending */
} MlUsbOverlapped;

/* Opens "\\.\mlusbimager-N". Several opens of one path succeed (exclusive use
 * of a camera is the SDK's named claim, not the driver's). NULL with
 * MLUSB_ERROR_FILE_NOT_FOUND when no camera is behind the path. */
MLUSB_API MlUsbHandle mlusb_open(const char* path);

/* Closes the handle: pending operations on it complete with
 * MLUSB_ERROR_OPERATION_ABORTED before this returns. Returns 1. */
MLUSB_API int mlusb_close(MlUsbHandle handle);

/* Sends a control code. With overlapped == NULL the call is synchronous.
 * With an overlapped record the call returns 1 when it completed at once, or
 * 0 with MLUSB_ERROR_IO_PENDING when it completes later; *returned (when not
 * NULL) receives the byte count of an operation that completed at once. */
MLUSB_API int mlusb_ioctl(MlUsbHandle handle, uint32_t code, const void* in, uint32_t in_length,
                          void* out, uint32_t out_length, uint32_t* returned,
                          MlUsbOverlapped* overlapped);

/* Reads one frame (or up to length bytes of it) into buffer, with the same
 * completion rules as mlusb_ioctl(). */
MLUSB_API int mlusb_read(MlUsbHandle handle, void* buffer, uint32_t length, uint32_t* got,
                         MlUsbOverlapped* overlapped);

/* Result of an overlapped operation. wait != 0 blocks until it completes.
 * Returns 1 with *bytes for success, 0 with the operation's error number,
 * or 0 with MLUSB_ERROR_IO_INCOMPLETE when wait == 0 and it is pending.
 * Once it has given the result, the driver has returned from the
 * operation's completion and never touches the record or its context again,
 * so the caller may free both. */
MLUSB_API int mlusb_get_overlapped_result(MlUsbHandle handle, MlUsbOverlapped* overlapped,
                                          uint32_t* bytes, int wait);

/* Cancels the operations the calling thread issued on the handle; each
 * completes with MLUSB_ERROR_OPERATION_ABORTED before this returns.
 * Returns 1, or 0 with MLUSB_ERROR_INVALID_HANDLE. */
MLUSB_API int mlusb_cancel_io(MlUsbHandle handle);

/* Error number of the calling thread's last failing call. */
MLUSB_API uint32_t mlusb_get_last_error(void);

#ifdef __cplusplus
}
#endif

#endif /* MLUSBIMAGER_H */
