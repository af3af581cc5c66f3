#include "platform/CFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFile::~CFile()
{
    Close();
}

// Reading is the only mode the program uses, so the flags choose nothing yet.
BOOL CFile::Open(const char* lpszFileName, UINT /*nOpenFlags*/)
{
    Close();
    const int fd = ::open(lpszFileName, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return FALSE;
    // A directory opens for reading here but not on the desktop the program was made for.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return FALSE;
    }
    m_fd = fd;
    return TRUE;
}

std::uint64_t CFile::GetLength() const
{
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
        return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    auto* out = static_cast<unsigned char*>(lpBuf);
    UINT done = 0;
    // One call for the caller; the system may hand a large file over in several pieces.
    while (m_fd >= 0 && done < nCount) {
        const ssize_t n = ::read(m_fd, out + done, nCount - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

