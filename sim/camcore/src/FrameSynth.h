// Pictures of the simulated cooled camera: a chemiluminescent blot (or one
// of the test scenes) exposed, binned, flipped, with noise, packed as a raw
// frame (header and samples, see CamCore.h).
#pragma once

#include <cstdint>
#include <vector>

#include "SimConfig.h"

namespace camsim {

struct Exposure {
    int binning = 1;  // 1, 2 or 4
    int bits = 16;    // 8 or 16
    double exposureMs = 100.0;
    int gain = 200;
    int blackLevel = 10;
    int flip = 0;  // bit 0 upside down, bit 1 mirrored
    bool blotLight = false;
};

// Chemiluminescence of the scene at (u, v), each in [0, 1) across the
// sensor: 1 at the brightest band's centre.
double sceneRadiance(Scene scene, double u, double v);

// Share of the blot light that the scene returns at (u, v): 1 on the bare
// membrane, less on a band, 0 off the membrane.
double sceneReflectance(Scene scene, double u, double v);

// The 16-bit level of a pixel of that radiance and reflectance, clipped,
// without noise.
double sampleLevel(const SimConfig& config, const Exposure& exposure, double radiance,
                   double reflectance);

// Bytes of a raw frame of that binning and depth.
size_t rawFrameBytes(const SimConfig& config, int binning, int bits);

// Fills `frame` (resized to rawFrameBytes) with frame number `frameNumber`.
void synthesiseFrame(const SimConfig& config, const Exposure& exposure, uint32_t frameNumber,
                     std::vector<uint8_t>* frame);

}  // namespace camsim
