#pragma once

#include <cstddef>
#include <string>

// One HTTP/1.1 request read from a connection, piece by piece.
class HttpRequest {
  public:
    enum class State { Incomplete, Complete, Malformed };

    // Largest header block and body taken; a larger request is malformed.
    static constexpr std::size_t kMaxHeaderBytes = 16 * 1024;
    static constexpr std::size_t kMaxBodyBytes = 256 * 1024;

    // Adds received bytes; the state after them.
    State feed(const char* data, std::size_t size);

    const std::string& method() const { return m_method; }
    const std::string& path() const { return m_path; }
    const std::string& contentType() const { return m_contentType; }
    const std::string& body() const { return m_body; }

  private:
    State parseHeaders();

    std::string m_buffer;
    bool m_headersDone = false;
    std::size_t m_contentLength = 0;
    std::string m_method;
    std::string m_path;
    std::string m_contentType;
    std::string m_body;
    State m_state = State::Incomplete;
};
