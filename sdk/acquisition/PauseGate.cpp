#include "acquisition/PauseGate.h"

#include <chrono>

void CPauseGate::Reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bRequested = false;
    m_bParked = false;
    m_changed.notify_all();
}

bool CPauseGate::Pause(uint32_t nTimeOutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_bRequested = true;
    m_changed.notify_all();
    return m_changed.wait_for(lock, std::chrono::milliseconds(nTimeOutMs),
                              [this] { return m_bParked; });
}

void CPauseGate::Resume() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bRequested = false;
    m_changed.notify_all();
}

bool CPauseGate::Requested() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bRequested;
}

bool CPauseGate::Park(uint32_t nMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_bRequested) {
        m_bParked = false;
        return false;
    }
    m_bParked = true;
    m_changed.notify_all();
    m_changed.wait_for(lock, std::chrono::milliseconds(nMs), [this] { return !m_bRequested; });
    m_bParked = m_bRequested;
    return m_bParked;
}

bool CPauseGate::Parked() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bParked;
}
