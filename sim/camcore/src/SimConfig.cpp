#include "SimConfig.h"

#include <cerrno>
#include <cstdlib>

namespace camsim {

namespace {

bool parseInt(const std::string& text, long low, long high, int* out) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) {
        return false;
    }
    *out = static_cast<int>(value);
    return true;
}

bool parseDouble(const std::string& text, double low, double high, double* out) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !(value >= low && value <= high)) {
        return false;
    }
    *out = value;
    return true;
}

void apply(const std::string& key, const std::string& value, SimConfig* config) {
    int number = 0;
    if (key == "width" && parseInt(value, 8, 4096, &number) && number % 4 == 0) {
        config->width = number;
    } else if (key == "height" && parseInt(value, 8, 4096, &number) && number % 4 == 0) {
        config->height = number;
    } else if (key == "scene") {
        if (value == "bands") {
            config->scene = Scene::Bands;
        } else if (value == "dark") {
            config->scene = Scene::Dark;
        } else if (value == "whole-bright") {
            config->scene = Scene::WholeBright;
        }
    } else if (key == "time_scale") {
        parseDouble(value, 0.0, 10.0, &config->timeScale);
    } else if (key == "max_wait_ms") {
        parseInt(value, 0, 3600000, &config->maxWaitMs);
    } else if (key == "world_file") {
        config->worldFile = value;
    } else if (key == "seed" && parseInt(value, 0, 2147483647, &number)) {
        config->seed = static_cast<unsigned>(number);
    } else if (key == "noise") {
        parseInt(value, 0, 4096, &config->noise);
    } else if (key == "signal") {
        parseDouble(value, 0.0, 1e9, &config->signal);
    } else if (key == "membrane") {
        parseDouble(value, 0.0, 1e9, &config->membrane);
    } else if (key == "ambient") {
        parseDouble(value, -100.0, 100.0, &config->ambient);
    } else if (key == "setpoint") {
        parseDouble(value, -100.0, 100.0, &config->setpoint);
    } else if (key == "cool_ms") {
        parseDouble(value, 0.001, 1e9, &config->coolMs);
    } else if (key == "devices") {
        parseInt(value, 0, 1, &config->devices);
    }
}

}  // namespace

SimConfig parseSimConfig(const std::string& text) {
    SimConfig config;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of(";,", start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string item = text.substr(start, end - start);
        const size_t equals = item.find('=');
        if (equals != std::string::npos) {
            apply(item.substr(0, equals), item.substr(equals + 1), &config);
        }
        start = end + 1;
    }
    return config;
}

}  // namespace camsim
