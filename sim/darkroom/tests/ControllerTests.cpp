#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "darkroom/ControlChannel.h"
#include "darkroom/Controller.h"

using darkroom::Controller;
using darkroom::ControllerState;
using darkroom::JournalEntry;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes frame(uint8_t command, const Bytes& data) {
    Bytes out = {0x68, 0xA0, command, static_cast<uint8_t>(data.size())};
    out.insert(out.end(), data.begin(), data.end());
    uint8_t check = 0;
    for (uint8_t byte : out) {
        check ^= byte;
    }
    out.push_back(check);
    return out;
}

Bytes send(Controller& controller, const Bytes& bytes, uint64_t nowMs = 0) {
    return controller.receive(bytes.data(), bytes.size(), nowMs);
}

struct ToggleCase {
    const char* name;
    bool powerOn;
    Bytes commands;  // sent one at a time
    Bytes replies;   // every status byte, in order
    darkroom::Source source;
    bool power;
};

}  // namespace

TEST(Controller, TogglesAndStatusRequestsAnswerWithStatusBytes) {
    using S = darkroom::Source;
    const std::vector<ToggleCase> cases = {
        {"status request while off", false, {0x1D}, {0x0D}, S::None, false},
        {"status request while on", true, {0x1D}, {0x0C}, S::None, true},
        {"power toggles on then off", false, {0x02, 0x02}, {0x0C, 0x0D}, S::None, false},
        {"white light on and off", true, {0x05, 0x05}, {0x0E, 0x0F}, S::None, true},
        {"each uv lamp",
         true,
         {0x04, 0x04, 0x03, 0x03, 0x15, 0x15, 0x16, 0x16},
         {0x10, 0x11, 0x12, 0x13, 0x17, 0x18, 0x19, 0x1A},
         S::None,
         true},
        {"one source at a time: the new one replaces the old silently",
         true,
         {0x05, 0x03, 0x16},
         {0x0E, 0x12, 0x19},
         S::UV4,
         true},
        {"toggling the replaced source switches it on again",
         true,
         {0x05, 0x04, 0x05},
         {0x0E, 0x10, 0x0E},
         S::White,
         true},
        {"lamps need power", false, {0x05, 0x04, 0x15}, {}, S::None, false},
        {"power off switches the lamp off",
         true,
         {0x15, 0x02, 0x1D},
         {0x17, 0x0D, 0x0D},
         S::None,
         false},
        {"lens and unknown bytes have no answer",
         true,
         {0x06, 0x14, 0x09, 0x14, 0x1B, 0x00},
         {},
         S::None,
         true},
    };
    for (const ToggleCase& c : cases) {
        Controller controller(0, c.powerOn);
        Bytes replies;
        for (uint8_t command : c.commands) {
            const Bytes answer = send(controller, {command});
            replies.insert(replies.end(), answer.begin(), answer.end());
        }
        EXPECT_EQ(replies, c.replies) << c.name;
        const ControllerState state = controller.state(0);
        EXPECT_EQ(state.source, c.source) << c.name;
        EXPECT_EQ(state.power, c.power) << c.name;
    }
}

TEST(Controller, SeveralCommandsInOneReadAreAllAnswered) {
    Controller controller;
    EXPECT_EQ(send(controller, {0x02, 0x05, 0x05, 0x1D}), (Bytes{0x0C, 0x0E, 0x0F, 0x0C}));
}

TEST(Controller, FramedCommandsSetLightsFilterAndShutDown) {
    using F = darkroom::Fluorescence;
    struct FrameCase {
        Bytes data;
        uint8_t command;
        int filter;
        bool blot;
        F fluorescence;
    };
    // Applied in order to one controller; each row gives the state after it.
    const std::vector<FrameCase> cases = {
        {{0x12}, 0xF1, 1, false, F::None},
        {{0x16}, 0xF1, 5, false, F::None},
        {{0x11}, 0xF1, 0, false, F::None},
        {{0x17}, 0xF1, 0, false, F::None},  // no such position: ignored
        {{0x01, 0x02}, 0xF2, 0, true, F::None},
        {{0xC1}, 0xF2, 0, false, F::None},
        {{0x01, 0xC8, 0xC9, 0xCA, 0x07}, 0xF3, 0, false, F::Red},
        {{0x01, 0xC7, 0xC9, 0xCA, 0x08}, 0xF3, 0, false, F::Green},
        {{0x01, 0xC7, 0xC8, 0xCA, 0x09}, 0xF3, 0, false, F::Blue},
        {{0x01, 0xC7, 0xC8, 0xC9, 0x0A}, 0xF3, 0, false, F::NearIR},
        {{0x01, 0xC7, 0xC8, 0xC9, 0x09}, 0xF3, 0, false, F::NearIR},  // inconsistent: ignored
        {{0xC1}, 0xF3, 0, false, F::None},
    };
    Controller controller;
    for (size_t i = 0; i < cases.size(); ++i) {
        const FrameCase& c = cases[i];
        EXPECT_TRUE(send(controller, frame(c.command, c.data)).empty()) << i;
        const ControllerState state = controller.state(0);
        EXPECT_EQ(state.filter, c.filter) << i;
        EXPECT_EQ(state.blotLight, c.blot) << i;
        EXPECT_EQ(state.fluorescence, c.fluorescence) << i;
    }
    send(controller, frame(0xCC, {15}));
    EXPECT_EQ(controller.state(0).shutDownMinutes, 15);
    for (const JournalEntry& entry : controller.journal().entries()) {
        EXPECT_EQ(entry.kind, JournalEntry::Kind::Frame);
    }
}

