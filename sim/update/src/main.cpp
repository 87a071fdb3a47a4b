// update-sim: the stand-in for the maker's update service.
//
//   update-sim --reply FILE [--port N]
//
// Listens on 127.0.0.1 (a free port unless --port is given), says where on
// its first output line:
//   update-sim listening on http://127.0.0.1:<port>/api/index.php/Software/getSoftWareNewInfo
// and answers every request from FILE. See UpdateServer.h for the journal
// and the control lines.

#include "UpdateServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

volatile bool g_stop = false;

void onSignal(int) {
    g_stop = true;
}

int usage() {
    std::fputs("usage: update-sim --reply FILE [--port N]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string reply;
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--reply") == 0 && i + 1 < argc) {
            reply = argv[++i];
        } else if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            port = std::atoi(argv[++i]);
            if (port < 0 || port > 65535) {
                return usage();
            }
        } else {
            return usage();
        }
    }
    if (reply.empty()) {
        return usage();
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    UpdateServer server(reply);
    if (!server.listen(port)) {
        std::perror("update-sim: listen");
        return 1;
    }
    std::printf(
        "update-sim listening on http://127.0.0.1:%d/api/index.php/Software/getSoftWareNewInfo\n",
        server.port());
    std::fflush(stdout);
    server.run(g_stop);
    return 0;
}
