// Windows: numbers, drawing into a sink, the frames a sink receives, and
// unregistering while a draw runs.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "ReferenceScale.h"
#include "window/PlatWindow.h"

namespace {

using reference::DibInfo;
using reference::Picture;

// Generous bound for waits on other threads on a loaded machine.
constexpr auto kPatience = std::chrono::seconds(20);

// What a sink received in its last call.
struct Received {
    int calls = 0;
    PlatDibHeader header{};
    std::vector<PlatRgbQuad> palette;
    Picture frame;
    const void* bits = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
};

void Record(void* user, const PlatBitmapInfo* info, const void* bits, int x, int y, int width,
            int height) {
    Received& received = *static_cast<Received*>(user);
    ++received.calls;
    received.header = info->bmiHeader;
    received.palette.assign(info->bmiColors, info->bmiColors + 256);
    received.frame = reference::FromDibRows(bits, info->bmiHeader.biWidth, info->bmiHeader.biHeight,
                                            info->bmiHeader.biBitCount / 8);
    received.bits = bits;
    received.x = x;
    received.y = y;
    received.width = width;
    received.height = height;
}

// A registered window that records what it receives; unregistered at the end.
class RecordingWindow {
  public:
    RecordingWindow() : m_number(platwin_register(Record, &received)) {}
    ~RecordingWindow() { platwin_unregister(m_number); }
    PlatWindow Number() const { return m_number; }

    Received received;

  private:
    const PlatWindow m_number;
};

// A one-shot flag threads wait for with a bound.
class Latch {
  public:
    void Open() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    bool Wait() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, kPatience, [this] { return m_open; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
};

TEST(WindowRegistryTest, NumbersAreIssuedUpwardsAndNeverReused) {
    EXPECT_EQ(platwin_register(nullptr, nullptr), 0u);
    Received received;
    const PlatWindow first = platwin_register(Record, &received);
    ASSERT_NE(first, 0u);
    EXPECT_EQ(platwin_unregister(first), 1);
    const PlatWindow second = platwin_register(Record, &received);
    EXPECT_GT(second, first);
    EXPECT_EQ(platwin_unregister(second), 1);
}

TEST(WindowRegistryTest, UnknownAndUnregisteredNumbersDrawNothing) {
    const Picture source = reference::RandomPicture(4, 4, 1, 1);
    const std::vector<uint8_t> bits = reference::ToDibRows(source);
    const PlatBitmapInfo info = DibInfo(4, 4, 1);
    Received received;
    const PlatWindow window = platwin_register(Record, &received);
    EXPECT_EQ(platwin_stretch_dib(window, 0, 0, 2, 2, 0, 0, 4, 4, bits.data(), &info), 2);
    EXPECT_EQ(received.calls, 1);
    EXPECT_EQ(platwin_unregister(window), 1);

    EXPECT_EQ(platwin_stretch_dib(window, 0, 0, 2, 2, 0, 0, 4, 4, bits.data(), &info), 0);
    EXPECT_EQ(platwin_stretch_dib(0, 0, 0, 2, 2, 0, 0, 4, 4, bits.data(), &info), 0);
    EXPECT_EQ(platwin_stretch_dib(window + 1000, 0, 0, 2, 2, 0, 0, 4, 4, bits.data(), &info), 0);
    EXPECT_EQ(received.calls, 1);
    EXPECT_EQ(platwin_unregister(window), 0) << "already gone";
    EXPECT_EQ(platwin_unregister(0), 0);
}

TEST(WindowDrawTest, SinkReceivesTheScaledFrameAndItsPlace) {
    RecordingWindow window;
    const Picture source = reference::RandomPicture(30, 20, 3, 2);
    const std::vector<uint8_t> bits = reference::ToDibRows(source);
    const PlatBitmapInfo info = DibInfo(30, 20, 3);
    ASSERT_EQ(platwin_stretch_dib(window.Number(), 5, 7, 12, 8, 0, 0, 30, 20, bits.data(), &info),
              8);
    const Received& r = window.received;
    EXPECT_EQ(r.calls, 1);
    EXPECT_EQ(r.x, 5);
    EXPECT_EQ(r.y, 7);
    EXPECT_EQ(r.width, 12);
    EXPECT_EQ(r.height, 8);
    EXPECT_EQ(r.header.biSize, 40u);
    EXPECT_EQ(r.header.biWidth, 12);
    EXPECT_EQ(r.header.biHeight, 8) << "bottom-up";
    EXPECT_EQ(r.header.biBitCount, 24);
    EXPECT_EQ(r.header.biCompression, PLAT_BI_RGB);
    EXPECT_EQ(r.header.biSizeImage, plat_dib_stride(12, 24) * 8);
    EXPECT_EQ(r.frame, reference::Scale(source, 12, 8));
}

TEST(WindowDrawTest, SourceRectangleCountsRowsFromTheBottom) {
    RecordingWindow window;
    for (int bytesPerPixel : {1, 4}) {
        const Picture source = reference::RandomPicture(16, 12, bytesPerPixel, 4);
        const std::vector<uint8_t> bits = reference::ToDibRows(source);
        const PlatBitmapInfo info = DibInfo(16, 12, bytesPerPixel);
        // Columns 3..11, rows 2..10 from the bottom, shrunk to 3x3; then the
        // top-right corner enlarged.
        ASSERT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 3, 3, 3, 2, 9, 9, bits.data(), &info),
                  3);
        EXPECT_EQ(window.received.frame,
                  reference::Scale(reference::Crop(source, 3, 2, 9, 9), 3, 3));
        ASSERT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 8, 6, 12, 9, 4, 3, bits.data(), &info),
                  6);
        EXPECT_EQ(window.received.frame,
                  reference::Scale(reference::Crop(source, 12, 9, 4, 3), 8, 6));
    }
}

