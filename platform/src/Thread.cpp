#include "platform/Thread.h"

#include <chrono>
#include <system_error>

namespace plat {

Thread::~Thread() {
    RequestStop();
    Join(kInfinite);
}

bool Thread::Start(Body body) {
    if (!Join(0)) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = false;
    }
    m_finished.Reset();
    try {
        m_thread = std::thread([this, body = std::move(body)] {
            body();
            m_finished.Set();
        });
    } catch (const std::system_error&) {
        m_finished.Set();
        return false;
    }
    return true;
}

void Thread::RequestStop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
    m_stopChanged.notify_all();
}

bool Thread::StopRequested() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stop;
}

bool Thread::WaitForStop(uint32_t timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto stopped = [this] { return m_stop; };
    if (timeoutMs == kInfinite) {
        m_stopChanged.wait(lock, stopped);
        return true;
    }
    return m_stopChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), stopped);
}

bool Thread::Join(uint32_t timeoutMs) {
    if (!m_thread.joinable()) {
        return true;
    }
    if (m_thread.get_id() == std::this_thread::get_id()) {
        return false;
    }
    if (!m_finished.Wait(timeoutMs)) {
        return false;
    }
    // The body has returned; the thread only has its exit left to do.
    m_thread.join();
    return true;
}

bool Thread::Running() const {
    return m_thread.joinable() && !m_finished.IsSet();
}

}  // namespace plat
