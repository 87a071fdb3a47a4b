#include "capability/CapabilityIni.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// An ini file of its own for each test, in the test's scratch folder.
class IniFile {
  public:
    IniFile() : m_path(ScratchPath()), m_ini(m_path.string()) { std::filesystem::remove(m_path); }
    ~IniFile() { std::filesystem::remove(m_path); }

    const plat::Ini& Ini() const { return m_ini; }
    const std::filesystem::path& Path() const { return m_path; }

    // Sets one value by writing the file's text, independent of the writer.
    void Put(const std::string& section, const std::string& key, const std::string& value) {
        auto it = std::find_if(m_sections.begin(), m_sections.end(),
                               [&](const auto& s) { return s.first == section; });
        if (it == m_sections.end()) {
            m_sections.push_back({section, {}});
            it = m_sections.end() - 1;
        }
        it->second.push_back({key, value});
        std::ofstream out(m_path, std::ios::trunc);
        for (const auto& [name, entries] : m_sections) {
            out << "[" << name << "]\r\n";
            for (const auto& [k, v] : entries)
                out << k << "=" << v << "\r\n";
        }
    }

    // (section, key) of every entry, in file order.
    std::vector<std::pair<std::string, std::string>> Entries() const {
        std::vector<std::pair<std::string, std::string>> entries;
        std::ifstream in(m_path);
        std::string line, section;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
                section = line.substr(1, line.size() - 2);
            } else if (const std::size_t eq = line.find('='); eq != std::string::npos) {
                entries.push_back({section, line.substr(0, eq)});
            }
        }
        return entries;
    }

    std::string Value(const std::string& section, const std::string& key) const {
        return m_ini.ReadString(section, key, "<missing>");
    }

  private:
    static std::filesystem::path ScratchPath() {
        const char* scratch = std::getenv("VARNU_TEST_SCRATCH");
        const std::filesystem::path folder = scratch != nullptr
                                                 ? std::filesystem::path(scratch)
                                                 : std::filesystem::temp_directory_path();
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return folder / (std::string("caps-") + test->name() + ".ini");
    }

    std::filesystem::path m_path;
    plat::Ini m_ini;
    std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>
        m_sections;
};

// Key orders of the two sections.
const std::vector<std::string> kBaseKeys = {
    "fPixClkMHz",
    // SensorCapability bits 0-21
    "bmMono", "bmBayerMode", "bmMirror", "bmFlip", "bmSkip2", "bmSkip3", "bmSkip4", "bmSkip8",
    "bmBinning", "bmGlobalReset", "bmFovSizeFormat", "bmFovEndFormat", "bmEven", "bmAGC", "bmAEC",
    "bmFrameRestart", "bmFlashEnable", "bmFlashInvert", "bmGlobalGain",
    "bmNoNeedChangeBayerWhenFlip", "bmNoNeedChangeBayerWhenMirror",
    // HardwareCapability
    "bmIo", "bmPD0_7", "bmPD2_3", "bmPD0_3", "bmPE0_3", "bmPD2_5", "bmPD2_7", "bmPD6", "bmSnapIo0",
    "bmSnapPC2", "bmSnapPA1", "bmOPT2", "bmHasFpga", "bmHasFifo", "bmHasTmp101", "bmE2PRomType",
    // FirmwareCapability
    "bmWorkingMode", "bmResetDevice", "bmSendPktEnd", "bmReconnect", "bmFastUpdate",
    "bmProgramWorkingMode", "bmProgramSerialsDesc", "bmProgramLut", "bmProgramGammaLut",
    "bmProgramWorkingModeEx", "bmProgramColorMode", "bmProgramColorMatrix", "bmSubCkNumInvert",
    "bmReadFpgaDead", "bmGetVersionStatus", "bmGetVersionStatusEx", "bmFixLast1Col",
    "bmFixLast2Col", "bmFixLast1Row", "bmFixLast2Row"};

