#include "frame_synth.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "flat_field_scene.h"
#include "laser_scene.h"
#include "mlusbimager_control.h"

namespace usbcam {

namespace {

// Colour index into SensorReadout::gain (red, green 1, green 2, blue) of the
// array pixel at row parity py and column parity px, per Bayer pattern.
constexpr int kBayerColour[4][2][2] = {
    {{3, 2}, {1, 0}},  // BGGR
    {{1, 0}, {3, 2}},  // GRBG
    {{0, 1}, {2, 3}},  // RGGB
    {{2, 3}, {0, 1}},  // GBRG
};
// Tint of the gel's glow per colour (red, green 1, green 2, blue).
constexpr double kTint[4] = {1.0, 0.75, 0.75, 0.45};
// Channel (red, green, blue) of each colour index of SensorReadout::gain.
constexpr int kChannelOf[4] = {0, 1, 1, 2};
// The gel's glow on the chip: radiance 1 at gain 1 fills this share of full
// scale above the black level in kGelReferenceMs of exposure. At a gel
// imager's usual 300 ms and the station's first-start gain (2x) the brightest
// bands reach about 70 % of full scale, so that they stay below it after the
// contrast and brightness the station applies on top.
constexpr double kGelReferenceMs = 300.0;
constexpr double kGelFullShare = 0.35;

// The colour chart: six columns of patches in two rows, grey steps above,
// hues below (red, green, blue reflectance).
constexpr int kChartColumns = 6;
constexpr int kChartRows = 2;
constexpr double kChartHi = 0.7, kChartLo = 0.15;
constexpr double kChartHues[kChartColumns][3] = {
    {kChartHi, kChartLo, kChartLo}, {kChartHi, kChartHi, kChartLo}, {kChartLo, kChartHi, kChartLo},
    {kChartLo, kChartHi, kChartHi}, {kChartLo, kChartLo, kChartHi}, {kChartHi, kChartLo, kChartHi},
};

void chartReflectance(int column, int row, double out[3]) {
    for (int c = 0; c < 3; ++c) {
        out[c] = row == 0 ? (column + 1) / 8.0 : kChartHues[column][c];
    }
}

// Maps ADC samples to what the transfer carries.
class OutputPath {
  public:
    explicit OutputPath(const FrameSpec& layout)
        : spec_(layout),
          max_((1u << layout.adcBits) - 1),
          shift_(std::max(layout.adcBits - 8 - layout.sensitivity, 0)) {}

    uint32_t maxSample() const { return max_; }
    uint16_t operator()(uint32_t v) const {
        v = std::min(v, max_);
        if (spec_.gammaOn) {
            v = std::min<uint32_t>(spec_.gamma[std::min<uint32_t>(v, 4095)], max_);
        }
        if (spec_.bytesPerSample == 2) {
            return static_cast<uint16_t>(v);
        }
        if (spec_.lutOn) {
            return spec_.lut[std::min<uint32_t>(v, 4095)];
        }
        return static_cast<uint16_t>(std::min<uint32_t>(v >> shift_, 255));
    }
    bool identityFor8BitPattern() const {
        return spec_.bytesPerSample == 1 && !spec_.lutOn && !spec_.gammaOn &&
               shift_ == spec_.adcBits - 8;
    }

  private:
    const FrameSpec& spec_;
    uint32_t max_;
    int shift_;
};

void putSample(uint8_t* row, int c, int bytesPerSample, uint16_t value) {
    if (bytesPerSample == 2) {
        row[2 * c] = static_cast<uint8_t>(value);
        row[2 * c + 1] = static_cast<uint8_t>(value >> 8);
    } else {
        row[c] = static_cast<uint8_t>(value);
    }
}

// Generates frame rows; each row is written into a caller-supplied buffer.
class RowSource {
  public:
    explicit RowSource(const FrameSpec& layout) : spec_(layout), path_(layout) {
        int width = layout.width();
        int shift = layout.adcBits - 8;
        if (layout.content == MLSIM_CONTENT_SCENE || layout.content == MLSIM_CONTENT_FLAT_FIELD ||
            layout.content == MLSIM_CONTENT_CHART || layout.content == MLSIM_CONTENT_LASER) {
            buildSceneTables();
        } else {
            fastPattern_ = path_.identityFor8BitPattern();
            if (fastPattern_) {
                rising_.resize(static_cast<size_t>(width) + 256);
                falling_.resize(rising_.size());
                for (size_t i = 0; i < rising_.size(); ++i) {
                    rising_[i] = static_cast<uint8_t>(i);
                    falling_[i] = static_cast<uint8_t>(0u - i);
                }
            }
            for (uint32_t p = 0; p < 256; ++p) {
                patternTable_[p] = path_(p << shift);
            }
        }
    }

