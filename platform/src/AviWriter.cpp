#include "platform/AviWriter.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace plat {

namespace {

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAviifKeyFrame = 0x10;
constexpr uint32_t kChunkVideo = FourCC('0', '0', 'd', 'b');
constexpr uint64_t kChunkHeaderBytes = 8;
constexpr uint64_t kIndexEntryBytes = 16;

// Offsets of the fields patched at close.
constexpr uint64_t kRiffSizeOffset = 4;
constexpr uint64_t kAvihOffset = 32;   // the 'avih' data
constexpr uint64_t kStrhOffset = 108;  // the 'strh' data
constexpr uint64_t kStrfDataOffset = 172;

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

struct ChooserSlot {
    std::mutex mutex;
    AviCompressorChooser pfChooser = nullptr;
    void* pUser = nullptr;
};
ChooserSlot& Chooser() {
    static ChooserSlot* slot = new ChooserSlot;  // never destroyed: usable during exit
    return *slot;
}

bool ChooseUncompressed(AviCompressOptions& options, uint32_t, void*) {
    options.fccType = kFourCCVideo;
    options.fccHandler = kFourCCUncompressed;
    return true;
}

uint64_t Padded(uint64_t nBytes) {
    return nBytes + (nBytes & 1);
}

uint64_t ChunkBytes(uint32_t nBytes) {
    return kChunkHeaderBytes + Padded(nBytes);
}

uint64_t PageSize() {
    static const uint64_t nPage = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    return nPage;
}

}  // namespace

uint32_t VideoServicesVersion() {
    return kVideoServicesVersion;
}

void SetAviCompressorChooser(AviCompressorChooser pfChooser, void* pUser) {
    std::lock_guard<std::mutex> lock(Chooser().mutex);
    Chooser().pfChooser = pfChooser;
    Chooser().pUser = pUser;
}

bool ChooseAviCompressor(AviCompressOptions& options, uint32_t dwFlags) {
    AviCompressorChooser pfChooser = nullptr;
    void* pUser = nullptr;
    {
        std::lock_guard<std::mutex> lock(Chooser().mutex);
        pfChooser = Chooser().pfChooser;
        pUser = Chooser().pUser;
    }
    options = AviCompressOptions{};
    return pfChooser != nullptr ? pfChooser(options, dwFlags, pUser)
                                : ChooseUncompressed(options, dwFlags, nullptr);
}

bool AviCompressorAvailable(const AviCompressOptions& options) {
    return options.fccHandler == 0 || options.fccHandler == kFourCCUncompressed ||
           options.fccHandler == FourCC('R', 'A', 'W', ' ');
}

AviWriter::AviWriter(uint64_t nMaxFileBytes)
    : m_nMaxFileBytes(std::min(nMaxFileBytes, kMaxFileBytes)) {}

AviWriter::~AviWriter() {
    Close();
}

void AviWriter::FreeDeleter::operator()(uint8_t* p) const {
    std::free(p);
}

bool AviWriter::WriteAt(uint64_t nOffset, const void* pData, size_t nBytes) {
    return WriteAll(m_fd, nOffset, pData, nBytes);
}

bool AviWriter::WriteAll(int fd, uint64_t nOffset, const void* pData, size_t nBytes) {
    const auto* p = static_cast<const uint8_t*>(pData);
    while (nBytes > 0) {
        const ssize_t n = pwrite(fd, p, nBytes, static_cast<off_t>(nOffset));
        if (n <= 0) {
            return false;
        }
        p += n;
        nOffset += static_cast<uint64_t>(n);
        nBytes -= static_cast<size_t>(n);
    }
    return true;
}

