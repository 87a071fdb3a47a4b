// The writer of a preview recording into a file not in memory (one in
// memory: AviMappedFrames): the drawing thread copies each shown
// frame into one of a few buffers allocated when the recording starts and
// goes on drawing; a thread of its own writes the buffers to the file in the
// order they came. A layout may place each frame in a larger aligned buffer
// at a lead of its own, so that the writer writes it from there as it is. Nothing is allocated per
// frame. The drawing thread never waits for the file: when every buffer still waits for the writer,
// the frame is refused and the caller leaves it out.
//
// Push belongs to one thread at a time (the device calls it under its
// drawing lock); Finish and the destructor to the owner.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Thread.h"

class CAviFrameQueue {
  public:
    // Writes one frame of the recording's size, which lies in its buffer at
    // its lead (the bytes around it the writer's to use); false when the
    // write failed.
    using WriteFrame = std::function<bool(uint8_t* pFrame)>;
    static constexpr size_t kBuffers = 4;
    enum class Pushed { kQueued, kFull, kFailed };
    // Where frames go in their buffers: by default at the start of buffers
    // of the frame's size.
    struct Layout {
        size_t nBufferBytes = 0;  // at least the frame's size
        size_t nAlign = alignof(std::max_align_t);
        // The lead of the n-th frame pushed, from 0 on.
        std::function<size_t(uint64_t nFrame)> leadOf;
    };

    CAviFrameQueue() = default;
    CAviFrameQueue(const CAviFrameQueue&) = delete;
    CAviFrameQueue& operator=(const CAviFrameQueue&) = delete;
    ~CAviFrameQueue() { Finish(); }

    // Allocates the buffers and starts the writer; false when memory or a
    // thread is lacking (nothing runs then).
    bool Start(uint32_t nFrameBytes, WriteFrame write);
    bool Start(uint32_t nFrameBytes, WriteFrame write, Layout layout);
    // Copies a frame of nFrameBytes into the next free buffer without
    // waiting for the writer: kFull, with nothing queued, when no buffer is
    // free; kFailed after a failed write, after Finish and when the frame's
    // lead leaves no room for it.
    Pushed Push(const uint8_t* pFrame);
    // Writes what is queued and ends the writer: false when a write failed.
    // Nothing to do when it is not running.
    bool Finish();

  private:
    void WriterBody();

    struct FreeDeleter {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    struct Buffer {
        std::unique_ptr<uint8_t, FreeDeleter> pBytes;
        size_t nLead = 0;  // of the frame it holds
    };
    std::vector<Buffer> m_Buffers;
    uint32_t m_nFrameBytes = 0;
    Layout m_Layout;
    uint64_t m_nPushed = 0;  // frames queued so far (Push's)
    WriteFrame m_Write;
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    size_t m_nNext = 0;    // the buffer the writer takes next
    size_t m_nQueued = 0;  // buffers waiting for the writer, from m_nNext on
    bool m_bFailed = false;
    bool m_bFinishing = false;
    plat::Thread m_Thread;  // last: it ends before the members it uses go
};
