#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "darkroom/ControlChannel.h"

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
