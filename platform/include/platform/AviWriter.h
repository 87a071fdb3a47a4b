// Video files: a RIFF AVI 1.0 writer for one stream of uncompressed
// device-independent bitmaps, and the compressor choice that precedes a
// recording.
//
// File layout: RIFF 'AVI ' { LIST 'hdrl' { 'avih', LIST 'strl' { 'strh'
// ('vids', the rate and scale given), 'strf' (the BITMAPINFO: 40-byte header
// and its palette) } }, LIST 'movi' { one '00db' chunk a frame }, 'idx1' }.
// The frame counts and the RIFF and 'movi' sizes are patched when the file
// is closed; until then the file is not a complete AVI.
//
// Frames go at sample positions: a write at the next position appends; a
// write further on first fills the gap with empty chunks (dropped frames, a
// player shows the previous frame again); a write at a position already
// written fails. A write that would take the file past what the format's
// 32-bit sizes describe fails and writes nothing. A failed write of the file
// itself leaves the frames written before it: Close() cuts the file after
// the last complete frame and writes its index, so the file stays valid.
//
// Frames of one size may instead go straight into a mapping of a file in
// memory (MapFrames): several threads take the pages of the frames to come
// ahead (PrepareMappedFrame), one thread copies the frames in order
// (BeginMappedFrame, EndMappedFrame). In memory, taking the pages is most of
// a write's cost, and the writes of one file take them one after the other;
// through a mapping they are taken in parallel. A file on disk is written
// through the page cache as before: zero pages taken ahead would go to the
// disk twice.
//
// Frames on disk may instead go past the page cache (DirectFrames): whole
// blocks of the chunks straight from the caller's buffers, the rest of the
// last block kept in a buffer of the writer's own until the next frame or
// Close. That writes at the disk's pace, without the page cache's copy and
// its holding back of the writers that fill it.
//
// The writer allocates nothing per frame: the index is reserved for the
// frames of one size that fit into the file (ReserveFrames, at most
// kMaxReservedFrames), beyond that it grows geometrically.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

// Four-character codes as they are stored, first character in the low byte.
constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}
constexpr uint32_t kFourCCVideo = FourCC('v', 'i', 'd', 's');
constexpr uint32_t kFourCCUncompressed = FourCC('D', 'I', 'B', ' ');

// Version of the video services, major and minor in the high word.
constexpr uint32_t kVideoServicesVersion = 0x010A0000;
uint32_t VideoServicesVersion();

// The compressor options of a recording (the fields of the system's
// compression-options block; the format and parameter blocks as bytes).
struct AviCompressOptions {
    uint32_t fccType = 0;
    uint32_t fccHandler = 0;
    uint32_t dwKeyFrameEvery = 0;
    uint32_t dwQuality = 0;
    uint32_t dwBytesPerSecond = 0;
    uint32_t dwFlags = 0;
    std::vector<uint8_t> format;  // cbFormat bytes
    std::vector<uint8_t> parms;   // cbParms bytes
    uint32_t dwInterleaveEvery = 0;
};

// Flags of the compressor choice: which options the chooser may offer.
constexpr uint32_t kChooseKeyFrame = 1;
constexpr uint32_t kChooseDataRate = 2;
constexpr uint32_t kChoosePreview = 4;

// Stands in for the compression-options dialog: fills the options and
// returns true, or returns false when the user cancels. The options come in
// zeroed. Called on the recording caller's thread.
using AviCompressorChooser = bool (*)(AviCompressOptions& options, uint32_t dwFlags, void* pUser);
// The chooser of the process; the default chooses uncompressed frames
// (type 'vids', handler 'DIB ', everything else 0). A null chooser restores
// the default.
void SetAviCompressorChooser(AviCompressorChooser pfChooser, void* pUser);
bool ChooseAviCompressor(AviCompressOptions& options, uint32_t dwFlags);
// Whether frames can be written with these options: only uncompressed ones
// (handler 'DIB ', 'RAW ' or 0) can.
bool AviCompressorAvailable(const AviCompressOptions& options);

// What the stream holds: frame size, rate (frames per second = dwRate /
// dwScale), the bytes of the largest frame, and the BITMAPINFO of its
// frames (header and palette, as stored in 'strf').
struct AviStreamFormat {
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    uint32_t dwRate = 0;
    uint32_t dwScale = 1;
    uint32_t dwSuggestedBufferSize = 0;
    uint32_t fccHandler = kFourCCUncompressed;
    std::vector<uint8_t> bitmapInfo;
};

class AviWriter {
  public:
    // The largest file the format describes (its RIFF size is 32 bits).
    static constexpr uint64_t kMaxFileBytes = 0xFFFFFFFFull + 8;

    // nMaxFileBytes lowers the limit (tests); it never rises above the
    // format's.
    explicit AviWriter(uint64_t nMaxFileBytes = kMaxFileBytes);
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;
    ~AviWriter();  // closes an open file

    // Creates the file (an existing one is replaced) and writes the headers.
    // False when it cannot be written or the format is empty; no file is
    // then left.
    bool Create(const std::string& path, const AviStreamFormat& format);
    bool IsOpen() const { return m_fd >= 0; }
    // One frame of nBytes at sample position nPosition (see above).
    bool WriteFrame(int64_t nPosition, const void* pData, uint32_t nBytes, bool bKeyFrame);
    // The next sample position (frames written, gaps included).
    int64_t NextPosition() const { return static_cast<int64_t>(m_Index.size()); }

