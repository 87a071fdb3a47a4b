// Folder creation with the result codes of the system's error table, and
// replacing a file's content atomically.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

// Creates the folder and every missing parent. Returns kErrorSuccess (0) when
// it created the folder, kErrorAlreadyExists (183) when the folder was there,
// or another error number: kErrorDirectory (267) when a file stands in the
// way, kErrorAccessDenied, kErrorPathNotFound, kErrorFilenameTooLong,
// kErrorDiskFull, kErrorInvalidParameter (empty path) or kErrorGenFailure.
uint32_t CreateDirectoryRecursive(const std::string& path);

// Replaces the file's content at once: written to a temporary file beside it
// and renamed over it, so a reader sees the old or the new content, never a
// part. Keeps the permissions of the file it replaces. False when it could
// not be written; the old file is then unchanged.
bool ReplaceFileAtomically(const std::string& path, const std::string& content);

}  // namespace plat
