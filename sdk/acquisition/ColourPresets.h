// The preset white-balance gains and colour matrices of the camera models.
// Each model group has three of each; the device picks the group from its
// device type.
#pragma once

enum class ColourGroup {
    EV76C560,
    AR0130AndMT9M031,
    IMX226,
    IMX250Late,  // types 104, 105
    IMX183AndIMX250,
    ISG4006,
    Family30xx,
    ISG4006A,
    IMX290,
    Sensor3096,
    IMX174,
    Family2592,
    Other,
};

// Presets 0 .. kColourPresetCount - 1 hold data.
constexpr int kColourPresetCount = 3;

// Gains red, green, blue of a preset: false (fGains unchanged) for a number
// without data.
bool WhiteBalancePreset(ColourGroup group, int nPreset, float fGains[3]);
// Matrix of a preset, row-major (rows give output red, green, blue): false
// (fMatrix unchanged) for a number without data. Groups without matrices of
// their own use those of the other types.
bool ColourMatrixPreset(ColourGroup group, int nPreset, float fMatrix[9]);
