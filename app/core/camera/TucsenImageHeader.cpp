#include "camera/TucsenImageHeader.h"

namespace {

constexpr size_t kHeaderFields = 14;

quint16 get16(const uchar* at) {
    return static_cast<quint16>(at[0] | (at[1] << 8));
}

}  // namespace

size_t TucsenImageHeader::sampleCount() const {
    return static_cast<size_t>(width) * height * (channels == 3 ? 3 : 1);
}

bool TucsenImageHeader::read(const uchar* buffer, size_t capacity, TucsenImageHeader* header) {
    if (buffer == nullptr || header == nullptr || capacity < kHeaderFields) {
        return false;
    }
    TucsenImageHeader read;
    read.width = get16(buffer + 4);
    read.height = get16(buffer + 6);
    read.bits = buffer[8];
    read.channels = buffer[9];
    read.dataOffset = get16(buffer + 12);
    if ((read.channels != 1 && read.channels != 3) || read.dataOffset < kHeaderFields ||
        read.dataOffset > capacity) {
        return false;
    }
    const size_t bytes = read.sampleCount() * static_cast<size_t>(read.bytesPerSample());
    if (bytes > capacity - read.dataOffset) {
        return false;
    }
    *header = read;
    return true;
}
