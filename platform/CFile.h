#pragma once

#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

/// A file opened by path, read with plain counts; the program's only file access.
class CFile {
public:
    static constexpr UINT modeRead = 0x0000;

    CFile() = default;
    /// Closes the file if it is still open.
    ~CFile();

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    /// Opens a regular file for reading; FALSE when it is missing, unreadable or not a file.
    BOOL Open(const char* lpszFileName, UINT nOpenFlags);
    /// Size of the open file in bytes.
    std::uint64_t GetLength() const;
    /// Reads up to nCount bytes from the current position; fewer only at the end of the
    /// file or on a read error.
    UINT Read(void* lpBuf, UINT nCount);
    void Close();

private:
    int m_fd = -1;
};

/// Makes the size bytes at buffer resident in one go, in huge pages where the system
/// allows, so that filling a large buffer does not take a page fault for each of its
/// pages. Only a hint: where the system declines it, the pages fault in as they are first
/// written. The bytes in and around the buffer stay as they are.
void PrefaultBuffer(void* buffer, std::size_t size);
