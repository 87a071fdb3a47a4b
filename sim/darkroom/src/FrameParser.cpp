#include "darkroom/FrameParser.h"

#include <limits>

namespace darkroom {

std::vector<uint8_t> ParsedInput::data() const {
    const size_t length = bytes[3];
    return std::vector<uint8_t>(bytes.begin() + 4, bytes.begin() + 4 + length);
}

uint8_t xorOf(const uint8_t* bytes, size_t size) {
    uint8_t check = 0;
    for (size_t i = 0; i < size; ++i) {
        check ^= bytes[i];
    }
    return check;
}

void FrameParser::reject(std::string problem, std::vector<ParsedInput>& out) {
    ParsedInput bad;
    bad.kind = ParsedInput::Kind::BadFrame;
    bad.bytes.swap(pending_);
    bad.problem = std::move(problem);
    out.push_back(std::move(bad));
    pending_.clear();
}

void FrameParser::feed(uint8_t byte, uint64_t nowMs, std::vector<ParsedInput>& out) {
    expire(nowMs, out);
    lastByteMs_ = nowMs;
    if (pending_.empty()) {
        if (byte == kHeader0) {
            pending_.push_back(byte);
        } else {
            out.push_back(ParsedInput{ParsedInput::Kind::RawByte, {byte}, {}});
        }
        return;
    }
    if (pending_.size() == 1 && byte != kHeader1) {
        // 0x68 without its second header byte: drop it and read this byte afresh.
        reject("header 68 not followed by a0", out);
        feed(byte, nowMs, out);
        return;
    }
    pending_.push_back(byte);
    if (pending_.size() < 5) {
        return;
    }
    const size_t total = 5 + static_cast<size_t>(pending_[3]);
    if (pending_.size() < total) {
        return;
    }
    const uint8_t expected = xorOf(pending_.data(), total - 1);
    if (pending_.back() != expected) {
        static const char* digits = "0123456789abcdef";
        std::string problem = "check byte mismatch, expected ";
        problem += digits[expected >> 4];
        problem += digits[expected & 0x0F];
        reject(std::move(problem), out);
        return;
    }
    ParsedInput frame;
    frame.kind = ParsedInput::Kind::Frame;
    frame.bytes.swap(pending_);
    pending_.clear();
    out.push_back(std::move(frame));
}

void FrameParser::expire(uint64_t nowMs, std::vector<ParsedInput>& out) {
    if (!pending_.empty() && nowMs >= deadline()) {
        reject("incomplete frame", out);
    }
}

uint64_t FrameParser::deadline() const {
    if (pending_.empty()) {
        return std::numeric_limits<uint64_t>::max();
    }
    return lastByteMs_ + kInterByteTimeoutMs;
}

}  // namespace darkroom
