// What the simulated controller received, answered and did, in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace darkroom {

struct JournalEntry {
    enum class Kind {
        Raw,       // a single command byte
        Frame,     // a framed command with a good check byte
        BadFrame,  // a malformed frame, ignored
        Reply,     // a status byte the controller sent
        Muted,     // a status byte the controller would have sent while muted
        Injected,  // bytes put on the line through the control channel
        Event,     // something the controller did by itself (shut-down)
    };
    uint64_t timeMs = 0;
    Kind kind = Kind::Raw;
    std::vector<uint8_t> bytes;
    std::string note;
};

const char* kindName(JournalEntry::Kind kind);
// Lower-case hex pairs separated by blanks: "68 a0 f1 01 12 2a".
std::string toHex(const std::vector<uint8_t>& bytes);
// One line: "<ms> <kind> <hex> [<note>]".
std::string formatEntry(const JournalEntry& entry);

// Keeps the newest `capacity` entries and counts the ones it had to drop, so a
// long session never grows without bound.
class Journal {
  public:
    explicit Journal(size_t capacity = 4096) : capacity_(capacity) {}

    void add(uint64_t timeMs, JournalEntry::Kind kind, std::vector<uint8_t> bytes,
             std::string note);
    const std::deque<JournalEntry>& entries() const { return entries_; }
    uint64_t dropped() const { return dropped_; }
    void clear();

  private:
    size_t capacity_;
    std::deque<JournalEntry> entries_;
    uint64_t dropped_ = 0;
};

}  // namespace darkroom
