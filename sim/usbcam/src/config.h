// The camera configuration file: an ini file with one section per plugged
// camera, [camera<N>] for driver number N (0 .. 31).
#pragma once

#include <string>
#include <vector>

#include "mlusbimager_control.h"

namespace usbcam {

struct ConfiguredCamera {
    int slot = 0;
    MlSimProfile profile{};
    int blur = 0;
    // The shared world's lens focus blurs the scene when a file is named.
    std::string worldFile;
    double sharpFocus = 500.0;
    double focusPerBlurPixel = 20.0;
    // The camera's memory image file, empty for none.
    std::string memoryFile;
};

// False with a message naming the file and line on the first error.
bool parseCameraConfig(const std::string& text, const std::string& fileName,
                       std::vector<ConfiguredCamera>* cameras, std::string* problem);
bool readCameraConfig(const std::string& fileName, std::vector<ConfiguredCamera>* cameras,
                      std::string* problem);

}  // namespace usbcam
