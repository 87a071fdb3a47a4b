#include "capability/DeviceCapability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "capability/CapabilityKeyLists.h"

namespace {

TEST(DeviceCapability, OneBitFieldStoresOneForAnyNonZeroValue) {
    DeviceCapability cap;
    cap.Set(SensorCap::bmFlip, 7);
    EXPECT_EQ(cap.SensorCapability, 0x10u);
    EXPECT_TRUE(cap.Has(SensorCap::bmFlip));
    cap.Set(SensorCap::bmFlip, 0);
    EXPECT_EQ(cap.SensorCapability, 0u);
}

std::uint64_t WordOf(const DeviceCapability& cap, CapWord word) {
    switch (word) {
        case CapWord::Fpga:
            return cap.FpgaCapability;
        case CapWord::Firmware:
            return cap.FirmwareCapability;
        case CapWord::Hardware:
            return cap.HardwareCapability;
        case CapWord::Sensor:
            return cap.SensorCapability;
    }
    return 0;
}

TEST(DeviceCapability, MultiBitFieldIsMaskedAndLeavesOtherBits) {
    struct Case {
        CapField field;
        std::uint64_t value;
        std::uint64_t stored;
        std::uint64_t word;  // the word after the store, starting from all bits set
    };
    const Case cases[] = {
        {SensorCap::bmBayerMode, 5, 1, 0xFFFFFFFB},
        {SensorCap::bmResolution, 17, 1, 0xFC7FFFFF},
        {HardwareCap::bmE2PRomType, 9, 1, 0xFFFCFFFF},
        {FpgaCap::bmAwbPresettingsNum, 15, 7, 0xFFFFFFFFFFFFFFFF},
        {FpgaCap::bmCcmPresettingsNum, 10, 2, 0xFFFFFFFD7FFFFFFF},
    };
    for (const Case& c : cases) {
        DeviceCapability cap;
        cap.FpgaCapability = ~std::uint64_t{0};
        cap.FirmwareCapability = cap.HardwareCapability = cap.SensorCapability = ~0u;
        cap.Set(c.field, c.value);
        EXPECT_EQ(cap.Get(c.field), c.stored) << c.field.key;
        EXPECT_EQ(WordOf(cap, c.field.word), c.word) << c.field.key;
    }
}

TEST(DeviceCapability, FieldsOfTheFpgaWordReachAboveBit31) {
    DeviceCapability cap;
    cap.Set(FpgaCap::bmCcmPresettingsNum, 5);
    cap.Set(FpgaCap::bmExposureLine, 1);
    cap.Set(FpgaCap::bmWaterMarkInfoEx, 1);
    EXPECT_EQ(cap.FpgaCapability,
              (std::uint64_t{5} << 31) | (std::uint64_t{1} << 44) | (std::uint64_t{1} << 51));
}

TEST(DeviceCapability, ClockPeriodInSinglePrecision) {
    struct Case {
        float mhz;
        float periodMs;
    };
    const Case cases[] = {{48.0f, 1.0f / 48000.0f},
                          {40.0f, 1.0f / 40000.0f},
                          {96.0f, 1.0f / 96000.0f},
                          {50.6f, 1.0f / 50600.0f}};
    for (const Case& c : cases) {
        DeviceCapability cap;
        cap.SetPixClk(c.mhz);
        EXPECT_EQ(cap.fPixClkMHz, c.mhz);
        EXPECT_FLOAT_EQ(cap.T, c.periodMs) << c.mhz;
    }
    // A fresh record runs at the default clock of 48 MHz.
    DeviceCapability fresh;
    EXPECT_EQ(fresh.fPixClkMHz, 48.0f);
    EXPECT_FLOAT_EQ(fresh.T, 2.0833333e-05f);
}

// Every named field lies in its word's defined bits and no two fields of a
// word share a bit.
TEST(DeviceCapability, NamedFieldsTileTheirWords) {
    std::vector<const CapField*> all;
    for (const CapField* f : capkeys::kSensorFlags)
        all.push_back(f);
    all.push_back(&SensorCap::bmResolution);
    for (const CapField* f : capkeys::kHardware)
        all.push_back(f);
    for (const CapField* f : capkeys::kFirmware)
        all.push_back(f);
    all.push_back(&FirmwareCap::bmFirmwareBit20);
    for (const CapField* f : capkeys::kFpgaTriggerModes)
        all.push_back(f);
    for (const CapField* f : capkeys::kFpgaFunctions)
        all.push_back(f);
    for (const CapField* f :
         {&FpgaCap::bmTriggerModeHighLowFixFramerate, &FpgaCap::bmStreamMode,
          &FpgaCap::bm3DRegisters, &FpgaCap::bmFixFrameRateWide, &FpgaCap::bmWaterMarkInfoEx}) {
        all.push_back(f);
    }

    struct WordUse {
        CapWord word;
        std::uint64_t defined;  // bits the word may use
        std::uint64_t used = 0;
    };
    WordUse words[] = {{CapWord::Sensor, (std::uint64_t{1} << 26) - 1},
                       {CapWord::Hardware, (std::uint64_t{1} << 18) - 1},
                       {CapWord::Firmware, (std::uint64_t{1} << 21) - 1},
                       {CapWord::Fpga, (std::uint64_t{1} << 52) - 1}};
    for (const CapField* field : all) {
        for (WordUse& use : words) {
            if (use.word != field->word)
                continue;
            EXPECT_EQ(field->Mask() & ~use.defined, 0u) << (field->key ? field->key : "?");
            EXPECT_EQ(field->Mask() & use.used, 0u) << (field->key ? field->key : "?");
            use.used |= field->Mask();
        }
    }
    for (const WordUse& use : words) {
        EXPECT_EQ(use.used, use.defined);
    }
}

}  // namespace
