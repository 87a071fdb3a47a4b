#include "Simulator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "CamCore.h"

namespace camsim {

namespace {

constexpr const char* kDeviceName = "CoolCCD-16M #1";
constexpr size_t kJournalLimit = 20000;
constexpr size_t kFrameRecordLimit = 10000;
constexpr int kMinGain = 1;
constexpr int kMaxGain = 1000;
constexpr float kMinExposureMs = 0.1f;
constexpr float kMaxExposureMs = 3600000.0f;
// While suspended a read answers after this pause, like the real sensor's
// poll of its empty frame queue.
constexpr auto kIdleReadPause = std::chrono::milliseconds(2);

int binningOf(int resolution) {
    return 1 << resolution;
}

unsigned get16(const uint8_t* at) {
    return static_cast<unsigned>(at[0]) | (static_cast<unsigned>(at[1]) << 8);
}

}  // namespace

Simulator& Simulator::instance() {
    static Simulator simulator;
    return simulator;
}

Simulator::Simulator() {
    const char* text = std::getenv("CAMCORE_SIM");
    m_configText = text != nullptr ? text : "";
}

void Simulator::restoreDefaults() {
    m_resolution = 0;
    m_pixelclock = 0;
    m_bits = 16;
    m_exposureMs = 100.0f;
    m_gain = 200;
    m_blackLevel = 10;
    m_flip = 0;
    m_stored.clear();
    m_stored["cooled"] = 1;
}

bool Simulator::consumeFailure(const std::string& function, int* code) {
    auto failure = m_failures.find(function);
    if (failure == m_failures.end() || failure->second.count == 0) {
        return false;
    }
    if (failure->second.count > 0) {
        --failure->second.count;
    }
    *code = failure->second.code;
    return true;
}

int Simulator::init(const char* path) {
    std::lock_guard<std::mutex> lock(m_mutex);
    int code = 0;
    if (consumeFailure("InitDevice", &code)) {
        return code;
    }
    if (path == nullptr) {
        return CAMCORE_E_ARGUMENT;
    }
    if (m_started) {
        return CAMCORE_OK;
    }
    m_config = parseSimConfig(m_configText);
    m_started = true;
    m_running = false;
    m_initTime = std::chrono::steady_clock::now();
    m_frameNumber = 0;
    m_name = m_config.devices > 0 ? kDeviceName : "";
    restoreDefaults();
    return CAMCORE_OK;
}

int Simulator::exit() {
    std::lock_guard<std::mutex> lock(m_mutex);
    int code = 0;
    if (consumeFailure("ExitDevice", &code)) {
        return code;
    }
    if (!m_started) {
        return CAMCORE_E_NOT_STARTED;
    }
    m_started = false;
    m_running = false;
    ++m_generation;
    m_changed.notify_all();
    return CAMCORE_OK;
}

int Simulator::deviceCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    int code = 0;
    if (consumeFailure("DeviceCount", &code)) {
        return code;
    }
    return m_started ? m_config.devices : 0;
}

const char* Simulator::deviceName(int index) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_started || index != 0 || m_config.devices == 0) {
        return "";
    }
    return kDeviceName;
}

int Simulator::admit(const char* function, const char* name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_started) {
        return CAMCORE_E_NOT_STARTED;
    }
    if (name == nullptr || m_name.empty() || m_name != name) {
        return CAMCORE_E_UNKNOWN_DEVICE;
    }
    int code = 0;
    return consumeFailure(function, &code) ? code : CAMCORE_OK;
}

int Simulator::recvMemSize() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(rawFrameBytes(m_config, 1, 16));
}

int Simulator::resume() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_running = true;
    m_changed.notify_all();
    return CAMCORE_OK;
}

int Simulator::suspend() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_running = false;
    ++m_generation;
    m_changed.notify_all();
    return CAMCORE_OK;
}

int Simulator::reset() {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_generation;
    m_changed.notify_all();
    return CAMCORE_OK;
}

int Simulator::state() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_running ? 1 : 0;
}

int Simulator::setResolution(int index) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index < CAMCORE_RES_1X1 || index > CAMCORE_RES_4X4) {
        return CAMCORE_E_ARGUMENT;
    }
    m_resolution = index;
    return CAMCORE_OK;
}

int Simulator::resolution() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_resolution;
}

int Simulator::setPixelclock(int index) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index < 0 || index > 3) {
        return CAMCORE_E_ARGUMENT;
    }
    m_pixelclock = index;
    return CAMCORE_OK;
}

int Simulator::pixelclock() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pixelclock;
}

