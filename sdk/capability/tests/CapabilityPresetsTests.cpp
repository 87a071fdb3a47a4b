#include "capability/CapabilityPresets.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::uint64_t kExposureLine = std::uint64_t{1} << 44;
constexpr std::uint64_t kGpioNormal = std::uint64_t{1} << 39;
constexpr std::uint64_t kSetMultiFramesNum = std::uint64_t{1} << 15;

// The open sequence's preset steps: model preset, then FPGA preset.
DeviceCapability Presets(int type, CapVersion firmware, CapVersion fpga) {
    DeviceCapability cap;
    SetModelCapability(cap, type, firmware);
    SetFpgaCapability(cap, type, firmware, fpga);
    return cap;
}

struct PresetCase {
    int type;
    CapVersion firmware;
    CapVersion fpga;
    float clock;
    std::uint32_t s;
    std::uint32_t h;
    std::uint32_t w;
    std::uint64_t f;
};

void ExpectPresets(const PresetCase& c) {
    const DeviceCapability cap = Presets(c.type, c.firmware, c.fpga);
    const ::testing::Message where = ::testing::Message()
                                     << "type " << c.type << " firmware " << int{c.firmware.major}
                                     << "." << int{c.firmware.minor} << " FPGA "
                                     << int{c.fpga.major} << "." << int{c.fpga.minor};
    EXPECT_EQ(cap.fPixClkMHz, c.clock) << where;
    EXPECT_FLOAT_EQ(cap.T, 1.0f / (c.clock * 1000.0f)) << where;
    EXPECT_EQ(cap.SensorCapability, c.s) << where;
    EXPECT_EQ(cap.HardwareCapability, c.h) << where;
    EXPECT_EQ(cap.FirmwareCapability, c.w) << where;
    EXPECT_EQ(cap.FpgaCapability, c.f) << where;
}

