#include "acquisition/ColourPresets.h"

#include <algorithm>

namespace {

using Gains = float[kColourPresetCount][3];
using Matrices = float[kColourPresetCount][9];

const Gains& GainsOf(ColourGroup group) {
    static const Gains kEV76C560 = {{1.242f, 1, 1.452f}, {1.497f, 1, 1.263f}, {1, 1.173f, 2.693f}};
    static const Gains kAR0130 = {{1.239f, 1, 1.675f}, {1.398f, 1, 1.362f}, {1, 1.06f, 3.086f}};
    static const Gains kIMX226 = {{2.06f, 1, 1.62f}, {1.936f, 1, 1.742f}, {1, 1.042f, 4.27f}};
    static const Gains kIMX250Late = {{1.82f, 1, 2.07f}, {1.936f, 1, 1.742f}, {1, 1.042f, 4.27f}};
    static const Gains kIMX183 = {{1.754f, 1, 1.816f}, {1.936f, 1, 1.742f}, {1, 1.042f, 4.27f}};
    static const Gains kISG4006 = {{1.517f, 1, 1.292f}, {1.936f, 1, 1.742f}, {1, 1.042f, 4.27f}};
    static const Gains k30xx = {{1.848f, 1, 1.456f}, {1.936f, 1, 1.742f}, {1, 1.042f, 4.27f}};
    static const Gains kISG4006A = {{1.431f, 1, 1.242f}, {1.488f, 1, 1.177f}, {1, 1.027f, 1.841f}};
    static const Gains kIMX290 = {{1.994f, 1, 1.994f}, {1.56f, 1, 2.203f}, {1.183f, 1, 3.23f}};
    static const Gains k3096 = {{1.897f, 1, 1.68f}, {2.152f, 1, 1.573f}, {1.284f, 1, 3.121f}};
    static const Gains kIMX174 = {{1.994f, 1, 2.051f}, {2.127f, 1, 1.89f}, {1.342f, 1, 3.411f}};
    static const Gains k2592 = {
        {1.16406f, 1, 1.46851f}, {1.31958f, 1, 1.24854f}, {1, 1.25024f, 2.18701f}};
    static const Gains kOther = {
        {1.1640625f, 1, 1.46875f}, {1.31958f, 1, 1.24854f}, {1, 1.25024f, 2.18701f}};
    switch (group) {
        case ColourGroup::EV76C560:
            return kEV76C560;
        case ColourGroup::AR0130AndMT9M031:
            return kAR0130;
        case ColourGroup::IMX226:
            return kIMX226;
        case ColourGroup::IMX250Late:
            return kIMX250Late;
        case ColourGroup::IMX183AndIMX250:
            return kIMX183;
        case ColourGroup::ISG4006:
            return kISG4006;
        case ColourGroup::Family30xx:
            return k30xx;
        case ColourGroup::ISG4006A:
            return kISG4006A;
        case ColourGroup::IMX290:
            return kIMX290;
        case ColourGroup::Sensor3096:
            return k3096;
        case ColourGroup::IMX174:
            return kIMX174;
        case ColourGroup::Family2592:
            return k2592;
        case ColourGroup::Other:
            break;
    }
    return kOther;
}

const Matrices& MatricesOf(ColourGroup group) {
    static const Matrices kAR0130 = {
        {1.305f, -0.353f, 0.048f, -0.378f, 1.659f, -0.28f, -0.119f, -0.507f, 1.627f},
        {1.618f, -0.516f, -0.102f, -0.32f, 1.659f, -0.339f, -0.275f, -0.151f, 1.426f},
        {1.546f, -0.443f, -0.104f, -0.152f, 1.635f, -0.483f, -0.345f, -0.211f, 1.556f}};
    static const Matrices kOther = {
        {1.9375f, -0.9375f, 0.0f, -0.34375f, 1.90625f, -0.5625f, -0.21875f, -1.21875f, 2.4375f},
        {1.90625f, -1.0f, 0.0625f, -0.3125f, 1.96875f, -0.65625f, -0.125f, -0.96875f, 2.09375f},
        {2.09375f, -0.875f, -0.21875f, -0.5625f, 2.03125f, -0.46875f, -1.03125f, -2.71875f, 4.75f}};
    return group == ColourGroup::AR0130AndMT9M031 ? kAR0130 : kOther;
}

bool HoldsData(int nPreset) {
    return nPreset >= 0 && nPreset < kColourPresetCount;
}

}  // namespace

bool WhiteBalancePreset(ColourGroup group, int nPreset, float fGains[3]) {
    if (!HoldsData(nPreset)) {
        return false;
    }
    std::copy_n(GainsOf(group)[nPreset], 3, fGains);
    return true;
}

bool ColourMatrixPreset(ColourGroup group, int nPreset, float fMatrix[9]) {
    if (!HoldsData(nPreset)) {
        return false;
    }
    std::copy_n(MatricesOf(group)[nPreset], 9, fMatrix);
    return true;
}
