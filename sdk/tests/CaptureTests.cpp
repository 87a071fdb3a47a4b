// Still capture on opened simulated cameras: the frame the caller gets (the
// simulator's exact pattern through flip, mirror and the process tables, or
// the demosaicing library's colour frame), the failure and recovery table,
// the frame buffer and stream mode.
#include <algorithm>
#include <cstring>
#include <thread>

#include "MT_ZDQBayerFilter.h"
#include "OpenedCamera.h"
#include "acquisition/ProcessTables.h"
#include "capability/DeviceCapability.h"
#include "window/PlatWindow.h"

namespace {

constexpr uint8_t kStartAcq = 0xEC;

class CaptureTest : public OpenedCameraTest {};

struct Settings {
    int nContrast, nBrightness, nGamma;
    bool bFlip, bMirror;
};

// What the caller gets for the pattern frame n: the chip flips or mirrors
// where the sensor can, the SDK fixes the last columns where the model needs
// it, does the rest of flip and mirror in software, then gamma, contrast and
// brightness.
std::vector<uint8_t> ExpectedFrame(const DeviceCapability& cap, const Settings& s, uint64_t n,
                                   int nWidth, int nHeight) {
    const bool bChipFlip = s.bFlip && cap.Has(SensorCap::bmFlip);
    const bool bChipMirror = s.bMirror && cap.Has(SensorCap::bmMirror);
    std::vector<uint8_t> frame = PatternFrame(n, nWidth, nHeight, bChipFlip, bChipMirror);
    // Models whose last columns read badly take them from the nearest
    // columns of the same colour.
    const int nFix = cap.Has(FirmwareCap::bmFixLast2Col)   ? 2
                     : cap.Has(FirmwareCap::bmFixLast1Col) ? 1
                                                           : 0;
    for (int r = 0; r < nHeight; ++r) {
        for (int c = nWidth - nFix; c < nWidth; ++c) {
            frame[static_cast<size_t>(r) * nWidth + c] =
                frame[static_cast<size_t>(r) * nWidth + c - 2];
        }
    }
    std::vector<uint8_t> out(frame.size());
    const auto gamma = CProcessTables::GammaTable(s.nGamma);
    const auto contrast = CProcessTables::ContrastTable(s.nContrast);
    const auto brightness = CProcessTables::BrightnessTable(s.nBrightness);
    for (int r = 0; r < nHeight; ++r) {
        for (int c = 0; c < nWidth; ++c) {
            const int sr = s.bFlip && !bChipFlip ? nHeight - 1 - r : r;
            const int sc = s.bMirror && !bChipMirror ? nWidth - 1 - c : c;
            uint8_t v = frame[static_cast<size_t>(sr) * nWidth + sc];
            v = s.nGamma != 0 ? gamma[v] : v;
            v = s.nContrast != 0 ? contrast[v] : v;
            v = s.nBrightness != 0 ? brightness[v] : v;
            out[static_cast<size_t>(r) * nWidth + c] = v;
        }
    }
    return out;
}

void Apply(const Settings& s) {
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_CONTRAST, s.nContrast), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BRIGHTNESS, s.nBrightness), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GAMMA, s.nGamma), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_FLIP, s.bFlip ? 1 : 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_MIRROR, s.bMirror ? 1 : 0), RET_SUCCESS);
}

TEST_F(CaptureTest, RawFramesArriveWithFlipMirrorAndTheProcessTables) {
    const Settings kStation{10, 25, 0, true, false};
    const Settings kCases[] = {
        kStation,
        {0, 0, 0, false, false},
        {0, 0, 0, true, true},
        {-60, 40, -4, false, true},
        {127, -128, 9, true, false},
    };
    for (int nType : {kTypeMono1280, kTypeMono2592}) {
        CDevice& device = Open(nType);
        ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 108, 87, 1064, 850, 0, 0), RET_SUCCESS);
        int nWidth = 0, nHeight = 0;
        ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
        std::vector<uint8_t> buffer(static_cast<size_t>(nWidth) * nHeight);
        for (const Settings& s : kCases) {
            SCOPED_TRACE(::testing::Message() << "type " << nType << " contrast " << s.nContrast
                                              << " flip " << s.bFlip << " mirror " << s.bMirror);
            Apply(s);
            const uint64_t n = FramesSent();
            ASSERT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_SUCCESS);
            EXPECT_EQ(FramesSent(), n + 1);
            EXPECT_TRUE(buffer == ExpectedFrame(device.Capability(), s, n, nWidth, nHeight));
        }
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(CaptureTest, SoftwareFlipWhereTheSensorCannot) {
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_FLIP, 0), RET_SUCCESS);  // the chip reads upright
    device.Capability().Set(SensorCap::bmFlip, 0);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    const Settings s{0, 0, 0, true, true};
    Apply(s);
    std::vector<uint8_t> buffer(320 * 240);
    const uint64_t n = FramesSent();
    ASSERT_EQ(ZDQ_CaptureRgbData(0, buffer.data()), RET_SUCCESS) << "raw output for mono";
    EXPECT_TRUE(buffer == ExpectedFrame(device.Capability(), s, n, 320, 240));
}