TEST(Controller, FrameWithBadCheckByteIsJournalledAndIgnored) {
    Controller controller;
    Bytes bad = frame(0xF1, {0x13});
    bad.back() ^= 0x01;
    send(controller, bad);
    send(controller, frame(0xF1, {0x14}));
    EXPECT_EQ(controller.state(0).filter, 3);
    const auto& entries = controller.journal().entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, JournalEntry::Kind::BadFrame);
    EXPECT_EQ(entries[0].bytes, bad);
    EXPECT_EQ(entries[1].kind, JournalEntry::Kind::Frame);
    EXPECT_EQ(entries[1].note, "filter 590");
}

TEST(Controller, LensAxesMoveUntilStoppedAndStopAtTheirEnds) {
    Controller controller(0, true);
    send(controller, {0x09}, 1000);  // focus out
    EXPECT_DOUBLE_EQ(controller.state(2000).focus, Controller::kLensStart - 150.0);
    send(controller, {0x14}, 3000);
    EXPECT_DOUBLE_EQ(controller.state(9000).focus, Controller::kLensStart - 300.0);
    EXPECT_EQ(controller.state(9000).motion, darkroom::Motion::None);

    send(controller, {0x06}, 10000);  // zoom in, for long enough to reach the end stop
    EXPECT_DOUBLE_EQ(controller.state(20000).zoom, Controller::kLensMax);
    // A new motion replaces the running one.
    send(controller, {0x0B}, 20000);
    EXPECT_DOUBLE_EQ(controller.state(21000).zoom, Controller::kLensMax);
    EXPECT_DOUBLE_EQ(controller.state(21000).iris, Controller::kLensStart - 150.0);
    EXPECT_DOUBLE_EQ(controller.state(21000).focus, Controller::kLensStart - 300.0);
}

TEST(Controller, TimeScaleSpeedsUpTheLens) {
    Controller controller;
    controller.setTimeScale(20);
    send(controller, {0x08}, 0);
    EXPECT_DOUBLE_EQ(controller.state(100).focus, Controller::kLensStart + 300.0);
}

TEST(Controller, TimedShutDownSwitchesEverythingOffAfterIdleMinutes) {
    Controller controller(0, true);
    send(controller, frame(0xCC, {2}), 0);
    send(controller, {0x05}, 1000);
    send(controller, frame(0xF2, {0x01, 0x02}), 1000);
    EXPECT_EQ(controller.nextDeadline(), 1000u + 2 * 60000u);
    EXPECT_TRUE(controller.advance(1000 + 2 * 60000 - 1).empty());
    EXPECT_EQ(controller.advance(1000 + 2 * 60000), (Bytes{0x0D}));
    const ControllerState state = controller.state(200000);
    EXPECT_FALSE(state.power);
    EXPECT_EQ(state.source, darkroom::Source::None);
    EXPECT_FALSE(state.blotLight);
    // Off now: nothing more to shut down.
    EXPECT_EQ(controller.nextDeadline(), UINT64_MAX);

    send(controller, frame(0xCC, {0}), 300000);
    send(controller, {0x02}, 300000);
    EXPECT_EQ(controller.nextDeadline(), UINT64_MAX);
}

TEST(Controller, MutedControllerActsButSendsNothing) {
    Controller controller;
    controller.setMuted(true);
    EXPECT_TRUE(send(controller, {0x02}).empty());
    EXPECT_TRUE(controller.state(0).power);
    EXPECT_EQ(controller.journal().entries().back().kind, JournalEntry::Kind::Muted);
    controller.setMuted(false);
    EXPECT_EQ(send(controller, {0x1D}), (Bytes{0x0C}));
}

TEST(Controller, JournalKeepsOrderAndTime) {
    Controller controller;
    send(controller, {0x02}, 5);
    send(controller, frame(0xF1, {0x12}), 7);
    std::vector<std::string> lines;
    for (const JournalEntry& entry : controller.journal().entries()) {
        lines.push_back(darkroom::formatEntry(entry));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"5 raw 02 [power toggle]", "5 reply 0c",
                                               "7 frame 68 a0 f1 01 12 2a [filter 460]"}));
}
