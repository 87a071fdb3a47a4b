// Frames as the chip's and FPGA's registers describe them: size, samples,
// the exact test pattern, orientation, multi-frame transfers, watermark,
// triggers, streaming, the gel scene's response and the Bayer mosaic.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <numeric>
#include <thread>

#include "raw_driver.h"

namespace usbcam_test {
namespace {

// The documented pattern: 8-bit sample (c, r) of frame n.
uint8_t pattern(int c, int r, uint64_t n, int width, int height, bool flip, bool mirror) {
    int x = mirror ? width - 1 - c : c;
    int y = flip ? height - 1 - r : r;
    return static_cast<uint8_t>(x + 3 * y + n);
}

// First (c, r) where the transfer differs from the pattern, or "" when none.
std::string patternMismatch(const std::vector<uint8_t>& data, int width, int height, int frames,
                            uint64_t firstFrame, bool flip = false, bool mirror = false) {
    for (int f = 0; f < frames; ++f) {
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c) {
                size_t i = (static_cast<size_t>(f) * height + r) * width + c;
                uint8_t want = pattern(c, r, firstFrame + f, width, height, flip, mirror);
                if (data[i] != want) {
                    return "frame " + std::to_string(f) + " at " + std::to_string(c) + "," +
                           std::to_string(r) + ": " + std::to_string(data[i]) + " not " +
                           std::to_string(want);
                }
            }
        }
    }
    return "";
}

double mean(const std::vector<uint8_t>& data, uint32_t bytes) {
    return std::accumulate(data.begin(), data.begin() + bytes, 0.0) / bytes;
}

class FramesTest : public SimTest {};

TEST_F(FramesTest, PowerOnFrameIsTheFullArray) {
    struct Case {
        int type;
        int width;
        int height;
    } cases[] = {{1, 1280, 1024}, {9, 2592, 1944}, {3, 2048, 1536}};
    int slot = 0;
    for (const Case& c : cases) {
        MlUsbHandle h = plugAndOpen(slot++, profileOf(c.type));
        std::vector<uint8_t> buffer(c.width * c.height + 4096);
        ReadResult r = readFrame(h, buffer);
        ASSERT_EQ(r.ok, 1) << c.type;
        EXPECT_EQ(r.bytes, static_cast<uint32_t>(c.width * c.height)) << "a longer read ends short";
        EXPECT_EQ(patternMismatch(buffer, c.width, c.height, 1, 0), "") << c.type;
    }
}

TEST_F(FramesTest, Mt9m001WindowGivesItsFrameSize) {
    MlUsbHandle h = plugAndOpen(0, profileOf(1));
    // 640 x 480 at column 100, row 50, as the chip's registers take it.
    writeSensor(h, 0x02, 100 + 20);
    writeSensor(h, 0x01, 50 + 12);
    writeSensor(h, 0x04, 640 - 1);
    writeSensor(h, 0x03, 480 - 1);
    std::vector<uint8_t> buffer(1280 * 1024, 0xEE);
    ReadResult r = readFrame(h, buffer);
    ASSERT_EQ(r.ok, 1);
    EXPECT_EQ(r.bytes, 640u * 480u);
    EXPECT_EQ(patternMismatch(buffer, 640, 480, 1, 0), "");
    EXPECT_EQ(buffer[640 * 480], 0xEE) << "nothing written past the frame";

    // Skip 2 in both directions (ReadMode2 bits 3 and 4) halves both sides.
    writeSensor(h, 0x20, readSensor(h, 0x20) | 0x0018);
    r = readFrame(h, buffer);
    EXPECT_EQ(r.bytes, 320u * 240u);
    // Skip 8 columns (ReadMode1 bit 4) with skip 2 rows.
    writeSensor(h, 0x20, readSensor(h, 0x20) & ~0x0008);
    writeSensor(h, 0x1E, readSensor(h, 0x1E) | 0x0010);
    r = readFrame(h, buffer);
    EXPECT_EQ(r.bytes, 80u * 240u);
}

TEST_F(FramesTest, Sensor2592SkipAndBinningTables) {
    MlUsbHandle h = plugAndOpen(0, profileOf(9));
    writeSensor(h, 0x22, 0x11);  // skip 2 with binning
    writeSensor(h, 0x23, 0x02);  // skip 3
    MlSimFrameInfo info;
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 2592 / 3);
    EXPECT_EQ(info.height, 1944 / 2);
    EXPECT_EQ(info.row_bin, 2);
    EXPECT_EQ(info.col_bin, 1);
    std::vector<uint8_t> buffer(info.transfer_bytes);
    EXPECT_EQ(readFrame(h, buffer).bytes, info.transfer_bytes);
}

