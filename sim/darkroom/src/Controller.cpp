#include "darkroom/Controller.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace darkroom {

namespace {

constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

struct SourceBytes {
    uint8_t open;
    uint8_t close;
};

SourceBytes bytesOf(Source source) {
    switch (source) {
        case Source::White:
            return {status::WhiteOpen, status::WhiteClose};
        case Source::UV1:
            return {status::UV1Open, status::UV1Close};
        case Source::UV2:
            return {status::UV2Open, status::UV2Close};
        case Source::UV3:
            return {status::UV3Open, status::UV3Close};
        case Source::UV4:
            return {status::UV4Open, status::UV4Close};
        case Source::None:
            break;
    }
    return {0, 0};
}

// The code of each fluorescence light in a selection frame.
constexpr uint8_t kFluorCodes[] = {0x07, 0x08, 0x09, 0x0A};
constexpr uint8_t kLightOff = 0xC1;

// A selection is 0x01, then 0xC0 plus the code of each other light in
// ascending order, then the chosen light's code.
bool decodeFluorSelection(const std::vector<uint8_t>& data, Fluorescence& chosen) {
    if (data.size() != 5 || data[0] != 0x01) {
        return false;
    }
    const uint8_t code = data[4];
    if (code < kFluorCodes[0] || code > kFluorCodes[3]) {
        return false;
    }
    size_t next = 1;
    for (uint8_t other : kFluorCodes) {
        if (other == code) {
            continue;
        }
        if (data[next++] != 0xC0 + other) {
            return false;
        }
    }
    chosen = static_cast<Fluorescence>(code - kFluorCodes[0] + 1);
    return true;
}

}  // namespace

const char* sourceName(Source source) {
    switch (source) {
        case Source::None:
            return "none";
        case Source::White:
            return "white";
        case Source::UV1:
            return "uv1";
        case Source::UV2:
            return "uv2";
        case Source::UV3:
            return "uv3";
        case Source::UV4:
            return "uv4";
    }
    return "?";
}

const char* fluorescenceName(Fluorescence light) {
    switch (light) {
        case Fluorescence::None:
            return "none";
        case Fluorescence::Red:
            return "red";
        case Fluorescence::Green:
            return "green";
        case Fluorescence::Blue:
            return "blue";
        case Fluorescence::NearIR:
            return "nearir";
    }
    return "?";
}

const char* motionName(Motion motion) {
    switch (motion) {
        case Motion::None:
            return "none";
        case Motion::ZoomIn:
            return "zoom-in";
        case Motion::ZoomOut:
            return "zoom-out";
        case Motion::FocusIn:
            return "focus-in";
        case Motion::FocusOut:
            return "focus-out";
        case Motion::IrisIn:
            return "iris-in";
        case Motion::IrisOut:
            return "iris-out";
    }
    return "?";
}

const char* filterName(int position) {
    static const char* names[] = {"none", "460", "535", "590", "620", "690"};
    return position >= 0 && position < 6 ? names[position] : "?";
}

Controller::Controller(uint64_t nowMs, bool powerOn)
    : power_(powerOn), lastCommandMs_(nowMs), motionSinceMs_(nowMs) {}

void Controller::setTimeScale(double scale) {
    if (std::isfinite(scale) && scale > 0) {
        timeScale_ = scale;
    }
}

std::vector<uint8_t> Controller::receive(const uint8_t* data, size_t size, uint64_t nowMs) {
    std::vector<uint8_t> out = advance(nowMs);
    std::vector<ParsedInput> inputs;
    for (size_t i = 0; i < size; ++i) {
        parser_.feed(data[i], nowMs, inputs);
    }
    if (size > 0) {
        lastCommandMs_ = nowMs;
    }
    for (const ParsedInput& input : inputs) {
        switch (input.kind) {
            case ParsedInput::Kind::RawByte:
                handleRaw(input.bytes[0], nowMs, out);
                break;
            case ParsedInput::Kind::Frame:
                handleFrame(input, nowMs);
                break;
            case ParsedInput::Kind::BadFrame:
                journal_.add(nowMs, JournalEntry::Kind::BadFrame, input.bytes, input.problem);
                break;
        }
    }
    return out;
}

