// An AVI file read back for tests, by the RIFF rules alone: chunks of a
// fourcc, a 32-bit little-endian size and the data padded to an even size;
// lists of 'RIFF' or 'LIST', a size, a form type and chunks. Gives the main
// header, the one stream's header and format, the frames of 'movi' and the
// index.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace testutil {

struct AviChunk {
    std::string id;
    uint64_t nOffset = 0;  // of the chunk header in the file
    std::string data;
};

struct AviIndexEntry {
    std::string id;
    uint32_t dwFlags = 0;
    uint32_t dwOffset = 0;
    uint32_t dwSize = 0;
};

struct AviFileContent {
    bool bValid = false;
    std::string error;
    uint32_t dwRiffSize = 0;
    uint64_t nFileSize = 0;
    // 'avih'
    uint32_t dwMicroSecPerFrame = 0, dwFlags = 0, dwTotalFrames = 0, dwStreams = 0;
    uint32_t dwSuggestedBufferSize = 0, dwWidth = 0, dwHeight = 0;
    // 'strh'
    std::string fccType, fccHandler;
    uint32_t dwScale = 0, dwRate = 0, dwLength = 0, dwStreamSuggestedBufferSize = 0;
    int16_t rcFrame[4] = {};
    // 'strf'
    std::string format;
    uint64_t nMoviOffset = 0;  // of the 'movi' form type
    std::vector<AviChunk> frames;
    std::vector<AviIndexEntry> index;
};

inline uint32_t RiffU32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = v << 8 | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
    }
    return v;
}
inline int16_t RiffI16(const std::string& s, size_t at) {
    return static_cast<int16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

class RiffParser {
  public:
    explicit RiffParser(const std::string& file) : m_file(file) {}

    AviFileContent Parse() {
        m_out.nFileSize = m_file.size();
        if (m_file.size() < 12 || m_file.compare(0, 4, "RIFF") != 0 ||
            m_file.compare(8, 4, "AVI ") != 0) {
            return Fail("no RIFF AVI header");
        }
        m_out.dwRiffSize = RiffU32(m_file, 4);
        if (static_cast<uint64_t>(m_out.dwRiffSize) + 8 != m_file.size()) {
            return Fail("RIFF size does not match the file");
        }
        if (!List(12, m_file.size(), "")) {
            return m_out;
        }
        if (m_out.fccType.empty()) {
            return Fail("no stream header");
        }
        m_out.bValid = true;
        return m_out;
    }

  private:
    AviFileContent Fail(const std::string& error) {
        m_out.error = error;
        m_out.bValid = false;
        return m_out;
    }

    bool List(uint64_t begin, uint64_t end, const std::string& form) {
        uint64_t at = begin;
        while (at < end) {
            if (at + 8 > end) {
                Fail("chunk header past its list");
                return false;
            }
            const std::string id = m_file.substr(at, 4);
            const uint32_t nSize = RiffU32(m_file, at + 4);
            const uint64_t nData = at + 8;
            if (nData + nSize > end) {
                Fail("chunk " + id + " past its list");
                return false;
            }
            if (id == "LIST") {
                if (nSize < 4) {
                    Fail("short list");
                    return false;
                }
                const std::string inner = m_file.substr(nData, 4);
                if (inner == "movi") {
                    m_out.nMoviOffset = nData;
                }
                if (!List(nData + 4, nData + nSize, inner)) {
                    return false;
                }
            } else {
                Chunk(form, id, at, m_file.substr(nData, nSize));
            }
            at = nData + nSize + (nSize & 1);
        }
        return true;
    }

    void Chunk(const std::string& form, const std::string& id, uint64_t at,
               const std::string& data) {
        if (id == "avih" && data.size() >= 40) {
            m_out.dwMicroSecPerFrame = RiffU32(data, 0);
            m_out.dwFlags = RiffU32(data, 12);
            m_out.dwTotalFrames = RiffU32(data, 16);
            m_out.dwStreams = RiffU32(data, 24);
            m_out.dwSuggestedBufferSize = RiffU32(data, 28);
            m_out.dwWidth = RiffU32(data, 32);
            m_out.dwHeight = RiffU32(data, 36);
        } else if (id == "strh" && data.size() >= 56) {
            m_out.fccType = data.substr(0, 4);
            m_out.fccHandler = data.substr(4, 4);
            m_out.dwScale = RiffU32(data, 20);
            m_out.dwRate = RiffU32(data, 24);
            m_out.dwLength = RiffU32(data, 32);
            m_out.dwStreamSuggestedBufferSize = RiffU32(data, 36);
            for (int i = 0; i < 4; ++i) {
                m_out.rcFrame[i] = RiffI16(data, 48 + 2 * static_cast<size_t>(i));
            }
        } else if (id == "strf") {
            m_out.format = data;
        } else if (form == "movi") {
            m_out.frames.push_back(AviChunk{id, at, data});
        } else if (id == "idx1") {
            for (size_t i = 0; i + 16 <= data.size(); i += 16) {
                m_out.index.push_back(AviIndexEntry{data.substr(i, 4), RiffU32(data, i + 4),
                                                    RiffU32(data, i + 8), RiffU32(data, i + 12)});
            }
        }
    }

    const std::string& m_file;
    AviFileContent m_out;
};

inline AviFileContent ParseAvi(const std::string& file) {
    return RiffParser(file).Parse();
}

}  // namespace testutil
