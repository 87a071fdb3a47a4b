#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Ends the test program when a test does not finish in time: arm() before the
// test, disarm() after it. On expiry it prints the name of the hung test and
// ends the process at once with exit code 3 (a hung GUI test would otherwise
// sit in a modal loop until the outer time-out, with no hint where).
class Watchdog {
  public:
    Watchdog();
    ~Watchdog();

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void arm(const std::string& what, int seconds);
    void disarm();

  private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_armed = false;
    bool m_stop = false;
    std::string m_what;
    std::chrono::steady_clock::time_point m_deadline;
    std::thread m_thread;
};
