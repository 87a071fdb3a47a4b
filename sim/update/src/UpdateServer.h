#pragma once

#include "HttpRequest.h"

#include <chrono>
#include <map>
#include <string>

// The update service on 127.0.0.1: one thread, poll(2) over the listening
// socket, the open connections and the control input. Every request is
// written to the journal (standard output) as one line, then answered as the
// current mode says:
//   normal       200 with the reply file's content (read afresh each time)
//   delay <ms>   as normal, after that many milliseconds
//   hang         no answer; the connection stays open until the client ends it
//   fail <code>  that status with a short text body
//   garbage      200 with a body that is not JSON
// Control lines on standard input: "reply <file>", "normal", "delay <ms>",
// "hang", "fail <code>", "garbage", "quit"; each is answered "ok" (or
// "error ...") on standard output.
class UpdateServer {
  public:
    explicit UpdateServer(std::string replyFile);
    ~UpdateServer();

    // Listens on 127.0.0.1:`port` (0: a free port); false on failure.
    bool listen(int port);
    int port() const { return m_port; }

    // Serves until "quit" or until `stop` becomes true (signals).
    void run(const volatile bool& stop);

  private:
    using Clock = std::chrono::steady_clock;
    struct Connection {
        HttpRequest request;
        bool answered = false;
        bool due = false;  // an answer waits for its time
        Clock::time_point dueAt;
    };
    enum class Mode { Normal, Hang, Fail, Garbage };

    void accept();
    void readFrom(int fd, Connection& connection);
    void answer(int fd, Connection& connection);
    void sendResponse(int fd, int status, const std::string& reason, const std::string& body);
    void close(int fd);
    bool control(const std::string& line);
    void readControl();
    int nextTimeoutMs() const;

    std::string m_replyFile;
    int m_listenFd = -1;
    int m_port = 0;
    std::map<int, Connection> m_connections;
    std::string m_controlBuffer;
    bool m_controlOpen = true;
    bool m_quit = false;
    Mode m_mode = Mode::Normal;
    int m_delayMs = 0;
    int m_failStatus = 500;
};
