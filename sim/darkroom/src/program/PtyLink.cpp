#include "PtyLink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace darkroom {

namespace {

std::string systemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

PtyLink::~PtyLink() {
    close();
}

bool PtyLink::open(const std::string& linkPath, std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        error = systemError("posix_openpt");
        return false;
    }
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = systemError("grantpt/unlockpt");
        close();
        return false;
    }
    char name[PATH_MAX];
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error = systemError("ptsname_r");
        close();
        return false;
    }
    terminal_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = systemError("open terminal");
        close();
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave_, &tio) != 0) {
        error = systemError("tcgetattr");
        close();
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    ::cfsetispeed(&tio, B1200);
    ::cfsetospeed(&tio, B1200);
    if (::tcsetattr(slave_, TCSANOW, &tio) != 0) {
        error = systemError("tcsetattr");
        close();
        return false;
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);

    struct stat existing {};
    if (::lstat(linkPath.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            error = "link path exists and is not a symbolic link: " + linkPath;
            close();
            return false;
        }
        ::unlink(linkPath.c_str());
    }
    if (::symlink(name, linkPath.c_str()) != 0) {
        error = systemError("symlink");
        close();
        return false;
    }
    link_ = linkPath;
    return true;
}

void PtyLink::close() {
    if (!link_.empty()) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(link_.c_str(), target, sizeof target - 1);
        if (length >= 0) {
            target[length] = '\0';
            if (terminal_ == target) {
                ::unlink(link_.c_str());
            }
        }
        link_.clear();
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

}  // namespace darkroom
