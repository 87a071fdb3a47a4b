#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

// A full disk, as a test can have it: while the object lives, no file of
// this process grows beyond `bytes` (the soft RLIMIT_FSIZE), and a write
// that would fails with EFBIG instead of ending the process (SIGXFSZ
// ignored). Both are restored at the end.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Whether the limit is in force (setrlimit succeeded).
    bool active() const { return m_active; }

  private:
    struct rlimit m_saved {};
    struct sigaction m_savedAction {};
    bool m_active = false;
};
