// The flat-field file: the 42-byte window record (ten 32-bit fields and the
// 16-bit frame count, little-endian), the dark frame (ulTotalBytes bytes) and
// the gain table (ulTotalBytes 32-bit floats). A file is loaded only when its
// record is a window this camera takes as it stands and its length is
// exactly what the record declares.
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "ZDQApi.h"
#include "device/Device.h"
#include "platform/WideText.h"

namespace {
constexpr size_t kRecordBytes = 42;
constexpr size_t kFields = 10;

struct FileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File OpenFile(const wchar_t* pszFile, const char* pszMode) {
    if (pszFile == nullptr) {
        return nullptr;
    }
    return File(std::fopen(plat::Utf8FromWide(pszFile).c_str(), pszMode));
}

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

std::array<uint8_t, kRecordBytes> EncodeRecord(const FieldOfView& fov) {
    std::array<uint8_t, kRecordBytes> record{};
    const uint32_t fields[kFields] = {static_cast<uint32_t>(fov.nColStart),
                                      static_cast<uint32_t>(fov.nRowStart),
                                      static_cast<uint32_t>(fov.nColSize),
                                      static_cast<uint32_t>(fov.nRowSize),
                                      static_cast<uint32_t>(fov.AmCol),
                                      static_cast<uint32_t>(fov.AmRow),
                                      static_cast<uint32_t>(fov.nWidth),
                                      static_cast<uint32_t>(fov.nHeight),
                                      fov.ulTotalPixels,
                                      fov.ulTotalBytes};
    for (size_t i = 0; i < kFields; ++i) {
        Put32(&record[4 * i], fields[i]);
    }
    record[40] = static_cast<uint8_t>(fov.usMultiFrameNum);
    record[41] = static_cast<uint8_t>(fov.usMultiFrameNum >> 8);
    return record;
}

FieldOfView DecodeRecord(const std::array<uint8_t, kRecordBytes>& record) {
    FieldOfView fov{};
    fov.nColStart = static_cast<int32_t>(Get32(&record[0]));
    fov.nRowStart = static_cast<int32_t>(Get32(&record[4]));
    fov.nColSize = static_cast<int32_t>(Get32(&record[8]));
    fov.nRowSize = static_cast<int32_t>(Get32(&record[12]));
    fov.AmCol = static_cast<int32_t>(Get32(&record[16]));
    fov.AmRow = static_cast<int32_t>(Get32(&record[20]));
    fov.nWidth = static_cast<int32_t>(Get32(&record[24]));
    fov.nHeight = static_cast<int32_t>(Get32(&record[28]));
    fov.ulTotalPixels = Get32(&record[32]);
    fov.ulTotalBytes = Get32(&record[36]);
    fov.usMultiFrameNum = static_cast<uint16_t>(record[40] | record[41] << 8);
    return fov;
}

bool SameRecord(const FieldOfView& a, const FieldOfView& b) {
    return a.nColStart == b.nColStart && a.nRowStart == b.nRowStart && a.nColSize == b.nColSize &&
           a.nRowSize == b.nRowSize && a.AmCol == b.AmCol && a.AmRow == b.AmRow &&
           a.nWidth == b.nWidth && a.nHeight == b.nHeight && a.ulTotalPixels == b.ulTotalPixels &&
           a.ulTotalBytes == b.ulTotalBytes && a.usMultiFrameNum == b.usMultiFrameNum;
}

}  // namespace

int CDevice::SaveFlatFieldCorrection(const wchar_t* pszFile) {
    plat::CriticalSectionLock rawPost(m_RawPostLock);
    const uint32_t nBytes = m_FlatFieldFov.ulTotalBytes;
    if (!m_FlatField.HasDark() || !m_FlatField.HasGain() || m_FlatField.Dark().size() != nBytes ||
        m_FlatField.Gain().size() != nBytes) {
        return RET_FAIL;
    }
    File file = OpenFile(pszFile, "wbe");
    if (!file) {
        return RET_FAIL;
    }
    const std::array<uint8_t, kRecordBytes> record = EncodeRecord(m_FlatFieldFov);
    std::vector<uint8_t> gain(static_cast<size_t>(nBytes) * 4);
    for (uint32_t i = 0; i < nBytes; ++i) {
        uint32_t nBits = 0;
        std::memcpy(&nBits, &m_FlatField.Gain()[i], sizeof nBits);
        Put32(&gain[4 * static_cast<size_t>(i)], nBits);
    }
    const bool bWritten =
        std::fwrite(record.data(), 1, record.size(), file.get()) == record.size() &&
        std::fwrite(m_FlatField.Dark().data(), 1, nBytes, file.get()) == nBytes &&
        std::fwrite(gain.data(), 1, gain.size(), file.get()) == gain.size() &&
        std::fflush(file.get()) == 0;
    file.reset();
    if (!bWritten) {
        std::remove(plat::Utf8FromWide(pszFile).c_str());
        return RET_FAIL;
    }
    return RET_SUCCESS;
}

int CDevice::LoadFlatFieldCorrection(const wchar_t* pszFile) {
    File file = OpenFile(pszFile, "rbe");
    if (!file) {
        return RET_FAIL;
    }
    std::array<uint8_t, kRecordBytes> bytes{};
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        return RET_FAIL;
    }
    const FieldOfView record = DecodeRecord(bytes);
    // The record must be a window this camera takes unchanged, with the
    // sizes it implies (the 16-bit form or the 8-bit one).
    int nCol = record.nColStart, nRow = record.nRowStart;
    int nColSize = record.nColSize, nRowSize = record.nRowSize;
    uint16_t usFrames = record.usMultiFrameNum;
    if (record.nColSize <= 0 || record.nRowSize <= 0 || record.usMultiFrameNum == 0 ||
        SensorCheckFov(nCol, nRow, nColSize, nRowSize, record.AmCol, record.AmRow, &usFrames) !=
            RET_SUCCESS) {
        return RET_VERSIONERROR;
    }
    const auto make = [&](bool b16) {
        return MakeFieldOfView(nCol, nRow, nColSize, nRowSize, record.AmCol, record.AmRow, usFrames,
                               b16);
    };
    if (!SameRecord(record, make(false)) && !SameRecord(record, make(true))) {
        return RET_VERSIONERROR;
    }
    const size_t nBytes = record.ulTotalBytes;
    if (std::fseek(file.get(), 0, SEEK_END) != 0 ||
        std::ftell(file.get()) != static_cast<long>(kRecordBytes + 5 * nBytes) ||
        std::fseek(file.get(), static_cast<long>(kRecordBytes), SEEK_SET) != 0) {
        return RET_FAIL;
    }
    std::vector<uint8_t> dark(nBytes);
    std::vector<uint8_t> gainBytes(nBytes * 4);
    if (std::fread(dark.data(), 1, nBytes, file.get()) != nBytes ||
        std::fread(gainBytes.data(), 1, gainBytes.size(), file.get()) != gainBytes.size()) {
        return RET_FAIL;
    }
    std::vector<float> gain(nBytes);
    for (size_t i = 0; i < nBytes; ++i) {
        const uint32_t nBits = Get32(&gainBytes[4 * i]);
        std::memcpy(&gain[i], &nBits, sizeof nBits);
    }
    plat::CriticalSectionLock rawPost(m_RawPostLock);
    m_FlatFieldFov = record;
    m_FlatField.SetDarkAndGain(std::move(dark), std::move(gain));
    return RET_SUCCESS;
}
