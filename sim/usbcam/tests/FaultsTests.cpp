// Scripted faults, cancel and close with reads pending, unplug and replug.
#include <thread>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

class FaultsTest : public SimTest {
  protected:
    // A small 8 x 4 window keeps the frames short.
    MlUsbHandle smallCamera(int slot, int type = 52) {
        MlUsbHandle h = plugAndOpen(slot, profileOf(type));
        writeSensor(h, 0x04, 7);
        writeSensor(h, 0x03, 3);
        mlsim_journal_clear(slot);
        return h;
    }
};

TEST_F(FaultsTest, VendorRequestFaults) {
    MlUsbHandle h = smallCamera(0);
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0xC9, 0, 1, 0), 1);
    VendorReply failed = vendorIn(h, 0xC9, 0, 0, 5);
    EXPECT_EQ(failed.ok, 0);
    EXPECT_EQ(failed.error, MLUSB_ERROR_GEN_FAILURE);
    EXPECT_EQ(vendorIn(h, 0xC9, 0, 0, 5).ok, 1) << "count 1: the next one passes";

    // Status fault after one request passes, twice; other requests pass.
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_STATUS, 0xC2, 1, 2, 7), 1);
    EXPECT_EQ(vendorIn(h, 0xC2, 4, 0, 3).data[0], 0);
    EXPECT_EQ(vendorIn(h, 0xC9, 0, 0, 5).data[0], 0);
    VendorReply status = vendorIn(h, 0xC2, 4, 0, 3);
    EXPECT_EQ(status.ok, 1);
    EXPECT_EQ(status.data, (std::vector<uint8_t>{7, 0xFF, 0xFF})) << "only the status is written";
    EXPECT_EQ(vendorIn(h, 0xC2, 4, 0, 3).data[0], 7);
    EXPECT_EQ(vendorIn(h, 0xC2, 4, 0, 3).data[0], 0);

    // A faulted write changes nothing in the chip.
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_STATUS, 0xC3, 0, 1, 1), 1);
    EXPECT_EQ(vendorIn(h, 0xC3, 4, 99, 3).data[0], 1);
    EXPECT_EQ(readSensor(h, 4), 7);

    MlSimJournalEntry e;
    ASSERT_EQ(mlsim_journal_get(0, 0, &e), 1);
    EXPECT_EQ(e.faulted, 1);
    ASSERT_EQ(mlsim_journal_get(0, 1, &e), 1);
    EXPECT_EQ(e.faulted, 0);

    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, MLSIM_MATCH_ANY, 0, -1, 0), 1);
    EXPECT_EQ(vendorIn(h, 0xC9, 0, 0, 5).ok, 0);
    EXPECT_EQ(vendorIn(h, 0xEE, 0, 0, 2).ok, 0);
    mlsim_fault_clear(0);
    EXPECT_EQ(vendorIn(h, 0xEE, 0, 0, 2).data, (std::vector<uint8_t>{0, 1}));
}

TEST_F(FaultsTest, PendingVendorRequestNeverTouchesItsBuffer) {
    MlUsbHandle h = smallCamera(0);
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_PENDING, 0xC9, 0, 1, 0), 1);
    std::vector<uint8_t> reply(5, 0xAB);
    std::vector<uint8_t> record = vendorRecord(0xC0, 0xC9, 0, 0, 5, reply.data());
    Completion done;
    uint32_t returned = 0;
    ASSERT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_VENDOR_REQUEST, record.data(), 31, reply.data(), 5,
                          &returned, &done.overlapped),
              0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_IO_PENDING);
    EXPECT_EQ(done.calls.load(), 0);
    EXPECT_EQ(mlusb_cancel_io(h), 1);
    EXPECT_EQ(done.calls.load(), 1);
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &done.overlapped, &bytes, 0), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_OPERATION_ABORTED);
    EXPECT_EQ(reply, std::vector<uint8_t>(5, 0xAB));
}

