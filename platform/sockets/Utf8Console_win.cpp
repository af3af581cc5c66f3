#include "platform/sockets/Utf8Console.h"

#include <atomic>
#include <cstdio>
#include <iostream>

#include <windows.h>

namespace lanvista::sockets {

namespace {

std::atomic<UINT> g_codePageToRestore{0};

BOOL WINAPI RestoreOnBreak(DWORD)
{
    if (const UINT codePage = g_codePageToRestore.load())
        ::SetConsoleOutputCP(codePage);
    return FALSE;  // the system's own handler still ends the program
}

} // namespace

Utf8Console::Utf8Console()
{
    // 0: the process has no console, and its output goes where code pages do not matter.
    const UINT current = ::GetConsoleOutputCP();
    if (current == 0 || current == CP_UTF8 || !::SetConsoleOutputCP(CP_UTF8))
        return;
    m_previousCodePage = current;
    g_codePageToRestore = current;
    ::SetConsoleCtrlHandler(RestoreOnBreak, TRUE);
}

Utf8Console::~Utf8Console()
{
    if (m_previousCodePage == 0)
        return;
    // What is still buffered was written as UTF-8 and must reach the console as such.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    ::SetConsoleCtrlHandler(RestoreOnBreak, FALSE);
    g_codePageToRestore = 0;
    ::SetConsoleOutputCP(m_previousCodePage);
}

}  // namespace lanvista::sockets