const std::vector<std::string> kFpgaKeys = {"bmGetWorkingMode",
                                            "bmTriggerModeExternal",
                                            "bmTriggerModeSoftware",
                                            "bmTriggerModeFixedFrameRate",
                                            "bmTriggerModeHighLowFixFramerate",
                                            "bmLutEnable",
                                            "bmTriggerMethodNegedge",
                                            "bmTriggerMethodPosedge",
                                            "bmTriggerMethodHig",
                                            "bmTriggerMethodLow",
                                            "bmEmptyFrameBuffer",
                                            "bmSensitivityMode",
                                            "bm16BitsTransfer",
                                            "bmBadPixelCorrection",
                                            "bmSetTriggerDelay",
                                            "bmGetTriggerDelay",
                                            "bmSetMultiFramesNum",
                                            "bmGetMultiFramesNum",
                                            "bmSetTriggerFixFrameRate",
                                            "bmGetTriggerFixFrameRate",
                                            "bmLutDownload",
                                            "bmSetColorMode",
                                            "bmGetColorMode",
                                            "bmAwbPresettings",
                                            "bmAwbPresettingsNum",
                                            "bmAwbAutoOnce",
                                            "bmAwbAutoContinuous",
                                            "bmSetAwbMatrix",
                                            "bmGetAwbMatrix",
                                            "bmCcmPresettings",
                                            "bmCcmPresettingsNum",
                                            "bmCcmAutoOnce",
                                            "bmCcmAutoContinuous",
                                            "bmSetCcmMatrix",
                                            "bmGetCcmMatrix",
                                            "bmStrobeDelay",
                                            "bmGpioNormal",
                                            "bmIoFilter",
                                            "bmWorkingModeEx",
                                            "bmGammaLutEnable",
                                            "bmWaterMarkMode",
                                            "bmExposureLine",
                                            "bmFixeFrameRateStep1uS",
                                            "bmGammaLutDownload",
                                            "bmResolution"};

// Where each key lives: word, first bit and width.
struct KeyPlace {
    const char* key;
    CapWord word;
    int shift;
    int width;
};

