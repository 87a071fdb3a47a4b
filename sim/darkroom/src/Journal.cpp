#include "darkroom/Journal.h"

namespace darkroom {

const char* kindName(JournalEntry::Kind kind) {
    switch (kind) {
        case JournalEntry::Kind::Raw:
            return "raw";
        case JournalEntry::Kind::Frame:
            return "frame";
        case JournalEntry::Kind::BadFrame:
            return "bad-frame";
        case JournalEntry::Kind::Reply:
            return "reply";
        case JournalEntry::Kind::Muted:
            return "muted";
        case JournalEntry::Kind::Injected:
            return "inject";
        case JournalEntry::Kind::Event:
            return "event";
    }
    return "?";
}

std::string toHex(const std::vector<uint8_t>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

std::string formatEntry(const JournalEntry& entry) {
    std::string line = std::to_string(entry.timeMs);
    line += ' ';
    line += kindName(entry.kind);
    line += ' ';
    line += entry.bytes.empty() ? "-" : toHex(entry.bytes);
    if (!entry.note.empty()) {
        line += " [";
        line += entry.note;
        line += ']';
    }
    return line;
}

void Journal::add(uint64_t timeMs, JournalEntry::Kind kind, std::vector<uint8_t> bytes,
                  std::string note) {
    if (capacity_ == 0) {
        ++dropped_;
        return;
    }
    if (entries_.size() == capacity_) {
        entries_.pop_front();
        ++dropped_;
    }
    entries_.push_back(JournalEntry{timeMs, kind, std::move(bytes), std::move(note)});
}

void Journal::clear() {
    entries_.clear();
    dropped_ = 0;
}

}  // namespace darkroom