TEST_F(FramesTest, SixteenBitTransferDoublesTheBytes) {
    MlUsbHandle h = plugAndOpen(0, profileOf(67));  // MT9M001 with an FPGA, 10-bit ADC
    writeSensor(h, 0x04, 639);
    writeSensor(h, 0x03, 479);
    writeFpga(h, 0, 0x0010);
    std::vector<uint8_t> buffer(2 * 640 * 480 + 16);
    ReadResult r = readFrame(h, buffer);
    ASSERT_EQ(r.ok, 1);
    ASSERT_EQ(r.bytes, 2u * 640u * 480u);
    for (int i : {0, 1, 639, 640, 5000}) {
        int c = i % 640;
        int row = i / 640;
        uint16_t sample = static_cast<uint16_t>(buffer[2 * i] | buffer[2 * i + 1] << 8);
        EXPECT_EQ(sample, pattern(c, row, 0, 640, 480, false, false) << 2) << i;
    }
}

TEST_F(FramesTest, OutputPathSensitivityLutAndGamma) {
    MlUsbHandle h = plugAndOpen(0, profileOf(53));  // 2592 family, 12-bit ADC, FPGA
    writeSensor(h, 0x04, 255);
    writeSensor(h, 0x03, 0);  // one row: x = 0 .. 255, P = x
    std::vector<uint8_t> buffer(256);
    // Sensitivity 2: v >> 2 limited to 255, v = P << 4.
    writeFpga(h, 0, 2 << 5);
    readFrame(h, buffer);
    EXPECT_EQ(buffer[10], 40);
    EXPECT_EQ(buffer[100], 255);
    // LUT on: the byte is lut[v].
    std::vector<uint8_t> lut(64);
    for (int i = 0; i < 64; ++i) {
        lut[i] = static_cast<uint8_t>(200 - i);
    }
    ASSERT_EQ(vendor(h, 0x40, 0xDD, 160 - 32, 0, 64, lut, true).ok, 1);
    writeFpga(h, 0, 0x0800);
    readFrame(h, buffer);  // frame 1: P = x + 1
    EXPECT_EQ(buffer[9], 200 - 32) << "P 10 is v 160";
    // Gamma LUT first, then the LUT.
    ASSERT_EQ(vendor(h, 0x40, 0xE9, 48, 0, 2, {160, 0}, true).ok, 1);  // gamma[48] = 160
    writeFpga(h, 33, 1);
    readFrame(h, buffer);  // frame 2: P = x + 2
    EXPECT_EQ(buffer[1], 200 - 32) << "P 3 is v 48, gamma maps it to 160";
}

TEST_F(FramesTest, ShortReadGetsItsBytesAndTheRestIsDropped) {
    MlUsbHandle h = plugAndOpen(0, profileOf(1));
    std::vector<uint8_t> small(1000, 0xEE);
    small.resize(1000);
    ReadResult r = readFrame(h, small);
    ASSERT_EQ(r.ok, 1);
    EXPECT_EQ(r.bytes, 1000u);
    EXPECT_EQ(small[999], pattern(999, 0, 0, 1280, 1024, false, false));
    // The next read is a new frame.
    std::vector<uint8_t> full(1280 * 1024);
    EXPECT_EQ(readFrame(h, full).bytes, 1280u * 1024u);
    EXPECT_EQ(patternMismatch(full, 1280, 1024, 1, 1), "");
}

TEST_F(FramesTest, MultiFrameTransferAndFrameNumbers) {
    MlUsbHandle h = plugAndOpen(0, profileOf(67));
    writeSensor(h, 0x04, 63);
    writeSensor(h, 0x03, 31);
    writeFpga(h, 8, 3);
    std::vector<uint8_t> buffer(64 * 32 * 3);
    ReadResult r = readFrame(h, buffer);
    ASSERT_EQ(r.bytes, 64u * 32u * 3u);
    EXPECT_EQ(patternMismatch(buffer, 64, 32, 3, 0), "");
    writeFpga(h, 8, 0);  // 0 counts as one frame
    r = readFrame(h, buffer);
    EXPECT_EQ(r.bytes, 64u * 32u);
    EXPECT_EQ(patternMismatch(buffer, 64, 32, 1, 3), "");
}

