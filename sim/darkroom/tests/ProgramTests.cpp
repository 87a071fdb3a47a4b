// darkroom-sim as a program: its line on a real pseudo-terminal, its control
// channel on a Unix socket or on standard input and output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

std::string scratchDir() {
    const char* dir = std::getenv("VARNU_TEST_SCRATCH");
    return dir ? dir : "/tmp";
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Reads until `count` bytes came or the time is up.
Bytes readBytes(int fd, size_t count, int timeoutMs) {
    Bytes out;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        uint8_t buffer[64];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        out.insert(out.end(), buffer, buffer + got);
    }
    return out;
}

// Reads lines up to and including the one that starts with "ok" or "error".
std::vector<std::string> readAnswer(int fd, int timeoutMs = 3000) {
    std::vector<std::string> lines;
    std::string pending;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        size_t newline;
        while ((newline = pending.find('\n')) != std::string::npos) {
            lines.push_back(pending.substr(0, newline));
            pending.erase(0, newline + 1);
            if (lines.back() == "ok" || lines.back().rfind("error", 0) == 0) {
                return lines;
            }
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            continue;
        }
        char buffer[1024];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        pending.append(buffer, static_cast<size_t>(got));
    }
    return lines;
}

int openLine(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        termios tio{};
        ::tcgetattr(fd, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

class SimProgram : public ::testing::Test {
  protected:
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (int fd : {line_, control_, stdinFd_, stdoutFd_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    // Starts the simulator; with an empty socket path its control channel is stdio.
    void start(const std::string& name, const std::string& socketPath) {
        link_ = scratchDir() + "/" + name;
        socket_ = socketPath;
        ::unlink(link_.c_str());  // left over by an earlier run that was killed
        int in[2], out[2];
        ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
        ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
        pid_ = ::fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<const char*> argv = {DARKROOM_SIM_PATH, "--link", link_.c_str()};
            if (!socket_.empty()) {
                argv.push_back("--control");
                argv.push_back(socket_.c_str());
            }
            argv.push_back(nullptr);
            ::execv(DARKROOM_SIM_PATH, const_cast<char* const*>(argv.data()));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        stdinFd_ = in[1];
        stdoutFd_ = out[0];
        ASSERT_TRUE(waitFor([&] { return exists(link_); }, 5000)) << "no link at " << link_;
        line_ = openLine(link_);
        ASSERT_GE(line_, 0);
        if (!socket_.empty()) {
            control_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, socket_.c_str(), sizeof address.sun_path - 1);
            ASSERT_EQ(::connect(control_, reinterpret_cast<sockaddr*>(&address), sizeof address),
                      0);
        }
    }

    std::vector<std::string> command(const std::string& text) {
        const std::string line = text + "\n";
        const int fd = control_ >= 0 ? control_ : stdinFd_;
        EXPECT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        return readAnswer(control_ >= 0 ? control_ : stdoutFd_);
    }

    void writeLine(const Bytes& bytes) {
        ASSERT_EQ(::write(line_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    int exitStatus(int timeoutMs) {
        int status = -1;
        const bool ended =
            waitFor([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; }, timeoutMs);
        if (ended) {
            pid_ = -1;
        }
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    pid_t pid_ = -1;
    int line_ = -1;
    int control_ = -1;
    int stdinFd_ = -1;
    int stdoutFd_ = -1;
    std::string link_;
    std::string socket_;
};

}  // namespace

TEST_F(SimProgram, AnswersOnTheLineAndReportsOverTheSocket) {
    start("line-socket", scratchDir() + "/control-socket");
    writeLine({0x02});
    EXPECT_EQ(readBytes(line_, 1, 2000), (Bytes{0x0C}));
    writeLine({0x05, 0x68, 0xA0, 0xF1, 0x01, 0x12, 0x2A, 0x68, 0xA0, 0xF1, 0x01, 0x13, 0x00});
    EXPECT_EQ(readBytes(line_, 1, 2000), (Bytes{0x0E}));

    EXPECT_EQ(command("send 1e 1c"), (std::vector<std::string>{"ok"}));
    EXPECT_EQ(readBytes(line_, 2, 2000), (Bytes{0x1E, 0x1C}));

    const std::vector<std::string> state = command("state");
    ASSERT_EQ(state.size(), 2u);
    EXPECT_NE(state[0].find("power=1 light=white"), std::string::npos) << state[0];
    EXPECT_NE(state[0].find("filter=460"), std::string::npos) << state[0];

    std::vector<std::string> kinds;
    for (const std::string& entry : command("journal")) {
        const size_t blank = entry.find(' ');
        kinds.push_back(blank == std::string::npos ? entry : entry.substr(blank + 1));
    }
    EXPECT_EQ(kinds, (std::vector<std::string>{
                         "raw 02 [power toggle]", "reply 0c", "raw 05 [white light toggle]",
                         "reply 0e", "frame 68 a0 f1 01 12 2a [filter 460]",
                         "bad-frame 68 a0 f1 01 13 00 [check byte mismatch, expected 2b]",
                         "inject 1e 1c", "ok"}));

    ::kill(pid_, SIGTERM);
    EXPECT_EQ(exitStatus(3000), 0);
    EXPECT_FALSE(exists(link_));
    EXPECT_FALSE(exists(socket_));
}

TEST_F(SimProgram, StdioControlAndEndOfInputEndTheProgram) {
    start("line-stdio", "");
    EXPECT_EQ(command("mute"), (std::vector<std::string>{"ok"}));
    writeLine({0x1D});
    EXPECT_TRUE(readBytes(line_, 1, 300).empty());
    EXPECT_EQ(command("unmute"), (std::vector<std::string>{"ok"}));
    writeLine({0x1D});
    EXPECT_EQ(readBytes(line_, 1, 2000), (Bytes{0x0D}));

    ::close(stdinFd_);
    stdinFd_ = -1;
    EXPECT_EQ(exitStatus(3000), 0);
    EXPECT_FALSE(exists(link_));
}

TEST_F(SimProgram, SigintEndsCleanly) {
    start("line-sigint", "");
    ::kill(pid_, SIGINT);
    EXPECT_EQ(exitStatus(3000), 0);
    EXPECT_FALSE(exists(link_));
}
