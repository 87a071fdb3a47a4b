#include "darkroom/ControlChannel.h"

#include <cstdio>
#include <sstream>

namespace darkroom {

namespace {

bool parseHexByte(const std::string& token, uint8_t& value) {
    std::string digits = token;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
    }
    if (digits.empty() || digits.size() > 2) {
        return false;
    }
    unsigned result = 0;
    for (char c : digits) {
        result <<= 4;
        if (c >= '0' && c <= '9') {
            result |= c - '0';
        } else if (c >= 'a' && c <= 'f') {
            result |= c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            result |= c - 'A' + 10;
        } else {
            return false;
        }
    }
    value = static_cast<uint8_t>(result);
    return true;
}

std::string fixed1(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

std::string formatState(const ControllerState& s) {
    std::string line = "state";
    line += " power=" + std::to_string(s.power ? 1 : 0);
    line += std::string(" light=") + sourceName(s.source);
    line += " blot=" + std::to_string(s.blotLight ? 1 : 0);
    line += std::string(" fluorescence=") + fluorescenceName(s.fluorescence);
    line += std::string(" filter=") + filterName(s.filter);
    line += std::string(" motion=") + motionName(s.motion);
    line += " zoom=" + fixed1(s.zoom);
    line += " focus=" + fixed1(s.focus);
    line += " iris=" + fixed1(s.iris);
    line += " shutdown=" + std::to_string(s.shutDownMinutes);
    line += " muted=" + std::to_string(s.muted ? 1 : 0);
    return line;
}

ControlResult handleControlLine(Controller& controller, const std::string& line, uint64_t nowMs) {
    ControlResult result;
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command.empty()) {
        result.lines.push_back("error empty command");
    } else if (command == "send") {
        std::string token;
        while (words >> token) {
            uint8_t byte = 0;
            if (!parseHexByte(token, byte)) {
                result.send.clear();
                result.lines.push_back("error not a hex byte: " + token);
                return result;
            }
            result.send.push_back(byte);
        }
        if (result.send.empty()) {
            result.lines.push_back("error send needs at least one byte");
            return result;
        }
        controller.noteInjected(result.send, nowMs);
        result.lines.push_back("ok");
    } else if (command == "mute" || command == "unmute") {
        controller.setMuted(command == "mute");
        result.lines.push_back("ok");
    } else if (command == "state") {
        result.lines.push_back(formatState(controller.state(nowMs)));
        result.lines.push_back("ok");
    } else if (command == "journal") {
        const Journal& journal = controller.journal();
        if (journal.dropped() > 0) {
            result.lines.push_back("dropped " + std::to_string(journal.dropped()));
        }
        for (const JournalEntry& entry : journal.entries()) {
            result.lines.push_back(formatEntry(entry));
        }
        result.lines.push_back("ok");
    } else if (command == "clear") {
        controller.clearJournal();
        result.lines.push_back("ok");
    } else if (command == "lens") {
        std::string axisName;
        double position = 0;
        words >> axisName >> position;
        const bool known = axisName == "zoom" || axisName == "focus" || axisName == "iris";
        if (!known || words.fail()) {
            result.lines.push_back("error usage: lens zoom|focus|iris <position>");
            return result;
        }
        const LensAxis axis = axisName == "zoom"    ? LensAxis::Zoom
                              : axisName == "focus" ? LensAxis::Focus
                                                    : LensAxis::Iris;
        controller.setLensPosition(axis, position, nowMs);
        result.lines.push_back("ok");
    } else if (command == "quit") {
        result.quit = true;
        result.lines.push_back("ok");
    } else if (command == "help") {
        result.lines.push_back(
            "send <hex>...  mute  unmute  state  lens <axis> <position>  journal  clear  quit  "
            "help");
        result.lines.push_back("ok");
    } else {
        result.lines.push_back("error unknown command: " + command);
    }
    return result;
}

}  // namespace darkroom
