// One AVI recording: the file, its stream format and the compressor options
// it was started with. A preview recording takes the preview's output format
// and its shown frames one after the other; an explicit recording has a
// format of its own and takes the frames a caller hands over at the sample
// positions the caller gives.
//
// The object is not locked: the device keeps it behind its drawing lock and
// hands it over to the drawing thread only once it is open. A preview
// recording into a file in memory copies the shown frames straight into the
// file's mapping, whose pages helper threads take ahead (AviMappedFrames);
// into any other file it writes them on a writer thread of its own
// (AviFrameQueue), past the page cache where it can. Close and Discard end
// those threads before the file is finished.
//
// The drawing thread never waits for the file: a shown frame that finds the
// writer behind is left out (counted, and logged at most once a second);
// when the writer has taken no frame for the stall bound, or a write fails,
// the recording ends, and a thread of its own writes the frames taken and
// closes the file (End), so that nothing holding the device's locks waits
// for it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "acquisition/recording/AviFrameQueue.h"
#include "acquisition/recording/AviMappedFrames.h"
#include "common/Log.h"
#include "platform/AviWriter.h"
#include "platform/Thread.h"
#include "window/PlatWindow.h"

class CAviRecording {
  public:
    // Where the compressor options come from: always the chooser (the
    // dialog), or the registry key of an earlier choice, the chooser only
    // when the key is missing.
    enum class Options { Dialog, Registry };

    // Largest format or parameter block of the compressor options read from
    // the registry; a larger stored size is refused.
    static constexpr uint32_t kMaxOptionBlockBytes = 64 * 1024;

    // A preview recording whose writer takes no shown frame for this long
    // ends.
    static constexpr uint32_t kStallMs = 5000;

    // The writer's pace for tests: a hook its threads call before each
    // frame's write (or the taking of its pages, in memory), and the stall
    // bound. Recordings opened afterwards use them.
    struct WriterHooks {
        void (*pfBeforeWrite)(void* pUser) = nullptr;
        void* pUser = nullptr;
        uint32_t nStallMs = kStallMs;
    };
    static void SetWriterHooks(const WriterHooks& hooks);

    // nMaxFileBytes lowers the file limit below the format's (tests).
    explicit CAviRecording(CLog* pLog, uint64_t nMaxFileBytes = plat::AviWriter::kMaxFileBytes);
    CAviRecording(const CAviRecording&) = delete;
    CAviRecording& operator=(const CAviRecording&) = delete;
    ~CAviRecording();

    // Opens the file with the stream of the given format at fRate frames a
    // second and chooses the compressor (a choice made in the dialog is
    // stored in the registry). RET_SUCCESS; RET_FAIL for a rate below 0.01
    // or any failure (no file is then left); RET_NOTSUPPORT when the video
    // services are too old.
    int Open(const wchar_t* pszFile, float fRate, const PlatBitmapInfo& format, Options options,
             bool bPreview);
    bool ForPreview() const { return m_bPreview; }

    // The next shown frame of a preview recording, handed to its writer
    // without waiting for it: kTaken; kLeftOut when the writer is behind;
    // kEnded when the frame does not have the recording's format, the writer
    // failed (an earlier frame's write, or no pages for it), the writer took
    // no frame for the stall bound, or the recording had ended. One thread at
    // a time.
    enum class Shown { kTaken, kLeftOut, kEnded };
    Shown WriteNextFrame(const uint8_t* pFrame, int nWidth, int nHeight, int nBitCount);
    // Shown frames left out so far.
    uint32_t LeftOut() const { return m_nLeftOut; }
    // A frame of the recording's format at the caller's sample position:
    // RET_SUCCESS, RET_PARAMERROR for null data or another format (nothing
    // written), RET_FAIL for a position already written or when the write
    // fails, RET_NOTSUPPORT once the file is closed; after a failed write
    // (the file full or not writable) Ended() tells that the recording can
    // take no more frames. Any thread; one write at a time.
    int AddFrame(const void* pData, int nPosition, int nWidth, int nHeight, int nBitCount);
    bool Ended() const { return m_bEnded; }

    // Ends the recording without waiting: the frames already taken are
    // written and the file is closed on a thread of the recording's own
    // (inline by Close when no thread can be had); onClosed is called once
    // the file is closed, on the thread that closed it.
    void End(std::function<void()> onClosed);
    // Writes the frames still taken and the index, and closes the file; after
    // End, waits until that is done.
    void Close();
    // Closes and removes the file.
    void Discard();

    // The BITMAPINFO of an explicit recording: 8-bit frames get a grey
    // palette of 256 entries.
    static PlatBitmapInfo ExplicitFormat(int nWidth, int nHeight, int nBitCount);

  private:
    bool ChooseOptions(Options options, plat::AviCompressOptions& chosen, bool& bStore);
    bool ReadRegistryOptions(plat::AviCompressOptions& options, bool& bFound);
    // Starts the writer of a preview recording: straight into the mapped
    // file when it is in memory, else a writer thread (past the page cache
    // where the file system allows); false when memory or a thread is
    // lacking.
    bool StartPreviewWriter();
    void StoreOptions(const plat::AviCompressOptions& options);
    // Ends the writer threads and closes the file, once.
    void FinishFile();
    void BeforeWrite() const;

    CLog* m_pLog;
    plat::AviWriter m_Writer;
    bool m_bPreview = false;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    int m_nBitCount = 0;
    uint32_t m_nFrameBytes = 0;
    int m_nAviFrameIndex = 0;  // next sample of a preview recording (its writer's)
    std::atomic<bool> m_bEnded{false};
    bool m_bMapped = false;  // a preview recording's frames go to m_Mapped
    WriterHooks m_Hooks;
    // The drawing thread's view of a preview recording's writer.
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_LastTaken;
    Clock::time_point m_LastLeftOutLog;
    std::atomic<uint32_t> m_nLeftOut{0};
    uint32_t m_nLeftOutLogged = 0;
    // The file, between the caller's frames, End's thread and Close.
    std::mutex m_FileMutex;
    bool m_bClosed = false;
    std::function<void()> m_OnClosed;  // set by End before its thread starts
    // A preview recording's writer, one of them; last, they end first.
    CAviFrameQueue m_Queue;
    CAviMappedFrames m_Mapped;
    plat::Thread m_Closer;  // End's thread; ends before everything it uses
};