const KeyPlace kKeyPlaces[] = {
    {"bmMono", CapWord::Sensor, 0, 1},
    {"bmBayerMode", CapWord::Sensor, 1, 2},
    {"bmMirror", CapWord::Sensor, 3, 1},
    {"bmFlip", CapWord::Sensor, 4, 1},
    {"bmSkip2", CapWord::Sensor, 5, 1},
    {"bmSkip3", CapWord::Sensor, 6, 1},
    {"bmSkip4", CapWord::Sensor, 7, 1},
    {"bmSkip8", CapWord::Sensor, 8, 1},
    {"bmBinning", CapWord::Sensor, 9, 1},
    {"bmGlobalReset", CapWord::Sensor, 10, 1},
    {"bmFovSizeFormat", CapWord::Sensor, 11, 1},
    {"bmFovEndFormat", CapWord::Sensor, 12, 1},
    {"bmEven", CapWord::Sensor, 13, 1},
    {"bmAGC", CapWord::Sensor, 14, 1},
    {"bmAEC", CapWord::Sensor, 15, 1},
    {"bmFrameRestart", CapWord::Sensor, 16, 1},
    {"bmFlashEnable", CapWord::Sensor, 17, 1},
    {"bmFlashInvert", CapWord::Sensor, 18, 1},
    {"bmGlobalGain", CapWord::Sensor, 19, 1},
    {"bmNoNeedChangeBayerWhenFlip", CapWord::Sensor, 20, 1},
    {"bmNoNeedChangeBayerWhenMirror", CapWord::Sensor, 21, 1},
    {"bmResolution", CapWord::Sensor, 22, 4},
    {"bmIo", CapWord::Hardware, 0, 1},
    {"bmPD0_7", CapWord::Hardware, 1, 1},
    {"bmPD2_3", CapWord::Hardware, 2, 1},
    {"bmPD0_3", CapWord::Hardware, 3, 1},
    {"bmPE0_3", CapWord::Hardware, 4, 1},
    {"bmPD2_5", CapWord::Hardware, 5, 1},
    {"bmPD2_7", CapWord::Hardware, 6, 1},
    {"bmPD6", CapWord::Hardware, 7, 1},
    {"bmSnapIo0", CapWord::Hardware, 8, 1},
    {"bmSnapPC2", CapWord::Hardware, 9, 1},
    {"bmSnapPA1", CapWord::Hardware, 10, 1},
    {"bmOPT2", CapWord::Hardware, 11, 1},
    {"bmHasFpga", CapWord::Hardware, 12, 1},
    {"bmHasFifo", CapWord::Hardware, 13, 1},
    {"bmHasTmp101", CapWord::Hardware, 14, 1},
    {"bmE2PRomType", CapWord::Hardware, 15, 3},
    {"bmWorkingMode", CapWord::Firmware, 0, 1},
    {"bmResetDevice", CapWord::Firmware, 1, 1},
    {"bmSendPktEnd", CapWord::Firmware, 2, 1},
    {"bmReconnect", CapWord::Firmware, 3, 1},
    {"bmFastUpdate", CapWord::Firmware, 4, 1},
    {"bmProgramWorkingMode", CapWord::Firmware, 5, 1},
    {"bmProgramSerialsDesc", CapWord::Firmware, 6, 1},
    {"bmProgramLut", CapWord::Firmware, 7, 1},
    {"bmProgramGammaLut", CapWord::Firmware, 8, 1},
    {"bmProgramWorkingModeEx", CapWord::Firmware, 9, 1},
    {"bmProgramColorMode", CapWord::Firmware, 10, 1},
    {"bmProgramColorMatrix", CapWord::Firmware, 11, 1},
    {"bmSubCkNumInvert", CapWord::Firmware, 12, 1},
    {"bmReadFpgaDead", CapWord::Firmware, 13, 1},
    {"bmGetVersionStatus", CapWord::Firmware, 14, 1},
    {"bmGetVersionStatusEx", CapWord::Firmware, 15, 1},
    {"bmFixLast1Col", CapWord::Firmware, 16, 1},
    {"bmFixLast2Col", CapWord::Firmware, 17, 1},
    {"bmFixLast1Row", CapWord::Firmware, 18, 1},
    {"bmFixLast2Row", CapWord::Firmware, 19, 1},
    {"bmGetWorkingMode", CapWord::Fpga, 0, 1},
    {"bmTriggerModeExternal", CapWord::Fpga, 1, 1},
    {"bmTriggerModeSoftware", CapWord::Fpga, 2, 1},
    {"bmTriggerModeFixedFrameRate", CapWord::Fpga, 3, 1},
    {"bmLutEnable", CapWord::Fpga, 4, 1},
    {"bmTriggerMethodNegedge", CapWord::Fpga, 5, 1},
    {"bmTriggerMethodPosedge", CapWord::Fpga, 6, 1},
    {"bmTriggerMethodHig", CapWord::Fpga, 7, 1},
    {"bmTriggerMethodLow", CapWord::Fpga, 8, 1},
    {"bmEmptyFrameBuffer", CapWord::Fpga, 9, 1},
    {"bmSensitivityMode", CapWord::Fpga, 10, 1},
    {"bm16BitsTransfer", CapWord::Fpga, 11, 1},
    {"bmBadPixelCorrection", CapWord::Fpga, 12, 1},
    {"bmSetTriggerDelay", CapWord::Fpga, 13, 1},
    {"bmGetTriggerDelay", CapWord::Fpga, 14, 1},
    {"bmSetMultiFramesNum", CapWord::Fpga, 15, 1},
    {"bmGetMultiFramesNum", CapWord::Fpga, 16, 1},
    {"bmSetTriggerFixFrameRate", CapWord::Fpga, 17, 1},
    {"bmGetTriggerFixFrameRate", CapWord::Fpga, 18, 1},
    {"bmLutDownload", CapWord::Fpga, 19, 1},
    {"bmSetColorMode", CapWord::Fpga, 20, 1},
    {"bmGetColorMode", CapWord::Fpga, 21, 1},
    {"bmAwbPresettings", CapWord::Fpga, 22, 1},
    {"bmAwbPresettingsNum", CapWord::Fpga, 23, 3},
    {"bmAwbAutoOnce", CapWord::Fpga, 26, 1},
    {"bmAwbAutoContinuous", CapWord::Fpga, 27, 1},
    {"bmSetAwbMatrix", CapWord::Fpga, 28, 1},
    {"bmGetAwbMatrix", CapWord::Fpga, 29, 1},
    {"bmCcmPresettings", CapWord::Fpga, 30, 1},
    {"bmCcmPresettingsNum", CapWord::Fpga, 31, 3},
    {"bmCcmAutoOnce", CapWord::Fpga, 34, 1},
    {"bmCcmAutoContinuous", CapWord::Fpga, 35, 1},
    {"bmSetCcmMatrix", CapWord::Fpga, 36, 1},
    {"bmGetCcmMatrix", CapWord::Fpga, 37, 1},
    {"bmStrobeDelay", CapWord::Fpga, 38, 1},
    {"bmGpioNormal", CapWord::Fpga, 39, 1},
    {"bmIoFilter", CapWord::Fpga, 40, 1},
    {"bmWorkingModeEx", CapWord::Fpga, 41, 1},
    {"bmGammaLutEnable", CapWord::Fpga, 42, 1},
    {"bmWaterMarkMode", CapWord::Fpga, 43, 1},
    {"bmExposureLine", CapWord::Fpga, 44, 1},
    {"bmFixeFrameRateStep1uS", CapWord::Fpga, 45, 1},
    {"bmGammaLutDownload", CapWord::Fpga, 46, 1},
    {"bmTriggerModeHighLowFixFramerate", CapWord::Fpga, 47, 1},
};