TEST_F(FaultsTest, ReadFaults) {
    MlUsbHandle h = smallCamera(0);
    const uint32_t frame = 32;
    struct Case {
        const char* what;
        int kind;
        uint32_t param;
        int ok;
        uint32_t error;
        uint32_t bytes;
    } cases[] = {
        {"short frame", MLSIM_FAULT_READ_SHORT, 0, 1, 0, frame - 1},
        {"short by 10", MLSIM_FAULT_READ_SHORT, 10, 1, 0, frame - 10},
        {"zero frame", MLSIM_FAULT_READ_ZERO, 0, 1, 0, 0},
        {"aborted", MLSIM_FAULT_READ_ABORTED, 0, 0, MLUSB_ERROR_OPERATION_ABORTED, 0},
        {"I/O error", MLSIM_FAULT_READ_IO_ERROR, 0, 0, MLUSB_ERROR_GEN_FAILURE, 0},
    };
    for (const Case& c : cases) {
        for (int timing : {MLSIM_TIMING_INSTANT, MLSIM_TIMING_FAST}) {
            mlsim_set_timing(0, timing);
            ASSERT_EQ(mlsim_fault_add(0, c.kind, MLSIM_MATCH_ANY, 0, 1, c.param), 1);
            std::vector<uint8_t> buffer(frame, 0xEE);
            ReadResult r = readFrame(h, buffer);
            EXPECT_EQ(r.ok, c.ok) << c.what;
            EXPECT_EQ(r.error, c.error) << c.what;
            if (c.ok) {
                EXPECT_EQ(r.bytes, c.bytes) << c.what;
                EXPECT_EQ(buffer[frame - 1], c.bytes == frame ? 0 : 0xEE) << c.what;
            }
            EXPECT_EQ(readFrame(h, buffer).bytes, frame) << c.what << ": the fault is spent";
        }
    }
}

TEST_F(FaultsTest, TimedOutReadEndsOnlyByCancelAndLeavesTheBuffer) {
    MlUsbHandle h = smallCamera(0);
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_READ_TIMEOUT, MLSIM_MATCH_ANY, 0, 1, 0), 1);
    std::vector<uint8_t> buffer(32, 0xEE);
    Completion done;
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer.data(), 32, &got, &done.overlapped), 0);
    ASSERT_EQ(mlusb_get_last_error(), MLUSB_ERROR_IO_PENDING);
    // Another thread's cancel leaves this thread's read alone.
    std::thread([h] { EXPECT_EQ(mlusb_cancel_io(h), 1); }).join();
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &done.overlapped, &bytes, 0), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_IO_INCOMPLETE);
    EXPECT_EQ(mlusb_cancel_io(h), 1);
    EXPECT_EQ(done.calls.load(), 1);
    EXPECT_EQ(mlusb_get_overlapped_result(h, &done.overlapped, &bytes, 1), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_OPERATION_ABORTED);
    EXPECT_EQ(buffer, std::vector<uint8_t>(32, 0xEE));
    // Frames keep coming, and the freed buffer is never written.
    vendorIn(h, 0xC8, 0, 0, 1);
    EXPECT_EQ(readFrame(h, buffer).bytes, 32u);
}

