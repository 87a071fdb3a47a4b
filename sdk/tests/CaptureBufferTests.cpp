// The caller's capture buffer: every capture form, in 8-bit and 16-bit data,
// on monochrome and colour cameras in each output format, writes into a
// buffer of exactly width x height x bitCount / 8 x bitsPerSample / 8 bytes
// (ZDQ_CaptureGetSizeExEx) and fills it to its end. The buffers are heap
// blocks of exactly that size, so the address sanitizer build reports any
// byte written past them.
#include <algorithm>
#include <functional>
#include <memory>

#include "OpenedCamera.h"
#include "capability/DeviceCapability.h"

namespace {

// A monochrome CCD camera and two colour ones, all three able to send 16-bit
// data; and the station's camera, which cannot.
constexpr int kTypeMonoCcd = 47;
constexpr int kTypeColourCcd = 46;
constexpr int kTypeOtherColourCcd = 90;

constexpr uint8_t kUnwritten = 0xA5;

struct FrameSize {
    int nWidth = 0, nHeight = 0, nBitCount = 0, nBitsPerSample = 0;

    size_t Pixels() const { return static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight); }
    // What the caller allocates.
    size_t BufferBytes() const {
        return Pixels() * static_cast<size_t>(nBitCount / 8) *
               static_cast<size_t>(nBitsPerSample / 8);
    }
    // What a raw capture fills: one sample a pixel.
    size_t RawBytes() const { return Pixels() * static_cast<size_t>(nBitsPerSample / 8); }
};

FrameSize CaptureSize() {
    FrameSize size;
    EXPECT_EQ(ZDQ_CaptureGetSizeExEx(0, &size.nWidth, &size.nHeight, &size.nBitCount,
                                     &size.nBitsPerSample),
              RET_SUCCESS);
    return size;
}

// One capture form: it fills the frame of its kind into the buffer; the
// forms that report the frame's format check it against the size export.
struct Form {
    const char* pszName;
    bool bRaw, bStream;
    std::function<int(unsigned char*, const FrameSize&)> capture;
};

int WithReportedFormat(int nRet, int nWidth, int nHeight, int nBitCount, const FrameSize& size) {
    EXPECT_EQ(nWidth, size.nWidth);
    EXPECT_EQ(nHeight, size.nHeight);
    EXPECT_EQ(nBitCount, size.nBitCount);
    return nRet;
}

const Form kForms[] = {
    {"ZDQ_CaptureRawData", true, false,
     [](unsigned char* p, const FrameSize&) { return ZDQ_CaptureRawData(0, p); }},
    {"ZDQ_CaptureRgbData", false, false,
     [](unsigned char* p, const FrameSize&) { return ZDQ_CaptureRgbData(0, p); }},
    {"ZDQ_CaptureRgbDataEx", false, false,
     [](unsigned char* p, const FrameSize& size) {
         int nWidth = 0, nHeight = 0, nBits = 0;
         const int nRet = ZDQ_CaptureRgbDataEx(0, p, &nWidth, &nHeight, &nBits);
         return WithReportedFormat(nRet, nWidth, nHeight, nBits, size);
     }},
    {"ZDQ_CaptureRawDataAfterEmptyFrameBuffer", true, false,
     [](unsigned char* p, const FrameSize&) {
         return ZDQ_CaptureRawDataAfterEmptyFrameBuffer(0, p);
     }},
    {"ZDQ_CaptureRgbDataAfterEmptyFrameBuffer", false, false,
     [](unsigned char* p, const FrameSize&) {
         return ZDQ_CaptureRgbDataAfterEmptyFrameBuffer(0, p);
     }},
    {"ZDQ_CaptureRgbDataExAfterEmptyFrameBuffer", false, false,
     [](unsigned char* p, const FrameSize& size) {
         int nWidth = 0, nHeight = 0, nBits = 0;
         const int nRet =
             ZDQ_CaptureRgbDataExAfterEmptyFrameBuffer(0, p, &nWidth, &nHeight, &nBits);
         return WithReportedFormat(nRet, nWidth, nHeight, nBits, size);
     }},
    {"ZDQ_StreamReadRawData", true, true,
     [](unsigned char* p, const FrameSize&) { return ZDQ_StreamReadRawData(0, p); }},
    {"ZDQ_StreamReadRawDataEx", true, true,
     [](unsigned char* p, const FrameSize& size) {
         int nBytes = 0;
         const int nRet = ZDQ_StreamReadRawDataEx(0, p, &nBytes);
         EXPECT_EQ(static_cast<size_t>(nBytes), size.RawBytes());
         return nRet;
     }},
    {"ZDQ_StreamReadRgbData", false, true,
     [](unsigned char* p, const FrameSize&) { return ZDQ_StreamReadRgbData(0, p); }},
    {"ZDQ_StreamReadRgbDataEx", false, true,
     [](unsigned char* p, const FrameSize&) { return ZDQ_StreamReadRgbDataEx(0, p); }},
};

