// Splits the byte stream the controller receives into single command bytes
// and framed commands (0x68 0xA0 command length data... check).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace darkroom {

// One unit of input: a single raw command byte, a complete frame whose check
// byte matched, or a malformed sequence that the controller throws away.
struct ParsedInput {
    enum class Kind { RawByte, Frame, BadFrame };
    Kind kind = Kind::RawByte;
    std::vector<uint8_t> bytes;  // exactly the bytes as they arrived
    std::string problem;         // why a BadFrame was rejected

    // Only for Kind::Frame.
    uint8_t command() const { return bytes[2]; }
    std::vector<uint8_t> data() const;
};

// XOR of every byte, the frame's check byte when taken over everything before it.
uint8_t xorOf(const uint8_t* bytes, size_t size);

class FrameParser {
  public:
    static constexpr uint8_t kHeader0 = 0x68;
    static constexpr uint8_t kHeader1 = 0xA0;
    // A frame whose next byte does not come within this time is abandoned, so a
    // lost byte never swallows the commands that follow it. At 1200 baud the
    // bytes of one frame are about 8 ms apart.
    static constexpr uint64_t kInterByteTimeoutMs = 200;

    // Feeds one received byte; appends what it completes to `out`.
    void feed(uint8_t byte, uint64_t nowMs, std::vector<ParsedInput>& out);
    // Abandons a frame left incomplete for longer than the inter-byte time-out.
    void expire(uint64_t nowMs, std::vector<ParsedInput>& out);
    // The time at which `expire` would abandon the pending frame, or UINT64_MAX.
    uint64_t deadline() const;
    bool inFrame() const { return !pending_.empty(); }

  private:
    void reject(std::string problem, std::vector<ParsedInput>& out);

    std::vector<uint8_t> pending_;  // bytes of the frame being collected, at most 5 + 255
    uint64_t lastByteMs_ = 0;
};

}  // namespace darkroom