TEST_F(CaptureTest, ColourFramesComeFromTheDemosaicingLibrary) {
    using Demosaic = int (*)(unsigned char*, int, int, unsigned char*, unsigned short);
    using Grey = int (*)(unsigned char*, int, int, unsigned char*);
    // The colour model's pattern is RGGB (mode 2) and it flips in the chip;
    // a flip moves the pattern by one row, a mirror by one column.
    const struct {
        int nBayerMode, nFilter;
        bool bFlip, bMirror;
        Demosaic pfColour;
        Grey pfGrey;
        int nBits;
    } kCases[] = {
        {2, 5, false, false, ZDQCFA_FastBilinear_RGGB_Flip, nullptr, 24},
        {2, 5, true, false, ZDQCFA_FastBilinear_GBRG_Flip, nullptr, 24},
        {6, 0, false, true, ZDQCFA_NearestNeighbor_GRBG, nullptr, 24},
        {14, 1, true, true, ZDQCFA_Bilinear_BGGR, nullptr, 32},
        {10, 3, false, false, ZDQCFA_EdgeSensing1_RGGB_Flip, nullptr, 32},
        {20, 4, false, false, nullptr, ZDQCFA_NearestNeighbor_RGGB_Gray, 8},
        {17, 2, true, false, nullptr, ZDQCFA_NearestNeighbor_RGGB_Gray_Flip, 8},
    };
    CDevice& device = Open(kTypeColour1280);
    ASSERT_FALSE(device.Capability().Has(SensorCap::bmMono));
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 64, 48, 0, 0), RET_SUCCESS);
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nBayerMode);
        ASSERT_EQ(ZDQ_BayerSetMode(0, c.nBayerMode), RET_SUCCESS);
        ASSERT_EQ(ZDQ_FilterSetMode(0, c.nFilter), RET_SUCCESS);
        const Settings s{0, 0, 0, c.bFlip, c.bMirror};
        Apply(s);
        std::vector<uint8_t> out(64 * 48 * 4, 0xAB);
        int nWidth = 0, nHeight = 0, nBits = 0;
        const uint64_t n = FramesSent();
        ASSERT_EQ(ZDQ_CaptureRgbDataEx(0, out.data(), &nWidth, &nHeight, &nBits), RET_SUCCESS);
        ASSERT_EQ(nBits, c.nBits);
        std::vector<uint8_t> raw = ExpectedFrame(device.Capability(), s, n, 64, 48);
        std::vector<uint8_t> expected(64 * 48 * 4, 0xAB);
        if (c.pfColour != nullptr) {
            c.pfColour(raw.data(), 64, 48, expected.data(), static_cast<unsigned short>(c.nBits));
        } else {
            c.pfGrey(raw.data(), 64, 48, expected.data());
        }
        EXPECT_TRUE(out == expected);
        int nMode = -1;
        ASSERT_EQ(ZDQ_BayerGetMode(0, &nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, c.nBayerMode) << "the chosen mode, not the effective one";
    }
    // Raw output of a colour camera is the mosaic itself.
    ASSERT_EQ(ZDQ_PreviewSetMode(0, 0), RET_SUCCESS);
    Apply(Settings{0, 0, 0, false, false});
    std::vector<uint8_t> out(64 * 48);
    const uint64_t n = FramesSent();
    ASSERT_EQ(ZDQ_CaptureRgbData(0, out.data()), RET_SUCCESS);
    EXPECT_TRUE(out ==
                ExpectedFrame(device.Capability(), Settings{0, 0, 0, false, false}, n, 64, 48));
}

TEST_F(CaptureTest, BayerAndFilterSettersRefuseUnknownModes) {
    Open(kTypeColour1280);
    int nDefault = -1;
    ASSERT_EQ(ZDQ_BayerGetDefaultMode(0, &nDefault), RET_SUCCESS);
    EXPECT_EQ(nDefault, 2);
    EXPECT_EQ(ZDQ_BayerSetMode(0, 24), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_BayerSetMode(0, -1), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_FilterSetMode(0, 3), RET_SUCCESS);
    EXPECT_EQ(ZDQ_FilterSetMode(0, 6), RET_PARAMERROR);
    int nFilter = -1;
    ASSERT_EQ(ZDQ_FilterGetMode(0, &nFilter), RET_SUCCESS);
    EXPECT_EQ(nFilter, 3);
    EXPECT_EQ(ZDQ_PreviewSetMode(0, 2), RET_PARAMERROR);
    const struct {
        int nOutputMode, nBayerMode, nBits;
    } kFormats[] = {{0, 9, 8}, {1, 3, 24}, {1, 12, 32}, {1, 23, 8}};
    for (const auto& f : kFormats) {
        ASSERT_EQ(ZDQ_BayerSetMode(0, f.nBayerMode), RET_SUCCESS);
        ASSERT_EQ(ZDQ_PreviewSetMode(0, f.nOutputMode), RET_SUCCESS);
        int nBits = 0;
        ASSERT_EQ(ZDQ_CaptureGetSizeEx(0, nullptr, nullptr, &nBits), RET_SUCCESS);
        EXPECT_EQ(nBits, f.nBits) << f.nBayerMode;
    }
}

