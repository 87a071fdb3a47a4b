// Named claim: a marker that some holder has taken a named resource. It is
// about existence, not ownership: Create() never waits for another holder,
// several holders may hold one name, and the name exists while at least one
// holder holds it. Claims are visible across processes and vanish when their
// holders close them or end, even by a crash.
//
// Each name is a lock file in $XDG_RUNTIME_DIR (else /tmp). Holders keep a
// read lock of their open file (an open-file-description lock, released when
// the file closes, also when the process dies) through a close-on-exec
// descriptor, so programs a holder starts do not inherit the claim. Exists()
// asks whether a write lock would conflict without taking one, so probes
// never disturb one another or a holder. Lock files are never removed
// (removing one could split the holders of a name between two files).
#pragma once

#include <string>

namespace plat {

class NamedClaim {
  public:
    NamedClaim() = default;
    NamedClaim(const NamedClaim&) = delete;
    NamedClaim& operator=(const NamedClaim&) = delete;
    NamedClaim(NamedClaim&& other) noexcept;
    NamedClaim& operator=(NamedClaim&& other) noexcept;
    ~NamedClaim();

    // Takes the claim of name (closing a claim this object held before).
    // False when the lock file could not be opened or locked.
    bool Create(const std::string& name);
    void Close();
    bool IsHeld() const { return m_fd >= 0; }

    // True while any holder, in this or another process, holds the name.
    static bool Exists(const std::string& name);

    // The lock file that stands for name.
    static std::string LockFilePath(const std::string& name);

  private:
    int m_fd = -1;
};

}  // namespace plat
