// The writer of a preview recording whose file is in memory and mapped
// (plat::AviWriter::MapFrames): the drawing thread copies each shown frame
// straight into its chunk of the file, in order, and a few helper threads
// take the pages of the next frames' chunks ahead. Taking pages is most of a
// write's cost in memory and runs in parallel this way; the frame is copied
// once, with stores that pass the cache by. Nothing is allocated per frame.
// The drawing thread never waits for the helpers: a frame whose pages are
// not there yet is refused and the caller leaves it out.
//
// Push belongs to one thread at a time (the device calls it under its
// drawing lock); Start, Finish and the destructor to the owner.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/AviWriter.h"
#include "platform/Thread.h"

class CAviMappedFrames {
  public:
    static constexpr size_t kHelpers = 3;
    // Frames whose pages are taken ahead of the next one written, at most.
    static constexpr size_t kAhead = 8;
    enum class Pushed { kWritten, kNotReady, kFailed };
    // Called by a helper before it takes a frame's pages (a test's slow
    // file).
    using PrepareHook = std::function<void()>;

    CAviMappedFrames() = default;
    CAviMappedFrames(const CAviMappedFrames&) = delete;
    CAviMappedFrames& operator=(const CAviMappedFrames&) = delete;
    ~CAviMappedFrames() { Finish(); }

    // Starts the helpers on the frames of a writer whose file is mapped, from
    // its next position on; false when a thread is lacking (nothing runs
    // then). The writer stays until Finish.
    bool Start(plat::AviWriter& writer, PrepareHook beforePrepare = {});
    // Writes the next frame (the writer's MappedFrameBytes()) when its pages
    // are there: kWritten; kNotReady, with nothing written, while a helper
    // is still taking them; kFailed, with nothing written, when its pages
    // could not be had (the file's limit among others) or an earlier frame
    // failed, and after Finish.
    Pushed Push(const uint8_t* pFrame);
    // Ends the helpers: false when a frame failed. Nothing to do when they
    // do not run.
    bool Finish();

  private:
    enum class Slot : uint8_t { kFree, kPreparing, kReady, kFailed };
    void HelperBody();

    plat::AviWriter* m_pWriter = nullptr;
    PrepareHook m_BeforePrepare;
    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    // The state of the positions from m_nNext on, position n in slot
    // n % kAhead; the positions below m_nClaimed went to a helper.
    std::array<Slot, kAhead> m_Slots{};
    int64_t m_nFirst = 0;
    int64_t m_nNext = 0;
    int64_t m_nClaimed = 0;
    bool m_bFailed = false;         // a frame's pages or its write failed
    bool m_bPrepareFailed = false;  // no more positions are claimed
    bool m_bFinishing = false;
    std::array<plat::Thread, kHelpers> m_Helpers;  // last: they end first
};