// A camera and the output format of its frames: output mode 0 (raw bytes)
// or 1 with a Bayer mode of each bit count and row order.
struct Case {
    int nType;
    int nOutputMode;
    int nBayerMode;
};

const Case kCases[] = {
    {kTypeMono1280, 0, 0},       {kTypeMonoCcd, 0, 0},         {kTypeColourCcd, 0, 2},
    {kTypeColourCcd, 1, 2},      {kTypeColourCcd, 1, 6},       {kTypeColourCcd, 1, 10},
    {kTypeColourCcd, 1, 14},     {kTypeColourCcd, 1, 18},      {kTypeColourCcd, 1, 22},
    {kTypeOtherColourCcd, 1, 0}, {kTypeOtherColourCcd, 1, 12}, {kTypeOtherColourCcd, 1, 18},
};

bool AnyWritten(const uint8_t* pBegin, const uint8_t* pEnd) {
    for (const uint8_t* p = pBegin; p != pEnd; ++p) {
        if (*p != kUnwritten) {
            return true;
        }
    }
    return false;
}

class CaptureBufferTest : public OpenedCameraTest {};

TEST_F(CaptureBufferTest, EveryCaptureFormFillsExactlyTheBufferTheSizeExportGives) {
    for (const Case& c : kCases) {
        CDevice& device = Open(c.nType);
        const bool bSixteenBitsPossible = device.Capability().Has(FpgaCap::bm16BitsTransfer);
        device.Capability().Set(FpgaCap::bmStreamMode, 1);
        ASSERT_EQ(ZDQ_PreviewSetMode(0, c.nOutputMode), RET_SUCCESS);
        ASSERT_EQ(ZDQ_BayerSetMode(0, c.nBayerMode), RET_SUCCESS);
        for (const bool b16Bits : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "type " << c.nType << " output mode " << c.nOutputMode << " Bayer mode "
                         << c.nBayerMode << (b16Bits ? " 16-bit" : " 8-bit"));
            ASSERT_EQ(ZDQ_SetData16Bits(0, b16Bits),
                      bSixteenBitsPossible ? RET_SUCCESS : RET_NOTSUPPORT);
            const FrameSize size = CaptureSize();
            ASSERT_EQ(size.nBitsPerSample, b16Bits && bSixteenBitsPossible ? 16 : 8);
            if (b16Bits && !bSixteenBitsPossible) {
                continue;  // the 8-bit frames again
            }
            ASSERT_EQ(size.nBitCount, c.nOutputMode == 0  ? 8
                                      : c.nBayerMode < 8  ? 24
                                      : c.nBayerMode < 16 ? 32
                                                          : 8);
            const size_t nBytes = size.BufferBytes();
            const size_t nRowBytes = nBytes / static_cast<size_t>(size.nHeight);
            for (const Form& form : kForms) {
                SCOPED_TRACE(form.pszName);
                if (form.bStream) {
                    ASSERT_EQ(ZDQ_StreamStart(0), RET_SUCCESS);
                }
                std::unique_ptr<uint8_t[]> pBuffer(new uint8_t[nBytes]);
                std::fill(pBuffer.get(), pBuffer.get() + nBytes, kUnwritten);
                ASSERT_EQ(form.capture(pBuffer.get(), size), RET_SUCCESS);
                if (form.bStream) {
                    ASSERT_EQ(ZDQ_StreamStop(0), RET_SUCCESS);
                }
                // A raw capture in a colour format fills one sample a pixel
                // and leaves the rest of the buffer alone; every other form
                // fills the buffer to its last row.
                const bool bRawOnly = form.bRaw && size.nBitCount != 8;
                const size_t nFilled = bRawOnly ? size.RawBytes() : nBytes;
                EXPECT_TRUE(
                    AnyWritten(pBuffer.get() + nFilled - nRowBytes / 4, pBuffer.get() + nFilled))
                    << "the frame reaches the end of its " << nFilled << " bytes";
                EXPECT_FALSE(AnyWritten(pBuffer.get() + nFilled, pBuffer.get() + nBytes));
            }
        }
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

}  // namespace
