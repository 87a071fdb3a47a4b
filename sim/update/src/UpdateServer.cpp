#include "UpdateServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

constexpr std::size_t kMaxConnections = 64;

std::string printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace

UpdateServer::UpdateServer(std::string replyFile) : m_replyFile(std::move(replyFile)) {}

UpdateServer::~UpdateServer() {
    for (auto& entry : m_connections) {
        ::close(entry.first);
    }
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
    }
}

bool UpdateServer::listen(int port) {
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listenFd < 0) {
        return false;
    }
    const int yes = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // loopback only
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listenFd, 16) != 0) {
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    return true;
}

void UpdateServer::run(const volatile bool& stop) {
    while (!m_quit && !stop) {
        std::vector<pollfd> fds;
        fds.push_back({m_listenFd, POLLIN, 0});
        if (m_controlOpen) {
            fds.push_back({STDIN_FILENO, POLLIN, 0});
        }
        for (const auto& entry : m_connections) {
            fds.push_back({entry.first, POLLIN, 0});
        }
        const int ready = ::poll(fds.data(), fds.size(), nextTimeoutMs());
        if (ready < 0 && errno != EINTR) {
            return;
        }
        for (const pollfd& fd : fds) {
            if (fd.revents == 0) {
                continue;
            }
            if (fd.fd == m_listenFd) {
                accept();
            } else if (fd.fd == STDIN_FILENO) {
                readControl();
            } else if (m_connections.count(fd.fd) != 0) {
                readFrom(fd.fd, m_connections[fd.fd]);
            }
        }
        // Answers whose delay has passed.
        const Clock::time_point now = Clock::now();
        std::vector<int> dueNow;
        for (const auto& entry : m_connections) {
            if (entry.second.due && entry.second.dueAt <= now) {
                dueNow.push_back(entry.first);
            }
        }
        for (int fd : dueNow) {
            Connection& connection = m_connections[fd];
            connection.due = false;
            answer(fd, connection);
        }
    }
}

int UpdateServer::nextTimeoutMs() const {
    int timeout = 1000;  // signals are looked at once a second at least
    const Clock::time_point now = Clock::now();
    for (const auto& entry : m_connections) {
        if (entry.second.due) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(entry.second.dueAt - now);
            timeout = std::max(0, std::min(timeout, static_cast<int>(left.count()) + 1));
        }
    }
    return timeout;
}

void UpdateServer::accept() {
    const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
        return;
    }
    if (m_connections.size() >= kMaxConnections) {
        ::close(fd);
        return;
    }
    m_connections[fd];
}

void UpdateServer::readFrom(int fd, Connection& connection) {
    char buffer[4096];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) {
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            close(fd);
        }
        return;
    }
    if (connection.answered) {
        return;  // one request per connection; the rest is ignored
    }
    switch (connection.request.feed(buffer, static_cast<std::size_t>(got))) {
        case HttpRequest::State::Incomplete:
            return;
        case HttpRequest::State::Malformed:
            say("request malformed");
            sendResponse(fd, 400, "Bad Request", "bad request\n");
            close(fd);
            return;
        case HttpRequest::State::Complete:
            break;
    }
    connection.answered = true;
    const HttpRequest& request = connection.request;
    say("request " + request.method() + " " + printable(request.path()) +
        " content-type=" + printable(request.contentType()) + " body=" + printable(request.body()));
    if (m_mode == Mode::Hang) {
        return;  // kept open without an answer
    }
    if (m_delayMs > 0) {
        connection.due = true;
        connection.dueAt = Clock::now() + std::chrono::milliseconds(m_delayMs);
        return;
    }
    answer(fd, connection);
}

void UpdateServer::answer(int fd, Connection&) {
    switch (m_mode) {
        case Mode::Hang:
            return;
        case Mode::Fail:
            sendResponse(fd, m_failStatus, "Failure", "update service failure\n");
            break;
        case Mode::Garbage:
            sendResponse(fd, 200, "OK", std::string("<html>\x01\x02 not json {\"data\":"));
            break;
        case Mode::Normal: {
            std::ifstream file(m_replyFile, std::ios::binary);
            if (!file) {
                sendResponse(fd, 500, "Internal Server Error", "no reply file\n");
                break;
            }
            const std::string body((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
            sendResponse(fd, 200, "OK", body);
            break;
        }
    }
    close(fd);
}

void UpdateServer::sendResponse(int fd, int status, const std::string& reason,
                                const std::string& body) {
    std::ostringstream head;
    head << "HTTP/1.1 " << status << ' ' << reason << "\r\n"
         << "Content-Type: application/json; charset=utf-8\r\n"
         << "Content-Length: " << body.size() << "\r\n"
         << "Connection: close\r\n\r\n";
    const std::string response = head.str() + body;
    std::size_t sent = 0;
    // The socket is non-blocking; a reply is small, but wait (bounded) for
    // room when the client reads slowly.
    for (int attempts = 0; sent < response.size() && attempts < 100; ++attempts) {
        const ssize_t n = ::send(fd, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        }
        pollfd out{fd, POLLOUT, 0};
        ::poll(&out, 1, 50);
    }
}

void UpdateServer::close(int fd) {
    ::close(fd);
    m_connections.erase(fd);
}

void UpdateServer::readControl() {
    char buffer[1024];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        m_controlOpen = false;  // no controller: keep serving
        return;
    }
    m_controlBuffer.append(buffer, static_cast<std::size_t>(got));
    std::size_t newline;
    while ((newline = m_controlBuffer.find('\n')) != std::string::npos) {
        const std::string line = m_controlBuffer.substr(0, newline);
        m_controlBuffer.erase(0, newline + 1);
        say(control(line) ? "ok" : "error " + printable(line));
    }
    if (m_controlBuffer.size() > 4096) {
        m_controlBuffer.clear();
    }
}

bool UpdateServer::control(const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "reply") {
        std::string file;
        if (!(words >> file)) {
            return false;
        }
        m_replyFile = file;
        return true;
    }
    if (command == "normal") {
        m_mode = Mode::Normal;
        m_delayMs = 0;
        return true;
    }
    if (command == "delay") {
        int ms = -1;
        if (!(words >> ms) || ms < 0) {
            return false;
        }
        m_delayMs = ms;
        return true;
    }
    if (command == "hang") {
        m_mode = Mode::Hang;
        return true;
    }
    if (command == "fail") {
        int status = 0;
        if (!(words >> status) || status < 100 || status > 599) {
            return false;
        }
        m_mode = Mode::Fail;
        m_failStatus = status;
        return true;
    }
    if (command == "garbage") {
        m_mode = Mode::Garbage;
        return true;
    }
    if (command == "quit") {
        m_quit = true;
        return true;
    }
    return false;
}