const KeyPlace& PlaceOf(const std::string& key) {
    for (const KeyPlace& place : kKeyPlaces) {
        if (key == place.key)
            return place;
    }
    ADD_FAILURE() << "no place for " << key;
    return kKeyPlaces[0];
}

struct Words {
    std::uint64_t fpga;
    std::uint32_t firmware;
    std::uint32_t hardware;
    std::uint32_t sensor;
};

Words WordsOf(const DeviceCapability& cap) {
    return {cap.FpgaCapability, cap.FirmwareCapability, cap.HardwareCapability,
            cap.SensorCapability};
}

// Flips the bits of one field in a copy of the words.
Words Toggled(Words words, const KeyPlace& place, std::uint64_t newValue) {
    const std::uint64_t mask = ((std::uint64_t{1} << place.width) - 1) << place.shift;
    auto apply = [&](auto& word) {
        word = static_cast<std::remove_reference_t<decltype(word)>>((word & ~mask) |
                                                                    (newValue << place.shift));
    };
    switch (place.word) {
        case CapWord::Fpga:
            apply(words.fpga);
            break;
        case CapWord::Firmware:
            apply(words.firmware);
            break;
        case CapWord::Hardware:
            apply(words.hardware);
            break;
        case CapWord::Sensor:
            apply(words.sensor);
            break;
    }
    return words;
}

std::uint64_t FieldOf(const Words& words, const KeyPlace& place) {
    std::uint64_t word = 0;
    switch (place.word) {
        case CapWord::Fpga:
            word = words.fpga;
            break;
        case CapWord::Firmware:
            word = words.firmware;
            break;
        case CapWord::Hardware:
            word = words.hardware;
            break;
        case CapWord::Sensor:
            word = words.sensor;
            break;
    }
    return (word >> place.shift) & ((std::uint64_t{1} << place.width) - 1);
}

void ExpectWords(const DeviceCapability& cap, const Words& expected, const std::string& where) {
    EXPECT_EQ(cap.FpgaCapability, expected.fpga) << where;
    EXPECT_EQ(cap.FirmwareCapability, expected.firmware) << where;
    EXPECT_EQ(cap.HardwareCapability, expected.hardware) << where;
    EXPECT_EQ(cap.SensorCapability, expected.sensor) << where;
}

constexpr int kType = 17;  // a colour AR0130 camera
constexpr CapVersion kFirmware{1, 6};
constexpr CapVersion kFpga{9, 2};
const char* const kBaseSection = "AR0130-1280x960-C-17_1.6_CAP_BASE";
const char* const kFpgaSection = "AR0130-1280x960-C-17_9.2_CAP_FPGA";

