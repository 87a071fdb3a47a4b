// The writer of a preview recording into a file not in memory (one in
// memory: AviMappedFrames): the drawing thread copies each shown
// frame into one of a few buffers allocated when the recording starts and
// goes on drawing; a thread of its own writes the buffers to the file in the
// order they came. Nothing is allocated per frame. The drawing thread never
// waits for the file: when every buffer still waits for the writer, the
// frame is refused and the caller leaves it out.
//
// Push belongs to one thread at a time (the device calls it under its
// drawing lock); Finish and the destructor to the owner.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/Thread.h"

class CAviFrameQueue {
  public:
    // Writes one frame of the recording's size; false when the write failed.
    using WriteFrame = std::function<bool(const uint8_t* pFrame)>;
    static constexpr size_t kBuffers = 4;
    enum class Pushed { kQueued, kFull, kFailed };

    CAviFrameQueue() = default;
    CAviFrameQueue(const CAviFrameQueue&) = delete;
    CAviFrameQueue& operator=(const CAviFrameQueue&) = delete;
    ~CAviFrameQueue() { Finish(); }

    // Allocates the buffers of nFrameBytes each and starts the writer; false
    // when memory or a thread is lacking (nothing runs then).
    bool Start(uint32_t nFrameBytes, WriteFrame write);
    // Copies a frame of nFrameBytes into the next free buffer without
    // waiting for the writer: kFull, with nothing queued, when no buffer is
    // free; kFailed after a failed write and after Finish.
    Pushed Push(const uint8_t* pFrame);
    // Writes what is queued and ends the writer: false when a write failed.
    // Nothing to do when it is not running.
    bool Finish();

  private:
    void WriterBody();

    std::vector<std::vector<uint8_t>> m_Buffers;
    uint32_t m_nFrameBytes = 0;
    WriteFrame m_Write;
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    size_t m_nNext = 0;    // the buffer the writer takes next
    size_t m_nQueued = 0;  // buffers waiting for the writer, from m_nNext on
    bool m_bFailed = false;
    bool m_bFinishing = false;
    plat::Thread m_Thread;  // last: it ends before the members it uses go
};