    void row(int frameIndex, int r, uint8_t* out) const {
        if (spec_.chipLevels) {
            chipLevelRow(out);
        } else if (spec_.content == MLSIM_CONTENT_LASER) {
            laserRow(r, out);
        } else if (spec_.content == MLSIM_CONTENT_CHART) {
            chartRow(r, out);
        } else if (spec_.content == MLSIM_CONTENT_SCENE) {
            sceneRow(r, out);
        } else if (spec_.content == MLSIM_CONTENT_FLAT_FIELD) {
            flatFieldRow(r, out);
        } else {
            patternRow(frameIndex, r, out);
        }
    }

  private:
    void patternRow(int frameIndex, int r, uint8_t* out) const {
        const SensorReadout& ro = spec_.readout;
        int width = spec_.width();
        int height = spec_.height();
        int y = ro.flip ? height - 1 - r : r;
        uint32_t base = static_cast<uint32_t>(3 * y) +
                        static_cast<uint32_t>(spec_.firstFrameNumber + frameIndex);
        if (fastPattern_) {
            // Row bytes are base + c (or base + width - 1 - c): a slice of a
            // rising (falling) byte ramp.
            if (ro.mirror) {
                uint32_t top = base + static_cast<uint32_t>(width - 1);
                std::memcpy(out, falling_.data() + ((0u - top) & 0xFF), width);
            } else {
                std::memcpy(out, rising_.data() + (base & 0xFF), width);
            }
            return;
        }
        // x runs up or down the row; the table holds every output value.
        const int step = ro.mirror ? -1 : 1;
        uint32_t x = ro.mirror ? static_cast<uint32_t>(width - 1) : 0;
        if (spec_.bytesPerSample == 2) {
            for (int c = 0; c < width; ++c, x += step) {
                uint16_t v = patternTable_[(base + x) & 0xFF];
                out[2 * c] = static_cast<uint8_t>(v);
                out[2 * c + 1] = static_cast<uint8_t>(v >> 8);
            }
        } else {
            for (int c = 0; c < width; ++c, x += step) {
                out[c] = static_cast<uint8_t>(patternTable_[(base + x) & 0xFF]);
            }
        }
    }

    // Array coordinate of output index i along one axis.
    static int arrayIndex(int i, int start, int skip, bool pairs) {
        return pairs ? start + (i >> 1) * 2 * skip + (i & 1) : start + i * skip;
    }

    void buildSceneTables() {
        const SensorReadout& ro = spec_.readout;
        int width = spec_.width();
        int height = spec_.height();
        columns_.resize(width);
        rows_.resize(height);
        for (int c = 0; c < width; ++c) {
            int i = ro.mirror ? width - 1 - c : c;
            columns_[c] = std::clamp(arrayIndex(i, ro.colStart, ro.colSkip, spec_.colour), 0,
                                     ro.arrayWidth - 1);
        }
        for (int r = 0; r < height; ++r) {
            int i = ro.flip ? height - 1 - r : r;
            rows_[r] = std::clamp(arrayIndex(i, ro.rowStart, ro.rowSkip, spec_.colour), 0,
                                  ro.arrayHeight - 1);
        }
        double full = path_.maxSample();
        black_ = static_cast<uint32_t>(full / 100);
        double level = spec_.exposureMs / kGelReferenceMs * kGelFullShare * full / 65535.0;
        for (int k = 0; k < 4; ++k) {
            double tint = spec_.colour ? kTint[k] : 1.0;
            double gain = spec_.colour ? ro.gain[k] : ro.gain[1];
            double scale = level * tint * gain * 65536.0;
            scale_[k] = static_cast<uint64_t>(std::min(scale, 1e15));
        }
        flat_.arrayWidth = std::max(ro.arrayWidth, 1);
        flat_.arrayHeight = std::max(ro.arrayHeight, 1);
        flat_.full = full;
        flat_.light = full * spec_.exposureMs / 40.0 * 0.6 * ro.gain[1];
        if (spec_.content == MLSIM_CONTENT_LASER) {
            buildLaserColumns();
        }
        outputTable_.resize(path_.maxSample() + 1);
        for (uint32_t v = 0; v <= path_.maxSample(); ++v) {
            outputTable_[v] = path_(v);
        }
    }

