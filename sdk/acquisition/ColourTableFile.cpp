// The colour-correction table file, 812 bytes, little-endian: "ZDQC", the
// 16-bit words 0 and 1, the file size, the device type, the table mode, the
// three channel offsets, the three targets, then the red, green and blue
// tables of 256 bytes each.
#include <cstdio>
#include <cstring>
#include <memory>

#include "acquisition/ColourCorrectTables.h"
#include "acquisition/files/OutputFile.h"
#include "platform/WideText.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

constexpr uint32_t kHeaderSize = 44;
constexpr char kMagic[4] = {'Z', 'D', 'Q', 'C'};

void PutLe(uint8_t* p, uint32_t nValue, int nBytes) {
    for (int i = 0; i < nBytes; ++i) {
        p[i] = static_cast<uint8_t>(nValue >> (8 * i));
    }
}

uint32_t GetLe(const uint8_t* p, int nBytes) {
    uint32_t nValue = 0;
    for (int i = nBytes - 1; i >= 0; --i) {
        nValue = nValue << 8 | p[i];
    }
    return nValue;
}

struct FileCloser {
    void operator()(FILE* pFile) const { std::fclose(pFile); }
};

}  // namespace

int CColourCorrectTables::Save(const wchar_t* pszFile, int nDeviceType) const {
    if (pszFile == nullptr) {
        return RET_PARAMERROR;
    }
    uint8_t file[kFileSize] = {};
    {
        Lock lock(m_Mutex);
        if (m_nMode == 0) {
            return RET_FAIL;
        }
        std::memcpy(file, kMagic, 4);
        PutLe(file + 4, 0, 2);
        PutLe(file + 6, 1, 2);
        PutLe(file + 8, kFileSize, 4);
        PutLe(file + 12, static_cast<uint32_t>(nDeviceType) & 0xFF, 4);
        PutLe(file + 16, static_cast<uint32_t>(m_nMode), 4);
        for (int i = 0; i < 3; ++i) {
            PutLe(file + 20 + 4 * i, static_cast<uint32_t>(m_nOffset[i]), 4);
            PutLe(file + 32 + 4 * i, static_cast<uint32_t>(m_nTarget[i]), 4);
            std::memcpy(file + kHeaderSize + 256 * i, m_Table[i].data(), 256);
        }
    }
    COutputFile out(plat::Utf8FromWide(pszFile));
    if (!out.IsOpen() || !out.Write(file, sizeof file) || !out.Close()) {
        return RET_FAIL;
    }
    out.Keep();
    return RET_SUCCESS;
}

int CColourCorrectTables::Load(const wchar_t* pszFile) {
    if (pszFile == nullptr) {
        Lock lock(m_Mutex);
        m_nMode = 0;
        m_bLoaded = false;
        for (int i = 0; i < 3; ++i) {
            m_nOffset[i] = 0;
            for (int v = 0; v < 256; ++v) {
                m_Table[i][v] = static_cast<uint8_t>(v);
            }
        }
        return RET_SUCCESS;
    }
    std::unique_ptr<FILE, FileCloser> pFile(std::fopen(plat::Utf8FromWide(pszFile).c_str(), "rb"));
    uint8_t file[kFileSize + 1];
    if (pFile == nullptr) {
        return RET_FAIL;
    }
    const size_t nRead = std::fread(file, 1, sizeof file, pFile.get());
    if (nRead < kHeaderSize) {
        return RET_FAIL;
    }
    if (std::memcmp(file, kMagic, 4) != 0 || GetLe(file + 4, 2) != 0 || GetLe(file + 6, 2) != 1 ||
        GetLe(file + 8, 4) != kFileSize) {
        return RET_VERSIONERROR;
    }
    if (nRead < kFileSize) {
        return RET_FAIL;  // the tables end early
    }
    if (nRead > kFileSize) {
        return RET_VERSIONERROR;  // more than a table file holds
    }
    Lock lock(m_Mutex);
    m_nMode = static_cast<int>(GetLe(file + 16, 4));
    for (int i = 0; i < 3; ++i) {
        m_nOffset[i] = static_cast<int>(GetLe(file + 20 + 4 * i, 4));
        m_nTarget[i] = static_cast<int>(GetLe(file + 32 + 4 * i, 4));
        std::memcpy(m_Table[i].data(), file + kHeaderSize + 256 * i, 256);
    }
    m_bLoaded = true;
    return RET_SUCCESS;
}
