#include "HttpRequest.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

HttpRequest::State HttpRequest::feed(const char* data, std::size_t size) {
    if (m_state != State::Incomplete) {
        return m_state;
    }
    m_buffer.append(data, size);
    if (!m_headersDone) {
        m_state = parseHeaders();
        if (m_state == State::Malformed || !m_headersDone) {
            return m_state;
        }
    }
    if (m_buffer.size() >= m_contentLength) {
        m_body = m_buffer.substr(0, m_contentLength);
        m_state = State::Complete;
    }
    return m_state;
}

HttpRequest::State HttpRequest::parseHeaders() {
    const auto end = m_buffer.find("\r\n\r\n");
    if (end == std::string::npos) {
        return m_buffer.size() > kMaxHeaderBytes ? State::Malformed : State::Incomplete;
    }
    std::istringstream lines(m_buffer.substr(0, end));
    std::string line;
    std::getline(lines, line);
    std::istringstream requestLine(line);
    std::string version;
    if (!(requestLine >> m_method >> m_path >> version)) {
        return State::Malformed;
    }
    while (std::getline(lines, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const std::string name = lower(trimmed(line.substr(0, colon)));
        const std::string value = trimmed(line.substr(colon + 1));
        if (name == "content-type") {
            m_contentType = value;
        } else if (name == "content-length") {
            char* rest = nullptr;
            const unsigned long long length = std::strtoull(value.c_str(), &rest, 10);
            if (rest == value.c_str() || *rest != '\0' || length > kMaxBodyBytes) {
                return State::Malformed;
            }
            m_contentLength = static_cast<std::size_t>(length);
        }
    }
    m_buffer.erase(0, end + 4);
    m_headersDone = true;
    return State::Incomplete;
}