TEST(WindowDrawTest, EightBitFramesKeepTheirPalette) {
    RecordingWindow window;
    const std::vector<uint8_t> bits(plat_dib_stride(6, 8) * 6, 3);
    PlatBitmapInfo info = DibInfo(6, 6, 1);
    for (int i = 0; i < 256; ++i) {
        info.bmiColors[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0};
    }
    ASSERT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 2, 2, 0, 0, 6, 6, bits.data(), &info), 2);
    EXPECT_EQ(window.received.header.biClrUsed, 0u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(std::memcmp(&window.received.palette[i], &info.bmiColors[i], 4), 0) << i;
    }
    EXPECT_EQ(window.received.frame.samples, std::vector<uint8_t>(4, 3)) << "indexes averaged";

    // A short palette: only its entries are read and handed on.
    info.bmiHeader.biClrUsed = 2;
    ASSERT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 2, 2, 0, 0, 6, 6, bits.data(), &info), 2);
    EXPECT_EQ(window.received.header.biClrUsed, 2u);
    EXPECT_EQ(std::memcmp(window.received.palette.data(), info.bmiColors, 2 * 4), 0);
}

TEST(WindowDrawTest, TrueColourSourceNeedsOnlyAHeader) {
    RecordingWindow window;
    // The header alone, as callers of 24- and 32-bit frames pass it: the
    // palette behind it must never be read.
    const PlatBitmapInfo full = DibInfo(4, 2, 4);
    std::vector<uint8_t> headerOnly(sizeof(PlatDibHeader));
    std::memcpy(headerOnly.data(), &full.bmiHeader, sizeof(PlatDibHeader));
    const Picture source = reference::RandomPicture(4, 2, 4, 9);
    const std::vector<uint8_t> bits = reference::ToDibRows(source);
    ASSERT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 2, 1, 0, 0, 4, 2, bits.data(),
                                  reinterpret_cast<const PlatBitmapInfo*>(headerOnly.data())),
              1);
    EXPECT_EQ(window.received.frame, reference::Scale(source, 2, 1));
}

TEST(WindowDrawTest, FramesOfOneSizeReuseTheWindowsBuffer) {
    RecordingWindow window;
    const std::vector<uint8_t> bits(plat_dib_stride(8, 8) * 8, 9);
    const PlatBitmapInfo info = DibInfo(8, 8, 1);
    ASSERT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 4, 4, 0, 0, 8, 8, bits.data(), &info), 4);
    const void* first = window.received.bits;
    ASSERT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 4, 4, 0, 0, 8, 8, bits.data(), &info), 4);
    EXPECT_EQ(window.received.bits, first);
}

