// The process-wide registry of windows: numbers issued from 1 up and never
// reused, each with its sink and the scratch its draws reuse.
//
// A draw holds a reference to its window from Acquire to Release, taken and
// dropped under the registry lock but held without it while the frame is
// scaled and the sink runs. Unregister removes the window from the registry
// at once, so later Acquire calls find nothing, and then waits until every
// reference is dropped before the window is freed.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "DibScaler.h"
#include "window/PlatWindow.h"

namespace platwin {

// What a registered window owns.
struct Window {
    Window(PlatWindowSink windowSink, void* windowUser) : sink(windowSink), user(windowUser) {}

    const PlatWindowSink sink;
    void* const user;

    int references = 0;  // draws holding the window; guarded by the registry lock

    // Draws into one window run one after another: they share its scratch.
    std::mutex drawing;
    // Guarded by drawing: the scaled frame handed to the sink and its scaler,
    // kept between draws and reallocated only when a size changes.
    DibScaler scaler;
    PlatBitmapInfo frameInfo{};
    std::vector<uint8_t> framePixels;
};

class WindowRegistry {
  public:
    // The one registry of the process. It is never destroyed, so windows can
    // be unregistered from other libraries' clean-up at exit.
    static WindowRegistry& Instance();

    // The new window's number. Throws std::bad_alloc.
    PlatWindow Register(PlatWindowSink sink, void* user);

    // Removes the window and waits, without a bound, until no draw holds it.
    // False when the number is not registered or the calling thread is inside
    // one of the window's draws (it would wait for itself).
    bool Unregister(PlatWindow number);

    // The window with a reference taken, or null when none has the number.
    Window* Acquire(PlatWindow number);
    void Release(Window* window);

  private:
    WindowRegistry() = default;

    std::mutex m_mutex;
    std::condition_variable m_released;
    std::unordered_map<PlatWindow, std::unique_ptr<Window>> m_windows;
    PlatWindow m_lastNumber = 0;
};

// Marks the calling thread as drawing into a window for the lifetime of the
// object; the marks of nested draws (a sink drawing into another window) form
// a stack.
class DrawingMark {
  public:
    explicit DrawingMark(const Window* window);
    DrawingMark(const DrawingMark&) = delete;
    DrawingMark& operator=(const DrawingMark&) = delete;
    ~DrawingMark();

    // True while the calling thread is inside a draw into window.
    static bool IsDrawing(const Window* window);

  private:
    const Window* const m_window;
    const DrawingMark* const m_outer;
};

}  // namespace platwin