bool AviWriter::Create(const std::string& path, const AviStreamFormat& format) {
    Close();
    if (format.bitmapInfo.empty() || format.dwRate == 0 || format.dwScale == 0) {
        return false;
    }
    // Read access too lets the file be mapped (MapFrames); a file that may
    // only be written is written without.
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0 && errno == EACCES) {
        m_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    if (m_fd < 0) {
        return false;
    }
    m_path = path;
    m_Format = format;
    m_Index.clear();
    m_nLargestFrame = 0;
    m_bFailed = false;

    const uint32_t nStrf = static_cast<uint32_t>(format.bitmapInfo.size());
    const uint64_t nStrfPadded = Padded(nStrf);
    std::vector<uint8_t> header(kStrfDataOffset + nStrfPadded + 12, 0);
    uint8_t* h = header.data();
    const uint32_t nStrl = 4 + 8 + 56 + 8 + static_cast<uint32_t>(nStrfPadded);
    const uint32_t nHdrl = 4 + 8 + 56 + 8 + nStrl;
    Put32(h + 0, FourCC('R', 'I', 'F', 'F'));
    Put32(h + 8, FourCC('A', 'V', 'I', ' '));
    Put32(h + 12, FourCC('L', 'I', 'S', 'T'));
    Put32(h + 16, nHdrl);
    Put32(h + 20, FourCC('h', 'd', 'r', 'l'));
    Put32(h + 24, FourCC('a', 'v', 'i', 'h'));
    Put32(h + 28, 56);
    Put32(h + 88, FourCC('L', 'I', 'S', 'T'));
    Put32(h + 92, nStrl);
    Put32(h + 96, FourCC('s', 't', 'r', 'l'));
    Put32(h + 100, FourCC('s', 't', 'r', 'h'));
    Put32(h + 104, 56);
    Put32(h + 164, FourCC('s', 't', 'r', 'f'));
    Put32(h + 168, nStrf);
    std::memcpy(h + kStrfDataOffset, format.bitmapInfo.data(), nStrf);
    m_nMoviStart = kStrfDataOffset + nStrfPadded + 8;
    Put32(h + m_nMoviStart - 8, FourCC('L', 'I', 'S', 'T'));
    Put32(h + m_nMoviStart, FourCC('m', 'o', 'v', 'i'));
    m_nEnd = m_nMoviStart + 4;
    if (!WriteAt(0, header.data(), header.size())) {
        Discard();
        return false;
    }
    return true;
}