int Simulator::setRawDepth(int bits) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (bits != 8 && bits != 16) {
        return CAMCORE_E_ARGUMENT;
    }
    m_bits = bits;
    return CAMCORE_OK;
}

int Simulator::rawDepth() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bits;
}

int Simulator::setExposure(float milliseconds) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!(milliseconds >= kMinExposureMs && milliseconds <= kMaxExposureMs)) {
        return CAMCORE_E_ARGUMENT;
    }
    m_exposureMs = milliseconds;
    return CAMCORE_OK;
}

float Simulator::exposure() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exposureMs;
}

int Simulator::setGain(int gain) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (gain < kMinGain || gain > kMaxGain) {
        return CAMCORE_E_ARGUMENT;
    }
    m_gain = gain;
    return CAMCORE_OK;
}

int Simulator::gain() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_gain;
}

int Simulator::setBlackLevel(int level) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (level < 0 || level > 255) {
        return CAMCORE_E_ARGUMENT;
    }
    m_blackLevel = level;
    return CAMCORE_OK;
}

int Simulator::blackLevel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_blackLevel;
}

int Simulator::setFlip(int flip) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (flip < 0 || flip > 3) {
        return CAMCORE_E_ARGUMENT;
    }
    m_flip = flip;
    return CAMCORE_OK;
}

int Simulator::flip() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_flip;
}

int Simulator::setStored(const std::string& key, int value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stored[key] = value;
    return CAMCORE_OK;
}

int Simulator::stored(const std::string& key) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_stored.find(key);
    return found != m_stored.end() ? found->second : 0;
}

int Simulator::temperature(float* celsius) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (celsius == nullptr) {
        return CAMCORE_E_ARGUMENT;
    }
    if (m_stored["cooled"] == 0) {
        *celsius = static_cast<float>(m_config.ambient);
        return CAMCORE_OK;
    }
    const double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_initTime)
            .count();
    const double span = m_config.ambient - m_config.setpoint;
    *celsius =
        static_cast<float>(m_config.setpoint + span * std::exp(-elapsedMs / m_config.coolMs));
    return CAMCORE_OK;
}

int Simulator::rawSize(int* width, int* height) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (width == nullptr || height == nullptr) {
        return CAMCORE_E_ARGUMENT;
    }
    const int binning = binningOf(m_resolution);
    *width = m_config.width / binning;
    *height = m_config.height / binning;
    return static_cast<int>(rawFrameBytes(m_config, binning, m_bits));
}

int Simulator::sizeAt(int index, int* width, int* height) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index < CAMCORE_RES_1X1 || index > CAMCORE_RES_4X4) {
        return CAMCORE_E_ARGUMENT;
    }
    *width = m_config.width / binningOf(index);
    *height = m_config.height / binningOf(index);
    return CAMCORE_OK;
}

bool Simulator::blotLightOn() {
    if (m_blotOverride >= 0) {
        return m_blotOverride != 0;
    }
    if (m_config.worldFile.empty()) {
        return false;
    }
    std::ifstream world(m_config.worldFile);
    std::string line;
    while (std::getline(world, line)) {
        if (line.rfind("blot=", 0) == 0) {
            return line.substr(5) == "1";
        }
    }
    return false;
}

int Simulator::readFrame(void* buffer, int size) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (buffer == nullptr || size < 0) {
        return CAMCORE_E_ARGUMENT;
    }
    if (!m_running) {
        lock.unlock();
        std::this_thread::sleep_for(kIdleReadPause);
        return CAMCORE_E_NOT_RUNNING;
    }
    Exposure exposure;
    exposure.binning = binningOf(m_resolution);
    exposure.bits = m_bits;
    exposure.exposureMs = m_exposureMs;
    exposure.gain = m_gain;
    exposure.blackLevel = m_blackLevel;
    exposure.flip = m_flip;
    const SimConfig config = m_config;
    if (static_cast<size_t>(size) < rawFrameBytes(config, exposure.binning, exposure.bits)) {
        return CAMCORE_E_BUFFER;
    }
    const uint64_t generation = m_generation;
    const double waitMs =
        std::min<double>(config.maxWaitMs, exposure.exposureMs * config.timeScale);
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::microseconds(static_cast<int64_t>(waitMs * 1000.0));
    const auto interrupted = [&] { return m_generation != generation; };
    m_changed.wait_until(lock, deadline, interrupted);
    m_changed.wait(lock, [&] { return interrupted() || !m_stalled; });
    if (interrupted()) {
        return m_running ? CAMCORE_E_DEVICE : CAMCORE_E_NOT_RUNNING;
    }
    exposure.blotLight = blotLightOn();
    const uint32_t number = ++m_frameNumber;
    lock.unlock();

    std::vector<uint8_t> frame;
    synthesiseFrame(config, exposure, number, &frame);

    lock.lock();
    if (m_generation != generation) {
        return m_running ? CAMCORE_E_DEVICE : CAMCORE_E_NOT_RUNNING;
    }
    std::memcpy(buffer, frame.data(), frame.size());
    ++m_grabbed;
    noteFrame(exposure);
    return CAMCORE_OK;
}

