// Reads back a grey TIFF written by the station: its samples and tags.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

struct GelTiff {
    bool valid = false;
    int width = 0;
    int height = 0;
    int bitsPerSample = 0;
    int samplesPerPixel = 0;
    int compression = 0;
    int resolutionUnit = 0;
    float xResolution = 0;
    float yResolution = 0;
    std::vector<uint8_t> pixels;  // rows top to bottom
};

GelTiff readGelTiff(const QString& path);
