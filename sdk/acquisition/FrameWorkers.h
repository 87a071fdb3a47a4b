// CFrameWorkers: a few threads that share the per-pixel passes of one frame.
// Run(n, work) calls work(begin, end) on disjoint slices of 0 .. n - 1, on
// the workers and the calling thread, and returns when every slice is done.
// Calls of Run from several threads take turns; the threads start on first
// use and stop when the object goes away.
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

    CFrameWorkers() = default;
    CFrameWorkers(const CFrameWorkers&) = delete;
    CFrameWorkers& operator=(const CFrameWorkers&) = delete;
    ~CFrameWorkers();

    template <typename Work>
    void Run(size_t nItems, const Work& work) {
        RunSlices(nItems, &work,
                  [](const void* p, size_t b, size_t e) { (*static_cast<const Work*>(p))(b, e); });
    }

  private:
    using Trampoline = void (*)(const void*, size_t, size_t);
    void RunSlices(size_t nItems, const void* pWork, Trampoline call);
    void Start();
    void WorkerLoop(size_t nSlice);

    std::mutex m_RunMutex;  // one Run at a time
    std::mutex m_Mutex;
    std::condition_variable m_Wake;
    std::condition_variable m_Done;
    std::vector<std::thread> m_Threads;
    bool m_bStarted = false;
    bool m_bStop = false;
    uint64_t m_nGeneration = 0;
    size_t m_nPending = 0;
    size_t m_nItems = 0;
    size_t m_nSlices = 1;
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
