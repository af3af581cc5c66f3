#include "platform/CFile.h"

#include <string>

namespace {

// The layer's texts are UTF-8; the wide call opens any name, whatever the ANSI code page.
std::wstring WideName(const char* utf8)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

}  // namespace

CFile::~CFile()
{
    Close();
}

// Reading is the only mode the program uses, so the flags choose nothing yet.
BOOL CFile::Open(const char* lpszFileName, UINT /*nOpenFlags*/)
{
    Close();
    const std::wstring name = lpszFileName ? WideName(lpszFileName) : std::wstring();
    if (name.empty())
        return FALSE;
    // Without FILE_FLAG_BACKUP_SEMANTICS a directory does not open, as with the Unix check.
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        return FALSE;
    }
    m_file = file;
    return TRUE;
}

std::uint64_t CFile::GetLength() const
{
    LARGE_INTEGER size{};
    if (m_file == INVALID_HANDLE_VALUE || !::GetFileSizeEx(m_file, &size))
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    auto* out = static_cast<unsigned char*>(lpBuf);
    UINT done = 0;
    // One call for the caller; the system may hand a large file over in several pieces.
    while (m_file != INVALID_HANDLE_VALUE && done < nCount) {
        DWORD got = 0;
        if (!::ReadFile(m_file, out + done, nCount - done, &got, nullptr) || got == 0)
            break;
        done += got;
    }
    return done;
}

void CFile::Close()
{
    if (m_file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}
