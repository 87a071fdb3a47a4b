// The AVI writer, its files read back by the RIFF rules alone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RiffReader.h"
#include "TestScratch.h"
#include "platform/AviWriter.h"

namespace {

using plat::AviStreamFormat;
using plat::AviWriter;

// An 8-bit grey format of w x h pixels: 40-byte header and 256 entries.
AviStreamFormat GreyFormat(int nWidth, int nHeight, uint32_t dwRate, uint32_t dwScale) {
    AviStreamFormat format;
    format.nWidth = nWidth;
    format.nHeight = nHeight;
    format.dwRate = dwRate;
    format.dwScale = dwScale;
    format.dwSuggestedBufferSize = static_cast<uint32_t>(nWidth * nHeight);
    format.bitmapInfo.assign(40 + 4 * 256, 0);
    format.bitmapInfo[0] = 40;
    for (int i = 0; i < 256; ++i) {
        for (int k = 0; k < 4; ++k) {
            format.bitmapInfo[40 + 4 * static_cast<size_t>(i) + static_cast<size_t>(k)] =
                static_cast<uint8_t>(i);
        }
    }
    return format;
}

std::vector<uint8_t> Frame(size_t nBytes, int nSeed) {
    std::vector<uint8_t> frame(nBytes);
    for (size_t i = 0; i < nBytes; ++i) {
        frame[i] = static_cast<uint8_t>(i * 7 + static_cast<size_t>(nSeed));
    }
    return frame;
}

std::string AsText(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// The k-th frame after DirectFrames written past the page cache from a
// buffer of the caller's, placed at its lead.
bool WriteDirect(AviWriter& writer, uint64_t k, const std::vector<uint8_t>& frame) {
    const size_t nBufferBytes = writer.DirectBufferBytes();
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(
        static_cast<uint8_t*>(std::aligned_alloc(AviWriter::kDirectBlockBytes, nBufferBytes)),
        &std::free);
    const size_t nLead = writer.DirectFrameLead(k);
    EXPECT_LE(nLead + frame.size() + 1, nBufferBytes);
    std::memcpy(buffer.get() + nLead, frame.data(), frame.size());
    return writer.WriteDirectFrame(buffer.get() + nLead);
}

// Every index entry points at its chunk in 'movi' and gives its size.
void ExpectIndexMatchesFrames(const testutil::AviFileContent& avi) {
    ASSERT_EQ(avi.index.size(), avi.frames.size());
    for (size_t i = 0; i < avi.index.size(); ++i) {
        EXPECT_EQ(avi.index[i].id, "00db");
        EXPECT_EQ(avi.nMoviOffset + avi.index[i].dwOffset, avi.frames[i].nOffset) << i;
        EXPECT_EQ(avi.index[i].dwSize, avi.frames[i].data.size()) << i;
    }
}

TEST(AviWriterTest, FramesHeadersAndIndexReadBack) {
    const std::string path = testutil::FreshFolder() + "/clip.avi";
    const AviStreamFormat format = GreyFormat(3, 3, 2500, 100);  // 25 frames a second, odd size
    AviWriter writer;
    ASSERT_TRUE(writer.Create(path, format));
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < 3; ++i) {
        frames.push_back(Frame(9, i));
        ASSERT_TRUE(writer.WriteFrame(i, frames.back().data(), 9, true));
    }
    EXPECT_EQ(writer.NextPosition(), 3);
    ASSERT_TRUE(writer.Close());

    const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
    ASSERT_TRUE(avi.bValid) << avi.error;
    EXPECT_EQ(avi.dwTotalFrames, 3u);
    EXPECT_EQ(avi.dwStreams, 1u);
    EXPECT_EQ(avi.dwFlags & 0x10, 0x10u);  // has an index
    EXPECT_EQ(avi.dwMicroSecPerFrame, 40000u);
    EXPECT_EQ(avi.dwWidth, 3u);
    EXPECT_EQ(avi.dwHeight, 3u);
    EXPECT_EQ(avi.fccType, "vids");
    EXPECT_EQ(avi.fccHandler, "DIB ");
    EXPECT_EQ(avi.dwRate, 2500u);
    EXPECT_EQ(avi.dwScale, 100u);
    EXPECT_EQ(avi.dwLength, 3u);
    EXPECT_EQ(avi.dwStreamSuggestedBufferSize, 9u);
    EXPECT_EQ(avi.rcFrame[2], 3);
    EXPECT_EQ(avi.rcFrame[3], 3);
    EXPECT_EQ(avi.format, AsText(format.bitmapInfo));
    ASSERT_EQ(avi.frames.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(avi.frames[i].id, "00db");
        EXPECT_EQ(avi.frames[i].data, AsText(frames[i]));
        EXPECT_EQ(avi.index[i].dwFlags, 0x10u);  // key frame
    }
    ExpectIndexMatchesFrames(avi);
}

TEST(AviWriterTest, AGapIsFilledWithDroppedFramesAndThePastIsRefused) {
    const std::string path = testutil::FreshFolder() + "/gap.avi";
    AviWriter writer;
    ASSERT_TRUE(writer.Create(path, GreyFormat(2, 2, 10, 1)));
    const std::vector<uint8_t> frame = Frame(4, 1);
    ASSERT_TRUE(writer.WriteFrame(0, frame.data(), 4, true));
    ASSERT_TRUE(writer.WriteFrame(3, frame.data(), 4, true));
    EXPECT_FALSE(writer.WriteFrame(3, frame.data(), 4, true));
    EXPECT_FALSE(writer.WriteFrame(-1, frame.data(), 4, true));
    EXPECT_FALSE(writer.WriteFrame(4, nullptr, 4, true));
    ASSERT_TRUE(writer.Close());
    const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
    ASSERT_TRUE(avi.bValid) << avi.error;
    ASSERT_EQ(avi.frames.size(), 4u);
    EXPECT_EQ(avi.dwTotalFrames, 4u);
    EXPECT_TRUE(avi.frames[1].data.empty());
    EXPECT_EQ(avi.index[1].dwFlags, 0u);
    EXPECT_EQ(avi.frames[3].data, AsText(frame));
    ExpectIndexMatchesFrames(avi);
}

TEST(AviWriterTest, AFrameBeyondTheSizeLimitIsRefusedAndTheFileStaysValid) {
    const std::string path = testutil::FreshFolder() + "/limit.avi";
    const AviStreamFormat format = GreyFormat(10, 10, 10, 1);
    // Room for the headers and two frames of 100 bytes with their index.
    const uint64_t nHeaders = 172 + format.bitmapInfo.size() + 12;
    AviWriter writer(nHeaders + 2 * (8 + 100) + 8 + 2 * 16);
    ASSERT_TRUE(writer.Create(path, format));
    const std::vector<uint8_t> frame = Frame(100, 3);
    EXPECT_TRUE(writer.WriteFrame(0, frame.data(), 100, true));
    EXPECT_TRUE(writer.WriteFrame(1, frame.data(), 100, true));
    EXPECT_FALSE(writer.WriteFrame(2, frame.data(), 100, true));
    EXPECT_FALSE(writer.WriteFrame(1000000000, frame.data(), 1, true));
    ASSERT_TRUE(writer.Close());
    const std::string file = testutil::ReadFile(path);
    EXPECT_EQ(file.size(), nHeaders + 2 * (8 + 100) + 8 + 2 * 16);
    const auto avi = testutil::ParseAvi(file);
    ASSERT_TRUE(avi.bValid) << avi.error;
    EXPECT_EQ(avi.frames.size(), 2u);
    ExpectIndexMatchesFrames(avi);
}

// The file may grow no further than a limit set for the process: a write
// beyond it fails (the signal it raises is ignored meanwhile).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t nBytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        signal(SIGXFSZ, m_oldHandler);
    }

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(AviWriterTest, AFailedWriteKeepsTheFramesWrittenBeforeIt) {
    const std::string path = testutil::FreshFolder() + "/full.avi";
    const AviStreamFormat format = GreyFormat(40, 25, 10, 1);
    const uint64_t nHeaders = 172 + format.bitmapInfo.size() + 12;
    const std::vector<uint8_t> frame = Frame(1000, 5);
    AviWriter writer;
    ASSERT_TRUE(writer.Create(path, format));
    {
        // The second frame ends half way; the index of the first still fits.
        FileSizeLimit limit(nHeaders + 1008 + 500);
        EXPECT_TRUE(writer.WriteFrame(0, frame.data(), 1000, true));
        EXPECT_FALSE(writer.WriteFrame(1, frame.data(), 1000, true));
        EXPECT_FALSE(writer.WriteFrame(2, frame.data(), 1000, true));  // failed for good
        EXPECT_TRUE(writer.Close());
    }
    const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
    ASSERT_TRUE(avi.bValid) << avi.error;
    ASSERT_EQ(avi.frames.size(), 1u);
    EXPECT_EQ(avi.frames[0].data, AsText(frame));
    EXPECT_EQ(avi.dwTotalFrames, 1u);
    ExpectIndexMatchesFrames(avi);
}