TEST_F(FramesTest, ChipFlipAndMirrorReverseTheReadOut) {
    MlUsbHandle h = plugAndOpen(0, profileOf(9));
    writeSensor(h, 0x04, 99);
    writeSensor(h, 0x03, 49);
    writeSensor(h, 0x20, 0xC040);  // flip and mirror
    std::vector<uint8_t> buffer(100 * 50);
    readFrame(h, buffer);
    EXPECT_EQ(patternMismatch(buffer, 100, 50, 1, 0, true, true), "");
}

TEST_F(FramesTest, WatermarkHeadsEachTransfer) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    writeSensor(h, 0x04, 99);
    writeSensor(h, 0x03, 9);
    writeFpga(h, 34, 1);
    std::vector<uint8_t> buffer(1000);
    readFrame(h, buffer);
    readFrame(h, buffer);
    const uint8_t magic[] = {0x2A, 0x4D, 0x41, 0x52, 0x4B, 0x2A};
    EXPECT_TRUE(std::equal(magic, magic + 6, buffer.begin()));
    EXPECT_EQ(buffer[6] | buffer[7] << 8, 1) << "second transfer";
    EXPECT_EQ(buffer[24], pattern(24, 0, 1, 100, 10, false, false));
}

TEST_F(FramesTest, SoftwareTriggerReleasesOneFrame) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    writeSensor(h, 0x04, 15);
    writeSensor(h, 0x03, 15);
    writeFpga(h, 0, 0x1000);
    std::vector<uint8_t> buffer(256, 0xEE);
    Completion done;
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer.data(), 256, &got, &done.overlapped), 0);
    ASSERT_EQ(mlusb_get_last_error(), MLUSB_ERROR_IO_PENDING);
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &done.overlapped, &bytes, 0), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_IO_INCOMPLETE);
    EXPECT_EQ(buffer[0], 0xEE);
    ASSERT_EQ(vendorIn(h, 0xC8, 0, 0, 1).data[0], 0);
    ASSERT_EQ(mlusb_get_overlapped_result(h, &done.overlapped, &bytes, 1), 1);
    EXPECT_EQ(bytes, 256u);

    // Triggers ahead of reads are kept, and the one-shot bit 8 drops them.
    vendorIn(h, 0xC8, 0, 0, 1);
    vendorIn(h, 0xC8, 0, 0, 1);
    EXPECT_EQ(readFrame(h, buffer).bytes, 256u);
    writeFpga(h, 0, 0x1100);
    MlUsbOverlapped waiting{};
    ASSERT_EQ(mlusb_read(h, buffer.data(), 256, &got, &waiting), 0);
    EXPECT_EQ(mlusb_get_overlapped_result(h, &waiting, &bytes, 0), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_IO_INCOMPLETE);
    EXPECT_EQ(mlusb_cancel_io(h), 1);
    EXPECT_EQ(mlusb_get_overlapped_result(h, &waiting, &bytes, 0), 0);
    EXPECT_EQ(mlusb_get_last_error(), MLUSB_ERROR_OPERATION_ABORTED);
}

TEST_F(FramesTest, TheResultIsGivenOnlyAfterTheCompletionReturned) {
    // A caller may free the record and the completion's context as soon as
    // it has the result, so a slow completion must be over by then.
    struct SlowCompletion {
        MlUsbOverlapped overlapped{};
        std::atomic<bool> returned{false};
    };
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    writeSensor(h, 0x04, 15);
    writeSensor(h, 0x03, 15);
    writeFpga(h, 0, 0x0001);  // external trigger: the read waits
    std::vector<uint8_t> buffer(256);
    for (int wait : {1, 0}) {
        auto slow = std::make_unique<SlowCompletion>();
        slow->overlapped.context = slow.get();
        slow->overlapped.on_complete = [](void* context) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            static_cast<SlowCompletion*>(context)->returned = true;
        };
        uint32_t got = 0;
        ASSERT_EQ(mlusb_read(h, buffer.data(), 256, &got, &slow->overlapped), 0);
        std::thread trigger([] { mlsim_trigger(0); });  // completes on the driver's thread
        uint32_t bytes = 0;
        int ok = 0;
        do {
            ok = mlusb_get_overlapped_result(h, &slow->overlapped, &bytes, wait);
        } while (!ok && mlusb_get_last_error() == MLUSB_ERROR_IO_INCOMPLETE);
        EXPECT_EQ(ok, 1) << "wait " << wait;
        EXPECT_TRUE(slow->returned) << "wait " << wait;
        trigger.join();
        slow.reset();  // a completion still running would now use freed memory
    }
}