    // Reserves the index for the frames of nFrameBytes that fit into the
    // file, at most kMaxReservedFrames; false when memory is lacking.
    static constexpr uint64_t kMaxReservedFrames = 65536;
    bool ReserveFrames(uint32_t nFrameBytes);

    // Writes the frames of nFrameBytes from now on past the page cache in
    // blocks of kDirectBlockBytes, only through WriteDirectFrame (WriteFrame
    // refuses them). False, with nothing changed, when the file system
    // refuses such writes, the file cannot be read back or memory lacks.
    static constexpr uint64_t kDirectBlockBytes = 4096;
    bool DirectFrames(uint32_t nFrameBytes);
    // After DirectFrames the frames come in buffers of the caller's, each
    // laid out as its blocks go to the file, which saves copying them into a
    // buffer of the writer's: DirectBufferBytes() bytes aligned to
    // kDirectBlockBytes, the data DirectFrameLead(k) bytes in for the k-th
    // frame after DirectFrames (each of that size, no gap).
    // WriteDirectFrame puts what comes before the data (the rest of the last
    // block written and the chunk header) into the bytes before them, writes
    // the whole blocks from the buffer at the next position and keeps the
    // rest; false, with nothing written, when the data are not where the
    // next frame's go or the frame would take the file past its limit, and
    // when the write fails (then as WriteFrame's). Lead and size may be asked
    // from any thread.
    size_t DirectBufferBytes() const { return m_nDirectBufferBytes; }
    size_t DirectFrameLead(uint64_t nFrame) const;
    bool WriteDirectFrame(uint8_t* pFrame);

    // Maps the file for frames of nFrameBytes from the next position on;
    // false, with nothing changed, when the file is not in memory (a file on
    // disk would write the pages taken ahead twice) or cannot be mapped.
    // Then frames go only through the mapping (WriteFrame refuses them).
    bool MapFrames(uint32_t nFrameBytes);
    // Takes the pages of the chunk at nPosition (the file grows in steps of
    // kMapGrowBytes); false when the frame would take the file past its
    // limit or the pages cannot be had. Any thread, several at once.
    static constexpr uint64_t kMapGrowBytes = 64ull << 20;
    bool PrepareMappedFrame(int64_t nPosition);
    // The frame of the next position, whose pages PrepareMappedFrame took,
    // goes in between these two, one thread: BeginMappedFrame writes its
    // chunk header and gives where its MappedFrameBytes() of data go (null
    // when the frame would take the file past its limit or the file does not
    // reach that far), EndMappedFrame indexes it.
    uint32_t MappedFrameBytes() const { return m_nMapFrameBytes; }
    uint8_t* BeginMappedFrame();
    void EndMappedFrame();
    // Writes the index, patches the headers and closes the file (cut after
    // the last frame written); false when that failed (the file may then be
    // incomplete). Nothing when not open. Not while frames are prepared.
    bool Close();
    // Closes and removes the file.
    void Discard();

  private:
    struct IndexEntry {
        uint32_t dwFlags;
        uint32_t dwOffset;  // of the chunk, from the 'movi' fourcc
        uint32_t dwSize;
    };
    static bool WriteAll(int fd, uint64_t nOffset, const void* pData, size_t nBytes);
    bool WriteAt(uint64_t nOffset, const void* pData, size_t nBytes);
    // Whether the file at close stays within its limit with nGap empty
    // chunks and a frame of nBytes more.
    bool Fits(uint64_t nGap, uint32_t nBytes) const;
    bool AppendChunk(const void* pData, uint32_t nBytes, uint32_t dwFlags);
    // Ends the writes past the page cache, the rest of the last block
    // written to the file when asked; when that fails, the frames end with
    // the last one wholly written.
    void EndDirect(bool bWriteRest);
    // Where the mapped chunk of nPosition starts, and where the file ends
    // at close with the frames up to it.
    uint64_t MappedChunk(int64_t nPosition) const;
    uint64_t MappedFileBytes(int64_t nPosition) const;
    void Unmap();

    uint64_t m_nMaxFileBytes;
    int m_fd = -1;
    std::string m_path;
    AviStreamFormat m_Format;
    uint64_t m_nMoviStart = 0;  // offset of the 'movi' fourcc
    uint64_t m_nEnd = 0;        // end of the last complete chunk
    uint32_t m_nLargestFrame = 0;
    bool m_bFailed = false;  // a write of the file failed
    std::vector<IndexEntry> m_Index;

    // The writes past the page cache (DirectFrames to Close): their
    // descriptor, the block-sized buffer holding the file from m_nStagePos (a
    // block's start) to the end of the last chunk, and the size of the
    // caller's buffers.
    struct FreeDeleter {
        void operator()(uint8_t* p) const;
    };
    int m_fdDirect = -1;
    std::unique_ptr<uint8_t, FreeDeleter> m_pStage;
    size_t m_nDirectBufferBytes = 0;
    uint64_t m_nStagePos = 0;
    // Where the chunks started at DirectFrames, and the frame size it took.
    uint64_t m_nDirectFirstEnd = 0;
    uint32_t m_nDirectFrameBytes = 0;

    // The mapping of the file (MapFrames to Close): the frames of
    // m_nMapFrameBytes from position m_nMapFirst on, their chunks from
    // m_nMapFirstChunk; the file's size so far, under m_MapMutex.
    uint8_t* m_pMap = nullptr;
    uint64_t m_nMapBytes = 0;
    uint32_t m_nMapFrameBytes = 0;
    int64_t m_nMapFirst = 0;
    uint64_t m_nMapFirstChunk = 0;
    std::mutex m_MapMutex;
    uint64_t m_nMapFileBytes = 0;
};

}  // namespace plat
