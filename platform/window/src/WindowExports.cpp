// Windows: registering sinks and drawing scaled frames into them.
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>

#include "Dib.h"
#include "DibScaler.h"
#include "WindowRegistry.h"
#include "window/PlatWindow.h"

namespace {

using platwin::Window;
using platwin::WindowRegistry;

// Holds a reference to a window taken from the registry; drops it when done.
class WindowReference {
  public:
    explicit WindowReference(PlatWindow number)
        : m_window(WindowRegistry::Instance().Acquire(number)) {}
    WindowReference(const WindowReference&) = delete;
    WindowReference& operator=(const WindowReference&) = delete;
    ~WindowReference() {
        if (m_window != nullptr) {
            WindowRegistry::Instance().Release(m_window);
        }
    }

    Window* Get() const { return m_window; }

  private:
    Window* const m_window;
};

// Fits the window's frame (header, palette, pixel buffer, scaler) to a draw of
// size from a source described by source. The pixel buffer is reallocated
// only when the frame's size changes; its row padding stays 0. False when the
// frame is too large for a DIB. Throws std::bad_alloc.
bool PrepareFrame(Window& window, const platwin::ScaleSize& size, const PlatBitmapInfo& source) {
    const PlatDibHeader& from = source.bmiHeader;
    const size_t stride =
        plat_dib_stride(static_cast<int32_t>(size.destinationWidth), from.biBitCount);
    const size_t bytes = stride * size.destinationHeight;
    if (bytes > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    window.scaler.Plan(size);
    if (window.framePixels.size() != bytes) {
        window.framePixels.assign(bytes, 0);
    }
    PlatDibHeader& header = window.frameInfo.bmiHeader;
    header = PlatDibHeader{};
    header.biSize = sizeof(PlatDibHeader);
    header.biWidth = static_cast<int32_t>(size.destinationWidth);
    header.biHeight = static_cast<int32_t>(size.destinationHeight);
    header.biPlanes = 1;
    header.biBitCount = from.biBitCount;
    header.biCompression = PLAT_BI_RGB;
    header.biSizeImage = static_cast<uint32_t>(bytes);
    header.biClrUsed = from.biBitCount == 8 ? from.biClrUsed : 0;
    std::memcpy(window.frameInfo.bmiColors, source.bmiColors,
                platwin::PaletteEntries(from) * sizeof(PlatRgbQuad));
    return true;
}

}  // namespace

PlatWindow platwin_register(PlatWindowSink sink, void* user) {
    if (sink == nullptr) {
        return 0;
    }
    try {
        return WindowRegistry::Instance().Register(sink, user);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int platwin_unregister(PlatWindow window) {
    return WindowRegistry::Instance().Unregister(window) ? 1 : 0;
}

int platwin_stretch_dib(PlatWindow window, int x, int y, int width, int height, int srcX, int srcY,
                        int srcWidth, int srcHeight, const void* bits, const PlatBitmapInfo* info) {
    if (width <= 0 || height <= 0 || bits == nullptr || info == nullptr) {
        return 0;
    }
    const PlatDibHeader& from = info->bmiHeader;
    if (!platwin::IsScalableSource(from) || srcX < 0 || srcY < 0 || srcWidth <= 0 ||
        srcHeight <= 0 || int64_t{srcX} + srcWidth > from.biWidth ||
        int64_t{srcY} + srcHeight > from.biHeight) {
        return 0;
    }
    const WindowReference reference(window);
    Window* const target = reference.Get();
    // A sink drawing into its own window would overwrite the frame it holds.
    if (target == nullptr || platwin::DrawingMark::IsDrawing(target)) {
        return 0;
    }
    const platwin::DrawingMark mark(target);
    std::lock_guard<std::mutex> drawing(target->drawing);
    const int bytesPerPixel = platwin::BytesPerPixel(from.biBitCount);
    const platwin::ScaleSize size{static_cast<uint32_t>(srcWidth), static_cast<uint32_t>(srcHeight),
                                  static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                  bytesPerPixel};
    try {
        if (!PrepareFrame(*target, size, *info)) {
            return 0;
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const size_t sourceStride = plat_dib_stride(from.biWidth, from.biBitCount);
    const uint8_t* const sourceBottom = static_cast<const uint8_t*>(bits) +
                                        size_t{static_cast<uint32_t>(srcY)} * sourceStride +
                                        size_t{static_cast<uint32_t>(srcX)} * bytesPerPixel;
    const size_t frameStride = plat_dib_stride(width, from.biBitCount);
    target->scaler.Scale({sourceBottom, static_cast<ptrdiff_t>(sourceStride)},
                         {target->framePixels.data(), static_cast<ptrdiff_t>(frameStride)});
    target->sink(target->user, &target->frameInfo, target->framePixels.data(), x, y, width, height);
    return height;
}
