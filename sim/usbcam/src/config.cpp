#include "config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "sensor_chip.h"

namespace usbcam {

namespace {

std::string trim(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos) {
        return std::string();
    }
    size_t end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool parseInteger(const std::string& text, long long min, long long max, long long* out) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 0);
    if (*end != '\0' || v < min || v > max) {
        return false;
    }
    *out = v;
    return true;
}

// One of a key's words (already lower case), as the value it stands for.
bool parseWord(const std::string& word, const std::map<std::string, int32_t>& words, int32_t* out) {
    auto it = words.find(word);
    if (it == words.end()) {
        return false;
    }
    *out = it->second;
    return true;
}

// "major.minor" with decimal parts (1.81 is major 1, minor 81), or a number.
bool parseVersion(const std::string& text, uint16_t* out) {
    size_t dot = text.find('.');
    long long major = 0;
    long long minor = 0;
    if (dot == std::string::npos) {
        if (!parseInteger(text, 0, 0xFFFF, &major)) {
            return false;
        }
        *out = static_cast<uint16_t>(major);
        return true;
    }
    std::string a = text.substr(0, dot);
    std::string b = text.substr(dot + 1);
    if (a.empty() || b.empty() || !std::all_of(a.begin(), a.end(), ::isdigit) ||
        !std::all_of(b.begin(), b.end(), ::isdigit) || !parseInteger(a, 0, 255, &major) ||
        !parseInteger(b, 0, 255, &minor)) {
        return false;
    }
    *out = static_cast<uint16_t>(major << 8 | minor);
    return true;
}

struct Section {
    int slot = -1;
    int line = 0;
    std::map<std::string, std::pair<std::string, int>> keys;  // value, line
};

class Builder {
  public:
    Builder(const std::string& fileName, std::string* problem)
        : fileName_(fileName), problem_(problem) {}

    bool build(const Section& section, ConfiguredCamera* out) {
        long long type = 0;
        auto typeKey = section.keys.find("device_type");
        if (typeKey == section.keys.end()) {
            return fail(section.line,
                        "camera" + std::to_string(section.slot) + " needs a device_type");
        }
        if (!parseInteger(typeKey->second.first, 0, 255, &type)) {
            return fail(typeKey->second.second, "device_type must be 0 .. 255");
        }
        out->slot = section.slot;
        mlsim_profile_default(static_cast<int32_t>(type), &out->profile);
        MlSimProfile& p = out->profile;
        for (const auto& entry : section.keys) {
            const std::string& key = entry.first;
            const std::string& value = entry.second.first;
            int line = entry.second.second;
            if (key == "device_type") {
                continue;
            }
            if (!apply(key, value, line, out)) {
                return false;
            }
        }
        if (!p.boot_loader && !makeSensorChip(p.device_type)) {
            return fail(typeKey->second.second,
                        "device type " + std::to_string(p.device_type) + " has no simulated chip");
        }
        return true;
    }

