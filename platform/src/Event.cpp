#include "platform/Event.h"

#include <chrono>

namespace plat {

Event::Event(Mode mode, bool initiallySet) : m_mode(mode), m_set(initiallySet) {}

void Event::Set() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_set = true;
    if (m_mode == Mode::ManualReset) {
        m_changed.notify_all();
    } else {
        m_changed.notify_one();
    }
}

void Event::Reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_set = false;
}

bool Event::IsSet() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_set;
}

bool Event::Wait(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto isSet = [this] { return m_set; };
    if (timeoutMs == kInfinite) {
        m_changed.wait(lock, isSet);
    } else if (!m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), isSet)) {
        return false;
    }
    if (m_mode == Mode::AutoReset) {
        m_set = false;
    }
    return true;
}

}  // namespace plat