TEST_F(FramesTest, ExternalTriggerReleasesOneFrame) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    writeSensor(h, 0x04, 15);
    writeSensor(h, 0x03, 15);
    writeFpga(h, 0, 0x0001);
    std::vector<uint8_t> buffer(256);
    MlUsbOverlapped ov{};
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer.data(), 256, &got, &ov), 0);
    vendorIn(h, 0xC8, 0, 0, 1);  // not a trigger in this mode
    uint32_t bytes = 0;
    EXPECT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 0), 0);
    ASSERT_EQ(mlsim_trigger(0), 1);
    EXPECT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 1), 1);
    EXPECT_EQ(bytes, 256u);
}

TEST_F(FramesTest, StartEndModeHoldsFramesUntilAStart) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    writeSensor(h, 0x04, 15);
    writeSensor(h, 0x03, 15);
    writeFpga(h, 65, 0x0502);  // start/end mode 1, bits 8-14 kept
    std::vector<uint8_t> buffer(256);
    for (int nStart = 0; nStart < 2; ++nStart) {
        SCOPED_TRACE(nStart);
        MlUsbOverlapped ov{};
        uint32_t got = 0;
        ASSERT_EQ(mlusb_read(h, buffer.data(), 256, &got, &ov), 0);
        ASSERT_EQ(mlsim_trigger(0), 1);  // a trigger is not a start
        uint32_t bytes = 0;
        EXPECT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 0), 0);
        if (nStart == 0) {
            writeFpga(h, 65, 0x8502);  // the software start pulse
        } else {
            ASSERT_EQ(mlsim_start_signal(0), 1);
        }
        EXPECT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 1), 1);
        EXPECT_EQ(bytes, 256u);
    }
    uint16_t wMode = 0;
    ASSERT_EQ(mlsim_fpga_read(0, 65, &wMode), 1);
    EXPECT_EQ(wMode, 0x0502) << "the pulse bit is not stored";
    // Mode 0: frames flow again.
    writeFpga(h, 65, 0x0500);
    EXPECT_EQ(readFrame(h, buffer).bytes, 256u);
}

TEST_F(FramesTest, FixedFramePeriodOfEachStepKind) {
    struct Case {
        int nStep;
        uint16_t wLow, wHigh;
        double dPeriodMs;
    };
    const Case cases[] = {
        {MLSIM_FRAME_STEP_50US, 666, 0, 33.3},
        {MLSIM_FRAME_STEP_1US, 33333, 0, 33.333},
        {MLSIM_FRAME_STEP_132MHZ, 9088, 67, 1000.0 / 30},
        {MLSIM_FRAME_STEP_50US, 0, 0, 0.05},  // 0 counts as 1, below the read-out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nStep);
        MlSimProfile p = profileOf(52);
        p.frame_rate_step = c.nStep;
        MlUsbHandle h = plugAndOpen(0, p);
        writeSensor(h, 0x04, 15);
        writeSensor(h, 0x03, 15);
        MlSimFrameInfo info{};
        mlsim_frame_info(0, &info);
        const double dReadOutMs = info.frame_period_ms;
        writeFpga(h, 28, c.wLow);
        writeFpga(h, 69, c.wHigh);
        writeFpga(h, 0, 0x1001);  // fixed frame rate
        mlsim_frame_info(0, &info);
        EXPECT_NEAR(info.frame_period_ms, std::max(c.dPeriodMs, dReadOutMs), 1e-6);
        writeFpga(h, 0, 0x1003);  // high/low fixed frame rate
        mlsim_frame_info(0, &info);
        EXPECT_NEAR(info.frame_period_ms, std::max(c.dPeriodMs, dReadOutMs), 1e-6);
        mlusb_close(h);
        mlsim_unplug_all();
    }
}

