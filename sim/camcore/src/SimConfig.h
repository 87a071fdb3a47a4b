// The simulated cooled camera's configuration: the text of CAMCORE_SIM (or
// of camsim_reset), "key=value" items separated by ';' or ','.
#pragma once

#include <string>

namespace camsim {

enum class Scene { Bands, Dark, WholeBright };

struct SimConfig {
    int width = 512;
    int height = 384;
    Scene scene = Scene::Bands;
    double timeScale = 1.0;
    int maxWaitMs = 3000;
    std::string worldFile;
    unsigned seed = 1;
    int noise = 16;
    double signal = 65.0;
    double membrane = 160000.0;
    double ambient = 25.0;
    double setpoint = -10.0;
    double coolMs = 60000.0;
    int devices = 1;
};

// Unknown keys and values that do not parse or lie out of range leave the
// default of their key.
SimConfig parseSimConfig(const std::string& text);

}  // namespace camsim
