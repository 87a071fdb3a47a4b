#include "platform/FileSystem.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ErrorText.h"

namespace plat {

namespace {

uint32_t FromErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return kErrorAccessDenied;
        case ENOENT:
            return kErrorPathNotFound;
        case ENOTDIR:
            return kErrorDirectory;
        case ENAMETOOLONG:
            return kErrorFilenameTooLong;
        case ENOSPC:
        case EDQUOT:
            return kErrorDiskFull;
        default:
            return kErrorGenFailure;
    }
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

uint32_t CreateDirectoryRecursive(const std::string& path) {
    if (path.empty()) {
        return kErrorInvalidParameter;
    }
    std::string target = path;
    while (target.size() > 1 && target.back() == '/') {
        target.pop_back();
    }
    if (IsDirectory(target)) {
        return kErrorAlreadyExists;
    }
    // Create every missing folder from the top down; another process may
    // create the same folders at the same time.
    size_t next = 0;
    while (true) {
        next = target.find('/', next + 1);
        const std::string part = target.substr(0, next);
        if (mkdir(part.c_str(), 0777) != 0) {
            const int error = errno;
            if (error != EEXIST) {
                return FromErrno(error);
            }
            if (!IsDirectory(part)) {
                return kErrorDirectory;  // a file stands where a folder should be
            }
            if (next == std::string::npos) {
                return kErrorAlreadyExists;
            }
        }
        if (next == std::string::npos) {
            return kErrorSuccess;
        }
    }
}

bool ReplaceFileAtomically(const std::string& path, const std::string& content) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    size_t written = 0;
    while (ok && written < content.size()) {
        const ssize_t n = write(fd, content.data() + written, content.size() - written);
        ok = n > 0;
        written += ok ? static_cast<size_t>(n) : 0;
    }
    // Keep the permissions of the file we replace, else the usual ones.
    struct stat old {};
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    ok = ok && fchmod(fd, mode) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
    }
    return ok;
}

}  // namespace plat
