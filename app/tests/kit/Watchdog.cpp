#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog() : m_thread([this] { run(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_cv.notify_all();
    m_thread.join();
}

void Watchdog::arm(const std::string& what, int seconds) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_armed = true;
        m_what = what;
        m_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    }
    m_cv.notify_all();
}

void Watchdog::disarm() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_armed = false;
    }
    m_cv.notify_all();
}

void Watchdog::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        if (!m_armed) {
            m_cv.wait(lock);
            continue;
        }
        if (m_cv.wait_until(lock, m_deadline) == std::cv_status::timeout && m_armed && !m_stop &&
            std::chrono::steady_clock::now() >= m_deadline) {
            std::fprintf(stderr, "watchdog: %s did not finish in time\n", m_what.c_str());
            std::fflush(stderr);
            std::_Exit(3);
        }
    }
}