TEST(WindowDrawTest, RefusesBadSizesAndRectangles) {
    RecordingWindow window;
    const std::vector<uint8_t> bits(plat_dib_stride(8, 8) * 6, 1);
    const PlatBitmapInfo info = DibInfo(8, 6, 1);
    struct Case {
        const char* what;
        int width, height, srcX, srcY, srcWidth, srcHeight;
    };
    const Case cases[] = {
        {"width 0", 0, 4, 0, 0, 8, 6},        {"height -1", 4, -1, 0, 0, 8, 6},
        {"srcX -1", 4, 4, -1, 0, 8, 6},       {"srcY -1", 4, 4, 0, -1, 8, 6},
        {"past the right", 4, 4, 1, 0, 8, 6}, {"past the top", 4, 4, 0, 2, 8, 5},
        {"srcWidth 0", 4, 4, 0, 0, 0, 6},     {"srcHeight -6 (flip)", 4, 4, 0, 6, 8, -6},
        {"huge", 4, 4, 0x7FFFFFFF, 0, 8, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platwin_stretch_dib(window.Number(), 0, 0, c.width, c.height, c.srcX, c.srcY,
                                      c.srcWidth, c.srcHeight, bits.data(), &info),
                  0)
            << c.what;
    }
    PlatBitmapInfo sixteen = info;
    sixteen.bmiHeader.biBitCount = 16;
    PlatBitmapInfo topDown = info;
    topDown.bmiHeader.biHeight = -6;
    for (const PlatBitmapInfo* bad : {&sixteen, &topDown}) {
        EXPECT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 4, 4, 0, 0, 8, 6, bits.data(), bad),
                  0);
    }
    EXPECT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 4, 4, 0, 0, 8, 6, nullptr, &info), 0);
    EXPECT_EQ(platwin_stretch_dib(window.Number(), 0, 0, 4, 4, 0, 0, 8, 6, bits.data(), nullptr),
              0);
    EXPECT_EQ(window.received.calls, 0);
}

// A sink that reports it was entered and then blocks until released.
struct BlockingSink {
    Latch entered;
    Latch release;
    int calls = 0;

    static void Draw(void* user, const PlatBitmapInfo*, const void*, int, int, int, int) {
        BlockingSink& sink = *static_cast<BlockingSink*>(user);
        ++sink.calls;
        sink.entered.Open();
        sink.release.Wait();
    }
};

TEST(WindowUnregisterTest, WaitsForADrawInProgressOnAnotherThread) {
    BlockingSink sink;
    const PlatWindow window = platwin_register(BlockingSink::Draw, &sink);
    const std::vector<uint8_t> bits(plat_dib_stride(4, 8) * 4, 1);
    const PlatBitmapInfo info = DibInfo(4, 4, 1);

    auto draw = std::async(std::launch::async, [&] {
        return platwin_stretch_dib(window, 0, 0, 2, 2, 0, 0, 4, 4, bits.data(), &info);
    });
    ASSERT_TRUE(sink.entered.Wait());
    auto unregister = std::async(std::launch::async, [&] { return platwin_unregister(window); });
    EXPECT_EQ(unregister.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout)
        << "unregister returned while the sink was still running";
    // Already gone for new draws: one that still found the window would wait
    // for the blocked draw and reach the sink after its release.
    auto lateDraw = std::async(std::launch::async, [&] {
        return platwin_stretch_dib(window, 0, 0, 2, 2, 0, 0, 4, 4, bits.data(), &info);
    });
    ASSERT_EQ(lateDraw.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(lateDraw.get(), 0);
    sink.release.Open();
    ASSERT_EQ(unregister.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(unregister.get(), 1);
    ASSERT_EQ(draw.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(draw.get(), 2);
    EXPECT_EQ(sink.calls, 1);
}

// A sink that tries to unregister, and to draw into, its own window.
struct SelfUnregisteringSink {
    PlatWindow window = 0;
    int unregisterResult = -1;
    int drawResult = -1;

    static void Draw(void* user, const PlatBitmapInfo* info, const void* bits, int, int, int, int) {
        SelfUnregisteringSink& sink = *static_cast<SelfUnregisteringSink*>(user);
        sink.unregisterResult = platwin_unregister(sink.window);
        sink.drawResult = platwin_stretch_dib(sink.window, 0, 0, 1, 1, 0, 0, 1, 1, bits, info);
    }
};

TEST(WindowUnregisterTest, FromInsideItsOwnSinkFailsAtOnce) {
    SelfUnregisteringSink sink;
    sink.window = platwin_register(SelfUnregisteringSink::Draw, &sink);
    const std::vector<uint8_t> bits(plat_dib_stride(4, 8) * 4, 1);
    const PlatBitmapInfo info = DibInfo(4, 4, 1);
    auto draw = std::async(std::launch::async, [&] {
        return platwin_stretch_dib(sink.window, 0, 0, 2, 2, 0, 0, 4, 4, bits.data(), &info);
    });
    ASSERT_EQ(draw.wait_for(kPatience), std::future_status::ready) << "the sink waited for itself";
    EXPECT_EQ(draw.get(), 2);
    EXPECT_EQ(sink.unregisterResult, 0);
    EXPECT_EQ(sink.drawResult, 0);
    EXPECT_EQ(platwin_unregister(sink.window), 1) << "still registered afterwards";
}

}  // namespace
