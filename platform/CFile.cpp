#include "platform/CFile.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
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

void PrefaultBuffer(void* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(buffer);
    const auto end = start + size;
    // The whole 2 MiB blocks inside the buffer may take huge pages: one fault and one
    // clearing per block instead of 512. Only the buffer's own blocks, never a neighbour's.
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto hugeBegin = (start + kHugePage - 1) & ~(kHugePage - 1);
    const auto hugeEnd = end & ~(kHugePage - 1);
    if (hugeBegin < hugeEnd)
        ::madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE);
    // madvise takes whole pages; the pages the buffer shares with its neighbours are only
    // made resident, their bytes stay as they are. A kernel older than 5.14 refuses it.
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto first = start & ~(page - 1);
    ::madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
}
