#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "darkroom/ControlChannel.h"
#include "darkroom/WorldFile.h"

#include <unistd.h>

#include <fstream>
#include <iterator>

using darkroom::Controller;
using darkroom::handleControlLine;

TEST(ControlChannel, AnswersEachCommand) {
    struct Case {
        const char* line;
        std::vector<std::string> lines;
        std::vector<uint8_t> send;
    };
    const std::vector<Case> cases = {
        {"send 0e 0F 0x10", {"ok"}, {0x0E, 0x0F, 0x10}},
        {"send", {"error send needs at least one byte"}, {}},
        {"send 0e zz", {"error not a hex byte: zz"}, {}},
        {"send 123", {"error not a hex byte: 123"}, {}},
        {"mute", {"ok"}, {}},
        {"state",
         {"state power=0 light=none blot=0 fluorescence=none filter=none motion=none "
          "zoom=500.0 focus=500.0 iris=500.0 shutdown=0 muted=1",
          "ok"},
         {}},
        {"unmute", {"ok"}, {}},
        {"journal", {"0 inject 0e 0f 10", "ok"}, {}},
        {"clear", {"ok"}, {}},
        {"journal", {"ok"}, {}},
        {"bogus", {"error unknown command: bogus"}, {}},
        {"", {"error empty command"}, {}},
    };
    Controller controller;
    for (const Case& c : cases) {
        const darkroom::ControlResult result = handleControlLine(controller, c.line, 0);
        EXPECT_EQ(result.lines, c.lines) << c.line;
        EXPECT_EQ(result.send, c.send) << c.line;
        EXPECT_FALSE(result.quit) << c.line;
    }
    EXPECT_TRUE(handleControlLine(controller, "quit", 0).quit);
}

namespace darkroom {
namespace {

TEST(WorldFileTest, LensCommandAndPublishedMotion) {
    Controller controller(0, true);
    ControlResult set = handleControlLine(controller, "lens focus 300", 0);
    EXPECT_EQ(set.lines.back(), "ok");
    EXPECT_DOUBLE_EQ(controller.state(0).focus, 300.0);
    EXPECT_EQ(handleControlLine(controller, "lens focus", 0).lines.back().rfind("error", 0), 0u);
    EXPECT_EQ(handleControlLine(controller, "lens tilt 3", 0).lines.back().rfind("error", 0), 0u);
    EXPECT_DOUBLE_EQ((handleControlLine(controller, "lens iris 5000", 0), controller.state(0).iris),
                     1000.0);

    const uint8_t focusIn = cmd::FocusIn;
    controller.receive(&focusIn, 1, 0);
    const std::string moving = formatWorld(controller, 1000, 42);
    EXPECT_NE(moving.find("epoch_ms=42\n"), std::string::npos);
    EXPECT_NE(moving.find("motion=focus-in\n"), std::string::npos);
    EXPECT_NE(moving.find("focus=450.0\nfocus_rate=150.0\n"), std::string::npos);
    // The travel of a moving axis alone asks for no rewrite.
    const std::string whileMoving = worldSignature(controller, 1000);
    EXPECT_EQ(whileMoving, worldSignature(controller, 2000));
    const uint8_t stop = cmd::LensStop;
    controller.receive(&stop, 1, 2000);
    EXPECT_NE(worldSignature(controller, 2000), whileMoving);

    const std::string path = ::testing::TempDir() + "darkroom_world_" + std::to_string(::getpid());
    ASSERT_TRUE(writeWorldFile(path, moving));
    std::ifstream in(path);
    const std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(back, moving);
    EXPECT_FALSE(writeWorldFile("/nonexistent-folder/world.txt", moving));
}

}  // namespace
}  // namespace darkroom