TEST_F(CaptureTest, FailedFramesAndTheirRecovery) {
    const struct {
        int nFault;
        bool bRecover;
        int nResult;
    } kCases[] = {
        {MLSIM_FAULT_READ_SHORT, true, RET_INVALIDFRAME},
        {MLSIM_FAULT_READ_ZERO, true, RET_ZEROFRAME},
        {MLSIM_FAULT_READ_TIMEOUT, true, RET_RECOVERY_SUCCESS},
        {MLSIM_FAULT_READ_TIMEOUT, false, RET_TIMEOUT},
        {MLSIM_FAULT_READ_ABORTED, true, RET_RECOVERY_SUCCESS},
        {MLSIM_FAULT_READ_IO_ERROR, false, RET_RECOVERY_SUCCESS},
    };
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetTimeOut(0, 200), RET_SUCCESS);
    std::vector<uint8_t> buffer(320 * 240);
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "fault " << c.nFault << " recover " << c.bRecover);
        ASSERT_EQ(ZDQ_CaptureSetRecover(0, c.bRecover), RET_SUCCESS);
        mlsim_fault_add(0, c.nFault, MLSIM_MATCH_ANY, 0, 1, 100);
        EXPECT_EQ(ZDQ_CaptureRawData(0, buffer.data()), c.nResult);
        mlsim_fault_clear(0);
        // The camera is usable at once: the next frame is whole and right.
        const uint64_t n = FramesSent();
        ASSERT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_SUCCESS);
        EXPECT_TRUE(buffer == ExpectedFrame(device.Capability(), Settings{0, 0, 0, true, false}, n,
                                            320, 240));
    }
}

TEST_F(CaptureTest, UnpluggedCameraRecoversWhenItComesBack) {
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 320, 240, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetTimeOut(0, 200), RET_SUCCESS);
    std::vector<uint8_t> buffer(320 * 240);
    ASSERT_EQ(mlsim_unplug(0), 1);
    EXPECT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_RECOVERY_FAIL);
    EXPECT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_RECOVERY_FAIL);
    // Back on another driver number, at power-on values: the recovery finds
    // it, writes the registers back and the capture goes on.
    ASSERT_EQ(mlsim_replug(0, 3), 1);
    ASSERT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(3, &info), 1);
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
    const uint64_t n = FramesSent(3);
    ASSERT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_SUCCESS);
    EXPECT_TRUE(buffer ==
                ExpectedFrame(device.Capability(), Settings{0, 0, 0, true, false}, n, 320, 240));
}

TEST_F(CaptureTest, TimeOutAndRecoverSettings) {
    Open(kTypeMono1280);
    unsigned int nMs = 0;
    ASSERT_EQ(ZDQ_CaptureGetTimeOut(0, &nMs), RET_SUCCESS);
    EXPECT_EQ(nMs, 5000u);
    bool bRecover = false;
    ASSERT_EQ(ZDQ_CaptureGetRecover(0, &bRecover), RET_SUCCESS);
    EXPECT_TRUE(bRecover);
    ASSERT_EQ(ZDQ_CaptureSetTimeOutEx(0, 1234, false), RET_SUCCESS);
    int nTimeOut = 0;
    ASSERT_EQ(ZDQ_CaptureGetTimeOutEx(0, &nTimeOut, &bRecover), RET_SUCCESS);
    EXPECT_EQ(nTimeOut, 1234);
    EXPECT_FALSE(bRecover);
    EXPECT_EQ(ZDQ_CaptureGetTimeOutEx(99, &nTimeOut, &bRecover), RET_DEVICENOTINIT);
    EXPECT_TRUE(bRecover);
    EXPECT_EQ(ZDQ_CaptureRawData(0, nullptr), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_CaptureRgbDataEx(0, nullptr, nullptr, nullptr, nullptr), RET_PARAMERROR);
}

