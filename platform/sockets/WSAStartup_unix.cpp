#include "platform/sockets/WinSock.h"

// POSIX sockets need no start-up; WSAStartup only negotiates the version and counts users
// so that WSACleanup answers as it does on Windows.

namespace {
int g_startups = 0;
constexpr WORD kHighestVersion = MAKEWORD(2, 2);

int VersionOrder(WORD version)
{
    return LOBYTE(version) * 256 + HIBYTE(version);
}
}

int WSAStartup(WORD versionRequested, WSADATA* data)
{
    if (!data)
        return WSAEFAULT;
    if (LOBYTE(versionRequested) == 0)
        return WSAVERNOTSUPPORTED;
    data->wVersion = VersionOrder(versionRequested) < VersionOrder(kHighestVersion) ? versionRequested
                                                                                   : kHighestVersion;
    data->wHighVersion = kHighestVersion;
    ++g_startups;
    return 0;
}

int WSACleanup()
{
    if (g_startups == 0) {
        WSASetLastError(WSANOTINITIALISED);
        return SOCKET_ERROR;
    }
    --g_startups;
    return 0;
}
