// The controller's end of the serial line: a pseudo-terminal whose terminal
// side is reachable through a symbolic link at a chosen path.
#pragma once

#include <string>

namespace darkroom {

class PtyLink {
  public:
    PtyLink() = default;
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // Opens the pseudo-terminal, puts its terminal side in raw mode at 1200 baud,
    // 8 data bits, no parity, one stop bit, and links it at `linkPath` (a stale
    // symbolic link there is replaced; any other file is left alone and fails).
    bool open(const std::string& linkPath, std::string& error);
    // Removes the link when it still points at this terminal.
    void close();

    int masterFd() const { return master_; }
    const std::string& terminalPath() const { return terminal_; }

  private:
    int master_ = -1;
    // Kept open so the line stays configured and readable while no program has
    // the port open.
    int slave_ = -1;
    std::string terminal_;
    std::string link_;
};

}  // namespace darkroom