TEST_F(CaptureTest, EmptyingTheFrameBufferAndStreamMode) {
    // Without the capability nothing is sent.
    Open(kTypeMono1280);
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_EmptyFrameBuffer(0), RET_NOTSUPPORT);
    EXPECT_TRUE(VendorJournal(0).empty());
    EXPECT_EQ(ZDQ_StreamStart(0), RET_NOTSUPPORT);
    ZDQ_UnInit();
    mlsim_unplug_all();

    CDevice& device = Open(kType2592WithFpga);
    ASSERT_TRUE(device.Capability().Has(FpgaCap::bmEmptyFrameBuffer));
    EXPECT_EQ(ZDQ_EmptyFrameBuffer(0), RET_SUCCESS);
    std::vector<uint8_t> buffer(2592 * 1944);
    EXPECT_EQ(ZDQ_CaptureRawDataAfterEmptyFrameBuffer(0, buffer.data()), RET_SUCCESS);

    device.Capability().Set(FpgaCap::bmStreamMode, 1);
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_StreamStart(0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_StreamStart(0), RET_SUCCESS);
    const auto journal = VendorJournal(0);
    EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                            [](const MlSimJournalEntry& e) { return e.request == kStartAcq; }),
              1)
        << "the second start sends nothing";
    bool bStarted = false;
    ASSERT_EQ(ZDQ_StreamIsStart(0, &bStarted), RET_SUCCESS);
    EXPECT_TRUE(bStarted);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfViewEx(0, 0, 0, 640, 480, 0, 0, 1), RET_SUCCESS);
    const uint64_t n = FramesSent();
    int nBytes = 0;
    ASSERT_EQ(ZDQ_StreamReadRawDataEx(0, buffer.data(), &nBytes), RET_SUCCESS);
    EXPECT_EQ(nBytes, 640 * 480);
    buffer.resize(640 * 480);
    EXPECT_TRUE(buffer ==
                ExpectedFrame(device.Capability(), Settings{0, 0, 0, true, false}, n, 640, 480))
        << "monochrome cameras open flipped";
    ASSERT_EQ(ZDQ_StreamStop(0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_StreamIsStart(0, &bStarted), RET_SUCCESS);
    EXPECT_FALSE(bStarted);
}

TEST_F(CaptureTest, SixteenBitFramesKeepTheirSamples) {
    CDevice& device = Open(kType2592WithFpga);
    device.Capability().Set(FpgaCap::bm16BitsTransfer, 1);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 64, 48, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetData16Bits(0, true), RET_SUCCESS);
    int nBitsPerSample = 0;
    ASSERT_EQ(ZDQ_CaptureGetSizeExEx(0, nullptr, nullptr, nullptr, &nBitsPerSample), RET_SUCCESS);
    ASSERT_EQ(nBitsPerSample, 16);
    const int nShift = static_cast<int>(CameraProfile(kType2592WithFpga).adc_bits) - 8;
    std::vector<uint16_t> buffer(64 * 48);
    const uint64_t n = FramesSent();
    ASSERT_EQ(ZDQ_CaptureRawData(0, reinterpret_cast<unsigned char*>(buffer.data())), RET_SUCCESS);
    const std::vector<uint8_t> pattern = PatternFrame(n, 64, 48, true, false);
    for (size_t i = 0; i < buffer.size(); ++i) {
        ASSERT_EQ(buffer[i], pattern[i] << nShift) << i;
    }
}

TEST_F(CaptureTest, ACapturedFrameOnTheClipboard) {
    CDevice& device = Open(kTypeMono1280);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 64, 48, 0, 0), RET_SUCCESS);
    const uint64_t n = FramesSent();
    ASSERT_EQ(ZDQ_CaptureRgbDataToClipboard(0), RET_SUCCESS);
    const size_t nSize = platwin_clipboard_get_dib(nullptr, 0);
    ASSERT_EQ(nSize, 40u + 1024 + 64 * 48);
    std::vector<uint8_t> block(nSize);
    ASSERT_EQ(platwin_clipboard_get_dib(block.data(), block.size()), nSize);
    PlatDibHeader header{};
    std::memcpy(&header, block.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 64);
    EXPECT_EQ(header.biHeight, 48);
    EXPECT_EQ(header.biBitCount, 8);
    EXPECT_EQ(header.biSizeImage, 64u * 48);
    EXPECT_EQ(block[40 + 4 * 200], 200) << "grey palette";
    const std::vector<uint8_t> pixels(block.begin() + 40 + 1024, block.end());
    EXPECT_TRUE(pixels ==
                ExpectedFrame(device.Capability(), Settings{0, 0, 0, true, false}, n, 64, 48));
    // A clipboard held elsewhere refuses; nothing changes on it.
    std::thread holder([] { platwin_clipboard_open(); });
    holder.join();
    EXPECT_EQ(ZDQ_CaptureRgbDataToClipboard(0), RET_SUCCESS)
        << "a thread that ended gave the clipboard back";
    EXPECT_EQ(ZDQ_CaptureRgbDataToClipboard(7), RET_DEVICENOTINIT);
}

}  // namespace
