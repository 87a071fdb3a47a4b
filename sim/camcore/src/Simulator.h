// The one simulated cooled camera behind libCamCore.so: its state, the
// journal of calls, scripted failures and counters. Every member function
// is thread-safe; the exports (Exports.cpp) and the test control
// (Control.cpp) are thin layers over it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "FrameSynth.h"
#include "SimConfig.h"

namespace camsim {

class Simulator {
  public:
    static Simulator& instance();

    // The library's start and end.
    int init(const char* path);
    int exit();
    int deviceCount();
    const char* deviceName(int index);

    // Checks that the library started and that `name` is the camera's; then
    // consumes a scripted failure of `function`. Returns 0 or the code to
    // answer. Takes the lock itself.
    int admit(const char* function, const char* name);

    // Everything below is called after admit() succeeded.
    int recvMemSize();
    int resume();
    int suspend();
    int reset();
    int state();

    int setResolution(int index);
    int resolution();
    int setPixelclock(int index);
    int pixelclock();
    int setRawDepth(int bits);
    int rawDepth();
    int setExposure(float milliseconds);
    float exposure();
    int setGain(int gain);
    int gain();
    int setBlackLevel(int level);
    int blackLevel();
    int setFlip(int flip);
    int flip();
    // Stored settings of the display path and the corrections.
    int setStored(const std::string& key, int value);
    int stored(const std::string& key);
    int temperature(float* celsius);
    int rawSize(int* width, int* height);
    // Picture size at a resolution index.
    int sizeAt(int index, int* width, int* height);

    int readFrame(void* buffer, int size);
    int decode(const void* raw, void* image);
    int flatField(void* raw, bool on);

    void journal(const std::string& line);

    // Test control.
    void resetAll(const std::string& config);
    void fail(const std::string& function, int count, int code);
    void stallReads(bool stalled);
    void setBlotLightOverride(int on);
    std::string journalText();
    void clearJournal();
    int framesGrabbed();
    int framesDecoded();
    unsigned lastDecodedFrame();
    int frameExposures(float* exposures, int* gains, int capacity);

  private:
    Simulator();
    void restoreDefaults();
    // Takes one scripted failure of `function`, when there is one; the lock
    // is held.
    bool consumeFailure(const std::string& function, int* code);
    bool blotLightOn();
    int validFrame(const uint8_t* raw, size_t* bytes) const;
    void noteFrame(const Exposure& exposure);

    struct Failure {
        int count = 0;
        int code = 0;
    };

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_configText;
    SimConfig m_config;
    bool m_started = false;
    bool m_running = false;
    bool m_stalled = false;
    uint64_t m_generation = 0;  // bumped by every suspend, reset and exit
    std::chrono::steady_clock::time_point m_initTime;
    std::string m_name;

    int m_resolution = 0;
    int m_pixelclock = 0;
    int m_bits = 16;
    float m_exposureMs = 100.0f;
    int m_gain = 200;
    int m_blackLevel = 10;
    int m_flip = 0;
    std::map<std::string, int> m_stored;
    int m_blotOverride = -1;

    uint32_t m_frameNumber = 0;
    int m_grabbed = 0;
    int m_decoded = 0;
    unsigned m_lastDecoded = 0;
    std::deque<std::pair<float, int>> m_frameExposures;
    std::map<std::string, Failure> m_failures;
    std::deque<std::string> m_journal;
};

}  // namespace camsim
