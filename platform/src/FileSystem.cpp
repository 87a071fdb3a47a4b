#include "platform/FileSystem.h"

#include <errno.h>
#include <sys/stat.h>

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

}  // namespace plat
