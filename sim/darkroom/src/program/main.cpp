// darkroom-sim: the dark-room controller on a pseudo-terminal.
//
//   darkroom-sim --link PATH [--control SOCKET] [--time-scale X] [--power-on]
//                [--world FILE]
//
// The terminal side of the line is linked at PATH. The control channel is the
// Unix socket SOCKET, or standard input and output without --control. The
// program ends on SIGTERM, SIGINT, the control command "quit" or the end of its
// standard input (stdio mode), and removes its link and socket. With --world
// it publishes its state to FILE for the other simulators (darkroom/WorldFile.h).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "ControlServer.h"
#include "PtyLink.h"
#include "darkroom/ControlChannel.h"
#include "darkroom/Controller.h"
#include "darkroom/WorldFile.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    const ssize_t ignored = ::write(g_signalPipe[1], &byte, 1);
    (void)ignored;
}

struct Options {
    std::string link;
    std::string control;
    std::string world;
    double timeScale = 1.0;
    bool powerOn = false;
};

void usage() {
    std::fprintf(stderr,
                 "usage: darkroom-sim --link PATH [--control SOCKET] [--time-scale X] "
                 "[--power-on] [--world FILE]\n");
}

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--link") {
            if (!value(options.link)) {
                return false;
            }
        } else if (arg == "--control") {
            if (!value(options.control)) {
                return false;
            }
        } else if (arg == "--time-scale") {
            if (!value(text)) {
                return false;
            }
            char* end = nullptr;
            options.timeScale = std::strtod(text.c_str(), &end);
            if (end == text.c_str() || *end != '\0' || !(options.timeScale > 0)) {
                return false;
            }
        } else if (arg == "--world") {
            if (!value(options.world)) {
                return false;
            }
        } else if (arg == "--power-on") {
            options.powerOn = true;
        } else {
            return false;
        }
    }
    return !options.link.empty();
}

int64_t epochMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

uint64_t nowMs(std::chrono::steady_clock::time_point start) {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
}

// Bytes go out at the pace of the line: ten bit times a byte at 1200 baud.
constexpr double kByteTimeMs = 10.0 * 1000.0 / 1200.0;
// Beyond this the controller stops queueing output (nobody reads the line).
constexpr size_t kMaxQueuedOutput = 64 * 1024;

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        usage();
        return 2;
    }
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("pipe2");
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);

    const auto start = std::chrono::steady_clock::now();
    darkroom::Controller controller(0, options.powerOn);
    controller.setTimeScale(options.timeScale);
    std::deque<uint8_t> output;
    double nextByteMs = 0;
    bool quit = false;

    auto queueOutput = [&](const std::vector<uint8_t>& bytes) {
        for (uint8_t byte : bytes) {
            if (output.size() < kMaxQueuedOutput) {
                output.push_back(byte);
            }
        }
    };

    darkroom::ControlServer control([&](const std::string& line) {
        darkroom::ControlResult result =
            darkroom::handleControlLine(controller, line, nowMs(start));
        queueOutput(result.send);
        quit = quit || result.quit;
        return result.lines;
    });
    std::string error;
    if (!options.control.empty()) {
        if (!control.listenOn(options.control, error)) {
            std::fprintf(stderr, "darkroom-sim: %s\n", error.c_str());
            return 1;
        }
    }
    // The link appears last: once it exists, the line and the control channel work.
    darkroom::PtyLink link;
    if (!link.open(options.link, error)) {
        std::fprintf(stderr, "darkroom-sim: %s\n", error.c_str());
        return 1;
    }
    if (options.control.empty()) {
        control.useStdio();
    }
    std::fprintf(stderr, "darkroom-sim: %s -> %s\n", options.link.c_str(),
                 link.terminalPath().c_str());

    std::string publishedWorld;
    auto publishWorld = [&] {
        if (options.world.empty()) {
            return;
        }
        const uint64_t now = nowMs(start);
        std::string signature = darkroom::worldSignature(controller, now);
        if (signature == publishedWorld) {
            return;
        }
        if (darkroom::writeWorldFile(options.world,
                                     darkroom::formatWorld(controller, now, epochMs()))) {
            publishedWorld = std::move(signature);
        } else {
            std::fprintf(stderr, "darkroom-sim: cannot write %s\n", options.world.c_str());
        }
    };

    const int master = link.masterFd();
    while (!quit && !control.stdioClosed()) {
        publishWorld();
        const uint64_t now = nowMs(start);
        queueOutput(controller.advance(now));

        // Put the next byte on the line when its time has come.
        if (!output.empty() && now >= nextByteMs) {
            const uint8_t byte = output.front();
            const ssize_t sent = ::write(master, &byte, 1);
            if (sent == 1) {
                output.pop_front();
                nextByteMs = std::max(nextByteMs, static_cast<double>(now)) + kByteTimeMs;
            }
        }

        uint64_t wakeMs = std::min<uint64_t>(controller.nextDeadline(), now + 1000);
        if (!output.empty()) {
            wakeMs = std::min<uint64_t>(wakeMs, static_cast<uint64_t>(nextByteMs) + 1);
        }
        const int timeout = wakeMs > now ? static_cast<int>(wakeMs - now) : 0;

        std::vector<pollfd> fds;
        fds.push_back(pollfd{g_signalPipe[0], POLLIN, 0});
        fds.push_back(pollfd{master, POLLIN, 0});
        control.addPollFds(fds);
        const int ready = ::poll(fds.data(), fds.size(), timeout);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::perror("poll");
            break;
        }
        if (fds[0].revents & POLLIN) {
            break;
        }
        if (fds[1].revents & POLLIN) {
            uint8_t buffer[512];
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0) {
                queueOutput(controller.receive(buffer, static_cast<size_t>(got), nowMs(start)));
            }
        }
        control.handle(fds);
    }
    link.close();
    return 0;
}