bool AviWriter::DirectFrames(uint32_t nFrameBytes) {
    if (m_fd < 0 || m_bFailed || m_pMap != nullptr || m_fdDirect >= 0) {
        return false;
    }
    const int fd = open(m_path.c_str(), O_WRONLY | O_DIRECT | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // The writer's buffer holds the rest of the last block written; the
    // caller's buffers have room for that rest and a chunk, in whole blocks.
    const uint64_t nBufferBytes =
        (kDirectBlockBytes + ChunkBytes(nFrameBytes) + kDirectBlockBytes - 1) / kDirectBlockBytes *
        kDirectBlockBytes;
    void* pStage = nullptr;
    if (posix_memalign(&pStage, kDirectBlockBytes, kDirectBlockBytes) != 0) {
        close(fd);
        return false;
    }
    std::unique_ptr<uint8_t, FreeDeleter> stage(static_cast<uint8_t*>(pStage));
    // The buffer starts with what the file holds of the block the chunks
    // start in; writing that block once tells whether the file system takes
    // such writes.
    const uint64_t nStagePos = m_nEnd / kDirectBlockBytes * kDirectBlockBytes;
    const size_t nStaged = static_cast<size_t>(m_nEnd - nStagePos);
    std::memset(stage.get() + nStaged, 0, kDirectBlockBytes - nStaged);
    if (pread(m_fd, stage.get(), nStaged, static_cast<off_t>(nStagePos)) !=
            static_cast<ssize_t>(nStaged) ||
        !WriteAll(fd, nStagePos, stage.get(), kDirectBlockBytes)) {
        close(fd);
        return false;
    }
    m_fdDirect = fd;
    m_pStage = std::move(stage);
    m_nDirectBufferBytes = static_cast<size_t>(nBufferBytes);
    m_nStagePos = nStagePos;
    m_nDirectFirstEnd = m_nEnd;
    m_nDirectFrameBytes = nFrameBytes;
    return true;
}

size_t AviWriter::DirectFrameLead(uint64_t nFrame) const {
    const uint64_t nChunk = m_nDirectFirstEnd + nFrame * ChunkBytes(m_nDirectFrameBytes);
    return static_cast<size_t>(nChunk % kDirectBlockBytes + kChunkHeaderBytes);
}

bool AviWriter::WriteDirectFrame(uint8_t* pFrame) {
    const uint32_t nBytes = m_nDirectFrameBytes;
    if (m_fdDirect < 0 || m_bFailed || pFrame == nullptr || !Fits(0, nBytes)) {
        return false;
    }
    // The lead lies between the chunk header's size and a block more, so the
    // buffer's alignment alone tells whether the data are where they go.
    const size_t nStaged = static_cast<size_t>(m_nEnd - m_nStagePos);
    uint8_t* pBuffer = pFrame - (nStaged + kChunkHeaderBytes);
    if (reinterpret_cast<uintptr_t>(pBuffer) % kDirectBlockBytes != 0) {
        return false;
    }
    std::memcpy(pBuffer, m_pStage.get(), nStaged);
    Put32(pBuffer + nStaged, kChunkVideo);
    Put32(pBuffer + nStaged + 4, nBytes);
    if ((nBytes & 1) != 0) {
        pFrame[nBytes] = 0;
    }
    const size_t nFilled = nStaged + static_cast<size_t>(ChunkBytes(nBytes));
    const size_t nWhole = nFilled / kDirectBlockBytes * kDirectBlockBytes;
    // A failed write leaves the writer's buffer holding the chunks before
    // this one.
    if (!WriteAll(m_fdDirect, m_nStagePos, pBuffer, nWhole)) {
        m_bFailed = true;
        return false;
    }
    std::memcpy(m_pStage.get(), pBuffer + nWhole, nFilled - nWhole);
    m_nStagePos += nWhole;
    m_Index.push_back(
        IndexEntry{kAviifKeyFrame, static_cast<uint32_t>(m_nEnd - m_nMoviStart), nBytes});
    m_nEnd += ChunkBytes(nBytes);
    m_nLargestFrame = std::max(m_nLargestFrame, nBytes);
    return true;
}

void AviWriter::EndDirect(bool bWriteRest) {
    if (m_fdDirect < 0) {
        return;
    }
    if (bWriteRest &&
        !WriteAt(m_nStagePos, m_pStage.get(), static_cast<size_t>(m_nEnd - m_nStagePos))) {
        // The frames end with the last one wholly in the file.
        while (!m_Index.empty() &&
               m_nMoviStart + m_Index.back().dwOffset + ChunkBytes(m_Index.back().dwSize) >
                   m_nStagePos) {
            m_Index.pop_back();
        }
        m_nEnd = m_Index.empty()
                     ? m_nMoviStart + 4
                     : m_nMoviStart + m_Index.back().dwOffset + ChunkBytes(m_Index.back().dwSize);
    }
    close(m_fdDirect);
    m_fdDirect = -1;
    m_pStage.reset();
}

bool AviWriter::AppendChunk(const void* pData, uint32_t nBytes, uint32_t dwFlags) {
    uint8_t chunkHeader[kChunkHeaderBytes];
    Put32(chunkHeader, kChunkVideo);
    Put32(chunkHeader + 4, nBytes);
    const uint8_t pad = 0;
    const bool bWritten =
        WriteAt(m_nEnd, chunkHeader, sizeof chunkHeader) &&
        (nBytes == 0 || WriteAt(m_nEnd + kChunkHeaderBytes, pData, nBytes)) &&
        ((nBytes & 1) == 0 || WriteAt(m_nEnd + kChunkHeaderBytes + nBytes, &pad, 1));
    if (!bWritten) {
        m_bFailed = true;
        return false;
    }
    m_Index.push_back(IndexEntry{dwFlags, static_cast<uint32_t>(m_nEnd - m_nMoviStart), nBytes});
    m_nEnd += ChunkBytes(nBytes);
    return true;
}

bool AviWriter::Fits(uint64_t nGap, uint32_t nBytes) const {
    // What the file holds at close after the write: the chunks, the empty
    // chunks of the gap, and the index of all of them.
    if (nGap > m_nMaxFileBytes) {
        return false;
    }
    const uint64_t nEntries = m_Index.size() + nGap + 1;
    const uint64_t nFileBytes = m_nEnd + nGap * kChunkHeaderBytes + kChunkHeaderBytes +
                                Padded(nBytes) + kChunkHeaderBytes + nEntries * kIndexEntryBytes;
    return nFileBytes <= m_nMaxFileBytes;
}

bool AviWriter::WriteFrame(int64_t nPosition, const void* pData, uint32_t nBytes, bool bKeyFrame) {
    if (m_fd < 0 || m_bFailed || m_pMap != nullptr || m_fdDirect >= 0 || pData == nullptr ||
        nPosition < NextPosition()) {
        return false;
    }
    const uint64_t nGap = static_cast<uint64_t>(nPosition - NextPosition());
    if (!Fits(nGap, nBytes)) {
        return false;
    }
    for (uint64_t i = 0; i < nGap; ++i) {
        if (!AppendChunk(nullptr, 0, 0)) {
            return false;
        }
    }
    if (!AppendChunk(pData, nBytes, bKeyFrame ? kAviifKeyFrame : 0)) {
        return false;
    }
    m_nLargestFrame = std::max(m_nLargestFrame, nBytes);
    return true;
}

bool AviWriter::ReserveFrames(uint32_t nFrameBytes) {
    const uint64_t nFit = m_nMaxFileBytes / (ChunkBytes(nFrameBytes) + kIndexEntryBytes);
    try {
        m_Index.reserve(m_Index.size() + std::min(nFit, kMaxReservedFrames));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

uint64_t AviWriter::MappedChunk(int64_t nPosition) const {
    return m_nMapFirstChunk +
           static_cast<uint64_t>(nPosition - m_nMapFirst) * ChunkBytes(m_nMapFrameBytes);
}

uint64_t AviWriter::MappedFileBytes(int64_t nPosition) const {
    return MappedChunk(nPosition) + ChunkBytes(m_nMapFrameBytes) + kChunkHeaderBytes +
           static_cast<uint64_t>(nPosition + 1) * kIndexEntryBytes;
}

bool AviWriter::MapFrames(uint32_t nFrameBytes) {
    struct statfs fs {};
    if (m_fd < 0 || m_bFailed || m_pMap != nullptr || m_fdDirect >= 0 || fstatfs(m_fd, &fs) != 0 ||
        static_cast<uint64_t>(fs.f_type) != TMPFS_MAGIC) {
        return false;
    }
    const uint64_t nMapBytes = (m_nMaxFileBytes + PageSize() - 1) / PageSize() * PageSize();
    void* pMap = mmap(nullptr, nMapBytes, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (pMap == MAP_FAILED) {
        return false;
    }
    // Taking pages ahead needs a kernel that fills a range without touching
    // it: tried on the headers' page, which is there already.
    if (madvise(pMap, PageSize(), MADV_POPULATE_WRITE) != 0) {
        munmap(pMap, nMapBytes);
        return false;
    }
    m_pMap = static_cast<uint8_t*>(pMap);
    m_nMapBytes = nMapBytes;
    m_nMapFrameBytes = nFrameBytes;
    m_nMapFirst = NextPosition();
    m_nMapFirstChunk = m_nEnd;
    m_nMapFileBytes = m_nEnd;
    return true;
}

bool AviWriter::PrepareMappedFrame(int64_t nPosition) {
    if (m_pMap == nullptr || nPosition < m_nMapFirst ||
        MappedFileBytes(nPosition) > m_nMaxFileBytes) {
        return false;
    }
    const uint64_t nBegin = MappedChunk(nPosition);
    const uint64_t nEnd = nBegin + ChunkBytes(m_nMapFrameBytes);
    {
        // The file grows in big steps, never past the process's limit for
        // files (a write past it raises a signal), or by what the frame needs
        // when a big step is refused.
        std::lock_guard<std::mutex> lock(m_MapMutex);
        if (nEnd > m_nMapFileBytes) {
            rlimit limit{};
            const uint64_t nProcessLimit =
                getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                    ? static_cast<uint64_t>(limit.rlim_cur)
                    : UINT64_MAX;
            const uint64_t nStep =
                std::min({m_nMapFileBytes + kMapGrowBytes, m_nMaxFileBytes, nProcessLimit});
            if (nStep > nEnd && ftruncate(m_fd, static_cast<off_t>(nStep)) == 0) {
                m_nMapFileBytes = nStep;
            } else if (ftruncate(m_fd, static_cast<off_t>(nEnd)) == 0) {
                m_nMapFileBytes = nEnd;
            } else {
                return false;
            }
        }
    }
    const uint64_t nFirstPage = nBegin / PageSize() * PageSize();
    return madvise(m_pMap + nFirstPage, nEnd - nFirstPage, MADV_POPULATE_WRITE) == 0;
}

uint8_t* AviWriter::BeginMappedFrame() {
    if (m_pMap == nullptr || m_bFailed || MappedFileBytes(NextPosition()) > m_nMaxFileBytes) {
        return nullptr;
    }
    const uint64_t nChunk = MappedChunk(NextPosition());
    {
        // Past the file's end the mapping has no pages to write to.
        std::lock_guard<std::mutex> lock(m_MapMutex);
        if (nChunk + ChunkBytes(m_nMapFrameBytes) > m_nMapFileBytes) {
            return nullptr;
        }
    }
    uint8_t* pChunk = m_pMap + nChunk;
    Put32(pChunk, kChunkVideo);
    Put32(pChunk + 4, m_nMapFrameBytes);
    if ((m_nMapFrameBytes & 1) != 0) {
        pChunk[kChunkHeaderBytes + m_nMapFrameBytes] = 0;
    }
    return pChunk + kChunkHeaderBytes;
}

void AviWriter::EndMappedFrame() {
    m_Index.push_back(
        IndexEntry{kAviifKeyFrame, static_cast<uint32_t>(m_nEnd - m_nMoviStart), m_nMapFrameBytes});
    m_nEnd += ChunkBytes(m_nMapFrameBytes);
    m_nLargestFrame = std::max(m_nLargestFrame, m_nMapFrameBytes);
}

void AviWriter::Unmap() {
    if (m_pMap != nullptr) {
        munmap(m_pMap, m_nMapBytes);
        m_pMap = nullptr;
    }
}

bool AviWriter::Close() {
    if (m_fd < 0) {
        return true;
    }
    Unmap();
    EndDirect(true);
    // A failed write may have left part of a chunk after the last complete
    // one: cut it off.
    bool ok = ftruncate(m_fd, static_cast<off_t>(m_nEnd)) == 0;
    uint8_t entry[kIndexEntryBytes];
    Put32(entry, FourCC('i', 'd', 'x', '1'));
    Put32(entry + 4, static_cast<uint32_t>(m_Index.size() * kIndexEntryBytes));
    ok = ok && WriteAt(m_nEnd, entry, kChunkHeaderBytes);
    uint64_t nOffset = m_nEnd + kChunkHeaderBytes;
    // The index goes out in blocks of a fixed buffer.
    uint8_t block[256 * kIndexEntryBytes];
    size_t nInBlock = 0;
    for (size_t i = 0; ok && i < m_Index.size(); ++i) {
        uint8_t* e = block + nInBlock * kIndexEntryBytes;
        Put32(e, kChunkVideo);
        Put32(e + 4, m_Index[i].dwFlags);
        Put32(e + 8, m_Index[i].dwOffset);
        Put32(e + 12, m_Index[i].dwSize);
        if (++nInBlock == 256 || i + 1 == m_Index.size()) {
            ok = WriteAt(nOffset, block, nInBlock * kIndexEntryBytes);
            nOffset += nInBlock * kIndexEntryBytes;
            nInBlock = 0;
        }
    }
    const uint64_t nFileEnd = nOffset;
    const uint32_t nFrames = static_cast<uint32_t>(m_Index.size());
    const uint32_t nSuggested = std::max(m_Format.dwSuggestedBufferSize, m_nLargestFrame);
    const uint64_t nMicroSeconds = 1000000ull * m_Format.dwScale / m_Format.dwRate;
    const uint64_t nBytesPerSecond =
        static_cast<uint64_t>(m_nLargestFrame) * m_Format.dwRate / m_Format.dwScale;

    uint8_t avih[56] = {};
    Put32(avih + 0, static_cast<uint32_t>(std::min<uint64_t>(nMicroSeconds, UINT32_MAX)));
    Put32(avih + 4, static_cast<uint32_t>(std::min<uint64_t>(nBytesPerSecond, UINT32_MAX)));
    Put32(avih + 12, kAvifHasIndex);
    Put32(avih + 16, nFrames);
    Put32(avih + 24, 1);  // streams
    Put32(avih + 28, nSuggested);
    Put32(avih + 32, static_cast<uint32_t>(m_Format.nWidth));
    Put32(avih + 36, static_cast<uint32_t>(m_Format.nHeight));
    uint8_t strh[56] = {};
    Put32(strh + 0, kFourCCVideo);
    Put32(strh + 4, m_Format.fccHandler);
    Put32(strh + 20, m_Format.dwScale);
    Put32(strh + 24, m_Format.dwRate);
    Put32(strh + 32, nFrames);  // dwLength
    Put32(strh + 36, nSuggested);
    Put32(strh + 40, 0xFFFFFFFFu);  // dwQuality: the default
    Put16(strh + 52, static_cast<uint16_t>(m_Format.nWidth));
    Put16(strh + 54, static_cast<uint16_t>(m_Format.nHeight));
    uint8_t riffSize[4];
    Put32(riffSize, static_cast<uint32_t>(nFileEnd - 8));
    uint8_t moviSize[4];
    Put32(moviSize, static_cast<uint32_t>(m_nEnd - m_nMoviStart));
    ok = ok && WriteAt(kAvihOffset, avih, sizeof avih) && WriteAt(kStrhOffset, strh, sizeof strh) &&
         WriteAt(kRiffSizeOffset, riffSize, 4) && WriteAt(m_nMoviStart - 4, moviSize, 4);
    ok = (close(m_fd) == 0) && ok;
    m_fd = -1;
    m_path.clear();
    m_Index.clear();
    return ok;
}

void AviWriter::Discard() {
    Unmap();
    EndDirect(false);
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (!m_path.empty()) {
        unlink(m_path.c_str());
    }
    m_Index.clear();
}

}  // namespace plat
