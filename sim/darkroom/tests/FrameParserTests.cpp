#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "darkroom/FrameParser.h"
#include "darkroom/Journal.h"

using darkroom::FrameParser;
using darkroom::ParsedInput;

namespace {

// "raw 02", "frame 68 a0 ...", "bad 68 a0 ..." for each unit the parser produced.
std::vector<std::string> describe(const std::vector<ParsedInput>& inputs) {
    std::vector<std::string> out;
    for (const ParsedInput& input : inputs) {
        const char* kind = input.kind == ParsedInput::Kind::RawByte ? "raw "
                           : input.kind == ParsedInput::Kind::Frame ? "frame "
                                                                    : "bad ";
        out.push_back(kind + darkroom::toHex(input.bytes));
    }
    return out;
}

struct ParseCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<std::string> expected;
};

}  // namespace

TEST(FrameParser, SplitsStreamsIntoBytesAndFrames) {
    const std::vector<ParseCase> cases = {
        {"single raw bytes", {0x02, 0x1D, 0x14}, {"raw 02", "raw 1d", "raw 14"}},
        {"blot light on",
         {0x68, 0xA0, 0xF2, 0x02, 0x01, 0x02, 0x3B},
         {"frame 68 a0 f2 02 01 02 3b"}},
        {"filter 460", {0x68, 0xA0, 0xF1, 0x01, 0x12, 0x2A}, {"frame 68 a0 f1 01 12 2a"}},
        {"frame without data", {0x68, 0xA0, 0xF2, 0x00, 0x3A}, {"frame 68 a0 f2 00 3a"}},
        {"raw bytes around a frame",
         {0x05, 0x68, 0xA0, 0xF1, 0x01, 0x12, 0x2A, 0x14},
         {"raw 05", "frame 68 a0 f1 01 12 2a", "raw 14"}},
        {"bad check byte is rejected and the next byte read afresh",
         {0x68, 0xA0, 0xF1, 0x01, 0x12, 0x2B, 0x05},
         {"bad 68 a0 f1 01 12 2b", "raw 05"}},
        {"68 without a0", {0x68, 0x05}, {"bad 68", "raw 05"}},
        {"68 followed by 68 starts again",
         {0x68, 0x68, 0xA0, 0xF2, 0x00, 0x3A},
         {"bad 68", "frame 68 a0 f2 00 3a"}},
    };
    for (const ParseCase& c : cases) {
        FrameParser parser;
        std::vector<ParsedInput> out;
        for (uint8_t byte : c.stream) {
            parser.feed(byte, 0, out);
        }
        EXPECT_EQ(describe(out), c.expected) << c.name;
        EXPECT_FALSE(parser.inFrame()) << c.name;
    }
}

TEST(FrameParser, AbandonsAFrameWhoseBytesStopComing) {
    FrameParser parser;
    std::vector<ParsedInput> out;
    parser.feed(0x68, 1000, out);
    parser.feed(0xA0, 1005, out);
    parser.feed(0xF1, 1010, out);
    EXPECT_EQ(parser.deadline(), 1010 + FrameParser::kInterByteTimeoutMs);
    parser.expire(1010 + FrameParser::kInterByteTimeoutMs - 1, out);
    EXPECT_TRUE(out.empty());
    // The lost bytes never swallow the command that follows.
    parser.feed(0x05, 1010 + FrameParser::kInterByteTimeoutMs, out);
    EXPECT_EQ(describe(out), (std::vector<std::string>{"bad 68 a0 f1", "raw 05"}));
    EXPECT_EQ(out[0].problem, "incomplete frame");
}

TEST(FrameParser, ExtractsCommandAndData) {
    FrameParser parser;
    std::vector<ParsedInput> out;
    for (uint8_t byte : {0x68, 0xA0, 0xF3, 0x05, 0x01, 0xC8, 0xC9, 0xCA, 0x07, 0xF3}) {
        parser.feed(byte, 0, out);
    }
    ASSERT_EQ(describe(out).size(), 1u);
    ASSERT_EQ(out[0].kind, ParsedInput::Kind::Frame);
    EXPECT_EQ(out[0].command(), 0xF3);
    EXPECT_EQ(out[0].data(), (std::vector<uint8_t>{0x01, 0xC8, 0xC9, 0xCA, 0x07}));
}