// Frames written into the mapped file by several threads: the pages of
// later frames taken first, then the frames in order. The file is the one
// the ordinary writes make, an odd frame size padded alike.
TEST(AviWriterTest, MappedFramesMakeTheFileOfOrdinaryWrites) {
    const std::string folder = testutil::FreshMemoryFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "no folder in memory";
    }
    for (const uint32_t nBytes : {1000u, 999u}) {
        SCOPED_TRACE(nBytes);
        const AviStreamFormat format = GreyFormat(static_cast<int>(nBytes), 1, 25, 1);
        AviWriter ordinary;
        ASSERT_TRUE(ordinary.Create(folder + "/ordinary.avi", format));
        AviWriter mapped;
        ASSERT_TRUE(mapped.Create(folder + "/mapped.avi", format));
        EXPECT_TRUE(mapped.ReserveFrames(nBytes));
        ASSERT_TRUE(mapped.MapFrames(nBytes));
        EXPECT_FALSE(mapped.WriteFrame(0, Frame(nBytes, 0).data(), nBytes, true));
        std::vector<std::thread> helpers;
        for (int64_t n = 3; n >= 0; --n) {
            helpers.emplace_back([&mapped, n] { EXPECT_TRUE(mapped.PrepareMappedFrame(n)); });
        }
        for (std::thread& helper : helpers) {
            helper.join();
        }
        for (int i = 0; i < 4; ++i) {
            const std::vector<uint8_t> frame = Frame(nBytes, i);
            ASSERT_TRUE(ordinary.WriteFrame(i, frame.data(), nBytes, true));
            uint8_t* pData = mapped.BeginMappedFrame();
            ASSERT_NE(pData, nullptr);
            std::memcpy(pData, frame.data(), nBytes);
            mapped.EndMappedFrame();
        }
        EXPECT_EQ(mapped.NextPosition(), 4);
        ASSERT_TRUE(ordinary.Close());
        ASSERT_TRUE(mapped.Close());
        const std::string file = testutil::ReadFile(folder + "/mapped.avi");
        EXPECT_TRUE(file == testutil::ReadFile(folder + "/ordinary.avi"));
        const auto avi = testutil::ParseAvi(file);
        ASSERT_TRUE(avi.bValid) << avi.error;
        EXPECT_EQ(avi.frames.size(), 4u);
        ExpectIndexMatchesFrames(avi);
    }
}

