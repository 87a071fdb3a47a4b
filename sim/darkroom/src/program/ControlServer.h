// Endpoints of the control channel: a listening Unix socket with any number of
// clients, or the program's standard input and output. Each endpoint collects
// lines and buffers its answers so a slow reader never stalls the controller.
#pragma once

#include <poll.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace darkroom {

class ControlServer {
  public:
    // Called for every complete line; returns the answer lines.
    using LineHandler = std::function<std::vector<std::string>(const std::string&)>;

    explicit ControlServer(LineHandler handler) : handler_(std::move(handler)) {}
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    bool listenOn(const std::string& socketPath, std::string& error);
    void useStdio();

    // Adds the descriptors to watch; `handle` then serves those that are ready.
    void addPollFds(std::vector<pollfd>& fds) const;
    void handle(const std::vector<pollfd>& fds);
    // True once standard input has ended (the controlling side went away).
    bool stdioClosed() const { return stdioClosed_; }

  private:
    struct Endpoint {
        int readFd = -1;
        int writeFd = -1;
        bool socket = false;
        std::string input;
        std::string output;
        bool closed = false;
    };
    static constexpr size_t kMaxLine = 4096;

    void serve(Endpoint& endpoint, short events);
    void flush(Endpoint& endpoint);

    LineHandler handler_;
    int listenFd_ = -1;
    std::string socketPath_;
    std::vector<std::unique_ptr<Endpoint>> endpoints_;
    bool stdioClosed_ = false;
};

}  // namespace darkroom
