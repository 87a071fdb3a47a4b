#include "platform/PeriodicTimer.h"

#include <chrono>
#include <system_error>

namespace plat {

PeriodicTimer::~PeriodicTimer() {
    Stop();
}

bool PeriodicTimer::Start(uint32_t periodMs, Tick tick) {
    if (periodMs == 0 || !tick) {
        return false;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_stop) {
        return false;
    }
    if (m_thread.joinable()) {
        // A thread that stopped itself from inside its tick.
        if (m_thread.get_id() == std::this_thread::get_id()) {
            return false;
        }
        lock.unlock();
        m_thread.join();
        lock.lock();
    }
    m_stop = false;
    try {
        m_thread = std::thread(&PeriodicTimer::Run, this, periodMs, std::move(tick));
    } catch (const std::system_error&) {
        m_stop = true;
        return false;
    }
    return true;
}

void PeriodicTimer::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_stopChanged.notify_all();
    }
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

bool PeriodicTimer::Running() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_stop;
}

void PeriodicTimer::Run(uint32_t periodMs, Tick tick) {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(periodMs);
    auto next = Clock::now() + period;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        if (m_stopChanged.wait_until(lock, next, [this] { return m_stop; })) {
            break;
        }
        lock.unlock();
        tick();
        lock.lock();
        // Keep the rate; after a late tick restart the schedule instead of
        // firing the missed ticks in a burst.
        next += period;
        const auto now = Clock::now();
        if (next <= now) {
            next = now + period;
        }
    }
}

}  // namespace plat
