#include "acquisition/recording/AviMappedFrames.h"

#include <chrono>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/Event.h"

namespace {
// How often an idle helper looks again whether it is asked to finish.
constexpr auto kIdleWait = std::chrono::milliseconds(200);

// Copies a frame into the file's pages with stores that pass the cache by:
// nothing reads the file's pages back soon, and a plain copy would first
// read every destination line.
void CopyFrame(uint8_t* pTo, const uint8_t* pFrom, size_t nBytes) {
#if defined(__SSE2__)
    size_t i = 0;
    for (; i < nBytes && (reinterpret_cast<uintptr_t>(pTo + i) & 15) != 0; ++i) {
        pTo[i] = pFrom[i];
    }
    for (; i + 64 <= nBytes; i += 64) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pFrom + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pFrom + i + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pFrom + i + 32));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pFrom + i + 48));
        _mm_stream_si128(reinterpret_cast<__m128i*>(pTo + i), a);
        _mm_stream_si128(reinterpret_cast<__m128i*>(pTo + i + 16), b);
        _mm_stream_si128(reinterpret_cast<__m128i*>(pTo + i + 32), c);
        _mm_stream_si128(reinterpret_cast<__m128i*>(pTo + i + 48), d);
    }
    std::memcpy(pTo + i, pFrom + i, nBytes - i);
    _mm_sfence();
#else
    std::memcpy(pTo, pFrom, nBytes);
#endif
}
}  // namespace

bool CAviMappedFrames::Start(plat::AviWriter& writer, PrepareHook beforePrepare) {
    m_pWriter = &writer;
    m_BeforePrepare = std::move(beforePrepare);
    m_Slots.fill(Slot::kFree);
    m_nFirst = m_nNext = m_nClaimed = writer.NextPosition();
    m_bFailed = m_bPrepareFailed = m_bFinishing = false;
    for (plat::Thread& helper : m_Helpers) {
        if (!helper.Start([this] { HelperBody(); })) {
            Finish();
            return false;
        }
    }
    return true;
}

void CAviMappedFrames::HelperBody() {
    std::unique_lock<std::mutex> lock(m_Mutex);
    while (!m_bFinishing) {
        if (m_bPrepareFailed || m_nClaimed >= m_nNext + static_cast<int64_t>(kAhead)) {
            m_Changed.wait_for(lock, kIdleWait);
            continue;
        }
        const int64_t nPosition = m_nClaimed++;
        Slot& slot = m_Slots[static_cast<size_t>(nPosition - m_nFirst) % kAhead];
        slot = Slot::kPreparing;
        lock.unlock();
        if (m_BeforePrepare) {
            m_BeforePrepare();
        }
        const bool bPrepared = m_pWriter->PrepareMappedFrame(nPosition);
        lock.lock();
        slot = bPrepared ? Slot::kReady : Slot::kFailed;
        // The frames after one without pages are never written.
        m_bPrepareFailed = m_bPrepareFailed || !bPrepared;
        m_Changed.notify_all();
    }
}

CAviMappedFrames::Pushed CAviMappedFrames::Push(const uint8_t* pFrame) {
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (m_bFailed || m_bFinishing || m_pWriter == nullptr) {
        return Pushed::kFailed;
    }
    Slot& slot = m_Slots[static_cast<size_t>(m_nNext - m_nFirst) % kAhead];
    // The slot of the next position holds it once a helper claimed it.
    if (m_nClaimed <= m_nNext || (slot != Slot::kReady && slot != Slot::kFailed)) {
        return Pushed::kNotReady;
    }
    uint8_t* pTo = slot == Slot::kReady ? m_pWriter->BeginMappedFrame() : nullptr;
    if (pTo == nullptr) {
        m_bFailed = true;
        return Pushed::kFailed;
    }
    // Helpers never touch a ready slot: the copy goes without the lock.
    lock.unlock();
    CopyFrame(pTo, pFrame, m_pWriter->MappedFrameBytes());
    lock.lock();
    m_pWriter->EndMappedFrame();
    slot = Slot::kFree;
    ++m_nNext;
    m_Changed.notify_all();
    return Pushed::kWritten;
}

bool CAviMappedFrames::Finish() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_bFinishing = true;
        m_Changed.notify_all();
    }
    // A helper ends once the pages it is taking are there; it is waited for
    // as long as that takes.
    for (plat::Thread& helper : m_Helpers) {
        helper.Join(plat::kInfinite);
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    return !m_bFailed;
}
