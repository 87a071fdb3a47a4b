// Worker thread with a cooperative stop. A thread is never killed: its body
// polls StopRequested() or sleeps in WaitForStop() and returns by itself.
// Join() with a time-out only reports whether the body has ended; the object
// waits for the body without limit when it is destroyed, so nothing the body
// uses may be freed before the Thread object is.
//
// Start(), Join(), Running() and the destructor belong to the thread that owns
// the object; the body may call StopRequested(), WaitForStop() and
// RequestStop() (a Join() from the body fails at once). InBody() may be
// called from any thread. The body must not
// destroy its own Thread object.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/Event.h"

namespace plat {

class Thread {
  public:
    using Body = std::function<void()>;

    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Requests a stop and waits until the body has returned.
    ~Thread();

    // Starts the body on a new thread. False when a body is still running on
    // this object or the system refused a new thread. A body that has ended is
    // joined first, so an object can be started again.
    bool Start(Body body);

    // Asks the body to return; does not wait.
    void RequestStop();
    bool StopRequested() const;

    // For the body: sleeps up to timeoutMs and returns true as soon as a stop
    // is requested (at once when one already was).
    bool WaitForStop(uint32_t timeoutMs);

    // Waits up to timeoutMs (kInfinite: no limit) for the body to return.
    // True when it has (the thread is then joined), also when none was
    // started; false on time-out or when called from the body itself.
    bool Join(uint32_t timeoutMs);

    // True from Start() until the body has returned.
    bool Running() const;

    // True when called from the body of this object (any thread may ask).
    bool InBody() const;

  private:
    std::thread m_thread;
    std::thread::id m_bodyId;  // the thread of the current or last body
    mutable std::mutex m_mutex;
    std::condition_variable m_stopChanged;
    bool m_stop = false;
    Event m_finished{Event::Mode::ManualReset, true};
};

}  // namespace plat
