#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "CamCore.h"
#include "CamCore_control.h"

namespace {

unsigned get16(const uint8_t* at) {
    return static_cast<unsigned>(at[0]) | (static_cast<unsigned>(at[1]) << 8);
}

std::string journal() {
    const int length = camsim_journal(nullptr, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    camsim_journal(&text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

class CamCoreTest : public ::testing::Test {
  protected:
    void start(const std::string& config) {
        camsim_reset(config.c_str());
        ASSERT_EQ(InitDevice("/station/"), 0);
        ASSERT_EQ(DeviceCount(), 1);
        name = DeviceName(0);
        ASSERT_FALSE(name.empty());
        rawSize = RecvMemSize(name.c_str());
        raw.assign(static_cast<size_t>(rawSize), 0xAB);
        image.assign(3 * static_cast<size_t>(rawSize), 0xCD);
    }
    void TearDown() override { camsim_reset(nullptr); }

    // One frame, read and decoded.
    void grab() {
        ASSERT_EQ(GetRawData(raw.data(), rawSize, name.c_str()), 0);
        ASSERT_EQ(DecodeRaw2Image(raw.data(), image.data(), name.c_str()), 0);
    }
    unsigned sample(int column, int row) const {
        const unsigned width = get16(&image[4]);
        const unsigned offset = get16(&image[12]);
        const size_t index = static_cast<size_t>(row) * width + column;
        return image[8] == 8 ? image[offset + index] : get16(&image[offset + 2 * index]);
    }

    std::string name;
    int rawSize = 0;
    std::vector<uint8_t> raw;
    std::vector<uint8_t> image;
};

TEST_F(CamCoreTest, CallsBeforeStartAndWithAnotherNameFailAndWriteNothing) {
    camsim_reset(nullptr);
    EXPECT_EQ(DeviceCount(), 0);
    EXPECT_STREQ(DeviceName(0), "");
    EXPECT_EQ(ExitDevice(), CAMCORE_E_NOT_STARTED);
    float celsius = 99.0f;
    EXPECT_EQ(GetTemperature(&celsius, "CoolCCD-16M #1"), CAMCORE_E_NOT_STARTED);
    EXPECT_EQ(celsius, 99.0f);

    start("noise=0");
    std::vector<uint8_t> untouched(raw);
    int minimum = -1, maximum = -1, fallback = -1;
    for (const char* other : {"", "CoolCCD", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(ResumeDevice(other), CAMCORE_E_UNKNOWN_DEVICE);
        EXPECT_EQ(GetTemperature(&celsius, other), CAMCORE_E_UNKNOWN_DEVICE);
        EXPECT_EQ(GetAnaloggainRange(&minimum, &maximum, &fallback, other),
                  CAMCORE_E_UNKNOWN_DEVICE);
        EXPECT_EQ(GetRawData(raw.data(), rawSize, other), CAMCORE_E_UNKNOWN_DEVICE);
    }
    EXPECT_EQ(celsius, 99.0f);
    EXPECT_EQ(minimum, -1);
    EXPECT_EQ(raw, untouched);
    EXPECT_EQ(DeviceState(name.c_str()), 0);
    EXPECT_EQ(ExitDevice(), 0);
    EXPECT_EQ(DeviceState(name.c_str()), CAMCORE_E_NOT_STARTED);
}

TEST_F(CamCoreTest, HeaderAndSizesFollowBinningAndDepth) {
    start("width=512;height=384;noise=0");
    EXPECT_EQ(rawSize, 16 + 512 * 384 * 2);
    EXPECT_EQ(DataHeadLen(name.c_str()), 16);
    struct Case {
        int resolution, bits, width, height;
    };
    const Case cases[] = {{0, 16, 512, 384}, {1, 16, 256, 192}, {2, 16, 128, 96},
                          {0, 8, 512, 384},  {1, 8, 256, 192},  {2, 8, 128, 96}};
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resolution * 100 + c.bits);
        ASSERT_EQ(SetResolution(c.resolution, name.c_str()), 0);
        ASSERT_EQ(SetRawDepth(c.bits, name.c_str()), 0);
        ASSERT_EQ(SetExposure(1.0f, name.c_str()), 0);
        int width = 0, height = 0;
        const int bytes = GetRawSize(&width, &height, name.c_str());
        EXPECT_EQ(bytes, 16 + c.width * c.height * c.bits / 8);
        image.assign(image.size(), 0xCD);
        grab();
        EXPECT_EQ(get16(&image[4]), static_cast<unsigned>(c.width));
        EXPECT_EQ(get16(&image[6]), static_cast<unsigned>(c.height));
        EXPECT_EQ(image[8], c.bits);
        EXPECT_EQ(image[9], 1);
        EXPECT_EQ(get16(&image[10]), static_cast<unsigned>(CAMCORE_FRAME_MAGIC));
        EXPECT_EQ(get16(&image[12]), 16u);
        // The decode writes the frame and nothing beyond it.
        EXPECT_EQ(image[static_cast<size_t>(bytes)], 0xCD);
        EXPECT_NE(image[static_cast<size_t>(bytes) - 1], 0xCD);
    }
    EXPECT_EQ(SetResolution(3, name.c_str()), CAMCORE_E_ARGUMENT);
    EXPECT_EQ(SetRawDepth(12, name.c_str()), CAMCORE_E_ARGUMENT);
    EXPECT_EQ(GetResolution(name.c_str()), 2);
    EXPECT_EQ(GetRawDepth(name.c_str()), 8);
}

TEST_F(CamCoreTest, LevelFollowsExposureGainAndBinningAndSaturates) {
    start("width=64;height=32;scene=whole-bright;noise=0;signal=300;time_scale=0");
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    struct Case {
        float exposureMs;
        int gain, resolution, bits, blackLevel;
        unsigned expected;
    };
    const Case cases[] = {
        {100.0f, 200, 0, 16, 10, 130},        // 100 + 300 x 0.1
        {1000.0f, 400, 0, 16, 10, 700},       // gain doubles the signal
        {1000.0f, 200, 2, 16, 10, 4900},      // 4 x 4 binning: 16 pixels
        {1000.0f, 200, 1, 16, 0, 1200},       // no black level
        {600000.0f, 1000, 0, 16, 10, 65535},  // saturated
        {20000.0f, 200, 0, 8, 10, 23},        // (100 + 6000) >> 8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ASSERT_EQ(SetExposure(c.exposureMs, name.c_str()), 0);
        ASSERT_EQ(SetAnaloggain(c.gain, name.c_str()), 0);
        ASSERT_EQ(SetResolution(c.resolution, name.c_str()), 0);
        ASSERT_EQ(SetRawDepth(c.bits, name.c_str()), 0);
        ASSERT_EQ(SetBlacklevel(c.blackLevel, name.c_str()), 0);
        grab();
        EXPECT_EQ(sample(0, 0), c.expected);
        EXPECT_EQ(sample(3, 5), c.expected);
    }
    EXPECT_FLOAT_EQ(GetExposure(name.c_str()), 20000.0f);
    int minimum = 0, maximum = 0, fallback = 0;
    ASSERT_EQ(GetAnaloggainRange(&minimum, &maximum, &fallback, name.c_str()), 0);
    EXPECT_EQ(minimum, 1);
    EXPECT_EQ(maximum, 1000);
    EXPECT_EQ(fallback, 200);
    EXPECT_EQ(SetAnaloggain(1001, name.c_str()), CAMCORE_E_ARGUMENT);
    EXPECT_EQ(SetExposure(0.0f, name.c_str()), CAMCORE_E_ARGUMENT);
    EXPECT_EQ(GetAnaloggain(name.c_str()), 200);
}

TEST_F(CamCoreTest, BandsStandOutOfTheBackgroundAndNoiseIsSeeded) {
    // Lane 3 of 8 holds the brightest band in the middle row: 65 counts a
    // second at its centre, on a background glow of 0.02 of that on the
    // membrane.
    start("width=256;height=128;scene=bands;noise=16;seed=7;time_scale=0");
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    ASSERT_EQ(SetExposure(10000.0f, name.c_str()), 0);
    grab();
    unsigned brightest = 0;
    int brightestColumn = 0;
    for (int row = 0; row < 128; ++row) {
        for (int column = 0; column < 256; ++column) {
            if (sample(column, row) > brightest) {
                brightest = sample(column, row);
                brightestColumn = column;
            }
        }
    }
    // Near the spot's centre: the nearest pixel centre lies a fifth of the
    // band's half height off it.
    EXPECT_GT(brightest, 100.0 + 0.75 * 650.0);
    EXPECT_LE(brightest, 100.0 + 650.0 + 16.0);
    // Lane 3 of the membrane, which fills the middle 80 % of the picture.
    EXPECT_EQ((brightestColumn - 256 / 10) / (256 * 8 / 10 / 8), 3);
    EXPECT_NEAR(sample(40, 20), 100.0 + 13.0, 16.0);  // the membrane's glow
    EXPECT_NEAR(sample(2, 2), 100.0, 16.0);           // off the membrane
    const std::vector<uint8_t> first(image);

    camsim_reset("width=256;height=128;scene=bands;noise=16;seed=7;time_scale=0");
    ASSERT_EQ(InitDevice("/station/"), 0);
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    ASSERT_EQ(SetExposure(10000.0f, name.c_str()), 0);
    grab();
    EXPECT_EQ(image, first);
}

TEST_F(CamCoreTest, TheBlotLightBrightensTheMembrane) {
    const std::string world =
        std::string(std::getenv("VARNU_TEST_SCRATCH") ? std::getenv("VARNU_TEST_SCRATCH") : ".") +
        "/world.txt";
    start("width=64;height=32;scene=dark;noise=0;time_scale=0;world_file=" + world);
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    struct Case {
        const char* worldText;
        int override;
        bool bright;
    };
    const Case cases[] = {{"power=1\nblot=1\nfilter=460\n", -1, true},
                          {"power=1\nblot=0\n", -1, false},
                          {"blot=0\n", 1, true},
                          {"blot=1\n", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.worldText);
        std::ofstream(world, std::ios::trunc) << c.worldText;
        camsim_set_blot_light(c.override);
        grab();
        // 100 + 160000 x 0.1 on the membrane, the black level outside it.
        EXPECT_EQ(sample(32, 16), c.bright ? 16100u : 100u);
        EXPECT_EQ(sample(1, 1), 100u);
    }
    std::remove(world.c_str());
    camsim_set_blot_light(-1);
    grab();
    EXPECT_EQ(sample(32, 16), 100u);
}

// The blot as a chemiluminescence imager sees it with the default
// configuration: at the station's first-start preview (200 ms, gain 200,
// full resolution) the lit membrane is mid-grey with the bands darker on
// it, and without the light the bands are far too faint; they need seconds
// to minutes at the capture gain.
TEST_F(CamCoreTest, TheBlotAtPreviewAndCaptureSettings) {
    start("time_scale=0");
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    const int width = 512;
    const int height = 384;
    // The brightest band's centre (lane 3 of the membrane, which fills the
    // middle 80 %; middle row) and the bare membrane between lanes 3 and 4.
    const int bandColumn = width / 10 + width * 8 / 10 * 7 / 16;
    const int bareColumn = width / 2;
    const int middleRow = height / 2;
    struct Case {
        int bits;
        bool light;
        float exposureMs;
        int gain;
        double membraneLow, membraneHigh;  // shares of full scale
        double bandsLow, bandsHigh;        // the brightest band
    };
    const Case cases[] = {
        {16, true, 200.0f, 200, 0.30, 0.70, 0.0, 0.70},
        {8, true, 200.0f, 200, 0.30, 0.70, 0.0, 0.70},
        {16, false, 200.0f, 200, 0.0, 0.05, 0.0, 0.05},
        {8, false, 200.0f, 200, 0.0, 0.05, 0.0, 0.05},
        {16, false, 1000.0f, 585, 0.0, 0.05, 0.0, 0.05},
        {16, false, 60000.0f, 585, 0.0, 0.05, 0.1, 0.5},
        {16, false, 600000.0f, 585, 0.0, 0.1, 0.99, 1.0},  // saturated
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + (c.light ? " lit " : " dark ") +
                     std::to_string(c.exposureMs) + " ms gain " + std::to_string(c.gain));
        camsim_set_blot_light(c.light ? 1 : 0);
        ASSERT_EQ(SetRawDepth(c.bits, name.c_str()), 0);
        ASSERT_EQ(SetExposure(c.exposureMs, name.c_str()), 0);
        ASSERT_EQ(SetAnaloggain(c.gain, name.c_str()), 0);
        grab();
        const double full = c.bits == 8 ? 255.0 : 65535.0;
        const double membrane = sample(bareColumn, middleRow) / full;
        const double band = sample(bandColumn, middleRow) / full;
        EXPECT_GE(membrane, c.membraneLow);
        EXPECT_LE(membrane, c.membraneHigh);
        EXPECT_GE(band, c.bandsLow);
        EXPECT_LE(band, c.bandsHigh);
        if (c.light) {
            // The band stands out of the membrane.
            EXPECT_LT(band, membrane - 0.15);
        }
    }
    camsim_set_blot_light(-1);
}

TEST_F(CamCoreTest, FrameNumbersSitInTheFirstFourBytes) {
    start("width=32;height=16;time_scale=0");
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    std::vector<uint8_t> second(raw.size());
    ASSERT_EQ(GetRawData(raw.data(), rawSize, name.c_str()), 0);
    ASSERT_EQ(GetRawData(second.data(), rawSize, name.c_str()), 0);
    EXPECT_EQ(get16(&raw[0]) | (get16(&raw[2]) << 16), 1u);
    EXPECT_EQ(get16(&second[0]) | (get16(&second[2]) << 16), 2u);
    ASSERT_EQ(DecodeRaw2Image(second.data(), image.data(), name.c_str()), 0);
    EXPECT_EQ(camsim_frames_grabbed(), 2);
    EXPECT_EQ(camsim_frames_decoded(), 1);
    EXPECT_EQ(camsim_last_decoded_frame(), 2u);
    EXPECT_EQ(CalcFlatfield(second.data(), 1, name.c_str()), 0);

    // A buffer that is not a frame of this camera is refused.
    std::vector<uint8_t> foreign(raw.size(), 0);
    EXPECT_EQ(DecodeRaw2Image(foreign.data(), image.data(), name.c_str()), CAMCORE_E_ARGUMENT);
    EXPECT_EQ(CalcFlatfield(foreign.data(), 1, name.c_str()), CAMCORE_E_ARGUMENT);
    EXPECT_EQ(GetRawData(raw.data(), rawSize - 1, name.c_str()), CAMCORE_E_BUFFER);
    EXPECT_EQ(camsim_frames_decoded(), 1);
}

TEST_F(CamCoreTest, ScriptedFailuresAnswerTheirCodeAndChangeNothing) {
    start("width=32;height=16;time_scale=0");
    struct Case {
        const char* function;
        int (*call)(const std::string&);
    };
    const Case cases[] = {
        {"ResumeDevice", [](const std::string& n) { return ResumeDevice(n.c_str()); }},
        {"SetResolution", [](const std::string& n) { return SetResolution(1, n.c_str()); }},
        {"SetExposure", [](const std::string& n) { return SetExposure(77.0f, n.c_str()); }},
        {"SetAnaloggain", [](const std::string& n) { return SetAnaloggain(9, n.c_str()); }},
        {"SetBlacklevel", [](const std::string& n) { return SetBlacklevel(3, n.c_str()); }},
        {"SetPixelclock", [](const std::string& n) { return SetPixelclock(3, n.c_str()); }},
        {"SetRawDepth", [](const std::string& n) { return SetRawDepth(8, n.c_str()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        camsim_fail(c.function, 2, CAMCORE_E_DEVICE);
        EXPECT_EQ(c.call(name), CAMCORE_E_DEVICE);
        EXPECT_EQ(c.call(name), CAMCORE_E_DEVICE);
    }
    EXPECT_EQ(DeviceState(name.c_str()), 0);
    EXPECT_EQ(GetResolution(name.c_str()), 0);
    EXPECT_FLOAT_EQ(GetExposure(name.c_str()), 100.0f);
    EXPECT_EQ(GetAnaloggain(name.c_str()), 200);
    EXPECT_EQ(GetBlacklevel(name.c_str()), 10);
    EXPECT_EQ(GetPixelclock(name.c_str()), 0);
    EXPECT_EQ(GetRawDepth(name.c_str()), 16);
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(name), 0) << c.function;
    }

    camsim_fail("GetRawData", 3, CAMCORE_E_DEVICE);
    std::vector<uint8_t> untouched(raw);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(GetRawData(raw.data(), rawSize, name.c_str()), CAMCORE_E_DEVICE);
    }
    EXPECT_EQ(raw, untouched);
    EXPECT_EQ(GetRawData(raw.data(), rawSize, name.c_str()), 0);
    camsim_fail("DecodeRaw2Image", -1, CAMCORE_E_DEVICE);
    EXPECT_EQ(DecodeRaw2Image(raw.data(), image.data(), name.c_str()), CAMCORE_E_DEVICE);
    EXPECT_EQ(DecodeRaw2Image(raw.data(), image.data(), name.c_str()), CAMCORE_E_DEVICE);
    camsim_fail("DecodeRaw2Image", 0, 0);
    EXPECT_EQ(DecodeRaw2Image(raw.data(), image.data(), name.c_str()), 0);

    camsim_fail("DeviceCount", 1, 0);
    EXPECT_EQ(DeviceCount(), 0);
    EXPECT_EQ(DeviceCount(), 1);

    camsim_fail("ExitDevice", 1, CAMCORE_E_DEVICE);
    EXPECT_EQ(ExitDevice(), CAMCORE_E_DEVICE);
    EXPECT_EQ(DeviceState(name.c_str()), 1);  // still started, still running
    EXPECT_EQ(ExitDevice(), 0);
    camsim_fail("InitDevice", 1, CAMCORE_E_DEVICE);
    EXPECT_EQ(InitDevice("/station/"), CAMCORE_E_DEVICE);
    EXPECT_EQ(DeviceCount(), 0);
    EXPECT_EQ(InitDevice("/station/"), 0);
}

TEST_F(CamCoreTest, NoCameraConnected) {
    camsim_reset("devices=0");
    ASSERT_EQ(InitDevice("/station/"), 0);
    EXPECT_EQ(DeviceCount(), 0);
    EXPECT_STREQ(DeviceName(0), "");
    EXPECT_EQ(ResumeDevice(""), CAMCORE_E_UNKNOWN_DEVICE);
}

TEST_F(CamCoreTest, ReadsFailWhileSuspendedAndAStalledReadEndsOnSuspend) {
    start("width=32;height=16;time_scale=0");
    EXPECT_EQ(GetRawData(raw.data(), rawSize, name.c_str()), CAMCORE_E_NOT_RUNNING);
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    EXPECT_EQ(DeviceState(name.c_str()), 1);

    camsim_stall_reads(1);
    int result = 1;
    std::thread reader([&] { result = GetRawData(raw.data(), rawSize, name.c_str()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(camsim_frames_grabbed(), 0);
    ASSERT_EQ(SuspendDevice(name.c_str()), 0);
    reader.join();
    EXPECT_EQ(result, CAMCORE_E_NOT_RUNNING);

    // Lifting the stall delivers the frame.
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    std::thread second([&] { result = GetRawData(raw.data(), rawSize, name.c_str()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    camsim_stall_reads(0);
    second.join();
    EXPECT_EQ(result, 0);
}

TEST_F(CamCoreTest, AResetDropsTheFrameBeingExposedAndKeepsTheSettings) {
    start("width=32;height=16;time_scale=1;max_wait_ms=5000");
    ASSERT_EQ(ResumeDevice(name.c_str()), 0);
    ASSERT_EQ(SetExposure(5000.0f, name.c_str()), 0);
    int result = 1;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        result = GetRawData(raw.data(), rawSize, name.c_str());
        done = true;
    });
    // The reader may start its read only after a reset on a busy machine: reset until the
    // read has ended, well before its exposure would.
    const auto start = std::chrono::steady_clock::now();
    while (!done && std::chrono::steady_clock::now() - start < std::chrono::milliseconds(4000)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(ResetDevice(name.c_str()), 0);
    }
    reader.join();
    EXPECT_EQ(result, CAMCORE_E_DEVICE);
    EXPECT_EQ(DeviceState(name.c_str()), 1);
    EXPECT_FLOAT_EQ(GetExposure(name.c_str()), 5000.0f);
}

TEST_F(CamCoreTest, TheSensorCoolsTowardsItsSetPoint) {
    struct Case {
        const char* config;
        float expected;
    };
    const Case cases[] = {{"ambient=25;setpoint=-10;cool_ms=1", -10.0f},
                          {"ambient=25;setpoint=-10;cool_ms=1000000000", 25.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        start(c.config);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        float celsius = 0.0f;
        ASSERT_EQ(GetTemperature(&celsius, name.c_str()), 0);
        EXPECT_NEAR(celsius, c.expected, 0.01);
        EXPECT_EQ(GetTemperature(nullptr, name.c_str()), CAMCORE_E_ARGUMENT);
    }
}

TEST_F(CamCoreTest, TheJournalListsEveryCallWithItsResult) {
    start("width=32;height=16;time_scale=0");
    camsim_clear_journal();
    SetExposure(5000.0f, name.c_str());
    SetAnaloggain(0, name.c_str());
    SuspendDevice(name.c_str());
    ExitDevice();
    EXPECT_EQ(journal(),
              "SetExposure 5000 -> 0\nSetAnaloggain 0 -> -3\nSuspendDevice -> 0\n"
              "ExitDevice -> 0\n");
    char small[8];
    EXPECT_EQ(camsim_journal(small, sizeof small), static_cast<int>(journal().size()));
    EXPECT_STREQ(small, "SetExpo");
}

}  // namespace
