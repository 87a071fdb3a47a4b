// Recursive lock: the thread that holds it may enter it again (locks of the
// SDK nest), and must leave it as often as it entered.
#pragma once

#include <mutex>

namespace plat {

class CriticalSection {
  public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter();
    void Leave();
    bool TryEnter();

    // BasicLockable, so std::lock_guard and std::unique_lock work with it.
    void lock() { Enter(); }
    void unlock() { Leave(); }
    bool try_lock() { return TryEnter(); }

  private:
    std::recursive_mutex m_mutex;
};

// Holds a critical section for the lifetime of the guard.
using CriticalSectionLock = std::lock_guard<CriticalSection>;

}  // namespace plat
