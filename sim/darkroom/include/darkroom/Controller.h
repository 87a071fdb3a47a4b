// The dark-room controller as an instrument: instrument power, the gel light
// sources (white light and four UV lamps), the blot light, the fluorescence
// lights, the filter wheel, the motorised lens and the timed shut-down.
//
// The controller is driven by the bytes it receives on its serial line and by
// the passing of time; every call takes the current time in milliseconds of
// the line's clock. It answers with single status bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "darkroom/FrameParser.h"
#include "darkroom/Journal.h"

namespace darkroom {

// Single command bytes.
namespace cmd {
constexpr uint8_t Power = 0x02;
constexpr uint8_t UV2 = 0x03;
constexpr uint8_t UV1 = 0x04;
constexpr uint8_t White = 0x05;
constexpr uint8_t ZoomIn = 0x06;
constexpr uint8_t ZoomOut = 0x07;
constexpr uint8_t FocusIn = 0x08;
constexpr uint8_t FocusOut = 0x09;
constexpr uint8_t IrisIn = 0x0A;
constexpr uint8_t IrisOut = 0x0B;
constexpr uint8_t LensStop = 0x14;
constexpr uint8_t UV3 = 0x15;
constexpr uint8_t UV4 = 0x16;
constexpr uint8_t StatusRequest = 0x1D;
// Framed commands.
constexpr uint8_t Filter = 0xF1;
constexpr uint8_t BlotLight = 0xF2;
constexpr uint8_t FluorLight = 0xF3;
constexpr uint8_t ShutDown = 0xCC;
}  // namespace cmd

// Status bytes the controller sends.
namespace status {
constexpr uint8_t PowerOpen = 0x0C;
constexpr uint8_t PowerClose = 0x0D;
constexpr uint8_t WhiteOpen = 0x0E;
constexpr uint8_t WhiteClose = 0x0F;
constexpr uint8_t UV1Open = 0x10;
constexpr uint8_t UV1Close = 0x11;
constexpr uint8_t UV2Open = 0x12;
constexpr uint8_t UV2Close = 0x13;
constexpr uint8_t UV3Open = 0x17;
constexpr uint8_t UV3Close = 0x18;
constexpr uint8_t UV4Open = 0x19;
constexpr uint8_t UV4Close = 0x1A;
}  // namespace status

// The gel light sources; at most one of them is on.
enum class Source { None, White, UV1, UV2, UV3, UV4 };
enum class Fluorescence { None, Red, Green, Blue, NearIR };
enum class Motion { None, ZoomIn, ZoomOut, FocusIn, FocusOut, IrisIn, IrisOut };
enum class LensAxis { Zoom, Focus, Iris };

const char* sourceName(Source source);
const char* fluorescenceName(Fluorescence light);
const char* motionName(Motion motion);
// Filter wheel positions 0 to 5: "none", "460", "535", "590", "620", "690".
const char* filterName(int position);

struct ControllerState {
    bool power = false;
    Source source = Source::None;
    bool blotLight = false;
    Fluorescence fluorescence = Fluorescence::None;
    int filter = 0;
    Motion motion = Motion::None;
    double zoom = 0;
    double focus = 0;
    double iris = 0;
    int shutDownMinutes = 0;  // 0: no timed shut-down
    bool muted = false;
};

class Controller {
  public:
    // Lens axes run between two end stops; a moving axis travels at a fixed speed.
    static constexpr double kLensMin = 0.0;
    static constexpr double kLensMax = 1000.0;
    static constexpr double kLensStart = 500.0;
    static constexpr double kLensUnitsPerSecond = 150.0;

    explicit Controller(uint64_t nowMs = 0, bool powerOn = false);

    // The instrument's own timing (lens travel, shut-down delay) runs this many
    // times faster than the line's clock; 1 is real time.
    void setTimeScale(double scale);
    double timeScale() const { return timeScale_; }

    // Bytes received from the line; returns the status bytes the controller sends back.
    std::vector<uint8_t> receive(const uint8_t* data, size_t size, uint64_t nowMs);
    // Lets time pass: abandons stale partial frames and runs the timed
    // shut-down. Returns the status bytes the controller sends by itself.
    std::vector<uint8_t> advance(uint64_t nowMs);
    // When `advance` next has something to do (UINT64_MAX: nothing pending).
    uint64_t nextDeadline() const;

    // A muted controller still acts on its commands but sends nothing.
    void setMuted(bool muted) { muted_ = muted; }
    // Records bytes that the control channel puts on the line.
    void noteInjected(const std::vector<uint8_t>& bytes, uint64_t nowMs);

    ControllerState state(uint64_t nowMs) const;
    // Puts a lens axis at a position (clamped to the end stops), as a person
    // turning the ring would; a motion of that axis goes on from there.
    void setLensPosition(LensAxis axis, double position, uint64_t nowMs);
    // Units a second of the line's clock that an axis moves now (signed).
    double lensRate(LensAxis axis) const;
    const Journal& journal() const { return journal_; }
    void clearJournal() { journal_.clear(); }

  private:
    void handleRaw(uint8_t byte, uint64_t nowMs, std::vector<uint8_t>& out);
    void handleFrame(const ParsedInput& frame, uint64_t nowMs);
    void startMotion(Motion motion, uint64_t nowMs);
    struct LensPositions {
        double zoom;
        double focus;
        double iris;
    };
    LensPositions lensAt(uint64_t nowMs) const;
    void shutDown(uint64_t nowMs, std::vector<uint8_t>& out);
    void reply(uint8_t byte, uint64_t nowMs, std::vector<uint8_t>& out);
    uint64_t shutDownDeadline() const;

    double timeScale_ = 1.0;
    bool muted_ = false;
    bool power_;
    Source source_ = Source::None;
    bool blotLight_ = false;
    Fluorescence fluorescence_ = Fluorescence::None;
    int filter_ = 0;
    int shutDownMinutes_ = 0;
    uint64_t lastCommandMs_;
    // Lens: positions as of `motionSinceMs_`, and the axis moving since then.
    Motion motion_ = Motion::None;
    uint64_t motionSinceMs_;
    double zoom_ = kLensStart;
    double focus_ = kLensStart;
    double iris_ = kLensStart;

    FrameParser parser_;
    Journal journal_;
};

}  // namespace darkroom