TEST_F(FramesTest, FlatFieldSceneVignettesOverItsDarkPattern) {
    MlSimProfile p = profileOf(1);
    p.content = MLSIM_CONTENT_FLAT_FIELD;
    MlUsbHandle h = plugAndOpen(0, p);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    std::vector<uint8_t> frame(info.transfer_bytes);
    ASSERT_EQ(readFrame(h, frame).bytes, info.transfer_bytes);
    ASSERT_EQ(info.bytes_per_sample, 1);
    const int w = info.width;
    auto at = [&](int c, int r) { return frame[static_cast<size_t>(r) * w + c]; };
    auto arrayOf = [&](int c, int r) {
        return std::pair{info.col_start + (info.mirror ? w - 1 - c : c) * info.col_skip,
                         info.row_start + (info.flip ? info.height - 1 - r : r) * info.row_skip};
    };
    // The centre is brighter than a corner; the hot pixels are full scale.
    EXPECT_GT(at(w / 2, info.height / 2), at(1, 1) + 20);
    int nHot = 0;
    for (int r = 0; r < info.height; ++r) {
        for (int c = 0; c < w; ++c) {
            const auto [x, y] = arrayOf(c, r);
            if (x % 97 == 13 && y % 89 == 7) {
                ++nHot;
                ASSERT_EQ(at(c, r), 255);
            }
        }
    }
    EXPECT_GT(nHot, 50);
}

TEST_F(FramesTest, FastAndRealtimeTiming) {
    MlSimProfile p = profileOf(1);
    p.timing = MLSIM_TIMING_FAST;
    MlUsbHandle h = plugAndOpen(0, p);
    writeSensor(h, 0x04, 31);
    writeSensor(h, 0x03, 31);
    std::vector<uint8_t> buffer(1024);
    Completion done;
    uint32_t got = 0;
    ASSERT_EQ(mlusb_read(h, buffer.data(), 1024, &got, &done.overlapped), 1);
    EXPECT_EQ(got, 1024u);
    EXPECT_EQ(done.calls.load(), 1);
    ASSERT_EQ(mlusb_read(h, buffer.data(), 1024, &got, nullptr), 1) << "synchronous read";
    EXPECT_EQ(got, 1024u);

    mlsim_set_timing(0, MLSIM_TIMING_REALTIME);
    writeSensor(h, 0x09, 100);  // a few milliseconds of exposure
    MlSimFrameInfo info;
    mlsim_frame_info(0, &info);
    EXPECT_GT(info.frame_period_ms, 0.0);
    for (int i = 0; i < 2; ++i) {
        ReadResult r = readFrame(h, buffer);
        EXPECT_EQ(r.ok, 1);
        EXPECT_EQ(r.bytes, 1024u);
    }
}

TEST_F(FramesTest, StreamReadsAfterStartAcquisition) {
    MlUsbHandle h = plugAndOpen(0, profileOf(52));
    writeSensor(h, 0x04, 31);
    writeSensor(h, 0x03, 7);
    ASSERT_EQ(vendorIn(h, 0xEC, 0, 0, 1).data[0], 0);
    MlSimFrameInfo info;
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.streaming, 1);
    std::vector<uint8_t> buffer(256);
    MlUsbOverlapped ov{};
    uint32_t got = 0;
    int ok = mlusb_ioctl(h, MLUSB_IOCTL_STREAM_READ, nullptr, 0, buffer.data(), 256, &got, &ov);
    ASSERT_TRUE(ok || mlusb_get_last_error() == MLUSB_ERROR_IO_PENDING);
    uint32_t bytes = 0;
    ASSERT_EQ(mlusb_get_overlapped_result(h, &ov, &bytes, 1), 1);
    EXPECT_EQ(bytes, 256u);
    EXPECT_EQ(patternMismatch(buffer, 32, 8, 1, 0), "");
    ASSERT_EQ(vendorIn(h, 0xED, 0, 0, 1).data[0], 0);
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.streaming, 0);
}