// The mapped file grows in steps, by what a frame needs where a step would
// pass the process's limit, and the frames the file's limits leave no room
// for get no pages: the frames written before stay a valid file, cut after
// the last one.
TEST(AviWriterTest, MappedFramesStopAtTheFileLimits) {
    const std::string folder = testutil::FreshMemoryFolder();
    if (folder.empty()) {
        GTEST_SKIP() << "no folder in memory";
    }
    const AviStreamFormat format = GreyFormat(10, 10, 10, 1);
    const uint64_t nHeaders = 172 + format.bitmapInfo.size() + 12;
    // Room for two frames of 100 bytes: in the format's size limit, or in
    // the process's with one more frame's index beyond.
    const uint64_t nTwoFrames = nHeaders + 2 * (8 + 100) + 8 + 2 * 16;
    for (const bool bProcessLimit : {false, true}) {
        SCOPED_TRACE(bProcessLimit);
        const std::string path = folder + "/limit.avi";
        AviWriter writer(bProcessLimit ? AviWriter::kMaxFileBytes : nTwoFrames);
        ASSERT_TRUE(writer.Create(path, format));
        ASSERT_TRUE(writer.MapFrames(100));
        {
            FileSizeLimit limit(bProcessLimit ? nTwoFrames : RLIM_INFINITY);
            EXPECT_TRUE(writer.PrepareMappedFrame(1));
            EXPECT_TRUE(writer.PrepareMappedFrame(0));
            EXPECT_FALSE(writer.PrepareMappedFrame(3));
            EXPECT_FALSE(writer.PrepareMappedFrame(2));
            for (int i = 0; i < 2; ++i) {
                uint8_t* pData = writer.BeginMappedFrame();
                ASSERT_NE(pData, nullptr);
                std::memset(pData, i + 1, 100);
                writer.EndMappedFrame();
            }
            EXPECT_EQ(writer.BeginMappedFrame(), nullptr);
            EXPECT_TRUE(writer.Close());
        }
        const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
        ASSERT_TRUE(avi.bValid) << avi.error;
        ASSERT_EQ(avi.frames.size(), 2u);
        EXPECT_EQ(avi.frames[1].data, std::string(100, '\2'));
        EXPECT_EQ(avi.nFileSize, nTwoFrames);
        ExpectIndexMatchesFrames(avi);
    }
}