// The open sequence's capability steps with the ini.
DeviceCapability Open(const plat::Ini& ini, int type = kType, CapVersion firmware = kFirmware,
                      CapVersion fpga = kFpga) {
    DeviceCapability cap;
    SetModelCapability(cap, type, firmware);
    ReadCapBaseFromIni(cap, ini, type, firmware);
    SetFpgaCapability(cap, type, firmware, fpga);
    ReadCapFpgaFromIni(cap, ini, type, fpga);
    return cap;
}

DeviceCapability PresetsOnly(int type = kType, CapVersion firmware = kFirmware,
                             CapVersion fpga = kFpga) {
    DeviceCapability cap;
    SetModelCapability(cap, type, firmware);
    SetFpgaCapability(cap, type, firmware, fpga);
    return cap;
}

TEST(CapabilityIni, SectionNamesCarryModelAndVersion) {
    EXPECT_EQ(CapBaseSectionName(kType, kFirmware), kBaseSection);
    EXPECT_EQ(CapFpgaSectionName(kType, kFpga), kFpgaSection);
    EXPECT_EQ(CapBaseSectionName(0, CapVersion{20, 20}), "MT9M001-1280x1024-C-00_20.20_CAP_BASE");
}

TEST(CapabilityIni, EmptyIniLeavesThePresets) {
    const IniFile file;
    const DeviceCapability cap = Open(file.Ini());
    const DeviceCapability presets = PresetsOnly();
    ExpectWords(cap, WordsOf(presets), "empty ini");
    EXPECT_EQ(cap.fPixClkMHz, presets.fPixClkMHz);
    EXPECT_EQ(cap.T, presets.T);
}

// Each key of each section changes its own field and nothing else.
TEST(CapabilityIni, EveryKeyOverridesItsOwnField) {
    const DeviceCapability presets = PresetsOnly();
    auto check = [&](const std::string& section, const std::string& key) {
        const KeyPlace& place = PlaceOf(key);
        const std::uint64_t preset = FieldOf(WordsOf(presets), place);
        const std::uint64_t wanted = preset == 0 ? 1 : 0;
        IniFile file;
        file.Put(section, key, std::to_string(wanted));
        ExpectWords(Open(file.Ini()), Toggled(WordsOf(presets), place, wanted), key);
    };
    for (std::size_t i = 1; i < kBaseKeys.size(); ++i) {
        check(kBaseSection, kBaseKeys[i]);
    }
    for (const std::string& key : kFpgaKeys) {
        check(kFpgaSection, key);
    }
}

TEST(CapabilityIni, ValuesAreReducedToTheFieldWidth) {
    struct Case {
        const char* section;
        const char* key;
        const char* text;
        std::uint64_t stored;
    };
    const Case cases[] = {
        {kBaseSection, "bmBayerMode", "5", 1},
        {kBaseSection, "bmFlip", "7", 1},
        {kBaseSection, "bmE2PRomType", "12", 4},
        {kFpgaSection, "bmResolution", "17", 1},
        {kFpgaSection, "bmAwbPresettingsNum", "9", 1},
        {kFpgaSection, "bmCcmPresettingsNum", "-1", 7},
        {kFpgaSection, "bmGpioNormal", "0x10", 0},
    };
    for (const Case& c : cases) {
        IniFile file;
        file.Put(c.section, c.key, c.text);
        const DeviceCapability cap = Open(file.Ini());
        EXPECT_EQ(FieldOf(WordsOf(cap), PlaceOf(c.key)), c.stored) << c.key << "=" << c.text;
        const Words expected = Toggled(WordsOf(PresetsOnly()), PlaceOf(c.key), c.stored);
        ExpectWords(cap, expected, c.key);
    }
}

TEST(CapabilityIni, MonoKeyZeroMakesAMonochromeModelColour) {
    IniFile file;
    file.Put("Sensor2592Family-2592x1944-M-09_1.0_CAP_BASE", "bmMono", "0");
    const DeviceCapability cap = Open(file.Ini(), 9, CapVersion{1, 0}, CapVersion{1, 0});
    EXPECT_EQ(cap.SensorCapability, 0x3000bfcu);
    EXPECT_EQ(cap.HardwareCapability, 0u);
    EXPECT_EQ(cap.FirmwareCapability, 0u);
    EXPECT_EQ(cap.FpgaCapability, 0u);
    EXPECT_EQ(cap.fPixClkMHz, 48.0f);
}

