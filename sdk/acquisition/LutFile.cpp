#include "acquisition/LutFile.h"

#include <array>
#include <cstdio>
#include <memory>

#include "ZDQApi.h"
#include "platform/WideText.h"

namespace {
constexpr size_t kHeaderBytes = 40;
constexpr uint16_t kVersion = 0x0200;
constexpr uint32_t kMaxEntries = 4096;
constexpr uint32_t kMaxPower = 12;

struct FileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

int ReadLutFile(const wchar_t* pszFile, char cType, LutFileTable& table) {
    if (pszFile == nullptr) {
        return RET_PARAMERROR;
    }
    std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(plat::Utf8FromWide(pszFile).c_str(), "rbe"));
    if (!file) {
        return RET_FAIL;
    }
    std::array<uint8_t, kHeaderBytes> header{};
    if (std::fread(header.data(), 1, header.size(), file.get()) != header.size()) {
        return RET_FAIL;
    }
    if ((header[0] | header[1] << 8) != kVersion) {
        return RET_VERSIONERROR;
    }
    if (header[18] != static_cast<uint8_t>(cType)) {
        return RET_ILLEGALOPERATION;
    }
    const uint32_t nPower = header[19];
    const uint32_t nRecords = Read32(&header[28]);
    const uint32_t nLength = Read32(&header[36]);
    // The declared length must be the table's 2^n entries.
    if (nLength > kMaxEntries || nPower > kMaxPower || nLength != (1u << nPower)) {
        return RET_FAIL;
    }
    if (nRecords > (UINT32_MAX / 8) ||
        std::fseek(file.get(), static_cast<long>(kHeaderBytes + 8ull * nRecords), SEEK_SET) != 0) {
        return RET_FAIL;
    }
    const size_t nEntrySize = cType == 'C' ? 2 : 1;
    std::vector<uint8_t> data(nLength * nEntrySize);
    if (std::fread(data.data(), 1, data.size(), file.get()) != data.size()) {
        return RET_FAIL;
    }
    table.nEntries = nLength;
    if (nEntrySize == 1) {
        table.bytes = std::move(data);
        table.entries.clear();
    } else {
        table.entries.resize(nLength);
        for (uint32_t i = 0; i < nLength; ++i) {
            table.entries[i] = static_cast<uint16_t>(data[2 * i] | data[2 * i + 1] << 8);
        }
        table.bytes.clear();
    }
    return RET_SUCCESS;
}
