// Frame synthesis: the bytes of one frame transfer from a snapshot of the
// camera's registers. Pure functions of the snapshot, safe to run without the
// camera's lock.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "colour_fpga.h"
#include "sensor_chip.h"

namespace usbcam {

// Radiance of the gel scene on the chip's whole array, 0 .. 65535, one map
// per blur radius in use (the last one is kept).
class SceneCache {
  public:
    std::shared_ptr<const std::vector<uint16_t>> get(int width, int height, int blur);

  private:
    std::mutex mutex_;
    int width_ = 0;
    int height_ = 0;
    std::shared_ptr<const std::vector<uint16_t>> sharp_;
    int blur_ = 0;
    std::shared_ptr<const std::vector<uint16_t>> blurred_;
};

struct FrameSpec {
    SensorReadout readout;
    int frames = 1;  // frames per transfer
    int bytesPerSample = 1;
    int adcBits = 10;
    int content = 0;  // MLSIM_CONTENT_*
    bool colour = false;
    int bayerPattern = 0;
    double exposureMs = 0;
    int sensitivity = 0;
    bool lutOn = false;
    bool gammaOn = false;
    std::array<uint8_t, 4096> lut{};
    std::array<uint16_t, 4096> gamma{};
    bool watermark = false;
    uint64_t firstFrameNumber = 0;
    uint64_t transferNumber = 0;
    uint64_t timeUs = 0;
    uint32_t triggers = 0;
    uint32_t signal = 0;  // the trigger signal of this frame (laser camera)
    std::shared_ptr<const std::vector<uint16_t>> scene;  // for the scene content
    // The chip's own level per column, in place of any content (line sensors).
    std::shared_ptr<const std::vector<uint16_t>> chipLevels;
    ColourStage colourStage;           // the FPGA's colour processing
    double illuminant[3] = {1, 1, 1};  // the chart's light, red, green, blue

    int width() const { return readout.outputWidth(); }
    int height() const { return readout.outputHeight(); }
    uint32_t transferBytes() const;
};

// The mean colour (red, green, blue) of a content before any gain: what the
// FPGA's grey-world white balance measures.
void contentMeans(int content, const double illuminant[3], double out[3]);

// Writes the transfer, or its first `capacity` bytes when the buffer is
// shorter (the rest is dropped). Returns the bytes written.
uint32_t synthesizeTransfer(const FrameSpec& layout, uint8_t* out, uint32_t capacity);

}  // namespace usbcam
