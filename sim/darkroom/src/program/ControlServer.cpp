#include "ControlServer.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace darkroom {

namespace {

void setNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

}  // namespace

ControlServer::~ControlServer() {
    for (auto& endpoint : endpoints_) {
        if (endpoint->socket) {
            ::close(endpoint->readFd);
        }
    }
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        ::unlink(socketPath_.c_str());
    }
}

bool ControlServer::listenOn(const std::string& socketPath, std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path) {
        error = "control socket path too long: " + socketPath;
        return false;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    ::unlink(socketPath.c_str());
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 8) != 0) {
        error = std::string("bind/listen ") + socketPath + ": " + std::strerror(errno);
        ::close(listenFd_);
        listenFd_ = -1;
        return false;
    }
    socketPath_ = socketPath;
    return true;
}

void ControlServer::useStdio() {
    auto endpoint = std::make_unique<Endpoint>();
    endpoint->readFd = STDIN_FILENO;
    endpoint->writeFd = STDOUT_FILENO;
    setNonBlocking(STDIN_FILENO);
    endpoints_.push_back(std::move(endpoint));
}

void ControlServer::addPollFds(std::vector<pollfd>& fds) const {
    if (listenFd_ >= 0) {
        fds.push_back(pollfd{listenFd_, POLLIN, 0});
    }
    for (const auto& endpoint : endpoints_) {
        fds.push_back(pollfd{endpoint->readFd, POLLIN, 0});
        if (!endpoint->output.empty() && endpoint->writeFd != endpoint->readFd) {
            fds.push_back(pollfd{endpoint->writeFd, POLLOUT, 0});
        } else if (!endpoint->output.empty()) {
            fds.back().events |= POLLOUT;
        }
    }
}

void ControlServer::handle(const std::vector<pollfd>& fds) {
    for (const pollfd& fd : fds) {
        if (fd.revents == 0) {
            continue;
        }
        if (fd.fd == listenFd_) {
            const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (client >= 0) {
                auto endpoint = std::make_unique<Endpoint>();
                endpoint->readFd = client;
                endpoint->writeFd = client;
                endpoint->socket = true;
                endpoints_.push_back(std::move(endpoint));
            }
            continue;
        }
        for (auto& endpoint : endpoints_) {
            if (endpoint->readFd == fd.fd || endpoint->writeFd == fd.fd) {
                serve(*endpoint, fd.revents);
            }
        }
    }
    auto gone = std::remove_if(endpoints_.begin(), endpoints_.end(), [&](const auto& endpoint) {
        if (!endpoint->closed) {
            return false;
        }
        if (endpoint->socket) {
            ::close(endpoint->readFd);
        } else {
            stdioClosed_ = true;
        }
        return true;
    });
    endpoints_.erase(gone, endpoints_.end());
}

void ControlServer::serve(Endpoint& endpoint, short events) {
    if (endpoint.closed) {
        return;
    }
    if (events & (POLLIN | POLLHUP | POLLERR)) {
        char buffer[1024];
        const ssize_t got = ::read(endpoint.readFd, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            endpoint.closed = true;
            return;
        }
        if (got > 0) {
            endpoint.input.append(buffer, static_cast<size_t>(got));
        }
        size_t newline;
        while ((newline = endpoint.input.find('\n')) != std::string::npos) {
            std::string line = endpoint.input.substr(0, newline);
            endpoint.input.erase(0, newline + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            for (const std::string& answer : handler_(line)) {
                endpoint.output += answer;
                endpoint.output += '\n';
            }
        }
        if (endpoint.input.size() > kMaxLine) {
            endpoint.input.clear();
            endpoint.output += "error line too long\n";
        }
    }
    flush(endpoint);
}

void ControlServer::flush(Endpoint& endpoint) {
    while (!endpoint.output.empty()) {
        const ssize_t sent = endpoint.socket ? ::send(endpoint.writeFd, endpoint.output.data(),
                                                      endpoint.output.size(), MSG_NOSIGNAL)
                                             : ::write(endpoint.writeFd, endpoint.output.data(),
                                                       endpoint.output.size());
        if (sent < 0) {
            if (errno != EAGAIN && errno != EINTR) {
                endpoint.closed = true;
            }
            return;
        }
        endpoint.output.erase(0, static_cast<size_t>(sent));
    }
}

}  // namespace darkroom
