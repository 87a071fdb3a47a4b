// The camera's memory image file: the content of its non-volatile memory
// kept in a file between processes, so a camera programmed by one process
// comes up with that memory in the next.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "camera.h"

namespace usbcam {

void Camera::setMemoryImageFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    memoryImageFile_ = path;
    if (path.empty()) {
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return;  // no image yet: the memory starts erased
    }
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (!eeprom_.assign(image)) {
        std::fprintf(stderr,
                     "mlusbimager: %s holds %zu bytes, not a memory image of %u bytes; the "
                     "memory starts erased\n",
                     path.c_str(), image.size(), eeprom_.size());
    }
}

bool Camera::saveMemoryImage() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (memoryImageFile_.empty()) {
        return true;
    }
    // Written beside the file and renamed over it: a reader sees the old or
    // the new image, never a part.
    const std::string temp = memoryImageFile_ + ".new";
    std::FILE* file = std::fopen(temp.c_str(), "wbe");
    bool ok = file != nullptr;
    ok = ok && std::fwrite(eeprom_.bytes().data(), 1, eeprom_.size(), file) == eeprom_.size();
    ok = (file == nullptr || std::fclose(file) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), memoryImageFile_.c_str()) == 0;
    if (!ok) {
        std::remove(temp.c_str());
        std::fprintf(stderr, "mlusbimager: cannot write the memory image %s\n",
                     memoryImageFile_.c_str());
    }
    return ok;
}

}  // namespace usbcam
