// The byte-wise frame passes on every vector path this processor runs,
// against the per-byte rule written out here: table look-ups over every byte
// value, 16-bit packing around each shift's saturation point and through a
// table around its last entry, at lengths and offsets that leave partial
// vectors at both ends.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "acquisition/BytePasses.h"
#include "acquisition/ProcessTables.h"

namespace {

std::vector<EVectorPath> PathsOfThisProcessor() {
    std::vector<EVectorPath> paths;
    for (EVectorPath path : {EVectorPath::Scalar, EVectorPath::Ssse3, EVectorPath::Avx2}) {
        if (path <= WidestVectorPath()) {
            paths.push_back(path);
        }
    }
    return paths;
}

std::vector<ByteTable> SampleTables() {
    ByteTable reversed, random, station;
    std::mt19937 generator(7);
    for (int i = 0; i < 256; ++i) {
        reversed[i] = static_cast<uint8_t>(255 - i);
        random[i] = static_cast<uint8_t>(generator());
    }
    const auto contrast = CProcessTables::ContrastTable(10);
    const auto brightness = CProcessTables::BrightnessTable(25);
    for (int i = 0; i < 256; ++i) {
        station[i] = brightness[contrast[i]];
    }
    return {reversed, random, station, CProcessTables::GammaTable(-9)};
}

TEST(BytePasses, TableLookUpMatchesTheTableOnEveryPath) {
    std::vector<uint8_t> source(1000);
    for (size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<uint8_t>(i * 37 + i / 256);  // every value, in no order
    }
    for (EVectorPath path : PathsOfThisProcessor()) {
        for (const ByteTable& table : SampleTables()) {
            for (size_t nOffset : {0, 1, 5}) {
                for (size_t nBytes : {0, 1, 15, 16, 31, 33, 63, 511, 995}) {
                    std::vector<uint8_t> data = source;
                    LookUpBytes(table, data.data() + nOffset, nBytes, path);
                    for (size_t i = 0; i < data.size(); ++i) {
                        const bool bInside = i >= nOffset && i < nOffset + nBytes;
                        ASSERT_EQ(data[i], bInside ? table[source[i]] : source[i])
                            << "path " << static_cast<int>(path) << ", offset " << nOffset
                            << ", length " << nBytes << ", byte " << i;
                    }
                }
            }
        }
    }
}

TEST(BytePasses, PackingSaturatesEachShiftOnEveryPath) {
    for (EVectorPath path : PathsOfThisProcessor()) {
        for (int nShift : {0, 2, 4}) {
            const uint32_t nLimit = 255u << nShift;
            std::vector<uint16_t> samples = {
                0,      1,     uint16_t(nLimit - 1), uint16_t(nLimit), uint16_t(nLimit + 1), 0x7FFF,
                0x8000, 0xFFFF};
            std::mt19937 generator(static_cast<unsigned>(nShift));
            while (samples.size() < 203) {
                samples.push_back(static_cast<uint16_t>(generator()));
            }
            for (size_t nPixels : {size_t{7}, size_t{16}, size_t{47}, samples.size()}) {
                std::vector<uint8_t> frame(2 * samples.size());
                std::memcpy(frame.data(), samples.data(), frame.size());
                PackSamplesShifted(frame.data(), nPixels, nShift, path);
                for (size_t i = 0; i < nPixels; ++i) {
                    const uint16_t v = samples[i];
                    ASSERT_EQ(frame[i], v < nLimit ? v >> nShift : 255)
                        << "path " << static_cast<int>(path) << ", shift " << nShift << ", sample "
                        << i << " = " << v;
                }
            }
        }
    }
}

TEST(BytePasses, PackingThroughATableClampsToItsLastEntryOnEveryPath) {
    constexpr uint32_t kEntries = 4096;
    std::vector<uint8_t> table(kEntries);
    std::mt19937 generator(11);
    for (uint8_t& entry : table) {
        entry = static_cast<uint8_t>(generator());
    }
    std::vector<uint16_t> samples = {0, 1, kEntries - 2, kEntries - 1, kEntries, 0x7FFF, 0xFFFF};
    while (samples.size() < 203) {
        samples.push_back(static_cast<uint16_t>(generator() % (2 * kEntries)));
    }
    for (EVectorPath path : PathsOfThisProcessor()) {
        for (size_t nPixels : {size_t{7}, size_t{16}, size_t{33}, samples.size()}) {
            std::vector<uint8_t> frame(2 * samples.size());
            std::memcpy(frame.data(), samples.data(), frame.size());
            PackSamplesThroughTable(frame.data(), nPixels, table.data(), kEntries, path);
            for (size_t i = 0; i < nPixels; ++i) {
                const uint16_t v = samples[i];
                ASSERT_EQ(frame[i], table[v < kEntries ? v : kEntries - 1])
                    << "path " << static_cast<int>(path) << ", sample " << i << " = " << v;
            }
        }
    }
}

}  // namespace
