#include "FrameSynth.h"

#include <algorithm>
#include <cmath>

#include "CamCore.h"

namespace camsim {

namespace {

constexpr int kLanes = 8;
constexpr double kLaneHalfWidth = 0.044;
constexpr double kBandRows[] = {0.3, 0.5, 0.7};
constexpr double kBandHalfHeight = 0.025;
constexpr double kBackground = 0.02;
// The protein of a band absorbs this share of the blot light at the band's
// densest point (a band of strength 1).
constexpr double kBandAbsorption = 0.5;

void put16(uint8_t* at, unsigned value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Lanes and bands in coordinates across the membrane (0 to 1). A band is a
// spot with soft edges, densest at its centre and falling off
// evenly to nothing at its rim, as a blotted protein is. Returns the band's
// density (its strength times the spot), 0 between the bands.
double bandDensity(double u, double v) {
    const int lane = std::min(kLanes - 1, static_cast<int>(u * kLanes));
    const double across = (u - (lane + 0.5) / kLanes) / kLaneHalfWidth;
    if (std::fabs(across) >= 1.0) {
        return 0.0;
    }
    for (int band = 0; band < 3; ++band) {
        const double along = (v - kBandRows[band]) / kBandHalfHeight;
        if (std::fabs(along) < 1.0) {
            // Lane 3's middle band is the strongest; the others are weaker.
            const int strength = (lane * 3 + band * 2 + 3) % 5;
            const double peak = lane == 3 && band == 1 ? 1.0 : 0.2 + 0.15 * strength;
            const double rim = std::sqrt(across * across + along * along);
            return rim < 1.0 ? peak * (1.0 - rim) : 0.0;
        }
    }
    return 0.0;
}

// The membrane fills the middle 80 % of the picture.
constexpr double kMembraneEdge = 0.1;

bool onMembrane(double u, double v) {
    return u >= kMembraneEdge && u < 1.0 - kMembraneEdge && v >= kMembraneEdge &&
           v < 1.0 - kMembraneEdge;
}

// A coordinate of the picture across the membrane, 0 to 1 on it.
double acrossMembrane(double x) {
    return (x - kMembraneEdge) / (1.0 - 2.0 * kMembraneEdge);
}

}  // namespace

double sceneRadiance(Scene scene, double u, double v) {
    switch (scene) {
        case Scene::Bands:
            // The substrate on the membrane glows where the bands are, and a
            // little everywhere.
            return onMembrane(u, v)
                       ? std::max(kBackground, bandDensity(acrossMembrane(u), acrossMembrane(v)))
                       : 0.0;
        case Scene::Dark:
            return 0.0;
        case Scene::WholeBright:
            return 1.0;
    }
    return 0.0;
}

double sceneReflectance(Scene scene, double u, double v) {
    if (!onMembrane(u, v)) {
        return 0.0;
    }
    return scene == Scene::Bands
               ? 1.0 - kBandAbsorption * bandDensity(acrossMembrane(u), acrossMembrane(v))
               : 1.0;
}

double sampleLevel(const SimConfig& config, const Exposure& exposure, double radiance,
                   double reflectance) {
    const double black = 10.0 * exposure.blackLevel;
    double rate = radiance * config.signal;
    if (exposure.blotLight) {
        rate += reflectance * config.membrane;
    }
    const double level = black + rate * (exposure.exposureMs / 1000.0) * (exposure.gain / 200.0) *
                                     exposure.binning * exposure.binning;
    return std::min(65535.0, std::max(0.0, level));
}

size_t rawFrameBytes(const SimConfig& config, int binning, int bits) {
    const size_t pixels =
        static_cast<size_t>(config.width / binning) * static_cast<size_t>(config.height / binning);
    return CAMCORE_HEADER_LENGTH + pixels * (bits == 8 ? 1 : 2);
}

void synthesiseFrame(const SimConfig& config, const Exposure& exposure, uint32_t frameNumber,
                     std::vector<uint8_t>* frame) {
    const int width = config.width / exposure.binning;
    const int height = config.height / exposure.binning;
    frame->assign(rawFrameBytes(config, exposure.binning, exposure.bits), 0);
    uint8_t* header = frame->data();
    put16(header, frameNumber & 0xFFFF);
    put16(header + 2, frameNumber >> 16);
    put16(header + 4, static_cast<unsigned>(width));
    put16(header + 6, static_cast<unsigned>(height));
    header[8] = static_cast<uint8_t>(exposure.bits);
    header[9] = 1;
    put16(header + 10, CAMCORE_FRAME_MAGIC);
    put16(header + 12, CAMCORE_HEADER_LENGTH);

    uint8_t* samples = header + CAMCORE_HEADER_LENGTH;
    const uint64_t frameKey = mix((static_cast<uint64_t>(config.seed) << 32) ^ frameNumber);
    for (int row = 0; row < height; ++row) {
        const int sceneRow = (exposure.flip & 1) ? height - 1 - row : row;
        const double v = (sceneRow + 0.5) / height;
        for (int column = 0; column < width; ++column) {
            const int sceneColumn = (exposure.flip & 2) ? width - 1 - column : column;
            const double u = (sceneColumn + 0.5) / width;
            double level =
                sampleLevel(config, exposure, sceneRadiance(config.scene, u, v),
                            exposure.blotLight ? sceneReflectance(config.scene, u, v) : 0.0);
            const size_t index = static_cast<size_t>(row) * width + column;
            if (config.noise > 0) {
                const uint64_t draw = mix(frameKey ^ index);
                const int span = 2 * config.noise + 1;
                level += static_cast<int>(draw % static_cast<uint64_t>(span)) - config.noise;
            }
            const unsigned value =
                static_cast<unsigned>(std::min(65535.0, std::max(0.0, std::floor(level))));
            if (exposure.bits == 8) {
                samples[index] = static_cast<uint8_t>(value >> 8);
            } else {
                put16(samples + 2 * index, value);
            }
        }
    }
}

}  // namespace camsim