// Values as the model and FPGA tables give them.
TEST(CapabilityPresets, ModelAndFpgaRows) {
    const PresetCase cases[] = {
        // type, firmware, FPGA, clock, S, H, W, F
        {0, {1, 0}, {1, 0}, 48, 0x9b4, 0x0, 0x1c000, 0x0},
        {0, {6, 3}, {9, 0}, 48, 0x9b4, 0x0, 0x1c000, 0x0},
        {1, {1, 0}, {0, 0}, 48, 0x9b5, 0x0, 0x10000, 0x0},
        {1, {6, 2}, {0, 0}, 48, 0x9b5, 0x0, 0x110000, 0x0},
        {4, {1, 81}, {2, 0}, 48, 0x28009b4, 0x211, 0x1c001, 0x22},
        {4, {1, 80}, {2, 0}, 48, 0x28009b4, 0x211, 0x1c000, 0x0},
        {5, {1, 61}, {0, 0}, 48, 0x28009b5, 0x211, 0x1c000, 0x0},
        {5, {1, 91}, {3, 1}, 48, 0x28009b5, 0x811, 0x1c000, 0x22},
        {9, {1, 0}, {1, 0}, 48, 0x3000bfd, 0x0, 0x0, 0x0},
        {9, {4, 9}, {1, 0}, 48, 0x3000bfd, 0x0, 0x0, 0x0},
        {9, {5, 0}, {1, 0}, 48, 0x3000bfd, 0x10000, 0x0, 0x0},
        {10, {1, 7}, {1, 0}, 48, 0x3000bfc, 0x211, 0x0, 0x0},
        {11, {5, 1}, {0, 0}, 48, 0x3000bfd, 0x10021, 0xc001, 0x22},
        {11, {1, 9}, {0, 0}, 48, 0x3000bfd, 0x211, 0xc000, 0x0},
        {17, {1, 0}, {9, 3}, 50.6f, 0x330123a, 0x11000, 0xccf7, 0x49b1fdffffff},
        {17, {1, 0}, {8, 0}, 50.6f, 0x330123a, 0x11000, 0xccf7, 0x0},
        {25, {1, 6}, {5, 0}, 96, 0x30012ba, 0x1041, 0xc000, 0x837f6},
        {25, {1, 6}, {4, 0}, 162, 0x30012bc, 0x1041, 0xc000, 0x0},
        {27, {1, 5}, {5, 0}, 160, 0x30012ba, 0x1000, 0xc001, 0x837f6},
        {34, {1, 9}, {0, 0}, 48, 0x9b5, 0x108, 0x1c000, 0x0},
        {36, {5, 2}, {9, 0}, 27, 0x28feab8, 0x11000, 0xc000, 0x9b1fdfff7ff},
        {36, {2, 3}, {3, 0}, 48, 0x28feabe, 0x1000, 0xe000, 0x0},
        {37, {1, 0}, {1, 5}, 27, 0x28feabd, 0x1000, 0xc000, 0x83ffe},
        {37, {1, 0}, {2, 0}, 48, 0x28feabd, 0x1000, 0xc000, 0x83ffe},
        {37, {1, 0}, {2, 3}, 48, 0x28feabd, 0x1000, 0xc000, 0x27e6},
        {37, {1, 0}, {7, 4}, 27, 0x28feabd, 0x1000, 0xc000, 0x0},
        {41, {1, 0}, {5, 7}, 48, 0x300083a, 0x11000, 0xccf7, 0x49b1fdffffff},
        {46, {1, 0}, {5, 1}, 17, 0x3080802, 0x11081, 0xd0b7, 0x83ff6},
        {52, {3, 1}, {5, 3}, 96, 0x3010afc, 0x9000, 0xff6, 0x83ff7},
        {52, {22, 0}, {6, 4}, 96, 0x3010afa, 0x9000, 0xcff7, 0x8bffe},
        {52, {1, 0}, {22, 1}, 96, 0x3010afa, 0x9000, 0xcff6, 0x4fb1fdffffff},
        {53, {1, 0}, {0, 0}, 96, 0x3010afd, 0x9000, 0xc0f7, 0x37e6},
        {56, {1, 0}, {6, 2}, 64, 0x2801222, 0x9000, 0xc0f6, 0x8b7f6},
        {64, {22, 5}, {1, 0}, 57, 0x28028b8, 0x9000, 0xcff7, 0x0},
        {86, {20, 0}, {8, 0}, 99, 0x308281c, 0x9000, 0xccf7, 0xbb1fdfff7ff},
        {92, {20, 0}, {24, 0}, 99, 0x308281c, 0x9000, 0xccf7, 0x889b1fdffe7ff},
        {93, {1, 0}, {8, 1}, 99, 0x308281d, 0x9000, 0xc0f7, 0xb80000ff7ff},
        {90, {1, 0}, {1, 0}, 15, 0x3080004, 0x15000, 0xc0b7, 0x1b80000e7fff},
        {98, {1, 0}, {8, 0}, 80, 0x3000002, 0x9000, 0xc0b7, 0x2380000ff7ff},
        {105, {20, 1}, {1, 0}, 99, 0x30e081d, 0x0, 0xccf7, 0x0},
        {111, {1, 0}, {20, 0}, 460, 0x3002816, 0x9000, 0xc0f6, 0x19b1fdfe67ff},
        {113, {1, 0}, {3, 0}, 99, 0x33e281c, 0x9000, 0xcef7, 0xbbdfdfff7ff},
        {114, {1, 0}, {24, 40}, 148, 0x33e281d, 0x9000, 0xc2f7, 0x889b1fdffe7ff},
        {114, {1, 0}, {24, 39}, 99, 0x33e281d, 0x9000, 0xc2f7, 0x889b1fdffe7ff},
        {117, {1, 0}, {1, 0}, 600, 0x33e2816, 0x9000, 0xccf7, 0xbb1fdfff7ff},
        {123, {1, 0}, {1, 0}, 72, 0x3080035, 0x9000, 0xc0f7, 0x100000000000},
    };
    for (const PresetCase& c : cases) {
        ExpectPresets(c);
    }
}

// Rows whose FPGA word also carries what the sensor unit needs: the
// exposure-line registers where the unit hands the exposure to the FPGA, the
// GPIO registers where it switches the strobe through FPGA register 29, the
// multi-frame count for the line sensors' calibration.
TEST(CapabilityPresets, FpgaWordCarriesTheBitsTheUnitNeeds) {
    const PresetCase cases[] = {
        // Sensor3096 type 121 (strobe in its sensor word).
        {121, {1, 0}, {1, 0}, 99, 0x33e280d, 0x9000, 0xc2f7, kExposureLine | kGpioNormal},
        {121, {1, 0}, {24, 0}, 99, 0x33e280d, 0x9000, 0xc2f7, 0x889b1fdffe7ff | kExposureLine},
        // IMX226: global-reset firmware from major 20 on, always on type 122.
        {97, {1, 0}, {24, 0}, 96, 0x3080015, 0x9000, 0xc0f7, 0x889b1fdffe7ff},
        {97, {20, 0}, {24, 0}, 96, 0x3080015, 0x9000, 0xccf7, 0x889b1fdffe7ff | kExposureLine},
        {96, {20, 0}, {1, 0}, 96, 0x3180014, 0x9000, 0xccf7, kExposureLine},
        {122, {1, 0}, {1, 0}, 96, 0x30e0011, 0x9000, 0xc0f7, kExposureLine | kGpioNormal},
        {122, {1, 0}, {24, 0}, 96, 0x30e0011, 0x9000, 0xc0f7, 0x899b1fdffe7ff},
        // IMX183: global-reset firmware from 20.20 on.
        {102, {20, 19}, {1, 0}, 72, 0x3180034, 0x9000, 0xccf7, 0x0},
        {102, {20, 20}, {1, 0}, 72, 0x3180034, 0x9000, 0xccf7, kExposureLine},
        {103, {21, 0}, {20, 0}, 72, 0x3080035, 0x9000, 0xc0f7, kExposureLine},
        // Line sensors outside the FPGA rows of major 8.
        {98, {1, 0}, {3, 0}, 80, 0x3000002, 0x9000, 0xc0b7, kSetMultiFramesNum},
        {101, {1, 0}, {9, 0}, 80, 0x3000005, 0x9000, 0xc0b7, kSetMultiFramesNum},
        // ISG1307 has the GPIO registers in its rows already.
        {118, {1, 0}, {1, 0}, 600, 0x33e2811, 0x9000, 0xc0f7, 0xb80000ff7ff},
    };
    for (const PresetCase& c : cases) {
        ExpectPresets(c);
    }
}

