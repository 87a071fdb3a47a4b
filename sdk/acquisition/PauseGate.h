// The pause hand-shake between a call that pauses the preview and the thread
// that catches its frames. The catching thread parks at the gate between two
// frames while a pause is asked for; the pausing call returns once it is
// parked. Request and parked state change together under one mutex, so a
// resume followed at once by another pause can never be mistaken for the
// thread's answer to the second pause while it is already catching again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

class CPauseGate {
  public:
    // No pause asked for, the thread not parked (before a thread starts).
    void Reset();

    // The pausing side: asks for a pause and waits up to nTimeOutMs for the
    // thread to park; false when it did not (the request stays).
    bool Pause(uint32_t nTimeOutMs);
    // Withdraws the request and wakes a parked thread.
    void Resume();

    // The catching thread: whether a pause is asked for; and parking: waits
    // up to nMs while a pause is asked for. True when the pause goes on (the
    // thread is parked), false when there is none or it was withdrawn.
    bool Requested() const;
    bool Park(uint32_t nMs);
    // Whether the catching thread is parked now.
    bool Parked() const;

  private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bRequested = false;
    bool m_bParked = false;
};
