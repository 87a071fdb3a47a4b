#include "acquisition/recording/AviFrameQueue.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/Event.h"

namespace {
// How often an idle writer looks again whether it is asked to finish.
constexpr auto kIdleWait = std::chrono::milliseconds(200);
}  // namespace

bool CAviFrameQueue::Start(uint32_t nFrameBytes, WriteFrame write) {
    return Start(nFrameBytes, std::move(write), Layout{});
}

bool CAviFrameQueue::Start(uint32_t nFrameBytes, WriteFrame write, Layout layout) {
    layout.nBufferBytes = std::max<size_t>(layout.nBufferBytes, nFrameBytes);
    // aligned_alloc takes whole multiples of the alignment.
    const size_t nAllocBytes =
        (layout.nBufferBytes + layout.nAlign - 1) / layout.nAlign * layout.nAlign;
    m_Buffers.clear();
    m_Buffers.resize(kBuffers);
    for (Buffer& buffer : m_Buffers) {
        buffer.pBytes.reset(static_cast<uint8_t*>(std::aligned_alloc(layout.nAlign, nAllocBytes)));
        if (!buffer.pBytes) {
            m_Buffers.clear();
            return false;
        }
    }
    m_nFrameBytes = nFrameBytes;
    m_Write = std::move(write);
    m_Layout = std::move(layout);
    m_nNext = m_nQueued = 0;
    m_nPushed = 0;
    m_bFailed = m_bFinishing = false;
    if (!m_Thread.Start([this] { WriterBody(); })) {
        m_Buffers.clear();
        return false;
    }
    return true;
}

CAviFrameQueue::Pushed CAviFrameQueue::Push(const uint8_t* pFrame) {
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (m_bFailed || m_bFinishing || m_Buffers.empty()) {
        return Pushed::kFailed;
    }
    if (m_nQueued == m_Buffers.size()) {
        return Pushed::kFull;
    }
    const size_t nLead = m_Layout.leadOf ? m_Layout.leadOf(m_nPushed) : 0;
    if (nLead > m_Layout.nBufferBytes - m_nFrameBytes) {
        return Pushed::kFailed;
    }
    // The writer never touches a buffer that is not queued: the copy goes
    // without the lock.
    Buffer& buffer = m_Buffers[(m_nNext + m_nQueued) % m_Buffers.size()];
    buffer.nLead = nLead;
    lock.unlock();
    std::memcpy(buffer.pBytes.get() + nLead, pFrame, m_nFrameBytes);
    lock.lock();
    ++m_nQueued;
    ++m_nPushed;
    m_Changed.notify_all();
    return Pushed::kQueued;
}

void CAviFrameQueue::WriterBody() {
    std::unique_lock<std::mutex> lock(m_Mutex);
    for (;;) {
        if (m_nQueued == 0) {
            if (m_bFinishing) {
                return;
            }
            m_Changed.wait_for(lock, kIdleWait);
            continue;
        }
        uint8_t* pFrame = m_Buffers[m_nNext].pBytes.get() + m_Buffers[m_nNext].nLead;
        lock.unlock();
        const bool bWritten = m_Write(pFrame);
        lock.lock();
        m_nNext = (m_nNext + 1) % m_Buffers.size();
        --m_nQueued;
        if (!bWritten) {
            // The file ends with the frames before this one.
            m_bFailed = true;
            m_nQueued = 0;
        }
        m_Changed.notify_all();
    }
}

bool CAviFrameQueue::Finish() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_bFinishing = true;
        m_Changed.notify_all();
    }
    // The writer ends once the queued frames are written; it is waited for
    // as long as that takes.
    m_Thread.Join(plat::kInfinite);
    std::lock_guard<std::mutex> lock(m_Mutex);
    return !m_bFailed;
}
