// Folder creation with the result codes of the system's error table, and
// writing a file whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

// Creates the folder and every missing parent. Returns kErrorSuccess (0) when
// it created the folder, kErrorAlreadyExists (183) when the folder was there,
// or another error number: kErrorDirectory (267) when a file stands in the
// way, kErrorAccessDenied, kErrorPathNotFound, kErrorFilenameTooLong,
// kErrorDiskFull, kErrorInvalidParameter (empty path) or kErrorGenFailure.
uint32_t CreateDirectoryRecursive(const std::string& path);

// How WriteWholeFile treats a file that exists under the name.
enum class WholeFileMode {
    Replace,    // its content is replaced (through a link: the file linked to)
    CreateNew,  // it is left as it is and the write fails with EEXIST
};

struct WholeFileOptions {
    WholeFileMode mode = WholeFileMode::Replace;
    // Permission bits of the file written; -1: those of the file replaced,
    // or for a new file 0666 less the process's umask.
    int permissions = -1;
    // A replacement of the same size whose time of change equals the
    // replaced file's to the millisecond (a clock coarser than the writes) is
    // dated a millisecond later, so that readers who tell a change by size
    // and time (QSettings) see it.
    bool distinctTime = false;
};

// Writes `size` bytes as the file `path`, whole or not at all: they go to a
// temporary file in its folder (unnamed where the file system has such
// files, else its name followed by '.' and six letters or digits), which is
// flushed to the disk and then renamed into place, and the folder's entry is
// flushed as well. A reader sees the old content or the new, never a part; a
// write that fails (full disk, file-size limit, folder not writable) leaves
// the old file byte for byte and removes the temporary file; a program that
// ends in the middle leaves the old file, and a named temporary file at
// most. An existing file that is not writable, a folder or another
// file that is not a regular one is refused. Returns 0 when written, else the
// errno of the step that failed (EEXIST for CreateNew when the name is taken).
int WriteWholeFile(const std::string& path, const void* data, size_t size,
                   const WholeFileOptions& options = {});

// WriteWholeFile with `content`, replacing the file; true when written.
bool ReplaceFileAtomically(const std::string& path, const std::string& content);

}  // namespace plat