// Frames handed over in the caller's buffers, each at the lead of its
// position: the file is the one the ordinary writes make (an odd frame size,
// so that the chunks start anywhere in a block); a frame not at its lead, or
// one handed to WriteFrame, is refused and changes nothing.
TEST(AviWriterTest, DirectFramesFromTheCallersBuffersMakeTheFileOfOrdinaryWrites) {
    const std::string folder = testutil::FreshFolder();
    const uint32_t nBytes = 9999;
    const AviStreamFormat format = GreyFormat(static_cast<int>(nBytes), 1, 25, 1);
    AviWriter ordinary;
    ASSERT_TRUE(ordinary.Create(folder + "/ordinary.avi", format));
    AviWriter direct;
    ASSERT_TRUE(direct.Create(folder + "/direct.avi", format));
    if (!direct.DirectFrames(nBytes)) {
        GTEST_SKIP() << "the file system takes no writes past the page cache";
    }
    const size_t nBufferBytes = direct.DirectBufferBytes();
    ASSERT_EQ(nBufferBytes % AviWriter::kDirectBlockBytes, 0u);
    std::unique_ptr<uint8_t, decltype(&std::free)> buffer(
        static_cast<uint8_t*>(std::aligned_alloc(AviWriter::kDirectBlockBytes, nBufferBytes)),
        &std::free);
    ASSERT_TRUE(buffer);
    for (int64_t nPosition = 0; nPosition < 7; ++nPosition) {
        const std::vector<uint8_t> frame = Frame(nBytes, static_cast<int>(nPosition));
        const size_t nLead = direct.DirectFrameLead(static_cast<uint64_t>(nPosition));
        ASSERT_LE(nLead + nBytes + 1, nBufferBytes);
        if (nPosition == 3) {
            std::memcpy(buffer.get() + nLead + 1, frame.data(), nBytes);
            EXPECT_FALSE(direct.WriteDirectFrame(buffer.get() + nLead + 1));
            EXPECT_FALSE(direct.WriteFrame(nPosition, frame.data(), nBytes, true));
        }
        std::memcpy(buffer.get() + nLead, frame.data(), nBytes);
        ASSERT_TRUE(direct.WriteDirectFrame(buffer.get() + nLead));
        ASSERT_TRUE(ordinary.WriteFrame(nPosition, frame.data(), nBytes, true));
    }
    ASSERT_TRUE(ordinary.Close());
    ASSERT_TRUE(direct.Close());
    const std::string file = testutil::ReadFile(folder + "/direct.avi");
    EXPECT_TRUE(file == testutil::ReadFile(folder + "/ordinary.avi"));
    const auto avi = testutil::ParseAvi(file);
    ASSERT_TRUE(avi.bValid) << avi.error;
    EXPECT_EQ(avi.frames.size(), 7u);
    ExpectIndexMatchesFrames(avi);
}