    void sceneRow(int r, uint8_t* out) const {
        const SensorReadout& ro = spec_.readout;
        int width = spec_.width();
        int y = rows_[r];
        const uint16_t* radiance = spec_.scene->data() + static_cast<size_t>(y) * ro.arrayWidth;
        uint32_t maxSample = path_.maxSample();
        const int(*colours)[2] = kBayerColour[spec_.bayerPattern & 3];
        const bool processed = spec_.colour && spec_.colourStage.active();
        for (int c = 0; c < width; ++c) {
            int x = columns_[c];
            int colour = spec_.colour ? colours[y & 1][x & 1] : 1;
            uint64_t v = 0;
            if (processed) {
                // The pixel's colour in every channel (its own green gain for
                // green), through the FPGA's gains and matrix.
                const int greenIndex = kChannelOf[colour] == 1 ? colour : 1;
                const double in[3] = {static_cast<double>(radiance[x] * scale_[0] >> 16),
                                      static_cast<double>(radiance[x] * scale_[greenIndex] >> 16),
                                      static_cast<double>(radiance[x] * scale_[3] >> 16)};
                double outColour[3];
                spec_.colourStage.apply(in, outColour);
                v = black_ +
                    static_cast<uint64_t>(std::clamp(outColour[kChannelOf[colour]], 0.0, 1e15));
            } else {
                v = black_ + ((radiance[x] * scale_[colour]) >> 16);
            }
            putSample(out, c, spec_.bytesPerSample,
                      outputTable_[static_cast<uint32_t>(std::min<uint64_t>(v, maxSample))]);
        }
    }

    void chartRow(int r, uint8_t* out) const {
        const SensorReadout& ro = spec_.readout;
        int width = spec_.width();
        int y = rows_[r];
        int chartRow = static_cast<int>(static_cast<int64_t>(y) * kChartRows / ro.arrayHeight);
        double full = path_.maxSample();
        const int(*colours)[2] = kBayerColour[spec_.bayerPattern & 3];
        for (int c = 0; c < width; ++c) {
            int x = columns_[c];
            int column = static_cast<int>(static_cast<int64_t>(x) * kChartColumns / ro.arrayWidth);
            double lit[3];
            chartReflectance(column, chartRow, lit);
            for (int k = 0; k < 3; ++k) {
                lit[k] *= spec_.illuminant[k];
            }
            double seen[3];
            spec_.colourStage.apply(lit, seen);
            int channel = spec_.colour ? kChannelOf[colours[y & 1][x & 1]] : 1;
            double level = std::clamp(
                spec_.colour ? seen[channel] : (seen[0] + seen[1] + seen[2]) / 3, 0.0, 1.0);
            uint32_t v = static_cast<uint32_t>(std::floor(level * full));
            putSample(out, c, spec_.bytesPerSample, outputTable_[v]);
        }
    }

    void chipLevelRow(uint8_t* out) const {
        const std::vector<uint16_t>& levels = *spec_.chipLevels;
        for (int c = 0; c < spec_.width(); ++c) {
            const size_t x = static_cast<size_t>(c);
            putSample(out, c, spec_.bytesPerSample, path_(x < levels.size() ? levels[x] : 0));
        }
    }

    void laserRow(int r, uint8_t* out) const {
        // Background everywhere, then the columns whose line crosses this row.
        const int shift = spec_.adcBits - 8;
        const uint16_t background = outputTable_[static_cast<uint32_t>(kLaserBackground) << shift];
        if (spec_.bytesPerSample == 1) {
            std::memset(out, background, static_cast<size_t>(spec_.width()));
        } else {
            for (int c = 0; c < spec_.width(); ++c) {
                putSample(out, c, 2, background);
            }
        }
        const int y = rows_[r];
        for (int c : laserColumns_[static_cast<size_t>(r)]) {
            const uint32_t v = static_cast<uint32_t>(laserSample(columns_[c], y, spec_.signal))
                               << shift;
            putSample(out, c, spec_.bytesPerSample, outputTable_[v]);
        }
    }