std::vector<uint8_t> Controller::advance(uint64_t nowMs) {
    std::vector<uint8_t> out;
    std::vector<ParsedInput> stale;
    parser_.expire(nowMs, stale);
    for (const ParsedInput& input : stale) {
        journal_.add(nowMs, JournalEntry::Kind::BadFrame, input.bytes, input.problem);
    }
    if (nowMs >= shutDownDeadline()) {
        shutDown(nowMs, out);
    }
    return out;
}

uint64_t Controller::nextDeadline() const {
    return std::min(parser_.deadline(), shutDownDeadline());
}

uint64_t Controller::shutDownDeadline() const {
    if (!power_ || shutDownMinutes_ == 0) {
        return kNever;
    }
    const double delayMs = shutDownMinutes_ * 60000.0 / timeScale_;
    return lastCommandMs_ + static_cast<uint64_t>(std::ceil(delayMs));
}

void Controller::noteInjected(const std::vector<uint8_t>& bytes, uint64_t nowMs) {
    journal_.add(nowMs, JournalEntry::Kind::Injected, bytes, {});
}

void Controller::reply(uint8_t byte, uint64_t nowMs, std::vector<uint8_t>& out) {
    if (muted_) {
        journal_.add(nowMs, JournalEntry::Kind::Muted, {byte}, {});
        return;
    }
    journal_.add(nowMs, JournalEntry::Kind::Reply, {byte}, {});
    out.push_back(byte);
}

void Controller::handleRaw(uint8_t byte, uint64_t nowMs, std::vector<uint8_t>& out) {
    auto note = [&](const std::string& text) {
        journal_.add(nowMs, JournalEntry::Kind::Raw, {byte}, text);
    };
    auto toggle = [&](Source source, const char* name) {
        if (!power_) {
            note(std::string(name) + " toggle, ignored: power off");
            return;
        }
        note(std::string(name) + " toggle");
        const SourceBytes bytes = bytesOf(source);
        if (source_ == source) {
            source_ = Source::None;
            reply(bytes.close, nowMs, out);
        } else {
            // Switching one source on switches the one that was on off.
            source_ = source;
            reply(bytes.open, nowMs, out);
        }
    };
    switch (byte) {
        case cmd::Power:
            note("power toggle");
            power_ = !power_;
            if (!power_) {
                source_ = Source::None;
            }
            reply(power_ ? status::PowerOpen : status::PowerClose, nowMs, out);
            return;
        case cmd::StatusRequest:
            note("status request");
            reply(power_ ? status::PowerOpen : status::PowerClose, nowMs, out);
            return;
        case cmd::White:
            toggle(Source::White, "white light");
            return;
        case cmd::UV1:
            toggle(Source::UV1, "uv1");
            return;
        case cmd::UV2:
            toggle(Source::UV2, "uv2");
            return;
        case cmd::UV3:
            toggle(Source::UV3, "uv3");
            return;
        case cmd::UV4:
            toggle(Source::UV4, "uv4");
            return;
        case cmd::ZoomIn:
        case cmd::ZoomOut:
        case cmd::FocusIn:
        case cmd::FocusOut:
        case cmd::IrisIn:
        case cmd::IrisOut: {
            static const Motion motions[] = {Motion::ZoomIn,   Motion::ZoomOut, Motion::FocusIn,
                                             Motion::FocusOut, Motion::IrisIn,  Motion::IrisOut};
            const Motion motion = motions[byte - cmd::ZoomIn];
            note(motionName(motion));
            startMotion(motion, nowMs);
            return;
        }
        case cmd::LensStop:
            note("lens stop");
            startMotion(Motion::None, nowMs);
            return;
        default:
            note("unknown command byte, ignored");
            return;
    }
}