void Simulator::noteFrame(const Exposure& exposure) {
    m_frameExposures.emplace_back(static_cast<float>(exposure.exposureMs), exposure.gain);
    if (m_frameExposures.size() > kFrameRecordLimit) {
        m_frameExposures.pop_front();
    }
}

int Simulator::validFrame(const uint8_t* raw, size_t* bytes) const {
    if (get16(raw + 10) != CAMCORE_FRAME_MAGIC || get16(raw + 12) != CAMCORE_HEADER_LENGTH ||
        raw[9] != 1 || (raw[8] != 8 && raw[8] != 16)) {
        return CAMCORE_E_ARGUMENT;
    }
    const size_t width = get16(raw + 4);
    const size_t height = get16(raw + 6);
    const size_t total = CAMCORE_HEADER_LENGTH + width * height * (raw[8] == 8 ? 1 : 2);
    if (width == 0 || height == 0 || total > rawFrameBytes(m_config, 1, 16)) {
        return CAMCORE_E_ARGUMENT;
    }
    *bytes = total;
    return CAMCORE_OK;
}

int Simulator::decode(const void* raw, void* image) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (raw == nullptr || image == nullptr) {
        return CAMCORE_E_ARGUMENT;
    }
    const auto* frame = static_cast<const uint8_t*>(raw);
    size_t bytes = 0;
    const int valid = validFrame(frame, &bytes);
    if (valid != CAMCORE_OK) {
        return valid;
    }
    // The decoded image has the raw frame's layout: grey samples after the
    // same header.
    std::memmove(image, raw, bytes);
    ++m_decoded;
    m_lastDecoded = get16(frame) | (get16(frame + 2) << 16);
    return CAMCORE_OK;
}

int Simulator::flatField(void* raw, bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (raw == nullptr) {
        return CAMCORE_E_ARGUMENT;
    }
    size_t bytes = 0;
    const int valid = validFrame(static_cast<const uint8_t*>(raw), &bytes);
    if (valid != CAMCORE_OK) {
        return valid;
    }
    // The simulated sensor is evenly lit and evenly sensitive: its flat
    // field is 1 everywhere, so the correction leaves the samples as they are.
    (void)on;
    return CAMCORE_OK;
}

void Simulator::journal(const std::string& line) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_journal.push_back(line);
    if (m_journal.size() > kJournalLimit) {
        m_journal.pop_front();
    }
}

void Simulator::resetAll(const std::string& config) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_started = false;
    m_running = false;
    m_stalled = false;
    ++m_generation;
    m_changed.notify_all();
    m_configText = config;
    m_config = parseSimConfig(config);
    m_blotOverride = -1;
    m_grabbed = 0;
    m_decoded = 0;
    m_lastDecoded = 0;
    m_frameExposures.clear();
    m_failures.clear();
    m_journal.clear();
}

void Simulator::fail(const std::string& function, int count, int code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (count == 0) {
        m_failures.erase(function);
        return;
    }
    m_failures[function] = Failure{count, code};
}

void Simulator::stallReads(bool stalled) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stalled = stalled;
    m_changed.notify_all();
}

void Simulator::setBlotLightOverride(int on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_blotOverride = on < 0 ? -1 : (on != 0 ? 1 : 0);
}

std::string Simulator::journalText() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string text;
    for (const std::string& line : m_journal) {
        text += line;
        text += '\n';
    }
    return text;
}

void Simulator::clearJournal() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_journal.clear();
}

int Simulator::framesGrabbed() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_grabbed;
}

int Simulator::framesDecoded() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_decoded;
}

unsigned Simulator::lastDecodedFrame() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastDecoded;
}

int Simulator::frameExposures(float* exposures, int* gains, int capacity) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int count = static_cast<int>(m_frameExposures.size());
    for (int i = 0; i < std::min(count, capacity); ++i) {
        if (exposures != nullptr) {
            exposures[i] = m_frameExposures[i].first;
        }
        if (gains != nullptr) {
            gains[i] = m_frameExposures[i].second;
        }
    }
    return count;
}

}  // namespace camsim