    // For each output row, the columns whose laser line (centre and the rows
    // beside it) lies on that row's array row.
    void buildLaserColumns() {
        const int height = spec_.height();
        laserColumns_.assign(static_cast<size_t>(height), {});
        if (height == 0) {
            return;
        }
        const auto [lowest, highest] = std::minmax_element(rows_.begin(), rows_.end());
        std::vector<int> outputRow(static_cast<size_t>(*highest - *lowest + 1), -1);
        for (int r = 0; r < height; ++r) {
            outputRow[static_cast<size_t>(rows_[r] - *lowest)] = r;
        }
        for (int c = 0; c < spec_.width(); ++c) {
            const int centre = laserLineRow(columns_[c], spec_.signal);
            for (int y = centre - 1; y <= centre + 1; ++y) {
                if (y >= *lowest && y <= *highest) {
                    const int r = outputRow[static_cast<size_t>(y - *lowest)];
                    if (r >= 0) {
                        laserColumns_[static_cast<size_t>(r)].push_back(c);
                    }
                }
            }
        }
    }

    void flatFieldRow(int r, uint8_t* out) const {
        const int y = rows_[r];
        for (int c = 0; c < spec_.width(); ++c) {
            putSample(out, c, spec_.bytesPerSample, outputTable_[flat_.sample(columns_[c], y)]);
        }
    }

    const FrameSpec& spec_;
    OutputPath path_;
    FlatFieldScene flat_;
    bool fastPattern_ = false;
    std::vector<uint8_t> rising_;
    std::vector<uint8_t> falling_;
    uint16_t patternTable_[256] = {};
    std::vector<int> columns_;
    std::vector<int> rows_;
    std::vector<std::vector<int>> laserColumns_;  // per output row
    uint32_t black_ = 0;
    uint64_t scale_[4] = {};
    std::vector<uint16_t> outputTable_;
};

void putLe(uint8_t* p, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        p[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void writeWatermark(const FrameSpec& layout, uint8_t* out, uint32_t written) {
    uint8_t head[24];
    const uint8_t magic[6] = {0x2A, 0x4D, 0x41, 0x52, 0x4B, 0x2A};
    std::memcpy(head, magic, 6);
    // The laser camera counts trigger signals, the others transfers.
    const uint64_t mark =
        layout.content == MLSIM_CONTENT_LASER ? layout.signal : layout.transferNumber;
    putLe(head + 6, mark & 0xFFFF, 2);
    putLe(head + 8, layout.timeUs & 0xFFFFFFFFu, 4);
    putLe(head + 12, layout.timeUs >> 32, 4);
    putLe(head + 16, (mark >> 16) & 0xFFFF, 2);
    putLe(head + 18, static_cast<uint32_t>(layout.exposureMs * 1000.0), 4);
    putLe(head + 22, layout.triggers & 0xFFFF, 2);
    std::memcpy(out, head, std::min<uint32_t>(written, sizeof(head)));
}

}  // namespace

void contentMeans(int content, const double illuminant[3], double out[3]) {
    for (int c = 0; c < 3; ++c) {
        // The chart's patches average to grey; the gel glows in its tint.
        out[c] = content == MLSIM_CONTENT_CHART   ? illuminant[c]
                 : content == MLSIM_CONTENT_SCENE ? kTint[c == 2 ? 3 : c]
                                                  : 1.0;
    }
}

uint32_t FrameSpec::transferBytes() const {
    // Windows far beyond the array (registers written with junk) still give
    // a count that fits the byte count of a read.
    uint64_t bytes = static_cast<uint64_t>(std::max(width(), 0)) *
                     static_cast<uint64_t>(std::max(height(), 0)) * static_cast<uint64_t>(frames) *
                     static_cast<uint64_t>(bytesPerSample);
    return static_cast<uint32_t>(std::min<uint64_t>(bytes, 0xFFFFFFFFu));
}

uint32_t synthesizeTransfer(const FrameSpec& layout, uint8_t* out, uint32_t capacity) {
    uint32_t total = std::min(layout.transferBytes(), capacity);
    if (total == 0) {
        return 0;
    }
    RowSource source(layout);
    uint32_t rowBytes = static_cast<uint32_t>(layout.width()) * layout.bytesPerSample;
    std::vector<uint8_t> partial;
    uint32_t offset = 0;
    for (int f = 0; f < layout.frames && offset < total; ++f) {
        for (int r = 0; r < layout.height() && offset < total; ++r) {
            if (offset + rowBytes <= total) {
                source.row(f, r, out + offset);
                offset += rowBytes;
            } else {
                partial.resize(rowBytes);
                source.row(f, r, partial.data());
                std::memcpy(out + offset, partial.data(), total - offset);
                offset = total;
            }
        }
    }
    if (layout.watermark) {
        writeWatermark(layout, out, total);
    }
    return total;
}

}  // namespace usbcam