const std::vector<int> kWithoutModelPreset = {2,  6,  12, 13, 14, 15, 16, 19, 20, 21, 22,
                                              23, 24, 28, 29, 30, 31, 38, 43, 44, 45, 69,
                                              70, 71, 75, 77, 78, 81, 82, 83, 84, 85, 110};

bool Contains(const std::vector<int>& list, int type) {
    for (int t : list) {
        if (t == type)
            return true;
    }
    return false;
}

// Types without a model preset keep all four words at 0 and run at 48 MHz;
// every other type gets a sensor word from its preset.
TEST(CapabilityPresets, TypesWithoutModelPresetRunAt48MHz) {
    for (int type = 0; type < 130; ++type) {
        DeviceCapability cap;
        cap.SetPixClk(20.0f);
        cap.SensorCapability = cap.HardwareCapability = cap.FirmwareCapability = 0xFFFF;
        cap.FpgaCapability = 0xFFFF;
        SetModelCapability(cap, type, CapVersion{20, 20});
        SetFpgaCapability(cap, type, CapVersion{20, 20}, CapVersion{24, 40});
        if (type >= 124 || Contains(kWithoutModelPreset, type)) {
            EXPECT_EQ(cap.fPixClkMHz, 48.0f) << type;
            EXPECT_FLOAT_EQ(cap.T, 1.0f / 48000.0f) << type;
            EXPECT_EQ(cap.SensorCapability, 0u) << type;
            EXPECT_EQ(cap.HardwareCapability, 0u) << type;
            EXPECT_EQ(cap.FirmwareCapability, 0u) << type;
            EXPECT_EQ(cap.FpgaCapability, 0u) << type;
        } else {
            EXPECT_NE(cap.SensorCapability, 0u) << type;
            EXPECT_NE(cap.fPixClkMHz, 20.0f) << type;
        }
    }
}

// Types with a model preset but no FPGA preset keep the FPGA word at 0 for
// every FPGA version.
TEST(CapabilityPresets, TypesWithoutFpgaPresetKeepFpgaWordZero) {
    for (int type : {0, 1, 3, 7, 8, 9, 10, 33, 34, 35, 76}) {
        for (CapVersion fpga :
             {CapVersion{0, 0}, CapVersion{5, 0}, CapVersion{9, 1}, CapVersion{24, 40}}) {
            DeviceCapability cap;
            SetModelCapability(cap, type, CapVersion{5, 0});
            cap.FpgaCapability = 0;
            SetFpgaCapability(cap, type, CapVersion{5, 0}, fpga);
            EXPECT_EQ(cap.FpgaCapability, 0u) << type;
        }
    }
}

TEST(CapabilityPresets, ModelPresetClearsEveryWordFirst) {
    DeviceCapability cap;
    cap.FpgaCapability = ~std::uint64_t{0};
    cap.FirmwareCapability = cap.HardwareCapability = cap.SensorCapability = ~0u;
    SetModelCapability(cap, 0, CapVersion{1, 0});
    EXPECT_EQ(cap.FpgaCapability, 0u);
    EXPECT_EQ(cap.HardwareCapability, 0u);
    EXPECT_EQ(cap.SensorCapability, 0x9b4u);
}

TEST(CapabilityPresets, VersionWordSplitsIntoMajorAndMinor) {
    const CapVersion v = CapVersion::FromWord(0x1414);
    EXPECT_EQ(v.major, 20);
    EXPECT_EQ(v.minor, 20);
    EXPECT_EQ(CapVersion::FromWord(0x0704).major, 7);
    EXPECT_EQ(CapVersion::FromWord(0x0704).minor, 4);
}

}  // namespace
