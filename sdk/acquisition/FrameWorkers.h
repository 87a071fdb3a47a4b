// CFrameWorkers: a few threads that share the per-pixel passes of one frame.
// Run(n, work) calls work(begin, end) on disjoint pieces that together cover
// 0 .. n - 1, on the workers and the calling thread, and returns when every
// piece is done. The pieces are handed out one at a time to whichever thread
// asks next, so a thread the system keeps waiting delays the pass by one
// piece at most. Calls of Run from several threads take turns; the threads
// start on first use and stop when the object goes away.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class CFrameWorkers {
  public:
    // Passes below this many items run on the calling thread alone.
    static constexpr size_t kMinParallelItems = 65536;
    // A pass is cut into this many pieces per thread, each of at least
    // kMinPieceItems items.
    static constexpr size_t kPiecesPerThread = 8;
    static constexpr size_t kMinPieceItems = 8192;

    CFrameWorkers() = default;
    CFrameWorkers(const CFrameWorkers&) = delete;
    CFrameWorkers& operator=(const CFrameWorkers&) = delete;
    ~CFrameWorkers();

    template <typename Work>
    void Run(size_t nItems, const Work& work) {
        RunPieces(nItems, &work,
                  [](const void* p, size_t b, size_t e) { (*static_cast<const Work*>(p))(b, e); });
    }

  private:
    using Trampoline = void (*)(const void*, size_t, size_t);
    void RunPieces(size_t nItems, const void* pWork, Trampoline call);
    void Start();
    void WorkerLoop();
    // Runs pieces of the current pass until none is left to take; called
    // and left with m_Mutex held.
    void TakePieces(std::unique_lock<std::mutex>& lock);

    std::mutex m_RunMutex;  // one Run at a time
    std::mutex m_Mutex;     // guards everything below
    std::condition_variable m_Wake;
    std::condition_variable m_Done;
    std::vector<std::thread> m_Threads;
    bool m_bStarted = false;
    bool m_bStop = false;
    size_t m_nThreads = 1;  // workers plus the calling thread
    // The current pass: pieces [0, m_nPieces) of m_nItems items; pieces
    // below m_nNextPiece are taken, m_nDonePieces of them finished.
    size_t m_nItems = 0;
    size_t m_nPieces = 0;
    size_t m_nNextPiece = 0;
    size_t m_nDonePieces = 0;
    const void* m_pWork = nullptr;
    Trampoline m_Call = nullptr;
};

// work(begin, end) over 0 .. nItems - 1: on the workers when there are any,
// else on the calling thread.
template <typename Work>
void ForSlices(CFrameWorkers* pWorkers, size_t nItems, const Work& work) {
    if (pWorkers != nullptr) {
        pWorkers->Run(nItems, work);
    } else {
        work(size_t{0}, nItems);
    }
}
