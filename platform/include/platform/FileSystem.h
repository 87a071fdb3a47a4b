// Folder creation with the result codes of the system's error table.
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

}  // namespace plat
