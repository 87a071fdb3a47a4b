#include "darkroom/WorldFile.h"

#include <cstdio>
#include <fstream>

namespace darkroom {

namespace {

std::string fixed1(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string discrete(const ControllerState& s) {
    std::string text;
    text += "power=" + std::to_string(s.power ? 1 : 0) + "\n";
    text += std::string("light=") + sourceName(s.source) + "\n";
    text += "blot=" + std::to_string(s.blotLight ? 1 : 0) + "\n";
    text += std::string("fluorescence=") + fluorescenceName(s.fluorescence) + "\n";
    text += std::string("filter=") + filterName(s.filter) + "\n";
    text += std::string("motion=") + motionName(s.motion) + "\n";
    return text;
}

}  // namespace

std::string formatWorld(const Controller& controller, uint64_t nowMs, int64_t epochMs) {
    const ControllerState s = controller.state(nowMs);
    std::string text = "epoch_ms=" + std::to_string(epochMs) + "\n" + discrete(s);
    text += "zoom=" + fixed1(s.zoom) + "\n";
    text += "zoom_rate=" + fixed1(controller.lensRate(LensAxis::Zoom)) + "\n";
    text += "focus=" + fixed1(s.focus) + "\n";
    text += "focus_rate=" + fixed1(controller.lensRate(LensAxis::Focus)) + "\n";
    text += "iris=" + fixed1(s.iris) + "\n";
    text += "iris_rate=" + fixed1(controller.lensRate(LensAxis::Iris)) + "\n";
    return text;
}

std::string worldSignature(const Controller& controller, uint64_t nowMs) {
    const ControllerState s = controller.state(nowMs);
    std::string text = discrete(s);
    if (s.motion == Motion::None) {
        text += fixed1(s.zoom) + " " + fixed1(s.focus) + " " + fixed1(s.iris);
    }
    return text;
}

bool writeWorldFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace darkroom
