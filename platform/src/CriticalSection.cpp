#include "platform/CriticalSection.h"

namespace plat {

void CriticalSection::Enter() {
    m_mutex.lock();
}

void CriticalSection::Leave() {
    m_mutex.unlock();
}

bool CriticalSection::TryEnter() {
    return m_mutex.try_lock();
}

}  // namespace plat
