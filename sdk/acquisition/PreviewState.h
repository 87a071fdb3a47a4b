// What the preview of a device keeps: its state, the window it draws into,
// its callbacks, its buffers and threads (which exist only between a start
// and its stop), the ring of frame buffers of the parallel engine and the
// frame-rate measurement.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "ZDQApi.h"
#include "acquisition/PauseGate.h"
#include "platform/Event.h"
#include "platform/PeriodicTimer.h"
#include "platform/Thread.h"
#include "window/PlatWindow.h"

struct PreviewState {
    enum Status : int { kStopped = 0, kRunning = 1, kPaused = 2 };
    static constexpr int kDefaultBufferCount = 5;
    static constexpr int kMaxBufferCount = 4096;
    static constexpr uint32_t kFrameRatePeriodMs = 2000;

    std::atomic<int> nStatus{kStopped};
    // The engine of the last start: parallel (capture and show threads) or
    // serial (one thread); a stop keeps it.
    std::atomic<bool> bParallel{false};

    // The window and the rectangle of its client area drawn into; nothing
    // is drawn while the width or the height is not above 0.
    struct Placement {
        PlatWindow hWnd = 0;
        int x = 0, y = 0, nWidth = 0, nHeight = 0;
    };
    mutable std::mutex placementMutex;
    Placement placement;

    // Callbacks: the active ones are called by the drawing thread; a stop
    // keeps them in the saved ones until the next start. Guarded by the
    // device's callback lock (lock E).
    PreviewCallback pfCallback = nullptr;
    PreviewCallback pfCallbackSaved = nullptr;
    void* pContext = nullptr;
    PreviewCallbackEx pfCallbackEx = nullptr;
    PreviewCallbackEx pfCallbackExSaved = nullptr;
    void* pContextEx = nullptr;

    // Pause hand-shake with the catching thread (the serial thread or the
    // parallel capture thread).
    CPauseGate pause;

    // Buffers of a running preview: the serial engine's raw frame; the
    // frame shown and handed to the callbacks, either the converted one
    // (four times the raw frame, so 32-bit output always fits) or a raw frame
    // taken as caught (the size of a raw frame), whichever was shown last;
    // and the memory surface the Ex callback draws on. The shown frame is
    // guarded by the device's Bayer lock.
    std::vector<uint8_t> rawBuffer;
    std::vector<uint8_t> rgbBuffer;
    std::vector<uint8_t> shownRaw;
    bool bShowsRaw = false;
    std::vector<uint8_t> surfaceBuffer;

    // The frame shown last, when it holds nBytes; otherwise the converted
    // frame's buffer.
    std::vector<uint8_t>& ShownFrame(size_t nBytes) {
        return bShowsRaw && shownRaw.size() >= nBytes ? shownRaw : rgbBuffer;
    }

    // The parallel engine's ring: a slot may be filled while `free` is set
    // and holds a caught frame while `ready` is set.
    struct Slot {
        std::vector<uint8_t> frame;
        plat::Event free{plat::Event::Mode::ManualReset, true};
        plat::Event ready{plat::Event::Mode::ManualReset, false};
    };
    // Set under the device's control lock, read by its getter without.
    std::atomic<int> nBufferCount{kDefaultBufferCount};
    std::vector<std::unique_ptr<Slot>> slots;
    std::atomic<int> nLastFilled{-1};

    // Threads: the serial engine's one, or the parallel engine's capture and
    // show threads.
    plat::Thread serialThread;
    plat::Thread captureThread;
    plat::Thread showThread;

    // Frame rates, measured every two seconds while the preview runs.
    plat::PeriodicTimer frameRateTimer;
    std::atomic<uint32_t> dwWindowStart{0};
    std::atomic<uint32_t> dwLastTick{0};
    std::atomic<int> nCaughtTotal{0}, nShownTotal{0};
    std::atomic<int> nCaughtWindow{0}, nShownWindow{0};
    std::atomic<float> fCaptureFrameRate{0.0f}, fShowFrameRate{0.0f};
};
