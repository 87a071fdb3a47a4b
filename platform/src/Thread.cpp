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
    // The new thread waits for this lock before its body runs, so the body
    // sees m_thread and m_bodyId complete.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = false;
    m_finished.Reset();
    try {
        m_thread = std::thread([this, body = std::move(body)] {
            { std::lock_guard<std::mutex> published(m_mutex); }
            body();
            m_finished.Set();
        });
    } catch (const std::system_error&) {
        m_finished.Set();
        return false;
    }
    m_bodyId = m_thread.get_id();
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
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bodyId == std::this_thread::get_id()) {
            return false;
        }
    }
    if (!m_thread.joinable()) {
        return true;
    }
    if (!m_finished.Wait(timeoutMs)) {
        return false;
    }
    // The body has returned; the thread only has its exit left to do.
    m_thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bodyId = std::thread::id();  // ids of ended threads are reused
    return true;
}

bool Thread::InBody() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bodyId == std::this_thread::get_id();
}

bool Thread::Running() const {
    return m_thread.joinable() && !m_finished.IsSet();
}

}  // namespace plat
