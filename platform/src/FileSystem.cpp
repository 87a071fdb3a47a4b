#include "platform/FileSystem.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <string>

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

namespace {

// The file a link (or a chain of them) stands for, so that its content is
// replaced and the link stays; the path itself when it is no link. False
// (with errno) when a link leads nowhere that can be resolved.
bool ResolveTarget(const std::string& path, std::string* target) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        *target = path;
        return true;
    }
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return false;
    }
    *target = real;
    free(real);
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// `path` + '.' and six random letters or digits.
std::string TemporaryName(const std::string& path) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string name = path + '.';
    for (int i = 0; i < 6; ++i) {
        name += kLetters[pick(random)];
    }
    return name;
}

constexpr int kNameAttempts = 100;

// Creates a temporary file `path` + ".XXXXXX" with `permissions` (less the
// umask); its descriptor, or -1 with errno.
int CreateTemporary(const std::string& path, mode_t permissions, std::string* temp) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        *temp = TemporaryName(path);
        const int fd = open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Gives the unnamed file `fd` the name `name`; fails (EEXIST) when the name
// is taken.
int LinkUnnamed(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                          : errno;
}

// Puts the complete unnamed file `fd` in place of `target`: under its name
// when that is free (CreateNew), else under a temporary name renamed over it.
int PlaceUnnamed(int fd, const std::string& target, bool createNew) {
    if (createNew) {
        return LinkUnnamed(fd, target);
    }
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string temp = TemporaryName(target);
        const int error = LinkUnnamed(fd, temp);
        if (error == EEXIST) {
            continue;
        }
        if (error != 0) {
            return error;
        }
        if (rename(temp.c_str(), target.c_str()) != 0) {
            const int failure = errno;
            unlink(temp.c_str());
            return failure;
        }
        return 0;
    }
    return EEXIST;
}

int WriteAll(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    size_t written = 0;
    while (written < size) {
        const ssize_t n = write(fd, bytes + written, size - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : EIO;
        }
        written += static_cast<size_t>(n);
    }
    return 0;
}

// Renames `temp` to `target` unless something of that name exists; where
// the file system cannot rename so, a hard link does the same.
int RenameNew(const std::string& temp, const std::string& target) {
    if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    if (link(temp.c_str(), target.c_str()) != 0) {
        return errno;
    }
    unlink(temp.c_str());
    return 0;
}

// The folder's entries (the rename) to the disk. The file is in place
// already, so a folder that cannot be flushed changes nothing of the result.
void FlushFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

int64_t ModifiedMs(const struct stat& info) {
    return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

// Dates the file a millisecond after `replaced` when size and time of change
// would not tell them apart.
int SetDistinctTime(int fd, const struct stat& replaced) {
    struct stat own {};
    if (fstat(fd, &own) != 0) {
        return errno;
    }
    if (own.st_size != replaced.st_size || ModifiedMs(own) != ModifiedMs(replaced)) {
        return 0;
    }
    const int64_t later = ModifiedMs(replaced) + 1;
    const struct timespec times[2] = {
        {0, UTIME_OMIT},
        {static_cast<time_t>(later / 1000), static_cast<long>(later % 1000) * 1000000}};
    return futimens(fd, times) == 0 ? 0 : errno;
}

// Fills the open temporary file: content, permissions, time, flushed to the
// disk. 0 or the errno of the failing step.
int FillTemporary(int fd, const void* data, size_t size, int permissions,
                  const struct stat* replaced) {
    int error = WriteAll(fd, data, size);
    if (error == 0 && permissions >= 0 && fchmod(fd, static_cast<mode_t>(permissions)) != 0) {
        error = errno;
    }
    if (error == 0 && replaced != nullptr) {
        error = SetDistinctTime(fd, *replaced);
    }
    if (error == 0 && fsync(fd) != 0) {
        error = errno;
    }
    return error;
}

}  // namespace

int WriteWholeFile(const std::string& path, const void* data, size_t size,
                   const WholeFileOptions& options) {
    if (path.empty()) {
        return ENOENT;
    }
    std::string target;
    if (!ResolveTarget(path, &target)) {
        return errno;
    }
    const bool createNew = options.mode == WholeFileMode::CreateNew;
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return errno;
    }
    if (exists && createNew) {
        return EEXIST;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        return S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    }
    if (exists && access(target.c_str(), W_OK) != 0) {
        return errno;
    }
    // The file's final permissions: given, or those of the file replaced;
    // a new file gets the usual ones from open(). Until then the temporary
    // file is the owner's alone.
    int permissions = options.permissions;
    if (permissions < 0 && exists) {
        permissions = static_cast<int>(old.st_mode & 07777);
    }
    const std::string folder = FolderOf(target);
    const mode_t createMode = permissions >= 0 ? 0600 : 0666;
    const bool distinct = options.distinctTime && exists;
    // An unnamed file gets its name only once it is complete, so a program
    // that ends while writing leaves nothing; a file system without unnamed
    // files gets a named temporary file.
    const int unnamed = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, createMode);
    if (unnamed >= 0) {
        int error = FillTemporary(unnamed, data, size, permissions, distinct ? &old : nullptr);
        if (error == 0) {
            error = PlaceUnnamed(unnamed, target, createNew);
        }
        close(unnamed);
        if (error != 0) {
            return error;
        }
        FlushFolder(folder);
        return 0;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return errno;
    }
    std::string temp;
    const int fd = CreateTemporary(target, createMode, &temp);
    if (fd < 0) {
        return errno;
    }
    int error = FillTemporary(fd, data, size, permissions, distinct ? &old : nullptr);
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0) {
        if (createNew) {
            error = RenameNew(temp, target);
        } else if (rename(temp.c_str(), target.c_str()) != 0) {
            error = errno;
        }
    }
    if (error != 0) {
        unlink(temp.c_str());
        return error;
    }
    FlushFolder(FolderOf(target));
    return 0;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& content) {
    return WriteWholeFile(path, content.data(), content.size()) == 0;
}

}  // namespace plat