TEST_F(FaultsTest, CloseAbortsPendingReadsBeforeItReturns) {
    MlUsbHandle h = smallCamera(0);
    MlUsbHandle other = mlusb_open(devicePath(0).c_str());
    ASSERT_NE(other, nullptr);
    handles_.push_back(other);
    writeFpga(h, 0, 0x1000);  // software trigger: reads wait
    auto buffer = std::make_unique<std::vector<uint8_t>>(32, 0xEE);
    Completion first;
    Completion second;
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer->data(), 32, &got, &first.overlapped), 0);
    ASSERT_EQ(mlusb_read(other, buffer->data(), 32, &got, &second.overlapped), 0);
    ASSERT_EQ(mlusb_close(h), 1);
    handles_.erase(handles_.begin());
    EXPECT_EQ(first.calls.load(), 1);
    // The handle is gone, so the result is read from the driver's part of the record.
    EXPECT_EQ(first.overlapped.driver_reserved[1], MLUSB_ERROR_OPERATION_ABORTED);
    EXPECT_EQ(second.calls.load(), 0) << "the other handle's read still waits";
    EXPECT_EQ(*buffer, std::vector<uint8_t>(32, 0xEE));

    // A trigger now fills the read of the open handle only.
    vendorIn(other, 0xC8, 0, 0, 1);
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(other, &second.overlapped, &bytes, 1), 1);
    EXPECT_EQ(bytes, 32u);
    EXPECT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_CLEAR_FEATURE, nullptr, 0, nullptr, 0, nullptr, nullptr),
              0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_INVALID_HANDLE);
}

TEST_F(FaultsTest, CancelRacingTheSimulatorNeverWritesLate) {
    MlSimProfile p = profileOf(9);
    p.timing = MLSIM_TIMING_REALTIME;
    MlUsbHandle h = plugAndOpen(0, p);
    writeSensor(h, 0x09, 20);  // short exposure: frames of a few milliseconds
    for (int i = 0; i < 40; ++i) {
        auto buffer = std::make_unique<std::vector<uint8_t>>(2592 * 1944);
        MlUsbOverlapped ov{};
        uint32_t got = 0;
        int ok = mlusb_read(h, buffer->data(), static_cast<uint32_t>(buffer->size()), &got, &ov);
        ASSERT_TRUE(ok || mlusb_get_last_error() == MLUSB_ERROR_IO_PENDING);
        if (i % 2) {
            std::this_thread::sleep_for(std::chrono::microseconds(200 * i));
        }
        ASSERT_EQ(mlusb_cancel_io(h), 1);
        uint32_t bytes = 0;
        int done = mlusb_get_overlapped_result(h, &ov, &bytes, 0);
        EXPECT_TRUE(done || mlusb_get_last_error() == MLUSB_ERROR_OPERATION_ABORTED);
        buffer.reset();  // a late write would be a use after free under the sanitizer
    }
}

TEST_F(FaultsTest, UnplugAndReplug) {
    MlUsbHandle h = smallCamera(0);
    uint8_t stored = 0x42;
    ASSERT_EQ(vendorIn(h, 0xC5, 100, stored, 1).data[0], 0);
    writeFpga(h, 0, 0x1000);
    std::vector<uint8_t> buffer(32, 0xEE);
    Completion pending;
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer.data(), 32, &got, &pending.overlapped), 0);

    ASSERT_EQ(mlsim_unplug(0), 1);
    EXPECT_EQ(pending.calls.load(), 1);
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &pending.overlapped, &bytes, 0), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(vendorIn(h, 0xC9, 0, 0, 5).error, MLUSB_ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(readFrame(h, buffer).error, MLUSB_ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(mlusb_open(devicePath(0).c_str()), nullptr);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_FILE_NOT_FOUND);

    // The same camera comes back at another driver number: same identity and
    // memory, registers at power-on; the old handle stays dead.
    ASSERT_EQ(mlsim_replug(0, 4), 1);
    EXPECT_EQ(vendorIn(h, 0xC9, 0, 0, 5).error, MLUSB_ERROR_DEVICE_NOT_CONNECTED);
    MlUsbHandle again = mlusb_open(devicePath(4).c_str());
    ASSERT_NE(again, nullptr);
    handles_.push_back(again);
    EXPECT_EQ(vendorIn(again, 0xC9, 0, 0, 5).data, (std::vector<uint8_t>{0, 52, 1, 0, 1}));
    EXPECT_EQ(vendorIn(again, 0xC4, 100, 0, 2).data[1], stored);
    EXPECT_EQ(readSensor(again, 0x04), 2591);
    EXPECT_EQ(vendorIn(again, 0xCF, 0, 0, 3).data[1], 0);
    EXPECT_EQ(mlsim_replug(0, 5), 0) << "nothing left to replug";

    // Another camera in the old slot.
    MlSimProfile otherCamera = profileOf(52);
    otherCamera.serial = 9;
    MlUsbHandle third = plugAndOpen(0, otherCamera);
    EXPECT_EQ(vendorIn(third, 0xC9, 0, 0, 5).data[2], 9);
    EXPECT_EQ(vendorIn(third, 0xC4, 100, 0, 2).data[1], 0xFF) << "its own memory";
}