// A write past the page cache that fails (past the process's limit for
// files) ends the frames; the file keeps those before it, their last block
// written at the close. When that block cannot be written, the file ends
// with the last frame wholly in it.
TEST(AviWriterTest, AFailedDirectWriteKeepsTheFramesWrittenBeforeIt) {
    const std::string folder = testutil::FreshFolder();
    const uint32_t nBytes = 10000;
    const AviStreamFormat format = GreyFormat(100, 100, 10, 1);
    const uint64_t nHeaders = 172 + format.bitmapInfo.size() + 12;
    const uint64_t nChunk = 8 + nBytes;
    {
        const std::string path = folder + "/rest.avi";
        AviWriter writer;
        ASSERT_TRUE(writer.Create(path, format));
        if (!writer.DirectFrames(nBytes)) {
            GTEST_SKIP() << "the file system takes no writes past the page cache";
        }
        const std::vector<uint8_t> frame = Frame(nBytes, 4);
        EXPECT_TRUE(WriteDirect(writer, 0, frame));
        EXPECT_TRUE(WriteDirect(writer, 1, frame));
        // The second frame's last block is not in the file yet.
        FileSizeLimit limit(nHeaders + 2 * nChunk - 100);
        EXPECT_TRUE(writer.Close());
        const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
        ASSERT_TRUE(avi.bValid) << avi.error;
        ASSERT_EQ(avi.frames.size(), 1u);
        EXPECT_EQ(avi.frames[0].data, AsText(frame));
        ExpectIndexMatchesFrames(avi);
    }
    {
        const std::string path = folder + "/full.avi";
        AviWriter writer;
        ASSERT_TRUE(writer.Create(path, format));
        if (!writer.DirectFrames(nBytes)) {
            GTEST_SKIP() << "the file system takes no writes past the page cache";
        }
        const std::vector<uint8_t> frame = Frame(nBytes, 9);
        {
            FileSizeLimit limit(nHeaders + 2 * nChunk + nChunk / 2);
            EXPECT_TRUE(WriteDirect(writer, 0, frame));
            EXPECT_TRUE(WriteDirect(writer, 1, frame));
            EXPECT_FALSE(WriteDirect(writer, 2, frame));
            EXPECT_FALSE(WriteDirect(writer, 3, frame));  // failed for good
            EXPECT_TRUE(writer.Close());
        }
        const auto avi = testutil::ParseAvi(testutil::ReadFile(path));
        ASSERT_TRUE(avi.bValid) << avi.error;
        ASSERT_EQ(avi.frames.size(), 2u);
        EXPECT_EQ(avi.frames[1].data, AsText(frame));
        EXPECT_EQ(avi.nFileSize, nHeaders + 2 * nChunk + 8 + 2 * 16);
        ExpectIndexMatchesFrames(avi);
    }
}

TEST(AviWriterTest, CreateFailuresLeaveNoFile) {
    const std::string folder = testutil::FreshFolder();
    AviWriter writer;
    EXPECT_FALSE(writer.Create(folder + "/missing/clip.avi", GreyFormat(2, 2, 10, 1)));
    AviStreamFormat noRate = GreyFormat(2, 2, 0, 1);
    EXPECT_FALSE(writer.Create(folder + "/clip.avi", noRate));
    EXPECT_FALSE(writer.IsOpen());
    ASSERT_TRUE(writer.Create(folder + "/clip.avi", GreyFormat(2, 2, 10, 1)));
    writer.Discard();
    EXPECT_TRUE(testutil::FilesIn(folder).empty());
}

bool Cancel(plat::AviCompressOptions&, uint32_t, void* pUser) {
    ++*static_cast<int*>(pUser);
    return false;
}

TEST(AviCompressorTest, DefaultChoosesUncompressedAndAHookMayCancel) {
    plat::AviCompressOptions options;
    options.dwQuality = 5;
    ASSERT_TRUE(plat::ChooseAviCompressor(options, plat::kChooseKeyFrame));
    EXPECT_EQ(options.fccType, plat::kFourCCVideo);
    EXPECT_EQ(options.fccHandler, plat::kFourCCUncompressed);
    EXPECT_EQ(options.dwQuality, 0u);  // options start zeroed
    EXPECT_TRUE(plat::AviCompressorAvailable(options));
    int nCalls = 0;
    plat::SetAviCompressorChooser(Cancel, &nCalls);
    EXPECT_FALSE(plat::ChooseAviCompressor(options, 0));
    EXPECT_EQ(nCalls, 1);
    plat::SetAviCompressorChooser(nullptr, nullptr);
    EXPECT_TRUE(plat::ChooseAviCompressor(options, 0));
    options.fccHandler = plat::FourCC('X', 'V', 'I', 'D');
    EXPECT_FALSE(plat::AviCompressorAvailable(options));
    options.fccHandler = 0;
    EXPECT_TRUE(plat::AviCompressorAvailable(options));
    EXPECT_GE(plat::VideoServicesVersion(), 0x010A0000u);
}

}  // namespace
