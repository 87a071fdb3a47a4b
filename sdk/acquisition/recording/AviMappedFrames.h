// The writer of a preview recording whose file is in memory and mapped
// (plat::AviWriter::MapFrames): the drawing thread copies each shown frame
// straight into its chunk of the file, in order, and a few helper threads
// take the pages of the next frames' chunks ahead. Taking pages is most of a
// write's cost in memory and runs in parallel this way; the frame is copied
// once, with stores that pass the cache by. Nothing is allocated per frame.
//
// Push belongs to one thread at a time (the device calls it under its
// drawing lock); Start, Finish and the destructor to the owner.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/AviWriter.h"
#include "platform/Thread.h"

class CAviMappedFrames {
  public:
    static constexpr size_t kHelpers = 3;
    // Frames whose pages are taken ahead of the next one written, at most.
    static constexpr size_t kAhead = 8;
    // The longest a frame waits for its pages: helpers stuck that long end
    // the recording.
    static constexpr uint32_t kPreparedWaitMs = 10000;

    CAviMappedFrames() = default;
    CAviMappedFrames(const CAviMappedFrames&) = delete;
    CAviMappedFrames& operator=(const CAviMappedFrames&) = delete;
    ~CAviMappedFrames() { Finish(); }

    // Starts the helpers on the frames of a writer whose file is mapped, from
    // its next position on; false when a thread is lacking (nothing runs
    // then). The writer stays until Finish.
    bool Start(plat::AviWriter& writer);
    // Writes the next frame (the writer's MappedFrameBytes()) once its pages
    // are there, waiting for them at most kPreparedWaitMs. False, with
    // nothing written, when its pages could not be had (the file's limit
    // among others), an earlier frame failed or the wait timed out, and
    // after Finish.
    bool Push(const uint8_t* pFrame);
    // Ends the helpers: false when a frame failed. Nothing to do when they
    // do not run.
    bool Finish();

  private:
    enum class Slot : uint8_t { kFree, kPreparing, kReady, kFailed };
    void HelperBody();

    plat::AviWriter* m_pWriter = nullptr;
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
