// Periodic timer: calls a tick function every period milliseconds on a
// thread of its own. Stop() waits for a tick that is running, so after it
// returns the tick function is never called again.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace plat {

class PeriodicTimer {
  public:
    using Tick = std::function<void()>;

    PeriodicTimer() = default;
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;
    // Stops the timer; must not run inside its own tick.
    ~PeriodicTimer();

    // Starts ticking; the first tick comes one period after the start. False
    // when the timer runs already, the period is 0 or no thread could start.
    bool Start(uint32_t periodMs, Tick tick);

    // Stops ticking and waits for a running tick to return. Called from inside
    // the tick it only prevents further ticks; the thread is joined by the
    // next Start(), Stop() or the destructor on another thread.
    void Stop();

    bool Running() const;

  private:
    void Run(uint32_t periodMs, Tick tick);

    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_stopChanged;
    bool m_stop = true;
};

}  // namespace plat
