#pragma once

#include "platform/WinTypes.h"

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
    /// The name is UTF-8, as every text of the layer.
    BOOL Open(const char* lpszFileName, UINT nOpenFlags);
    /// Size of the open file in bytes.
    std::uint64_t GetLength() const;
    /// Reads up to nCount bytes from the current position; fewer only at the end of the
    /// file or on a read error.
    UINT Read(void* lpBuf, UINT nCount);
    void Close();

private:
#ifdef _WIN32
    HANDLE m_file = INVALID_HANDLE_VALUE;
#else
    int m_fd = -1;
#endif
};

