// The process-wide clipboard: one DIB block, opened by one thread at a time.
// Opening never waits: a second thread is refused while a holder has it open.
// A thread that ends while it holds the clipboard closes it, so a forgotten
// close cannot lock the clipboard for good (nor pass it to a later thread
// that happens to get the same id).
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "window/PlatWindow.h"

namespace {

class Clipboard {
  public:
    // Never destroyed, so it can be used from other libraries' clean-up at exit.
    static Clipboard& Instance() {
        static Clipboard& clipboard = *new Clipboard();
        return clipboard;
    }

    // The same thread may open it again while it holds it; one Close ends it.
    bool Open() {
        static thread_local HoldEnd holdEnd;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_open && m_holder != std::this_thread::get_id()) {
            return false;
        }
        m_open = true;
        m_holder = std::this_thread::get_id();
        return true;
    }

    bool Close() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!HeldByCaller()) {
            return false;
        }
        m_open = false;
        m_holder = std::thread::id();
        return true;
    }

    bool Empty() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!HeldByCaller()) {
            return false;
        }
        m_dib.clear();
        m_dib.shrink_to_fit();
        return true;
    }

    // Throws std::bad_alloc; the content is then unchanged.
    bool SetDib(const void* block, size_t size) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!HeldByCaller()) {
            return false;
        }
        const uint8_t* const bytes = static_cast<const uint8_t*>(block);
        std::vector<uint8_t> copy(bytes, bytes + size);
        m_dib.swap(copy);
        return true;
    }

    size_t GetDib(void* out, size_t capacity) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (out != nullptr && capacity >= m_dib.size() && !m_dib.empty()) {
            std::memcpy(out, m_dib.data(), m_dib.size());
        }
        return m_dib.size();
    }

  private:
    // Closes the clipboard when the thread it belongs to ends holding it.
    struct HoldEnd {
        ~HoldEnd() { Instance().Close(); }
    };

    Clipboard() = default;

    bool HeldByCaller() const { return m_open && m_holder == std::this_thread::get_id(); }

    std::mutex m_mutex;
    bool m_open = false;
    std::thread::id m_holder;
    std::vector<uint8_t> m_dib;  // empty: no DIB on the clipboard
};

}  // namespace

int platwin_clipboard_open(void) {
    return Clipboard::Instance().Open() ? 1 : 0;
}

int platwin_clipboard_empty(void) {
    return Clipboard::Instance().Empty() ? 1 : 0;
}

int platwin_clipboard_set_dib(const void* block, size_t size) {
    if (block == nullptr || size < sizeof(PlatDibHeader)) {
        return 0;
    }
    try {
        return Clipboard::Instance().SetDib(block, size) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int platwin_clipboard_close(void) {
    return Clipboard::Instance().Close() ? 1 : 0;
}

size_t platwin_clipboard_get_dib(void* out, size_t capacity) {
    return Clipboard::Instance().GetDib(out, capacity);
}