TEST(CapabilityIni, ResolutionIsReadFromTheFpgaSectionOnly) {
    IniFile file;
    file.Put(kBaseSection, "bmResolution", "8");
    EXPECT_EQ(Open(file.Ini()).SensorCapability, PresetsOnly().SensorCapability);
    file.Put(kFpgaSection, "bmResolution", "8");
    EXPECT_EQ(Open(file.Ini()).SensorCapability,
              (PresetsOnly().SensorCapability & ~0x3C00000u) | (8u << 22));
}

TEST(CapabilityIni, SectionOfAnotherVersionDoesNotApply) {
    IniFile file;
    file.Put("MT9M001-1280x1024-C-00_1.6_CAP_BASE", "bmMirror", "1");
    file.Put("MT9M001-1280x1024-C-00_1.6_CAP_BASE", "fPixClkMHz", "40");
    const DeviceCapability other = Open(file.Ini(), 0, CapVersion{1, 7}, CapVersion{0, 0});
    EXPECT_EQ(other.SensorCapability, 0x9b4u);
    EXPECT_EQ(other.fPixClkMHz, 48.0f);
    const DeviceCapability same = Open(file.Ini(), 0, CapVersion{1, 6}, CapVersion{0, 0});
    EXPECT_EQ(same.SensorCapability, 0x9bcu);
    EXPECT_EQ(same.fPixClkMHz, 40.0f);
    EXPECT_FLOAT_EQ(same.T, 1.0f / 40000.0f);
}

// The pixel clock text: a leading number counts; a clock that would make the
// clock period meaningless (zero, negative, not a number) is ignored.
TEST(CapabilityIni, PixelClockText) {
    struct Case {
        const char* text;
        float clock;
    };
    const Case cases[] = {
        {"40", 40.0f},
        {"  40.5abc", 40.5f},
        {"+62.5", 62.5f},
        {"74.250", 74.25f},
        {"", 50.6f},     // empty: the preset's own text
        {"abc", 50.6f},  // not a number
        {"0", 50.6f},
        {"-12", 50.6f},
        {"inf", 50.6f},
        {"nan", 50.6f},
        {"1e-300", 50.6f},
        // Only the first 31 characters count.
        {"0000000000000000000000000000001234", 1.0f},
        {"000000000000000000000000000000.5", 50.6f},
    };
    for (const Case& c : cases) {
        IniFile file;
        file.Put(kBaseSection, "fPixClkMHz", c.text);
        const DeviceCapability cap = Open(file.Ini());
        EXPECT_EQ(cap.fPixClkMHz, c.clock) << '"' << c.text << '"';
        EXPECT_FLOAT_EQ(cap.T, 1.0f / (c.clock * 1000.0f)) << '"' << c.text << '"';
    }
}

// The FPGA preset runs after the base section, so a clock of its rows wins.
TEST(CapabilityIni, FpgaRowClockReplacesTheIniClock) {
    IniFile file;
    file.Put("Sensor30xxFamily-3488x2616-C-25_1.6_CAP_BASE", "fPixClkMHz", "40");
    const DeviceCapability onRow = Open(file.Ini(), 25, CapVersion{1, 6}, CapVersion{5, 0});
    EXPECT_EQ(onRow.fPixClkMHz, 96.0f);
    EXPECT_FLOAT_EQ(onRow.T, 1.0f / 96000.0f);
    const DeviceCapability offRow = Open(file.Ini(), 25, CapVersion{1, 6}, CapVersion{4, 0});
    EXPECT_EQ(offRow.fPixClkMHz, 40.0f);
}

