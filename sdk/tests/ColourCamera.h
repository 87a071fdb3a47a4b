// Test fixture: a simulated colour camera of the 2592 x 1944 family showing
// the simulator's colour chart, and the chart's values computed here from
// the simulator's definition (mlusbimager_control.h).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "OpenedCamera.h"

// A colour 2592 x 1944 model; FPGA 5.0 gives it the FPGA's colour
// processing, FPGA 1.0 none.
constexpr int kTypeColour2592 = 41;
constexpr uint16_t kFpgaWithColour = 0x0500;
constexpr uint16_t kFpgaWithoutColour = 0x0100;
// The chart's patches on the 2592 x 1944 array.
constexpr int kPatchWidth = 2592 / 6;
constexpr int kPatchHeight = 1944 / 2;
// The window captured inside a patch.
constexpr int kWindow = 32;

struct Rgb {
    double r, g, b;
};

// Reflectance of a chart patch: row 0 grey steps, row 1 hues.
inline Rgb ChartPatch(int nColumn, int nRow) {
    const double h = 0.7, l = 0.15;
    const Rgb hues[6] = {{h, l, l}, {h, h, l}, {l, h, l}, {l, h, h}, {l, l, h}, {h, l, h}};
    if (nRow == 0) {
        const double v = (nColumn + 1) / 8.0;
        return {v, v, v};
    }
    return hues[nColumn];
}

// The 8-bit sample of a channel level as the simulator's 12-bit ADC and the
// default output path give it.
inline int ChartByte(double dLevel) {
    const double d = std::clamp(dLevel, 0.0, 1.0);
    return static_cast<int>(std::floor(d * 4095.0)) >> 4;
}

class ColourCameraTest : public OpenedCameraTest {
  protected:
    CDevice& OpenColour(uint16_t wFpga = kFpgaWithColour) {
        MlSimProfile profile = CameraProfile(kTypeColour2592);
        profile.fpga_version = wFpga;
        profile.content = MLSIM_CONTENT_CHART;
        CDevice& device = Open(profile);
        // Nearest-neighbour demosaicing keeps a uniform patch uniform.
        EXPECT_EQ(ZDQ_FilterSetMode(0, 0), RET_SUCCESS);
        return device;
    }

    // One 24-bit capture of a window inside the patch.
    static std::vector<uint8_t> CapturePatch(int nColumn, int nRow) {
        const int x = nColumn * kPatchWidth + 128, y = nRow * kPatchHeight + 128;
        EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, x, y, kWindow, kWindow, 0, 0), RET_SUCCESS);
        std::vector<uint8_t> out(kWindow * kWindow * 3);
        EXPECT_EQ(ZDQ_CaptureRgbData(0, out.data()), RET_SUCCESS);
        return out;
    }

    // The colour of a captured patch: the B, G, R bytes of its centre.
    static Rgb Centre(const std::vector<uint8_t>& frame) {
        const size_t i = (static_cast<size_t>(kWindow / 2) * kWindow + kWindow / 2) * 3;
        return {static_cast<double>(frame[i + 2]), static_cast<double>(frame[i + 1]),
                static_cast<double>(frame[i])};
    }

    // Every pixel of the frame has the colour of the centre.
    static bool Uniform(const std::vector<uint8_t>& frame) {
        for (size_t i = 3; i < frame.size(); ++i) {
            if (frame[i] != frame[i % 3]) {
                return false;
            }
        }
        return true;
    }
};