TEST_F(FramesTest, GelBrightnessFollowsExposureTimesGainAndSaturates) {
    MlSimProfile p = profileOf(1);
    p.content = MLSIM_CONTENT_SCENE;
    MlUsbHandle h = plugAndOpen(0, p);
    std::vector<uint8_t> buffer(1280 * 1024);
    // Exposure registers for a time in milliseconds, from the chip's row time.
    writeSensor(h, 0x09, 1000);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    const double linesPerMs = 1000 / info.exposure_ms;
    auto meanAt = [&](double ms, uint16_t gain) {
        writeSensor(h, 0x09, static_cast<uint16_t>(std::lround(ms * linesPerMs)));
        writeSensor(h, 0x35, gain);
        EXPECT_EQ(mlsim_frame_info(0, &info), 1);
        EXPECT_NEAR(info.exposure_ms, ms, 0.1);
        ReadResult r = readFrame(h, buffer);
        EXPECT_EQ(r.bytes, 1280u * 1024u);
        return mean(buffer, r.bytes);
    };
    // Gain registers 16 and 32: 2x (the station's first-start gain) and 4x.
    double base = meanAt(150, 16);
    double doubleExposure = meanAt(300, 16);
    double doubleGain = meanAt(150, 32);
    EXPECT_GT(base, 5.0);
    EXPECT_NEAR(doubleExposure - 2.55, 2 * (base - 2.55), 0.1 * base);
    EXPECT_NEAR(doubleGain, doubleExposure, 0.05 * base);
    // The longest exposure at the highest gain: the bands clip at full scale.
    meanAt(500, 0x7F);
    EXPECT_GT(std::count(buffer.begin(), buffer.end(), 255), 1280 * 1024 / 40);

    // At the station's first-start 300 ms and gain (2x) the brightest bands
    // reach about three quarters of full scale, none clipped, on a dark grey
    // background.
    meanAt(300, 16);
    std::vector<uint8_t> sorted(buffer);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_GE(sorted.back(), 0.65 * 255);
    EXPECT_LE(sorted.back(), 0.8 * 255);
    const uint8_t median = sorted[sorted.size() / 2];
    EXPECT_GE(median, 0.02 * 255);
    EXPECT_LE(median, 0.1 * 255);
    EXPECT_GT(sorted.back(), 5 * median) << "bands stand out of the background";
}

TEST_F(FramesTest, FocusBlurSoftensTheBands) {
    MlSimProfile p = profileOf(1);
    p.content = MLSIM_CONTENT_SCENE;
    MlUsbHandle h = plugAndOpen(0, p);
    std::vector<uint8_t> buffer(1280 * 1024);
    auto sharpness = [&]() {
        readFrame(h, buffer);
        double sum = 0;
        for (int y = 1; y < 1024; ++y) {
            for (int x = 0; x < 1280; ++x) {
                sum += std::abs(buffer[y * 1280 + x] - buffer[(y - 1) * 1280 + x]);
            }
        }
        return sum;
    };
    double sharp = sharpness();
    mlsim_set_blur(0, 8);
    double blurred = sharpness();
    EXPECT_LT(blurred, 0.7 * sharp);
    mlsim_set_blur(0, 0);
    EXPECT_DOUBLE_EQ(sharpness(), sharp);
}

TEST_F(FramesTest, ColourCameraDeliversABayerMosaic) {
    MlSimProfile p = profileOf(0);  // MT9M001 colour, red at the array's first pixel
    ASSERT_EQ(p.colour, 1);
    ASSERT_EQ(p.bayer_pattern, MLSIM_BAYER_RGGB);
    p.content = MLSIM_CONTENT_SCENE;
    MlUsbHandle h = plugAndOpen(0, p);
    writeSensor(h, 0x09, 6400);
    std::vector<uint8_t> buffer(1280 * 1024);
    readFrame(h, buffer);
    // The gel glows orange: red sites are brighter than blue ones.
    double sites[2][2] = {};
    for (int y = 0; y < 1024; ++y) {
        for (int x = 0; x < 1280; ++x) {
            sites[y & 1][x & 1] += buffer[y * 1280 + x];
        }
    }
    EXPECT_GT(sites[0][0], 1.5 * sites[1][1]);
    EXPECT_GT(sites[0][1], sites[1][1]);
    EXPECT_NEAR(sites[0][1], sites[1][0], 0.05 * sites[0][1]);
    // The blue gain alone brightens only the blue sites.
    writeSensor(h, 0x2C, 32);
    readFrame(h, buffer);
    double blue = 0;
    for (int y = 1; y < 1024; y += 2) {
        for (int x = 1; x < 1280; x += 2) {
            blue += buffer[y * 1280 + x];
        }
    }
    EXPECT_GT(blue, 2.0 * sites[1][1]);
}

}  // namespace
}  // namespace usbcam_test
