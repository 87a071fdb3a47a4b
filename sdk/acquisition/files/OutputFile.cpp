#include "acquisition/files/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

COutputFile::COutputFile(std::string szPath, bool bReadable) : m_szPath(std::move(szPath)) {
    // Not inherited by programs the host starts; a name that is a FIFO
    // fails at once instead of waiting for a reader (the flag does nothing
    // to regular files).
    const int nAccess = bReadable ? O_RDWR : O_WRONLY;
    m_nDescriptor =
        open(m_szPath.c_str(), nAccess | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    struct stat info {};
    m_bRegular = m_nDescriptor >= 0 && fstat(m_nDescriptor, &info) == 0 && S_ISREG(info.st_mode);
}

COutputFile::~COutputFile() {
    Close();
    if (!m_bKeep && m_bRegular) {
        unlink(m_szPath.c_str());
    }
}

bool COutputFile::Write(const void* pData, size_t nBytes) {
    const auto* pNext = static_cast<const unsigned char*>(pData);
    while (nBytes > 0) {
        const ssize_t nWritten = write(m_nDescriptor, pNext, nBytes);
        if (nWritten < 0 && errno == EINTR) {
            continue;
        }
        if (nWritten <= 0) {
            return false;
        }
        pNext += nWritten;
        nBytes -= static_cast<size_t>(nWritten);
    }
    return true;
}

FILE* COutputFile::OpenStream() {
    m_pStream = fdopen(m_nDescriptor, "wb");
    if (m_pStream != nullptr) {
        m_nDescriptor = -1;
    }
    return m_pStream;
}

bool COutputFile::Close() {
    bool bClosed = true;
    if (m_pStream != nullptr) {
        bClosed = std::fclose(m_pStream) == 0;
        m_pStream = nullptr;
    }
    if (m_nDescriptor >= 0) {
        bClosed = close(m_nDescriptor) == 0;
        m_nDescriptor = -1;
    }
    return bClosed;
}