  private:
    bool apply(const std::string& key, const std::string& value, int line, ConfiguredCamera* out) {
        MlSimProfile& p = out->profile;
        long long n = 0;
        std::string word = lower(value);
        if (key == "serial") {
            return parseInteger(value, 0, 255, &n) ? set(&p.serial, n)
                                                   : fail(line, "serial must be 0 .. 255");
        }
        if (key == "firmware_version") {
            return parseVersion(value, &p.firmware_version)
                       ? true
                       : fail(line, "firmware_version must be major.minor");
        }
        if (key == "fpga_version") {
            if (word == "none") {
                p.has_fpga = 0;
                return true;
            }
            p.has_fpga = 1;
            return parseVersion(value, &p.fpga_version)
                       ? true
                       : fail(line, "fpga_version must be major.minor or none");
        }
        if (key == "driver_version") {
            return parseInteger(value, 0, 0xFFFFFFFFLL, &n)
                       ? (p.driver_version = static_cast<uint32_t>(n), true)
                       : fail(line, "driver_version must be a 32-bit number");
        }
        if (key == "colour" || key == "color") {
            if (word == "mono" || word == "0") {
                p.colour = 0;
                return true;
            }
            if (word == "colour" || word == "color" || word == "1") {
                p.colour = 1;
                return true;
            }
            if (!parseWord(word,
                           {{"bggr", MLSIM_BAYER_BGGR},
                            {"grbg", MLSIM_BAYER_GRBG},
                            {"rggb", MLSIM_BAYER_RGGB},
                            {"gbrg", MLSIM_BAYER_GBRG}},
                           &p.bayer_pattern)) {
                return fail(line, "colour must be mono, colour, BGGR, GRBG, RGGB or GBRG");
            }
            p.colour = 1;
            return true;
        }
        if (key == "adc_bits") {
            return parseInteger(value, 8, 16, &n) ? set(&p.adc_bits, n)
                                                  : fail(line, "adc_bits must be 8 .. 16");
        }
        if (key == "pixel_clock_mhz") {
            char* end = nullptr;
            double mhz = std::strtod(value.c_str(), &end);
            if (*end != '\0' || !(mhz > 0)) {
                return fail(line, "pixel_clock_mhz must be a positive number");
            }
            p.pixel_clock_mhz = mhz;
            return true;
        }
        if (key == "eeprom_kind") {
            return parseInteger(value, 0, 2, &n) ? set(&p.eeprom_kind, n)
                                                 : fail(line, "eeprom_kind must be 0, 1 or 2");
        }
        if (key == "boot_loader") {
            return parseInteger(value, 0, 1, &n) ? set(&p.boot_loader, n)
                                                 : fail(line, "boot_loader must be 0 or 1");
        }
        if (key == "scene") {
            return parseWord(word,
                             {{"pattern", MLSIM_CONTENT_PATTERN},
                              {"gel", MLSIM_CONTENT_SCENE},
                              {"flat", MLSIM_CONTENT_FLAT_FIELD},
                              {"chart", MLSIM_CONTENT_CHART},
                              {"laser", MLSIM_CONTENT_LASER}},
                             &p.content)
                       ? true
                       : fail(line, "scene must be pattern, gel, flat, chart or laser");
        }
        if (key == "blur") {
            return parseInteger(value, 0, 256, &n) ? set(&out->blur, n)
                                                   : fail(line, "blur must be 0 .. 256");
        }
        if (key == "memory_file") {
            if (value.empty()) {
                return fail(line, "memory_file must name a file");
            }
            // A relative name is taken from the configuration file's folder.
            const size_t slash = fileName_.rfind('/');
            out->memoryFile = value[0] == '/' || slash == std::string::npos
                                  ? value
                                  : fileName_.substr(0, slash + 1) + value;
            return true;
        }
        if (key == "world_file") {
            out->worldFile = value;
            return true;
        }
        if (key == "sharp_focus" || key == "focus_per_blur_pixel") {
            char* end = nullptr;
            const double number = std::strtod(value.c_str(), &end);
            const bool sharp = key == "sharp_focus";
            const bool valid = *end == '\0' && end != value.c_str() &&
                               (sharp ? number >= 0 && number <= 1000 : number > 0);
            if (!valid) {
                return fail(line, sharp ? "sharp_focus must be 0 .. 1000"
                                        : "focus_per_blur_pixel must be a positive number");
            }
            (sharp ? out->sharpFocus : out->focusPerBlurPixel) = number;
            return true;
        }
        if (key == "timing") {
            return parseWord(word,
                             {{"realtime", MLSIM_TIMING_REALTIME},
                              {"instant", MLSIM_TIMING_INSTANT},
                              {"fast", MLSIM_TIMING_FAST}},
                             &p.timing)
                       ? true
                       : fail(line, "timing must be realtime, instant or fast");
        }
        if (key == "usb_state") {
            return parseInteger(value, 0, 255, &n) ? set(&p.usb_state, n)
                                                   : fail(line, "usb_state must be 0 .. 255");
        }
        if (key == "onchip_engine") {
            return parseInteger(value, 0, 1, &n) ? set(&p.onchip_engine, n)
                                                 : fail(line, "onchip_engine must be 0 or 1");
        }
        if (key == "frame_rate_step") {
            return parseWord(word,
                             {{"50us", MLSIM_FRAME_STEP_50US},
                              {"1us", MLSIM_FRAME_STEP_1US},
                              {"132mhz", MLSIM_FRAME_STEP_132MHZ}},
                             &p.frame_rate_step)
                       ? true
                       : fail(line, "frame_rate_step must be 50us, 1us or 132mhz");
        }
        return fail(line, "unknown key " + key);
    }

    static bool set(int32_t* field, long long value) {
        *field = static_cast<int32_t>(value);
        return true;
    }

    bool fail(int line, const std::string& message) {
        *problem_ = fileName_ + ":" + std::to_string(line) + ": " + message;
        return false;
    }

    std::string fileName_;
    std::string* problem_;
};

}  // namespace

bool parseCameraConfig(const std::string& text, const std::string& fileName,
                       std::vector<ConfiguredCamera>* cameras, std::string* problem) {
    std::vector<Section> sections;
    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    auto fail = [&](const std::string& message) {
        *problem = fileName + ":" + std::to_string(lineNumber) + ": " + message;
        return false;
    };
    while (std::getline(in, raw)) {
        ++lineNumber;
        std::string line = trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                return fail("section name without ]");
            }
            std::string name = lower(trim(line.substr(1, line.size() - 2)));
            long long slot = 0;
            if (name.compare(0, 6, "camera") != 0 || !parseInteger(name.substr(6), 0, 31, &slot) ||
                !std::all_of(name.begin() + 6, name.end(), ::isdigit)) {
                return fail("section must be [camera0] .. [camera31]");
            }
            for (const Section& s : sections) {
                if (s.slot == slot) {
                    return fail("camera" + std::to_string(slot) + " given twice");
                }
            }
            Section section;
            section.slot = static_cast<int>(slot);
            section.line = lineNumber;
            sections.push_back(section);
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            return fail("expected key = value");
        }
        if (sections.empty()) {
            return fail("key outside a [cameraN] section");
        }
        std::string key = lower(trim(line.substr(0, eq)));
        std::string value = trim(line.substr(eq + 1));
        size_t comment = value.find_first_of(";#");
        if (comment != std::string::npos) {
            value = trim(value.substr(0, comment));
        }
        if (!sections.back().keys.emplace(key, std::make_pair(value, lineNumber)).second) {
            return fail("key " + key + " given twice");
        }
    }
    Builder builder(fileName, problem);
    std::vector<ConfiguredCamera> out;
    for (const Section& section : sections) {
        ConfiguredCamera camera;
        if (!builder.build(section, &camera)) {
            return false;
        }
        out.push_back(camera);
    }
    *cameras = std::move(out);
    return true;
}

bool readCameraConfig(const std::string& fileName, std::vector<ConfiguredCamera>* cameras,
                      std::string* problem) {
    std::ifstream file(fileName);
    if (!file) {
        *problem = fileName + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseCameraConfig(text.str(), fileName, cameras, problem);
}

}  // namespace usbcam