TEST(CapabilityIni, WriteBackHoldsEveryKeyInOrderAndReadsBackTheSame) {
    DeviceCapability cap = PresetsOnly();
    cap.Set(HardwareCap::bmE2PRomType, 5);
    cap.Set(FpgaCap::bmCcmPresettingsNum, 6);
    cap.Set(FpgaCap::bmTriggerModeHighLowFixFramerate, 1);
    cap.Set(FpgaCap::bmStreamMode, 1);  // preset-only bit: never written
    IniFile file;
    EXPECT_TRUE(WriteCapFpgaToIni(cap, file.Ini(), kType, kFpga));
    EXPECT_TRUE(WriteCapBaseToIni(cap, file.Ini(), kType, kFirmware));

    std::vector<std::pair<std::string, std::string>> expected;
    for (const std::string& key : kFpgaKeys)
        expected.push_back({kFpgaSection, key});
    for (const std::string& key : kBaseKeys)
        expected.push_back({kBaseSection, key});
    EXPECT_EQ(file.Entries(), expected);

    EXPECT_EQ(file.Value(kBaseSection, "fPixClkMHz"), "50.600");
    EXPECT_EQ(file.Value(kBaseSection, "bmBayerMode"), "1");
    EXPECT_EQ(file.Value(kBaseSection, "bmE2PRomType"), "5");
    EXPECT_EQ(file.Value(kFpgaSection, "bmCcmPresettingsNum"), "6");
    EXPECT_EQ(file.Value(kFpgaSection, "bmResolution"), "12");

    // Read back into a record that starts from other values.
    DeviceCapability reread;
    reread.SetPixClk(48.0f);
    reread.SensorCapability = cap.SensorCapability ^ 0x3FFFFFF;
    reread.HardwareCapability = cap.HardwareCapability ^ 0x3FFFF;
    reread.FirmwareCapability = cap.FirmwareCapability ^ 0xFFFFF;
    reread.FpgaCapability = (cap.FpgaCapability ^ 0xFFFFFFFFFFFF) & ~FpgaCap::bmStreamMode.Mask();
    ReadCapBaseFromIni(reread, file.Ini(), kType, kFirmware);
    ReadCapFpgaFromIni(reread, file.Ini(), kType, kFpga);
    EXPECT_EQ(reread.fPixClkMHz, cap.fPixClkMHz);
    ExpectWords(reread,
                Words{cap.FpgaCapability & ~FpgaCap::bmStreamMode.Mask(), cap.FirmwareCapability,
                      cap.HardwareCapability, cap.SensorCapability},
                "read back");

    // A second close rewrites the values in place.
    cap.Set(SensorCap::bmMono, 1);
    EXPECT_TRUE(WriteCapBaseToIni(cap, file.Ini(), kType, kFirmware));
    EXPECT_EQ(file.Entries(), expected);
    EXPECT_EQ(file.Value(kBaseSection, "bmMono"), "1");
}

TEST(CapabilityIni, DefaultClockIsWrittenWithThreeDecimals) {
    DeviceCapability cap;
    SetModelCapability(cap, 38, CapVersion{1, 0});
    IniFile file;
    WriteCapBaseToIni(cap, file.Ini(), 38, CapVersion{1, 0});
    EXPECT_EQ(file.Value("MT9M001-1280x1024-38_1.0_CAP_BASE", "fPixClkMHz"), "48.000");
    EXPECT_EQ(FormatPixClk(74.25f), "74.250");
    EXPECT_EQ(FormatPixClk(148.5f), "148.500");
}

// A file that cannot be written is reported, and reading it gives the presets.
TEST(CapabilityIni, UnwritableFileIsReported) {
    const IniFile file;
    const plat::Ini missingFolder(
        (file.Path().parent_path() / "no-such-folder" / "x.ini").string());
    const DeviceCapability cap = PresetsOnly();
    EXPECT_FALSE(WriteCapBaseToIni(cap, missingFolder, kType, kFirmware));
    EXPECT_FALSE(WriteCapFpgaToIni(cap, missingFolder, kType, kFpga));
    DeviceCapability reread = PresetsOnly();
    ReadCapBaseFromIni(reread, missingFolder, kType, kFirmware);
    ReadCapFpgaFromIni(reread, missingFolder, kType, kFpga);
    ExpectWords(reread, WordsOf(cap), "missing file");
    EXPECT_EQ(reread.fPixClkMHz, cap.fPixClkMHz);
}

}  // namespace
