#include "acquisition/FrameWorkers.h"

#include <algorithm>
#include <system_error>

namespace {
constexpr unsigned kMaxThreads = 8;

// Where piece i of n over nItems begins; piece i is [start(i), start(i + 1)).
size_t PieceStart(size_t nItems, size_t nPieces, size_t i) {
    return nItems / nPieces * i + std::min(i, nItems % nPieces);
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
            m_Threads.emplace_back(&CFrameWorkers::WorkerLoop, this);
        }
    } catch (const std::system_error&) {
        // Fewer workers: the pieces go to the threads that did start.
    }
    m_nThreads = m_Threads.size() + 1;
}

void CFrameWorkers::TakePieces(std::unique_lock<std::mutex>& lock) {
    while (m_nNextPiece < m_nPieces) {
        const size_t nPiece = m_nNextPiece++;
        const size_t nItems = m_nItems, nPieces = m_nPieces;
        const void* pWork = m_pWork;
        const Trampoline call = m_Call;
        lock.unlock();
        call(pWork, PieceStart(nItems, nPieces, nPiece), PieceStart(nItems, nPieces, nPiece + 1));
        lock.lock();
        if (++m_nDonePieces == m_nPieces) {
            m_Done.notify_one();
        }
    }
}

void CFrameWorkers::RunPieces(size_t nItems, const void* pWork, Trampoline call) {
    std::lock_guard<std::mutex> run(m_RunMutex);
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (!m_bStarted) {
        Start();
    }
    if (nItems < kMinParallelItems || m_nThreads == 1) {
        lock.unlock();
        call(pWork, 0, nItems);
        return;
    }
    m_nItems = nItems;
    m_nPieces = std::clamp(nItems / kMinPieceItems, m_nThreads, m_nThreads * kPiecesPerThread);
    m_nNextPiece = 0;
    m_nDonePieces = 0;
    m_pWork = pWork;
    m_Call = call;
    m_Wake.notify_all();
    TakePieces(lock);
    // The pass (and pWork) stays in place until the last piece a worker
    // took is finished.
    m_Done.wait(lock, [&] { return m_nDonePieces == m_nPieces; });
}

void CFrameWorkers::WorkerLoop() {
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;) {
        m_Wake.wait(lock, [&] { return m_bStop || m_nNextPiece < m_nPieces; });
        if (m_bStop) {
            return;
        }
        TakePieces(lock);
    }
}