void Controller::handleFrame(const ParsedInput& frame, uint64_t nowMs) {
    const std::vector<uint8_t> data = frame.data();
    std::string note;
    switch (frame.command()) {
        case cmd::Filter:
            if (data.size() == 1 && data[0] >= 0x11 && data[0] <= 0x16) {
                filter_ = data[0] - 0x11;
                note = std::string("filter ") + filterName(filter_);
            } else {
                note = "filter: unknown position, ignored";
            }
            break;
        case cmd::BlotLight:
            if (data == std::vector<uint8_t>{0x01, 0x02}) {
                blotLight_ = true;
                note = "blot light on";
            } else if (data == std::vector<uint8_t>{kLightOff}) {
                blotLight_ = false;
                note = "blot light off";
            } else {
                note = "blot light: unknown data, ignored";
            }
            break;
        case cmd::FluorLight: {
            Fluorescence chosen = Fluorescence::None;
            if (data == std::vector<uint8_t>{kLightOff}) {
                fluorescence_ = Fluorescence::None;
                note = "fluorescence off";
            } else if (decodeFluorSelection(data, chosen)) {
                fluorescence_ = chosen;
                note = std::string("fluorescence ") + fluorescenceName(chosen);
            } else {
                note = "fluorescence: unknown data, ignored";
            }
            break;
        }
        case cmd::ShutDown:
            if (data.size() == 1) {
                shutDownMinutes_ = data[0];
                note = shutDownMinutes_ == 0
                           ? std::string("shut-down off")
                           : "shut-down after " + std::to_string(shutDownMinutes_) + " min";
            } else {
                note = "shut-down: unknown data, ignored";
            }
            break;
        default:
            note = "unknown command, ignored";
            break;
    }
    journal_.add(nowMs, JournalEntry::Kind::Frame, frame.bytes, note);
}

Controller::LensPositions Controller::lensAt(uint64_t nowMs) const {
    LensPositions lens{zoom_, focus_, iris_};
    const double seconds = nowMs > motionSinceMs_ ? (nowMs - motionSinceMs_) / 1000.0 : 0.0;
    const double travel = seconds * kLensUnitsPerSecond * timeScale_;
    auto move = [&](double& axis, double direction) {
        axis = std::clamp(axis + direction * travel, kLensMin, kLensMax);
    };
    switch (motion_) {
        case Motion::ZoomIn:
            move(lens.zoom, +1);
            break;
        case Motion::ZoomOut:
            move(lens.zoom, -1);
            break;
        case Motion::FocusIn:
            move(lens.focus, +1);
            break;
        case Motion::FocusOut:
            move(lens.focus, -1);
            break;
        case Motion::IrisIn:
            move(lens.iris, +1);
            break;
        case Motion::IrisOut:
            move(lens.iris, -1);
            break;
        case Motion::None:
            break;
    }
    return lens;
}

void Controller::setLensPosition(LensAxis axis, double position, uint64_t nowMs) {
    startMotion(motion_, nowMs);
    const double clamped = std::clamp(position, kLensMin, kLensMax);
    switch (axis) {
        case LensAxis::Zoom:
            zoom_ = clamped;
            break;
        case LensAxis::Focus:
            focus_ = clamped;
            break;
        case LensAxis::Iris:
            iris_ = clamped;
            break;
    }
}

double Controller::lensRate(LensAxis axis) const {
    const double speed = kLensUnitsPerSecond * timeScale_;
    switch (axis) {
        case LensAxis::Zoom:
            return motion_ == Motion::ZoomIn ? speed : motion_ == Motion::ZoomOut ? -speed : 0.0;
        case LensAxis::Focus:
            return motion_ == Motion::FocusIn ? speed : motion_ == Motion::FocusOut ? -speed : 0.0;
        case LensAxis::Iris:
            return motion_ == Motion::IrisIn ? speed : motion_ == Motion::IrisOut ? -speed : 0.0;
    }
    return 0.0;
}

void Controller::startMotion(Motion motion, uint64_t nowMs) {
    const LensPositions lens = lensAt(nowMs);
    zoom_ = lens.zoom;
    focus_ = lens.focus;
    iris_ = lens.iris;
    motionSinceMs_ = std::max(nowMs, motionSinceMs_);
    motion_ = motion;
}

void Controller::shutDown(uint64_t nowMs, std::vector<uint8_t>& out) {
    journal_.add(nowMs, JournalEntry::Kind::Event, {},
                 "timed shut-down after " + std::to_string(shutDownMinutes_) + " min");
    power_ = false;
    source_ = Source::None;
    blotLight_ = false;
    fluorescence_ = Fluorescence::None;
    startMotion(Motion::None, nowMs);
    reply(status::PowerClose, nowMs, out);
}

ControllerState Controller::state(uint64_t nowMs) const {
    const LensPositions lens = lensAt(nowMs);
    ControllerState s;
    s.power = power_;
    s.source = source_;
    s.blotLight = blotLight_;
    s.fluorescence = fluorescence_;
    s.filter = filter_;
    s.motion = motion_;
    s.zoom = lens.zoom;
    s.focus = lens.focus;
    s.iris = lens.iris;
    s.shutDownMinutes = shutDownMinutes_;
    s.muted = muted_;
    return s;
}

}  // namespace darkroom
