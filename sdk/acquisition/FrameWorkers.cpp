#include "acquisition/FrameWorkers.h"

#include <algorithm>
#include <system_error>

namespace {
constexpr unsigned kMaxThreads = 8;

// Slice i of n over nItems: [begin, end).
size_t SliceStart(size_t nItems, size_t nSlices, size_t i) {
    return nItems / nSlices * i + std::min(i, nItems % nSlices);
}
}  // namespace

CFrameWorkers::~CFrameWorkers() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_bStop = true;
    }
    m_Wake.notify_all();
    for (std::thread& thread : m_Threads) {
        thread.join();
    }
}

void CFrameWorkers::Start() {
    m_bStarted = true;
    const unsigned nCores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
    try {
        for (unsigned i = 1; i < nCores; ++i) {
            m_Threads.emplace_back(&CFrameWorkers::WorkerLoop, this, i);
        }
    } catch (const std::system_error&) {
        // Fewer workers: the slices follow the threads that did start.
    }
    m_nSlices = m_Threads.size() + 1;
}

void CFrameWorkers::RunSlices(size_t nItems, const void* pWork, Trampoline call) {
    std::lock_guard<std::mutex> run(m_RunMutex);
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (!m_bStarted) {
        Start();
    }
    if (nItems < kMinParallelItems || m_nSlices == 1) {
        lock.unlock();
        call(pWork, 0, nItems);
        return;
    }
    m_nItems = nItems;
    m_pWork = pWork;
    m_Call = call;
    m_nPending = m_nSlices - 1;
    ++m_nGeneration;
    lock.unlock();
    m_Wake.notify_all();
    call(pWork, SliceStart(nItems, m_nSlices, 0), SliceStart(nItems, m_nSlices, 1));
    lock.lock();
    m_Done.wait(lock, [&] { return m_nPending == 0; });
}

void CFrameWorkers::WorkerLoop(size_t nSlice) {
    uint64_t nSeen = 0;
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;) {
        m_Wake.wait(lock, [&] { return m_bStop || m_nGeneration != nSeen; });
        if (m_bStop) {
            return;
        }
        nSeen = m_nGeneration;
        const size_t nItems = m_nItems, nSlices = m_nSlices;
        const void* pWork = m_pWork;
        const Trampoline call = m_Call;
        lock.unlock();
        call(pWork, SliceStart(nItems, nSlices, nSlice), SliceStart(nItems, nSlices, nSlice + 1));
        lock.lock();
        if (--m_nPending == 0) {
            m_Done.notify_one();
        }
    }
}
