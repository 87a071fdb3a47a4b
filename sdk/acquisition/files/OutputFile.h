// COutputFile: an image file being written. The file is created anew (an
// existing one is truncated) and removed again when the object goes away
// without Keep(), so a file whose writing failed leaves nothing behind. Only
// a regular file is ever removed: a name that opens a device (such as
// /dev/full) or anything else is left as it was.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class COutputFile {
  public:
    // Creates szPath (UTF-8) for writing, or with bReadable for reading and
    // writing. IsOpen() tells whether it could be created.
    explicit COutputFile(std::string szPath, bool bReadable = false);
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;
    // Closes what the object still holds and removes the file unless kept.
    ~COutputFile();

    bool IsOpen() const { return m_nDescriptor >= 0 || m_pStream != nullptr; }

    // Writes all nBytes at the current position; false when the system
    // reports an error or a short write (a full device, a size limit).
    bool Write(const void* pData, size_t nBytes);

    // The file as a stdio stream, which from then on holds the descriptor
    // and is closed by Close(). Null when the stream cannot be set up.
    FILE* OpenStream();

    // The descriptor, still owned by this object; Release() hands it to a
    // library that closes it itself (the file is still removed unless kept).
    int Descriptor() const { return m_nDescriptor; }
    void Release() { m_nDescriptor = -1; }

    // Closes the stream or descriptor; false when closing reports an error
    // (data that was buffered could not be written).
    bool Close();

    // The file is complete: it stays.
    void Keep() { m_bKeep = true; }

  private:
    std::string m_szPath;
    int m_nDescriptor = -1;
    FILE* m_pStream = nullptr;
    bool m_bRegular = false;
    bool m_bKeep = false;
};
