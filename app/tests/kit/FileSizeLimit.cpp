#include "FileSizeLimit.h"

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &m_savedAction);
    if (getrlimit(RLIMIT_FSIZE, &m_saved) != 0) {
        return;
    }
    struct rlimit limit = m_saved;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (m_saved.rlim_max != RLIM_INFINITY && limit.rlim_cur > m_saved.rlim_max) {
        limit.rlim_cur = m_saved.rlim_max;
    }
    m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (m_active) {
        setrlimit(RLIMIT_FSIZE, &m_saved);
    }
    sigaction(SIGXFSZ, &m_savedAction, nullptr);
}