TEST_F(FaultsTest, ResetsAbortReadsAndKeepRegisters) {
    MlUsbHandle h = smallCamera(0);
    writeFpga(h, 0, 0x1000);
    std::vector<uint8_t> buffer(32, 0xEE);
    struct Case {
        const char* what;
        uint32_t code;  // control code, or 0 for a vendor request
        uint8_t request;
    } cases[] = {{"port reset", MLUSB_IOCTL_RESET_DEVICE, 0},
                 {"pipe reset", MLUSB_IOCTL_RESET_PIPE, 0},
                 {"device reset", 0, 0xDB},
                 {"reconnect", 0, 0xE8}};
    for (const Case& c : cases) {
        MlUsbOverlapped ov{};
        uint32_t got = 0;
        ASSERT_EQ(mlusb_read(h, buffer.data(), 32, &got, &ov), 0) << c.what;
        if (c.code) {
            ASSERT_EQ(mlusb_ioctl(h, c.code, nullptr, 0, nullptr, 0, nullptr, nullptr), 1);
        } else {
            ASSERT_EQ(vendorIn(h, c.request, 0, 0, 1).data[0], 0) << c.what;
        }
        uint32_t bytes = 0;
        EXPECT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 0), 0) << c.what;
        EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_OPERATION_ABORTED) << c.what;
        EXPECT_EQ(buffer[0], 0xEE) << c.what;
        EXPECT_EQ(readSensor(h, 0x04), 7) << c.what;
        EXPECT_EQ(vendorIn(h, 0xCF, 0, 0, 3).data[2], 0x10) << c.what;
    }
    // A controller reboot aborts the read the same way; the FPGA reset
    // request brings the FPGA to power-on.
    MlUsbOverlapped ov{};
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer.data(), 32, &got, &ov), 0);
    ASSERT_EQ(vendor(h, 0x40, 0xD7, 0, 0, 0).ok, 1);
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 0), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_OPERATION_ABORTED);
    ASSERT_EQ(vendor(h, 0x40, 0x29, 0, 1, 0).ok, 1);
    EXPECT_EQ(vendorIn(h, 0xCF, 0, 0, 3).data[2], 0x00);

    // A control fault fails the code with 31, once.
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_CONTROL, MLUSB_IOCTL_RESET_PIPE, 0, 1, 0), 1);
    EXPECT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_RESET_PIPE, nullptr, 0, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_GEN_FAILURE);
    EXPECT_EQ(mlusb_ioctl(h, MLUSB_IOCTL_RESET_PIPE, nullptr, 0, nullptr, 0, nullptr, nullptr), 1);
}

TEST_F(FaultsTest, PacketEndCompletesAWaitingReadWithNothing) {
    MlUsbHandle h = smallCamera(0);
    writeFpga(h, 0, 0x1000);
    std::vector<uint8_t> buffer(32, 0xEE);
    MlUsbOverlapped ov{};
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer.data(), 32, &got, &ov), 0);
    ASSERT_EQ(vendorIn(h, 0xE2, 0, 0, 1).data[0], 0);
    uint32_t bytes = 99;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 1), 1);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(buffer[0], 0xEE);
}

}  // namespace
}  // namespace usbcam_test
