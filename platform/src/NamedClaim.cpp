#include "platform/NamedClaim.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace plat {

namespace {

std::string ClaimFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return runtime;
    }
    return "/tmp";
}

// File-name-safe spelling of a claim name: letters, digits, '.', '_' and '-'
// stand as they are, every other byte as %XX.
std::string EncodeName(const std::string& name) {
    std::string encoded;
    for (const unsigned char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (plain) {
            encoded += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            encoded += hex;
        }
    }
    return encoded;
}

int OpenForClaim(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0 && errno == EACCES) {
        // Another user's lock file in a shared folder may refuse O_CREAT.
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    return fd;
}

}  // namespace

NamedClaim::NamedClaim(NamedClaim&& other) noexcept : m_fd(other.m_fd) {
    other.m_fd = -1;
}

NamedClaim& NamedClaim::operator=(NamedClaim&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

NamedClaim::~NamedClaim() {
    Close();
}

std::string NamedClaim::LockFilePath(const std::string& name) {
    return ClaimFolder() + "/varnu-claim-" + EncodeName(name) + ".lock";
}

bool NamedClaim::Create(const std::string& name) {
    Close();
    const int fd = OpenForClaim(LockFilePath(name));
    if (fd < 0) {
        return false;
    }
    // Holders take read locks, which never conflict with one another; probes
    // only ask whether a write lock would conflict. So Create() never waits.
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    int result;
    do {
        result = fcntl(fd, F_OFD_SETLK, &lock);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void NamedClaim::Close() {
    if (m_fd >= 0) {
        close(m_fd);  // releases the lock of this holder
        m_fd = -1;
    }
}

bool NamedClaim::Exists(const std::string& name) {
    const int fd = open(LockFilePath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;  // never claimed since the folder was made
    }
    // Locks belong to open files, not processes, so holders in this process
    // are seen just like holders in other processes. The probe takes nothing.
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    const bool held = fcntl(fd, F_OFD_GETLK, &query) == 0 && query.l_type != F_UNLCK;
    close(fd);
    return held;
}

}  // namespace plat
