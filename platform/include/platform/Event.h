// Event object: a flag threads wait for. A manual-reset event stays set until
// Reset() and releases every waiter; an auto-reset event releases one waiter
// and clears itself.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace plat {

// Wait time meaning "no limit".
constexpr uint32_t kInfinite = 0xFFFFFFFFu;

class Event {
  public:
    enum class Mode { ManualReset, AutoReset };

    explicit Event(Mode mode, bool initiallySet = false);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;

    // Waits until the event is set or timeoutMs milliseconds have passed
    // (kInfinite: no limit). True when the event was set; an auto-reset event
    // is then cleared again.
    bool Wait(uint32_t timeoutMs);

  private:
    const Mode m_mode;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set;
};

}  // namespace plat
